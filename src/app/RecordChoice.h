#pragma once
// Which records of the address list a print run prints.
//
//  - RecordChoice: the chosen records, always printed in list order. By default every
//    record. The snapshots take their page counts and which record goes on which page (or
//    into which label cell) from it.
//  - RecordRanges: "1-36, 40, 45-" as print dialogs take page ranges; the forms' range field
//    and tovalin-print --records read the same syntax.
//  - The selection column of the settings ([POSTCSV] SELNO, SELMODE): a column that marks
//    the records to print, or the records to skip.

#include "app/AppSettings.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

class RecordChoice {
public:
    // Every record of the list.
    RecordChoice() = default;
    // Exactly these records (0-based, in any order; repeats and negatives are dropped).
    static RecordChoice of(QVector<int> records);
    // The records whose mark is set: marks[i] for record i.
    static RecordChoice fromMarks(const QVector<bool>& marks);

    bool everyRecord() const { return m_every; }
    // How many records of a list of `listSize` are chosen.
    int count(int listSize) const;
    // The k-th chosen record (k from 0, list order), or -1 when fewer are chosen.
    int at(int k, int listSize) const;
    bool contains(int record) const;
    // The chosen records of a list of `listSize`, in list order.
    QVector<int> records(int listSize) const;
    QVector<bool> marks(int listSize) const;
    // The records chosen by both.
    RecordChoice intersected(const RecordChoice& other) const;

    bool operator==(const RecordChoice& o) const { return m_every == o.m_every && m_records == o.m_records; }
    bool operator!=(const RecordChoice& o) const { return !(*this == o); }

private:
    bool m_every = true;
    QVector<int> m_records; // ascending, without repeats, when not every record
};

// Record numbers typed as page ranges: items separated by commas, each "N", "N-M", "N-" (to
// the end) or "-M" (from the first). Numbers count from 1. Full-width digits, "、", "～" and
// the "ー" a Japanese input method types for "-" are read too; blanks around items and empty
// items ("1,,2") are ignored.
struct RecordRange {
    int first = 1;
    int last = 1;
    bool toEnd = false; // "N-": up to the last record
};

struct RecordRanges {
    bool ok = false;
    QString error; // why the text cannot be read (Japanese, one line); empty when ok
    QVector<RecordRange> ranges;

    static RecordRanges parse(QStringView text);

    // The named records that a list of `listSize` records has. A range that reaches beyond
    // the list is cut to it; `note` (when given) then says so, otherwise it is emptied.
    RecordChoice choose(int listSize, QString* note = nullptr) const;
};

// Selection column: a cell is unmarked when it is blank or, without regard to width or case,
// "0", "×", "✕", "x", "無", "いいえ", "no" or "false"; any other text marks the record.
bool IsMarkedCell(QStringView cell);

// The records the selection column chooses: with SELMODE 0 the marked ones, with 1 the
// unmarked ones; every record when no column is mapped (SELNO below 1). A record without
// that column counts as unmarked.
RecordChoice ChoiceByColumn(const QStringList& records, const CsvColumnMap& columns);
// True when a column is mapped but no record reaches it (a mapping meant for another list).
bool SelectionColumnMissing(const QStringList& records, const CsvColumnMap& columns);
