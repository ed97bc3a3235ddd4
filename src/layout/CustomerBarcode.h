#pragma once
// Japan Post's customer barcode (カスタマバーコード): a four-state bar code of the 7-digit
// postal code and the address display number (住所表示番号). The text of the customer-barcode
// column is normalised, cut to 20 data characters, padded with CC4, given its modulus-19
// check character and framed by the start and stop codes: 67 bars, each of one of four
// kinds. The sizes follow the manual's point size a (8 to 11 here).

#include <QString>
#include <QVector>

namespace CustomerBarcode {

// The four bar kinds, named by which thirds of the symbol's height a bar covers (top,
// middle, bottom): the long bar all three, the semi-long bars the top two or the bottom
// two, the timing bar only the middle one.
enum class Bar { Long, Upper, Lower, Timing };

// Why a text gives no symbol.
enum class Problem {
    None,
    Empty,        // nothing but blanks
    PostalCode,   // no 7-digit postal code at the start
    Character     // a character outside 0-9, "-" and A-Z after normalisation
};

// Character values of the check rule, which also index the bar table: 0-9 are the digits.
constexpr int kHyphen = 10;
constexpr int kCC1 = 11; // CC1..CC8 are 11..18
constexpr int kCC4 = 14;
constexpr int kDataLength = 20;
constexpr int kBarCount = 67; // start (2) + 21 characters (3 each) + stop (2)

struct Symbol {
    Problem problem = Problem::Empty;
    QString data;        // the normalised text: 7 postal digits then the address number
    QVector<int> values; // the 20 data characters and the check character
    QVector<Bar> bars;   // kBarCount bars when valid, none otherwise

    bool isValid() const { return problem == Problem::None; }
};

// The text as barcode data: full-width characters made half-width, lower-case letters upper
// case, blanks and a leading "〒" dropped, dashes of any kind made "-", the hyphen inside the
// postal code and the ones joining it to the address number left out. Sets *problem when the
// text cannot be a customer barcode (the result is then what normalising gave so far).
QString normalize(const QString& text, Problem* problem = nullptr);

// The symbol of a column text.
Symbol encode(const QString& text);

// The modulus-19 check character of data values: the value that makes their sum with it a
// multiple of 19.
int checkValue(const QVector<int>& values);

// The manual's point size for a field's font size (0 or less counts as 9): held to 8..11.
int points(int fontSize);

// Sizes of a symbol at point size a, in 0.1 mm: bar width 0.6·a/10 mm, pitch 1.2·a/10 mm,
// long bar 3.6·a/10 mm, semi-long bars 2.4·a/10 mm, timing bar 1.2·a/10 mm.
struct Size {
    int points = 10;
    double barWidth = 6;
    double pitch = 12;
    double longBar = 36;
    double semiLongBar = 24;
    double timingBar = 12;

    // From the first bar's leading edge to the last bar's trailing edge.
    double length() const { return pitch * (kBarCount - 1) + barWidth; }
    // Across the bars: the long bar.
    double height() const { return longBar; }
    // Where a bar of this kind starts and how long it is, from the symbol's top edge.
    double barTop(Bar bar) const;
    double barLength(Bar bar) const;
};
Size size(int fontSize);

// The manual's quiet zone: at least 2 mm of blank on every side of the symbol (0.1 mm).
constexpr int kQuietZone = 20;
// A postcard's symbol keeps at least 10 mm from the card's edges (0.1 mm).
constexpr int kEdgeDistance = 100;

// A short Japanese description of a problem, for warnings.
QString describe(Problem problem);

} // namespace CustomerBarcode
