// Tab 3 of the options page, Conversation: the inner tab control of five tabs with what the
// subscriber hears and how messages are reviewed, sent, ordered and kept.
#include "subscribers/ui/options/MessagePlayOrderLists.h"
#include "subscribers/ui/options/OptionRows.h"
#include "subscribers/ui/options/OptionsTabs.h"

#include "core/ui/Captions.h"
#include "resources/EnglishStrings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace SubscriberOptions {
namespace {

// The captions the caption routine sets. Those of the version-dependent rows (receipt options,
// hang-up, encryption, address-then-record, name suggest) and of the Limit List button are the
// version gates' to set; the tab captions and the "laid out as" labels are PopulateControls'.
const CaptionRow conversationCaptions[] = {
    // General Conversation
    {"Label9", 11, 463}, {"Label9", 12, 378}, {"Label9", 13, 147}, {"Label9", 0, 55}, {"Label9", 1, 57},
    {"Label9", 2, 56}, {"Label9", 3, 54}, {"Label9", 4, 53},
    {"chkConversationAccessibilityUpdate", NoIndex, 487},
    {"Label9", 35, 509}, {"Label9", 34, 483}, {"Label9", 15, 485}, {"Label9", 18, 483},
    {"Label9", 14, 484}, {"Label9", 17, 483}, {"Label9", 16, 486}, {"Label9", 19, 483},
    // Message Review
    {"Label9", 23, 495}, {"Label9", 22, 353}, {"Label9", 8, 292}, {"Label9", 32, 502}, {"Label9", 5, 51},
    {"Label9", 6, 224}, {"Label9", 7, 52}, {"Label9", 54, 555}, {"Label9", 9, 351}, {"Label9", 10, 352},
    // Message Send
    {"Label9", 24, 496}, {"Label9", 25, 26}, {"Label9", 37, 512},
    // Flex Stack
    {"chkFlexStackMakeChange", NoIndex, 407}, {"chkFlexStackMessageTypeMenu", NoIndex, 408},
    {"Label9", 26, 409}, {"Label9", 27, 411}, {"lblSortByMessageType", 0, 410},
    {"label11", 46, 412}, {"label11", 47, 412}, {"Label9", 28, 360},
    // Options
    {"Label9", 29, 499}, {"Label9", 30, 500}, {"Label9", 31, 501}, {"Label9", 33, 507}, {"Label9", 36, 511},
};

// Laid out in English, as the version gates caption them when they show them.
const CaptionRow versionRowCaptions[] = {
    {"Label9", 47, 527}, {"Label9", 48, 531}, {"Label9", 49, 532}, {"Label9", 50, 533}, {"Label9", 55, 557},
    {"cmdSetSubscriberConversationLimits", NoIndex, 540},
};

const LabelledList generalConversationLists[] = {
    {"Label9", 11, "comConversationSpeed"},
    {"Label9", 12, "comConversationConvType"},
    {"Label9", 13, "comConversationGreetByName"},
    {"Label9", 0, "comConversationSayTotalNew"},
    {"Label9", 1, "comConversationSayTotalSaved"},
    {"Label9", 2, "comConversationSayTotalNewVoice"},
    {"Label9", 3, "comConversationSayTotalNewFax"},
    {"Label9", 4, "comConversationSayTotalNewEmail"},
    {"Label9", 20, "comConversationJumpToNewMessages", NoIndex, "Play new messages after subscriber login:"},
};

// The phone menu response boxes, top to bottom: the label, the element of
// txtConversationAccessibility with its length, the "Blank means use defaults" note.
struct AccessibilityRow {
    int label;
    int box;
    int maxLength;
    int note;
};
const AccessibilityRow accessibilityRows[] = {{35, 3, 5, 34}, {15, 1, 5, 18}, {14, 0, 5, 17}, {16, 2, 3, 19}};

const LabelledList messageReviewLists[] = {
    {"Label9", 8, "comConversationVolumeLevel"},
    {"Label9", 32, "comConversationMessageSpeed"},
    {"Label9", 5, "comConversationAnnounceSender"},
    {"Label9", 6, "comConversationSayMessageNumber"},
    {"Label9", 7, "comConversationAnnounceTimestamp"},
    {"Label9", 54, "comConversationAnnounceDuration"},
    {"Label9", 9, "comConversationSaySenderExt"},
    {"Label9", 10, "comConversationSayANI"},
    {"Label9", 47, "comConversationReceiptOptions"},
};

const LabelledList messageSendLists[] = {
    {"Label9", 50, "cmbConversationAddressThenRecord"},
    {"Label9", 55, "cmbConversationConstantLookup"},
    {"Label9", 48, "cmbConversationSendOnHangup"},
    {"Label9", 49, "cmbConversationSendEncryptAllPrivate"},
};

const LabelledList optionsLists[] = {
    {"Label9", 29, "cmbConversationOptions", 0},
    {"Label9", 30, "cmbConversationOptions", 1},
    {"Label9", 31, "cmbConversationOptions", 2},
    {"Label9", 33, "cmbConversationOptions", 3},
    {"Label9", 36, "cmbConversationOptions", 4},
    {"Label9", 40, "cmbConversationOptions", 5, "Dropped call recovery - enable:"},
    {"Label9", 53, "cmbConversationOptions", 8, "Allow access to voice-recognition feature:"},
};

const LabelledList droppedCallLists[] = {
    {"Label9", 51, "cmbConversationOptions", 6, "Enabled DCR for calls dropped during message playback:"},
    {"Label9", 52, "cmbConversationOptions", 7, "Enabled DCR for calls dropped while addressing or recording messages:"},
};

template <typename Control>
Control* disabled(Control* control)
{
    control->setEnabled(false);
    return control;
}

void buildGeneralConversation(QWidget* tab)
{
    OptionRows rows(tab);
    rows.lists(generalConversationLists).wide(checkBox("chkConversationAccessibilityUpdate"));
    // Open only while the update box above is ticked.
    for (const AccessibilityRow& row : accessibilityRows)
        rows.row({label("Label9", row.label), disabled(textBox("txtConversationAccessibility", row.box, row.maxLength)),
                  label("Label9", row.note)});
    rows.end();
}

void buildMessageReview(QWidget* tab)
{
    const QString blankSkipsField = QStringLiteral("(blank skips field)");
    OptionRows rows(tab);
    rows.row({label("Label9", 23), list("comProfileTimeFormat")})
        .row({label("Label9", 22), list("comProfileConversationStyle"), button("cmdSetSubscriberConversationLimits")})
        .row({label("Label9", 43, QStringLiteral("Message review skip ahead time (milliseconds):")),
              textBox("txtSubscriberMessageReviewSkipAheadTime", 8), label("Label9", 44, blankSkipsField)})
        .row({label("Label9", 46, QStringLiteral("Message review skip back time (milliseconds):")),
              textBox("txtSubscriberMessageReviewSkipBackTime", 8), label("Label9", 45, blankSkipsField)})
        .lists(messageReviewLists)
        .end();
}

void buildMessageSend(QWidget* tab)
{
    OptionRows rows(tab);
    rows.row({label("Label9", 24), list("comConversationSendMode")})
        .row({label("Label9", 25), list("comConversationAddressMode")})
        // The handlers' object IDs, kept in step with the names.
        .row({label("Label9", 37), list("cmbConversationSendScopeLimit"),
              laidOutHidden(list("cmbConversationSendScopeLimitObjectID"))})
        .lists(messageSendLists)
        .end();
}

// An up/down control that moves the selected item of the play-order list beside it.
QSpinBox* upDown(const char* name)
{
    auto* arrows = named(new QSpinBox, name);
    // Only the arrows show: the control is as wide as its arrow buttons.
    QStyleOptionSpinBox option;
    option.initFrom(arrows);
    option.rect = QRect(QPoint(0, 0), arrows->sizeHint());
    const QRect up = arrows->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, arrows);
    arrows->setFixedSize(option.rect.width() - up.left(), 2 * option.rect.height());
    return arrows;
}

void buildFlexStack(QWidget* tab)
{
    // What the make-changes box governs opens disabled, as the box opens clear.
    auto* newMessages = named(new QListWidget, "listFlexStackOrderNewMessages");
    auto* newMessageArrows = upDown("upDownFlexStackNewMessagePlayOrder");
    auto* oldMessages = named(new QListWidget, "listFlexStackOrderOldMessages");
    auto* oldMessageArrows = upDown("upDownFlexStackOldMessage");
    ConnectFlexStackArrows(newMessageArrows, newMessages);
    ConnectFlexStackArrows(oldMessageArrows, oldMessages);
    OptionRows rows(tab);
    rows.wide(checkBox("chkFlexStackMakeChange"))
        .wide(disabled(checkBox("chkFlexStackMessageTypeMenu")))
        .row({label("Label9", 26), nullptr, label("Label9", 27)})
        .row({label("lblSortByMessageType", 0), nullptr, label("lblSortByMessageType", 1)})
        .row({disabled(newMessages), disabled(newMessageArrows), disabled(oldMessages), disabled(oldMessageArrows)})
        .row({label("label11", 46), nullptr, label("label11", 47)})
        .row({disabled(list("cmbFlexStackNewMessagesLIFOFIFO")), nullptr, disabled(list("cmbFlexStackSavedMessagesLIFOFIFO"))})
        .row({label("Label9", 28)})
        .row({disabled(list("cmbFlexStackDeletedItemsLIFOFIFO"))})
        .end();
}

void buildOptions(QWidget* tab)
{
    const QString blankMeansSkip = QStringLiteral("(blank means skip)");
    OptionRows rows(tab);
    rows.lists(optionsLists)
        .row({label("Label9", 38, QStringLiteral("Dropped call recovery - message review timeout:")),
              textBox("txtDCRMessageReviewTimeout", 8), label("Label9", 41, blankMeansSkip)})
        .row({label("Label9", 39, QStringLiteral("Dropped call recovery - send message timeout:")),
              textBox("txtDCRSendTimeout", 8), label("Label9", 42, blankMeansSkip)})
        .lists(droppedCallLists)
        .end();
}

void captionConversation(QWidget* page, const StringLookup& text)
{
    applyCaptions(page, conversationCaptions, text);
    auto* sortBy = page->findChild<QLabel*>(QStringLiteral("lblSortByMessageType_0"));
    auto* thenSortBy = page->findChild<QLabel*>(QStringLiteral("lblSortByMessageType_1"));
    if (sortBy && thenSortBy)
        thenSortBy->setText(sortBy->text());
}

void buildConversation(QWidget* page)
{
    auto* tabs = named(new QTabWidget, "tabSubscriberConversationOptions");
    (new QVBoxLayout(page))->addWidget(tabs);
    // Captioned by PopulateControls.
    const struct {
        const char* caption;
        void (*build)(QWidget*);
    } innerTabs[] = {{"General Conversation", buildGeneralConversation},
                     {"Message Review", buildMessageReview},
                     {"Message Send", buildMessageSend},
                     {"Flex Stack", buildFlexStack},
                     {"Options", buildOptions}};
    for (const auto& inner : innerTabs) {
        auto* tab = new QWidget;
        inner.build(tab);
        tabs->addTab(tab, QString::fromUtf8(inner.caption));
    }
    captionConversation(page, resources::englishString);
    applyCaptions(page, versionRowCaptions, resources::englishString);
}

}  // namespace

const TabBuilder conversationTab{buildConversation, captionConversation};

}  // namespace SubscriberOptions
