#!/usr/bin/env bash
# Builds the tool and starts it. Without KESTRANE_INSTALLATION it runs on the demo installation
# build/velmo-demo, created on first use. An installation named by KESTRANE_INSTALLATION is only
# checked, never created, replaced or changed: what it lacks is told and nothing starts.
set -euo pipefail
# A relative KESTRANE_INSTALLATION is taken from the caller's current folder.
configured="${KESTRANE_INSTALLATION:+$(realpath -m "$KESTRANE_INSTALLATION")}"
cd "$(dirname "$0")/.."

fail() {
  echo "run.sh: $*" >&2
  exit 1
}

# Qt cannot open a window without a display and would only abort.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  fail "Kestrane needs a display: set DISPLAY (or WAYLAND_DISPLAY), or start it under Xvfb," \
       "for example: xvfb-run bash scripts/run.sh"
fi

demo="$(realpath -m build/velmo-demo)"
installation="${configured:-$demo}"
if [ "$installation" != "$demo" ]; then
  missing=()
  if [ ! -d "$installation" ]; then
    fail "no installation folder $installation (KESTRANE_INSTALLATION); unset it to use the demo installation"
  fi
  [ -f "$installation/registry.reg" ] || missing+=("registry.reg (the server's registry settings)")
  # With KESTRANE_ODBC the database is the ODBC data source, not a file of the folder.
  if [ -z "${KESTRANE_ODBC:-}" ] && [ ! -f "$installation/VelmoDb.sqlite" ]; then
    missing+=("VelmoDb.sqlite (the database; or set KESTRANE_ODBC to an ODBC connection string)")
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    for what in "${missing[@]}"; do
      echo "run.sh: $installation has no $what" >&2
    done
    fail "nothing was changed; point KESTRANE_INSTALLATION at a complete installation, or unset it to use the demo"
  fi
fi

bash scripts/build.sh
if [ "$installation" = "$demo" ] && [ ! -f "$demo/VelmoDb.sqlite" ]; then
  build/velmo/velmo-sim --replace --subscribers 500 "$demo"
fi
KESTRANE_INSTALLATION="$installation" exec build/app/kestrane "$@"
