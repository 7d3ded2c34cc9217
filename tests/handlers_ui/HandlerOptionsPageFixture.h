#pragma once
// The call handler options page opened on a generated installation, shared by the tests of the
// page.
#include "handlers/ui/frmChooseHandlers.h"
#include "handlers/ui/frmSelectCallHandlerChanges.h"
#include "tests/support/widgets/PageHarness.h"

#include <QPointer>

// A started run and the handler options page loaded on it; the selection page is created on
// first use, as the start page's Next creates it.
class HandlerOptionsPage : public WizardRun {
public:
    explicit HandlerOptionsPage(const velmo::InstallationOptions& options = TempInstallation::smallOptions(),
                                const QString& programFolder = QCoreApplication::applicationDirPath())
        : WizardRun(options, {}, programFolder)
    {
        context.handlerOptionsPage = [this]() -> QWidget* {
            if (!page) {
                page = new frmSelectCallHandlerChanges(context);
                ++pagesCreated;
            }
            return page;
        };
        context.handlerSelectionPage = [this]() -> QWidget* {
            if (!selection)
                selection = new frmChooseHandlers(context);
            return selection;
        };
    }
    ~HandlerOptionsPage()
    {
        delete page.data();
        delete selection.data();
    }

    // Starts the run and loads the page directly (as the selection page's first Next does).
    ::testing::AssertionResult open()
    {
        const ::testing::AssertionResult started = start();
        if (started)
            context.handlerOptionsPage();
        return started;
    }

    template <typename Widget = QWidget>
    Widget* child(const QString& name) const
    {
        return findByName<Widget>(*page, name);
    }

    QPointer<frmSelectCallHandlerChanges> page;
    QPointer<frmChooseHandlers> selection;
    int pagesCreated = 0;
};
