#include "app/ui/TFrmAtenaMemu.h"

#include "app/AppSettings.h"
#include "app/ReadinessCheck.h"
#include "app/ui/TFrmInpTri.h"
#include "controls/Glyphs.h"
#include "controls/TShineBtn.h"
#include "platform/AppPaths.h"
#include "platform/Messages.h"
#include "platform/ui/HelpWindow.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

#include <memory>

namespace {

constexpr int kClientWidth = 426;
constexpr int kClientHeight = 329;

// A lowered panel holding one explanatory label and its button.
QPushButton* addMenuEntry(QWidget* parent, int top, const QString& name, const QString& label,
                          const QString& caption, QStyle::StandardPixmap glyph, const QString& hint)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("pnl") + name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, top, kClientWidth - 16, 70);
    auto* text = new QLabel(label, panel);
    text->setObjectName(QStringLiteral("lbl") + name);
    text->setGeometry(10, 6, kClientWidth - 36, 16);
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(glyph));
    button->setIconSize(QSize(20, 20));
    button->setGeometry(10, 26, kClientWidth - 36, 36);
    button->setStyleSheet(QStringLiteral("text-align: left; padding-left: 12px;"));
    TFrmBase1::setHint(button, hint, false); // these three show no tooltip
    return button;
}

TFrmAtenaMemu::FormFactory& postcardFactory()
{
    static TFrmAtenaMemu::FormFactory factory;
    return factory;
}

TFrmAtenaMemu::FormFactory& labelFactory()
{
    static TFrmAtenaMemu::FormFactory factory;
    return factory;
}

// Opens a print form modally and destroys it when it closes.
void runForm(const TFrmAtenaMemu::FormFactory& factory, QWidget* parent)
{
    if (!factory)
        return;
    std::unique_ptr<QDialog> form(factory(parent));
    if (form)
        form->exec();
}

} // namespace

void TFrmAtenaMemu::setPostcardFormFactory(FormFactory factory)
{
    postcardFactory() = std::move(factory);
}

void TFrmAtenaMemu::setLabelFormFactory(FormFactory factory)
{
    labelFactory() = std::move(factory);
}

TFrmAtenaMemu::TFrmAtenaMemu(QWidget* parent) : TFrmBase1(parent)
{
    setObjectName(QStringLiteral("FrmAtenaMemu"));
    setWindowTitle(QStringLiteral("Tovalin"));
    // Fixed single border with the system menu and the minimise box only.
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    Panel3 = new QLabel(QStringLiteral("Tovalinメニュー"), this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(0, 0, kClientWidth, 40);
    Panel3->setAlignment(Qt::AlignCenter);
    Panel3->setAutoFillBackground(true);
    QPalette pal = Panel3->palette();
    pal.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    pal.setColor(QPalette::WindowText, Qt::white);
    Panel3->setPalette(pal);
    QFont titleFont = formFont();
    titleFont.setPixelSize(18);
    titleFont.setBold(true);
    Panel3->setFont(titleFont);

    ssbHelp = new TShineBtn(this);
    ssbHelp->setObjectName(QStringLiteral("ssbHelp"));
    ssbHelp->setGlyph(Glyphs::get(QStringLiteral("help")));
    ssbHelp->setGeometry(kClientWidth - 36, 6, 28, 28);
    setHint(ssbHelp, QStringLiteral("ヘルプ|ヘルプを表示します。"));
    connect(ssbHelp, &TShineBtn::clicked, this, &TFrmAtenaMemu::ssbHelpClick);

    bbtnCsvLst = addMenuEntry(this, 48, QStringLiteral("bbtnCsvLst"),
                              QStringLiteral("ＣＳＶファイルの指定、及びCSV項目と印刷項目の設定。"),
                              QStringLiteral(" Tovalin初期設定"), QStyle::SP_FileDialogDetailedView,
                              QStringLiteral("まず最初に初期設定を行ってください。"));
    BitBtn1 = addMenuEntry(this, 124, QStringLiteral("BitBtn1"),
                           QStringLiteral("初期設定後、CSVファイルよりハガキに宛名を印刷します。"),
                           QStringLiteral(" CSVハガキ宛名印刷"), QStyle::SP_FileIcon,
                           QStringLiteral("ハガキに宛名を印刷します。"));
    BitBtn2 = addMenuEntry(this, 200, QStringLiteral("BitBtn2"),
                           QStringLiteral("初期設定後、CSVファイルよりA4ラベルに宛名を印刷します。"),
                           QStringLiteral(" CSVA4ラベル宛名印刷"), QStyle::SP_FileDialogListView,
                           QStringLiteral("Ａ４ラベルに宛名を印刷します。"));
    connect(bbtnCsvLst, &QPushButton::clicked, this, &TFrmAtenaMemu::bbtnCsvLstClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TFrmAtenaMemu::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFrmAtenaMemu::BitBtn2Click);

    bbtnClose = new QPushButton(QStringLiteral("終　了"), this);
    bbtnClose->setObjectName(QStringLiteral("bbtnClose"));
    bbtnClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    bbtnClose->setGeometry(kClientWidth - 104, 278, 96, 26);
    setHint(bbtnClose, QStringLiteral("終了|宛名印刷を終了します。"));
    connect(bbtnClose, &QPushButton::clicked, this, &TFrmAtenaMemu::bbtnCloseClick);
}

void TFrmAtenaMemu::showEvent(QShowEvent* event)
{
    TFrmBase1::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmAtenaMemu::FormShow()
{
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        const QSize outer = frameGeometry().size();
        move(s.x() + (s.width() - outer.width()) / 2, s.y() + (s.height() - outer.height()) / 2);
    }
    setPanelText(2, QStringLiteral("宛名印刷"));
    m_programDir = AppPaths::programDirectory();
    if (!LoadSettings()) {
        m_settingsFailed = true;
        Messages::current().warning(QStringLiteral("INIファイルの読込に失敗しました。"));
        // Closed once the show has finished, which ends the program.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void TFrmAtenaMemu::bbtnCsvLstClick()
{
    TFrmInpTri dlg(this);
    dlg.move(pos());
    dlg.exec();
}

void TFrmAtenaMemu::BitBtn1Click()
{
    if (!ReadinessCheck())
        return;
    runForm(postcardFactory(), this);
}

void TFrmAtenaMemu::BitBtn2Click()
{
    if (!ReadinessCheck())
        return;
    runForm(labelFactory(), this);
}

void TFrmAtenaMemu::bbtnCloseClick()
{
    close();
}

void TFrmAtenaMemu::ssbHelpClick()
{
    HelpWindow::showHelp(16, this);
}
