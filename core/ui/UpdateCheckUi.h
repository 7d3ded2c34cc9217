#pragma once
// The start page's "Check for updated version": asks the tools site for the published version
// and tells the user whether a newer one exists, offering to open the home page when it does.
#include "core/UpdateCheck.h"
#include "core/ui/MessageBoxService.h"

#include <QString>
#include <functional>

class QWidget;

// Opens an address in the user's browser; the default is QDesktopServices::openUrl.
using HomePageOpener = std::function<void(const QString& address)>;
void openInBrowser(const QString& address);

// Shows exactly one of three messages: the site could not be reached (or lists no version of
// this tool), an updated version is available (OK opens the home page), or the tool is up to
// date. The caller shows the busy cursor meanwhile.
void checkForUpdatedVersion_Foreground(const QString& homePage, const QString& toolName,
                                       const ToolVersion& ownVersion, MessageBoxService& messages,
                                       QWidget* parent = nullptr,
                                       const HomePageOpener& openHomePage = openInBrowser,
                                       int timeoutMs = kDownloadTimeoutMs);
