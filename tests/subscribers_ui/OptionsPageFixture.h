#pragma once
// The options page opened on a generated installation, shared by the tests of the page.
#include "core/OptionsSnapshot.h"
#include "subscribers/ui/frmChooseSubscribers.h"
#include "subscribers/ui/frmSelectSubscriberChanges.h"
#include "tests/support/widgets/PageHarness.h"

#include <QPointer>
#include <QStringList>
#include <QTabWidget>

// A started run of the given kind and installation, and the options page loaded on it.
class OptionsPage : public WizardRun {
public:
    explicit OptionsPage(qint16 kind = 1, const velmo::InstallationOptions& options = TempInstallation::smallOptions(),
                         const QString& programFolder = QCoreApplication::applicationDirPath())
        : WizardRun(options, {}, programFolder)
    {
        context.state.iSelectedSubscriberType = kind;
        context.subscriberOptionsPage = [this]() -> QWidget* {
            if (!page) {
                page = new frmSelectSubscriberChanges(context);
                ++pagesCreated;
            }
            return page;
        };
        context.subscriberSelectionPage = [this]() -> QWidget* {
            if (!selection)
                selection = new frmChooseSubscribers(context);
            return selection;
        };
    }
    ~OptionsPage()
    {
        delete page.data();
        delete selection.data();
    }

    // Starts the run and loads the page directly (as the selection page's first Next does).
    ::testing::AssertionResult open()
    {
        const ::testing::AssertionResult started = start();
        if (started)
            context.subscriberOptionsPage();
        return started;
    }

    template <typename Widget = QWidget>
    Widget* child(const QString& name) const
    {
        return findByName<Widget>(*page, name);
    }
    QTabWidget& tabMain() const { return *child<QTabWidget>("tabMain"); }

    QPointer<frmSelectSubscriberChanges> page;
    QPointer<frmChooseSubscribers> selection;
    int pagesCreated = 0;
};

// The texts of a list's items.
inline QStringList itemTexts(const ControlState& list)
{
    QStringList texts;
    for (const ListItem& item : list.items)
        texts << item.text;
    return texts;
}
