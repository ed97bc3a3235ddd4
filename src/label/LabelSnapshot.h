#pragma once
// What the label page-drawing routine reads: the layout snapshot plus the sheet (settings,
// label size H x W) and the start cell of the first page.
//
// The label form builds it from its document and its start cell; the batch printer from
// POSTCSV.INI with fromSettings(), which opens the stored layout as the form does. Both
// print it through LabelRun.

#include "label/LabelSheetModel.h"
#include "layout/LayoutSnapshot.h"

struct LabelSnapshot : LayoutSnapshot {
    LabelSheet sheet;
    int labelHeight = 0; // H, 0.1 mm
    int labelWidth = 0;  // W, 0.1 mm
    int startRow = 1;    // the first label of page 1
    int startColumn = 1;

    // Labels on one sheet, and cells left empty before the start cell of page 1.
    int perPage() const;
    int skipped() const;
    // Pages for the chosen records from the start cell on; a started last sheet counts whole.
    int pageCount() const;
    // The top-left corner of cell (row, column), 0.1 mm from the paper's corner.
    QPoint cellOrigin(int row, int column) const;
    // The record drawn in cell (row, column) of page `page` (all from 1), or -1 when the cell
    // stays empty (before the start cell on page 1, or after the last chosen record). The
    // chosen records fill the cells in list order without gaps.
    int recordAt(int page, int row, int column) const;
    // The records of the run in the order they fill the cells.
    QVector<int> printedRecords() const;

    // A label layout with the records, column map and sender of a run, from the start cell
    // given (the caller checks it against the sheet).
    static LabelSnapshot fromLayout(const LayoutState& layout, const QStringList& records,
                                    const CsvColumnMap& columns, const SenderInfo& sender, int startRow,
                                    int startColumn);
    // The snapshot of a label form that has just opened `settings` (its label group, sender,
    // CSV mapping; LayoutDocument::read) with these record lines, the honorific and recipient
    // 〒 choice given and the start cell given. `opening` (when given) receives what opening
    // put right (the stored sheet, boxes off the label).
    static LabelSnapshot fromSettings(const AppSettings& settings, const QStringList& records,
                                      const HonorificChoice& honorific, bool recipientPostMark, int startRow,
                                      int startColumn, LayoutOpening* opening = nullptr);

    bool operator==(const LabelSnapshot& o) const;
    bool operator!=(const LabelSnapshot& o) const { return !(*this == o); }
};
