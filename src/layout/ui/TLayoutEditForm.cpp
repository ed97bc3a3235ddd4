#include "layout/ui/TLayoutEditForm.h"

#include "app/AppSettings.h"
#include "app/CsvSource.h"
#include "app/ui/TFrmSetMoto.h"
#include "controls/Glyphs.h"
#include "controls/Hint.h"
#include "controls/TNumberEdit.h"
#include "controls/TShineBtn.h"
#include "layout/FieldCaptions.h"
#include "layout/LayoutSnapshot.h"
#include "layout/LayoutUnits.h"
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
#include <QTabWidget>

#include <cmath>

namespace {

constexpr int kEdgeZone = 5;          // grab zone at a box's edges
constexpr int kMinHorizontal = 10;    // shortest horizontal field
constexpr int kMinVertical = 15;      // shortest vertical field
constexpr int kMinStamp = 15;         // smallest stamp side
constexpr int kOffsetLimit = 100;     // position adjustment, tenths of a millimetre

// Which edge of a box or the stamp, `extent` long, a point at `pos` grabs: 1 the left (top), 2 the
// right (bottom), 0 neither.
int edgeAt(int pos, int extent)
{
    return pos < kEdgeZone ? 1 : pos >= extent - kEdgeZone ? 2 : 0;
}

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
        const QSizeF natural = picture.naturalSize();
        image->setPicture([svg](QPainter& p, const QRectF& target) { svg->render(&p, target); },
                          QSize(qMax(1, qRound(natural.width())), qMax(1, qRound(natural.height()))));
    } else if (!picture.image().isNull()) {
        image->setPicture(picture.image());
    } else {
        image->clear();
    }
}

} // namespace

TLayoutEditForm::TLayoutEditForm(const Params& params, QWidget* parent)
    : TFrmBase1(parent), m_params(params)
{
    setWindowTitle(params.caption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setMinimumSize(670, 620);
    resize(params.clientSize.expandedTo(QSize(670, 620)));
    createControls();
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
    pnlCard->resize(m_params.cardSize);
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

    m_fields = new LayoutFields(m_params.form, pnlCard, this);
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
                             FieldCaptions::caption(n, m_params.form == LayoutFields::Form::Label)
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
    connect(ssbCsvFirst, &TShineBtn::clicked, this, &TLayoutEditForm::ssbCsvFirstClick);
    connect(ssbCsvPrior, &TShineBtn::clicked, this, &TLayoutEditForm::ssbCsvPriorClick);
    connect(ssbCsvNext, &TShineBtn::clicked, this, &TLayoutEditForm::ssbCsvNextClick);
    connect(ssbCsvLast, &TShineBtn::clicked, this, &TLayoutEditForm::ssbCsvLastClick);

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
    return m_params.form == LayoutFields::Form::Postcard ? FormPaper::Postcard : FormPaper::A4;
}

FieldStyles& TLayoutEditForm::storedFields(AppSettings& s) const
{
    return m_params.form == LayoutFields::Form::Postcard ? s.postcardFields : s.labelFields;
}

ImageBox& TLayoutEditForm::storedImage(AppSettings& s) const
{
    return m_params.form == LayoutFields::Form::Postcard ? s.postcardImage : s.labelImage;
}

SettingsGroup TLayoutEditForm::settingsGroup() const
{
    return m_params.form == LayoutFields::Form::Postcard ? SettingsGroup::Postcard : SettingsGroup::Label;
}

void TLayoutEditForm::loadOwnSettings(const AppSettings&, bool) {}
void TLayoutEditForm::storeOwnSettings(AppSettings&) const {}
void TLayoutEditForm::showFieldPosition() {}

bool TLayoutEditForm::isPinned(const TPaintBoxEL*) const
{
    return false;
}

bool TLayoutEditForm::stampOutside(const QRect& s) const
{
    const QSize card = cardSize();
    return s.y() + s.height() < 0 || s.x() + s.width() < 0 || s.y() > card.height() || s.x() > card.width();
}

int TLayoutEditForm::minimumLength(const TPaintBoxEL* box)
{
    return box->Tate() ? kMinVertical : kMinHorizontal;
}

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

    m_loading = true;
    const FieldStyles& styles = storedFields(s);
    for (int n = 1; n <= kFieldCount; ++n) {
        m_fields->applyStyle(n, styles[n - 1]);
        itemToggles[n - 1]->setDown(styles[n - 1].visible);
    }
    loadOwnSettings(s, false);
    m_loading = false;

    // The stamp: a file that no longer exists is forgotten.
    const ImageBox& image = storedImage(s);
    m_stampFile.clear();
    imgStamp->clear();
    imgStamp->setGeometry(0, 0, 0, 0);
    edtStampPath->clear();
    if (!image.path.trimmed().isEmpty()) {
        // A relative name counts from the current folder, as the address list's does.
        const QFileInfo info(image.path);
        if (info.exists() && info.isFile()) {
            m_stampFile = image.path;
            edtStampPath->setText(image.path);
            showPicture(imgStamp, PictureFile::load(info.filePath()));
            imgStamp->setStretch(true);
            imgStamp->setGeometry(image.left, image.top, image.width, image.height);
        }
    }

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

    const double offsetY = m_params.form == LayoutFields::Form::Postcard ? s.postcardOffsetY : s.labelOffsetY;
    const double offsetX = m_params.form == LayoutFields::Form::Postcard ? s.postcardOffsetX : s.labelOffsetX;
    auto inRange = [](double mm) {
        const long t = std::isfinite(mm) && std::fabs(mm) < 1e6 ? std::lround(mm * 10) : 0;
        return double(qBound<long>(-kOffsetLimit, t, long(kOffsetLimit))) / 10.0;
    };
    nedtOfsetY->setValue(inRange(offsetY));
    nedtOfsetX->setValue(inRange(offsetX));
    cbPostMark->setChecked(m_params.form == LayoutFields::Form::Postcard ? s.postcardPostMark : s.labelPostMark);
    m_fields->senderPostMark = cbPostMark->isChecked();
    m_fields->honorific = {cbKeisho->isChecked(), cmbKeisho->currentText()};

    m_selected = FirstVisibleField();
    ShowFieldStyle(m_selected);

    m_loading = true;
    loadOwnSettings(s, true);
    for (TPaintBoxEL* b : m_fields->boxes())
        m_fields->ApplyFieldFont(b);
    fontsApplied();
    repairOffCardFields();

    m_loading = false;
    RefreshRecord();
    UpdateNavButtons();
    m_fields->setSelected(m_selected);
    if (m_selected)
        m_selected->update();
}

void TLayoutEditForm::repairOffCardFields()
{
    // Values a hand-edited settings file may hold: a box shorter than the shortest a user can
    // make, or lying (partly) off the card where nobody could reach it again.
    const QSize card = cardSize();
    QStringList moved;
    for (TPaintBoxEL* b : m_fields->boxes()) {
        if (isPinned(b))
            continue;
        const QRect before = b->geometry();
        // A postal-digit box has its fixed size; only its place can be wrong.
        if (!b->Post() && b->Tate() && b->height() < kMinVertical)
            b->resize(b->width(), kMinVertical);
        if (!b->Post() && !b->Tate() && b->width() < kMinHorizontal)
            b->resize(kMinHorizontal, b->height());
        const QRect g = b->geometry();
        if (g.left() < 0 || g.top() < 0 || g.right() >= card.width() || g.bottom() >= card.height())
            keepBoxOnCard(b);
        if (b->geometry() != before)
            moved << FieldCaptions::caption(b->Field(), m_params.form == LayoutFields::Form::Label);
    }
    const QRect st = imgStamp->geometry();
    if (!m_stampFile.isEmpty() && (st.width() < kMinStamp || st.height() < kMinStamp || stampOutside(st))) {
        QSize size = st.size();
        if (size.width() < kMinStamp || size.height() < kMinStamp)
            size = imgStamp->naturalSize().isValid() ? imgStamp->naturalSize() : QSize(76, 90);
        imgStamp->setGeometry(stampOutside(QRect(st.topLeft(), size)) ? QRect(QPoint(0, 0), size)
                                                                       : QRect(st.topLeft(), size));
        moved << QStringLiteral("画像");
    }
    if (!moved.isEmpty()) {
        Messages::current().warning(Messages::twoLines(
            QStringLiteral("用紙からはみ出していた項目を用紙内に戻しました。"), moved.join(QStringLiteral("、"))));
    }
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

void TLayoutEditForm::fillLayoutSnapshot(LayoutSnapshot& s) const
{
    m_fields->fillSnapshot(s);
    if (!m_stampFile.trimmed().isEmpty()) {
        s.stamp.path = QFileInfo(m_stampFile).absoluteFilePath();
        s.stamp.top = imgStamp->y();
        s.stamp.left = imgStamp->x();
        s.stamp.width = imgStamp->width();
        s.stamp.height = imgStamp->height();
    }
    s.offsetX = LayoutSnapshot::offsetTenths(nedtOfsetX->value());
    s.offsetY = LayoutSnapshot::offsetTenths(nedtOfsetY->value());
}

void TLayoutEditForm::CenterCard()
{
    const QSize base = pnlCardBase->size();
    const QSize card = pnlCard->size();
    pnlCard->move((base.width() - card.width()) / 2, (base.height() - card.height()) / 2);
}

// --- records ---------------------------------------------------------------------------------

void TLayoutEditForm::RefreshRecord()
{
    if (m_loading)
        return;
    m_fields->honorific = {cbKeisho->isChecked(), cmbKeisho->currentText()};
    m_fields->senderPostMark = cbPostMark->isChecked();
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
}

void TLayoutEditForm::showRecord(int index)
{
    const int count = int(m_fields->records.size());
    // Without records there is nothing to step to; the index stays 0.
    m_current = count > 0 ? qBound(0, index, count - 1) : 0;
    RefreshRecord();
    UpdateNavButtons();
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

// --- selection and style controls ----------------------------------------------------------------

TPaintBoxEL* TLayoutEditForm::FirstVisibleField()
{
    for (TPaintBoxEL* b : m_fields->boxes()) {
        if (!b->isHidden()) {
            EnableStyleControls(true);
            return b;
        }
    }
    m_selected = nullptr;
    lblFld->clear();
    showFieldPosition();
    EnableStyleControls(false);
    return nullptr;
}

void TLayoutEditForm::EnableStyleControls(bool on)
{
    cmbFldFont->setEnabled(on);
    cmbFontSize->setEnabled(on);
    for (TShineBtn* b : {ssbTate, ssbBold, ssbIta, ssbLeft, ssbCenter, ssbRight})
        b->setEnabled(on);
}

void TLayoutEditForm::ShowFieldStyle(TPaintBoxEL* b)
{
    if (!b)
        return;
    // Enabling a styled button raises it, so the enabled state goes first and the down
    // states after it.
    const bool free = !b->Post();
    for (TShineBtn* t : {ssbTate, ssbLeft, ssbCenter, ssbRight})
        t->setEnabled(free);
    lblFld->setText(FieldCaptions::caption(b->Field(), m_params.form == LayoutFields::Form::Label));
    {
        const QSignalBlocker b1(cmbFldFont);
        const QSignalBlocker b2(cmbFontSize);
        cmbFldFont->setCurrentIndex(cmbFldFont->findText(b->FontName()));
        const int size = b->FontSize() == 0 ? 9 : std::abs(b->FontSize());
        cmbFontSize->setCurrentIndex(cmbFontSize->findText(QString::number(size)));
    }
    ssbTate->setDown(b->Tate());
    ssbIta->setDown(b->Ita());
    ssbBold->setDown(b->Bold());
    switch (b->Alignment()) {
    case TPaintBoxEL::taCenter:
        ssbCenter->setDown(true);
        break;
    case TPaintBoxEL::taRightJustify:
        ssbRight->setDown(true);
        break;
    default:
        ssbLeft->setDown(true);
        break;
    }
    edtDummy->setFocus();
}

void TLayoutEditForm::ApplyStyleControls(TPaintBoxEL* b)
{
    if (!b)
        return;
    bool ok = false;
    const int size = cmbFontSize->currentText().toInt(&ok);
    b->setFontSize(ok ? size : 9);
    // Disabled controls (a postal box) leave their values as they are.
    if (ssbTate->isEnabled())
        b->setTate(ssbTate->isDown());
    b->setBold(ssbBold->isDown());
    b->setIta(ssbIta->isDown());
    if (ssbLeft->isEnabled()) {
        if (ssbLeft->isDown())
            b->setAlignment(TPaintBoxEL::taLeftJustify);
        else if (ssbCenter->isDown())
            b->setAlignment(TPaintBoxEL::taCenter);
        else if (ssbRight->isDown())
            b->setAlignment(TPaintBoxEL::taRightJustify);
    }
    // A face that is not installed shows no selection; the box keeps its face then.
    if (cmbFldFont->currentIndex() >= 0)
        b->setFontName(cmbFldFont->currentText());
    b->update();
    m_fields->ApplyFieldFont(b);
}

void TLayoutEditForm::styleControlChanged()
{
    if (m_loading || !m_selected)
        return;
    ApplyStyleControls(m_selected);
}

void TLayoutEditForm::ssbTateClick()
{
    if (m_loading || !m_selected)
        return;
    QString face = cmbFldFont->currentIndex() >= 0 ? cmbFldFont->currentText() : m_selected->FontName();
    if (m_selected->Tate()) {
        if (face.startsWith(QLatin1Char('@')))
            face.remove(0, 1);
    } else if (!face.startsWith(QLatin1Char('@'))) {
        face.prepend(QLatin1Char('@'));
    }
    const int i = cmbFldFont->findText(face);
    if (i >= 0) {
        const QSignalBlocker block(cmbFldFont);
        cmbFldFont->setCurrentIndex(i);
    }
    ApplyStyleControls(m_selected);
    keepBoxOnCard(m_selected);
}

void TLayoutEditForm::keepBoxOnCard(TPaintBoxEL* b)
{
    if (!b || isPinned(b))
        return;
    const QSize card = cardSize();
    QRect g = b->geometry();
    if (g.left() < 0)
        g.moveLeft(1);
    if (g.top() < 0)
        g.moveTop(1);
    if (g.top() + g.height() > card.height()) {
        // A box longer than the card is cut to it, as a box wider than the card is.
        if (g.height() > card.height())
            g = QRect(g.left(), 1, g.width(), card.height() - 2);
        else
            g.moveTop(card.height() - g.height() - 1);
    }
    if (g.left() + g.width() > card.width()) {
        if (g.width() > card.width())
            g = QRect(1, g.top(), card.width() - 2, g.height());
        else
            g.moveLeft(card.width() - g.width() - 1);
    }
    b->setGeometry(g);
}

void TLayoutEditForm::selectField(TPaintBoxEL* b)
{
    if (m_selected && m_selected != b) {
        m_selected->setLineColor(LayoutFields::kNormalLine);
        m_selected->update();
    }
    m_selected = b;
    if (b) {
        b->setLineColor(LayoutFields::kSelectedLine);
        b->update();
        ShowFieldStyle(b);
    }
}

// --- print-item toggles, honorific, 〒 ----------------------------------------------------------

void TLayoutEditForm::itemToggleClick(TShineBtn* toggle)
{
    if (m_loading || !toggle)
        return;
    const int n = toggle->property("tag").toInt();
    TPaintBoxEL* b = box(n);
    if (!b)
        return;
    if (m_selected) {
        m_selected->setLineColor(LayoutFields::kNormalLine);
        m_selected->update();
    }
    if (toggle->isDown()) {
        if (!m_selected)
            EnableStyleControls(true);
        b->setVisible(true);
        m_selected = b;
    } else {
        b->setVisible(false);
        if (b == m_selected) {
            b->setLineColor(LayoutFields::kNormalLine);
            m_selected = FirstVisibleField();
        }
    }
    if (m_selected) {
        m_selected->setLineColor(LayoutFields::kSelectedLine);
        m_selected->update();
        ShowFieldStyle(m_selected);
    }
    if (n == 4 || n == 5)
        m_fields->ApplyHonorific();
}

void TLayoutEditForm::cbKeishoClick()
{
    cmbKeisho->setVisible(!cbKeisho->isChecked());
    m_fields->honorific = {cbKeisho->isChecked(), cmbKeisho->currentText()};
    m_fields->ApplyHonorific();
}

void TLayoutEditForm::cmbKeishoChange()
{
    m_fields->honorific = {cbKeisho->isChecked(), cmbKeisho->currentText()};
    m_fields->ApplyHonorific();
}

void TLayoutEditForm::cbPostMarkClick()
{
    m_fields->senderPostMark = cbPostMark->isChecked();
    if (TPaintBoxEL* b = box(7))
        b->update();
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
    m_stampFile = fileName;
    edtStampPath->setText(fileName);
    imgStamp->setStretch(false);
    showPicture(imgStamp, picture);
    imgStamp->autoSize();
    // A picture larger than the card would hide its own edges; it comes in fitted to the card.
    QSize size = imgStamp->size();
    if (size.width() > cardSize().width() || size.height() > cardSize().height())
        size = size.scaled(cardSize(), Qt::KeepAspectRatio).expandedTo(QSize(kMinStamp, kMinStamp));
    imgStamp->setStretch(true);
    imgStamp->setGeometry(0, 0, size.width(), size.height());
    imgStamp->show();
    return true;
}

void TLayoutEditForm::bbtnStampReadClick()
{
    OpenFileRequest request;
    request.title = QStringLiteral("画像イメージ読込");
    request.filter = QStringLiteral("画像ファイル (*.bmp;*.emf;*.jpg;*.ico;)|*.bmp;*.emf;*.jpg;*.ico;");
    request.fileName = m_stampFile;
    request.initialDir = m_stampFile.isEmpty() ? AppPaths::settingsDirectory()
                                               : QFileInfo(m_stampFile).absolutePath();
    const QString path = CommonDialogs::current().openPicture(request, this);
    if (path.isEmpty())
        return;
    loadStamp(path);
}

void TLayoutEditForm::bbtnClearClick()
{
    m_stampFile.clear();
    imgStamp->clear();
    imgStamp->setGeometry(0, 0, 0, 0);
    edtStampPath->clear();
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

void TLayoutEditForm::moveOffset(TNumberEdit* edit, int tenths)
{
    const long t = std::lround(edit->value() * 10) + tenths;
    if (t < -kOffsetLimit || t > kOffsetLimit)
        return;
    edit->setValue(double(t) / 10.0);
}

void TLayoutEditForm::spbOfsetUpClick()
{
    moveOffset(nedtOfsetY, -1);
}

void TLayoutEditForm::spbOfsetDownClick()
{
    moveOffset(nedtOfsetY, 1);
}

void TLayoutEditForm::spbOfsetLeftClick()
{
    moveOffset(nedtOfsetX, -1);
}

void TLayoutEditForm::spbOfsetRightClick()
{
    moveOffset(nedtOfsetX, 1);
}

// --- print run ---------------------------------------------------------------------------------

bool TLayoutEditForm::confirmPrint(const QString& noRecords, const QStringList& findings)
{
    if (records().isEmpty()) {
        Messages::current().warning(noRecords);
        return false;
    }
    if (!findings.isEmpty())
        Messages::current().warning(findings.join(QStringLiteral("\r\n")));
    const QString wrong = FormPapers::mismatch(*plSetPrinter, formPaper());
    if (!wrong.isEmpty())
        return Messages::current().askYesNo(
            Messages::twoLines(wrong, QStringLiteral("この用紙に印刷します。よろしいですか？")));
    return Messages::current().askYesNo(
        Messages::twoLines(QStringLiteral("印刷します。"), QStringLiteral("よろしいですか？")));
}

bool TLayoutEditForm::runPrint(const QString& title, int pageCount, std::function<void()> drawPage)
{
    bbtnPrint->setEnabled(false);
    bool ok = false;
    try {
        plPrev1->setTitle(title);
        plPrev1->setPageCount(pageCount);
        if (plPrev1->BeginPreview(std::move(drawPage))) {
            plPrev1->setFormWindowState(TplPrev::fwWorkArea);
            ok = plPrev1->ShowPreview();
        }
    } catch (const std::exception& e) {
        Messages::current().warning(
            Messages::twoLines(QStringLiteral("印刷を続けられませんでした。"), QString::fromLocal8Bit(e.what())));
    } catch (...) {
        Messages::current().warning(QStringLiteral("印刷を続けられませんでした。"));
    }
    bbtnPrint->setEnabled(true);
    return ok;
}

// --- closing -----------------------------------------------------------------------------------

void TLayoutEditForm::bbtnCloseClick()
{
    close();
}

void TLayoutEditForm::storeLayout(AppSettings& s) const
{
    FieldStyles& fs = storedFields(s);
    for (int n = 1; n <= kFieldCount; ++n) {
        const FieldStyle keep = fs[n - 1];
        FieldStyle st = m_fields->style(n);
        st.postWaku = keep.postWaku;
        fs[n - 1] = st;
    }
    ImageBox& img = storedImage(s);
    img.path = m_stampFile;
    if (m_stampFile.isEmpty()) {
        img.top = img.left = img.width = img.height = 0;
    } else {
        img.top = imgStamp->y();
        img.left = imgStamp->x();
        img.width = imgStamp->width();
        img.height = imgStamp->height();
    }
    if (m_params.form == LayoutFields::Form::Postcard) {
        s.postcardOffsetX = nedtOfsetX->value();
        s.postcardOffsetY = nedtOfsetY->value();
        s.postcardPostMark = cbPostMark->isChecked();
    } else {
        s.labelOffsetX = nedtOfsetX->value();
        s.labelOffsetY = nedtOfsetY->value();
        s.labelPostMark = cbPostMark->isChecked();
    }
    storeOwnSettings(s);
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
        if (w && w->window() == this && arrowKey(static_cast<QKeyEvent*>(event)))
            return true;
        return false;
    }
    if (auto* b = qobject_cast<TPaintBoxEL*>(watched); b && m_fields && m_fields->fieldOf(b)) {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            fieldMouseDown(b, static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            fieldMouseMove(b, static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            fieldMouseUp(b);
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

void TLayoutEditForm::fieldMouseDown(TPaintBoxEL* b, QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    m_downPoint = p;
    m_moving = false;
    m_edgeH = 0;
    m_edgeV = 0;
    m_dragging = event->button() == Qt::LeftButton;
    if (m_dragging) {
        // A box is lengthened along its writing direction; a postal box has a fixed size.
        if (!b->Post()) {
            if (!b->Tate())
                m_edgeH = edgeAt(p.x(), b->width());
            else
                m_edgeV = edgeAt(p.y(), b->height());
        }
        m_moving = m_edgeH == 0 && m_edgeV == 0;
        if (!isPinned(b))
            setScreenCursor(m_edgeH ? Qt::SizeHorCursor : m_edgeV ? Qt::SizeVerCursor : Qt::DragMoveCursor);
    }
    selectField(b);
    m_lastScreen = event->globalPosition().toPoint();
}

void TLayoutEditForm::fieldHover(TPaintBoxEL* b, const QPoint& p)
{
    if (isPinned(b))
        return;
    Qt::CursorShape shape = Qt::PointingHandCursor;
    if (!b->Post()) {
        if (!b->Tate() && edgeAt(p.x(), b->width()) != 0)
            shape = Qt::SizeHorCursor;
        else if (b->Tate() && edgeAt(p.y(), b->height()) != 0)
            shape = Qt::SizeVerCursor;
    }
    setScreenCursor(shape);
}

void TLayoutEditForm::fieldMouseMove(TPaintBoxEL* b, QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton) || !m_dragging) {
        fieldHover(b, p);
        return;
    }
    if (b != m_selected || isPinned(b))
        return;
    if (!m_moving && m_edgeH == 0 && m_edgeV == 0)
        return; // an edge drag that ended at the card's border

    const QSize card = cardSize();
    const QRect g = b->geometry();
    int left = g.x(), top = g.y(), width = g.width(), height = g.height();
    const int dx = p.x() - m_downPoint.x();
    const int dy = p.y() - m_downPoint.y();
    bool refused = false;

    if (m_edgeH == 1) {
        if (left + dx < 0) {
            m_edgeH = 0;
        } else {
            left += dx;
            width -= dx;
        }
    } else if (m_edgeH == 2) {
        if (left + width + dx > card.width()) {
            refused = true;
            m_edgeH = 0;
        } else {
            width += dx;
        }
    }
    if (m_edgeV == 1) {
        if (top + dy < 0) {
            m_edgeV = 0;
        } else {
            top += dy;
            height -= dy;
        }
    } else if (m_edgeV == 2) {
        // Cut at the card's bottom at once rather than one step later.
        if (top + height + dy > card.height()) {
            height = card.height() - top - 1;
            m_edgeV = 0;
        } else {
            height += dy;
        }
    }
    if (m_moving) {
        top += dy;
        left += dx;
        if (top > card.height() - height) {
            top = card.height() - height;
            refused = true;
        }
        if (top < 0) {
            top = 0;
            refused = true;
        }
        if (left > card.width() - width) {
            left = card.width() - width;
            refused = true;
        }
        if (left < 0) {
            left = 0;
            refused = true;
        }
    }
    bool keepPoint = false;
    if (!b->Tate() && width < kMinHorizontal) {
        width = g.width();
        left = g.x();
        refused = true;
        keepPoint = true;
    }
    if (b->Tate() && height < kMinVertical) {
        height = g.height();
        top = g.y();
        refused = true;
        keepPoint = true;
    }
    b->setGeometry(left, top, width, height);
    if (refused) {
        putPointerBack();
    } else {
        m_lastScreen = event->globalPosition().toPoint();
    }
    if (!keepPoint) {
        if (m_edgeH == 2)
            m_downPoint.setX(p.x());
        if (m_edgeV == 2)
            m_downPoint.setY(p.y());
    }
}

void TLayoutEditForm::fieldMouseUp(TPaintBoxEL*)
{
    m_dragging = false;
    m_moving = false;
    m_edgeH = 0;
    m_edgeV = 0;
    restoreScreenCursor();
}

void TLayoutEditForm::stampMouseDown(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    m_downPoint = p;
    m_edgeH = edgeAt(p.x(), imgStamp->width());
    m_edgeV = edgeAt(p.y(), imgStamp->height());
    m_moving = m_edgeH == 0 && m_edgeV == 0;
    m_dragging = event->button() == Qt::LeftButton;
    if (!m_dragging) {
        m_moving = false;
        m_edgeH = m_edgeV = 0;
        return;
    }
    setScreenCursor(stampCursor(m_edgeH, m_edgeV, Qt::DragMoveCursor));
    m_lastScreen = event->globalPosition().toPoint();
}

void TLayoutEditForm::stampHover(const QPoint& p)
{
    setScreenCursor(stampCursor(edgeAt(p.x(), imgStamp->width()), edgeAt(p.y(), imgStamp->height()),
                                Qt::PointingHandCursor));
}

void TLayoutEditForm::stampMouseMove(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton) || !m_dragging) {
        stampHover(p);
        return;
    }
    const QRect g = imgStamp->geometry();
    int left = g.x(), top = g.y(), width = g.width(), height = g.height();
    const int dx = p.x() - m_downPoint.x();
    const int dy = p.y() - m_downPoint.y();
    if (m_edgeH == 1) {
        left += dx;
        width -= dx;
    } else if (m_edgeH == 2) {
        width += dx;
    }
    if (m_edgeV == 1) {
        top += dy;
        height -= dy;
    } else if (m_edgeV == 2) {
        height += dy;
    }
    if (m_moving) {
        left += dx;
        top += dy;
    }
    bool refusedH = false, refusedV = false;
    if (width < kMinStamp) {
        width = g.width();
        left = g.x();
        refusedH = true;
    }
    if (height < kMinStamp) {
        height = g.height();
        top = g.y();
        refusedV = true;
    }
    imgStamp->setGeometry(left, top, width, height);
    if (refusedH || refusedV)
        putPointerBack();
    else
        m_lastScreen = event->globalPosition().toPoint();
    if (m_edgeH == 2 && !refusedH)
        m_downPoint.setX(p.x());
    if (m_edgeV == 2 && !refusedV)
        m_downPoint.setY(p.y());
}

void TLayoutEditForm::stampMouseUp()
{
    const bool wasDragging = m_dragging;
    m_dragging = false;
    m_moving = false;
    m_edgeH = 0;
    m_edgeV = 0;
    setScreenCursor(Qt::ArrowCursor);
    restoreScreenCursor();
    if (wasDragging && stampOutside(imgStamp->geometry())) {
        Messages::current().warning(Messages::twoLines(kStampOutside1, kStampOutside2));
        imgStamp->move(0, 0);
    }
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
    TPaintBoxEL* b = m_selected;
    if (isPinned(b))
        return true;
    const int d = (key == Qt::Key_Left || key == Qt::Key_Up) ? -1 : 1;
    const bool horizontalKey = key == Qt::Key_Left || key == Qt::Key_Right;
    QRect g = b->geometry();
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        if (horizontalKey)
            g.translate(d, 0);
        else
            g.translate(0, d);
    } else {
        if (b->Post())
            return true; // a postal box has a fixed size
        if (b->Tate()) {
            if (horizontalKey)
                return true;
            g.setHeight(g.height() + d);
            if (g.height() < kMinVertical)
                return true;
        } else {
            if (!horizontalKey)
                return true;
            g.setWidth(g.width() + d);
            if (g.width() < kMinHorizontal)
                return true;
        }
    }
    const QSize card = cardSize();
    if (g.top() < 0 || g.top() + g.height() > card.height() || g.left() < 0 || g.left() + g.width() > card.width())
        return true;
    b->setGeometry(g);
    return true;
}
