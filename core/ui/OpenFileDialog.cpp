#include "core/ui/OpenFileDialog.h"

#include <QFileDialog>

std::unique_ptr<QFileDialog> OpenFileDialog::make(QWidget* owner) const
{
    auto dialog = std::make_unique<QFileDialog>(owner, title, initialFolder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
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
