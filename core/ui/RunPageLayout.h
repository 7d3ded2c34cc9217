#pragma once
// The layout both engine pages share: title and instructions, the progress frame with its
// counter, Go, and the Help / Previous / Exit / Next row (Next has no action on the last page).
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

struct RunPageControls {
    QLabel* Label1;
    QLabel* Label2;
    QGroupBox* frameProgress;
    QLabel* Label4;
    QLabel* lblRecordNumber;
    QProgressBar* ProgressBar;
    QPushButton* cmdGo;
    QPushButton* cmdPrev;
    QPushButton* cmdNext;
    QPushButton* cmdExit;
    QPushButton* cmdHelp;
};

// Lays the controls out on `page`, each named as its member.
RunPageControls buildRunPage(QWidget* page);
