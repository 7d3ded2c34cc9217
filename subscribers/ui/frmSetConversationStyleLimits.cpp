#include "subscribers/ui/frmSetConversationStyleLimits.h"

#include "core/ui/ControlValues.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/WizardContext.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kFormName = QStringLiteral("frmSetConversationStyleLimits");

// The style boxes top to bottom: name, caption string, first value (all start disabled).
struct StyleBox {
    const char* name;
    int string;
    bool checked;
};
constexpr StyleBox kStyleBoxes[] = {
    {"chkAlternateN", 459, true}, {"chkAlternateS", 460, true}, {"chkAlternateX", 461, true},
    {"chkCustom1", 462, true},    {"chkCustom2", 493, true},    {"chkCustom3", 494, true},
    {"chkHVM", 384, false},       {"chkOptional1", 383, true},  {"chkStandard", 382, true},
};

}  // namespace

frmSetConversationStyleLimits* frmSetConversationStyleLimits::instance(WizardContext& context, QWidget* optionsPage)
{
    for (auto* dialog : optionsPage->findChildren<frmSetConversationStyleLimits*>(kFormName, Qt::FindDirectChildrenOnly))
        if (!dialog->m_unloaded)
            return dialog;
    return new frmSetConversationStyleLimits(context, optionsPage);
}

void frmSetConversationStyleLimits::showFor(WizardContext& context, QWidget* optionsPage)
{
    frmSetConversationStyleLimits* dialog = instance(context, optionsPage);
    dialog->move(optionsPage->pos());
    dialog->exec();
}

frmSetConversationStyleLimits::frmSetConversationStyleLimits(WizardContext& context, QWidget* optionsPage)
    : QDialog(optionsPage), m_context(context)
{
    setObjectName(kFormName);
    setWindowTitle(QStringLiteral("Set Subscriber Conversation Style Option Limits"));
    auto* layout = new QVBoxLayout(this);
    chkNoChange = named(new QCheckBox(QStringLiteral("Make no changes")), "chkNoChange");
    chkNoChange->setChecked(true);
    layout->addWidget(chkNoChange);
    // Load: the style captions in the current language, first values and enabled states.
    const StringLookup text = context.session.languages.stringLookup();
    for (const StyleBox& style : kStyleBoxes) {
        auto* box = named(new QCheckBox(text(style.string)), style.name);
        box->setChecked(style.checked);
        box->setEnabled(false);
        layout->addWidget(box);
        m_styleBoxes << box;
    }
    cmdExit = named(new QPushButton(QStringLiteral("&Close")), "cmdExit");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdExit);
    layout->addLayout(buttons);

    connect(chkNoChange, &QCheckBox::clicked, this, &frmSetConversationStyleLimits::chkNoChange_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmSetConversationStyleLimits::cmdExit_Click);
}

void frmSetConversationStyleLimits::chkNoChange_Click()
{
    const bool noChange = checkBoxValue(chkNoChange) == 1;
    for (QCheckBox* box : std::as_const(m_styleBoxes))
        box->setEnabled(!noChange);
}

bool frmSetConversationStyleLimits::bValidateStyleLimits()
{
    if (checkBoxValue(chkNoChange) == 1)
        return true;
    for (const QCheckBox* box : std::as_const(m_styleBoxes))
        if (checkBoxValue(box) != 0)
            return true;
    m_context.messages.show(m_context.session.languages.mymyLoadString(541), QMessageBox::Ok, QString(),
                            QMessageBox::NoIcon, this);
    return false;
}

void frmSetConversationStyleLimits::cmdExit_Click()
{
    if (bValidateStyleLimits())
        accept();   // hidden, the choice kept
}

void frmSetConversationStyleLimits::closeEvent(QCloseEvent* event)
{
    if (!bValidateStyleLimits()) {
        event->ignore();
        return;
    }
    // Unloaded: the choice is gone; the next use makes a new dialog.
    m_unloaded = true;
    event->accept();
    deleteLater();
}
