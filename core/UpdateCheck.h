#pragma once
// The check for a newer version of the tool and the start-up hook.
//
// The maker's tools web site publishes a list of tools (read as plain text, not as XML). The
// entry of this tool starts with the marker "^" + home page path + "^ifram_a" (with a tool name
// in front when one is given), and its version is the text in the first "<cell>" after the
// marker. Versions are compared in their padded form (each part widened to four digits).
//
// The site is http://tools.brennhal.example unless the environment variable
// KESTRANE_TOOLS_SITE gives another scheme and host (such as http://127.0.0.1:8080). The home
// page is "/Applications/Velmo/Kestrane/Kestrane.html" on it, the tool list
// "/SiteList/AllDownloads/AllDownloads.XML".
#include "core/Messages.h"

#include <QCoreApplication>
#include <QString>

// The tool's own version (the project version: major.minor.revision).
struct ToolVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;

    QString text() const;   // "4.0.117"
};

// How long one download may take before the site counts as unreachable.
inline constexpr int kDownloadTimeoutMs = 10000;

// Scheme and host of the maker's tools web site: KESTRANE_TOOLS_SITE, else the default.
QString toolsSiteAddress();
// The tool's home page on a tools site.
QString homePageAddress(const QString& toolsSite = toolsSiteAddress());
// The scheme and host (with port) at the start of an address, and the part that follows them.
QString siteOfAddress(const QString& address);
QString pathOfAddress(const QString& address);

// The body of an HTTP(S) address as text, with the system's proxy settings. The empty text when
// the address cannot be reached, answers with an error status or takes longer than timeoutMs;
// the window keeps painting meanwhile (user input waits until the download is over).
QString DownloadUrlText(const QString& address, int timeoutMs = kDownloadTimeoutMs);

// "4.0.117" gives "0004.0000.0117": every part between the points widened to at least four
// digits with zeros on the left. A text shorter than 4 characters gives the empty text; so does
// one without any "." (after telling the error to `messages`).
QString PadVersionString(const QString& version, const MessageSink& messages);

// The padded version that a downloaded tool list publishes for the tool of this home page (and
// tool name, used when it has 2 or more characters); the empty text when the list holds no such
// entry or no version after it.
QString publishedVersionInList(const QString& list, const QString& homePage, const QString& toolName,
                               const MessageSink& messages);
// Downloads the tool list of the home page's site and reads the published version from it.
QString GetPublishedVersion(const QString& homePage, const QString& toolName, const MessageSink& messages,
                            int timeoutMs = kDownloadTimeoutMs);

// Start-up hook: when the program folder holds "test.bat", starts it with /bin/sh and the
// arguments own version, first, and second when it has 2 or more characters, without waiting.
// Nothing happens (and nothing is told) when there is no such file or it cannot be started.
void RunBatchCommand(const QString& first, const QString& second, const ToolVersion& version,
                     const QString& programFolder = QCoreApplication::applicationDirPath());
