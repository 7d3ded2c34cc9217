#include "core/ui/frmAbout.h"

#include "core/Errors.h"
#include "core/Languages.h"
#include "core/ui/Captions.h"
#include "core/ui/FormBuilding.h"
#include "core/ui/LanguageFonts.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace {

// Resource strings of the About box.
enum : int {
    kBuildWord = 0,        // " Build"
    kChangeLanguage = 89,
    kMakerName = 97,
    kCopyright = 105,
    kOK = 195,
    kMakerAddress1 = 223,
    kSelectLanguage = 234,
    kMakerAddress2 = 280,
    kFormTitle = 281,
    kTrademark = 282,
    kVersionTitle = 291,
    kNoLanguagesLoaded = 301,
};

// A whole number as text with room for its sign: a blank before a number that is not negative.
QString withSignRoom(int number)
{
    return number < 0 ? QString::number(number) : u' ' + QString::number(number);
}

QString describe(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const KestraneError*>(&error))
        return own->description();
    return QString::fromLocal8Bit(error.what());
}

// The server product's logo: our own drawing of a speech bubble with sound waves.
QPixmap velmoLogo()
{
    QPixmap pixmap(72, 56);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath bubble;
    bubble.addRoundedRect(2, 2, 68, 40, 10, 10);
    bubble.moveTo(14, 40);
    bubble.lineTo(10, 54);
    bubble.lineTo(28, 40);
    painter.fillPath(bubble.simplified(), QColor(0x1f, 0x6f, 0x8b));
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    for (int wave = 0; wave < 3; ++wave) {
        const int radius = 6 + wave * 7;
        painter.drawArc(QRectF(22 - radius, 22 - radius, 2 * radius, 2 * radius), -50 * 16, 100 * 16);
    }
    return pixmap;
}

// The maker's logo: our own drawing of a diamond of four squares.
QPixmap dravoLogo()
{
    QPixmap pixmap(56, 56);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(28, 28);
    painter.rotate(45);
    const QColor colours[] = {QColor(0x2b, 0x3a, 0x67), QColor(0xe0, 0x8e, 0x0b), QColor(0xe0, 0x8e, 0x0b),
                              QColor(0x2b, 0x3a, 0x67)};
    for (int i = 0; i < 4; ++i)
        painter.fillRect(QRectF(-17 + (i % 2) * 18, -17 + (i / 2) * 18, 16, 16), colours[i]);
    return pixmap;
}

QLabel* pictureBox(const QString& name, const QPixmap& picture, QWidget* parent)
{
    auto* box = new QLabel(parent);
    box->setObjectName(name);
    box->setPixmap(picture);
    return box;
}

QLabel* label(const QString& name, QWidget* parent, bool wordWrap = false)
{
    auto* text = new QLabel(parent);
    text->setObjectName(name);
    text->setWordWrap(wordWrap);
    return text;
}

} // namespace

frmAbout::frmAbout(WizardContext& context, const ToolVersion& version, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmAbout"));
    buildControls();
    context.forms.add(this, [this] { frmAbout_Auto_Init(); });

    // The form's load. An error in one step is shown and loading goes on with the next.
    Languages& languages = context.session.languages;
    const auto step = [&context](const auto& work) {
        try {
            work();
        } catch (const std::exception& error) {
            context.messages.show(QStringLiteral("Error in FormLoad routine:") + describe(error));
        }
    };
    step([this] { frmAbout_Auto_Init(); });
    step([&] {
        m_lblVersion->setText(withSignRoom(version.major) + u'.' + QString::number(version.minor)
                              + languages.mymyLoadString(kBuildWord) + withSignRoom(version.revision));
    });
    step([&languages] { languages.InitalizeLanguages(); });
    step([this] { fillLanguageMenu(); });
}

void frmAbout::buildControls()
{
    m_lblVersionTitle_1 = label(elementName(QStringLiteral("lblVersionTitle"), 1), this);
    m_lblVersion = label(QStringLiteral("lblVersion"), this);
    m_lblDravoAddress1 = label(QStringLiteral("lblDravoAddress1"), this);
    m_lblDravoAddress2 = label(QStringLiteral("lblDravoAddress2"), this);
    m_lblDravoAddress3 = label(QStringLiteral("lblDravoAddress3"), this);
    m_lblTrademark = label(QStringLiteral("lblTrademark"), this, true);
    m_lblCopyright = label(QStringLiteral("lblCopyright"), this, true);

    // A label that opens the language menu when clicked, looking like a link.
    m_lblChangeLanguage = label(QStringLiteral("lblChangeLanguage"), this);
    m_lblChangeLanguage->setCursor(Qt::PointingHandCursor);
    QFont underlined = m_lblChangeLanguage->font();
    underlined.setUnderline(true);
    m_lblChangeLanguage->setFont(underlined);
    m_lblChangeLanguage->setForegroundRole(QPalette::Link);
    m_lblChangeLanguage->installEventFilter(this);

    m_cmdOK = new QPushButton(this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);   // hides; the form stays loaded

    m_mnuSelectLanguage = new QMenu(this);
    m_mnuSelectLanguage->setObjectName(QStringLiteral("mnuSelectLanguage"));

    auto* version = new QHBoxLayout;
    version->addWidget(m_lblVersionTitle_1);
    version->addWidget(m_lblVersion);
    version->addStretch();

    auto* text = new QVBoxLayout;
    text->addLayout(version);
    text->addSpacing(8);
    text->addWidget(m_lblDravoAddress1);
    text->addWidget(m_lblDravoAddress2);
    text->addWidget(m_lblDravoAddress3);
    text->addSpacing(8);
    text->addWidget(m_lblTrademark);
    text->addWidget(m_lblCopyright);
    text->addStretch();

    auto* logos = new QVBoxLayout;
    logos->addWidget(pictureBox(QStringLiteral("picVelmoLogo"), velmoLogo(), this), 0, Qt::AlignHCenter);
    logos->addStretch();
    logos->addWidget(pictureBox(QStringLiteral("picDravoLogo"), dravoLogo(), this), 0, Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_lblChangeLanguage);
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);

    auto* layout = new QGridLayout(this);
    layout->addLayout(logos, 0, 0);
    layout->addLayout(text, 0, 1);
    layout->addLayout(buttons, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAbout::frmAbout_Auto_Init()
{
    static constexpr CaptionRow kCaptions[] = {
        {"frmAbout", NoIndex, kFormTitle},
        {"cmdOK", NoIndex, kOK},
        {"lblDravoAddress2", NoIndex, kMakerAddress1},
        {"lblDravoAddress3", NoIndex, kMakerAddress2},
        {"lblChangeLanguage", NoIndex, kChangeLanguage},
        {"lblTrademark", NoIndex, kTrademark},
        {"lblCopyright", NoIndex, kCopyright},
        {"lblDravoAddress1", NoIndex, kMakerName},
        {"lblVersionTitle", 1, kVersionTitle},
        {"mnuSelectLanguage", NoIndex, kSelectLanguage},
    };
    const Languages& languages = m_context.session.languages;
    SetFormFontForLanguage(this, languages.lngLanguageID);
    applyCaptions(this, kCaptions, languages.stringLookup());
}

// One entry per language library of the program folder, named by its language and tagged with
// its language identifier. With one library or none there is nothing to choose between.
void frmAbout::fillLanguageMenu()
{
    const Languages& languages = m_context.session.languages;
    const QStringList& codes = languages.strLanguageCodes();
    const auto addEntry = [this](int index, const QString& caption, const QString& tag) {
        QAction* entry = m_mnuSelectLanguage->addAction(caption);
        namedElement(entry, "mnuLanguageList", index);
        entry->setData(tag);
        connect(entry, &QAction::triggered, this, [this, index] { mnuLanguageList_Click(index); });
    };
    if (codes.size() <= 1) {
        addEntry(0, languages.mymyLoadString(kNoLanguagesLoaded), QStringLiteral("1033"));
        return;
    }
    for (int i = 0; i < codes.size(); ++i)
        addEntry(i, GetLanguageNameFromCode(codes[i]), withSignRoom(GetLanguageIDFromCode(codes[i])));
}

void frmAbout::mnuLanguageList_Click(int index)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Every error is passed over and the switch goes on with its next step.
    const auto step = [](const auto& work) {
        try {
            work();
        } catch (...) {
        }
    };
    Languages& languages = m_context.session.languages;
    FormRegistry& forms = m_context.forms;
    step([&] {
        if (const QAction* entry = m_mnuSelectLanguage->actions().value(index))
            languages.lngLanguageID = entry->data().toString().trimmed().toInt();
    });
    step([&] { languages.InitalizeLanguages(); });
    step([&] {
        for (QWidget* form : forms.forms())
            SetFormFontForLanguage(form, languages.lngLanguageID);
    });
    step([&] { forms.runAutoInits(); });
    step([&] {
        for (QWidget* form : forms.forms())
            form->update();
    });
    QApplication::restoreOverrideCursor();
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lblChangeLanguage && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_mnuSelectLanguage->popup(QCursor::pos());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
