#pragma once
// The small window that shows, above a selection page (subscribers or call handlers), how far a
// fill of its grid has come: a title frame (`frameMainTitle`) and the labels `lblCount`,
// `labelOf`, `labelTotal` ("120 of 3000" for a query, "Lines=120  Users added=95" for a CSV
// file, "120" alone for the call handlers). It stays on top, is not modal and has no caption
// routine: its owner writes the title.
#include "core/SelectionProgress.h"

#include <QElapsedTimer>
#include <QWidget>

class QGroupBox;
class QLabel;

class frmSubscriberLoadProgress : public QWidget {
    Q_OBJECT
public:
    explicit frmSubscriberLoadProgress(QWidget* parent = nullptr);

    QGroupBox* frameMainTitle() const { return m_frameMainTitle; }
    QLabel* lblCount() const { return m_lblCount; }
    QLabel* labelOf() const { return m_labelOf; }
    QLabel* labelTotal() const { return m_labelTotal; }

    void setTitle(const QString& title);
    // Shows the window with empty counts and all three labels, without taking the focus, 200
    // pixels below the top of `page` and centred across it. Message boxes shown meanwhile show
    // above it.
    void showOver(const QWidget* page);

    // The progress callbacks below write to this window: use them while it exists.
    // Progress of a query fill: begin(total) shows "of " and the total, step(done) the rows
    // loaded so far.
    SelectionProgress rowProgress();
    // Progress of a CSV file: begin empties labelOf, step(lines) shows "Lines=" and the count.
    SelectionProgress lineProgress();
    // Progress counted in lblCount alone, as plain decimal text: labelOf and labelTotal are
    // hidden until the next showOver. begin is empty; end shows the last count.
    SelectionProgress countProgress();
    // The CSV reader's count of added users: "Users added=" and the count.
    void showUsersAdded(int usersAdded);

private:
    // Shows the count in lblCount at most every few dozen milliseconds (always when `force`)
    // and lets the window repaint then, so a long fill stays fast and the window alive.
    void showCount(int count, bool force);
    bool repaintDue() const;
    // Processes pending events except user input: nothing else may start during a fill.
    void repaintNow();

    QGroupBox* m_frameMainTitle = nullptr;
    QLabel* m_lblCount = nullptr;
    QLabel* m_labelOf = nullptr;
    QLabel* m_labelTotal = nullptr;
    QString m_countPrefix;   // "" for rows, "Lines=" for a CSV file
    int m_count = 0;
    QElapsedTimer m_sinceRepaint;
};
