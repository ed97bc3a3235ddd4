#include "postcard/ui/TFrmCsvPostSet.h"

#include "app/AppSettings.h"
#include "controls/Hint.h"
#include "controls/TShineBtn.h"
#include "layout/BarcodeCheck.h"
#include "layout/FieldTexts.h"
#include "layout/LayoutUnits.h"
#include "layout/ui/TPaintBoxEL.h"
#include "postcard/CardPicture.h"
#include "postcard/PostcardComposer.h"
#include "preview/TplPrev.h"
#include "preview/TplSetPrinter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include <memory>

namespace {

TLayoutEditForm::Params postcardParams()
{
    TLayoutEditForm::Params p;
    p.form = LayoutFields::Form::Postcard;
    p.caption = QStringLiteral("宛名印刷");
    p.statusLabel = QStringLiteral("宛名印刷");
    p.clientSize = QSize(690, 620);
    p.cardSize = QSize(CardPicture::kWidth, CardPicture::kHeight);
    p.fontSizes = {QStringLiteral("6"),  QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"),
                   QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"),
                   QStringLiteral("18"), QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24"),
                   QStringLiteral("26"), QStringLiteral("28"), QStringLiteral("36"), QStringLiteral("40"),
                   QStringLiteral("48")};
    p.helpContext = 20;
    p.printerComponent = QStringLiteral("plSetPrinter1");
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
    lblPage->setGeometry(122, 17, 100, 24);
    ::setHint(lblPage, QStringLiteral("頁情報|現在データ/総データ件数 が表示されます。"));
    cbOnly = new QCheckBox(QStringLiteral("表示宛名のみ印刷"), pnlRange);
    cbOnly->setObjectName(QStringLiteral("cbOnly"));
    cbOnly->setGeometry(6, 44, 200, 20);
    cbOnly->setFocusPolicy(Qt::NoFocus);
    ::setHint(cbOnly, QStringLiteral("表示宛名のみ印刷|画面に表示している宛名だけを印刷します。"));

    layoutControls();
    CenterCard();
}

void TFrmCsvPostSet::layoutControls()
{
    placeInColumns(282, {pnlPaper, pnlField, pnlItems, pnlOfset, pnlKeisho, pnlRange});
}

// --- settings ------------------------------------------------------------------------------------

void TFrmCsvPostSet::loadOwnSettings(const AppSettings& s, bool afterSelection)
{
    cbPost->setChecked(s.postcardFields[6].postWaku);
    if (afterSelection)
        cbPostMark->setVisible(!cbPost->isChecked());
}

void TFrmCsvPostSet::storeOwnSettings(AppSettings& s) const
{
    s.postcardFields[6].postWaku = cbPost->isChecked();
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
}

void TFrmCsvPostSet::showFieldPosition()
{
    TPaintBoxEL* b = selectedField();
    if (!b) {
        lblFldTop->clear();
        lblFldLeft->clear();
        lblFldWidth->clear();
        return;
    }
    auto mm = [](int pixels) { return LayoutUnits::millimetres(LayoutUnits::pixelsToTenths(pixels)); };
    lblFldTop->setText(mm(b->y()));
    lblFldLeft->setText(mm(b->x()));
    lblFldWidth->setText(mm(b->Tate() ? b->height() : b->width()));
}

bool TFrmCsvPostSet::isPinned(const TPaintBoxEL* b) const
{
    // The recipient postal code lies over the card's printed boxes.
    return b && b->Field() == 1;
}

// --- sender postal frame -------------------------------------------------------------------------

void TFrmCsvPostSet::cbPostMarkClick()
{
    if (m_loading)
        return;
    fields()->senderPostMark = cbPostMark->isChecked();
    cbPostMark->setVisible(!cbPost->isChecked());
    TPaintBoxEL* f7 = box(7);
    const bool frame = cbPost->isChecked();
    if (!selectedField() || f7->isHidden()) {
        // Field 7 is not on screen: it still follows the frame, so that what is saved and
        // printed agrees with the check box.
        f7->setPost(frame);
        if (frame) {
            f7->setTate(false);
            if (f7->FontName().startsWith(QLatin1Char('@')))
                f7->setFontName(f7->FontName().mid(1));
        }
        fields()->ApplyFieldFont(f7);
        return;
    }
    selectField(f7);
    f7->setPost(frame);
    if (frame) {
        f7->setTate(false);
        QString face = cmbFldFont->currentIndex() >= 0 ? cmbFldFont->currentText() : f7->FontName();
        if (face.startsWith(QLatin1Char('@'))) {
            face.remove(0, 1);
            const int i = cmbFldFont->findText(face);
            if (i >= 0) {
                const QSignalBlocker block(cmbFldFont);
                cmbFldFont->setCurrentIndex(i);
            } else {
                f7->setFontName(face);
            }
        }
        ssbTate->setDown(false);
    }
    ApplyStyleControls(f7);
    ShowFieldStyle(f7);
    keepBoxOnCard(f7);
    f7->update();
}

// --- print run -----------------------------------------------------------------------------------

void TFrmCsvPostSet::bbtnPrintClick()
{
    // The form is blocked while the preview window is open, so one snapshot serves the run.
    auto snapshot = std::make_shared<PostcardSnapshot>(pageSnapshot());
    const BarcodePiece card { true, 1000, 1480 };
    if (!confirmPrint(QStringLiteral("印刷対象データがありません。"),
                      DescribeBarcodeFindings(CheckBarcodes(*snapshot, card, snapshot->printedRecords()), card)))
        return;
    runPrint(QStringLiteral("ハガキ宛名印刷"), snapshot->pageCount(), [this, snapshot] { DrawPostcardPage(*plPrev1, *snapshot); });
}

PostcardSnapshot TFrmCsvPostSet::pageSnapshot() const
{
    PostcardSnapshot s;
    fillLayoutSnapshot(s);
    s.printOnlyShown = cbOnly->isChecked();
    s.shownRecord = currentRecord();
    s.senderPostalBoxes = cbPost->isChecked();
    return s;
}
