#pragma once
// The preview window: a TplPrev engine binds itself to it and shows it modally; the window
// shows the engine's pages one at a time and lets the user page through them, zoom, print
// a page range, copy the page or the window, and print a hard copy of the window. It draws
// nothing itself: it replays the engine's recording of the current page.
//
// Controls carry their names as object names (IconBar, PrintBtn, ..., ScrollBox1, Image1,
// Shape1, Shape2, StatusBar, PopupMenu1). One instance serves every print run: closing
// only hides it.

#include "preview/PreviewWindow.h"
#include "preview/TplPrev.h"

#include <QDialog>
#include <QPointer>
#include <QRect>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QStatusBar;
class QToolButton;
class PreviewImage;
class PreviewShape;

class TplPrevForm : public QDialog, public PreviewWindow {
    Q_OBJECT
public:
    explicit TplPrevForm(QWidget* parent = nullptr);
    ~TplPrevForm() override;

    // ---- what the engine uses --------------------------------------------------------------
    QString windowName() const override;
    QObject* windowObject() override;
    // Takes the engine and its window settings (caption, borders, bars, icon, placement).
    // Ignored for no engine and while the window is visible.
    void Bind(TplPrev* engine) override;
    // Shows the window modally; without a bound engine it only says that it cannot be shown
    // directly and returns the modal result unchanged.
    int ShowModal() override;
    bool IsVisible() const override;

    // ---- state ---------------------------------------------------------------------------------
    TplPrev* Engine() const { return m_engine.data(); }
    // Set once the window has appeared with an engine; resizing re-fits only then.
    bool Shown() const { return m_shown; }
    // Placement of Image1 inside ScrollBox1 (ImgLeft, ImgTop, ImgWidth, ImgHeight), in the
    // scroll box's content coordinates.
    QRect imagePlacement() const { return QRect(m_imgLeft, m_imgTop, m_imgWidth, m_imgHeight); }
    // Text of a status bar panel (0: the page status).
    QString statusText(int panel) const;

    // Records the engine's CurrentPage and shows it, then updates buttons and status. An
    // error of the page routine propagates after buttons and status are brought up to date.
    void ShowPage();
    // The printer setup action. With askUser the printer setup dialog comes first and a
    // cancel ends the action.
    void PrinterSetup(bool askUser);

    static QString directShowMessage();

public slots:
    // The actions of the tool bar and of the pop-up menu. Each is ignored while another
    // action of the window is running (recording pumps messages); an error of the page
    // routine is shown in a message and the window stays usable.
    void PrintBtnClick();
    void PrinterSetBtnClick();
    void FirstPageBtnClick();
    void PriorPageBtnClick();
    void NextPageBtnClick();
    void LastPageBtnClick();
    void ZoomDownBtnClick();
    void ZoomUpBtnClick();
    void PageWholeBtnClick();
    void PageWidthBtnClick();
    void CloseBtnClick();
    void CopyPageClick();
    void CopyScreenClick();
    void HardCopyClick();

public:
    void setVisible(bool visible) override;
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* IconBar;
    QToolButton* PrintBtn;
    QToolButton* PrinterSetBtn;
    QWidget* Space10;
    QToolButton* FirstPageBtn;
    QToolButton* PriorPageBtn;
    QToolButton* NextPageBtn;
    QToolButton* LastPageBtn;
    QWidget* Space20;
    QToolButton* ZoomDownBtn;
    QToolButton* ZoomUpBtn;
    QToolButton* PageWholeBtn;
    QToolButton* PageWidthBtn;
    QWidget* Space30;
    QToolButton* CloseBtn;
    QStatusBar* StatusBar;
    QWidget* DisplayPanel;
    QScrollArea* ScrollBox1;
    PreviewShape* Shape2;
    PreviewImage* Image1;
    PreviewShape* Shape1;
    QMenu* PopupMenu1;

private:
    QToolButton* makeButton(const char* name, const QString& caption, const QString& hint, int width,
                            int glyph);
    // Runs an action unless another is running; shows what the page routine threw.
    void guarded(const std::function<void()>& action);
    void showError(const QString& what);
    void pumpMessages();

    void formShow();
    void showPageNow();
    void updateButtonsAndStatus();
    void placeImage();
    void placeFrameAndShadow();
    void updateScrollRange();
    void setScrollBarsShown(bool shown);
    void syncScrollBars();
    void applyZoomType();
    void wholePage();
    void pageWidth();
    void zoomDown();
    void zoomUp();
    void firstPage();
    void priorPage();
    void nextPage();
    void lastPage();
    void print();
    void printerSetup(bool askUser);
    void copyPage();
    QImage copyScreen();
    void hardCopy();
    bool putOnClipboard(class QMimeData* data, const QString& checkFormat);
    void openPopupMenu(const QPoint& globalPos);

    QPointer<TplPrev> m_engine;
    bool m_shown = false;
    bool m_firstShow = false;
    bool m_autoScroll = false;
    int m_imgLeft = 0;
    int m_imgTop = 0;
    int m_imgWidth = 0;
    int m_imgHeight = 0;

    int m_busy = 0;
    bool m_closePending = false;
    bool m_refitting = false;
    QPoint m_pinnedPos;
    bool m_pinned = false;
    QLabel* m_panels[2];
};
