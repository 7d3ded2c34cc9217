#include "tests/support/widgets/PageHarness.h"

#include "core/ui/frmMain.h"
#include "velmo/ServerStandIns.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

MessageRecorder::MessageRecorder(MessageBoxService& service)
{
    service.setAnswerer([this](const MessageBoxService::Request& request) {
        shown << request.text;
        requests << request;
        return m_answer;
    });
}

WizardRun::WizardRun(const velmo::InstallationOptions& options, QStringList arguments, const QString& programFolder)
    : installation(options), session(installation.installation(), programFolder, QStringLiteral("kestrane")),
      context{session, messages, forms, std::move(arguments)}
{
    EXPECT_TRUE(installation.ok()) << installation.error().toStdString();
    velmo::registerServerStandIns(session);
    context.endProgram = [this](int code) { endedWith = code; };
}

WizardRun::~WizardRun() = default;

frmMain& WizardRun::startPage()
{
    if (!m_startPage)
        m_startPage = std::make_unique<frmMain>(context);
    return *m_startPage;
}

::testing::AssertionResult WizardRun::start()
{
    if (!installation.ok())
        return ::testing::AssertionFailure() << installation.error().toStdString();
    if (!startPage().Form_Load())
        return ::testing::AssertionFailure() << "start-up ended the tool: " << shown.join(u'|').toStdString();
    return ::testing::AssertionSuccess();
}

void WizardRun::sql(const QString& statement)
{
    const QString name = QStringLiteral("edit-%1").arg(quintptr(this));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(installation.installation().databaseFile());
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(statement)) << statement.toStdString() << ": " << query.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase(name);
}

void click(const QObject& root, const QString& name)
{
    if (auto* button = findByName<QAbstractButton>(root, name))
        button->click();
}

void chooseInDropDown(QComboBox& list, int position)
{
    list.showPopup();
    QAbstractItemView* view = list.view();
    view->setCurrentIndex(list.model()->index(position, list.modelColumn(), list.rootModelIndex()));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_FALSE(view->isVisible());
}

QString focusedName(const QWidget& window)
{
    const QWidget* focused = window.focusWidget();
    return focused ? focused->objectName() : QString();
}

void whileShown(QDialog& dialog, const std::function<void()>& actions, const std::function<void()>& show)
{
    bool acted = false;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!acted && QApplication::activeModalWidget() == &dialog) {
            acted = true;
            actions();
        } else if (clock.elapsed() > 10000) {
            poll.stop();
            ADD_FAILURE() << "the dialog was not shown, or not closed, in time";
            dialog.reject();
        }
    });
    poll.start();
    show();
    EXPECT_TRUE(acted);
}

void whileShown(QDialog& dialog, const std::function<void()>& actions)
{
    whileShown(dialog, actions, [&] { dialog.exec(); });
}

void withFileDialog(const std::function<void(QFileDialog&)>& actions, const std::function<void()>& show)
{
    bool acted = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); dialog && !acted) {
            acted = true;
            actions(*dialog);
        }
    });
    poll.start(5);
    show();
    EXPECT_TRUE(acted);
}

QVariant WizardRun::stored(const QString& query, const QVariantList& values)
{
    return session.database.select(query, values).rows.value(0).value(0);
}
