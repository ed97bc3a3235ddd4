#include "preview/ui/TplPrevForm.h"

#include "platform/Messages.h"
#include "platform/PrinterDialogs.h"
#include "platform/SystemPrinter.h"
#include "preview/PageExport.h"
#include "preview/PageMath.h"
#include "preview/TplSetPrinter.h"
#include "preview/ui/PreviewGlyphs.h"
#include "preview/ui/PreviewImage.h"
#include "preview/ui/PreviewShape.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QProgressDialog>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <exception>

using PageMath::HalfEven;
using PageMath::Trunc;

namespace {

const QString kDirectShow = QStringLiteral("プレビューフォームの直接表示はサポートしていません．　　");
const QString kDefaultTitle = QStringLiteral("印刷プレビュー");
const QString kPageFailed = QStringLiteral("頁を描画できませんでした．　　");
const QString kClipboardFailed = QStringLiteral("クリップボードにコピーできませんでした．　　");
const QString kPageTooLarge = QStringLiteral("頁が大きすぎてコピーできません．　　");
const QString kJobNotStarted = QStringLiteral("印刷を開始できません．　　");
const QString kJobNotSent = QStringLiteral("印刷データをプリンタへ送れませんでした．　　");
const QString kPrinting = QStringLiteral("印刷中です．　%1 / %2 頁");
const QString kSvgMime = QStringLiteral("image/svg+xml");
const QString kPngMime = QStringLiteral("image/png");

constexpr int kScrollMargin = 10; // auto-scroll margin of both scroll bars
constexpr int kShadowColor = 7631988; // $747474

QString formatMm(int tenths)
{
    return QString::number(tenths / 10.0, 'f', 1);
}

} // namespace

QString TplPrevForm::directShowMessage()
{
    return kDirectShow;
}

TplPrevForm::TplPrevForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("plPrevForm"));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    setMinimumSize(300, 300);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Tool bar: flat buttons with the glyph above the caption.
    IconBar = new QWidget(this);
    IconBar->setObjectName(QStringLiteral("IconBar"));
    IconBar->setFixedHeight(39);
    // The window may be narrower than its tool bar: the buttons are then cut off, not the
    // window held wide.
    IconBar->setMinimumWidth(1);
    auto* bar = new QHBoxLayout(IconBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(0);
    bar->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto spacer = [this, bar](const char* name) {
        auto* w = new QWidget(IconBar);
        w->setObjectName(QLatin1String(name));
        w->setFixedSize(15, 40);
        w->hide();
        bar->addWidget(w);
        return w;
    };
    PrintBtn = makeButton("PrintBtn", QStringLiteral("印刷 (&P)"), QStringLiteral("印刷"), 90, PreviewGlyphs::Print);
    PrinterSetBtn = makeButton("PrinterSetBtn", QStringLiteral("プリンタ・用紙"),
                               QStringLiteral("プリンタと用紙の設定保存"), 86, PreviewGlyphs::PrinterSetup);
    bar->addWidget(PrintBtn);
    bar->addWidget(PrinterSetBtn);
    Space10 = spacer("Space10");
    FirstPageBtn = makeButton("FirstPageBtn", QStringLiteral("先頭頁"), QStringLiteral("先頭頁"), 46,
                              PreviewGlyphs::FirstPage);
    PriorPageBtn = makeButton("PriorPageBtn", QStringLiteral("前頁"), QStringLiteral("前頁"), 49,
                              PreviewGlyphs::PriorPage);
    NextPageBtn = makeButton("NextPageBtn", QStringLiteral("次頁"), QStringLiteral("次頁"), 49,
                             PreviewGlyphs::NextPage);
    LastPageBtn = makeButton("LastPageBtn", QStringLiteral("最終頁"), QStringLiteral("最終頁"), 49,
                             PreviewGlyphs::LastPage);
    for (QToolButton* b : { FirstPageBtn, PriorPageBtn, NextPageBtn, LastPageBtn })
        bar->addWidget(b);
    Space20 = spacer("Space20");
    ZoomDownBtn = makeButton("ZoomDownBtn", QStringLiteral("縮小"), QStringLiteral("縮小"), 49, PreviewGlyphs::ZoomDown);
    ZoomUpBtn = makeButton("ZoomUpBtn", QStringLiteral("拡大"), QStringLiteral("拡大"), 49, PreviewGlyphs::ZoomUp);
    PageWholeBtn = makeButton("PageWholeBtn", QStringLiteral("全体"), QStringLiteral("全体表示"), 49,
                              PreviewGlyphs::PageWhole);
    PageWidthBtn = makeButton("PageWidthBtn", QStringLiteral("頁幅"), QStringLiteral("横幅基準表示"), 49,
                              PreviewGlyphs::PageWidth);
    for (QToolButton* b : { ZoomDownBtn, ZoomUpBtn, PageWholeBtn, PageWidthBtn })
        bar->addWidget(b);
    Space30 = spacer("Space30");
    CloseBtn = makeButton("CloseBtn", QStringLiteral("閉じる(&X)"), QStringLiteral("閉じる"), 104, PreviewGlyphs::Close);
    bar->addWidget(CloseBtn);
    bar->addStretch(1);

    PrinterSetBtn->hide();
    for (QToolButton* b : { PrintBtn, PrinterSetBtn, FirstPageBtn, PriorPageBtn, NextPageBtn, LastPageBtn,
                            ZoomDownBtn, ZoomUpBtn, PageWholeBtn, PageWidthBtn })
        b->setEnabled(false);

    connect(PrintBtn, &QToolButton::clicked, this, &TplPrevForm::PrintBtnClick);
    connect(PrinterSetBtn, &QToolButton::clicked, this, &TplPrevForm::PrinterSetBtnClick);
    connect(FirstPageBtn, &QToolButton::clicked, this, &TplPrevForm::FirstPageBtnClick);
    connect(PriorPageBtn, &QToolButton::clicked, this, &TplPrevForm::PriorPageBtnClick);
    connect(NextPageBtn, &QToolButton::clicked, this, &TplPrevForm::NextPageBtnClick);
    connect(LastPageBtn, &QToolButton::clicked, this, &TplPrevForm::LastPageBtnClick);
    connect(ZoomDownBtn, &QToolButton::clicked, this, &TplPrevForm::ZoomDownBtnClick);
    connect(ZoomUpBtn, &QToolButton::clicked, this, &TplPrevForm::ZoomUpBtnClick);
    connect(PageWholeBtn, &QToolButton::clicked, this, &TplPrevForm::PageWholeBtnClick);
    connect(PageWidthBtn, &QToolButton::clicked, this, &TplPrevForm::PageWidthBtnClick);
    connect(CloseBtn, &QToolButton::clicked, this, &TplPrevForm::CloseBtnClick);

    // The viewing area: the page with its shadow below and its frame above.
    DisplayPanel = new QWidget(this);
    DisplayPanel->setObjectName(QStringLiteral("DisplayPanel"));
    auto* panelLayout = new QVBoxLayout(DisplayPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = new QScrollArea(DisplayPanel);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setBackgroundRole(QPalette::Button);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setFrameShape(QFrame::StyledPanel);
    ScrollBox1->setFrameShadow(QFrame::Sunken);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("ScrollBox1Content"));
    content->setBackgroundRole(QPalette::Button);
    content->setAutoFillBackground(true);
    Shape2 = new PreviewShape(PageMath::colorFromBGR(kShadowColor), QColor(), content);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->hide();
    Image1 = new PreviewImage(content);
    Image1->setObjectName(QStringLiteral("Image1"));
    Shape1 = new PreviewShape(QColor(), Qt::black, content);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->hide();
    ScrollBox1->setWidget(content);
    ScrollBox1->verticalScrollBar()->setTracking(true);
    ScrollBox1->horizontalScrollBar()->setTracking(true);
    setScrollBarsShown(false);
    panelLayout->addWidget(ScrollBox1);
    ScrollBox1->installEventFilter(this);
    connect(Image1, &PreviewImage::rightButtonPressed, this, &TplPrevForm::openPopupMenu);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setFixedHeight(26);
    StatusBar->setMinimumWidth(1);
    const int panelWidths[2] = { 300, 50 };
    for (int i = 0; i < 2; ++i) {
        m_panels[i] = new QLabel(StatusBar);
        m_panels[i]->setObjectName(QStringLiteral("StatusBarPanel%1").arg(i));
        m_panels[i]->setFixedWidth(panelWidths[i]);
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        StatusBar->addWidget(m_panels[i]);
    }

    layout->addWidget(IconBar);
    layout->addWidget(DisplayPanel, 1);
    layout->addWidget(StatusBar);

    // Pop-up menu of the page; "キャンセル" only closes it.
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* copyPage = PopupMenu1->addAction(QStringLiteral("現在の頁をコピー"));
    copyPage->setObjectName(QStringLiteral("CopyPageItem"));
    QAction* copyScreen = PopupMenu1->addAction(QStringLiteral("画面をコピー"));
    copyScreen->setObjectName(QStringLiteral("CopyScreenItem"));
    QAction* hardCopy = PopupMenu1->addAction(QStringLiteral("画面ハードコピー"));
    hardCopy->setObjectName(QStringLiteral("HardCopyItem"));
    PopupMenu1->addSeparator();
    QAction* cancel = PopupMenu1->addAction(QStringLiteral("キャンセル"));
    cancel->setObjectName(QStringLiteral("CancelItem"));
    // Actions start after the menu has closed, so a screen copy shows the window, not the menu.
    connect(copyPage, &QAction::triggered, this, [this] { QTimer::singleShot(0, this, &TplPrevForm::CopyPageClick); });
    connect(copyScreen, &QAction::triggered, this, [this] { QTimer::singleShot(0, this, &TplPrevForm::CopyScreenClick); });
    connect(hardCopy, &QAction::triggered, this, [this] { QTimer::singleShot(0, this, &TplPrevForm::HardCopyClick); });

    // The wheel scrolls the page wherever it is turned over the window.
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w != PopupMenu1 && !PopupMenu1->isAncestorOf(w))
            w->installEventFilter(this);
    }

    resize(657, 381);
    registerWindow(this);
}

TplPrevForm::~TplPrevForm()
{
    unregisterWindow(this);
}

QToolButton* TplPrevForm::makeButton(const char* name, const QString& caption, const QString& hint, int width,
                                     int glyph)
{
    auto* b = new QToolButton(IconBar);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setIcon(PreviewGlyphs::icon(PreviewGlyphs::Glyph(glyph)));
    b->setIconSize(QSize(PreviewGlyphs::Size, PreviewGlyphs::Size));
    b->setFixedSize(width, 40);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QString TplPrevForm::windowName() const
{
    return objectName();
}

QObject* TplPrevForm::windowObject()
{
    return this;
}

bool TplPrevForm::IsVisible() const
{
    return isVisible();
}

QString TplPrevForm::statusText(int panel) const
{
    return panel >= 0 && panel < 2 ? m_panels[panel]->text() : QString();
}

void TplPrevForm::pumpMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// ---- binding and placement -----------------------------------------------------------------------

void TplPrevForm::Bind(TplPrev* engine)
{
    if (!engine || isVisible())
        return;
    m_engine = engine;
    engine->setPreviewForm(this);
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect workArea = scr ? scr->availableGeometry() : QRect(0, 0, 800, 600);
    const QRect screenRect = scr ? scr->geometry() : workArea;

    if (engine->Title().isEmpty())
        engine->setTitle(kDefaultTitle);
    setWindowTitle(engine->Title());

    const TplPrev::TFormWindowState state = engine->FormWindowState();
    TplPrev::TBorderStyle border = engine->FormBorderStyle();
    if (state == TplPrev::fwFullScreen)
        border = TplPrev::bsSingle;
    const int icons = engine->FormBorderIcons();
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (border == TplPrev::bsToolWindow || border == TplPrev::bsSizeToolWin)
        flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (border == TplPrev::bsNone)
        flags |= Qt::FramelessWindowHint;
    if (icons & TplPrev::biSystemMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if ((icons & TplPrev::biSystemMenu) && (icons & TplPrev::biMinimize))
        flags |= Qt::WindowMinimizeButtonHint;
    if ((icons & TplPrev::biSystemMenu) && (icons & TplPrev::biMaximize))
        flags |= Qt::WindowMaximizeButtonHint;
    if ((icons & TplPrev::biSystemMenu) && (icons & TplPrev::biHelp))
        flags |= Qt::WindowContextHelpButtonHint;
    setWindowFlags(flags);

    StatusBar->setVisible(engine->FormStatusBar());
    IconBar->setVisible(engine->FormIconBar());
    setWindowIcon(engine->FormIcon());

    const bool sizeable = (border == TplPrev::bsSizeable || border == TplPrev::bsSizeToolWin)
        && engine->FormCanResize();
    StatusBar->setSizeGripEnabled(sizeable);
    setMinimumSize(300, 300);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);

    // The window's frame is what the bounds describe. Its decoration is known once it has
    // been on screen; before that, another framed window tells what the window manager adds.
    QSize decoration = frameGeometry().size() - geometry().size();
    if (decoration.isNull()) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            const Qt::WindowType type = w->windowType();
            if (w == this || !w->isVisible() || (w->windowFlags() & Qt::FramelessWindowHint)
                || (type != Qt::Window && type != Qt::Dialog))
                continue;
            decoration = w->frameGeometry().size() - w->geometry().size();
            if (!decoration.isNull())
                break;
        }
    }
    auto setBounds = [this, decoration](const QRect& r) {
        move(r.topLeft());
        resize((r.size() - decoration).expandedTo(QSize(300, 300)));
    };

    Qt::WindowStates windowState = Qt::WindowNoState;
    switch (state) {
    case TplPrev::fwWorkArea:
        setBounds(workArea);
        break;
    case TplPrev::fwFullScreen:
        setBounds(screenRect);
        break;
    default: {
        // A window larger than the work area (the default size is one and a half screens)
        // would open partly out of reach; it is kept inside.
        QRect r(engine->FormLeft(), engine->FormTop(), engine->FormWidth(), engine->FormHeight());
        r.setSize(r.size().boundedTo(workArea.size()));
        switch (engine->FormPosition()) {
        case TplPrev::poDesigned:
            setBounds(r);
            break;
        case TplPrev::poScreenCenter:
        case TplPrev::poDesktopCenter:
        case TplPrev::poMainFormCenter:
        case TplPrev::poOwnerFormCenter:
            r.moveCenter(workArea.center());
            setBounds(r);
            break;
        default:
            // The window system chooses the position.
            resize((r.size() - decoration).expandedTo(QSize(300, 300)));
            break;
        }
        if (state == TplPrev::fwMinimized)
            windowState = Qt::WindowMinimized;
        else if (state == TplPrev::fwMaximized) {
            setBounds(workArea);
            windowState = Qt::WindowMaximized;
        }
        break;
    }
    }
    setWindowState(windowState);
    if (!sizeable && windowState == Qt::WindowNoState)
        setFixedSize(size());
}

int TplPrevForm::ShowModal()
{
    if (!m_engine) {
        Messages::current().exclamation(kDirectShow, TplPrev::messageCaption());
        return result();
    }
    return exec();
}

void TplPrevForm::setVisible(bool visible)
{
    const bool appearing = visible && !isVisible();
    QDialog::setVisible(visible);
    if (!visible)
        m_pinned = false;
    if (appearing && m_engine)
        QMetaObject::invokeMethod(this, [this] { guarded([this] { formShow(); }); }, Qt::QueuedConnection);
}

void TplPrevForm::formShow()
{
    if (!isVisible() || !m_engine)
        return;
    m_pinnedPos = pos();
    m_pinned = true;
    m_shown = true;
    TplPrev* e = m_engine;
    e->setCurrentPage(1);
    setWindowTitle(e->Title());
    Image1->clearPage();
    const PageRecording* page = e->RenderPage();
    if (!page)
        return;
    struct FirstShowScope {
        bool& flag;
        explicit FirstShowScope(bool& f) : flag(f) { flag = true; }
        ~FirstShowScope() { flag = false; }
    } firstShow(m_firstShow);
    m_autoScroll = true;
    Shape1->hide();
    Shape2->hide();
    applyZoomType();
    showPageNow();
    pumpMessages();
}

void TplPrevForm::applyZoomType()
{
    if (m_engine && m_engine->ZoomType() == TplPrev::ztPageWidth)
        pageWidth();
    else
        wholePage();
}

// ---- showing a page --------------------------------------------------------------------------------

void TplPrevForm::ShowPage()
{
    showPageNow();
}

void TplPrevForm::showPageNow()
{
    if (Image1->isHidden())
        return;
    pumpMessages();
    TplPrev* e = m_engine;
    if (!e)
        return;
    const PageRecording* page = nullptr;
    if (m_firstShow) {
        page = e->PageMetafile();
    } else {
        try {
            page = e->RenderPage();
        } catch (...) {
            // The failed page is not shown; the buttons and the status tell where we are.
            Image1->clearPage();
            updateButtonsAndStatus();
            throw;
        }
    }
    if (page)
        Image1->setPage(*page);
    else
        Image1->clearPage();
    Shape1->show();
    Shape2->show();
    placeFrameAndShadow();
    if (e->OnAfterView)
        e->OnAfterView(this, e->CurrentPage());
    pumpMessages();
    updateButtonsAndStatus();
}

void TplPrevForm::updateButtonsAndStatus()
{
    TplPrev* e = m_engine;
    if (!e)
        return;
    const int current = e->CurrentPage();
    const int count = e->PageCount();
    for (QToolButton* b : { PrintBtn, PrinterSetBtn, PageWholeBtn, PageWidthBtn, ZoomDownBtn, ZoomUpBtn })
        b->setEnabled(current > 0);
    FirstPageBtn->setEnabled(current > 1);
    PriorPageBtn->setEnabled(current > 1);
    NextPageBtn->setEnabled(current < count);
    LastPageBtn->setEnabled(current < count);
    const QString paper = e->plSetPrinter() ? e->plSetPrinter()->PaperName() : QString();
    m_panels[0]->setText(QStringLiteral(" Page  ") + QString::number(current) + QLatin1Char('/')
                         + QString::number(count) + QStringLiteral("  ") + paper + QStringLiteral(" ( ")
                         + formatMm(e->PageWidth()) + QStringLiteral(" x ") + formatMm(e->PageHeight())
                         + QStringLiteral(" mm )"));
}

void TplPrevForm::placeImage()
{
    Image1->setGeometry(m_imgLeft, m_imgTop, qMax(0, m_imgWidth), qMax(0, m_imgHeight));
    updateScrollRange();
}

void TplPrevForm::placeFrameAndShadow()
{
    const QRect r = Image1->geometry();
    if (!Image1->isHidden()) {
        Shape2->setGeometry(r.left() + 2, r.top() + 2, r.width() + 2, r.height() + 2);
        Shape1->setGeometry(r.left() - 1, r.top() - 1, r.width() + 1, r.height() + 1);
        Shape2->lower();
        Shape1->raise();
    }
    updateScrollRange();
    if (m_engine && m_engine->OnResize)
        m_engine->OnResize(this, m_engine->CurrentPage());
}

void TplPrevForm::updateScrollRange()
{
    QWidget* content = ScrollBox1->widget();
    if (!m_autoScroll) {
        content->resize(ScrollBox1->viewport()->size());
        syncScrollBars();
        return;
    }
    // The scroll range reaches the farthest shown control plus the margin.
    int right = 0;
    int bottom = 0;
    for (QWidget* w : { static_cast<QWidget*>(Shape2), static_cast<QWidget*>(Image1), static_cast<QWidget*>(Shape1) }) {
        if (w->isHidden())
            continue;
        right = qMax(right, w->x() + w->width());
        bottom = qMax(bottom, w->y() + w->height());
    }
    content->resize(right + kScrollMargin, bottom + kScrollMargin);
    syncScrollBars();
}

void TplPrevForm::syncScrollBars()
{
    // The scroll area shows or hides its bars in a queued call; the zoom arithmetic needs
    // the viewing area as it is now.
    QCoreApplication::sendPostedEvents(ScrollBox1, QEvent::MetaCall);
}

void TplPrevForm::setScrollBarsShown(bool shown)
{
    const Qt::ScrollBarPolicy policy = shown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    ScrollBox1->setHorizontalScrollBarPolicy(policy);
    ScrollBox1->setVerticalScrollBarPolicy(policy);
    syncScrollBars();
}

// ---- zoom ----------------------------------------------------------------------------------------------

void TplPrevForm::wholePage()
{
    TplPrev* e = m_engine;
    if (!e || e->PageRatio() <= 0)
        return;
    e->setZoomType(TplPrev::ztWholePage);
    setScrollBarsShown(false);
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    const int w = ScrollBox1->width();
    const int h = ScrollBox1->height();
    const double ratio = e->PageRatio();
    if (ratio > double(h) / double(w)) {
        m_imgTop = 15;
        m_imgHeight = h - 30;
        m_imgWidth = Trunc(m_imgHeight / ratio);
        m_imgLeft = (w - m_imgWidth) / 2;
    } else {
        m_imgLeft = 15;
        m_imgWidth = w - 30;
        m_imgHeight = Trunc(m_imgWidth * ratio);
        m_imgTop = (h - m_imgHeight) / 2;
    }
    placeImage();
    placeFrameAndShadow();
    pumpMessages();
    ZoomUpBtn->setEnabled(true);
    ZoomDownBtn->setEnabled(true);
}

void TplPrevForm::pageWidth()
{
    TplPrev* e = m_engine;
    if (!e || e->PageRatio() <= 0)
        return;
    e->setZoomType(TplPrev::ztPageWidth);
    setScrollBarsShown(true);
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    const double ratio = e->PageRatio();
    m_imgLeft = 15;
    m_imgTop = 15;
    m_imgWidth = ScrollBox1->viewport()->width() - 30;
    m_imgHeight = Trunc(m_imgWidth * ratio);
    placeImage();
    if (ScrollBox1->verticalScrollBar()->isVisibleTo(ScrollBox1)) {
        // The vertical scroll bar took its width from the viewing area.
        m_imgWidth = ScrollBox1->viewport()->width() - 30;
        m_imgHeight = Trunc(m_imgWidth * ratio);
        placeImage();
    }
    placeFrameAndShadow();
    pumpMessages();
    ZoomUpBtn->setEnabled(true);
    ZoomDownBtn->setEnabled(true);
}

void TplPrevForm::zoomDown()
{
    TplPrev* e = m_engine;
    if (!e)
        return;
    ZoomDownBtn->setEnabled(false);
    e->setZoomType(TplPrev::ztOther);
    setScrollBarsShown(true);
    if (Image1->width() > 100) {
        m_imgWidth = m_imgWidth * 90 / 100;
        m_imgHeight = Trunc(m_imgWidth * e->PageRatio());
        placeImage();
        placeFrameAndShadow();
        pumpMessages();
        ZoomDownBtn->setEnabled(true);
    }
}

void TplPrevForm::zoomUp()
{
    TplPrev* e = m_engine;
    if (!e)
        return;
    ZoomUpBtn->setEnabled(false);
    e->setZoomType(TplPrev::ztOther);
    setScrollBarsShown(true);
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = scr ? scr->geometry().size() : QSize(800, 600);
    if (Image1->width() < 2 * screenSize.width() && Image1->height() < 3 * screenSize.height()) {
        m_imgLeft = Image1->x();
        m_imgTop = Image1->y();
        m_imgWidth = m_imgWidth * 100 / 90;
        m_imgHeight = Trunc(m_imgWidth * e->PageRatio());
        placeImage();
        placeFrameAndShadow();
        pumpMessages();
        ZoomUpBtn->setEnabled(true);
        ZoomDownBtn->setEnabled(true);
    }
}

// ---- navigation --------------------------------------------------------------------------------------

void TplPrevForm::firstPage()
{
    TplPrev* e = m_engine;
    if (!e || e->CurrentPage() == 1)
        return;
    FirstPageBtn->setEnabled(false);
    PriorPageBtn->setEnabled(false);
    e->setCurrentPage(1);
    showPageNow();
}

void TplPrevForm::priorPage()
{
    TplPrev* e = m_engine;
    if (!e || e->CurrentPage() <= 1)
        return;
    PriorPageBtn->setEnabled(false);
    e->setCurrentPage(e->CurrentPage() - 1);
    showPageNow();
}

void TplPrevForm::nextPage()
{
    TplPrev* e = m_engine;
    if (!e || e->CurrentPage() >= e->PageCount())
        return;
    NextPageBtn->setEnabled(false);
    e->setCurrentPage(e->CurrentPage() + 1);
    showPageNow();
}

void TplPrevForm::lastPage()
{
    TplPrev* e = m_engine;
    if (!e || e->CurrentPage() >= e->PageCount())
        return;
    LastPageBtn->setEnabled(false);
    NextPageBtn->setEnabled(false);
    e->setCurrentPage(e->PageCount());
    showPageNow();
}

// ---- printing --------------------------------------------------------------------------------------------

void TplPrevForm::print()
{
    TplPrev* e = m_engine;
    if (!e)
        return;
    const int remembered = e->CurrentPage();
    e->setFromPage(0);
    e->setToPage(0);
    PrintRange range;
    range.pageRangeEnabled = true;
    range.allPages = true;
    range.fromPage = remembered;
    range.toPage = remembered;
    range.minPage = 1;
    range.maxPage = e->PageCount();
    e->SavePrinterSettings();
    if (!PrinterDialogs::current().print(range, this))
        return;
    PrintBtn->setEnabled(false);
    if (range.allPages) {
        e->setCurrentPage(1);
        e->setFromPage(1);
        e->setToPage(e->PageCount());
    } else {
        e->setFromPage(range.fromPage);
        e->setToPage(range.toPage);
    }

    // Progress of a long run; the window takes no input meanwhile, the dialog can stop it.
    QProgressDialog progress(this);
    progress.setObjectName(QStringLiteral("PrintProgress"));
    progress.setWindowTitle(e->Title());
    progress.setCancelButtonText(QStringLiteral("中止"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    const int total = qAbs(e->ToPage() - e->FromPage()) + 1;
    progress.setRange(0, total);
    progress.setLabelText(kPrinting.arg(0).arg(total));
    progress.setValue(0);
    e->PrintProgress = [&progress](int done, int all) {
        progress.setMaximum(all);
        progress.setLabelText(kPrinting.arg(done).arg(all));
        progress.setValue(done);
        return !progress.wasCanceled();
    };

    auto restore = [this, e, remembered, &progress] {
        e->PrintProgress = nullptr;
        progress.close();
        e->setCurrentPage(remembered);
        pumpMessages();
        e->LoadPrinterSettings();
        showPageNow();
    };
    try {
        e->Print();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TplPrevForm::printerSetup(bool askUser)
{
    TplPrev* e = m_engine;
    if (!e || !e->plSetPrinter())
        return;
    if (askUser && !PrinterDialogs::current().printerSetup(this))
        return;
    PrinterSetBtn->setEnabled(false);
    e->plSetPrinter()->ReadFromPrinter(false);
    e->UpdatePageMetrics();
    e->setPageWidth(e->PaperWidth());
    e->setPageHeight(e->PaperHeight());
    if (e->OnPrinterSetupDialog)
        e->OnPrinterSetupDialog(this);
    try {
        showPageNow();
    } catch (...) {
        wholePage();
        throw;
    }
    wholePage();
}

void TplPrevForm::PrinterSetup(bool askUser)
{
    guarded([this, askUser] { printerSetup(askUser); });
}

// ---- clipboard and hard copy ---------------------------------------------------------------------------

bool TplPrevForm::putOnClipboard(QMimeData* data, const QString& checkFormat)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        delete data;
        return false;
    }
    clipboard->setMimeData(data);
    // A clipboard that refused the data does not hand it back.
    const QMimeData* now = clipboard->mimeData();
    return now && now->hasFormat(checkFormat);
}

void TplPrevForm::copyPage()
{
    const PageRecording* page = m_engine ? m_engine->PageMetafile() : nullptr;
    if (!page)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QByteArray svg;
    QByteArray png;
    QImage image;
    try {
        svg = PageExport::toSvg(*page, m_engine->Title());
        image = PageExport::toImage(*page);
        png = PageExport::toPng(image);
    } catch (const std::bad_alloc&) {
        image = QImage();
    }
    QApplication::restoreOverrideCursor();
    if (svg.isEmpty() || image.isNull() || png.isEmpty()) {
        Messages::current().exclamation(kPageTooLarge, TplPrev::messageCaption());
        return;
    }
    QGuiApplication::clipboard()->clear();
    auto* data = new QMimeData;
    data->setData(kSvgMime, svg);
    data->setData(kPngMime, png);
    data->setImageData(image);
    if (!putOnClipboard(data, kPngMime))
        Messages::current().exclamation(kClipboardFailed, TplPrev::messageCaption());
    pumpMessages();
}

QImage TplPrevForm::copyScreen()
{
    // The active window as it is drawn: our stand-in for Alt + Print Screen.
    QWidget* active = QApplication::activeWindow();
    if (!active || !active->isVisible())
        active = this;
    const QImage shot = active->grab().toImage();
    if (!shot.isNull()) {
        auto* data = new QMimeData;
        data->setImageData(shot);
        if (!putOnClipboard(data, QStringLiteral("application/x-qt-image")))
            Messages::current().exclamation(kClipboardFailed, TplPrev::messageCaption());
    }
    pumpMessages();
    return shot;
}

void TplPrevForm::hardCopy()
{
    TplPrev* e = m_engine;
    if (!e || !e->plSetPrinter())
        return;
    TplSetPrinter* printer = e->plSetPrinter();
    e->SavePrinterSettings();
    QImage shot = copyScreen();
    SystemPrinter& sp = SystemPrinter::instance();
    auto restore = [this, e, &shot] {
        shot = QImage();
        e->LoadPrinterSettings();
        showPageNow();
        pumpMessages();
    };
    try {
        PrintRange range;
        range.pageRangeEnabled = false;
        range.allPages = true;
        if (!shot.isNull() && shot.width() > 0 && PrinterDialogs::current().print(range, this)) {
            const double ratio = double(shot.height()) / double(shot.width());
            printer->ReadFromPrinter(false);
            if (!printer->PrinterName().toUpper().contains(QLatin1String("ACROBAT"))) {
                const int pw = printer->PrintableWidth();
                const int m = pw / 10;
                if (!sp.beginDoc(e->Title())) {
                    Messages::current().exclamation(Messages::twoLines(kJobNotStarted, sp.errorString()),
                                                    TplPrev::messageCaption());
                } else {
                    QPainter* painter = sp.painter();
                    if (painter && painter->isActive()) {
                        // The job's origin is the sheet's corner; the picture is placed from
                        // the corner of the printable area.
                        const QRectF target(printer->PhysicalOffsetX() + m, printer->PhysicalOffsetY() + m / 2,
                                            pw - 2 * m, HalfEven((pw - 2 * m) * ratio));
                        painter->setRenderHint(QPainter::SmoothPixmapTransform);
                        painter->drawImage(target, shot);
                    }
                    pumpMessages();
                    if (!painter || !painter->isActive()) {
                        sp.abortDoc();
                        Messages::current().exclamation(Messages::twoLines(kJobNotStarted, sp.errorString()),
                                                        TplPrev::messageCaption());
                    } else if (!sp.endDoc()) {
                        Messages::current().exclamation(Messages::twoLines(kJobNotSent, sp.errorString()),
                                                        TplPrev::messageCaption());
                    }
                }
            }
        }
    } catch (...) {
        if (sp.printing())
            sp.abortDoc();
        restore();
        throw;
    }
    restore();
}

// ---- the guarded actions --------------------------------------------------------------------------------

void TplPrevForm::showError(const QString& what)
{
    Messages::current().exclamation(what.isEmpty() ? kPageFailed : Messages::twoLines(kPageFailed, what),
                                    TplPrev::messageCaption());
}

void TplPrevForm::guarded(const std::function<void()>& action)
{
    // Recording and printing pump messages: a second action must not start meanwhile.
    if (m_busy > 0)
        return;
    ++m_busy;
    try {
        action();
    } catch (const std::exception& ex) {
        showError(QString::fromLocal8Bit(ex.what()));
    } catch (...) {
        showError(QString());
    }
    --m_busy;
    if (m_busy == 0 && m_closePending) {
        m_closePending = false;
        QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
    }
}

void TplPrevForm::PrintBtnClick() { guarded([this] { print(); }); }
void TplPrevForm::PrinterSetBtnClick() { guarded([this] { printerSetup(true); }); }
void TplPrevForm::FirstPageBtnClick() { guarded([this] { firstPage(); }); }
void TplPrevForm::PriorPageBtnClick() { guarded([this] { priorPage(); }); }
void TplPrevForm::NextPageBtnClick() { guarded([this] { nextPage(); }); }
void TplPrevForm::LastPageBtnClick() { guarded([this] { lastPage(); }); }
void TplPrevForm::ZoomDownBtnClick() { guarded([this] { zoomDown(); }); }
void TplPrevForm::ZoomUpBtnClick() { guarded([this] { zoomUp(); }); }
void TplPrevForm::PageWholeBtnClick() { guarded([this] { wholePage(); }); }
void TplPrevForm::PageWidthBtnClick() { guarded([this] { pageWidth(); }); }
void TplPrevForm::CopyPageClick() { guarded([this] { copyPage(); }); }
void TplPrevForm::CopyScreenClick() { guarded([this] { copyScreen(); }); }
void TplPrevForm::HardCopyClick() { guarded([this] { hardCopy(); }); }

void TplPrevForm::CloseBtnClick()
{
    close();
}

// ---- closing -------------------------------------------------------------------------------------------------

void TplPrevForm::closeEvent(QCloseEvent* event)
{
    if (m_busy > 0) {
        // Closed while a page is recorded or printed: close when that has ended.
        m_closePending = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TplPrevForm::done(int result)
{
    if (m_busy > 0) {
        m_closePending = true;
        return;
    }
    if (TplPrev* e = m_engine) {
        const QString snapshot = e->SettingsFileName();
        if (!snapshot.isEmpty())
            QFile::remove(snapshot); // a failure is of no consequence
        if (e->OnClose) {
            try {
                e->OnClose(this);
            } catch (const std::exception& ex) {
                showError(QString::fromLocal8Bit(ex.what()));
            } catch (...) {
                showError(QString());
            }
        }
    }
    // Only hidden: the same window serves the next print run.
    QDialog::done(result);
}

// ---- mouse, moving, resizing ----------------------------------------------------------------------------

void TplPrevForm::openPopupMenu(const QPoint& globalPos)
{
    PopupMenu1->popup(globalPos);
}

void TplPrevForm::wheelEvent(QWheelEvent* event)
{
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() - event->angleDelta().y() / 5);
    event->accept();
}

void TplPrevForm::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    if (m_pinned && isVisible() && m_engine && !m_engine->FormCanMove() && pos() != m_pinnedPos) {
        // The window cannot be moved: put it back where it appeared.
        QTimer::singleShot(0, this, [this] {
            if (m_pinned && pos() != m_pinnedPos)
                move(m_pinnedPos);
        });
    }
}

bool TplPrevForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && watched != PopupMenu1) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (watched == ScrollBox1 && event->type() == QEvent::Resize) {
        const bool result = QDialog::eventFilter(watched, event);
        // Whole page and page width follow the window's size; a zoomed page keeps its own.
        if (m_shown && !m_refitting && m_engine && isVisible()
            && (m_engine->ZoomType() == TplPrev::ztWholePage || m_engine->ZoomType() == TplPrev::ztPageWidth)
            && Image1->hasPage()) {
            m_refitting = true;
            QMetaObject::invokeMethod(this, [this] {
                m_refitting = false;
                if (m_engine && isVisible() && m_engine->ZoomType() == TplPrev::ztWholePage)
                    wholePage();
                else if (m_engine && isVisible() && m_engine->ZoomType() == TplPrev::ztPageWidth)
                    pageWidth();
            }, Qt::QueuedConnection);
        }
        return result;
    }
    return QDialog::eventFilter(watched, event);
}
