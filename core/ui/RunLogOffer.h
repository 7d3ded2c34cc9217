#pragma once
// The end of a run on either engine page: message 100 offers the run log (OK / Cancel), and OK
// opens it with the desktop's handler for its file type. A log that cannot be opened is told.
// The page keeps the viewer it started.
#include "core/HelpFiles.h"

#include <QProcess>
#include <QString>

#include <memory>

struct WizardContext;

class RunLogOffer {
public:
    RunLogOffer() : m_opener(HelpFiles::desktopOpener()) {}

    // How the log is opened (the desktop's handler by default).
    void setOpener(HelpFiles::Opener opener) { m_opener = std::move(opener); }
    // Offers to open the log at `logPath`, and opens it.
    void offer(WizardContext& context, const QString& logPath);

private:
    HelpFiles::Opener m_opener;
    std::unique_ptr<QProcess> m_viewer;
};
