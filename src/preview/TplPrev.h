#pragma once
// The preview engine: turns the page-drawing routine of a print form into a multi-page job
// that can be previewed and printed. Every page is recorded on demand (only the current one
// is held) by calling the routine with CurrentPage set; the recording is then shown by the
// preview window or replayed onto the printer. All drawing operations take 0.1 mm from the
// top-left corner of the physical sheet, y downwards; font sizes are points.

#include "preview/PageCanvas.h"
#include "preview/PageRecording.h"

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <QString>
#include <QTransform>
#include <functional>
#include <memory>
#include <stdexcept>

class PreviewWindow;
class PictureFile;
class TplSetPrinter;

class TplPrev : public QObject {
    Q_OBJECT
public:
    enum TFormWindowState { fwNormal, fwMaximized, fwMinimized, fwWorkArea, fwFullScreen };
    enum TZoomType { ztWholePage, ztPageWidth, ztOther };
    enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
    enum TPosition {
        poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
        poMainFormCenter, poOwnerFormCenter
    };
    enum TBorderIcon { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
    enum class RunState { Idle, Started };

    using DrawPageRoutine = std::function<void()>;
    using NotifyEvent = std::function<void(QObject* sender)>;
    using TplPrevPageEvent = std::function<void(QObject* sender, int page)>;

    // The caption of every message box of the preview components.
    static QString messageCaption();

    explicit TplPrev(QObject* parent = nullptr);
    ~TplPrev() override;

    // ---- published properties ------------------------------------------------------------
    TplSetPrinter* plSetPrinter() const;
    void setPlSetPrinter(TplSetPrinter* printer);
    QString Title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    Qt::CursorShape Cursor() const { return m_cursor; }
    void setCursor(Qt::CursorShape cursor) { m_cursor = cursor; }
    QString FormName() const { return m_formName; }
    void setFormName(const QString& name) { m_formName = name; }
    int FormTop() const { return m_formTop; }
    void setFormTop(int v) { m_formTop = v; }
    int FormLeft() const { return m_formLeft; }
    void setFormLeft(int v) { m_formLeft = v; }
    int FormWidth() const { return m_formWidth; }
    void setFormWidth(int v) { m_formWidth = v; }
    int FormHeight() const { return m_formHeight; }
    void setFormHeight(int v) { m_formHeight = v; }
    QIcon FormIcon() const { return m_formIcon; }
    void setFormIcon(const QIcon& icon) { m_formIcon = icon; } // a null icon clears it
    int FormBorderIcons() const { return m_formBorderIcons; }
    void setFormBorderIcons(int icons) { m_formBorderIcons = icons; }
    TBorderStyle FormBorderStyle() const { return m_formBorderStyle; }
    void setFormBorderStyle(TBorderStyle s) { m_formBorderStyle = s; }
    TPosition FormPosition() const { return m_formPosition; }
    void setFormPosition(TPosition p) { m_formPosition = p; }
    bool FormCanMove() const { return m_formCanMove; }
    void setFormCanMove(bool v) { m_formCanMove = v; }
    bool FormCanResize() const { return m_formCanResize; }
    void setFormCanResize(bool v) { m_formCanResize = v; }
    TFormWindowState FormWindowState() const { return m_formWindowState; }
    void setFormWindowState(TFormWindowState s) { m_formWindowState = s; }
    bool FormStatusBar() const { return m_formStatusBar; }
    void setFormStatusBar(bool v) { m_formStatusBar = v; }
    bool FormIconBar() const { return m_formIconBar; }
    void setFormIconBar(bool v) { m_formIconBar = v; }
    int PaperColor() const { return m_paperColor; } // $BBGGRR
    void setPaperColor(int bgr) { m_paperColor = bgr; }
    bool ViewClip() const { return m_viewClip; }
    void setViewClip(bool v) { m_viewClip = v; }
    int PrintOffsetX() const { return m_printOffsetX; }
    void setPrintOffsetX(int v) { m_printOffsetX = v; }
    int PrintOffsetY() const { return m_printOffsetY; }
    void setPrintOffsetY(int v) { m_printOffsetY = v; }
    int PageCount() const { return m_pageCount; }
    void setPageCount(int count); // <= 0 is ignored; n > 0 also sets ToPage := n
    TZoomType ZoomType() const { return m_zoomType; }
    void setZoomType(TZoomType z) { m_zoomType = z; }

    NotifyEvent OnPrinterSetupDialog;
    NotifyEvent OnClose;
    TplPrevPageEvent OnBeforeView;
    TplPrevPageEvent OnAfterView;
    TplPrevPageEvent OnResize;
    TplPrevPageEvent OnPrint;
    // Progress of a print job: called after each page with the pages done and the pages of
    // the job. Returning false stops the job; it is then withdrawn whole and Print returns
    // false without a message. Used by the preview window for its progress display.
    std::function<bool(int done, int total)> PrintProgress;

    // ---- run state ---------------------------------------------------------------------------
    RunState State() const { return m_state; }
    int CurrentPage() const { return m_currentPage; }
    void setCurrentPage(int page) { m_currentPage = page; }
    int FromPage() const { return m_fromPage; }
    void setFromPage(int page) { m_fromPage = page; }
    int ToPage() const { return m_toPage; }
    void setToPage(int page) { m_toPage = page; }
    int PageWidth() const { return m_pageWidth; }
    void setPageWidth(int width);   // <= 0 is ignored
    int PageHeight() const { return m_pageHeight; }
    void setPageHeight(int height); // <= 0 is ignored
    double PageRatio() const { return m_pageRatio; }
    int PageWidthPx() const { return m_pageWidthPx; }
    int PageHeightPx() const { return m_pageHeightPx; }
    bool Printing() const { return m_printing; }
    bool PdfPrinter() const { return m_pdfPrinter; }
    PreviewWindow* PreviewForm() const { return m_previewForm; }
    void setPreviewForm(PreviewWindow* window) { m_previewForm = window; }
    QString SettingsFileName() const { return m_settingsFileName; }

    // ---- page metrics (0.1 mm unless named Px) ------------------------------------------------
    int PaperWidthPx() const { return m_paperWidthPx; }
    int PaperHeightPx() const { return m_paperHeightPx; }
    int PaperWidth() const { return m_paperWidth; }
    int PaperHeight() const { return m_paperHeight; }
    int LeftMargin() const { return m_leftMargin; }
    int TopMargin() const { return m_topMargin; }
    int PrintableRight() const { return m_printableRight; }
    int PrintableBottom() const { return m_printableBottom; }
    int DpiX() const { return m_dpiX; }
    int DpiY() const { return m_dpiY; }

    // ---- run operations ------------------------------------------------------------------------
    // Each returns false when the operation was refused or abandoned (the user has been told).
    bool BeginPreview(DrawPageRoutine drawPage);
    bool ShowPreview();
    bool Print();
    // Prints FromPage..ToPage into a PDF file instead of the printer: the printer's paper and
    // mapping, Printing set, as on paper (the batch printer and tests use it).
    bool PrintToPdf(const QString& fileName);
    // Without a printer component, lays runs out on a sheet of width x height (0.1 mm) whose
    // whole area is printable, for PrintToPdf (the batch printer writes postcard-sized PDF
    // files this way, whether or not a printer is installed). 0 x 0 removes it. A printer
    // component, when set, takes precedence; Print() always needs one.
    void setFileSheet(int width, int height);
    QSize FileSheet() const { return m_fileSheet; }
    static constexpr int kFileSheetDpi = 2540;
    // Records CurrentPage and returns the page, or nullptr while Idle, beyond PageCount or
    // without a printer component. The page stays valid until the next recording.
    const PageRecording* RenderPage();
    // The page recorded last (the page metafile), or nullptr.
    const PageRecording* PageMetafile() const;
    bool SavePrinterSettings();
    void LoadPrinterSettings();
    void UpdatePageMetrics();
    // The canvas of the page being recorded, for callers that draw directly; nullptr between pages.
    PageCanvas* Canvas() const { return m_canvas.get(); }

    // Logical 0.1 mm of the sheet to printer pixels of a paint device whose origin is the
    // sheet's top-left corner, with PrintOffsetX/Y applied.
    QTransform printerTransform() const;
    // The printable area in 0.1 mm.
    QRect printableRect() const;
    // Paints the page recorded last into target (device units of the painter): the preview.
    void paintPage(QPainter* painter, const QRectF& target) const;

    // ---- drawing operations (on the current page canvas) -------------------------------
    void SetFontSize(double points);
    void SetFontName(const QString& name);
    void SetFontStyle(int styleFlags);
    void SetFont(const PageFont& font);
    // 縦中横 for the vertical texts that follow (PageCanvas::SetTateChuYoko).
    void SetTateChuYoko(bool on);
    void SetPenColor(int bgr);
    void SetPenStyle(PenStyle style);
    void SetPenWidth(int width);
    void Line(int x1, int x2, int y1, int y2);
    void FrameRect(int x1, int x2, int y1, int y2);
    void SetBrushColor(int bgr);
    // The rectangle filled with the brush colour. Its edges may fall between whole tenths of
    // a millimetre: the bars of a customer barcode need finer steps.
    void FillRect(double x1, double x2, double y1, double y2);
    void TextOut(int x, int y, const QString& text);
    void TextOutCenter(int x, int y, const QString& text);
    void TextLeft(int left, int right, int top, int bottom, const QString& text);
    void TextCenter(int left, int right, int top, int bottom, const QString& text);
    void TextMiddle(int left, int right, int top, int bottom, const QString& text);
    void TextRight(int left, int right, int top, int bottom, const QString& text);
    void TextVTop(int x, int top, int bottom, const QString& text);
    void TextVCenter(int x, int top, int bottom, const QString& text);
    void TextVBottom(int x, int top, int bottom, const QString& text);
    void TextSpaced(int x1, int x2, int y1, int y2, int count, const QString& text);
    void TextOutRotated(int x, int y, double angle, double widthPercent, const QString& text);
    void DrawPostalCode(const QString& text, int offsetX, int offsetY, bool force, int shift, int frameColor);
    void DrawImage(int x1, int x2, int y1, int y2, int mode, const QString& fileName);

    // Paints the paper of a previewed page: the paper colour over the whole sheet and, when
    // the paper source is a tractor feed ("トラクタ", half- or full-width), its sprocket holes
    // and perforations.
    static void PaintPaper(PageCanvas* canvas, int width, int height, int paperColor,
                           const QString& paperSourceName);
    static bool isTractorFeed(const QString& paperSourceName);

    // Files that failed to load during this run, each reported once.
    QStringList failedPictures() const;

    class JobTarget;

private:
    bool runJob(JobTarget& job);
    bool requirePrinter();
    bool preparePageCanvas(PageRecording* target);
    void closeCanvas();
    const PictureFile& picture(const QString& fileName);
    void reportPictureFailures();

    QPointer<TplSetPrinter> m_printer;
    QString m_title;
    Qt::CursorShape m_cursor = Qt::WaitCursor;
    QString m_formName;
    int m_formTop = 20;
    int m_formLeft = 20;
    int m_formWidth = 1536;
    int m_formHeight = 1152;
    QIcon m_formIcon;
    int m_formBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TBorderStyle m_formBorderStyle = bsSizeable;
    TPosition m_formPosition = poDefault;
    bool m_formCanMove = true;
    bool m_formCanResize = true;
    TFormWindowState m_formWindowState = fwNormal;
    bool m_formStatusBar = true;
    bool m_formIconBar = true;
    int m_paperColor = 0xFFFFFF;
    bool m_viewClip = true;
    int m_printOffsetX = 0;
    int m_printOffsetY = 0;
    int m_pageCount = 1;
    TZoomType m_zoomType = ztWholePage;

    RunState m_state = RunState::Idle;
    DrawPageRoutine m_drawPage;
    int m_currentPage = 1;
    int m_fromPage = 1;
    int m_toPage = 1;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    double m_pageRatio = 0;
    int m_pageWidthPx = 0;
    int m_pageHeightPx = 0;
    bool m_printing = false;
    QSize m_fileSheet;
    bool m_recording = false;
    bool m_pdfPrinter = false;
    PreviewWindow* m_previewForm = nullptr;
    QString m_settingsFileName;

    int m_dpiX = 0, m_dpiY = 0;
    int m_paperWidthPx = 0, m_paperHeightPx = 0;
    int m_paperWidth = 0, m_paperHeight = 0;
    int m_leftMargin = 0, m_topMargin = 0;
    int m_printableRight = 0, m_printableBottom = 0;

    PageRecording m_page;
    bool m_pageValid = false;
    std::unique_ptr<PageCanvas> m_canvas;

    struct CachedPicture;
    QHash<QString, std::shared_ptr<CachedPicture>> m_pictures;
    QSet<QString> m_reportedPictures;
    QStringList m_pendingPictureErrors;
};
