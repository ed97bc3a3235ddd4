#pragma once
// Customer barcode samples worked out by hand from Japan Post's barcode manual (its bar
// table, the 20-character cut and the modulus-19 check), and reading the kinds of bars back
// from a recorded page. Bars are written one letter each: L long, A the upper semi-long bar,
// D the lower semi-long bar, T timing.

#include "layout/CustomerBarcode.h"
#include "preview/PageRecording.h"

#include <QString>
#include <QVector>
#include <algorithm>
#include <cmath>

namespace barcodetest {

struct WorkedExample {
    const char16_t* input; // the column text
    const char* bars;      // start, 20 data characters, check, stop; blanks between them
};

// 1. 東京都千代田区霞が関1丁目3番2号 郵便プラザ503室: 100-0013 + 1-3-2-503, padded
//    with four CC4, check 9 (sum 105).
// 2. 札幌市中央区南四条西29丁目1524-23 第2郵便ハウス501: 064-0804 + 29-1524-23-2-501 is cut
//    after 20 characters (ending in "-"), check 3 (sum 92).
// 3. 福井県福井市新田塚3丁目80-25 J1ビル2-B: 910-0067 + 3-80-25J1-2B; J is CC1 9, and B's
//    CC1 falls on the 20th place, so only it is kept; check 9 (sum 105).
inline QVector<WorkedExample> workedExamples()
{
    return {
        { u"100-0013 1-3-2-503", "LD LLT LTT LTT LTT LTT LLT DLA LLT TLT DLA TLT LDA TLT LTL LTT DLA TDA TDA TDA TDA TLL DL" },
        { u"064-0804 29-1524-23-2-501", "LD LTT DAL LAD LTT ADL LTT LAD LDA TLL TLT LLT LTL LDA LAD TLT LDA DLA TLT LDA TLT DLA DL" },
        { u"910-0067 3-80-25J1-2B", "LD TLL LLT LTT LTT LTT DAL ALD DLA TLT ADL LTT TLT LDA LTL DAT TLL LLT TLT LDA DAT TLL DL" },
    };
}

inline QString withoutBlanks(const char* bars)
{
    return QString::fromLatin1(bars).remove(QLatin1Char(' '));
}

inline QString letters(const QVector<CustomerBarcode::Bar>& bars)
{
    QString s;
    for (CustomerBarcode::Bar b : bars)
        s.append(QLatin1Char("LADT"[int(b)])); // in the order of the enum
    return s;
}

// The owner's filled rectangles of a page (the paper left out).
inline QVector<QRectF> filledRects(const PageRecording& page)
{
    QVector<QRectF> rects;
    for (const PageOp* op : page.ofKind(PageOp::Kind::FillRect))
        rects.push_back(op->rect);
    return rects;
}

// A horizontal symbol read back from its bars: ordered left to right, each bar's kind from
// where it starts below the symbol's top and how tall it is, at the sizes of `size`. A bar
// that fits no kind reads "?".
inline QString readHorizontal(QVector<QRectF> bars, const CustomerBarcode::Size& size)
{
    std::sort(bars.begin(), bars.end(), [](const QRectF& a, const QRectF& b) { return a.left() < b.left(); });
    double top = 1e9;
    for (const QRectF& r : bars)
        top = std::min(top, r.top());
    auto near = [](double a, double b) { return std::abs(a - b) < 0.01; };
    QString s;
    for (const QRectF& r : bars) {
        const double from = r.top() - top;
        if (near(from, 0) && near(r.height(), size.longBar))
            s += QLatin1Char('L');
        else if (near(from, 0) && near(r.height(), size.semiLongBar))
            s += QLatin1Char('A');
        else if (near(from, size.longBar - size.semiLongBar) && near(r.height(), size.semiLongBar))
            s += QLatin1Char('D');
        else if (near(from, (size.longBar - size.timingBar) / 2) && near(r.height(), size.timingBar))
            s += QLatin1Char('T');
        else
            s += QLatin1Char('?');
    }
    return s;
}

// A symbol turned 90 degrees clockwise read back: ordered top to bottom, each bar's kind
// from how far its right edge lies left of the symbol's right edge (the symbol's top) and
// how wide it is.
inline QString readTurnedClockwise(QVector<QRectF> bars, const CustomerBarcode::Size& size)
{
    QVector<QRectF> asHorizontal;
    double right = -1e9;
    for (const QRectF& r : bars)
        right = std::max(right, r.right());
    // Turn each bar back counter-clockwise: y along the symbol becomes x, the distance from
    // the right edge becomes the distance from the top.
    for (const QRectF& r : bars)
        asHorizontal.push_back(QRectF(r.top(), right - r.right(), r.height(), r.width()));
    return readHorizontal(asHorizontal, size);
}

} // namespace barcodetest
