#pragma once
// The CSV set-up dialog: the user picks the CSV file, says which CSV field feeds each of
// the seven address items, the text delimiter and whether the first line is a header.
// Its only lasting effect is a confirmed update: AppSettings.csv changes and [POSTCSV]
// is written.

#include "platform/CommonDialogs.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TShineBtn;

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
    QList<QComboBox*> mappingBoxes() const;

    TShineBtn* ssbCsvOpen;
    QLineEdit* edtCsvPath;
    QComboBox* cmbTriPost;
    QComboBox* cmbTriAdr1;
    QComboBox* cmbTriAdr2;
    QComboBox* cmbTriName1;
    QComboBox* cmbTriName2;
    QComboBox* cmbTriCBar;
    QComboBox* cmbTriKeisho;
    QComboBox* cmbText;
    QCheckBox* cbHead;
    QPushButton* bbtnUpdate;
    QPushButton* bbtnEnd;
    TShineBtn* ssbHelp;

    OpenFileRequest m_opdCsv;
    QStringList m_lines;
    bool m_shown = false;
};
