#!/usr/bin/env bash
# Builds the tool and starts it on the demo installation (created on first use).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
demo="${KESTRANE_INSTALLATION:-$PWD/build/velmo-demo}"
if [ ! -f "$demo/VelmoDb.sqlite" ]; then
  build/velmo/velmo-sim --replace --subscribers 500 "$demo"
fi
KESTRANE_INSTALLATION="$demo" exec build/app/kestrane "$@"
