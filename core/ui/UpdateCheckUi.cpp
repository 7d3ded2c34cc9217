#include "core/ui/UpdateCheckUi.h"

#include <QDesktopServices>
#include <QUrl>

void openInBrowser(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address));
}

void checkForUpdatedVersion_Foreground(const QString& homePage, const QString& toolName,
                                       const ToolVersion& ownVersion, MessageBoxService& messages,
                                       QWidget* parent, const HomePageOpener& openHomePage, int timeoutMs)
{
    const auto tellUser = [&](const QString& text) { messages.show(text, QMessageBox::Ok, {}, QMessageBox::NoIcon, parent); };
    const QString published = GetPublishedVersion(homePage, toolName, tellUser, timeoutMs);
    const QString own = PadVersionString(ownVersion.text(), tellUser);
    const QString site = siteOfAddress(homePage);

    if (published.isEmpty()) {
        tellUser(QStringLiteral("Unable to contact application home page to check for version.  You can access the "
                                "home page and check for updated versions of all Dravo Velmo tools by going to ")
                 + site);
        return;
    }
    // Padded versions sort by character code in the order of their numbers.
    if (QString::compare(own, published, Qt::CaseSensitive) < 0) {
        const auto answer = messages.show(QStringLiteral("An updated version of this tool is available on ") + site
                                              + QStringLiteral(".  Click OK to open the application home page now"),
                                          QMessageBox::Ok | QMessageBox::Cancel,
                                          QStringLiteral("Updated version is available"), QMessageBox::NoIcon, parent);
        if (answer == QMessageBox::Ok)
            openHomePage(homePage);
        return;
    }
    tellUser(QStringLiteral("You have the most up to date version of this tool installed"));
}
