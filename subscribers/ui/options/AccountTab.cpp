// Tab 1 of the options page, Account: billing ID and unlocking.
#include "subscribers/ui/options/OptionRows.h"
#include "subscribers/ui/options/OptionsTabs.h"

#include "core/ui/Captions.h"
#include "resources/EnglishStrings.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace SubscriberOptions {
namespace {

const CaptionRow accountCaptions[] = {
    {"label11", 28, 240},
    {"label11", 29, 12},
    {"chkAccountForceBillingIDBlank", NoIndex, 140},
    {"chkAccountUnlock", NoIndex, 283},
};

void buildAccount(QWidget* page)
{
    OptionRows rows(page);
    rows.row({label("label11", 28), textBox("txtAccountBillingID", 10), label("label11", 29)})
        .wide(checkBox("chkAccountForceBillingIDBlank"))
        .wide(checkBox("chkAccountUnlock"))
        .end();
    applyCaptions(page, accountCaptions, resources::englishString);
}

void captionAccount(QWidget* page, const StringLookup& text)
{
    applyCaptions(page, accountCaptions, text);
}

}  // namespace

const TabBuilder accountTab{buildAccount, captionAccount};

}  // namespace SubscriberOptions
