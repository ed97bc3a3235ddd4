#pragma once
// The layout editor shared by the postcard form and the label form: the card (or label)
// image with the fifteen field boxes and the stamp picture, the style controls, the
// print-item toggles, the honorific, the stamp tab, the sender and help buttons, the paper
// read-outs with the printer button, the position adjustment, record navigation, the
// print-run plumbing and closing with the save question.
//
// A form derives from it, hands its differences in Params (field kind, sizes, captions,
// help context, printer file), adds its own controls, places the shared group panels
// (they are created unplaced) and overrides the hooks below. The card image is pnlCard;
// its size is the card's bounds for every drag and key move.

#include "app/ui/TFrmBase1.h"
#include "layout/ui/LayoutFields.h"
#include "preview/FormPaper.h"

#include <QPoint>
#include <QRect>
#include <QStringList>
#include <array>
#include <functional>
#include <initializer_list>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class TImageEL;
class TNumberEdit;
class TPaintBoxEL;
class TShineBtn;
class TplPrev;
class TplSetPrinter;
struct LayoutSnapshot;

class TLayoutEditForm : public TFrmBase1 {
    Q_OBJECT
public:
    struct Params {
        LayoutFields::Form form = LayoutFields::Form::Postcard;
        QString caption;          // window title
        QString statusLabel;      // status bar panel 2
        QSize clientSize;         // the form's client size (at least 670 x 620)
        QSize cardSize;           // the card or label image, layout pixels
        QStringList fontSizes;    // items of cmbFontSize
        int helpContext = 0;      // help page of ssbHelp
        QString printerComponent; // printer component name; its file is <name>.plv
        QString printerHint;      // hint of ssbPrint
    };

    explicit TLayoutEditForm(const Params& params, QWidget* parent = nullptr);
    ~TLayoutEditForm() override;

    const Params& params() const { return m_params; }
    LayoutFields* fields() const { return m_fields; }
    TPaintBoxEL* box(int field) const;
    QSize cardSize() const;

    // --- editor state -----------------------------------------------------------------------
    const QStringList& records() const { return m_fields->records; }
    int currentRecord() const { return m_current; }
    TPaintBoxEL* selectedField() const { return m_selected; }
    bool loading() const { return m_loading; }
    // The cursor the editor shows over the card (what a drag or a hover asks for).
    Qt::CursorShape screenCursor() const { return m_screenCursor; }
    // The printer settings file: <settings directory>/<component name>.plv.
    QString printerFilePath() const;
    // The paper the form prints on: a postcard or an A4 label sheet.
    FormPaper formPaper() const;

    // --- operations -------------------------------------------------------------------------
    virtual void LoadLayout();
    virtual void RefreshRecord();
    void UpdateNavButtons();
    TPaintBoxEL* FirstVisibleField();
    void ShowFieldStyle(TPaintBoxEL* box);
    void ApplyStyleControls(TPaintBoxEL* box);
    void EnableStyleControls(bool on);
    void CenterCard();
    virtual void ShowPaperInfo();
    // Selects a field as a mouse click does (outline, style controls), without dragging.
    void selectField(TPaintBoxEL* box);
    // Keeps a box on the card after it turned or changed its style (the vertical toggle's rule).
    virtual void keepBoxOnCard(TPaintBoxEL* box);
    // Copies the layout into the settings image (what Yes on closing saves).
    virtual void storeLayout(AppSettings& settings) const;
    // The stamp file in use ("" when none).
    QString stampFile() const { return m_stampFile; }
    // Loads a stamp picture as the read button does after its dialog; false (and a warning)
    // when the picture cannot be read.
    bool loadStamp(const QString& fileName);

    // --- shared controls (created here, placed by the derived form) ------------------------
    QWidget* pnlCardBase;   // the area the card is centred in
    QWidget* pnlCard;       // the card or label image; fields and stamp lie on it
    TImageEL* imgStamp;
    QLineEdit* edtDummy;    // takes the focus when a field is selected

    QGroupBox* pnlPaper;    // "用紙情報"
    TShineBtn* ssbPrint;
    TShineBtn* ssbHelp;
    QLabel* lblPrinterName;
    QLabel* lblPaperName;
    QLabel* lblPaperH;
    QLabel* lblPaperW;

    QGroupBox* pnlField;    // "項目情報"
    QLabel* lblFld;
    QComboBox* cmbFldFont;
    QComboBox* cmbFontSize;
    TShineBtn* ssbTate;
    TShineBtn* ssbBold;
    TShineBtn* ssbIta;
    TShineBtn* ssbLeft;
    TShineBtn* ssbCenter;
    TShineBtn* ssbRight;

    QGroupBox* pnlItems;    // "印刷項目"
    QTabWidget* pgcItems;
    QWidget* tsAtesaki;     // "宛　先": toggles of fields 1 to 6
    QWidget* tsMoto;        // "差出人": toggles of fields 7 to 15, cbPostMark
    QWidget* tsImage;       // "画　像"
    std::array<TShineBtn*, kFieldCount> itemToggles{}; // element n-1 toggles field n
    QCheckBox* cbPostMark;
    QPushButton* bbtnStampRead;
    QPushButton* bbtnClear;
    QLineEdit* edtStampPath;
    QLabel* lblStampNote;
    TShineBtn* ssbMoto;

    QGroupBox* pnlOfset;    // "位置調整"
    TShineBtn* spbOfsetUp;
    TShineBtn* spbOfsetDown;
    TShineBtn* spbOfsetLeft;
    TShineBtn* spbOfsetRight;
    TNumberEdit* nedtOfsetY;
    TNumberEdit* nedtOfsetX;

    QGroupBox* pnlKeisho;   // "敬　　称"
    QCheckBox* cbKeisho;
    QComboBox* cmbKeisho;

    TShineBtn* ssbCsvFirst;
    TShineBtn* ssbCsvPrior;
    TShineBtn* ssbCsvNext;
    TShineBtn* ssbCsvLast;

    QPushButton* bbtnPrint;
    QPushButton* bbtnClose;

    TplPrev* plPrev1;
    TplSetPrinter* plSetPrinter;

public slots:
    void ssbCsvFirstClick();
    void ssbCsvPriorClick();
    void ssbCsvNextClick();
    void ssbCsvLastClick();
    void ssbTateClick();
    void styleControlChanged();
    void itemToggleClick(TShineBtn* toggle);
    void cbKeishoClick();
    void cmbKeishoChange();
    void bbtnStampReadClick();
    void bbtnClearClick();
    void ssbMotoClick();
    void ssbHelpClick();
    void ssbPrintClick();
    void spbOfsetUpClick();
    void spbOfsetDownClick();
    void spbOfsetLeftClick();
    void spbOfsetRightClick();
    virtual void cbPostMarkClick();
    virtual void bbtnPrintClick() = 0;
    void bbtnCloseClick();

protected:
    // --- hooks of the derived forms ---------------------------------------------------------
    // The stored layout of this form in the settings image.
    FieldStyles& storedFields(AppSettings& settings) const;
    ImageBox& storedImage(AppSettings& settings) const;
    // Settings of the form's own controls, read with the loading flag set (once right after
    // the field styles, once after the selection); and copied back on a confirmed save.
    virtual void loadOwnSettings(const AppSettings& settings, bool afterSelection);
    virtual void storeOwnSettings(AppSettings& settings) const;
    // The settings group that Yes on closing writes.
    virtual SettingsGroup settingsGroup() const;
    // Paints the card picture (nothing on a plain label image).
    virtual void DrawCardBackground() {}
    // Draws what the paper read-outs imply onto the card (the printable area); nothing here.
    virtual void DrawPrintableArea() {}
    // After the texts of the current record were filled, before the boxes repaint.
    virtual void recordFilled() {}
    // While the form opens: every box has its stored style, font and thickness, the stamp is
    // loaded; boxes lying off the card are put back right after this.
    virtual void fontsApplied() {}
    // Shows the selected field's position and length (after any box painted), or empties the
    // read-outs when nothing is selected; nothing here.
    virtual void showFieldPosition();
    // Places the controls for the form's size (on every resize).
    virtual void layoutControls();
    // What layoutControls does on both forms: the card area on the left; on the right a
    // column of the given width with the panels stacked from the top and the print and close
    // buttons side by side at the bottom.
    void placeInColumns(int columnWidth, std::initializer_list<QWidget*> panels);
    // What every page snapshot takes from the editor: the fields, records, sender and check
    // boxes (LayoutFields::fillSnapshot), the stamp and the position adjustment.
    void fillLayoutSnapshot(LayoutSnapshot& snapshot) const;
    // A field the mouse neither moves nor resizes (the postcard's postal-code digits).
    virtual bool isPinned(const TPaintBoxEL* box) const;
    // True when the stamp counts as dropped outside the card.
    virtual bool stampOutside(const QRect& stamp) const;
    // Before a print run: without records the form's own warning (noRecords) and false;
    // otherwise what the checks before printing found (one warning with every line, when
    // there is any), then the question "印刷します。" / "よろしいですか？" and its answer.
    bool confirmPrint(const QString& noRecords, const QStringList& findings = {});
    // Sets the engine up and shows the preview of pageCount pages drawn by drawPage.
    // Exceptions of the run are reported, never passed on.
    bool runPrint(const QString& title, int pageCount, std::function<void()> drawPage);

    // --- events ------------------------------------------------------------------------------
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The field's thickness-independent minimum length: 15 for vertical, 10 for horizontal.
    static int minimumLength(const TPaintBoxEL* box);

    void setScreenCursor(Qt::CursorShape shape);
    void restoreScreenCursor();

    bool m_loading = false;

private:
    void createControls();
    TShineBtn* makeButton(QWidget* parent, const QString& name, const QString& glyph, const QString& caption,
                          const QString& hint);
    void fieldMouseDown(TPaintBoxEL* box, QMouseEvent* event);
    void fieldMouseMove(TPaintBoxEL* box, QMouseEvent* event);
    void fieldMouseUp(TPaintBoxEL* box);
    void fieldHover(TPaintBoxEL* box, const QPoint& local);
    void stampMouseDown(QMouseEvent* event);
    void stampMouseMove(QMouseEvent* event);
    void stampMouseUp();
    void stampHover(const QPoint& local);
    bool arrowKey(QKeyEvent* event);
    void putPointerBack();
    void showRecord(int index);
    void repairOffCardFields();
    void moveOffset(TNumberEdit* edit, int tenths);

    Params m_params;
    LayoutFields* m_fields = nullptr;
    int m_current = 0;
    TPaintBoxEL* m_selected = nullptr;
    QString m_stampFile;
    bool m_shown = false;
    bool m_closing = false;

    // Drag state, shared by the field boxes and the stamp.
    QPoint m_downPoint;     // mouse-down point in the control's own coordinates
    QPoint m_lastScreen;    // last accepted screen position of the pointer
    bool m_moving = false;
    int m_edgeH = 0;        // 1 left edge, 2 right edge
    int m_edgeV = 0;        // 1 top edge, 2 bottom edge
    bool m_dragging = false;
    Qt::CursorShape m_savedCursor = Qt::ArrowCursor;
    Qt::CursorShape m_screenCursor = Qt::ArrowCursor;
};
