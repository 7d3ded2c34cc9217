#include "core/ui/WizardContext.h"

#include "core/DirectoryLists.h"
#include "core/Languages.h"

#include <QWidget>

void ExitApplication(WizardContext& context, bool ask, int exitCode)
{
    if (context.exiting)
        return;
    Languages& languages = context.session.languages;
    if (ask && context.messages.show(languages.mymyLoadString(64), QMessageBox::Yes | QMessageBox::No,
                                     languages.mymyLoadString(70)) != QMessageBox::Yes)
        return;
    context.exiting = true;
    if (context.help)
        context.help->CloseHelpWindow();
    if (context.state.runLog)
        context.state.runLog->Close();
    CloseServerRecordsets(context.session);
    // No form's own close handling runs from here on: the forms are only hidden.
    for (QWidget* form : context.forms.forms())
        form->hide();
    if (context.endProgram)
        context.endProgram(exitCode);
}

void showInPlaceOf(QWidget* next, QWidget* current)
{
    if (!next)
        return;
    next->move(current->pos());
    next->show();
    current->hide();
}

void showHelp(WizardContext& context)
{
    if (!context.help)
        context.help = std::make_shared<HelpFiles>(context.messages.sink());
    context.help->showCHMHelp(getHelpFileName(GetLocaleAbbreviation(context.session.languages.lngLanguageID)));
}
