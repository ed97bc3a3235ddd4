#pragma once
// The customer barcode's part of the check before printing: which records give no symbol
// (their data cannot be a customer barcode) and which records' symbol comes closer to the
// edge of the mail piece or to other printing than the manual allows (a 2 mm quiet zone on
// every side; on a postcard also 10 mm from the card's edges). Both the desktop forms and
// tovalin-print ask it; it returns findings, and the callers word them.

#include "layout/CustomerBarcode.h"
#include "layout/LayoutSnapshot.h"

#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>

struct BarcodeFinding {
    enum class Kind { NotABarcode, TooClose };
    Kind kind = Kind::NotABarcode;
    int record = 0;                                                      // 0-based
    CustomerBarcode::Problem problem = CustomerBarcode::Problem::None;   // NotABarcode
    QStringList neighbours; // TooClose: what it comes too close to ("ハガキの端", "住所１", ...)

    bool operator==(const BarcodeFinding& o) const
    {
        return kind == o.kind && record == o.record && problem == o.problem && neighbours == o.neighbours;
    }
};

struct BarcodePiece {
    bool postcard = true; // a postcard (its edges and its printed postal-code boxes) or a label
    int width = 1000;     // the card or the label, 0.1 mm
    int height = 1480;
};

// The findings for the given records (0-based) of the snapshot, in record order. None when
// field 6 is hidden or not printed as a barcode. A record whose text is blank is listed as
// giving no symbol, like any other data that cannot be one.
QVector<BarcodeFinding> CheckBarcodes(const LayoutSnapshot& snapshot, const BarcodePiece& piece,
                                      const QVector<int>& records);

// The findings as lines for the user, records counted from 1 and written as ranges
// ("宛名 1～3, 7"), one line per kind of problem.
QStringList DescribeBarcodeFindings(const QVector<BarcodeFinding>& findings, const BarcodePiece& piece);
