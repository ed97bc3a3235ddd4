#pragma once
// The CSV set-up dialog: the user picks the CSV file, says which CSV field feeds each of
// the seven address items (tab "宛名項目") and the joint names of name 1 with their honorifics
// (tab "連名"), how the file is read (tab "ファイル形式"):
// its character encoding, the text delimiter, whether quotes group commas and line breaks,
// and whether the first line is a header; and optionally a column that marks the records to
// print or to skip (tab "印刷対象", [POSTCSV] SELNO and SELMODE). Its only lasting effect is a confirmed update:
// AppSettings.csv changes and [POSTCSV] is written.

#include "app/AppSettings.h"
#include "platform/CommonDialogs.h"

#include <QDialog>
#include <QStringList>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TShineBtn;
struct CsvFormat;

class TFrmInpTri : public QDialog {
    Q_OBJECT
public:
    explicit TFrmInpTri(QWidget* parent = nullptr);

    // The file dialog's settings (its file name is the one an update saves).
    const OpenFileRequest& opdCsv() const { return m_opdCsv; }
    // The lines of the file last loaded into the dialog.
    const QStringList& lines() const { return m_lines; }

    // The longest entry text shown in a mapping box; longer names are cut for display
    // only (the saved value is the entry's position).
    static constexpr int kMaxEntryChars = 80;

public slots:
    void ssbCsvOpenClick();
    void bbtnUpdateClick();
    void bbtnEndClick();
    void ssbHelpClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void loadFile();
    // Reads the file again after the encoding or the quoting changed; the choices stay.
    void readFormatAgain();
    // Reads the file into the line list and the mapping boxes; false when it cannot be
    // read or is empty (the warning is then shown).
    bool readFile();
    // How the dialog reads the file: the encoding and quoting chosen in it, the saved delimiter.
    CsvFormat chosenFormat() const;
    // Says once per list when quoting is off and its first records hold a quoted comma.
    void offerQuoting();
    // Every mapping box: the seven address items, then 連名１, 連名１敬称 .. 連名３敬称.
    QList<QComboBox*> mappingBoxes() const;
    // The mapping boxes and the selection column's box: each lists the columns of the file.
    QList<QComboBox*> columnBoxes() const;
    // What the selection column chooses of the file's records, in words under its box.
    void showSelectionCount();

    TShineBtn* ssbCsvOpen;
    QLineEdit* edtCsvPath;
    QComboBox* cmbTriPost;
    QComboBox* cmbTriAdr1;
    QComboBox* cmbTriAdr2;
    QComboBox* cmbTriName1;
    QComboBox* cmbTriName2;
    QComboBox* cmbTriCBar;
    QComboBox* cmbTriKeisho;
    QComboBox* cmbTriSel;     // "印刷対象": the selection column
    QRadioButton* rbSelPrint; // "印刷する宛名": a marked record is printed
    QRadioButton* rbSelSkip;  // "除外する宛名": a marked record is skipped
    QLabel* lblSelCount;
    // 連名n and 連名n敬称 (element n-1); 対象項目無し is stored as -1, none.
    std::array<QComboBox*, kJointNameColumns> cmbTriRen{};
    std::array<QComboBox*, kJointNameColumns> cmbTriRenKeisho{};
    QTabWidget* pgcTri;
    QComboBox* cmbCsvCode;
    QLabel* lblCsvCodeFound;
    QComboBox* cmbText;
    QCheckBox* cbQuote;
    QCheckBox* cbHead;
    QPushButton* bbtnUpdate;
    QPushButton* bbtnEnd;
    TShineBtn* ssbHelp;

    OpenFileRequest m_opdCsv;
    QStringList m_lines;
    bool m_shown = false;
};
