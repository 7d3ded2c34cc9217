#pragma once
// An options page's one open-file dialog (`CommonDialog1`), shared by the greetings' Browse
// buttons: settings kept from one showing to the next, and a modal dialog made for each showing.
#include <QString>

#include <memory>
#include <optional>

class QFileDialog;
class QWidget;

struct OpenFileDialog {
    QString title;
    QString defaultSuffix;   // without the dot
    QString fileName;        // the name shown at first, and then the file chosen
    QString filter;          // name patterns, e.g. "*.WAV"
    QString initialFolder;

    // The dialog as the next showing would open it (tests look at its settings).
    std::unique_ptr<QFileDialog> make(QWidget* owner) const;
    // Shows the dialog; the chosen file (also kept in fileName), or nothing when cancelled.
    std::optional<QString> showOpen(QWidget* owner);
    // A greeting's WAV file, as every options page's Browse asks for it: an existing file, or
    // nothing when cancelled or the name is not a file.
    std::optional<QString> chooseWavFile(QWidget* owner, const QString& dialogTitle);
};
