#include "core/ui/OpenFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

std::unique_ptr<QFileDialog> OpenFileDialog::make(QWidget* owner) const
{
    auto dialog = std::make_unique<QFileDialog>(owner, title, initialFolder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Any name is taken: the page itself passes over a name that is not a file, without a message.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(defaultSuffix);
    dialog->setNameFilter(filter);
    if (!fileName.isEmpty())
        dialog->selectFile(fileName);
    return dialog;
}

std::optional<QString> OpenFileDialog::showOpen(QWidget* owner)
{
    const std::unique_ptr<QFileDialog> dialog = make(owner);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    fileName = dialog->selectedFiles().constFirst();
    return fileName;
}

std::optional<QString> OpenFileDialog::chooseWavFile(QWidget* owner, const QString& dialogTitle)
{
    title = dialogTitle;
    // No default suffix: a typed "hello" would otherwise become "hello.wav". The pattern
    // matches in any letter case (the dialog's filter is not case-sensitive).
    defaultSuffix.clear();
    fileName.clear();
    filter = QStringLiteral("*.wav");
    initialFolder = QDir::homePath();
    const std::optional<QString> chosen = showOpen(owner);
    if (chosen && QFileInfo(*chosen).isFile())
        return chosen;
    return std::nullopt;
}
