#pragma once
// Keyword colouring of a free SQL query box: SQL reserved words upper case and blue, quoted
// literals red, everything else black. The whole text is recoloured on nearly every key
// press, before the key takes its effect, and when a stored query is loaded. Ctrl+C and
// Ctrl+X put plain text on the clipboard.
#include <QObject>
#include <QString>

class QKeyEvent;
class QTextEdit;

class SqlKeywordColouring : public QObject {
    Q_OBJECT
public:
    // Watches the keys of `box`; lives as long as the box.
    explicit SqlKeywordColouring(QTextEdit* box);

    // Recolours the whole box; the caret and selection stay where they were and the text typed
    // next is black.
    void SetQueryColors();

    // True when `word` is one of the 169 reserved words, compared without regard to case.
    static bool isReservedWord(const QString& word);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Handles a key before the box does; true when the key has had its whole effect here.
    bool keyDown(const QKeyEvent* event);
    void copySelection();

    QTextEdit* m_box;
};
