#include "postcard/ui/TFrmCsvPostSet.h"

#include "app/AppSettings.h"
#include "controls/Hint.h"
#include "controls/TShineBtn.h"
#include "layout/FieldTexts.h"
#include "layout/LayoutUnits.h"
#include "layout/ui/TPaintBoxEL.h"
#include "postcard/CardPicture.h"
#include "postcard/PostcardRun.h"
#include "preview/TplPrev.h"
#include "preview/TplSetPrinter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <memory>

namespace {

TLayoutEditForm::Params postcardParams()
{
    TLayoutEditForm::Params p;
    p.kind = LayoutKind::Postcard;
    p.caption = QStringLiteral("宛名印刷");
    p.statusLabel = QStringLiteral("宛名印刷");
    p.clientSize = QSize(690, 620);
    p.fontSizes = {QStringLiteral("6"),  QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"),
                   QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"),
                   QStringLiteral("18"), QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24"),
                   QStringLiteral("26"), QStringLiteral("28"), QStringLiteral("36"), QStringLiteral("40"),
                   QStringLiteral("48")};
    p.helpContext = 20;
    p.printerComponent = PostcardRun::componentName();
    p.printerHint = QStringLiteral("プリンタ設定|用紙、印刷品質等を設定します。用紙はハガキを選択して下さい。(148㎜×100㎜)");
    return p;
}

QLabel* positionReadOut(QWidget* parent, const QString& name, const QString& text, int x, int captionWidth)
{
    auto* c = new QLabel(text, parent);
    c->setGeometry(x, 1, captionWidth, 18);
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setGeometry(x + captionWidth, 1, 40, 18);
    return l;
}

} // namespace

TFrmCsvPostSet::TFrmCsvPostSet(QWidget* parent) : TLayoutEditForm(postcardParams(), parent)
{
    setObjectName(QStringLiteral("FrmCsvPostSet"));

    imgCard = new QLabel(pnlCard);
    imgCard->setObjectName(QStringLiteral("imgCard"));
    imgCard->setGeometry(0, 0, CardPicture::kWidth, CardPicture::kHeight);
    imgCard->lower();

    // The selected field's place and length, in millimetres.
    pnlField->resize(282, 112);
    pnlFldPos = new QFrame(pnlField);
    pnlFldPos->setObjectName(QStringLiteral("pnlFldPos"));
    pnlFldPos->setGeometry(4, 88, 274, 20);
    ::setHint(pnlFldPos, QStringLiteral("項目位置情報|項目の位置、及びサイズです。"));
    lblFldTop = positionReadOut(pnlFldPos, QStringLiteral("lblFldTop"), QStringLiteral("上から"), 2, 36);
    lblFldLeft = positionReadOut(pnlFldPos, QStringLiteral("lblFldLeft"), QStringLiteral("左から"), 84, 36);
    lblFldWidth = positionReadOut(pnlFldPos, QStringLiteral("lblFldWidth"), QStringLiteral("項目長さ"), 166, 48);

    cbPost = new QCheckBox(QStringLiteral("郵便枠対応"), tsMoto);
    cbPost->setObjectName(QStringLiteral("cbPost"));
    cbPost->setGeometry(4, 82, 120, 20);
    cbPost->setFocusPolicy(Qt::NoFocus);
    ::setHint(cbPost, QStringLiteral("郵便枠対応|差出人の郵便番号をハガキの郵便番号枠に印刷します。"));
    ::setHint(cbPostMark, QStringLiteral("先頭に〒付加|差出人の郵便番号の先頭に〒を付けます。"));
    connect(cbPost, &QCheckBox::clicked, this, &TFrmCsvPostSet::cbPostMarkClick);

    pnlRange = new QGroupBox(QStringLiteral("印刷範囲"), this);
    pnlRange->setObjectName(QStringLiteral("pnlRange"));
    pnlRange->resize(282, 66);
    int x = 6;
    for (TShineBtn* b : {ssbCsvFirst, ssbCsvPrior, ssbCsvNext, ssbCsvLast}) {
        b->setParent(pnlRange);
        b->setGeometry(x, 17, 26, 24);
        b->show();
        x += 27;
    }
    lblPage = new QLabel(pnlRange);
    lblPage->setObjectName(QStringLiteral("lblPage"));
    lblPage->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblPage->setAlignment(Qt::AlignCenter);
    lblPage->setGeometry(118, 17, 76, 24);
    ::setHint(lblPage, QStringLiteral("頁情報|現在データ/総データ件数 が表示されます。"));
    cbOnly = new QCheckBox(QStringLiteral("表示宛名のみ印刷"), pnlRange);
    cbOnly->setObjectName(QStringLiteral("cbOnly"));
    bbtnChoose->setParent(pnlRange);
    bbtnChoose->setGeometry(198, 17, 80, 24);
    bbtnChoose->show();
    lblChoice->setParent(pnlRange);
    lblChoice->setGeometry(6, 44, 104, 20);
    lblChoice->show();
    cbOnly->setGeometry(112, 44, 122, 20);
    ssbCsvOverflow->setParent(pnlRange);
    ssbCsvOverflow->setGeometry(236, 42, 42, 22);
    ssbCsvOverflow->show();
    cbOnly->setFocusPolicy(Qt::NoFocus);
    ::setHint(cbOnly, QStringLiteral("表示宛名のみ印刷|画面に表示している宛名だけを印刷します。"));
    connect(cbOnly, &QCheckBox::toggled, this, [this] { updatePrintButton(); });

    layoutControls();
    CenterCard();
}

void TFrmCsvPostSet::layoutControls()
{
    placeInColumns(282, {pnlPaper, pnlField, pnlItems, pnlOfset, pnlKeisho, pnlRange});
}

// --- card picture --------------------------------------------------------------------------------

void TFrmCsvPostSet::DrawCardBackground()
{
    m_card = CardPicture::background();
    imgCard->setPixmap(QPixmap::fromImage(m_card));
}

void TFrmCsvPostSet::DrawPrintableArea()
{
    m_card = CardPicture::background();
    CardPicture::drawPrintableArea(m_card, CardPicture::printableArea(plSetPrinter->deviceValues()));
    imgCard->setPixmap(QPixmap::fromImage(m_card));
}

// --- records and read-outs -----------------------------------------------------------------------

void TFrmCsvPostSet::recordFilled()
{
    TPaintBoxEL* postal = box(1);
    postal->setMoji(FieldTexts::postalDigits(postal->Moji()));
    const int count = int(records().size());
    lblPage->setText(QStringLiteral("%1 / %2").arg(count > 0 ? currentRecord() + 1 : 0).arg(count));
    // A record left out of the choice is struck through where its number is shown.
    QFont font = lblPage->font();
    font.setStrikeOut(count > 0 && !recordChoice().contains(currentRecord()));
    lblPage->setFont(font);
}

void TFrmCsvPostSet::showFieldPosition()
{
    const int n = selectedFieldNumber();
    if (n == 0) {
        lblFldTop->clear();
        lblFldLeft->clear();
        lblFldWidth->clear();
        return;
    }
    const FieldStyle& s = document().style(n);
    auto mm = [](int pixels) { return LayoutUnits::millimetres(LayoutUnits::pixelsToTenths(pixels)); };
    lblFldTop->setText(mm(s.top));
    lblFldLeft->setText(mm(s.left));
    lblFldWidth->setText(mm(s.width));
}

// --- sender postal frame -------------------------------------------------------------------------

void TFrmCsvPostSet::fieldShown(int field)
{
    if (field != 7)
        return;
    const bool frame = document().style(7).postWaku;
    cbPost->setChecked(frame);
    cbPostMark->setVisible(!frame);
}

void TFrmCsvPostSet::cbPostMarkClick()
{
    if (m_loading)
        return;
    // Field 7 follows the frame whether it is shown or not, so that what is saved and printed
    // agrees with the check box; a shown one is selected and restyled from the controls.
    const bool shown = selectedFieldNumber() != 0 && document().field(7).visible();
    if (shown)
        selectField(7);
    const FieldStyle base = shown ? styleFromControls(7) : document().style(7);
    document().change(
        LayoutRules::senderPostal(document().state(), cbPost->isChecked(), cbPostMark->isChecked(), base));
}

// --- print run -----------------------------------------------------------------------------------

void TFrmCsvPostSet::bbtnPrintClick()
{
    auto run = std::make_shared<PostcardRun>(pageSnapshot());
    if (!confirmPrint(QStringLiteral("印刷対象データがありません。"), run->check()))
        return;
    runPrint(run);
}

bool TFrmCsvPostSet::printsShownRecordOnly() const
{
    return cbOnly->isChecked();
}

PrintCheckReport TFrmCsvPostSet::checkRun() const
{
    return PostcardRun(pageSnapshot()).check();
}

PostcardSnapshot TFrmCsvPostSet::pageSnapshot() const
{
    PostcardSnapshot s = PostcardSnapshot::fromLayout(document().state(), records(), fields()->columns,
                                                      fields()->sender);
    s.choice = recordChoice();
    s.printOnlyShown = cbOnly->isChecked();
    s.shownRecord = currentRecord();
    return s;
}
