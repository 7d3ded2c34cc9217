#include "search/ui/frmCallHandlerSearch.h"
#include "search/ui/frmDirectoryHandlerSearch.h"
#include "search/ui/frmDistributionListSearch.h"
#include "search/ui/frmInterviewerSearch.h"
#include "search/ui/frmSubscriberSearch.h"

#include "core/ui/WizardContext.h"
#include "tests/support/widgets/PageHarness.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A started run on a generated installation; message boxes are recorded and answered OK.
class Pickers : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(run.start()); }

    std::vector<std::unique_ptr<PickerDialog>> allFive()
    {
        std::vector<std::unique_ptr<PickerDialog>> pickers;
        pickers.push_back(std::make_unique<frmCallHandlerSearch>(context));
        pickers.push_back(std::make_unique<frmSubscriberSearch>(context));
        pickers.push_back(std::make_unique<frmInterviewerSearch>(context));
        pickers.push_back(std::make_unique<frmDirectoryHandlerSearch>(context));
        pickers.push_back(std::make_unique<frmDistributionListSearch>(context));
        return pickers;
    }

    QString value(const QString& sql, const QVariantList& values = {})
    {
        return session.database.select(sql, values).rows.value(0).value(0).toString();
    }

    WizardRun run;
    Session& session = run.session;
    FormRegistry& forms = run.forms;
    WizardContext& context = run.context;
    QStringList& shown = run.shown;
};

QTableView* grid(QDialog& dialog) { return dialog.findChild<QTableView*>("myGrid"); }
int rows(QDialog& dialog) { return grid(dialog)->model()->rowCount(); }
QString cell(QDialog& dialog, int row, int column)
{
    return grid(dialog)->model()->index(row, column).data().toString();
}

void search(QDialog& dialog, const QString& text, const char* option = nullptr)
{
    if (option)
        dialog.findChild<QRadioButton*>(option)->setChecked(true);
    dialog.findChild<QLineEdit*>("txtSearchString")->setText(text);
    click(dialog, "cmdSearch");
}

void doubleClickRow(QDialog& dialog, int row)
{
    QTableView* view = grid(dialog);
    const QPoint point = view->visualRect(view->model()->index(row, 1)).center();
    // The first click of a double-click selects the row; the view acts on the second only then.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, point);
}

TEST_F(Pickers, OkWithoutAChosenRowShowsTheMembersMessageAndKeepsTheDialogOpen)
{
    const QStringList expected{
        "Error!  No call handler selected!",       "Error!  No subscriber selected!",
        "Error!  No interview handler selected!",  "Error!  No directory handler selected!",
        "Error!  No distribution list selected!",
    };
    auto pickers = allFive();
    for (size_t i = 0; i < pickers.size(); ++i) {
        PickerDialog& picker = *pickers[i];
        SCOPED_TRACE(picker.objectName().toStdString());
        EXPECT_TRUE(forms.forms().contains(&picker));
        shown.clear();
        whileShown(picker, [&] {
            const char* initial = i == 1 ? "optSearchByLastName" : "optSearchByDisplayName";
            EXPECT_TRUE(picker.findChild<QRadioButton*>(initial)->isChecked());
            click(picker, "cmdOK");   // right after opening
            EXPECT_TRUE(picker.isVisible());
            search(picker, "*");
            ASSERT_GT(rows(picker), 0);
            click(picker, "cmdOK");   // rows found, none chosen
            EXPECT_TRUE(picker.isVisible());
            // A double-click on the header row chooses nothing either.
            QHeaderView* header = grid(picker)->horizontalHeader();
            QTest::mouseDClick(header->viewport(), Qt::LeftButton, {},
                               QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
            EXPECT_TRUE(picker.isVisible());
            EXPECT_TRUE(picker.strObjectID.isEmpty());
            click(picker, "cmdCancel");
        });
        EXPECT_EQ(shown, QStringList({expected[i], expected[i]}));
        EXPECT_TRUE(picker.bCancelHit);
    }
}

TEST_F(Pickers, NameSearchFillsTheGridAndOkReturnsTheChosenRow)
{
    frmCallHandlerSearch picker(context);
    whileShown(picker, [&] {
        search(picker, " oper* ");
        ASSERT_EQ(rows(picker), 1);
        QTableView* view = grid(picker);
        EXPECT_TRUE(view->isColumnHidden(0) && view->isColumnHidden(4) && !view->isColumnHidden(3));
        EXPECT_EQ(view->model()->headerData(2, Qt::Horizontal).toString(), "Display Name");
        EXPECT_EQ(cell(picker, 0, 2), "Operator");
        view->selectRow(0);
        click(picker, "cmdOK");
    });
    EXPECT_FALSE(picker.isVisible());
    EXPECT_FALSE(picker.bCancelHit);
    EXPECT_EQ(picker.strDisplayName, "Operator");
    EXPECT_EQ(picker.strObjectID,
              value("SELECT CallHandlerObjectID FROM CallHandler WHERE TextName = 'Operator' AND IsPrimary = 0"));
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(Pickers, ExtensionSearchAndDoubleClickReturnTheRow)
{
    const QVector<QVariant> list = session.database.select(
        "SELECT SystemDListObjectID, DisplayName, DTMFAccessID FROM vw_DistributionList "
        "WHERE DTMFAccessID IS NOT NULL LIMIT 1").rows.value(0);
    ASSERT_EQ(list.size(), 3);
    const QString extension = list[2].toString();
    frmDistributionListSearch picker(context);
    whileShown(picker, [&] {
        search(picker, extension, "optSearchByExtension");
        ASSERT_EQ(rows(picker), 1);
        EXPECT_EQ(cell(picker, 0, 3), extension);
        doubleClickRow(picker, 0);
    });
    EXPECT_FALSE(picker.bCancelHit);
    EXPECT_EQ(picker.strDisplayName, list[1].toString());
    EXPECT_EQ(picker.strObjectID, list[0].toString());
}

TEST_F(Pickers, CancelClearsTheCallersPair)
{
    frmSubscriberSearch picker(context);
    QLineEdit name, objectId;
    const auto chooseFirstRowAnd = [&](const char* button) {
        return [&picker, button] {
            search(picker, "*");
            ASSERT_GT(rows(picker), 0);
            grid(picker)->selectRow(0);
            click(picker, button);
        };
    };

    whileShown(picker, chooseFirstRowAnd("cmdOK"), [&] { picker.pickInto(&name, &objectId); });
    EXPECT_FALSE(picker.bCancelHit);
    EXPECT_FALSE(name.text().isEmpty());
    EXPECT_EQ(value("SELECT DisplayName FROM Subscriber WHERE SubscriberObjectID = ?", {objectId.text()}), name.text());

    whileShown(picker, chooseFirstRowAnd("cmdCancel"), [&] { picker.pickInto(&name, &objectId); });
    EXPECT_TRUE(picker.bCancelHit);
    EXPECT_TRUE(picker.strDisplayName.isEmpty() && picker.strObjectID.isEmpty());
    EXPECT_EQ(name.text(), "");
    EXPECT_EQ(objectId.text(), "");
}

// Closing through the window frame runs neither OK nor Cancel: every picker, the directory
// handler picker included, then returns the fresh empty result, never an earlier pick.
TEST_F(Pickers, WindowCloseReturnsNothing)
{
    auto pickers = allFive();
    for (auto& pointer : pickers) {
        PickerDialog& picker = *pointer;
        SCOPED_TRACE(picker.objectName().toStdString());
        QLineEdit name, objectId;
        whileShown(picker, [&] {
            search(picker, "*");
            ASSERT_GT(rows(picker), 0);
            doubleClickRow(picker, 0);
        }, [&] { picker.pickInto(&name, &objectId); });
        ASSERT_FALSE(objectId.text().isEmpty());

        whileShown(picker, [&] {
            search(picker, "*");
            grid(picker)->selectRow(0);
            picker.close();
        }, [&] { picker.pickInto(&name, &objectId); });
        EXPECT_FALSE(picker.bCancelHit);
        EXPECT_EQ(name.text(), "");
        EXPECT_EQ(objectId.text(), "");
    }
}

// Escape and Enter, on a button or in the search box, neither close the picker (its caller would
// then empty its boxes) nor press OK (a message), Search (rows) or Cancel.
TEST_F(Pickers, EnterAndEscapeActOnNoButton)
{
    for (const auto& picker : allFive())
        whileShown(*picker, [&] {
            findByName<QLineEdit>(*picker, "txtSearchString")->setText("*");
            for (const char* focused : {"txtSearchString", "cmdSearch", "cmdOK", "cmdCancel"})
                for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
                    QTest::keyClick(findByName<QWidget>(*picker, focused), key);
                    EXPECT_TRUE(picker->isVisible() && rows(*picker) == 0 && !picker->bCancelHit)
                        << picker->objectName().toStdString() << ", " << focused << ", key " << key;
                }
            click(*picker, "cmdCancel");
        });
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(Pickers, EveryShowingStartsAfreshButKeepsTheCallersSubscriberTypes)
{
    frmSubscriberSearch picker(context);
    picker.bShowRemoteSubscribers = true;
    whileShown(picker, [&] {
        search(picker, "*", "optSearchByAlias");
        ASSERT_GT(rows(picker), 0);
        click(picker, "cmdCancel");
    });
    whileShown(picker, [&] {
        auto* text = picker.findChild<QLineEdit*>("txtSearchString");
        EXPECT_EQ(text->text(), "");
        EXPECT_EQ(rows(picker), 0);
        EXPECT_TRUE(picker.findChild<QRadioButton*>("optSearchByLastName")->isChecked());
        // Enter in the search box neither searches nor presses a button.
        text->setText("*");
        text->setFocus();
        QTest::keyClick(text, Qt::Key_Return);
        EXPECT_EQ(rows(picker), 0);
        EXPECT_TRUE(picker.isVisible());
        click(picker, "cmdCancel");
    });
    EXPECT_TRUE(picker.bShowRemoteSubscribers);
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(Pickers, SubscriberPickerListsRemoteSubscribersOnlyWhenAsked)
{
    const QString remoteId = value("SELECT SubscriberObjectID FROM Subscriber WHERE SubscriberType = 8");
    ASSERT_FALSE(remoteId.isEmpty());
    frmSubscriberSearch picker(context);
    for (bool remote : {false, true}) {
        SCOPED_TRACE(remote);
        picker.bShowRemoteSubscribers = remote;
        whileShown(picker, [&] {
            search(picker, "*");
            const QString types = remote ? "(1,2,3,5,7,8,9)" : "(1,3)";
            EXPECT_EQ(QString::number(rows(picker)), value("SELECT COUNT(*) FROM Subscriber WHERE SubscriberType IN " + types));
            QStringList ids;
            for (int row = 0; row < rows(picker); ++row)
                ids << cell(picker, row, 6);
            EXPECT_EQ(ids.contains(remoteId), remote);
            EXPECT_TRUE(grid(picker)->isColumnHidden(6));
            EXPECT_EQ(grid(picker)->model()->headerData(5, Qt::Horizontal).toString(), "Last Name");
            click(picker, "cmdCancel");
        });
    }
}

TEST_F(Pickers, SearchTextWithAQuoteFindsTheObject)
{
    session.database.execute("INSERT INTO CallHandler (CallHandlerObjectID, Alias, TextName, IsPrimary) "
                             "VALUES ('QUOTE-CH', 'doneill', 'Dana O''Neill', 1)");
    session.database.execute("INSERT INTO Subscriber (SubscriberObjectID, CallHandlerObjectID, Alias, FirstName, "
                             "LastName, DisplayName, SubscriberType) VALUES ('QUOTE-SUB', 'QUOTE-CH', 'doneill', "
                             "'Dana', 'O''Neill', 'Dana O''Neill', 1)");
    session.database.execute("INSERT INTO NameLookupHandler (NameLookupHandlerObjectID, Alias, TextName) "
                             "VALUES ('QUOTE-NLH', 'smiths', 'Smith''s Directory')");

    frmSubscriberSearch subscribers(context);
    whileShown(subscribers, [&] {
        search(subscribers, "O'Neill");
        ASSERT_EQ(rows(subscribers), 1);
        grid(subscribers)->selectRow(0);
        click(subscribers, "cmdOK");
    });
    EXPECT_EQ(subscribers.strDisplayName, "Dana O'Neill");
    EXPECT_EQ(subscribers.strObjectID, "QUOTE-SUB");

    frmDirectoryHandlerSearch handlers(context);
    whileShown(handlers, [&] {
        search(handlers, "x' OR TextName LIKE '*");   // would list every handler if it left the pattern
        EXPECT_EQ(rows(handlers), 0);
        search(handlers, " smith's*");
        ASSERT_EQ(rows(handlers), 1);
        doubleClickRow(handlers, 0);
    });
    EXPECT_EQ(handlers.strDisplayName, "Smith's Directory");
    EXPECT_EQ(handlers.strObjectID, "QUOTE-NLH");
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(Pickers, FailedSearchIsReportedAsEachPickerReportsIt)
{
    for (const char* view : {"vw_InterviewHandler", "vw_NameLookupHandler", "vw_Subscriber"})
        session.database.execute(QStringLiteral("DROP VIEW %1").arg(view));

    const auto searchAll = [&](PickerDialog& picker) {
        shown.clear();
        whileShown(picker, [&] {
            search(picker, "*");
            EXPECT_EQ(rows(picker), 0);
            EXPECT_TRUE(picker.isVisible());
            click(picker, "cmdCancel");
        });
    };

    frmInterviewerSearch interviewers(context);
    searchAll(interviewers);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Error in cmdSearch function=")) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains("vw_InterviewHandler")) << shown[0].toStdString();

    frmDirectoryHandlerSearch directories(context);
    searchAll(directories);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("(error):-2147467259 (")) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].endsWith(") in procedure cmdSearch_Click of Form frmDirectoryHandlerSearch"))
        << shown[0].toStdString();

    frmSubscriberSearch subscribers(context);
    searchAll(subscribers);
    EXPECT_TRUE(shown.isEmpty());
}

}  // namespace
