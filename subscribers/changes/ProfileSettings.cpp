// The profile tab's choices: self enrollment, the two directory listings, a display name rebuilt
// from the first and last name, and the two warnings the subscriber hears.
#include "subscribers/changes/SubscriberChanges.h"

#include "core/Recordset.h"

namespace {

const QString kDisplayNameList = QStringLiteral("comProfileForceDisplayName");
constexpr int kDontChange = 20;
constexpr int kFirstNameLastName = 367;

// A tri-state choice that goes into a subscriber column; `directory` when the directory copies it.
struct ProfileFlag {
    const char* control;
    const char* column;
    const char* line;
    bool directory;
};

// Before the display name, in this order.
constexpr ProfileFlag kListingFlags[] = {
    {"comProfileSubscriberEnrollment", "NewMailUser", "   Self enrollment value set to: ", false},
    {"comProfileDirList", "ListInDirectory", "   List in Directory set to: ", true},
    {"comProfileShowInAddressBook", "HiddenInDirectory", "   Hide in email directory set to: ", true},
};
// After the display name.
constexpr ProfileFlag kWarningFlags[] = {
    {"comProfileWarnForAlternateGreeting", "SayAltGreetWarning",
     "   Warn subscriber of alternate greeting being enabled=: ", false},
    {"comProfileWarnFollowMeRuleActive", "SayFollowMeRuleWarning",
     "    Warn subscriber of Follow-Me Rule being active=: ", false},
};

void applyFlags(SubscriberEdit& edit, std::span<const ProfileFlag> flags)
{
    for (const ProfileFlag& flag : flags)
        edit.step([&] {
            if (edit.applyTriStateOf(edit.options.control(flag.control), edit.subscriber(), QLatin1String(flag.column),
                                   QLatin1String(flag.line))
                && flag.directory)
                edit.requestDirectoryWriteThrough();
        });
}

// "First Name Last Name" puts the first name before the last; any other choice gives
// "Last, First". A missing first name leaves the blank in front of the last name.
QString builtDisplayName(bool firstNameFirst, const QVariant& first, const QVariant& last)
{
    QString name;
    if (firstNameFirst) {
        if (!first.isNull())
            name = first.toString();
        if (!last.isNull())
            name += u' ' + last.toString();
    } else {
        if (!last.isNull())
            name = last.toString();
        if (!first.isNull())
            name = name.isEmpty() ? first.toString() : name + QStringLiteral(", ") + first.toString();
    }
    return name;
}

void forceDisplayName(SubscriberEdit& edit)
{
    const QString choice = edit.options.control(kDisplayNameList).text;
    if (edit.shows(choice, kDontChange))
        return;
    // The directory is told even when no name can be built, and before any write can fail.
    edit.requestDirectoryWriteThrough();
    Recordset& subscriber = edit.subscriber();
    const QString name = builtDisplayName(edit.shows(choice, kFirstNameLastName),
                                          subscriber.value(QStringLiteral("FirstName")),
                                          subscriber.value(QStringLiteral("LastName")));
    if (name.isEmpty()) {
        edit.writeLine(QStringLiteral("(error) no first or last name found for user - the request to force the display "
                                      "name to change for this user has been skipped."));
        return;
    }
    subscriber.setValue(QStringLiteral("DisplayName"), SubscriberChanges::withoutOuterBlanks(name));
    subscriber.update();
    edit.writeLine(QStringLiteral("    Display name updated to: ") + name);
}

void applyProfileSettings(SubscriberEdit& edit)
{
    applyFlags(edit, kListingFlags);
    edit.step([&] { forceDisplayName(edit); });
    applyFlags(edit, kWarningFlags);
}

constexpr char kPage[] = "frmSelectSubscriberChanges";
constexpr EngineControl kControls[] = {
    {kPage, "comProfileSubscriberEnrollment"},     {kPage, "comProfileDirList"},
    {kPage, "comProfileShowInAddressBook"},        {kPage, "comProfileForceDisplayName"},
    {kPage, "comProfileWarnForAlternateGreeting"}, {kPage, "comProfileWarnFollowMeRuleActive"},
};

}  // namespace

QString SubscriberChanges::withoutOuterBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

constinit const SubscriberChangeCategory SubscriberChanges::profileSettings{"profile settings", applyProfileSettings, kControls};
