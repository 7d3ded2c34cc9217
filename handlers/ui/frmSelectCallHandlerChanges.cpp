#include "handlers/ui/frmSelectCallHandlerChanges.h"

#include "core/RunLog.h"
#include "core/ui/Captions.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/FormStatements.h"
#include "core/ui/GreetingSourceControls.h"
#include "core/ui/LanguageFonts.h"
#include "core/ui/OptionsCapture.h"
#include "core/ui/WizardContext.h"
#include "handlers/HandlerOptionNames.h"
#include "handlers/ui/HandlerGreeting.h"
#include "handlers/ui/HandlerOptionsLists.h"
#include "handlers/ui/HandlerOptionsInput.h"
#include "handlers/ui/HandlerTransferRule.h"
#include "search/ui/CallerInputActionGroup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <vector>

using namespace HandlerOptionNames;

static_assert(KeyCount == CallerInputActionGroup::KeyGroups && AfterMessageInput == CallerInputActionGroup::AfterMessage &&
              FirstAfterGreetingInput == CallerInputActionGroup::FirstAfterGreeting);

namespace {

// The handler page's groups have no number to dial.
constexpr CallerInputGroupOptions kGroupOptions{.numberToDial = false};

// The captions of the controls outside the repeated groups.
constexpr CaptionRow kFormCaptions[] = {
    {"frmSelectCallHandlerChanges", NoIndex, 75},
    {"cmdHelp", NoIndex, 153},
    {"cmdNext", NoIndex, 191},
    {"cmdExit", NoIndex, 132},
    {"cmdPrevious", NoIndex, 18},
    {"SSTab1", 0, 211},
    {"SSTab1", 1, 275},
    {"SSTab1", 2, 148},
    {"SSTab1", 3, 85},
    {"SSTab1", 4, 186},
    {"Frame5", NoIndex, 199},
    {"optCallHandlerOwnerDontChange", NoIndex, 112},
    {"optCallHandlerOwnerChangeSubscriber", NoIndex, 242},
    {"cmdSelectCallHandlerOwnerSubscriber", NoIndex, 138},
    {"optCallHandlerOwnerChangeDL", NoIndex, 241},
    {"cmdSelectCallHandlerOwnerDL", NoIndex, 138},
    {"Frame1", NoIndex, 183},
    {"optCallHandlerRecipientNoChange", NoIndex, 113},
    {"optCallHandlerRecipientSubscriber", NoIndex, 245},
    {"cmdChooseCallHandlerRecipient", NoIndex, 138},
    {"optCallHandlerRecipientDL", NoIndex, 244},
    {"cmdChooseCallHandlerRecipientDL", NoIndex, 138},
    {"Frame2", NoIndex, 29},
    {"Label12", NoIndex, 14},
    {"Label4", NoIndex, 93},
    {"Label3", NoIndex, 95},
    {"Label14", NoIndex, 181},
    {"Label15", NoIndex, 86},
    {"Label16", NoIndex, 87},
    {"label11", MarkPrivateLabel, 548},
    {"Label21", NoIndex, 12},
    {"Label13", NoIndex, 187},
    {"Label20", NoIndex, 12},
    {"Label2", NoIndex, 92},
    {"Label25", NoIndex, 238},
    {"Label17", NoIndex, 232},
    {"Frame6", MessageOptionsFrame, 549},
};

// The form's rows and the tab captions of the transfer rules and greetings, from the names table.
const std::vector<CaptionRow>& formCaptions()
{
    static const std::vector<CaptionRow> rows = [] {
        std::vector<CaptionRow> all(std::begin(kFormCaptions), std::end(kFormCaptions));
        for (int rule = 0; rule < TransferRuleCount; ++rule)
            all.push_back({"SSTab4", rule, kTransferRules[rule].tabCaption});
        for (int greeting = 0; greeting < GreetingCount; ++greeting)
            all.push_back({"SSTab2", greeting, kGreetings[greeting].tabCaption});
        return all;
    }();
    return rows;
}

// A control of a label-and-box row.
template <typename Control>
Control* addRow(QGridLayout* rows, QLabel* label, Control* control, int line)
{
    rows->addWidget(label, line, 0);
    rows->addWidget(control, line, 1);
    return control;
}

QLineEdit* hiddenObjectId(const char* name)
{
    auto* box = named(new QLineEdit, name);
    box->setReadOnly(true);
    box->hide();
    return box;
}

// An option group of three: don't change (chosen), a subscriber, a distribution list; each
// destination with its read-only name box, hidden object-ID box and Find button.
struct ChoiceRow {
    const char* option;
    const char* name;
    const char* find;
};
QGroupBox* threeWayChoice(const char* frameName, const char* dontChange, const ChoiceRow (&rows)[2])
{
    auto* frame = named(new QGroupBox, frameName);
    auto* grid = new QGridLayout(frame);
    auto* choices = new QButtonGroup(frame);
    auto* keep = named(new QRadioButton, dontChange);
    keep->setChecked(true);
    choices->addButton(keep);
    grid->addWidget(keep, 0, 0, 1, 3);
    int line = 1;
    for (const ChoiceRow& row : rows) {
        auto* option = named(new QRadioButton, row.option);
        choices->addButton(option);
        grid->addWidget(option, line, 0);
        auto* name = named(new QLineEdit, row.name);
        name->setReadOnly(true);
        grid->addWidget(name, line, 1);
        grid->addWidget(named(new QPushButton, row.find), line, 2);
        grid->addWidget(hiddenObjectId(QByteArray(row.name).append("ObjectID").constData()), line++, 3);
    }
    grid->setColumnStretch(1, 1);
    return frame;
}

QWidget* profileTab()
{
    auto* tab = new QWidget;
    auto* rows = new QGridLayout;
    // The language and switch lists wait for PopulateControls to find a server that has them.
    addRow(rows, named(new QLabel, "Label2"), named(new QComboBox, "cmbCallHandlerDefaultLanguage"), 0)->setEnabled(false);
    addRow(rows, named(new QLabel, "Label4"), named(new QComboBox, "cmbCallHandlerSchedule"), 1);
    addRow(rows, named(new QLabel, "Label3"), named(new QComboBox, "cmbCallHandlerSwitchAssignment"), 2)->setEnabled(false);
    rows->setColumnStretch(2, 1);
    auto* page = new QVBoxLayout(tab);
    page->addLayout(rows);
    page->addWidget(threeWayChoice("Frame5", "optCallHandlerOwnerDontChange",
                                   {{"optCallHandlerOwnerChangeSubscriber", "txtCallHandlerOwnerSubscriber",
                                     "cmdSelectCallHandlerOwnerSubscriber"},
                                    {"optCallHandlerOwnerChangeDL", "txtCallHandlerOwnerDL", "cmdSelectCallHandlerOwnerDL"}}));
    page->addStretch(1);
    return tab;
}

QWidget* callerInputTab(QList<CompositeGroup*>& groups)
{
    auto* tab = new QWidget;
    auto* keys = named(new QTabWidget, "SSTab3");
    for (int key = 0; key < KeyCount; ++key) {
        auto* frame = namedElement(new QGroupBox, "Frame4", key);
        groups << CallerInputActionGroup::placeIn(frame, key, kGroupOptions);
        auto* keyTab = new QWidget;
        (new QVBoxLayout(keyTab))->addWidget(frame);
        keys->addTab(keyTab, QString::fromLatin1(kKeyCaptions[key]));
    }

    auto* rows = new QGridLayout;
    addRow(rows, named(new QLabel, "Label13"), named(new QLineEdit, "txtCallerInputMilisecondsToWait"), 0)
        ->setMaxLength(MillisecondsMaxLength);
    rows->addWidget(named(new QLabel, "Label20"), 0, 2);
    // Captioned and shown by PopulateControls, which knows the server version.
    const struct {
        int label;
        const char* box;
        const char* clear;
        int hint;
    } digitRows[] = {{PrependLabel, "txtCallerInputPrependDigits", "chkCallerInputPrependDigitsClear", PrependHint},
                     {PostpendLabel, "txtCallerInputPostPendDigits", "chkCallerInputPostPendDigitsClear", PostpendHint}};
    int line = 1;
    for (const auto& row : digitRows) {
        addRow(rows, namedElement(new QLabel, "label11", row.label), named(new QLineEdit, row.box), line)
            ->setMaxLength(DigitsMaxLength);
        rows->addWidget(namedElement(new QLabel, "label11", row.hint), line, 2);
        rows->addWidget(named(new QCheckBox(QStringLiteral("Clear")), row.clear), line++, 3);
    }
    rows->setColumnStretch(4, 1);

    auto* page = new QVBoxLayout(tab);
    page->addWidget(keys);
    page->addLayout(rows);
    page->addStretch(1);
    return tab;
}

QWidget* messagesTab(QList<CompositeGroup*>& groups)
{
    auto* tab = new QWidget;
    auto* afterMessage = named(new QGroupBox, "Frame2");
    groups << CallerInputActionGroup::placeIn(afterMessage, AfterMessageInput, kGroupOptions);

    auto* options = namedElement(new QGroupBox, "Frame6", MessageOptionsFrame);
    auto* rows = new QGridLayout(options);
    addRow(rows, named(new QLabel, "Label16"), named(new QComboBox, "comMessagesMarkUrgent"), 0);
    addRow(rows, namedElement(new QLabel, "label11", MarkPrivateLabel), named(new QComboBox, "comMessagesMarkPrivate"), 1);
    addRow(rows, named(new QLabel, "Label15"), named(new QComboBox, "comMessagesCallersCanEdit"), 2);
    addRow(rows, named(new QLabel, "Label14"), named(new QLineEdit, "txtMessagesMaxMessageLength"), 3)
        ->setMaxLength(MessageLengthMaxLength);
    rows->addWidget(named(new QLabel, "Label21"), 3, 2);

    auto* side = new QHBoxLayout;
    side->addWidget(threeWayChoice("Frame1", "optCallHandlerRecipientNoChange",
                                   {{"optCallHandlerRecipientSubscriber", "txtCallHandlerRecipientSubscriber",
                                     "cmdChooseCallHandlerRecipient"},
                                    {"optCallHandlerRecipientDL", "txtCallHandlerRecipientDL", "cmdChooseCallHandlerRecipientDL"}}),
                    1);
    side->addWidget(options, 0, Qt::AlignTop);
    auto* page = new QVBoxLayout(tab);
    page->addLayout(side);
    page->addWidget(afterMessage);
    page->addStretch(1);
    return tab;
}

}  // namespace

frmSelectCallHandlerChanges::frmSelectCallHandlerChanges(WizardContext& context, QWidget* parent)
    : WizardOptionsPage(context, QStringLiteral("frmSelectCallHandlerChanges"), parent)
{
    buildPage();
    HandlerOptions::connectHandlerOptionsInput(*this, m_context);

    m_context.forms.add(this, [this] { frmSelectCallHandlerChanges_Auto_Init(); });
    Form_Load();
}

void frmSelectCallHandlerChanges::buildPage()
{
    auto* heading = named(new QLabel, "Label17");
    auto* instructions = named(new QLabel, "Label25");

    auto* rules = named(new QTabWidget, "SSTab4");
    for (int rule = 0; rule < TransferRuleCount; ++rule) {
        auto* group = new HandlerTransferRule(rule, nullptr);
        m_groups << group;
        rules->addTab(group, QString());
    }
    auto* greetings = named(new QTabWidget, "SSTab2");
    for (int greeting = 0; greeting < GreetingCount; ++greeting) {
        auto* group = new HandlerGreeting(greeting, nullptr);
        m_groups << group << group->afterGreetingAction();
        greetings->addTab(group, QString());
    }

    SSTab1 = named(new QTabWidget, "SSTab1");
    for (QWidget* controls : {profileTab(), static_cast<QWidget*>(rules), static_cast<QWidget*>(greetings),
                              callerInputTab(m_groups), messagesTab(m_groups)})
        addScrolledTab(SSTab1, controls);
    // Within a 1366 x 768 screen.
    layOutPage(heading, instructions, SSTab1, {1100, 700});
}

void frmSelectCallHandlerChanges::frmSelectCallHandlerChanges_Auto_Init()
{
    const Languages& languages = m_context.session.languages;
    const StringLookup text = languages.stringLookup();
    SetFormFontForLanguage(this, languages.lngLanguageID);
    applyCaptions(this, formCaptions(), text);
    for (CompositeGroup* group : m_groups)
        group->applyCaptions(text);

    // The wait-while-I-transfer and record-your-message prompts exist from 4.1.0.0 on.
    const bool prompts = m_context.session.isVersionAtLeast(4, 1, 0, 0);
    FormStatements run(this, text);
    for (int rule = 0; rule < FirstFollowMe; ++rule) {
        const QString label = elementName(QStringLiteral("Label10"), kTransferRules[rule].waitPromptLabel);
        run.setShown(label, prompts);
        if (prompts)
            run.setCaption(label, kWaitPromptField.string);
    }
    for (int greeting = 0; greeting < GreetingCount; ++greeting) {
        const QString label = elementName(QStringLiteral("Label23"), RecordPromptLabel + greeting);
        run.setShown(label, prompts);
        if (prompts)
            run.setCaption(label, 489);
    }
}

void frmSelectCallHandlerChanges::PopulateControls()
{
    const Languages& languages = m_context.session.languages;
    FormStatements run(this, languages.stringLookup(), [&](const KestraneError& error) {
        m_context.messages.show(languages.mymyLoadString(47) + error.description() + languages.mymyLoadString(1)
                                + paddedNumber(error.number()));
    });
    fillHandlerOptionLists(run, m_context.session);
    // The lists are filled under signal blockers: each greeting's file controls as its source reads.
    for (int greeting = 0; greeting < GreetingCount; ++greeting)
        UpdateGreetingSourceControls(*this, qint16(greeting));
}

void frmSelectCallHandlerChanges::Form_Load()
{
    frmSelectCallHandlerChanges_Auto_Init();
    PopulateControls();
}

OptionsSnapshot frmSelectCallHandlerChanges::snapshot() const
{
    return captureOptions(this);
}

void frmSelectCallHandlerChanges::cmdNext_Click()
{
    showEnginePageUnless(HandlerOptions::firstEntryFault(*this, m_context.session.languages), m_context.handlerEnginePage);
}

void frmSelectCallHandlerChanges::cmdPrevious_Click()
{
    showSelectionPage(m_context.handlerSelectionPage);
}
