// The Transfer and Greetings tabs of the subscriber options page: their controls against the
// inventory, their laid-out captions and states, and the captions their caption step sets.
#include "subscribers/ui/options/OptionsTabs.h"

#include "OptionsInventory.h"
#include "resources/EnglishStrings.h"

#include <QLineEdit>

#include <functional>
#include <utility>

namespace {

using SubscriberOptions::TabBuilder;

QString element(const char* name, int index)
{
    return elementName(QLatin1String(name), index);
}

constexpr int TransferRules = 6;
constexpr int Greetings = 6;
constexpr int FirstFollowMe = 3;
constexpr int FirstAfterGreetingGroup = 13;

// The rows of a transfer rule with a `Label10` label: the list, the label's string and the
// label's element on the rules 0 to 5.
struct TransferRow {
    const char* list;
    int string;
    int label10[TransferRules];
};
const TransferRow transferRows[] = {
    {"comTransferRuleEnabled", 513, {24, 25, 26, 27, 44, 53}},
    {"comTransferEnabled", 118, {0, 9, 17, 34, 37, 46}},
    {"comTransferType", 277, {3, 12, 20, 31, 40, 49}},
    {"comTransferPlayPleaseWaitPrompt", 488, {7, 8, 16, 35, 36, 45}},
    {"comTransferBusyAction", 157, {2, 11, 19, 32, 39, 48}},
    {"comTransferAnnounce", 58, {1, 10, 18, 33, 38, 47}},
    {"comTransferIntroduce", 163, {5, 14, 22, 29, 42, 51}},
    {"comTransferConfirm", 102, {4, 13, 21, 30, 41, 50}},
    {"comTransferAskCallersName", 66, {6, 15, 23, 28, 43, 52}},
};
const TransferRow& waitPromptRow = transferRows[3];

const char* const alternateGreetingBoxes[] = {
    "chkGreetingsAlternateApplyEnhancedAlternateGreetingSettings", "chkGreetingAlternateDontRingPhone",
    "chkGreetingAlternatePreventSkip", "chkGreetingAlternatePreventMessage"};

QString ruleTab(int rule)
{
    return QStringLiteral("tabSubscriberTransfer:%1").arg(rule);
}

QString greetingTab(int greeting)
{
    return QStringLiteral("tabGreetings:%1").arg(greeting);
}

std::vector<InventoryRow> transferInventory()
{
    std::vector<InventoryRow> rows{{"tabSubscriberTransfer", ControlKind::TabControl, {}}};
    for (int r = 0; r < TransferRules; ++r) {
        QString rowsFrame = ruleTab(r);
        if (r >= FirstFollowMe) {
            rowsFrame = element("frameTransferRule", r - FirstFollowMe);
            rows.push_back({rowsFrame, ControlKind::Frame, ruleTab(r)});
        }
        for (const TransferRow& row : transferRows) {
            rows.push_back({element("Label10", row.label10[r]), ControlKind::Label, rowsFrame});
            rows.push_back({element(row.list, r), ControlKind::ComboBox, rowsFrame});
        }
        rows.push_back({element("Label18", r), ControlKind::Label, rowsFrame});
        rows.push_back({element("txtTransferRingsToWait", r), ControlKind::LineEdit, rowsFrame});
        rows.push_back({element("Label19", r), ControlKind::Label, rowsFrame});

        const QString editNumber = element("Frame5", r);
        rows.push_back({editNumber, ControlKind::Frame, ruleTab(r)});
        for (const char* box : {"chkTransferForceToSubscribersExtension", "chkTransferAppendDigitsToLeft", "chkTransferAppendDigitsToRight"})
            rows.push_back({element(box, r), ControlKind::CheckBox, editNumber});
        for (const char* box : {"txtTransferAppendDigitsToLeft", "txtTransferAppendDigitsToRight"})
            rows.push_back({element(box, r), ControlKind::LineEdit, editNumber});
    }
    return rows;
}

std::vector<InventoryRow> greetingsInventory()
{
    std::vector<InventoryRow> rows{{"tabGreetings", ControlKind::TabControl, {}}};
    for (int g = 0; g < Greetings; ++g) {
        const QString tab = greetingTab(g);
        for (const char* list : {"comGreetingEnabled", "comGreetingAllowInput", "comGreetingSource", "comGreetingPlayPleaseRecord"})
            rows.push_back({element(list, g), ControlKind::ComboBox, tab});
        rows.push_back({element("txtGreetingSourcePath", g), ControlKind::LineEdit, tab});
        rows.push_back({element("cmdGreetingsourceWAVSelect", g), ControlKind::Button, tab});
        for (const QString& label : {element("label11", g), element("Label23", g), element("Label23", 6 + g), element("label11", 20 + g)})
            rows.push_back({label, ControlKind::Label, tab});

        const QString reprompts = element("frmReprompts", g);
        rows.push_back({reprompts, ControlKind::Frame, tab});
        for (const char* box : {"txtGreetingReplayTimes", "txtGreetingSecondsBetweenReplays"})
            rows.push_back({element(box, g), ControlKind::LineEdit, reprompts});
        for (const char* label : {"Label34", "Label35", "Label36", "Label37"})
            rows.push_back({element(label, g), ControlKind::Label, reprompts});

        for (InventoryRow& row : actionGroupInventory(FirstAfterGreetingGroup + g, element("Frame3", g), tab))
            rows.push_back(std::move(row));
    }
    rows.push_back({element("label11", 35), ControlKind::Label, greetingTab(0)});
    for (const char* box : alternateGreetingBoxes)
        rows.push_back({box, ControlKind::CheckBox, greetingTab(3)});
    return rows;
}

// A tab of the page built into a page of its own.
struct BuiltTab {
    explicit BuiltTab(const TabBuilder& builder) : builder(builder) { builder.build(&page); }

    void caption(const StringLookup& text) { builder.caption(&page, text); }
    OptionsSnapshot snapshot() const { return captureOptions(&page); }

    const TabBuilder& builder;
    QWidget page;
};

bool showsCaption(ControlKind kind)
{
    return kind == ControlKind::Label || kind == ControlKind::Button || kind == ControlKind::CheckBox ||
           kind == ControlKind::OptionButton || kind == ControlKind::Frame;
}

QStringList tabCaptions(const OptionsSnapshot& snapshot, const QString& tabControl)
{
    QStringList captions;
    for (const TabState& tab : snapshot.control(tabControl).tabs)
        captions << tab.caption;
    return captions;
}

using Captions = std::vector<std::pair<QString, QString>>;

// What the tab's caption step leaves on each control of the Transfer tab when every string reads
// as its number.
Captions transferCaptions()
{
    Captions captions;
    for (int r = 0; r < TransferRules; ++r) {
        // The wait prompts are captioned by server version, on the page: they keep their laid-out text.
        const QString waitPrompt = r < FirstFollowMe ? resources::englishString(488) : QStringLiteral("Play 'please wait' prompt:");
        for (const TransferRow& row : transferRows)
            captions.push_back({element("Label10", row.label10[r]), &row == &waitPromptRow ? waitPrompt : numberText(row.string)});
        captions.insert(captions.end(), {{element("Label18", r), numberText(2)},
                                         {element("Label19", r), numberText(12)},
                                         {element("Frame5", r), numberText(117)},
                                         {element("chkTransferForceToSubscribersExtension", r), numberText(246)},
                                         {element("chkTransferAppendDigitsToLeft", r), numberText(59)},
                                         {element("chkTransferAppendDigitsToRight", r), numberText(60)}});
        if (r >= FirstFollowMe)
            captions.push_back({element("frameTransferRule", r - FirstFollowMe), QString()});
    }
    return captions;
}

Captions greetingsCaptions()
{
    Captions captions;
    for (int g = 0; g < Greetings; ++g)
        captions.insert(captions.end(), {{element("label11", g), numberText(119)},
                                         {element("Label23", g), numberText(43)},
                                         {element("Label23", 6 + g), numberText(456)},
                                         {element("cmdGreetingsourceWAVSelect", g), numberText(69)},
                                         {element("frmReprompts", g), numberText(222)},
                                         {element("Label34", g), numberText(220)},
                                         {element("Label35", g), numberText(272)},
                                         {element("Label36", g), numberText(228)},
                                         {element("Label37", g), numberText(11)},
                                         {element("Frame3", g), numberText(27)},
                                         {element("optCallerInputDontChange", FirstAfterGreetingGroup + g), numberText(20)},
                                         // Shown and captioned by server version, on the page.
                                         {element("label11", 20 + g), resources::englishString(489)}});
    captions.insert(captions.end(), {{element("label11", 35), numberText(10)},
                                     {alternateGreetingBoxes[0], numberText(364)},
                                     {alternateGreetingBoxes[1], numberText(361)},
                                     {alternateGreetingBoxes[2], numberText(363)},
                                     {alternateGreetingBoxes[3], numberText(362)}});
    return captions;
}

struct TabCase {
    const char* tabControl;
    const TabBuilder& builder;
    std::function<std::vector<InventoryRow>()> inventory;
    size_t controls;
    std::function<Captions()> captions;
    QStringList laidOutTabs;
    QStringList captionedTabs;
};

const TabCase tabCases[] = {
    {"tabSubscriberTransfer", SubscriberOptions::transferTab, transferInventory, 166, transferCaptions,
     {"Alternate", "Off Hours", "Standard", "Follow-Me Here", "Follow-Me Home", "Follow-Me Mobile"},
     {"#44", "#101", "#250", "#552", "#553", "#554"}},
    {"tabGreetings", SubscriberOptions::greetingsTab, greetingsInventory, 240, greetingsCaptions,
     {"Standard", "Closed", "Busy", "Alternate", "Internal", "Error"},
     {"#250", "#101", "#78", "#44", "#160", "#120"}},
};

}  // namespace

TEST(OptionsTransferAndGreetingsTabs, HoldTheirInventory)
{
    for (const TabCase& c : tabCases) {
        SCOPED_TRACE(c.tabControl);
        BuiltTab tab(c.builder);
        const auto rows = c.inventory();
        EXPECT_EQ(rows.size(), c.controls);
        expectInventory(&tab.page, rows);
    }
}

TEST(OptionsTransferAndGreetingsTabs, AreLaidOutWithTheEnglishCaptions)
{
    for (const TabCase& c : tabCases) {
        SCOPED_TRACE(c.tabControl);
        BuiltTab tab(c.builder);
        const OptionsSnapshot laidOut = tab.snapshot();
        EXPECT_EQ(tabCaptions(laidOut, c.tabControl), c.laidOutTabs);

        // The English look-up changes no laid-out caption, and every control that shows one has one.
        tab.caption(resources::englishString);
        const OptionsSnapshot english = tab.snapshot();
        for (const QString& name : namedControls(&tab.page)) {
            const ControlState& control = laidOut.control(name);
            if (!showsCaption(control.kind) || name.startsWith(QLatin1String("frameTransferRule")))
                continue;
            EXPECT_FALSE(control.text.isEmpty()) << name.toStdString();
            EXPECT_EQ(english.control(name).text, control.text) << name.toStdString();
        }
    }
    // Only the Closed rule's tab is laid out under another name than its string's.
    BuiltTab transfer(SubscriberOptions::transferTab);
    transfer.caption(resources::englishString);
    EXPECT_EQ(tabCaptions(transfer.snapshot(), "tabSubscriberTransfer")[1], QStringLiteral("Closed"));
}

TEST(OptionsTransferAndGreetingsTabs, CaptionStepPutsEachStringOnItsControl)
{
    for (const TabCase& c : tabCases) {
        SCOPED_TRACE(c.tabControl);
        BuiltTab tab(c.builder);
        tab.caption(numberText);
        const OptionsSnapshot captioned = tab.snapshot();
        EXPECT_EQ(tabCaptions(captioned, c.tabControl), c.captionedTabs);

        QStringList checked;
        for (const auto& [name, text] : c.captions()) {
            EXPECT_EQ(captioned.control(name).text, text) << name.toStdString();
            checked << name;
        }
        // Every other caption of the tab (the after-greeting action groups') is looked up too.
        for (const QString& name : namedControls(&tab.page)) {
            const ControlState& control = captioned.control(name);
            if (showsCaption(control.kind) && !checked.contains(name)) {
                EXPECT_TRUE(control.text.startsWith(QLatin1Char('#'))) << name.toStdString() << ": " << control.text.toStdString();
            }
        }
    }
}

TEST(OptionsTransferAndGreetingsTabs, GreetingFileControlsAndAlternateBoxesOpenUnavailable)
{
    BuiltTab tab(SubscriberOptions::greetingsTab);
    const OptionsSnapshot laidOut = tab.snapshot();
    for (int g = 0; g < Greetings; ++g) {
        SCOPED_TRACE(g);
        // No source is "Recording" yet: no file to browse for, no path to show.
        EXPECT_FALSE(laidOut.control("cmdGreetingsourceWAVSelect", g).enabled);
        EXPECT_TRUE(laidOut.control("cmdGreetingsourceWAVSelect", g).visible);
        EXPECT_FALSE(laidOut.control("txtGreetingSourcePath", g).visible);
        EXPECT_TRUE(tab.page.findChild<QLineEdit*>(element("txtGreetingSourcePath", g))->isReadOnly());
        EXPECT_TRUE(laidOut.control("comGreetingSource", g).visible);
        EXPECT_TRUE(laidOut.control("comGreetingSource", g).items.isEmpty());
        EXPECT_TRUE(laidOut.control("optCallerInputDontChange", FirstAfterGreetingGroup + g).selected);
    }
    // The enhanced alternate greeting boxes open hidden and clear; the three it governs disabled.
    for (const char* name : alternateGreetingBoxes) {
        SCOPED_TRACE(name);
        const ControlState& box = laidOut.control(name);
        EXPECT_FALSE(box.visible);
        EXPECT_EQ(box.checkState, CheckValue::Clear);
        EXPECT_EQ(box.enabled, name == alternateGreetingBoxes[0]);
    }
}
