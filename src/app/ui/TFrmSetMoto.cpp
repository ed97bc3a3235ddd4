#include "app/ui/TFrmSetMoto.h"

#include "app/AppSettings.h"
#include "app/ui/TFrmBase1.h"
#include "platform/Messages.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int kClientWidth = 472;
// One row more than the nine sender strings need: the two joint names share it.
constexpr int kClientHeight = 308;
// Rows inside the lowered panel.
constexpr int kRowTop = 4;
constexpr int kRowPitch = 25;
constexpr int kRowHeight = 22;
constexpr int kCaptionLeft = 4;
constexpr int kCaptionWidth = 76;
constexpr int kEditLeft = kCaptionLeft + kCaptionWidth + 2;
constexpr int kFullWidth = 368;
constexpr int kHalfWidth = 143;
constexpr int kPostWidth = 78;

const QColor kTitleGrey(0x80, 0x80, 0x80);
const QColor kCaptionGrey(0xC0, 0xC0, 0xC0);

QString withoutCommas(QString s)
{
    return s.remove(QLatin1Char(','));
}

void paint(QWidget* w, const QColor& background, const QColor& text)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace

TFrmSetMoto::TFrmSetMoto(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmSetMoto"));
    setWindowTitle(QStringLiteral("発行元編集"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(TFrmBase1::formFont()); // the same face as the other forms

    pnlTitle = new QLabel(QStringLiteral("差出人編集"), this);
    pnlTitle->setObjectName(QStringLiteral("pnlTitle"));
    pnlTitle->setGeometry(8, 8, kClientWidth - 16, 26);
    pnlTitle->setAlignment(Qt::AlignCenter);
    pnlTitle->setFrameStyle(QFrame::Panel | QFrame::Raised);
    QFont titleFont = pnlTitle->font();
    if (titleFont.pixelSize() > 0)
        titleFont.setPixelSize(titleFont.pixelSize() * 4 / 3);
    else
        titleFont.setPointSizeF(titleFont.pointSizeF() * 4 / 3);
    titleFont.setBold(true);
    pnlTitle->setFont(titleFont);
    paint(pnlTitle, kTitleGrey, Qt::white);

    pnlBody = new QFrame(this);
    pnlBody->setObjectName(QStringLiteral("pnlBody"));
    pnlBody->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlBody->setLineWidth(2);
    pnlBody->setGeometry(8, 40, kClientWidth - 16, 231);

    // Created in tab order.
    edtPost = addRow(0, kCaptionLeft, kCaptionWidth, QStringLiteral("郵便番号"), kPostWidth, false);
    auto* guide = new QLabel(QStringLiteral("(000-0000)"), pnlBody);
    guide->setGeometry(kEditLeft + kPostWidth + 6, kRowTop, 100, kRowHeight);
    edtAdr1 = addRow(1, kCaptionLeft, kCaptionWidth, QStringLiteral("住　所　１"), kFullWidth, true);
    edtAdr2 = addRow(2, kCaptionLeft, kCaptionWidth, QStringLiteral("住　所　２"), kFullWidth, true);
    edtMei1 = addRow(3, kCaptionLeft, kCaptionWidth, QStringLiteral("名　称　１"), kFullWidth, true);
    const int rightCaptionLeft = kEditLeft + kHalfWidth + 4;
    // The joint names sign with name 1, so they come right under it.
    edtRen1 = addRow(4, kCaptionLeft, kCaptionWidth, QStringLiteral("連名１"), kHalfWidth, true);
    edtRen2 = addRow(4, rightCaptionLeft, kCaptionWidth, QStringLiteral("連名２"), kHalfWidth, true);
    edtMei2 = addRow(5, kCaptionLeft, kCaptionWidth, QStringLiteral("名　称　２"), kFullWidth, true);
    edtTel = addRow(6, kCaptionLeft, kCaptionWidth, QStringLiteral("電話番号"), kHalfWidth, false);
    edtFax = addRow(6, rightCaptionLeft, kCaptionWidth, QStringLiteral("ＦＡＸ番号"), kHalfWidth, false);
    edtMail = addRow(7, kCaptionLeft, kCaptionWidth, QStringLiteral("Ｅメール"), kFullWidth, false);
    edtUrl = addRow(8, kCaptionLeft, kCaptionWidth, QStringLiteral("U R L"), kFullWidth, false);

    edtPost->setObjectName(QStringLiteral("edtPost"));
    edtAdr1->setObjectName(QStringLiteral("edtAdr1"));
    edtAdr2->setObjectName(QStringLiteral("edtAdr2"));
    edtMei1->setObjectName(QStringLiteral("edtMei1"));
    edtRen1->setObjectName(QStringLiteral("edtRen1"));
    edtRen2->setObjectName(QStringLiteral("edtRen2"));
    edtMei2->setObjectName(QStringLiteral("edtMei2"));
    edtTel->setObjectName(QStringLiteral("edtTel"));
    edtFax->setObjectName(QStringLiteral("edtFax"));
    edtMail->setObjectName(QStringLiteral("edtMail"));
    edtUrl->setObjectName(QStringLiteral("edtUrl"));

    bbtnUpdate = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton),
                                 QStringLiteral("　更　　新"), this);
    bbtnUpdate->setObjectName(QStringLiteral("bbtnUpdate"));
    const int buttonTop = kClientHeight - 31;
    bbtnUpdate->setGeometry(kClientWidth - 8 - 96 - 8 - 96, buttonTop, 96, 25);
    bbtnCancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                 QStringLiteral("キャンセル"), this);
    bbtnCancel->setObjectName(QStringLiteral("bbtnCancel"));
    bbtnCancel->setGeometry(kClientWidth - 8 - 96, buttonTop, 96, 25);
    connect(bbtnUpdate, &QPushButton::clicked, this, &TFrmSetMoto::bbtnUpdateClick);
    connect(bbtnCancel, &QPushButton::clicked, this, &TFrmSetMoto::bbtnCancelClick);

    QWidget* order[] = {edtPost, edtAdr1, edtAdr2, edtMei1, edtRen1,    edtRen2,   edtMei2,
                        edtTel,  edtFax,  edtMail, edtUrl,  bbtnUpdate, bbtnCancel};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    const SenderInfo& s = AppSettings::instance().sender;
    edtPost->setText(s.postalCode);
    edtAdr1->setText(s.address1);
    edtAdr2->setText(s.address2);
    edtMei1->setText(s.name1);
    edtRen1->setText(s.jointNames[0]);
    edtRen2->setText(s.jointNames[1]);
    edtMei2->setText(s.name2);
    edtTel->setText(s.tel);
    edtFax->setText(s.fax);
    edtMail->setText(s.mail);
    edtUrl->setText(s.url);
    for (QLineEdit* e : {edtPost, edtAdr1, edtAdr2, edtMei1, edtRen1, edtRen2, edtMei2, edtTel, edtFax, edtMail, edtUrl})
        e->setCursorPosition(0);
    edtPost->setFocus();
}

QLineEdit* TFrmSetMoto::addRow(int row, int x, int captionWidth, const QString& caption,
                               int editWidth, bool japaneseInput)
{
    const int y = kRowTop + row * kRowPitch;
    auto* cell = new QLabel(caption, pnlBody);
    cell->setGeometry(x, y, captionWidth, kRowHeight);
    cell->setAlignment(Qt::AlignCenter);
    cell->setFrameStyle(QFrame::Panel | QFrame::Raised);
    paint(cell, kCaptionGrey, Qt::black);

    auto* edit = new QLineEdit(pnlBody);
    edit->setGeometry(x + captionWidth + 2, y, editWidth, kRowHeight);
    cell->setBuddy(edit);
    // Linux input methods cannot be switched to hiragana from the program; the Japanese
    // boxes let the user's input method work, the others keep it out entirely.
    edit->setAttribute(Qt::WA_InputMethodEnabled, japaneseInput);
    edit->setInputMethodHints(japaneseInput ? Qt::ImhNone
                                            : Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
    edit->installEventFilter(this);
    return edit;
}

bool TFrmSetMoto::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter walks the boxes like Tab; the key itself goes nowhere.
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmSetMoto::bbtnUpdateClick()
{
    if (!Messages::current().askYesNo(
            Messages::twoLines(QStringLiteral("差出人情報を更新します。"),
                               QStringLiteral("よろしいですか？"))))
        return;
    SenderInfo& s = AppSettings::instance().sender;
    s.postalCode = withoutCommas(edtPost->text());
    s.address1 = withoutCommas(edtAdr1->text());
    s.address2 = withoutCommas(edtAdr2->text());
    s.name1 = withoutCommas(edtMei1->text());
    s.jointNames[0] = withoutCommas(edtRen1->text());
    s.jointNames[1] = withoutCommas(edtRen2->text());
    s.name2 = withoutCommas(edtMei2->text());
    s.tel = withoutCommas(edtTel->text());
    s.fax = withoutCommas(edtFax->text());
    s.mail = edtMail->text();
    s.url = edtUrl->text();
    if (!SaveLayoutSettings(SettingsGroup::Sender))
        Messages::current().warning(Messages::twoLines(QStringLiteral("更新に失敗しました。"),
                                                       QStringLiteral("再処理してください。")));
    accept();
}

void TFrmSetMoto::bbtnCancelClick()
{
    reject();
}

QPoint TFrmSetMoto::centredPosition(const QRect& caller, const QSize& dialog)
{
    // Integer division cuts toward zero, also for a dialog larger than its caller.
    return QPoint(caller.left() + (caller.width() - dialog.width()) / 2,
                  caller.top() + (caller.height() - dialog.height()) / 2);
}

bool TFrmSetMoto::execOver(QWidget* caller)
{
    TFrmSetMoto dialog(caller);
    if (caller) {
        const QWidget* window = caller->window();
        // The dialog's frame is not known before it is shown; assume the caller's decoration.
        const QSize decoration = window->frameGeometry().size() - window->size();
        dialog.move(centredPosition(window->frameGeometry(), dialog.size() + decoration));
    }
    return dialog.exec() == QDialog::Accepted;
}
