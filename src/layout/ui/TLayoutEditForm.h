#pragma once
// The layout editor shared by the postcard form and the label form: the card (or label)
// image with the fifteen field boxes and the stamp picture, the style controls with undo and
// redo, the print-item toggles, the honorific, the stamp tab, the sender and help buttons,
// the paper read-outs with the printer button, the position adjustment, record navigation,
// the print-run plumbing and closing with the save question.
//
// The layout itself is the form's LayoutDocument: the controls and the boxes show it, the
// mouse, the keys and the controls change it through LayoutRules, and every change is one
// step of its history. The boxes only draw. What is not a step stays here: the record shown,
// the selection, the printer.
//
// A form derives from it, hands its differences in Params (kind, captions, sizes, help
// context, printer file), adds its own controls, places the shared group panels (they are
// created unplaced) and overrides the hooks below.

#include "app/RecordChoice.h"
#include "app/ui/TFrmBase1.h"
#include "layout/LayoutDocument.h"
#include "layout/LayoutRules.h"
#include "layout/PrintCheck.h"
#include "layout/ui/LayoutFields.h"
#include "preview/FormPaper.h"

#include <QPoint>
#include <QStringList>
#include <array>
#include <functional>
#include <initializer_list>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTabWidget;
class QWidget;
class PrintRun;
class TImageEL;
class TNumberEdit;
class TPaintBoxEL;
class TShineBtn;
class TplPrev;
class TplSetPrinter;

class TLayoutEditForm : public TFrmBase1 {
    Q_OBJECT
public:
    struct Params {
        LayoutKind kind = LayoutKind::Postcard;
        QString caption;          // window title
        QString statusLabel;      // status bar panel 2
        QSize clientSize;         // the form's client size (at least 670 x 620)
        QStringList fontSizes;    // items of cmbFontSize
        int helpContext = 0;      // help page of ssbHelp
        QString printerComponent; // printer component name; its file is <name>.plv
        QString printerHint;      // hint of ssbPrint
    };

    explicit TLayoutEditForm(const Params& params, QWidget* parent = nullptr);
    ~TLayoutEditForm() override;

    const Params& params() const { return m_params; }
    LayoutDocument& document() const { return *m_document; }
    LayoutFields* fields() const { return m_fields; }
    TPaintBoxEL* box(int field) const;
    QSize cardSize() const;

    // --- editor state -----------------------------------------------------------------------
    const QStringList& records() const { return m_fields->records; }
    int currentRecord() const { return m_current; }
    // The records a print run prints: at opening those of the selection column (every record
    // without one), then what the user chose in "宛名選択". Kept while the form is open; it
    // is never saved.
    const RecordChoice& recordChoice() const { return m_choice; }
    void setRecordChoice(const RecordChoice& choice);
    int selectedFieldNumber() const { return m_selected; } // 0: none
    TPaintBoxEL* selectedField() const;
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
    // Selects the lowest-numbered visible field (or none, with the style controls resting).
    void FirstVisibleField();
    // Shows the box's style in the style controls and takes the focus off them.
    void ShowFieldStyle(TPaintBoxEL* box);
    // What the style controls say for the field: its style with their face, size, bold,
    // italic, and (when enabled) vertical and alignment; a size that is no number is 9.
    FieldStyle styleFromControls(int field) const;
    // Restyles the box from the style controls (one step).
    void ApplyStyleControls(TPaintBoxEL* box);
    void EnableStyleControls(bool on);
    void CenterCard();
    virtual void ShowPaperInfo();
    // Selects a field as a mouse click does (outline, style controls), without dragging;
    // 0 or nullptr selects none.
    void selectField(int field);
    void selectField(TPaintBoxEL* box);
    // Copies the layout into the settings image (what Yes on closing saves).
    void storeLayout(AppSettings& settings) const { m_document->store(settings); }
    // The stamp file in use ("" when none).
    QString stampFile() const { return m_document->state().stamp.path; }
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

    QGroupBox* pnlField;    // "項目情報", in pages chosen with tabFld
    QLabel* lblFld;
    QTabBar* tabFld;        // "書式" (face, size, direction, alignment), "組版" (pnlFldType)
    QComboBox* cmbFldFont;
    QComboBox* cmbFontSize;
    TShineBtn* ssbTate;
    TShineBtn* ssbBold;
    TShineBtn* ssbIta;
    TShineBtn* ssbLeft;
    TShineBtn* ssbCenter;
    TShineBtn* ssbRight;
    TShineBtn* ssbUndo;     // "元に戻す", on every page
    TShineBtn* ssbRedo;     // "やり直し"
    QCheckBox* cbBarcode;   // "バーコードで印刷": shown while field 6 is selected
    // The page "組版": the Japanese typesetting of the address and name fields.
    QWidget* pnlFldType;
    QComboBox* cmbKansuji;  // "漢数字": しない / 一二三 / 十百
    QComboBox* cmbHyphen;   // "ハイフン" between numbers in kanji: 縦線 / の
    QCheckBox* cbTcy;       // "縦中横"
    QCheckBox* cbFit;       // "自動縮小"

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
    QPushButton* bbtnChoose; // "宛名選択…"
    QLabel* lblChoice;       // "12 / 30 件選択"
    TShineBtn* ssbCsvOverflow; // "枠外": the next record whose text does not fit

    QPushButton* bbtnPrint;
    QPushButton* bbtnClose;

    TplPrev* plPrev1;
    TplSetPrinter* plSetPrinter;

public slots:
    void ssbCsvFirstClick();
    void ssbCsvPriorClick();
    void ssbCsvNextClick();
    void ssbCsvLastClick();
    void bbtnChooseClick();
    void ssbCsvOverflowClick();
    void ssbTateClick();
    void styleControlChanged();
    void ssbUndoClick();
    void ssbRedoClick();
    void cbBarcodeClick();
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
    // The document was opened: the form's own controls take its values.
    virtual void documentOpened(const LayoutOpening& opening);
    // The settings group that Yes on closing writes.
    virtual SettingsGroup settingsGroup() const;
    // Paints the card picture (nothing on a plain label image).
    virtual void DrawCardBackground() {}
    // Draws what the paper read-outs imply onto the card (the printable area); nothing here.
    virtual void DrawPrintableArea() {}
    // After the texts of the current record were filled, before the boxes repaint.
    virtual void recordFilled() {}
    // Shows the selected field's position and length (after any box painted), or empties the
    // read-outs when nothing is selected; nothing here.
    virtual void showFieldPosition() {}
    // Field `field` of the document changed and its box shows it.
    virtual void fieldShown(int field);
    // The offsets, 〒 options or honorific of the document changed and the controls show them.
    virtual void optionsShown();
    // Places the controls for the form's size (on every resize).
    virtual void layoutControls();
    // What layoutControls does on both forms: the card area on the left; on the right a
    // column of the given width with the panels stacked from the top and the print and close
    // buttons side by side at the bottom.
    void placeInColumns(int columnWidth, std::initializer_list<QWidget*> panels);
    // True while the run prints the record on screen whatever the choice (the postcard's
    // "表示宛名のみ印刷").
    virtual bool printsShownRecordOnly() const { return false; }
    // 印刷 is enabled unless the records are there but none is chosen (then the read-out
    // says how to choose); a form calls it when what printsShownRecordOnly says changes.
    void updatePrintButton();
    // Before a print run: without records the form's own warning (noRecords) and false.
    // When texts do not fit (the report of the run's check), one question with how many
    // cards or labels that is and every line of the report: yes prints anyway, no shows the
    // first record that does not fit from the one on screen and prints nothing. Otherwise
    // the report's other findings in one warning, when there are any, then the question
    // "印刷します。" / "よろしいですか？". A paper that is not the form's (FormPapers::mismatch)
    // asks its own question instead of that one, and after a yes to printing anyway.
    bool confirmPrint(const QString& noRecords, const PrintCheckReport& report);
    // The check before printing of the run the form would print now (what 枠外 goes through).
    virtual PrintCheckReport checkRun() const = 0;
    // Sets the engine up and shows the preview of the run. Exceptions of the run are
    // reported, never passed on.
    bool runPrint(std::shared_ptr<const PrintRun> run);

    // --- events ------------------------------------------------------------------------------
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    void setScreenCursor(Qt::CursorShape shape);
    void restoreScreenCursor();

    bool m_loading = false;

private:
    void createControls();
    TShineBtn* makeButton(QWidget* parent, const QString& name, const QString& glyph, const QString& caption,
                          const QString& hint);
    // The observers of the document.
    void showAll();
    void showField(int field);
    void showStamp();
    void showOptions();
    void showStyleControls(int field);
    void showTypesetControls(int field);
    // One step that changes field n's typesetting options as `edit` does.
    void changeTypesetting(const std::function<void(FieldStyle&)>& edit);
    void showFieldPage(int page);

    void fieldMouseDown(int field, QMouseEvent* event);
    void fieldMouseMove(int field, QMouseEvent* event);
    void fieldMouseUp();
    void fieldHover(int field, const QPoint& local);
    void stampMouseDown(QMouseEvent* event);
    void stampMouseMove(QMouseEvent* event);
    void stampMouseUp();
    void stampHover(const QPoint& local);
    bool arrowKey(QKeyEvent* event);
    bool undoKey(QKeyEvent* event);
    void putPointerBack();
    void showRecord(int index);
    void moveOffset(int dx, int dy);

    Params m_params;
    LayoutDocument* m_document = nullptr;
    LayoutFields* m_fields = nullptr;
    int m_current = 0;
    int m_selected = 0;
    RecordChoice m_choice;
    QString m_stampShown; // the file whose picture imgStamp holds
    bool m_shown = false;
    bool m_closing = false;

    // Drag state, shared by the field boxes and the stamp.
    LayoutRules::Grab m_grab;
    QPoint m_lastScreen; // last accepted screen position of the pointer
    bool m_dragging = false;
    Qt::CursorShape m_savedCursor = Qt::ArrowCursor;
    Qt::CursorShape m_screenCursor = Qt::ArrowCursor;
};
