// Tab 2 of the options page, Passwords: the account's password flags, the known-device login and
// the phone password.
#include "subscribers/ui/options/OptionRows.h"
#include "subscribers/ui/options/OptionsTabs.h"

#include "core/ui/Captions.h"
#include "resources/EnglishStrings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace SubscriberOptions {
namespace {

const CaptionRow passwordsCaptions[] = {
    {"label11", 30, 287},
    {"label11", 31, 288},
    {"label11", 32, 202},
    {"chkPasswordsChangePassword", NoIndex, 141},
    {"label11", 33, 13},
    {"label11", 34, 491},
};

void buildPasswords(QWidget* page)
{
    OptionRows rows(page);
    rows.row({label("label11", 30), list("comPasswordsCannotChange")})
        .row({label("label11", 31), list("comPasswordsMustChange")})
        .row({label("label11", 32), list("comPasswordsNeverExpires")})
        // Captioned by PopulateControls.
        .row({label("Label9", 21, QStringLiteral("Skip password entry when subscriber calls from a known extension:")),
              list("comConversationSkipPWForKnownDevice")})
        .row({checkBox("chkPasswordsChangePassword"), textBox("txtPasswordsNewPassword", 10), label("label11", 33)})
        .wide(label("label11", 34))
        .end();
    applyCaptions(page, passwordsCaptions, resources::englishString);
}

void captionPasswords(QWidget* page, const StringLookup& text)
{
    applyCaptions(page, passwordsCaptions, text);
}

}  // namespace

const TabBuilder passwordsTab{buildPasswords, captionPasswords};

}  // namespace SubscriberOptions
