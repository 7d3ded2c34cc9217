#include "search/ui/SqlKeywordColouring.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <vector>

namespace {

const QString kReservedWords = QStringLiteral(
    "ADD EXCEPT PERCENT ALL EXEC PLAN ALTER EXECUTE PRECISION AND EXISTS PRIMARY ANY EXIT PRINT AS FETCH "
    "PROC ASC FILE PROCEDURE AUTHORIZATION FILLFACTOR PUBLIC BACKUP FOR RAISERROR BEGIN FOREIGN READ "
    "BETWEEN FREETEXT READTEXT BREAK FREETEXTTABLE RECONFIGURE BROWSE FROM REFERENCES BULK FULL "
    "REPLICATION BY FUNCTION RESTORE CASCADE GOTO RESTRICT CASE GRANT RETURN CHECK GROUP REVOKE "
    "CHECKPOINT HAVING RIGHT CLOSE HOLDLOCK ROLLBACK CLUSTERED IDENTITY ROWCOUNT COALESCE "
    "IDENTITY_INSERT ROWGUIDCOL COLLATE IDENTITYCOL RULE COLUMN IF SAVE COMMIT IN SCHEMA COMPUTE INDEX "
    "SELECT CONSTRAINT INNER SESSION_USER CONTAINS INSERT SET CONTAINSTABLE INTERSECT SETUSER CONTINUE "
    "INTO SHUTDOWN CONVERT IS SOME CREATE JOIN STATISTICS CROSS KEY SYSTEM_USER CURRENT KILL TABLE "
    "CURRENT_DATE LEFT TEXTSIZE CURRENT_TIME LIKE THEN CURRENT_TIMESTAMP LINENO TO CURRENT_USER LOAD TOP "
    "CURSOR NATIONAL TRAN DATABASE NOCHECK TRANSACTION NOT DECLARE NULL TSEQUAL DEFAULT NULLIF UNION "
    "DELETE OF UNIQUE DENY OFF UPDATE DESC OFFSETS UPDATETEXT DISK ON USE DISTINCT OPEN USER DISTRIBUTED "
    "OPENDATASOURCE VALUES DOUBLE OPENQUERY VARYING DROP OPENROWSET VIEW DUMMY OPENXML WAITFOR DUMP "
    "OPTION WHEN ELSE OR WHERE END ORDER WHILE ERRLVL OUTER WITH ESCAPE OVER WRITETEXT");

const QSet<QString>& reservedWordSet()
{
    static const QSet<QString> words = [] {
        const QStringList list = kReservedWords.split(u' ');
        return QSet<QString>(list.begin(), list.end());
    }();
    return words;
}

enum Colour : quint8 { Black, Blue, Red };

QColor colourOf(Colour colour)
{
    switch (colour) {
    case Blue: return QColor(0, 0, 255);
    case Red: return QColor(255, 0, 0);
    case Black: break;
    }
    return QColor(0, 0, 0);
}

Colour colourIn(const QTextCharFormat& format)
{
    const QColor colour = format.foreground().color();   // no brush reads as black
    return colour == colourOf(Blue) ? Blue : colour == colourOf(Red) ? Red : Black;
}

QTextCharFormat formatOf(Colour colour)
{
    QTextCharFormat format;
    format.setForeground(colourOf(colour));
    return format;
}

}  // namespace

SqlKeywordColouring::SqlKeywordColouring(QTextEdit* box) : QObject(box), m_box(box)
{
    box->setAcceptRichText(false);   // pastes bring plain text, coloured at the next key
    box->installEventFilter(this);
}

bool SqlKeywordColouring::isReservedWord(const QString& word)
{
    return reservedWordSet().contains(word.toUpper());
}

// Only what differs from the wanted colours is changed, so that recolouring an already
// coloured text adds nothing to the box's undo history.
void SqlKeywordColouring::SetQueryColors()
{
    QTextDocument* document = m_box->document();
    const QTextCursor before = m_box->textCursor();
    m_box->setUpdatesEnabled(false);

    // Positions are those of the document, where a line break is one character.
    const QString text = document->toPlainText();
    std::vector<Colour> wanted(text.size(), Black);
    QTextCursor edit(document);
    edit.beginEditBlock();

    // Reserved words: tokens separated by single blanks or line breaks.
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u' ' && text[i] != u'\n')
            continue;
        const QString token = text.mid(start, i - start);
        const QString upper = token.toUpper();
        if (upper.size() == token.size() && reservedWordSet().contains(upper)) {
            std::fill(wanted.begin() + start, wanted.begin() + i, Blue);
            if (upper != token) {
                edit.setPosition(int(start));
                edit.setPosition(int(i), QTextCursor::KeepAnchor);
                edit.insertText(upper);
            }
        }
        start = i + 1;
    }

    // Literals: apostrophes taken in pairs from the left, both included; an unpaired last one
    // colours nothing.
    for (qsizetype open = text.indexOf(u'\''); open >= 0;) {
        const qsizetype close = text.indexOf(u'\'', open + 1);
        if (close < 0)
            break;
        std::fill(wanted.begin() + open, wanted.begin() + close + 1, Red);
        open = text.indexOf(u'\'', close + 1);
    }

    // Apply each run of characters whose colour differs from the wanted one.
    std::vector<Colour> actual(text.size(), Black);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment part = fragment.fragment();
            const Colour colour = colourIn(part.charFormat());
            for (int p = part.position(); p < part.position() + part.length() && p < text.size(); ++p)
                actual[p] = colour;
        }
    for (qsizetype i = 0; i < text.size();) {
        if (actual[i] == wanted[i]) {
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        while (end < text.size() && actual[end] != wanted[end] && wanted[end] == wanted[i])
            ++end;
        edit.setPosition(int(i));
        edit.setPosition(int(end), QTextCursor::KeepAnchor);
        edit.mergeCharFormat(formatOf(wanted[i]));
        i = end;
    }
    edit.endEditBlock();

    // The caret (and any selection) stays; what is typed next is black.
    QTextCursor after(document);
    after.setPosition(before.anchor());
    after.setPosition(before.position(), QTextCursor::KeepAnchor);
    if (!after.hasSelection())
        after.setCharFormat(formatOf(Black));
    m_box->setTextCursor(after);

    m_box->setUpdatesEnabled(true);
    m_box->viewport()->update();
}

bool SqlKeywordColouring::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_box && event->type() == QEvent::KeyPress)
        return keyDown(static_cast<QKeyEvent*>(event));
    return QObject::eventFilter(watched, event);
}

bool SqlKeywordColouring::keyDown(const QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        // With a selection the key removes the selection and nothing more.
        if (!m_box->textCursor().hasSelection())
            return false;
        m_box->textCursor().removeSelectedText();
        return true;
    case Qt::Key_Control:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
        return false;
    case Qt::Key_1:
        if (!keypad)
            return false;
        break;
    case Qt::Key_C:
        if (ctrl) {
            copySelection();
            return true;
        }
        break;
    case Qt::Key_3:
        if (ctrl && keypad) {
            copySelection();
            return true;
        }
        break;
    case Qt::Key_V:
    case Qt::Key_F7:
        if (ctrl)
            return false;   // the box pastes plain text, uncoloured
        break;
    case Qt::Key_X:
    case Qt::Key_F9:
        if (ctrl) {
            copySelection();
            m_box->textCursor().removeSelectedText();
            return true;
        }
        break;
    default:
        break;
    }
    SetQueryColors();
    return false;
}

void SqlKeywordColouring::copySelection()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_box->textCursor().selection().toPlainText());
}
