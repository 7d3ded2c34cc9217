#include "subscribers/ui/options/ExtensionTests.h"

#include "subscribers/ExtensionRuleReader.h"

#include "core/Errors.h"
#include "core/ExtensionRules.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/OptionsCapture.h"
#include "core/ui/WizardContext.h"

#include <QLineEdit>
#include <QPushButton>

namespace SubscriberOptions {
namespace {

constexpr int NoSampleMessage = 210;
constexpr int RulesInvalidMessage = 318;

// A tab's test row, and how its Test takes a rule value it cannot read: the primary tab's ends
// with its message (no `goOn`), the alternate tab's reports the value and goes on without it.
struct ExtensionTest {
    const ExtensionTabRules& rules;
    const char* test;
    const char* sample;
    const char* result;
    void (*goOn)(WizardContext&, const KestraneError&);
};

void reportAndEnd(WizardContext& context, const KestraneError& error)
{
    const Languages& languages = context.session.languages;
    context.messages.show(languages.mymyLoadString(49) + error.description() + languages.mymyLoadString(1)
                          + signedCount(error.number()));
}

void reportAndGoOn(WizardContext& context, const KestraneError& error)
{
    context.messages.show(formatProcedureError(error, QStringLiteral("cmdAltExtTest_Click"), QStringLiteral("Form"),
                                               QStringLiteral("frmSelectSubscriberChanges")));
}

const ExtensionTest kTests[] = {
    {kPrimaryExtensionRules, "cmdSubscriberExtensionTest", "txtSubscriberExtensionTestNumber",
     "txtSubscriberExtensionTestResult", nullptr},
    {kAlternateExtensionRules, "cmdAltExtTest", "txtAltExtTestExtension", "txtAltExtTestExtensionResult", reportAndGoOn},
};

// Reads only the test's own tab and writes only its result box, which keeps its text when the
// rules cannot be applied.
void runTest(QWidget& page, WizardContext& context, const ExtensionTest& test)
{
    const Languages& languages = context.session.languages;
    const OptionsSnapshot options = captureOptions(&page);
    const QString sample = options.control(QString::fromLatin1(test.sample)).text;
    if (sample.isEmpty()) {
        context.messages.show(languages.mymyLoadString(NoSampleMessage));
        return;
    }
    const ControlLookup control = [&options](const char* name) -> const ControlState& {
        return options.control(QString::fromLatin1(name));
    };
    QString result;
    try {
        std::function<void(const KestraneError&)> unreadable;
        if (test.goOn)
            unreadable = [&](const KestraneError& error) { test.goOn(context, error); };
        result = readExtensionRules(test.rules, control, unreadable).applyTo(sample);
    } catch (const KestraneError& error) {
        reportAndEnd(context, error);
        return;
    }
    if (result.isEmpty())
        context.messages.show(languages.mymyLoadString(RulesInvalidMessage));
    else
        qobject_cast<QLineEdit*>(findControl(&page, QString::fromLatin1(test.result)))->setText(result);
}

}  // namespace

void connectExtensionTests(QWidget& page, WizardContext& context)
{
    for (const ExtensionTest& test : kTests)
        QObject::connect(qobject_cast<QPushButton*>(findControl(&page, QString::fromLatin1(test.test))), &QPushButton::clicked,
                         &page, [&page, &context, &test] { runTest(page, context, test); });
}

}  // namespace SubscriberOptions
