#pragma once
// The list of the "宛名選択" dialog: every record of the address list with a tick, the
// record number first, then postal code, name 1, name 2 and address 1; a search text that
// narrows the rows shown; and the ticks changed all at once (of the rows shown) or replaced
// by record ranges. The ticks are the RecordChoice a print run takes.
//
// The rows are the records themselves (no widget per record), and the fields of a row are
// taken out of its record only when it is drawn, so a list of 100,000 records opens and
// filters at once.

#include "app/AppSettings.h"
#include "app/RecordChoice.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

class RecordListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, PostalCode, Name1, Name2, Address1, ColumnCount };

    RecordListModel(QStringList records, const CsvColumnMap& columns, const RecordChoice& choice,
                    QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Shows only the records that hold the text anywhere, compared without regard to width or
    // case (blanks at its ends are ignored); an empty text shows every record.
    void setFilter(const QString& text);
    const QString& filter() const { return m_filter; }
    // The record (0-based) of a shown row, or -1.
    int recordAt(int row) const;
    int shownCount() const { return int(m_shown.size()); }
    int recordCount() const { return int(m_records.size()); }

    // Ticks or unticks every shown row; turns the tick of every shown row round.
    void setShownChosen(bool chosen);
    void invertShown();
    // The ticks become exactly these records (of every row, shown or not).
    void setChoice(const RecordChoice& choice);
    // The ticked records.
    RecordChoice choice() const;
    int chosenCount() const { return m_chosenCount; }
    bool isChosen(int record) const { return m_marks.value(record); }

signals:
    void chosenCountChanged(int count);

private:
    void setMark(int record, bool on);
    void marksChanged(int firstRow, int lastRow);

    QStringList m_records;
    CsvColumnMap m_columns;
    QVector<bool> m_marks;
    int m_chosenCount = 0;
    QVector<int> m_shown; // the records of the rows, ascending
    QString m_filter;     // the folded search text in force
    QStringList m_haystack; // the searchable text of each record, width and case folded
};
