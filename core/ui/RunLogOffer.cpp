#include "core/ui/RunLogOffer.h"

#include "core/ui/WizardContext.h"

void RunLogOffer::offer(WizardContext& context, const QString& logPath)
{
    MessageBoxService& messages = context.messages;
    if (messages.show(context.session.languages.mymyLoadString(100), QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;

    HelpFiles::Launch launch = m_opener(logPath);
    switch (launch.status) {
    case HelpFiles::Launch::Started:
        m_viewer = std::move(launch.viewer);
        break;
    case HelpFiles::Launch::NoHandler:
        messages.show(QStringLiteral("No program is currently associated to open this file type: ") + logPath);
        break;
    case HelpFiles::Launch::Failed:
        messages.show(QStringLiteral("Unable to open the output log ") + logPath
                      + QStringLiteral(". Error code returned is ") + QString::number(launch.errorCode));
        break;
    }
}
