// The progress window of the selection pages' grid fills.
#include "core/ui/frmSubscriberLoadProgress.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int kRepaintIntervalMs = 40;
constexpr int kPixelsBelowPageTop = 200;   // 3000 twips
}  // namespace

frmSubscriberLoadProgress::frmSubscriberLoadProgress(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmSubscriberLoadProgress"));
    setAttribute(Qt::WA_ShowWithoutActivating);

    m_frameMainTitle = new QGroupBox(this);
    m_frameMainTitle->setObjectName(QStringLiteral("frameMainTitle"));
    m_lblCount = new QLabel(m_frameMainTitle);
    m_lblCount->setObjectName(QStringLiteral("lblCount"));
    m_labelOf = new QLabel(m_frameMainTitle);
    m_labelOf->setObjectName(QStringLiteral("labelOf"));
    m_labelTotal = new QLabel(m_frameMainTitle);
    m_labelTotal->setObjectName(QStringLiteral("labelTotal"));
    // Counts grow while the window is shown: room for them keeps the window from jumping.
    m_lblCount->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Lines=000000")));
    m_labelTotal->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Users added=000000")));

    auto* counts = new QHBoxLayout(m_frameMainTitle);
    counts->addWidget(m_lblCount);
    counts->addWidget(m_labelOf);
    counts->addWidget(m_labelTotal);
    counts->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_frameMainTitle);
}

void frmSubscriberLoadProgress::setTitle(const QString& title)
{
    m_frameMainTitle->setTitle(title);
    setWindowTitle(title);
}

void frmSubscriberLoadProgress::showOver(const QWidget* page)
{
    m_count = 0;
    m_countPrefix.clear();
    m_lblCount->clear();
    m_labelOf->setText(QStringLiteral("of "));
    m_labelTotal->clear();
    m_labelOf->show();
    m_labelTotal->show();
    adjustSize();
    const QRect area = page->window()->geometry();
    move(area.left() + area.width() / 2 - width() / 2, area.top() + kPixelsBelowPageTop);
    show();
    raise();
}

SelectionProgress frmSubscriberLoadProgress::rowProgress()
{
    return {
        [this](int total) {
            m_countPrefix.clear();
            m_labelOf->setText(QStringLiteral("of "));
            m_labelTotal->setText(QString::number(total));
            showCount(0, true);
        },
        [this](int done) { showCount(done, false); },
        [this] { showCount(m_count, true); },
    };
}

SelectionProgress frmSubscriberLoadProgress::lineProgress()
{
    return {
        [this](int) {
            m_countPrefix = QStringLiteral("Lines=");
            m_labelOf->clear();
            m_labelTotal->clear();
            showCount(0, true);
        },
        [this](int lines) { showCount(lines, false); },
        [this] { showCount(m_count, true); },
    };
}

SelectionProgress frmSubscriberLoadProgress::countProgress()
{
    m_countPrefix.clear();
    m_labelOf->hide();
    m_labelTotal->hide();
    return {{}, [this](int done) { showCount(done, false); }, [this] { showCount(m_count, true); }};
}

void frmSubscriberLoadProgress::showUsersAdded(int usersAdded)
{
    m_labelTotal->setText(QStringLiteral("Users added=") + QString::number(usersAdded));
    if (repaintDue())
        repaintNow();
}

void frmSubscriberLoadProgress::showCount(int count, bool force)
{
    m_count = count;
    if (!force && !repaintDue())
        return;
    m_lblCount->setText(m_countPrefix + QString::number(count));
    repaintNow();
}

bool frmSubscriberLoadProgress::repaintDue() const
{
    return !m_sinceRepaint.isValid() || m_sinceRepaint.elapsed() >= kRepaintIntervalMs;
}

void frmSubscriberLoadProgress::repaintNow()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceRepaint.restart();
}
