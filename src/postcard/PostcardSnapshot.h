#pragma once
// What the postcard's page-drawing routine reads: the layout snapshot plus the postcard's
// own controls ("表示宛名のみ印刷" with the record on screen, "郵便枠対応").
//
// The postcard form builds it from its document and its print-range controls; the batch
// printer from POSTCSV.INI with fromSettings(). Both print it through PostcardRun.

#include "layout/LayoutSnapshot.h"

struct PostcardSnapshot : LayoutSnapshot {
    bool printOnlyShown = false;    // cbOnly "表示宛名のみ印刷"
    int shownRecord = 0;            // the record on screen (0-based)
    bool senderPostalBoxes = false; // cbPost "郵便枠対応"

    // One page per chosen record, or one page for the record on screen.
    int pageCount() const;
    // The record drawn on page `page` (1-based): the chosen records in list order.
    int recordForPage(int page) const;
    // The records of the run, page by page.
    QVector<int> printedRecords() const;

    // A postcard layout with the records, column map and sender of a run, showing record 0,
    // every page printed.
    static PostcardSnapshot fromLayout(const LayoutState& layout, const QStringList& records,
                                       const CsvColumnMap& columns, const SenderInfo& sender);
    // The snapshot of a postcard form that has just opened `settings` (its postcard group,
    // sender, CSV mapping; LayoutDocument::read) with these record lines, showing record 0,
    // with the honorific choice given. File names are used as they stand (the caller
    // resolves relative ones). `opening` (when given) receives what opening put right.
    static PostcardSnapshot fromSettings(const AppSettings& settings, const QStringList& records,
                                         const HonorificChoice& honorific, LayoutOpening* opening = nullptr);

    bool operator==(const PostcardSnapshot& o) const;
    bool operator!=(const PostcardSnapshot& o) const { return !(*this == o); }
};
