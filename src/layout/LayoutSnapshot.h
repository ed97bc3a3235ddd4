#pragma once
// Everything a page-drawing routine reads of a layout form, as plain values: the fifteen
// fields with their style and real box, the stamp, the record lines and how to read them,
// the sender, the honorific choice, the 〒 check boxes and the position adjustment.
// The postcard (PostcardSnapshot) and the label run add what only they need.
//
// Two ways in, which must give equal snapshots for equal layouts:
//  - a layout form takes it from its controls: TLayoutEditForm::fillLayoutSnapshot() has
//    LayoutFields::fillSnapshot() copy the fifteen boxes (style, real geometry, visibility),
//    the record lines, column map, sender, honorific controls and 〒 check boxes, then sets
//    stamp (imgStamp's file name and geometry) and offsetX / offsetY (offsetTenths of
//    nedtOfsetX / nedtOfsetY); the form adds its own extras;
//  - the batch printer builds it from POSTCSV.INI as the form would load it
//    (PostcardSnapshot::fromSettings), with the boxes from FieldGeometry::box.
// Field boxes of both come from FieldGeometry, so they agree to the pixel.

#include "app/AppSettings.h"
#include "app/RecordChoice.h"
#include "layout/FieldGeometry.h"
#include "layout/FieldTexts.h"

#include <QStringList>
#include <array>

struct SnapshotField {
    // Face, size, vertical, bold, italic, alignment (stored order: 0 left, 1 centre,
    // 2 right), postal flag, visibility; top, left and length as the box holds them.
    FieldStyle style;
    // The box as the form shows it, in layout pixels (thickness from the font, fixed
    // postal-digit boxes). Printing converts these values.
    FieldBox box;

    bool visible() const { return style.visible; }
    bool operator==(const SnapshotField& o) const { return style == o.style && box == o.box; }
    bool operator!=(const SnapshotField& o) const { return !(*this == o); }

    // The field as a form shows it after loading `style` (FieldGeometry::box).
    static SnapshotField fromStyle(int field, const FieldStyle& style, bool postcard);
};

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
    // What fromSettings of the postcard and of the label share: the postcard's or the
    // label's fifteen fields as the form shows them after loading, its stamp when the file is
    // there (else no picture: 0 x 0 at (0, 0)), sender 〒 and offsets; the records, column
    // map, sender and honorific.
    void takeSettings(const AppSettings& settings, bool postcard, const QStringList& records,
                      const HonorificChoice& honorific);
};
