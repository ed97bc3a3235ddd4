#include "layout/ui/TLayoutEditForm.h"

#include "app/AppSettings.h"
#include "app/CsvSource.h"
#include "app/ui/TFrmSetMoto.h"
#include "controls/Glyphs.h"
#include "controls/Hint.h"
#include "controls/TNumberEdit.h"
#include "controls/TShineBtn.h"
#include "layout/FieldCaptions.h"
#include "layout/FieldGeometry.h"
#include "layout/FieldTypesetting.h"
#include "layout/LayoutUnits.h"
#include "layout/ui/TFrmRecordSelect.h"
#include "layout/ui/TImageEL.h"
#include "layout/ui/TPaintBoxEL.h"
#include "platform/AppPaths.h"
#include "platform/CommonDialogs.h"
#include "platform/JapaneseFonts.h"
#include "platform/Messages.h"
#include "platform/PrinterDialogs.h"
#include "platform/SystemPrinter.h"
#include "platform/ui/HelpWindow.h"
#include "preview/FormPaper.h"
#include "preview/PictureFile.h"
#include "preview/PrintRun.h"
#include "preview/TplPrev.h"
#include "preview/TplSetPrinter.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTabBar>
#include <QTabWidget>
#include <QUndoStack>

#include <cmath>

namespace {

// The stamp's cursor for the edges grabbed; `inside` when none.
Qt::CursorShape stampCursor(int edgeH, int edgeV, Qt::CursorShape inside)
{
    if (edgeH && edgeV)
        return edgeH == edgeV ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    if (edgeH)
        return Qt::SizeHorCursor;
    if (edgeV)
        return Qt::SizeVerCursor;
    return inside;
}

const QString kSaveQuestion = QStringLiteral("設定情報を保存しますか？");
const QString kSaved = QStringLiteral("正常に保存されました。");
const QString kSaveFailed = QStringLiteral("保存に失敗しました。");
const QString kStampOutside1 = QStringLiteral("設定可能枠から外に出ています。");
const QString kStampOutside2 = QStringLiteral("枠内に戻します。");

// Grey frame and caption of the small read-outs.
QLabel* readOut(QWidget* parent, const QString& name, const QRect& geometry, Qt::Alignment align)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(align | Qt::AlignVCenter);
    l->setGeometry(geometry);
    return l;
}

QLabel* caption(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

// A toggle that is down shows a pale blue face, so that the state reads at a glance.
void showDownClearly(TShineBtn* b)
{
    b->pressedColors()->setColor(0xF5E1C8);
}

// The stamp picture of a file drawn into the control.
void showPicture(TImageEL* image, const PictureFile& picture)
{
    if (picture.kind() == PictureFile::Kind::Metafile && picture.svg()) {
        const std::shared_ptr<QSvgRenderer> svg = picture.svg();
        image->setPicture([svg](QPainter& p, const QRectF& target) { svg->render(&p, target); },
                          picture.layoutSize());
    } else if (!picture.image().isNull()) {
        image->setPicture(picture.image());
    } else {
        image->clear();
    }
}

LayoutRules::Arrow arrowOf(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return LayoutRules::Arrow::Left;
    case Qt::Key_Right:
        return LayoutRules::Arrow::Right;
    case Qt::Key_Up:
        return LayoutRules::Arrow::Up;
    default:
        return LayoutRules::Arrow::Down;
    }
}

} // namespace

TLayoutEditForm::TLayoutEditForm(const Params& params, QWidget* parent)
    : TFrmBase1(parent), m_params(params), m_document(new LayoutDocument(params.kind, this))
{
    setWindowTitle(params.caption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setMinimumSize(670, 620);
    resize(params.clientSize.expandedTo(QSize(670, 620)));
    createControls();
    connect(m_document, &LayoutDocument::opened, this, &TLayoutEditForm::showAll);
    connect(m_document, &LayoutDocument::fieldChanged, this, &TLayoutEditForm::showField);
    connect(m_document, &LayoutDocument::stampChanged, this, &TLayoutEditForm::showStamp);
    connect(m_document, &LayoutDocument::optionsChanged, this, &TLayoutEditForm::showOptions);
    connect(m_document, &LayoutDocument::sheetChanged, this, [this] {
        pnlCard->resize(m_document->cardSize());
        CenterCard();
    });
    // The form sees key presses before its controls.
    qApp->installEventFilter(this);
}

TLayoutEditForm::~TLayoutEditForm()
{
    qApp->removeEventFilter(this);
}

TShineBtn* TLayoutEditForm::makeButton(QWidget* parent, const QString& name, const QString& glyph,
                                       const QString& text, const QString& hint)
{
    auto* b = new TShineBtn(parent);
    b->setObjectName(name);
    if (!glyph.isEmpty())
        b->setGlyph(Glyphs::get(glyph));
    b->setText(text);
    b->setFrameType(ftNormalFrame);
    b->setUpFrame(true);
    b->setDownFrame(true);
    b->setFocusPolicy(Qt::NoFocus);
    ::setHint(b, hint);
    return b;
}

void TLayoutEditForm::createControls()
{
    const QString emptyText;

    // --- the card ---------------------------------------------------------------------------
    pnlCardBase = new QFrame(this);
    pnlCardBase->setObjectName(QStringLiteral("pnlCardBase"));
    static_cast<QFrame*>(pnlCardBase)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlCard = new QWidget(pnlCardBase);
    pnlCard->setObjectName(QStringLiteral("pnlCard"));
    pnlCard->resize(m_document->cardSize());
    pnlCard->setAutoFillBackground(true);
    QPalette white = pnlCard->palette();
    white.setColor(QPalette::Window, Qt::white);
    pnlCard->setPalette(white);

    imgStamp = new TImageEL(pnlCard);
    imgStamp->setObjectName(QStringLiteral("imgStamp"));
    imgStamp->setGeometry(0, 0, 0, 0);
    imgStamp->setMouseTracking(true);
    imgStamp->installEventFilter(this);
    ::setHint(imgStamp, QStringLiteral("画像を印刷する場合指定します。"));

    m_fields = new LayoutFields(m_params.kind, pnlCard, this);
    for (TPaintBoxEL* b : m_fields->boxes()) {
        b->setMouseTracking(true);
        b->installEventFilter(this);
        b->setOnPaint([this](TPaintBoxEL* box, QPainter& p) {
            m_fields->PaintField(box, p);
            if (m_selected)
                showFieldPosition();
        });
        b->hide();
    }

    edtDummy = new QLineEdit(this);
    edtDummy->setObjectName(QStringLiteral("edtDummy"));
    edtDummy->setGeometry(0, 0, 0, 0);
    edtDummy->setFrame(false);

    // --- paper ------------------------------------------------------------------------------
    pnlPaper = new QGroupBox(QStringLiteral("用紙情報"), this);
    pnlPaper->setObjectName(QStringLiteral("pnlPaper"));
    pnlPaper->resize(282, 82);
    caption(pnlPaper, QStringLiteral("プリンタ名"), QRect(6, 18, 58, 18));
    lblPrinterName = readOut(pnlPaper, QStringLiteral("lblPrinterName"), QRect(66, 18, 150, 18), Qt::AlignLeft);
    caption(pnlPaper, QStringLiteral("用 紙 名"), QRect(6, 39, 58, 18));
    lblPaperName = readOut(pnlPaper, QStringLiteral("lblPaperName"), QRect(66, 39, 150, 18), Qt::AlignLeft);
    caption(pnlPaper, QStringLiteral("用紙高さ"), QRect(6, 60, 58, 18));
    lblPaperH = readOut(pnlPaper, QStringLiteral("lblPaperH"), QRect(66, 60, 52, 18), Qt::AlignRight);
    caption(pnlPaper, QStringLiteral("用紙幅"), QRect(126, 60, 40, 18));
    lblPaperW = readOut(pnlPaper, QStringLiteral("lblPaperW"), QRect(166, 60, 50, 18), Qt::AlignRight);
    caption(pnlPaper, QStringLiteral("㎜"), QRect(220, 60, 16, 18));
    ssbPrint = makeButton(pnlPaper, QStringLiteral("ssbPrint"), QStringLiteral("printer"), emptyText,
                          m_params.printerHint);
    ssbPrint->setGeometry(222, 16, 26, 26);
    ssbHelp = makeButton(pnlPaper, QStringLiteral("ssbHelp"), QStringLiteral("help"), emptyText,
                         QStringLiteral("ヘルプ|ヘルプを表示します。"));
    ssbHelp->setGeometry(250, 16, 26, 26);
    connect(ssbPrint, &TShineBtn::clicked, this, &TLayoutEditForm::ssbPrintClick);
    connect(ssbHelp, &TShineBtn::clicked, this, &TLayoutEditForm::ssbHelpClick);

    // --- field style ------------------------------------------------------------------------
    pnlField = new QGroupBox(QStringLiteral("項目情報"), this);
    pnlField->setObjectName(QStringLiteral("pnlField"));
    pnlField->resize(282, 88);
    lblFld = readOut(pnlField, QStringLiteral("lblFld"), QRect(6, 16, 150, 18), Qt::AlignLeft);
    cmbFldFont = new QComboBox(pnlField);
    cmbFldFont->setObjectName(QStringLiteral("cmbFldFont"));
    cmbFldFont->setGeometry(6, 38, 206, 22);
    cmbFldFont->setMaxVisibleItems(20);
    ::setHint(cmbFldFont, QStringLiteral("フォント|使用するフォントを選択します。"));
    cmbFontSize = new QComboBox(pnlField);
    cmbFontSize->setObjectName(QStringLiteral("cmbFontSize"));
    cmbFontSize->setGeometry(216, 38, 60, 22);
    cmbFontSize->addItems(m_params.fontSizes);
    cmbFontSize->setCurrentIndex(-1);
    cmbFontSize->setMaxVisibleItems(20);
    ::setHint(cmbFontSize, QStringLiteral("フォントサイズ|文字の大きさ(ポイント)を選択します。"));

    ssbTate = makeButton(pnlField, QStringLiteral("ssbTate"), QString(), QStringLiteral("縦"),
                         QStringLiteral("縦書き|縦書きにする場合押してください。"));
    ssbBold = makeButton(pnlField, QStringLiteral("ssbBold"), QStringLiteral("bold"), emptyText,
                         QStringLiteral("太字|太字にする場合押してください。"));
    ssbIta = makeButton(pnlField, QStringLiteral("ssbIta"), QStringLiteral("italic"), emptyText,
                        QStringLiteral("斜体|斜体にする場合押してください。"));
    ssbLeft = makeButton(pnlField, QStringLiteral("ssbLeft"), QStringLiteral("align-left"), emptyText,
                         QStringLiteral("左寄せ|左寄せにしたい場合押してください。"));
    ssbCenter = makeButton(pnlField, QStringLiteral("ssbCenter"), QStringLiteral("align-center"), emptyText,
                           QStringLiteral("中央寄せ|中央寄せにしたい場合押してください。"));
    ssbRight = makeButton(pnlField, QStringLiteral("ssbRight"), QStringLiteral("align-right"), emptyText,
                          QStringLiteral("右寄せ|右寄せにしたい場合押してください。"));
    // Three independent toggles, and a group of three of which one is down.
    ssbTate->setGroupIndex(1);
    ssbBold->setGroupIndex(2);
    ssbIta->setGroupIndex(3);
    for (TShineBtn* b : {ssbTate, ssbBold, ssbIta})
        b->setAllowAllUp(true);
    for (TShineBtn* b : {ssbLeft, ssbCenter, ssbRight})
        b->setGroupIndex(4);
    for (TShineBtn* b : {ssbTate, ssbBold, ssbIta, ssbLeft, ssbCenter, ssbRight})
        showDownClearly(b);
    int x = 6;
    for (TShineBtn* b : {ssbTate, ssbBold, ssbIta}) {
        b->setGeometry(x, 62, 26, 24);
        x += 27;
    }
    x += 10;
    for (TShineBtn* b : {ssbLeft, ssbCenter, ssbRight}) {
        b->setGeometry(x, 62, 26, 24);
        x += 27;
    }
    // Undo and redo of the layout, beside the style controls.
    ssbUndo = makeButton(pnlField, QStringLiteral("ssbUndo"), QStringLiteral("undo"), emptyText,
                         QStringLiteral("元に戻す"));
    ssbRedo = makeButton(pnlField, QStringLiteral("ssbRedo"), QStringLiteral("redo"), emptyText,
                         QStringLiteral("やり直し"));
    x += 10;
    for (TShineBtn* b : {ssbUndo, ssbRedo}) {
        b->setGeometry(x, 62, 26, 24);
        b->setEnabled(false);
        x += 27;
    }
    connect(ssbUndo, &TShineBtn::clicked, this, &TLayoutEditForm::ssbUndoClick);
    connect(ssbRedo, &TShineBtn::clicked, this, &TLayoutEditForm::ssbRedoClick);
    connect(m_document->undoStack(), &QUndoStack::canUndoChanged, ssbUndo, &QWidget::setEnabled);
    connect(m_document->undoStack(), &QUndoStack::canRedoChanged, ssbRedo, &QWidget::setEnabled);
    // Field 6's own option, beside the field's name where the other fields have the tabs of
    // the panel's pages (field 6 has no typesetting).
    cbBarcode = new QCheckBox(QStringLiteral("バーコードで印刷"), pnlField);
    cbBarcode->setObjectName(QStringLiteral("cbBarcode"));
    cbBarcode->setGeometry(158, 15, 120, 20);
    cbBarcode->setFocusPolicy(Qt::NoFocus);
    ::setHint(cbBarcode, QStringLiteral("バーコードで印刷|カスタマバーコードの列をバーコードとして印刷します。"));
    cbBarcode->hide();
    connect(cbBarcode, &QCheckBox::clicked, this, &TLayoutEditForm::cbBarcodeClick);
    // The page "組版" of the address and name fields. It lies under the undo and redo
    // buttons, which serve every page.
    pnlFldType = new QWidget(pnlField);
    pnlFldType->setObjectName(QStringLiteral("pnlFldType"));
    pnlFldType->setGeometry(0, 36, 282, 52);
    pnlFldType->lower();
    pnlFldType->hide();
    caption(pnlFldType, QStringLiteral("漢数字"), QRect(6, 2, 40, 22));
    cmbKansuji = new QComboBox(pnlFldType);
    cmbKansuji->setObjectName(QStringLiteral("cmbKansuji"));
    cmbKansuji->addItems({QStringLiteral("しない"), QStringLiteral("一二三"), QStringLiteral("十百")});
    cmbKansuji->setGeometry(46, 2, 76, 22);
    ::setHint(cmbKansuji, QStringLiteral("漢数字|縦書きの数字を漢数字にします。十百: 12 → 十二、105 → 一〇五"));
    caption(pnlFldType, QStringLiteral("ハイフン"), QRect(132, 2, 52, 22));
    cmbHyphen = new QComboBox(pnlFldType);
    cmbHyphen->setObjectName(QStringLiteral("cmbHyphen"));
    cmbHyphen->addItems({QStringLiteral("縦線"), QStringLiteral("の")});
    cmbHyphen->setGeometry(184, 2, 62, 22);
    ::setHint(cmbHyphen, QStringLiteral("ハイフン|漢数字にした数と数の間のハイフンを、縦線か「の」にします。"));
    cbTcy = new QCheckBox(QStringLiteral("縦中横"), pnlFldType);
    cbTcy->setObjectName(QStringLiteral("cbTcy"));
    cbTcy->setGeometry(6, 28, 80, 20);
    ::setHint(cbTcy, QStringLiteral("縦中横|縦書きの2桁の数字を、横に並べて1文字分に収めます。"));
    cbFit = new QCheckBox(QStringLiteral("自動縮小"), pnlFldType);
    cbFit->setObjectName(QStringLiteral("cbFit"));
    cbFit->setGeometry(90, 28, 90, 20);
    ::setHint(cbFit, QStringLiteral("自動縮小|枠に収まらない文字を、半分の大きさまで小さくして収めます。"));
    for (QWidget* w : std::initializer_list<QWidget*>{cmbKansuji, cmbHyphen, cbTcy, cbFit})
        w->setFocusPolicy(Qt::NoFocus);
    connect(cmbKansuji, &QComboBox::activated, this,
            [this](int i) { changeTypesetting([i](FieldStyle& s) { s.kansuji = i; }); });
    connect(cmbHyphen, &QComboBox::activated, this,
            [this](int i) { changeTypesetting([i](FieldStyle& s) { s.hyphen = i; }); });
    connect(cbTcy, &QCheckBox::clicked, this,
            [this](bool on) { changeTypesetting([on](FieldStyle& s) { s.tcy = on; }); });
    connect(cbFit, &QCheckBox::clicked, this,
            [this](bool on) { changeTypesetting([on](FieldStyle& s) { s.fit = on; }); });

    tabFld = new QTabBar(pnlField);
    tabFld->setObjectName(QStringLiteral("tabFld"));
    tabFld->addTab(QStringLiteral("書式"));
    tabFld->addTab(QStringLiteral("組版"));
    tabFld->setDrawBase(false);
    tabFld->setExpanding(false);
    tabFld->setFocusPolicy(Qt::NoFocus);
    tabFld->setTabToolTip(1, QStringLiteral("漢数字、縦中横、自動縮小"));
    tabFld->setGeometry(160, 10, 118, 26);
    connect(tabFld, &QTabBar::currentChanged, this, &TLayoutEditForm::showFieldPage);

    connect(ssbTate, &TShineBtn::clicked, this, &TLayoutEditForm::ssbTateClick);
    for (TShineBtn* b : {ssbBold, ssbIta, ssbLeft, ssbCenter, ssbRight})
        connect(b, &TShineBtn::clicked, this, &TLayoutEditForm::styleControlChanged);
    connect(cmbFldFont, &QComboBox::currentIndexChanged, this, &TLayoutEditForm::styleControlChanged);
    connect(cmbFontSize, &QComboBox::currentIndexChanged, this, &TLayoutEditForm::styleControlChanged);

    // --- print items ------------------------------------------------------------------------
    pnlItems = new QGroupBox(QStringLiteral("印刷項目"), this);
    pnlItems->setObjectName(QStringLiteral("pnlItems"));
    pnlItems->resize(282, 180);
    pgcItems = new QTabWidget(pnlItems);
    pgcItems->setObjectName(QStringLiteral("pgcItems"));
    pgcItems->setGeometry(4, 16, 274, 134);
    tsAtesaki = new QWidget;
    tsAtesaki->setObjectName(QStringLiteral("tsAtesaki"));
    tsMoto = new QWidget;
    tsMoto->setObjectName(QStringLiteral("tsMoto"));
    tsImage = new QWidget;
    tsImage->setObjectName(QStringLiteral("tsImage"));
    pgcItems->addTab(tsAtesaki, QStringLiteral("宛　先"));
    pgcItems->addTab(tsMoto, QStringLiteral("差出人"));
    pgcItems->addTab(tsImage, QStringLiteral("画　像"));
    for (int n = 1; n <= kFieldCount; ++n) {
        QWidget* page = n <= 6 ? tsAtesaki : tsMoto;
        const int i = n <= 6 ? n - 1 : n - 7;
        auto* t = makeButton(page, FieldCaptions::toggleName(n), QString(), FieldCaptions::toggleCaption(n),
                             FieldCaptions::caption(n, m_params.kind == LayoutKind::Label)
                                 + QStringLiteral("|印刷する項目を選択します。"));
        t->setProperty("tag", n);
        t->setGroupIndex(100 + n); // a lone toggle
        t->setAllowAllUp(true);
        showDownClearly(t);
        t->setGeometry(4 + (i % 3) * 88, 4 + (i / 3) * 26, 86, 24);
        connect(t, &TShineBtn::clicked, this, [this, t] { itemToggleClick(t); });
        itemToggles[n - 1] = t;
    }
    cbPostMark = new QCheckBox(QStringLiteral("先頭に〒付加"), tsMoto);
    cbPostMark->setObjectName(QStringLiteral("cbPostMark"));
    cbPostMark->setGeometry(140, 82, 120, 20);
    cbPostMark->setFocusPolicy(Qt::NoFocus);
    connect(cbPostMark, &QCheckBox::clicked, this, &TLayoutEditForm::cbPostMarkClick);

    bbtnStampRead = new QPushButton(QStringLiteral("画像読込"), tsImage);
    bbtnStampRead->setObjectName(QStringLiteral("bbtnStampRead"));
    bbtnStampRead->setIcon(QIcon(QPixmap::fromImage(Glyphs::get(QStringLiteral("image-read")))));
    bbtnStampRead->setGeometry(4, 4, 96, 24);
    ::setHint(bbtnStampRead, QStringLiteral("画像読込|画像イメージを指定して下さい。"));
    bbtnClear = new QPushButton(QStringLiteral("画像クリア"), tsImage);
    bbtnClear->setObjectName(QStringLiteral("bbtnClear"));
    bbtnClear->setIcon(QIcon(QPixmap::fromImage(Glyphs::get(QStringLiteral("image-clear")))));
    bbtnClear->setGeometry(104, 4, 96, 24);
    ::setHint(bbtnClear, QStringLiteral("クリア|画像イメージをクリアします。"));
    edtStampPath = new QLineEdit(tsImage);
    edtStampPath->setObjectName(QStringLiteral("edtStampPath"));
    edtStampPath->setReadOnly(true);
    edtStampPath->setFocusPolicy(Qt::NoFocus);
    edtStampPath->setGeometry(4, 32, 262, 20);
    lblStampNote = new QLabel(QStringLiteral("「画像読込」で印刷したい画像を指定して下さい。"), tsImage);
    lblStampNote->setObjectName(QStringLiteral("lblStampNote"));
    lblStampNote->setWordWrap(true);
    lblStampNote->setGeometry(4, 54, 262, 28);
    connect(bbtnStampRead, &QPushButton::clicked, this, &TLayoutEditForm::bbtnStampReadClick);
    connect(bbtnClear, &QPushButton::clicked, this, &TLayoutEditForm::bbtnClearClick);

    ssbMoto = makeButton(pnlItems, QStringLiteral("ssbMoto"), QStringLiteral("sender"), QStringLiteral("差出人編集"),
                         QStringLiteral("差出人編集|差出人情報を編集します。"));
    ssbMoto->setGeometry(4, 153, 110, 24);
    connect(ssbMoto, &TShineBtn::clicked, this, &TLayoutEditForm::ssbMotoClick);

    // --- position adjustment ----------------------------------------------------------------
    pnlOfset = new QGroupBox(QStringLiteral("位置調整"), this);
    pnlOfset->setObjectName(QStringLiteral("pnlOfset"));
    pnlOfset->resize(282, 48);
    const QString ofsetHint = QStringLiteral("位置調整|全体位置を調整します。郵便番号位置がずれている時等に使用します。");
    ::setHint(pnlOfset, ofsetHint);
    spbOfsetUp = makeButton(pnlOfset, QStringLiteral("spbOfsetUp"), QStringLiteral("up"), emptyText, ofsetHint);
    spbOfsetDown = makeButton(pnlOfset, QStringLiteral("spbOfsetDown"), QStringLiteral("down"), emptyText, ofsetHint);
    spbOfsetLeft = makeButton(pnlOfset, QStringLiteral("spbOfsetLeft"), QStringLiteral("left"), emptyText, ofsetHint);
    spbOfsetRight = makeButton(pnlOfset, QStringLiteral("spbOfsetRight"), QStringLiteral("right"), emptyText, ofsetHint);
    spbOfsetUp->setGeometry(6, 18, 22, 22);
    spbOfsetDown->setGeometry(29, 18, 22, 22);
    caption(pnlOfset, QStringLiteral("上から"), QRect(54, 20, 36, 18));
    nedtOfsetY = new TNumberEdit(pnlOfset);
    nedtOfsetY->setObjectName(QStringLiteral("nedtOfsetY"));
    nedtOfsetY->setGeometry(90, 19, 44, 20);
    spbOfsetLeft->setGeometry(142, 18, 22, 22);
    spbOfsetRight->setGeometry(165, 18, 22, 22);
    caption(pnlOfset, QStringLiteral("左から"), QRect(190, 20, 36, 18));
    nedtOfsetX = new TNumberEdit(pnlOfset);
    nedtOfsetX->setObjectName(QStringLiteral("nedtOfsetX"));
    nedtOfsetX->setGeometry(226, 19, 44, 20);
    for (TNumberEdit* e : {nedtOfsetY, nedtOfsetX}) {
        e->setFigure(1);
        e->setFixed(true);
        e->setValidMinus(true);
        e->setZeroVisible(true);
        e->setMin(-10);
        e->setMax(10);
        e->setLimitOptions(loMax | loMin);
        e->setLimit(true);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setValue(0);
        ::setHint(e, ofsetHint);
    }
    connect(spbOfsetUp, &TShineBtn::clicked, this, &TLayoutEditForm::spbOfsetUpClick);
    connect(spbOfsetDown, &TShineBtn::clicked, this, &TLayoutEditForm::spbOfsetDownClick);
    connect(spbOfsetLeft, &TShineBtn::clicked, this, &TLayoutEditForm::spbOfsetLeftClick);
    connect(spbOfsetRight, &TShineBtn::clicked, this, &TLayoutEditForm::spbOfsetRightClick);

    // --- honorific --------------------------------------------------------------------------
    pnlKeisho = new QGroupBox(QStringLiteral("敬　　称"), this);
    pnlKeisho->setObjectName(QStringLiteral("pnlKeisho"));
    pnlKeisho->resize(282, 44);
    cbKeisho = new QCheckBox(QStringLiteral("登録されている敬称を使用"), pnlKeisho);
    cbKeisho->setObjectName(QStringLiteral("cbKeisho"));
    cbKeisho->setGeometry(6, 18, 180, 20);
    cbKeisho->setChecked(true);
    cbKeisho->setFocusPolicy(Qt::NoFocus);
    cmbKeisho = new QComboBox(pnlKeisho);
    cmbKeisho->setObjectName(QStringLiteral("cmbKeisho"));
    cmbKeisho->setEditable(true);
    cmbKeisho->addItems({QStringLiteral("様"), QStringLiteral("殿"), QStringLiteral("御中")});
    cmbKeisho->setCurrentIndex(0);
    cmbKeisho->setGeometry(196, 17, 80, 22);
    cmbKeisho->setVisible(false);
    connect(cbKeisho, &QCheckBox::clicked, this, &TLayoutEditForm::cbKeishoClick);
    connect(cmbKeisho, &QComboBox::editTextChanged, this, &TLayoutEditForm::cmbKeishoChange);

    // --- records ----------------------------------------------------------------------------
    ssbCsvFirst = makeButton(this, QStringLiteral("ssbCsvFirst"), QStringLiteral("first"), emptyText,
                             QStringLiteral("最初のデータ|最初のデータを表示します。"));
    ssbCsvPrior = makeButton(this, QStringLiteral("ssbCsvPrior"), QStringLiteral("prior"), emptyText,
                             QStringLiteral("前データ|前のデータを表示します。"));
    ssbCsvNext = makeButton(this, QStringLiteral("ssbCsvNext"), QStringLiteral("next"), emptyText,
                            QStringLiteral("次データ|次のデータを表示します。"));
    ssbCsvLast = makeButton(this, QStringLiteral("ssbCsvLast"), QStringLiteral("last"), emptyText,
                            QStringLiteral("最後のデータ|最後のデータを表示します。"));
    for (TShineBtn* b : {ssbCsvFirst, ssbCsvPrior, ssbCsvNext, ssbCsvLast})
        b->resize(26, 24);
    ssbCsvOverflow = makeButton(this, QStringLiteral("ssbCsvOverflow"), QString(), QStringLiteral("枠外"),
                                QStringLiteral("枠外の宛名|枠に収まらない文字がある次の宛名を表示します。"));
    ssbCsvOverflow->resize(50, 24);
    connect(ssbCsvOverflow, &TShineBtn::clicked, this, &TLayoutEditForm::ssbCsvOverflowClick);
    connect(ssbCsvFirst, &TShineBtn::clicked, this, &TLayoutEditForm::ssbCsvFirstClick);
    connect(ssbCsvPrior, &TShineBtn::clicked, this, &TLayoutEditForm::ssbCsvPriorClick);
    connect(ssbCsvNext, &TShineBtn::clicked, this, &TLayoutEditForm::ssbCsvNextClick);
    connect(ssbCsvLast, &TShineBtn::clicked, this, &TLayoutEditForm::ssbCsvLastClick);
    bbtnChoose = new QPushButton(QStringLiteral("宛名選択…"), this);
    bbtnChoose->setObjectName(QStringLiteral("bbtnChoose"));
    bbtnChoose->setAutoDefault(false);
    bbtnChoose->setFocusPolicy(Qt::NoFocus);
    ::setHint(bbtnChoose, QStringLiteral("宛名選択|印刷する宛名を一覧から選びます（検索、範囲指定もできます）。"));
    connect(bbtnChoose, &QPushButton::clicked, this, &TLayoutEditForm::bbtnChooseClick);
    lblChoice = new QLabel(this);
    lblChoice->setObjectName(QStringLiteral("lblChoice"));

    // --- bottom -----------------------------------------------------------------------------
    bbtnPrint = new QPushButton(QStringLiteral(" 印　刷"), this);
    bbtnPrint->setObjectName(QStringLiteral("bbtnPrint"));
    bbtnPrint->setIcon(QIcon(QPixmap::fromImage(Glyphs::get(QStringLiteral("print")))));
    bbtnPrint->resize(130, 30);
    bbtnPrint->setAutoDefault(false);
    ::setHint(bbtnPrint, QStringLiteral("印刷します。"));
    bbtnClose = new QPushButton(QStringLiteral("　終　了"), this);
    bbtnClose->setObjectName(QStringLiteral("bbtnClose"));
    bbtnClose->setIcon(QIcon(QPixmap::fromImage(Glyphs::get(QStringLiteral("close")))));
    bbtnClose->resize(130, 30);
    bbtnClose->setAutoDefault(false);
    ::setHint(bbtnClose, QStringLiteral("終了します。"));
    connect(bbtnPrint, &QPushButton::clicked, this, &TLayoutEditForm::bbtnPrintClick);
    connect(bbtnClose, &QPushButton::clicked, this, &TLayoutEditForm::bbtnCloseClick);

    // --- components -------------------------------------------------------------------------
    plSetPrinter = new TplSetPrinter(m_params.printerComponent, this);
    // Its place on the form at design time, which the Windows program's printer files carry.
    plSetPrinter->setDesignLeft(32);
    plPrev1 = new TplPrev(this);
    plPrev1->setObjectName(QStringLiteral("plPrev1"));
    plPrev1->setPlSetPrinter(plSetPrinter);
    plPrev1->setFormName(QStringLiteral("plPrevPost"));
}

// --- small accessors ---------------------------------------------------------------------------

TPaintBoxEL* TLayoutEditForm::box(int field) const
{
    return m_fields->box(field);
}

TPaintBoxEL* TLayoutEditForm::selectedField() const
{
    return m_fields->box(m_selected);
}

QSize TLayoutEditForm::cardSize() const
{
    return pnlCard->size();
}

QString TLayoutEditForm::printerFilePath() const
{
    return AppPaths::settingsDirectory() + m_params.printerComponent + QStringLiteral(".plv");
}

FormPaper TLayoutEditForm::formPaper() const
{
    return m_params.kind == LayoutKind::Postcard ? FormPaper::Postcard : FormPaper::A4;
}

SettingsGroup TLayoutEditForm::settingsGroup() const
{
    return m_params.kind == LayoutKind::Postcard ? SettingsGroup::Postcard : SettingsGroup::Label;
}

void TLayoutEditForm::documentOpened(const LayoutOpening&) {}
void TLayoutEditForm::fieldShown(int) {}
void TLayoutEditForm::optionsShown() {}

// --- showing, loading ----------------------------------------------------------------------------

void TLayoutEditForm::showEvent(QShowEvent* event)
{
    TFrmBase1::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        const QSize outer = frameGeometry().size();
        move(s.x() + (s.width() - outer.width()) / 2, s.y() + (s.height() - outer.height()) / 2);
    }
    setPanelText(2, m_params.statusLabel);
    LoadLayout();
    CenterCard();
    const QCursor* c = QGuiApplication::overrideCursor();
    m_savedCursor = c ? c->shape() : Qt::ArrowCursor;
    m_screenCursor = m_savedCursor;
}

void TLayoutEditForm::LoadLayout()
{
    AppSettings& s = AppSettings::instance();

    // The record lines of the address list; the main menu checked it, but it may have changed.
    m_fields->records = CsvRecordLines(ReadCsvLines(s.csv.fileName, CsvFormat::of(s.csv)), s.csv.hasHeader);
    m_fields->columns = s.csv;
    m_fields->sender = s.sender;
    m_current = 0;
    m_choice = ChoiceByColumn(m_fields->records, s.csv);

    m_loading = true;
    const LayoutOpening opening = m_document->open(s);
    documentOpened(opening);
    m_loading = false;

    DrawCardBackground();
    {
        const QSignalBlocker block(cmbFldFont);
        cmbFldFont->clear();
        cmbFldFont->addItems(JapaneseFonts::faceList(true, true));
        cmbFldFont->setCurrentIndex(-1);
    }

    // The default printer, then the form's own printer file when there is one; without one,
    // the form's own paper rather than whatever the printer has in force (often A4). The
    // choice is not saved: the printer button writes the file.
    SystemPrinter& sp = SystemPrinter::instance();
    if (!sp.printers().isEmpty()) {
        sp.setPrinterIndex(-1);
        plSetPrinter->ReadFromPrinter(false);
        const QString file = printerFilePath();
        if (!QFileInfo::exists(file)) {
            FormPapers::choose(*plSetPrinter, formPaper());
        } else if (!plSetPrinter->loadFromFile(file)) {
            Messages::current().warning(Messages::twoLines(
                QStringLiteral("プリンタ設定ファイルを読み込めませんでした。"), plSetPrinter->errorString()));
        }
    }
    ShowPaperInfo();

    m_selected = 0;
    FirstVisibleField();
    if (!opening.isEmpty())
        Messages::current().warning(opening.message());
    RefreshRecord();
    UpdateNavButtons();
    updatePrintButton();
}

void TLayoutEditForm::resizeEvent(QResizeEvent* event)
{
    TFrmBase1::resizeEvent(event);
    layoutControls();
    CenterCard();
}

void TLayoutEditForm::layoutControls() {}

void TLayoutEditForm::placeInColumns(int columnWidth, std::initializer_list<QWidget*> panels)
{
    const int right = width() - columnWidth - 4;
    const int bottom = height() - (stsbMsg ? stsbMsg->height() : 19);
    pnlCardBase->setGeometry(4, 4, qMax(1, right - 8), qMax(1, bottom - 8));
    int y = 2;
    for (QWidget* w : panels) {
        w->move(right, y);
        y += w->height() + 2;
    }
    const int buttonWidth = (columnWidth - 10) / 2;
    bbtnPrint->setGeometry(right, bottom - 38, buttonWidth, 32);
    bbtnClose->setGeometry(right + buttonWidth + 10, bottom - 38, buttonWidth, 32);
}

void TLayoutEditForm::CenterCard()
{
    const QSize base = pnlCardBase->size();
    const QSize card = pnlCard->size();
    pnlCard->move((base.width() - card.width()) / 2, (base.height() - card.height()) / 2);
}

// --- the document on screen ----------------------------------------------------------------------

void TLayoutEditForm::showAll()
{
    pnlCard->resize(m_document->cardSize());
    for (int n = 1; n <= kFieldCount; ++n)
        showField(n);
    showStamp();
    showOptions();
}

void TLayoutEditForm::showField(int n)
{
    const LayoutField& f = m_document->field(n);
    m_fields->showField(n, f);
    itemToggles[n - 1]->setDown(f.visible());
    if (n == 4 || n == 5)
        m_fields->ApplyHonorific(); // the honorific goes to the visible name
    fieldShown(n);
    if (m_loading)
        return;
    // A step taken back can hide the selected field or show the first one.
    if (n == m_selected && !f.visible())
        FirstVisibleField();
    else if (m_selected == 0 && f.visible())
        FirstVisibleField();
    else if (n == m_selected)
        showStyleControls(n);
}

void TLayoutEditForm::showStamp()
{
    const ImageBox& st = m_document->state().stamp;
    if (st.path.isEmpty()) {
        m_stampShown.clear();
        imgStamp->clear();
        imgStamp->setGeometry(0, 0, 0, 0);
        edtStampPath->clear();
        return;
    }
    if (st.path != m_stampShown) {
        m_stampShown = st.path;
        showPicture(imgStamp, PictureFile::load(st.path));
        imgStamp->setStretch(true);
    }
    edtStampPath->setText(st.path);
    imgStamp->setGeometry(st.left, st.top, st.width, st.height);
    imgStamp->show();
}

void TLayoutEditForm::showOptions()
{
    const LayoutState& s = m_document->state();
    nedtOfsetX->setValue(double(s.offsetX) / 10.0);
    nedtOfsetY->setValue(double(s.offsetY) / 10.0);
    cbPostMark->setChecked(s.senderPostMark);
    cbKeisho->setChecked(s.honorific.useRegistered);
    cmbKeisho->setVisible(!s.honorific.useRegistered);
    if (cmbKeisho->currentText() != s.honorific.fixedText) {
        const QSignalBlocker block(cmbKeisho);
        cmbKeisho->setEditText(s.honorific.fixedText);
    }
    m_fields->honorific = s.honorific;
    m_fields->senderPostMark = s.senderPostMark;
    m_fields->recipientPostMark = s.recipientPostMark;
    m_fields->ApplyHonorific();
    optionsShown();
    for (int n : {1, 7})
        box(n)->update();
}

// --- records ---------------------------------------------------------------------------------

void TLayoutEditForm::RefreshRecord()
{
    if (m_loading)
        return;
    m_fields->FillFieldTexts(m_current);
    recordFilled();
    for (TPaintBoxEL* b : m_fields->boxes()) {
        if (!b->isHidden())
            b->update();
    }
}

void TLayoutEditForm::UpdateNavButtons()
{
    const int count = int(m_fields->records.size());
    const bool atFirst = m_current <= 0;
    const bool atLast = m_current >= count - 1;
    ssbCsvFirst->setEnabled(!atFirst && count > 1);
    ssbCsvPrior->setEnabled(!atFirst && count > 1);
    ssbCsvNext->setEnabled(!atLast);
    ssbCsvLast->setEnabled(!atLast);
    ssbCsvOverflow->setEnabled(count > 0);
}

void TLayoutEditForm::showRecord(int index)
{
    const int count = int(m_fields->records.size());
    // Without records there is nothing to step to; the index stays 0.
    m_current = count > 0 ? qBound(0, index, count - 1) : 0;
    RefreshRecord();
    UpdateNavButtons();
}

void TLayoutEditForm::setRecordChoice(const RecordChoice& choice)
{
    m_choice = choice;
    RefreshRecord();
    updatePrintButton();
}

void TLayoutEditForm::updatePrintButton()
{
    const int count = int(m_fields->records.size());
    const int chosen = m_choice.count(count);
    const bool none = count > 0 && chosen == 0 && !printsShownRecordOnly();
    lblChoice->setText(QStringLiteral("%1 / %2 件選択").arg(chosen).arg(count));
    lblChoice->setStyleSheet(none ? QStringLiteral("color: #c00000;") : QString());
    bbtnPrint->setEnabled(!none);
    const QString noneHint = QStringLiteral("印刷する宛名がありません|「宛名選択…」で印刷する宛名を選んで下さい。");
    ::setHint(bbtnPrint, none ? noneHint : QStringLiteral("印刷します。"));
    ::setHint(lblChoice, none ? noneHint : QStringLiteral("選択件数|印刷する宛名の件数 / 総データ件数 です。"));
}

void TLayoutEditForm::bbtnChooseClick()
{
    TFrmRecordSelect dialog(m_fields->records, m_fields->columns, m_choice, this);
    if (dialog.exec() == QDialog::Accepted)
        setRecordChoice(dialog.choice());
}

void TLayoutEditForm::ssbCsvFirstClick()
{
    showRecord(0);
}

void TLayoutEditForm::ssbCsvPriorClick()
{
    showRecord(qMax(m_current - 1, 0));
}

void TLayoutEditForm::ssbCsvNextClick()
{
    showRecord(m_current + 1);
}

void TLayoutEditForm::ssbCsvLastClick()
{
    showRecord(int(m_fields->records.size()) - 1);
}

void TLayoutEditForm::ssbCsvOverflowClick()
{
    // Checked afresh on every press: the layout may have changed since the last one.
    const int next = checkRun().only(PrintFinding::Kind::TextOverflow).nextRecord(m_current);
    if (next < 0) {
        Messages::current().information(QStringLiteral("枠に収まらない文字はありません。"));
        return;
    }
    showRecord(next);
}

// --- selection and style controls ----------------------------------------------------------------

void TLayoutEditForm::FirstVisibleField()
{
    selectField(LayoutRules::firstVisibleField(m_document->state()));
}

void TLayoutEditForm::selectField(TPaintBoxEL* b)
{
    selectField(b ? m_fields->fieldOf(b) : 0);
}

void TLayoutEditForm::selectField(int n)
{
    if (n < 0 || n > kFieldCount)
        n = 0;
    // Keys pressed on another field start a step of their own.
    if (n != m_selected)
        m_document->breakMerge();
    const bool wasNone = m_selected == 0;
    m_selected = n;
    m_fields->setSelected(box(n));
    if (n == 0) {
        lblFld->clear();
        cbBarcode->hide();
        tabFld->show();
        showFieldPage(tabFld->currentIndex());
        showFieldPosition();
        EnableStyleControls(false);
        return;
    }
    if (wasNone)
        EnableStyleControls(true);
    box(n)->update();
    ShowFieldStyle(box(n));
}

void TLayoutEditForm::EnableStyleControls(bool on)
{
    cmbFldFont->setEnabled(on);
    cmbFontSize->setEnabled(on);
    for (TShineBtn* b : {ssbTate, ssbBold, ssbIta, ssbLeft, ssbCenter, ssbRight})
        b->setEnabled(on);
    if (!on) {
        for (QWidget* w : std::initializer_list<QWidget*>{cmbKansuji, cmbHyphen, cbTcy, cbFit})
            w->setEnabled(false);
    }
}

void TLayoutEditForm::showFieldPage(int page)
{
    const bool typesetting = page == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{cmbFldFont, cmbFontSize, ssbTate, ssbBold, ssbIta, ssbLeft,
                                                      ssbCenter, ssbRight})
        w->setVisible(!typesetting);
    pnlFldType->setVisible(typesetting);
}

void TLayoutEditForm::ShowFieldStyle(TPaintBoxEL* b)
{
    const int n = b ? m_fields->fieldOf(b) : 0;
    if (n == 0)
        return;
    showStyleControls(n);
    edtDummy->setFocus();
}

void TLayoutEditForm::showStyleControls(int n)
{
    const FieldStyle& s = m_document->style(n);
    // Enabling a styled button raises it, so the enabled state goes first and the down
    // states after it.
    for (TShineBtn* t : {ssbTate, ssbLeft, ssbCenter, ssbRight})
        t->setEnabled(!s.post);
    lblFld->setText(FieldCaptions::caption(n, m_params.kind == LayoutKind::Label));
    {
        const QSignalBlocker b1(cmbFldFont);
        const QSignalBlocker b2(cmbFontSize);
        cmbFldFont->setCurrentIndex(cmbFldFont->findText(s.fontName));
        const int size = s.fontSize == 0 ? 9 : std::abs(s.fontSize);
        cmbFontSize->setCurrentIndex(cmbFontSize->findText(QString::number(size)));
    }
    // Field 6 has its barcode option where the other fields have the tabs of the pages.
    const bool barcodeField = n == FieldGeometry::kBarcodeField;
    cbBarcode->setVisible(barcodeField);
    cbBarcode->setChecked(s.barcode);
    tabFld->setVisible(!barcodeField);
    showFieldPage(barcodeField ? 0 : tabFld->currentIndex());
    ssbTate->setDown(s.tate);
    ssbIta->setDown(s.italic);
    ssbBold->setDown(s.bold);
    (s.alignment == 1 ? ssbCenter : s.alignment == 2 ? ssbRight : ssbLeft)->setDown(true);
    showTypesetControls(n);
}

void TLayoutEditForm::showTypesetControls(int n)
{
    const FieldStyle& s = m_document->style(n);
    const bool takes = FieldTypesetting::takesOptions(n);
    // A number the file holds that is no choice shows as off, as it prints.
    cmbKansuji->setCurrentIndex(s.kansuji >= 0 && s.kansuji <= 2 ? s.kansuji : 0);
    cmbHyphen->setCurrentIndex(s.hyphen == 1 ? 1 : 0);
    cbTcy->setChecked(s.tcy);
    cbFit->setChecked(s.fit);
    // Kanji numerals and 縦中横 change vertical text only; the hyphen choice goes with the
    // kanji numerals.
    cmbKansuji->setEnabled(takes && s.tate);
    cmbHyphen->setEnabled(takes && s.tate && cmbKansuji->currentIndex() != 0);
    cbTcy->setEnabled(takes && s.tate);
    cbFit->setEnabled(takes);
}

void TLayoutEditForm::changeTypesetting(const std::function<void(FieldStyle&)>& edit)
{
    if (m_loading || !FieldTypesetting::takesOptions(m_selected))
        return;
    FieldStyle s = m_document->style(m_selected);
    edit(s);
    m_document->setFieldStyle(m_selected, s);
}

FieldStyle TLayoutEditForm::styleFromControls(int n) const
{
    FieldStyle s = m_document->style(n);
    bool ok = false;
    const int size = cmbFontSize->currentText().toInt(&ok);
    s.fontSize = ok ? size : 9;
    // Disabled controls (a postal box) leave their values as they are.
    if (ssbTate->isEnabled())
        s.tate = ssbTate->isDown();
    s.bold = ssbBold->isDown();
    s.italic = ssbIta->isDown();
    if (ssbLeft->isEnabled()) {
        if (ssbLeft->isDown())
            s.alignment = 0;
        else if (ssbCenter->isDown())
            s.alignment = 1;
        else if (ssbRight->isDown())
            s.alignment = 2;
    }
    // A face that is not installed shows no selection; the field keeps its face then.
    if (cmbFldFont->currentIndex() >= 0)
        s.fontName = cmbFldFont->currentText();
    return s;
}

void TLayoutEditForm::ApplyStyleControls(TPaintBoxEL* b)
{
    const int n = b ? m_fields->fieldOf(b) : 0;
    if (n != 0)
        m_document->setFieldStyle(n, styleFromControls(n));
}

void TLayoutEditForm::styleControlChanged()
{
    if (m_loading || !m_selected)
        return;
    ApplyStyleControls(selectedField());
}

void TLayoutEditForm::ssbTateClick()
{
    if (m_loading || !m_selected)
        return;
    const FieldStyle& now = m_document->style(m_selected);
    const QString face = cmbFldFont->currentIndex() >= 0 ? cmbFldFont->currentText() : now.fontName;
    const int i = cmbFldFont->findText(LayoutRules::turnedFace(face, !now.tate));
    if (i >= 0) {
        const QSignalBlocker block(cmbFldFont);
        cmbFldFont->setCurrentIndex(i);
    }
    m_document->change(LayoutRules::turn(m_document->state(), m_selected, styleFromControls(m_selected)));
}

void TLayoutEditForm::cbBarcodeClick()
{
    if (m_loading || m_selected != FieldGeometry::kBarcodeField)
        return;
    FieldStyle s = m_document->style(FieldGeometry::kBarcodeField);
    s.barcode = cbBarcode->isChecked();
    // The box takes the symbol's length; a symbol longer than the room left is moved back
    // onto the card or label in the same step.
    m_document->change(LayoutRules::keepOnCard(LayoutRules::restyle(m_document->state(), FieldGeometry::kBarcodeField, s),
                                               FieldGeometry::kBarcodeField));
}

void TLayoutEditForm::ssbUndoClick()
{
    m_document->undo();
}

void TLayoutEditForm::ssbRedoClick()
{
    m_document->redo();
}

// --- print-item toggles, honorific, 〒 ----------------------------------------------------------

void TLayoutEditForm::itemToggleClick(TShineBtn* toggle)
{
    if (m_loading || !toggle)
        return;
    const int n = toggle->property("tag").toInt();
    if (n < 1 || n > kFieldCount)
        return;
    const bool show = toggle->isDown();
    // Hiding the selected field moves the selection on (showField); a shown field is selected.
    m_document->change(LayoutRules::setVisible(m_document->state(), n, show));
    if (show)
        selectField(n);
}

void TLayoutEditForm::cbKeishoClick()
{
    LayoutState s = m_document->state();
    s.honorific = HonorificChoice{cbKeisho->isChecked(), cmbKeisho->currentText()};
    m_document->change(s);
}

void TLayoutEditForm::cmbKeishoChange()
{
    LayoutState s = m_document->state();
    s.honorific.fixedText = cmbKeisho->currentText();
    m_document->change(s, LayoutDocument::Merge::Honorific);
}

void TLayoutEditForm::cbPostMarkClick()
{
    LayoutState s = m_document->state();
    s.senderPostMark = cbPostMark->isChecked();
    m_document->change(s);
}

// --- stamp -------------------------------------------------------------------------------------

bool TLayoutEditForm::loadStamp(const QString& fileName)
{
    const PictureFile picture = PictureFile::load(fileName);
    if (picture.isNull()) {
        Messages::current().warning(
            Messages::twoLines(QStringLiteral("画像を読み込めませんでした。"), picture.errorString()));
        return false;
    }
    showPicture(imgStamp, picture);
    imgStamp->setStretch(true);
    m_stampShown = fileName;
    m_document->change(LayoutRules::placeStamp(m_document->state(), fileName, picture.layoutSize()));
    showStamp(); // the same file read again still shows its new picture
    return true;
}

void TLayoutEditForm::bbtnStampReadClick()
{
    const QString stamp = stampFile();
    OpenFileRequest request;
    request.title = QStringLiteral("画像イメージ読込");
    request.filter = QStringLiteral("画像ファイル (*.bmp;*.emf;*.jpg;*.ico;)|*.bmp;*.emf;*.jpg;*.ico;");
    request.fileName = stamp;
    request.initialDir = stamp.isEmpty() ? AppPaths::settingsDirectory() : QFileInfo(stamp).absolutePath();
    const QString path = CommonDialogs::current().openPicture(request, this);
    if (path.isEmpty())
        return;
    loadStamp(path);
}

void TLayoutEditForm::bbtnClearClick()
{
    LayoutState s = m_document->state();
    s.stamp = ImageBox();
    m_document->change(s);
}

// --- sender, help, printer, offsets --------------------------------------------------------------

void TLayoutEditForm::ssbMotoClick()
{
    if (TFrmSetMoto::execOver(this)) {
        m_fields->sender = AppSettings::instance().sender;
        RefreshRecord();
    }
}

void TLayoutEditForm::ssbHelpClick()
{
    HelpWindow::showHelp(m_params.helpContext, this);
}

void TLayoutEditForm::ssbPrintClick()
{
    if (!PrinterDialogs::current().printerSetup(this))
        return;
    plSetPrinter->ReadFromPrinter(false);
    if (!plSetPrinter->saveToFile(printerFilePath())) {
        Messages::current().warning(Messages::twoLines(QStringLiteral("プリンタ設定を保存できませんでした。"),
                                                       plSetPrinter->errorString()));
    }
    ShowPaperInfo();
}

void TLayoutEditForm::ShowPaperInfo()
{
    lblPrinterName->setText(plSetPrinter->PrinterName());
    lblPaperName->setText(plSetPrinter->PaperName());
    const int dpi = plSetPrinter->LogPixelsX();
    if (dpi > 0) {
        auto mm = [dpi](int deviceUnits) {
            return LayoutUnits::millimetres(int(std::trunc(double(deviceUnits) * 254.0 / dpi + 0.5)));
        };
        lblPaperH->setText(mm(plSetPrinter->PhysicalHeight()));
        lblPaperW->setText(mm(plSetPrinter->PhysicalWidth()));
    } else {
        // No printer: nothing to show.
        lblPaperH->clear();
        lblPaperW->clear();
    }
    // A paper that is not the form's is marked in red, the reason in the tip; the print
    // question says it again.
    const QString wrong = FormPapers::mismatch(*plSetPrinter, formPaper());
    for (QLabel* l : { lblPaperName, lblPaperH, lblPaperW }) {
        QPalette pal = l->parentWidget()->palette();
        if (!wrong.isEmpty())
            pal.setColor(QPalette::WindowText, Qt::red);
        l->setPalette(pal);
        l->setToolTip(wrong);
    }
    DrawPrintableArea();
}

void TLayoutEditForm::moveOffset(int dx, int dy)
{
    if (const auto next = LayoutRules::moveOffset(m_document->state(), dx, dy))
        m_document->change(*next);
}

void TLayoutEditForm::spbOfsetUpClick()
{
    moveOffset(0, -1);
}

void TLayoutEditForm::spbOfsetDownClick()
{
    moveOffset(0, 1);
}

void TLayoutEditForm::spbOfsetLeftClick()
{
    moveOffset(-1, 0);
}

void TLayoutEditForm::spbOfsetRightClick()
{
    moveOffset(1, 0);
}

// --- print run ---------------------------------------------------------------------------------

bool TLayoutEditForm::confirmPrint(const QString& noRecords, const PrintCheckReport& report)
{
    if (records().isEmpty()) {
        Messages::current().warning(noRecords);
        return false;
    }
    const QString wrong = FormPapers::mismatch(*plSetPrinter, formPaper());
    const PrintCheckReport overflows = report.only(PrintFinding::Kind::TextOverflow);
    if (!overflows.isEmpty()) {
        const QString piece = m_params.kind == LayoutKind::Postcard ? QStringLiteral("ハガキ") : QStringLiteral("ラベル");
        QStringList text{
            QStringLiteral("枠に収まらない文字があります（%1 %2 枚）。").arg(piece).arg(overflows.records().size())};
        text += report.lines();
        text << QString() << QStringLiteral("このまま印刷しますか？")
             << QStringLiteral("（「いいえ」で枠に収まらない宛名を表示します。「枠外」で次の宛名に進みます）");
        if (!Messages::current().askYesNo(text.join(QStringLiteral("\r\n")))) {
            showRecord(overflows.nextRecord(m_current - 1));
            return false;
        }
        // Printing anyway: a paper that is not the form's still has its own question.
        return wrong.isEmpty()
            || Messages::current().askYesNo(
                Messages::twoLines(wrong, QStringLiteral("この用紙に印刷します。よろしいですか？")));
    }
    if (!report.isEmpty())
        Messages::current().warning(report.lines().join(QStringLiteral("\r\n")));
    if (!wrong.isEmpty())
        return Messages::current().askYesNo(
            Messages::twoLines(wrong, QStringLiteral("この用紙に印刷します。よろしいですか？")));
    return Messages::current().askYesNo(
        Messages::twoLines(QStringLiteral("印刷します。"), QStringLiteral("よろしいですか？")));
}

bool TLayoutEditForm::runPrint(std::shared_ptr<const PrintRun> run)
{
    bbtnPrint->setEnabled(false);
    bool ok = false;
    try {
        run->prepare(*plPrev1);
        // The form is blocked while the preview window is open, so one run serves it.
        if (plPrev1->BeginPreview([this, run] { run->drawPage(*plPrev1); })) {
            plPrev1->setFormWindowState(TplPrev::fwWorkArea);
            ok = plPrev1->ShowPreview();
        }
    } catch (const std::exception& e) {
        Messages::current().warning(
            Messages::twoLines(QStringLiteral("印刷を続けられませんでした。"), QString::fromLocal8Bit(e.what())));
    } catch (...) {
        Messages::current().warning(QStringLiteral("印刷を続けられませんでした。"));
    }
    updatePrintButton();
    return ok;
}

// --- closing -----------------------------------------------------------------------------------

void TLayoutEditForm::bbtnCloseClick()
{
    close();
}

void TLayoutEditForm::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        TFrmBase1::closeEvent(event);
        return;
    }
    const Messages::Answer answer = Messages::current().askYesNoCancel(kSaveQuestion);
    if (answer == Messages::Answer::Cancel) {
        event->ignore();
        return;
    }
    if (answer == Messages::Answer::Yes) {
        AppSettings& s = AppSettings::instance();
        storeLayout(s);
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        const bool ok = SaveLayoutSettings(settingsGroup());
        QGuiApplication::restoreOverrideCursor();
        if (ok)
            Messages::current().information(kSaved);
        else
            Messages::current().warning(kSaveFailed);
    }
    m_closing = true;
    restoreScreenCursor();
    TFrmBase1::closeEvent(event);
}

// --- mouse and keys ----------------------------------------------------------------------------

void TLayoutEditForm::setScreenCursor(Qt::CursorShape shape)
{
    m_screenCursor = shape;
    pnlCard->setCursor(QCursor(shape));
}

void TLayoutEditForm::restoreScreenCursor()
{
    m_screenCursor = m_savedCursor;
    if (m_savedCursor == Qt::ArrowCursor)
        pnlCard->unsetCursor();
    else
        pnlCard->setCursor(QCursor(m_savedCursor));
}

void TLayoutEditForm::putPointerBack()
{
    QCursor::setPos(screen() ? screen() : QGuiApplication::primaryScreen(), m_lastScreen);
}

bool TLayoutEditForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (undoKey(key) || arrowKey(key))
                return true;
        }
        return false;
    }
    if (auto* b = qobject_cast<TPaintBoxEL*>(watched); b && m_fields && m_fields->fieldOf(b)) {
        const int n = m_fields->fieldOf(b);
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            fieldMouseDown(n, static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            fieldMouseMove(n, static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            fieldMouseUp();
            return true;
        case QEvent::Leave:
            if (!m_dragging)
                restoreScreenCursor();
            break;
        default:
            break;
        }
        return false;
    }
    if (watched == imgStamp) {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            stampMouseDown(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            stampMouseMove(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            stampMouseUp();
            return true;
        case QEvent::Leave:
            if (!m_dragging)
                restoreScreenCursor();
            break;
        default:
            break;
        }
    }
    return TFrmBase1::eventFilter(watched, event);
}

void TLayoutEditForm::fieldMouseDown(int n, QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    m_grab = LayoutRules::Grab();
    m_dragging = event->button() == Qt::LeftButton;
    if (m_dragging) {
        m_grab = LayoutRules::grabField(m_document->state(), n, p);
        if (!LayoutRules::isPinned(m_document->state(), n))
            setScreenCursor(m_grab.edgeH   ? Qt::SizeHorCursor
                            : m_grab.edgeV ? Qt::SizeVerCursor
                                           : Qt::DragMoveCursor);
        m_document->beginGesture();
    }
    selectField(n);
    m_lastScreen = event->globalPosition().toPoint();
}

void TLayoutEditForm::fieldHover(int n, const QPoint& p)
{
    const LayoutState& s = m_document->state();
    if (LayoutRules::isPinned(s, n))
        return;
    const LayoutRules::Grab g = LayoutRules::grabField(s, n, p);
    setScreenCursor(g.edgeH ? Qt::SizeHorCursor : g.edgeV ? Qt::SizeVerCursor : Qt::PointingHandCursor);
}

void TLayoutEditForm::fieldMouseMove(int n, QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton) || !m_dragging) {
        fieldHover(n, p);
        return;
    }
    if (n != m_selected || !m_grab.active())
        return;
    const LayoutRules::DragStep step = LayoutRules::dragField(m_document->state(), n, m_grab, p);
    m_document->showGesture(step.layout);
    if (step.refused)
        putPointerBack();
    else
        m_lastScreen = event->globalPosition().toPoint();
}

void TLayoutEditForm::fieldMouseUp()
{
    m_dragging = false;
    m_grab = LayoutRules::Grab();
    restoreScreenCursor();
    m_document->endGesture();
}

void TLayoutEditForm::stampMouseDown(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    m_dragging = event->button() == Qt::LeftButton;
    m_grab = LayoutRules::Grab();
    if (!m_dragging)
        return;
    m_grab = LayoutRules::grabStamp(imgStamp->geometry(), p);
    setScreenCursor(stampCursor(m_grab.edgeH, m_grab.edgeV, Qt::DragMoveCursor));
    m_lastScreen = event->globalPosition().toPoint();
    m_document->beginGesture();
}

void TLayoutEditForm::stampHover(const QPoint& p)
{
    const LayoutRules::Grab g = LayoutRules::grabStamp(imgStamp->geometry(), p);
    setScreenCursor(stampCursor(g.edgeH, g.edgeV, Qt::PointingHandCursor));
}

void TLayoutEditForm::stampMouseMove(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton) || !m_dragging) {
        stampHover(p);
        return;
    }
    const LayoutRules::DragStep step = LayoutRules::dragStamp(m_document->state(), m_grab, p);
    m_document->showGesture(step.layout);
    if (step.refused)
        putPointerBack();
    else
        m_lastScreen = event->globalPosition().toPoint();
}

void TLayoutEditForm::stampMouseUp()
{
    const bool wasDragging = m_dragging;
    m_dragging = false;
    m_grab = LayoutRules::Grab();
    setScreenCursor(Qt::ArrowCursor);
    restoreScreenCursor();
    if (wasDragging) {
        bool broughtBack = false;
        const LayoutState dropped = LayoutRules::dropStamp(m_document->state(), &broughtBack);
        if (broughtBack) {
            Messages::current().warning(Messages::twoLines(kStampOutside1, kStampOutside2));
            m_document->showGesture(dropped);
        }
    }
    m_document->endGesture();
}

bool TLayoutEditForm::undoKey(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    const int key = event->key();
    if (key == Qt::Key_Z && mods == Qt::ControlModifier) {
        m_document->undo();
        return true;
    }
    if ((key == Qt::Key_Y && mods == Qt::ControlModifier)
        || (key == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier))) {
        m_document->redo();
        return true;
    }
    return false;
}

bool TLayoutEditForm::arrowKey(QKeyEvent* event)
{
    const int key = event->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    if (!m_selected)
        return false;
    // A combo box with the focus keeps its arrow keys (an editable one has a line edit inside).
    const QWidget* focus = focusWidget();
    if (focus && (qobject_cast<const QComboBox*>(focus) || qobject_cast<const QComboBox*>(focus->parentWidget())))
        return false;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (const auto next = LayoutRules::arrowKey(m_document->state(), m_selected, arrowOf(key), shift))
        m_document->change(*next, LayoutDocument::Merge::KeyMove, m_selected);
    return true;
}
