#pragma once
// Everything a page-drawing routine reads of a layout form, as plain values: the fifteen
// fields with their style and real box, the stamp, the record lines and how to read them,
// the sender, the honorific choice, the 〒 check boxes and the position adjustment.
// The postcard (PostcardSnapshot) and the label run add what only they need.
//
// Both ways in start from a LayoutState: a layout form takes its document's, the batch
// printer reads one from POSTCSV.INI as the form opens it (PostcardSnapshot::fromSettings,
// LabelSnapshot::fromSettings). Equal layouts give equal snapshots.

#include "app/AppSettings.h"
#include "app/RecordChoice.h"
#include "layout/FieldGeometry.h"
#include "layout/FieldTexts.h"
#include "layout/LayoutDocument.h"
#include "layout/LayoutField.h"

#include <QStringList>
#include <array>

// A field as the page draws it: its style (without the postal-frame check box, which the
// postcard snapshot carries on its own) and its real box.
using SnapshotField = LayoutField;

struct LayoutSnapshot {
    std::array<SnapshotField, kFieldCount> fields; // element n-1 is field n
    // The stamp picture: file name and box in layout pixels. A blank path draws nothing.
    ImageBox stamp;
    // The record lines (header already dropped) and how fields are taken out of them.
    QStringList records;
    // The records the run prints, in list order (every record unless the user chose).
    RecordChoice choice;
    CsvColumnMap columns;
    SenderInfo sender;
    HonorificChoice honorific;       // cbKeisho / cmbKeisho
    bool senderPostMark = true;      // cbPostMark "先頭に〒付加"
    bool recipientPostMark = true;   // cbSPostMark (label form)
    // Position adjustment in whole tenths of a millimetre (positive: right / down).
    int offsetX = 0;
    int offsetY = 0;

    const SnapshotField& field(int n) const { return fields[n - 1]; } // n = 1..15
    FieldVisibility visibility() const;

    // The mapped columns of record `index`; an index outside the records reads as an empty
    // line (every column " "), so a list that changed under a run draws blanks, never crashes.
    RecordColumns columnsOf(int index) const;
    // The fifteen texts of a record as printed (blank texts stay blank, field 7 empty).
    FieldTextArray printTexts(int index) const;

    // An offset read-out in millimetres (one decimal, -10.0 .. 10.0) as whole tenths of a
    // millimetre: the displayed value times ten, rounded; values beyond the read-out's
    // limits are held at them.
    static int offsetTenths(double millimetres);

    bool operator==(const LayoutSnapshot& o) const;
    bool operator!=(const LayoutSnapshot& o) const { return !(*this == o); }

protected:
    // What the postcard and the label snapshot take alike: the layout's fields, its stamp
    // (the file name made absolute) when it has one, the offsets, honorific and 〒 options;
    // and the records, column map and sender of the run.
    void takeLayout(const LayoutState& layout, const QStringList& records, const CsvColumnMap& columns,
                    const SenderInfo& sender);
};
