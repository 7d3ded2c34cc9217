#include "search/ui/SqlKeywordColouring.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

class SqlKeywordColouringTest : public ::testing::Test {
protected:
    // Colours of a span, one letter per character: b(lue), r(ed), k (black).
    QString colours(int from, int to) const
    {
        QString letters;
        for (int i = from; i < to; ++i) {
            QTextCursor cursor(box.document());
            cursor.setPosition(i + 1);
            const QColor colour = cursor.charFormat().foreground().color();
            letters += colour == QColor(0, 0, 255) ? u'b' : colour == QColor(255, 0, 0) ? u'r'
                                                                                      : colour == Qt::black ? u'k' : u'?';
        }
        return letters;
    }
    void select(int anchor, int position)
    {
        QTextCursor cursor = box.textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        box.setTextCursor(cursor);
    }
    void colour(const QString& text, int caret = 0)
    {
        box.setPlainText(text);
        select(caret, caret);
        colouring->SetQueryColors();
    }

    QTextEdit box;
    SqlKeywordColouring* colouring = new SqlKeywordColouring(&box);
};

}  // namespace

TEST_F(SqlKeywordColouringTest, TypedKeywordsTurnBlueUpperCaseAndTheCaretStays)
{
    QTest::keyClicks(&box, "select * from vw");
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_EQ(box.toPlainText(), "SELECT * FROM vw ");
    EXPECT_EQ(colours(0, 17), "bbbbbbkkkbbbbkkkk");
    EXPECT_EQ(box.textCursor().position(), 17);

    colour("where alias\nfrom t", 5);
    EXPECT_EQ(box.toPlainText(), "WHERE alias\nFROM t");
    EXPECT_EQ(box.textCursor().position(), 5);
    box.textCursor().insertText("x");   // typed next, after a blue word: black
    EXPECT_EQ(colours(5, 6), "k");
}

TEST_F(SqlKeywordColouringTest, LiteralsAreRedAndOnlyBlanksAndLineBreaksPartWords)
{
    colour("where Alias = 'smith and sons' or x='y'");
    EXPECT_EQ(box.toPlainText(), "WHERE Alias = 'smith AND sons' OR x='y'");
    EXPECT_EQ(colours(0, 39), "bbbbbkkkkkkkkk" + QString(16, u'r') + "kbbkkkrrr");

    colour("add (where a='1')\nwritetext");
    EXPECT_EQ(box.toPlainText(), "ADD (where a='1')\nWRITETEXT");
    EXPECT_EQ(colours(0, 17), "bbbkkkkkkkkkkrrrk");
    EXPECT_EQ(colours(18, 27), "bbbbbbbbb");

    colour("a = 'it");   // an unpaired apostrophe colours nothing
    EXPECT_EQ(colours(0, 7), "kkkkkkk");
}

TEST_F(SqlKeywordColouringTest, RecolouringWithoutChangesKeepsUndoForTheTyping)
{
    QTest::keyClicks(&box, "select a from t where b = 'c'");
    QTest::keyClick(&box, Qt::Key_Space);
    const int steps = box.document()->availableUndoSteps();
    colouring->SetQueryColors();
    EXPECT_EQ(box.document()->availableUndoSteps(), steps);
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box.toPlainText(), "SELECT a FROM t WHERE b = 'c'");
}

TEST_F(SqlKeywordColouringTest, KeysWithTheirOwnMeaning)
{
    // A paste stays uncoloured until a key that colours.
    QApplication::clipboard()->setText("select 1");
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Control})
        QTest::keyClick(&box, key);
    EXPECT_EQ(box.toPlainText(), "select 1");
    QTest::keyClick(&box, Qt::Key_End);
    EXPECT_EQ(box.toPlainText(), "SELECT 1");

    // Copy and cut give plain text.
    select(0, 6);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "SELECT");
    EXPECT_FALSE(QApplication::clipboard()->mimeData()->hasHtml());
    select(6, 8);
    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), " 1");
    EXPECT_EQ(box.toPlainText(), "SELECT");

    // Backspace and Delete with a selection remove the selection and nothing more.
    select(2, 4);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.toPlainText(), "SECT");
    select(3, 1);
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(box.toPlainText(), "ST");
    QTest::keyClick(&box, Qt::Key_Backspace);   // no selection: the key's own effect
    EXPECT_EQ(box.toPlainText(), "T");
}
