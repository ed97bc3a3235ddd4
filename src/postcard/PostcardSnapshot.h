#pragma once
// What the postcard's page-drawing routine reads: the layout snapshot plus the postcard's
// own controls ("表示宛名のみ印刷" with the record on screen, "郵便枠対応").
//
// The postcard form fills it from its controls (TLayoutEditForm::fillLayoutSnapshot, then
// the members below); the batch printer builds it from POSTCSV.INI with
// fromSettings(). Both then call DrawPostcardPage (PostcardComposer.h).

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

    // The snapshot of a postcard form that has just loaded `settings` (its postcard group,
    // sender, CSV mapping) with these record lines, showing record 0, with the honorific
    // choice given. A stamp whose file does not exist is dropped, as the form drops it when it
    // opens. File names are used as they stand (the caller resolves relative ones).
    static PostcardSnapshot fromSettings(const AppSettings& settings, const QStringList& records,
                                         const HonorificChoice& honorific);

    bool operator==(const PostcardSnapshot& o) const;
    bool operator!=(const PostcardSnapshot& o) const { return !(*this == o); }
};
