#pragma once
// "宛名選択": which records of the address list a form prints. Every record in a list
// (number, postal code, name 1, name 2, address 1) with a check box each; a search box that
// narrows the list to the records holding a text; "全選択", "全解除" and "反転" for the rows
// the search shows; a range field ("1-36, 40, 45-") whose Enter replaces every tick with
// exactly those records. OK hands the ticks back as a RecordChoice.

#include "app/RecordChoice.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RecordListModel;
struct CsvColumnMap;

class TFrmRecordSelect : public QDialog {
    Q_OBJECT
public:
    TFrmRecordSelect(const QStringList& records, const CsvColumnMap& columns, const RecordChoice& choice,
                     QWidget* parent = nullptr);

    // The ticks as they stand.
    RecordChoice choice() const;
    RecordListModel* model() const { return m_model; }

    QLineEdit* edtSearch;
    QTableView* grdRecords;
    QPushButton* bbtnAll;    // "全選択": tick every row shown
    QPushButton* bbtnNone;   // "全解除"
    QPushButton* bbtnInvert; // "反転"
    QLineEdit* edtRange;     // Enter applies it
    QLabel* lblRange;        // why a range cannot be read, or that it was cut to the list
    QLabel* lblCount;        // "12 / 30 件選択"
    QLabel* lblShown;        // "表示 8 件"
    QPushButton* bbtnOk;
    QPushButton* bbtnCancel;

public slots:
    void applyRange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCounts();
    void toggleRow(int row);

    RecordListModel* m_model;
};
