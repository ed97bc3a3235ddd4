#include "preview/TplPrev.h"

#include "platform/AppPaths.h"
#include "platform/Messages.h"
#include "platform/OverrideCursor.h"
#include "platform/SystemPrinter.h"
#include "preview/PageMath.h"
#include "preview/PictureFile.h"
#include "preview/PreviewWindow.h"
#include "preview/TplSetPrinter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QScreen>

#include <cerrno>

using namespace PageMath;

namespace {

const QString kNoPrinterComponent = QStringLiteral("プリンタ設定コンポーネントが指定されていません．　　");
const QString kNoFormName = QStringLiteral("印刷プレビュー用フォーム名が未指定です．　　");
const QString kNotPreviewForm = QStringLiteral("印刷プレビューコンポ用のフォームではありません．　　");
const QString kAlreadyShown = QStringLiteral("表示中のフォームをモーダル表示で開くことはできません(矛盾)．　　");
const QString kNoDrawCode = QStringLiteral("Canvasへの描画コードが見つかりません．　　");
const QString kPictureFailed = QStringLiteral("画像ファイルを読み込めません．画像なしで描画します．　　");
const QString kJobNotStarted = QStringLiteral("印刷を開始できません．　　");
const QString kJobNotSent = QStringLiteral("印刷データをプリンタへ送れませんでした．　　");

void tell(const QString& text)
{
    Messages::current().exclamation(text, TplPrev::messageCaption());
}

void pumpMessages()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace

struct TplPrev::CachedPicture {
    QDateTime modified;
    qint64 size = -1;
    bool existed = false;
    PictureFile picture;
};

QString TplPrev::messageCaption()
{
    return QStringLiteral("印刷プレビュー制御コンポーネント");
}

TplPrev::TplPrev(QObject* parent) : QObject(parent)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            m_formWidth = screen->size().width() * 3 / 2;
            m_formHeight = screen->size().height() * 3 / 2;
        }
    }
}

TplPrev::~TplPrev() = default;

// ---- properties -----------------------------------------------------------------------------

TplSetPrinter* TplPrev::plSetPrinter() const { return m_printer.data(); }

void TplPrev::setPlSetPrinter(TplSetPrinter* printer)
{
    m_printer = printer;
    if (!printer)
        return;
    if (printer->PrinterName().contains(QLatin1String("Acrobat")))
        m_pdfPrinter = true;
    printer->ApplyStoredSettings(false);
    UpdatePageMetrics();
    m_pageWidth = 0;
    m_pageHeight = 0;
}

void TplPrev::setPageCount(int count)
{
    if (count <= 0)
        return;
    m_pageCount = count;
    m_toPage = count;
}

void TplPrev::setPageWidth(int width)
{
    if (width <= 0)
        return;
    m_pageWidth = width;
    if (m_pageHeight > 0)
        m_pageRatio = double(m_pageHeight) / m_pageWidth;
}

void TplPrev::setPageHeight(int height)
{
    if (height <= 0)
        return;
    m_pageHeight = height;
    if (m_pageWidth > 0)
        m_pageRatio = double(m_pageHeight) / m_pageWidth;
}

// ---- page metrics and mappings ----------------------------------------------------------------

void TplPrev::setFileSheet(int width, int height)
{
    m_fileSheet = width > 0 && height > 0 ? QSize(width, height) : QSize();
    if (!m_printer)
        UpdatePageMetrics();
}

void TplPrev::UpdatePageMetrics()
{
    if (!m_printer) {
        if (m_fileSheet.isEmpty())
            return;
        // A sheet of its own: whole tenths of a millimetre map onto whole device pixels.
        m_dpiX = m_dpiY = kFileSheetDpi;
        m_paperWidthPx = m_fileSheet.width() * kFileSheetDpi / 254;
        m_paperHeightPx = m_fileSheet.height() * kFileSheetDpi / 254;
        m_paperWidth = m_fileSheet.width();
        m_paperHeight = m_fileSheet.height();
        m_leftMargin = m_topMargin = 0;
        m_printableRight = m_paperWidth;
        m_printableBottom = m_paperHeight;
        return;
    }
    m_dpiX = m_printer->LogPixelsX();
    m_dpiY = m_printer->LogPixelsY();
    if (m_dpiX <= 0 || m_dpiY <= 0) {
        // No printer behind the component: nothing can be laid out in millimetres.
        m_dpiX = m_dpiY = 0;
        m_paperWidthPx = m_paperHeightPx = m_paperWidth = m_paperHeight = 0;
        m_leftMargin = m_topMargin = m_printableRight = m_printableBottom = 0;
        return;
    }
    m_paperWidthPx = m_printer->PhysicalWidth();
    m_paperHeightPx = m_printer->PhysicalHeight();
    m_paperWidth = Trunc(m_paperWidthPx * 254.0 / m_dpiX);
    m_paperHeight = Trunc(m_paperHeightPx * 254.0 / m_dpiY);
    m_leftMargin = Ceil(m_printer->PhysicalOffsetX() * 254.0 / m_dpiX);
    m_topMargin = Ceil(m_printer->PhysicalOffsetY() * 254.0 / m_dpiY);
    m_printableRight = m_leftMargin + Trunc(m_printer->PrintableWidth() * 254.0 / m_dpiX);
    m_printableBottom = m_topMargin + Trunc(m_printer->PrintableHeight() * 254.0 / m_dpiY);
}

QTransform TplPrev::printerTransform() const
{
    // The job's paint device has its origin at the sheet's corner, so 0.1 mm maps onto it by
    // the resolution alone; the print offsets move the page left and up.
    const double sx = m_dpiX > 0 ? m_dpiX / 254.0 : 1.0;
    const double sy = m_dpiY > 0 ? m_dpiY / 254.0 : 1.0;
    return QTransform(sx, 0, 0, sy, -m_printOffsetX * sx, -m_printOffsetY * sy);
}

QRect TplPrev::printableRect() const
{
    return QRect(QPoint(m_leftMargin, m_topMargin), QPoint(m_printableRight - 1, m_printableBottom - 1));
}

// ---- run operations ----------------------------------------------------------------------------

bool TplPrev::requirePrinter()
{
    if (m_printer || !m_fileSheet.isEmpty())
        return true;
    // Without a printer nothing can be laid out: the operation is abandoned and the caller
    // gets false. The program itself keeps running, so no layout is lost.
    tell(kNoPrinterComponent);
    return false;
}

bool TplPrev::BeginPreview(DrawPageRoutine drawPage)
{
    if (!requirePrinter())
        return false;
    UpdatePageMetrics();
    m_page.reset(0, 0);
    m_pageValid = false;
    m_drawPage = std::move(drawPage);
    m_fromPage = 1;
    m_state = RunState::Started;
    if (m_pageWidth == 0)
        m_pageWidth = m_paperWidth;
    if (m_pageHeight == 0)
        m_pageHeight = m_paperHeight;
    m_pageRatio = m_pageWidth > 0 ? double(m_pageHeight) / m_pageWidth : 0;
    // A new run reads its pictures afresh and reports each failure once.
    m_pictures.clear();
    m_reportedPictures.clear();
    m_pendingPictureErrors.clear();
    return true;
}

bool TplPrev::preparePageCanvas(PageRecording* target)
{
    if (!requirePrinter())
        return false;
    m_pageRatio = m_pageWidth > 0 ? double(m_pageHeight) / m_pageWidth : 0;
    m_pageWidthPx = qRound(m_pageWidth * double(m_dpiX) / 254.0);
    m_pageHeightPx = qRound(m_pageHeight * double(m_dpiY) / 254.0);
    m_canvas = std::make_unique<PageCanvas>(target, m_pageWidth, m_pageHeight);
    if (m_state == RunState::Started && !m_printing)
        PaintPaper(m_canvas.get(), m_pageWidth, m_pageHeight, m_paperColor,
                   m_printer ? m_printer->PaperSourceName() : QString());
    if (m_viewClip) {
        target->setPrintableClip(printableRect());
        m_canvas->setClipToPrintable(true);
    }
    return true;
}

bool TplPrev::isTractorFeed(const QString& paperSourceName)
{
    // Compatibility normalisation turns half-width katakana into full-width.
    return paperSourceName.normalized(QString::NormalizationForm_KC).contains(QStringLiteral("トラクタ"));
}

void TplPrev::PaintPaper(PageCanvas* canvas, int width, int height, int paperColor,
                         const QString& paperSourceName)
{
    canvas->setPaintingPaper(true);
    canvas->SetBrushColor(paperColor);
    canvas->FillRect(0, 0, width, height);

    if (isTractorFeed(paperSourceName)) {
        canvas->SetPenWidth(0);
        canvas->SetPenColor(0xC0C0C0);
        canvas->SetBrushColor(clBtnFace);
        for (int y = 40;; y += 127) {
            canvas->Ellipse(40, y, 80, y + 40);
            canvas->Ellipse(width - 80, y, width - 40, y + 40);
            if (y >= height)
                break;
        }
        canvas->SetPenStyle(PenStyle::psDot);
        canvas->Line(127, 127, 0, height);
        canvas->Line(width - 127, width - 127, 0, height);
    }
    // The owner's page starts with a fresh pen and brush.
    canvas->SetPenWidth(1);
    canvas->SetPenColor(clBlack);
    canvas->SetPenStyle(PenStyle::psSolid);
    canvas->SetBrushColor(clWhite);
    canvas->setPaintingPaper(false);
}

void TplPrev::closeCanvas()
{
    m_canvas.reset();
}

const PageRecording* TplPrev::PageMetafile() const
{
    return m_pageValid ? &m_page : nullptr;
}

const PageRecording* TplPrev::RenderPage()
{
    if (m_state == RunState::Idle || m_currentPage > m_pageCount || m_currentPage < 1)
        return nullptr;
    if (m_recording)
        return nullptr; // asked again while the page routine runs (messages are pumped)
    m_pageValid = false;
    OverrideCursor cursor(m_cursor);
    if (!preparePageCanvas(&m_page))
        return nullptr;
    pumpMessages();
    struct EndRecording {
        TplPrev* self;
        ~EndRecording()
        {
            self->closeCanvas();
            self->m_recording = false;
        }
    } endOnExit { this };
    m_recording = true;
    if (m_drawPage)
        m_drawPage();
    closeCanvas();
    m_pageValid = true;
    if (!m_printing)
        reportPictureFailures();
    return &m_page;
}

void TplPrev::paintPage(QPainter* painter, const QRectF& target) const
{
    if (m_pageValid)
        m_page.replay(painter, target);
}

bool TplPrev::ShowPreview()
{
    if (!m_printer)
        return false;
    if (m_pdfPrinter)
        return Print();
    if (m_state == RunState::Started)
        m_currentPage = 1;
    if (m_formName.isEmpty()) {
        tell(kNoFormName);
        return false;
    }
    PreviewWindow* window = PreviewWindow::find(m_formName);
    if (!window) {
        tell(kNotPreviewForm);
        return false;
    }
    m_previewForm = window;
    if (window->IsVisible()) {
        tell(kAlreadyShown);
        return false;
    }
    window->Bind(this);
    window->ShowModal();
    return true;
}

// Where a print run's pages go: the system printer's job, or a PDF file.
class TplPrev::JobTarget {
public:
    virtual ~JobTarget() = default;
    virtual bool begin(const QString& title) = 0;
    // Draws in device pixels from the sheet's corner, at the printer's resolution.
    virtual QPainter* painter() = 0;
    virtual bool newPage() = 0;
    virtual bool end() = 0;
    virtual void abort() = 0;
    virtual QString errorString() const = 0;
};

namespace {

class PrinterJob final : public TplPrev::JobTarget {
public:
    bool begin(const QString& title) override { return sp().beginDoc(title); }
    QPainter* painter() override { return sp().painter(); }
    bool newPage() override { return sp().newPage(); }
    bool end() override { return sp().endDoc(); }
    void abort() override { sp().abortDoc(); }
    QString errorString() const override { return sp().errorString(); }

private:
    static SystemPrinter& sp() { return SystemPrinter::instance(); }
};

// The PDF file, for the PDF writer: a write that fails (a full disk) is remembered, since the
// writer ignores it and a later write that succeeds would clear the file's own error.
class CheckedFile final : public QIODevice {
public:
    explicit CheckedFile(const QString& name) : m_file(name) { }
    bool openForWriting()
    {
        return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate) && open(QIODevice::WriteOnly);
    }
    // True when every byte reached the file; closes it.
    bool finish()
    {
        if (!m_file.flush())
            fail();
        m_file.close();
        close();
        return !m_failed;
    }
    QString fileErrorString() const { return m_failed ? m_why : m_file.errorString(); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        const qint64 written = m_file.write(data, length);
        if (written != length)
            fail();
        return written;
    }

private:
    void fail()
    {
        if (!m_failed)
            m_why = m_file.error() != QFileDevice::NoError ? m_file.errorString() : qt_error_string(errno);
        m_failed = true;
    }

    QFile m_file;
    bool m_failed = false;
    QString m_why;
};

class PdfFileJob final : public TplPrev::JobTarget {
public:
    PdfFileJob(const QString& fileName, const TplPrev& engine) : m_fileName(fileName), m_engine(engine) { }
    bool begin(const QString& title) override
    {
        const int dpiX = m_engine.DpiX(), dpiY = m_engine.DpiY();
        if (dpiX <= 0 || dpiY <= 0 || m_engine.PaperWidthPx() <= 0 || m_engine.PaperHeightPx() <= 0) {
            m_error = QStringLiteral("the printer's paper is unknown");
            return false;
        }
        // The file is ours to write, so that a write that fails (a full disk) is noticed.
        m_file = std::make_unique<CheckedFile>(m_fileName);
        if (!m_file->openForWriting()) {
            m_error = QStringLiteral("cannot write %1: %2").arg(m_fileName, m_file->fileErrorString());
            m_file.reset();
            return false;
        }
        m_writer = std::make_unique<QPdfWriter>(m_file.get());
        m_writer->setCreator(QStringLiteral("Tovalin"));
        m_writer->setTitle(title);
        const QSizeF sheet(m_engine.PaperWidthPx() * 72.0 / dpiX, m_engine.PaperHeightPx() * 72.0 / dpiY);
        m_writer->setPageLayout(QPageLayout(QPageSize(sheet, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                            QPageLayout::Portrait, QMarginsF()));
        m_writer->setResolution(dpiX);
        if (!m_painter.begin(m_writer.get())) {
            m_error = QStringLiteral("cannot write %1").arg(m_fileName);
            abort();
            return false;
        }
        if (dpiY != dpiX)
            m_painter.scale(1.0, double(dpiX) / dpiY);
        return true;
    }
    QPainter* painter() override { return &m_painter; }
    bool newPage() override { return m_writer && m_writer->newPage(); }
    bool end() override
    {
        if (!m_writer)
            return false;
        m_painter.end();
        m_writer.reset();
        if (!m_file || !m_file->finish()) {
            m_error = QStringLiteral("cannot write %1: %2").arg(m_fileName, m_file ? m_file->fileErrorString() : QString());
            abort();
            return false;
        }
        m_file.reset();
        return true;
    }
    void abort() override
    {
        if (m_painter.isActive())
            m_painter.end();
        m_writer.reset();
        // No half-written PDF is left behind; what is not a file of this job's (a device) stays.
        if (m_file) {
            m_file->finish();
            m_file.reset();
            if (QFileInfo(m_fileName).isFile())
                QFile::remove(m_fileName);
        }
    }
    QString errorString() const override { return m_error; }

private:
    QString m_fileName;
    const TplPrev& m_engine;
    std::unique_ptr<CheckedFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    QString m_error;
};

} // namespace

bool TplPrev::Print()
{
    if (!m_printer && m_state != RunState::Idle) {
        tell(kNoPrinterComponent); // a sheet of its own goes to files only
        return false;
    }
    PrinterJob job;
    return runJob(job);
}

bool TplPrev::PrintToPdf(const QString& fileName)
{
    PdfFileJob job(fileName, *this);
    return runJob(job);
}

bool TplPrev::runJob(JobTarget& job)
{
    if (m_state == RunState::Idle) {
        tell(kNoDrawCode);
        return false;
    }
    if (!requirePrinter())
        return false;
    if (m_printing || m_recording)
        return false; // a job or a page is already under way (messages are pumped meanwhile)
    // Pages outside 1..PageCount do not exist; printing them would only feed blank sheets.
    const int first = qMax(1, qMin(m_fromPage, m_toPage));
    const int last = qMin(m_pageCount, qMax(m_fromPage, m_toPage));
    if (first > last)
        return false;

    OverrideCursor cursor(m_cursor);
    if (m_printer)
        m_printer->ReadFromPrinter(false);
    UpdatePageMetrics();
    m_reportedPictures.clear();
    m_pendingPictureErrors.clear();

    if (!job.begin(m_title)) {
        tell(Messages::twoLines(kJobNotStarted, job.errorString()));
        return false;
    }
    m_printing = true;
    // The job's painter draws in printer pixels from the sheet's corner; our mapping is
    // combined with whatever it starts with.
    QPainter* painter = job.painter();
    if (!painter || !painter->isActive()) {
        job.abort();
        m_printing = false;
        tell(Messages::twoLines(kJobNotStarted, job.errorString()));
        return false;
    }
    try {
        for (int page = first; page <= last; ++page) {
            m_currentPage = page;
            const PageRecording* rec = RenderPage();
            if (rec) {
                painter->save();
                painter->setTransform(printerTransform(), true);
                painter->setClipRect(printableRect(), Qt::IntersectClip);
                rec->replay(painter);
                if (OnBeforeView && m_previewForm && m_previewForm->IsVisible()) {
                    // Overlay drawn by the window's owner on top of the page.
                    PageRecording overlay;
                    preparePageCanvas(&overlay); // no paper while printing: it would cover the page
                    struct CloseCanvas {
                        TplPrev* self;
                        ~CloseCanvas() { self->closeCanvas(); }
                    } closeOnExit { this };
                    OnBeforeView(m_previewForm->windowObject(), m_currentPage);
                    closeCanvas();
                    overlay.replay(painter);
                }
                painter->restore();
                if (OnPrint)
                    OnPrint(this, m_currentPage);
                if (page < last)
                    job.newPage();
            }
            pumpMessages();
            if (PrintProgress && !PrintProgress(page - first + 1, last - first + 1)) {
                // Stopped by the user: nothing of the job reaches the printer.
                job.abort();
                pumpMessages();
                m_printing = false;
                reportPictureFailures();
                return false;
            }
        }
    } catch (...) {
        // A failed job is withdrawn whole: half a run of postcards is worse than none.
        job.abort();
        pumpMessages();
        m_printing = false;
        throw;
    }
    const bool sent = job.end();
    pumpMessages();
    m_printing = false;
    reportPictureFailures();
    if (!sent)
        tell(Messages::twoLines(kJobNotSent, job.errorString()));
    return sent;
}

bool TplPrev::SavePrinterSettings()
{
    // Beside the executable, as POSTCSV.INI: in the program directory when it can be
    // written, else in the user's settings directory, so that an installed copy can still
    // put back what a print dialog changed.
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    m_settingsFileName = AppPaths::settingsDirectory() + exe.completeBaseName() + QStringLiteral(".plv");
    if (!m_printer)
        return false;
    QFile file(m_settingsFileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool ok = m_printer->writeComponent(&file, true);
    file.close();
    return ok && file.error() == QFileDevice::NoError;
}

void TplPrev::LoadPrinterSettings()
{
    if (!m_printer)
        return;
    if (!m_settingsFileName.isEmpty()) {
        QFile file(m_settingsFileName);
        if (file.open(QIODevice::ReadOnly))
            m_printer->readComponent(&file);
    }
    m_printer->ReadFromPrinter(false);
    UpdatePageMetrics();
}

// ---- drawing operations ------------------------------------------------------------------------

void TplPrev::SetFontSize(double points) { if (m_canvas) m_canvas->SetFontSize(points); }
void TplPrev::SetFontName(const QString& name) { if (m_canvas) m_canvas->SetFontName(name); }
void TplPrev::SetFontStyle(int flags) { if (m_canvas) m_canvas->SetFontStyle(flags); }
void TplPrev::SetFont(const PageFont& font) { if (m_canvas) m_canvas->SetFont(font); }
void TplPrev::SetTateChuYoko(bool on) { if (m_canvas) m_canvas->SetTateChuYoko(on); }
void TplPrev::SetPenColor(int bgr) { if (m_canvas) m_canvas->SetPenColor(bgr); }
void TplPrev::SetPenStyle(PenStyle style) { if (m_canvas) m_canvas->SetPenStyle(style); }
void TplPrev::SetPenWidth(int width) { if (m_canvas) m_canvas->SetPenWidth(width); }
void TplPrev::Line(int x1, int x2, int y1, int y2) { if (m_canvas) m_canvas->Line(x1, x2, y1, y2); }
void TplPrev::FrameRect(int x1, int x2, int y1, int y2) { if (m_canvas) m_canvas->FrameRect(x1, x2, y1, y2); }
void TplPrev::SetBrushColor(int bgr) { if (m_canvas) m_canvas->SetBrushColor(bgr); }
void TplPrev::FillRect(double x1, double x2, double y1, double y2) { if (m_canvas) m_canvas->FillRect(x1, y1, x2, y2); }
void TplPrev::TextOut(int x, int y, const QString& t) { if (m_canvas) m_canvas->TextOut(x, y, t); }
void TplPrev::TextOutCenter(int x, int y, const QString& t) { if (m_canvas) m_canvas->TextOutCenter(x, y, t); }

void TplPrev::TextLeft(int l, int r, int t, int b, const QString& s) { if (m_canvas) m_canvas->TextLeft(l, r, t, b, s); }
void TplPrev::TextCenter(int l, int r, int t, int b, const QString& s) { if (m_canvas) m_canvas->TextCenter(l, r, t, b, s); }
void TplPrev::TextMiddle(int l, int r, int t, int b, const QString& s) { if (m_canvas) m_canvas->TextMiddle(l, r, t, b, s); }
void TplPrev::TextRight(int l, int r, int t, int b, const QString& s) { if (m_canvas) m_canvas->TextRight(l, r, t, b, s); }
void TplPrev::TextVTop(int x, int t, int b, const QString& s) { if (m_canvas) m_canvas->TextVTop(x, t, b, s); }
void TplPrev::TextVCenter(int x, int t, int b, const QString& s) { if (m_canvas) m_canvas->TextVCenter(x, t, b, s); }
void TplPrev::TextVBottom(int x, int t, int b, const QString& s) { if (m_canvas) m_canvas->TextVBottom(x, t, b, s); }

void TplPrev::TextSpaced(int x1, int x2, int y1, int y2, int count, const QString& text)
{
    if (m_canvas)
        m_canvas->TextSpaced(x1, x2, y1, y2, count, text);
}

void TplPrev::TextOutRotated(int x, int y, double angle, double widthPercent, const QString& text)
{
    if (m_canvas)
        m_canvas->TextOutRotated(x, y, angle, widthPercent, text);
}

void TplPrev::DrawPostalCode(const QString& text, int offsetX, int offsetY, bool force, int shift, int frameColor)
{
    if (!m_canvas)
        return;
    PostalCodePage page;
    page.pageWidth = m_pageWidth;
    page.pageHeight = m_pageHeight;
    page.landscape = m_printer && m_printer->Landscape();
    page.printing = m_printing;
    m_canvas->DrawPostalCode(text, offsetX, offsetY, force, shift, frameColor, page);
}

const PictureFile& TplPrev::picture(const QString& fileName)
{
    const QFileInfo info(fileName);
    const QString key = info.absoluteFilePath();
    const bool exists = info.exists();
    const QDateTime modified = exists ? info.lastModified() : QDateTime();
    const qint64 size = exists ? info.size() : -1;
    auto it = m_pictures.find(key);
    if (it != m_pictures.end() && (*it)->existed == exists && (*it)->modified == modified
        && (*it)->size == size)
        return (*it)->picture;
    auto entry = std::make_shared<CachedPicture>();
    entry->existed = exists;
    entry->modified = modified;
    entry->size = size;
    // Reading and decoding may take a while: let the window breathe before and after.
    pumpMessages();
    entry->picture = PictureFile::load(fileName);
    pumpMessages();
    if (m_pictures.size() > 64)
        m_pictures.clear();
    m_pictures.insert(key, entry);
    return entry->picture;
}

void TplPrev::DrawImage(int x1, int x2, int y1, int y2, int mode, const QString& fileName)
{
    if (!m_canvas)
        return;
    const PictureFile& pic = picture(fileName);
    if (pic.isNull()) {
        const QString key = QFileInfo(fileName).absoluteFilePath();
        if (!m_reportedPictures.contains(key)) {
            m_reportedPictures.insert(key);
            m_pendingPictureErrors << fileName + QStringLiteral("（") + pic.errorString() + QStringLiteral("）");
        }
        return;
    }
    m_canvas->DrawPicture(x1, x2, y1, y2, mode, pic);
}

QStringList TplPrev::failedPictures() const
{
    QStringList list(m_reportedPictures.begin(), m_reportedPictures.end());
    list.sort();
    return list;
}

void TplPrev::reportPictureFailures()
{
    if (m_pendingPictureErrors.isEmpty())
        return;
    const QString lines = m_pendingPictureErrors.join(QStringLiteral("\r\n"));
    m_pendingPictureErrors.clear();
    tell(Messages::twoLines(kPictureFailed, lines));
}
