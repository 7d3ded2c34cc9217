#pragma once
// What every page and dialog of the wizard is handed: the run's session and the UI services.
#include "core/HelpFiles.h"
#include "core/Session.h"
#include "core/UpdateCheck.h"
#include "core/WizardState.h"
#include "core/ui/FormRegistry.h"
#include "core/ui/MessageBoxService.h"

#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

struct WizardContext {
    Session& session;
    MessageBoxService& messages;
    FormRegistry& forms;
    QStringList arguments{};   // the command line, without the program's name
    ToolVersion version{};     // the tool's own version

    // Help documents opened during the run; created on first use.
    std::shared_ptr<HelpFiles> help{};

    // The two selection pages, each created on first use by whoever builds it; an empty
    // function: that page is not part of this build.
    std::function<QWidget*()> subscriberSelectionPage{};
    std::function<QWidget*()> handlerSelectionPage{};
    // The subscriber options page, created by the selection page's first Next; it stays loaded.
    std::function<QWidget*()> subscriberOptionsPage{};
    // The subscriber engine page, created on first use for the options page that the options
    // page's Next passes (the engine captures it at Go and returns to it on Previous); the caller
    // places and shows it. Empty: not part of this build.
    std::function<QWidget*(QWidget* optionsPage)> subscriberEnginePage{};
    // The call handler options page, created by the handler selection page's first Next; it
    // stays loaded.
    std::function<QWidget*()> handlerOptionsPage{};
    // The call handler engine page, as subscriberEnginePage is for the subscriber branch.
    std::function<QWidget*(QWidget* optionsPage)> handlerEnginePage{};

    // What the pages hand each other.
    WizardState state{};

    // Ends the program (the application's event loop, or the start-up in main()).
    std::function<void(int exitCode)> endProgram{};
    bool exiting = false;   // set once ExitApplication has begun to end the program
};

// The one way the tool ends: optional question, closing of help, the run log and the recordsets,
// then the end of the program. Safe against being entered again while it ends the program.
void ExitApplication(WizardContext& context, bool ask = false, int exitCode = 0);

// Opens the help document of the current language (every page's Help button and menu).
void showHelp(WizardContext& context);

// Moving between wizard pages: `next` shown where `current` stands, then `current` hidden.
// Nothing happens without a next page.
void showInPlaceOf(QWidget* next, QWidget* current);
