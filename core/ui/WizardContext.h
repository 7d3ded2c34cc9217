#pragma once
// What every page and dialog of the wizard is handed: the run's session and the UI services.
#include "core/Session.h"
#include "core/ui/FormRegistry.h"
#include "core/ui/MessageBoxService.h"

#include <QStringList>

struct WizardContext {
    Session& session;
    MessageBoxService& messages;
    FormRegistry& forms;
    QStringList arguments;   // the command line, without the program's name
};
