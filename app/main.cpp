// Kestrane: bulk changes to the directory of a Velmo server.
#include "core/Session.h"
#include "core/ui/frmMain.h"
#include "core/ui/WizardContext.h"
#include "handlers/ui/frmChooseHandlers.h"
#include "handlers/ui/frmMakeCallHandlerChanges.h"
#include "handlers/ui/frmSelectCallHandlerChanges.h"
#include "subscribers/ui/frmChooseSubscribers.h"
#include "subscribers/ui/frmMakeSubscriberChanges.h"
#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "velmo/ServerStandIns.h"

#include <QApplication>
#include <QDir>
#include <QPointer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrane"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3").arg(KESTRANE_VERSION_MAJOR).arg(KESTRANE_VERSION_MINOR).arg(KESTRANE_VERSION_REVISION));
    // The tool ends only through ExitApplication, never because a page was hidden.
    QApplication::setQuitOnLastWindowClosed(false);

    Session session(Installation::locate());
    velmo::registerServerStandIns(session);
    MessageBoxService messages;
    FormRegistry forms;
    WizardContext context{session, messages, forms, QApplication::arguments().mid(1),
                          ToolVersion{KESTRANE_VERSION_MAJOR, KESTRANE_VERSION_MINOR, KESTRANE_VERSION_REVISION}};
    int exitCode = 0;
    context.endProgram = [&exitCode](int code) {
        exitCode = code;
        QCoreApplication::exit(code);
    };

    if (!QDir(session.installation.folder).exists()) {
        messages.show(QStringLiteral("No Velmo installation at %1 (set KESTRANE_INSTALLATION).")
                          .arg(session.installation.folder));
        return 2;
    }

    // The subscriber selection page, created on first use; its Previous unloads it, and the
    // next visit creates it afresh.
    QPointer<frmChooseSubscribers> subscriberSelection;
    context.subscriberSelectionPage = [&]() -> QWidget* {
        if (!subscriberSelection)
            subscriberSelection = new frmChooseSubscribers(context);
        return subscriberSelection;
    };

    // The call handler selection page: one instance for the run, created on first use.
    QPointer<frmChooseHandlers> handlerSelection;
    context.handlerSelectionPage = [&]() -> QWidget* {
        if (!handlerSelection)
            handlerSelection = new frmChooseHandlers(context);
        return handlerSelection;
    };

    // The subscriber engine page, created on first use by the options page's Next; it stays
    // loaded for the rest of the program (one page runs at most once).
    QPointer<frmMakeSubscriberChanges> subscriberEngine;
    context.subscriberEnginePage = [&](QWidget* optionsPage) -> QWidget* {
        if (!subscriberEngine)
            subscriberEngine = new frmMakeSubscriberChanges(context, optionsPage);
        return subscriberEngine;
    };

    // The subscriber options page, created by the selection page's first Next; it stays loaded.
    QPointer<frmSelectSubscriberChanges> subscriberOptions;
    context.subscriberOptionsPage = [&]() -> QWidget* {
        if (!subscriberOptions)
            subscriberOptions = new frmSelectSubscriberChanges(context);
        return subscriberOptions;
    };

    // The call handler options page, created by the handler selection page's first Next; it
    // stays loaded.
    QPointer<frmSelectCallHandlerChanges> handlerOptions;
    context.handlerOptionsPage = [&]() -> QWidget* {
        if (!handlerOptions)
            handlerOptions = new frmSelectCallHandlerChanges(context);
        return handlerOptions;
    };

    // The call handler engine page, created on first use by the options page's Next; it stays
    // loaded for the rest of the program.
    QPointer<frmMakeCallHandlerChanges> handlerEngine;
    context.handlerEnginePage = [&](QWidget* optionsPage) -> QWidget* {
        if (!handlerEngine)
            handlerEngine = new frmMakeCallHandlerChanges(context, optionsPage);
        return handlerEngine;
    };

    frmMain startPage(context);
    if (!startPage.Form_Load())
        return exitCode;
    startPage.show();
    const int result = QApplication::exec();
    delete subscriberEngine;
    delete subscriberOptions;
    delete subscriberSelection;
    delete handlerEngine;
    delete handlerOptions;
    delete handlerSelection;
    return context.exiting ? exitCode : result;
}
