// The customer barcode encoder: normalising a column text, bad input, and every symbol compared with libzint's Japan Post encoder on each input that zint
// accepts (the cut at 20 characters included). The manual's worked examples are read back from
// the page (postcard tests).

#include "layout/CustomerBarcode.h"
#include "support/BarcodeSamples.h"
#include "support/TestText.h"

#include <gtest/gtest.h>
#include <zint.h>

#include <random>

namespace {

using namespace CustomerBarcode;
using testtext::u;

TEST(CustomerBarcodeTest, NormalisesTheColumnText)
{
    struct Case {
        const char16_t* input;
        const char16_t* data;
    };
    const Case cases[] = {
        { u"1000013 1-3-2-503", u"10000131-3-2-503" },
        { u"10000131-3-2-503", u"10000131-3-2-503" },           // written together
        { u"1000013-1-3-2-503", u"10000131-3-2-503" },          // joining hyphen left out
        { u"〒100-0013　1-3-2-503", u"10000131-3-2-503" },       // 〒, ideographic space
        { u"１００－００１３　１－３－２－５０３", u"10000131-3-2-503" }, // full width
        { u"  1000013  ", u"1000013" },
        { u"15400233-16-4-205", u"15400233-16-4-205" },
        { u"12345678", u"12345678" },                            // 1234567 + 8 written together
        { u"6230011 6-7 L B 106", u"62300116-7LB106" },          // blanks dropped
        { u"0640804 29ー1524―23−2‐501", u"064080429-1524-23-2-501" }, // dashes of any kind
        { u"3500110622-1a308", u"3500110622-1A308" },           // lower case
        { u"3500110 ６２２－１ａ３０８", u"3500110622-1A308" },  // full-width lower case
        { u"1000013 Ｂ６０４", u"1000013B604" },
    };
    for (const Case& c : cases) {
        Problem p = Problem::Empty;
        EXPECT_EQ(normalize(u(c.input), &p), u(c.data)) << u(c.input).toStdString();
        EXPECT_EQ(p, Problem::None) << u(c.input).toStdString();
    }
}

TEST(CustomerBarcodeTest, TextThatCannotBeABarcodeGivesNoBars)
{
    struct Case {
        QString input;
        Problem problem;
    };
    const Case cases[] = {
        { QString(), Problem::Empty },
        { u(u"   "), Problem::Empty },
        { u(u"　〒　"), Problem::Empty },
        { u(u"-----"), Problem::PostalCode },
        { u(u"－－－"), Problem::PostalCode },
        { u(u"123456 1-2"), Problem::PostalCode },      // 6 digits
        { u(u"123456"), Problem::PostalCode },
        { u(u"12345678 1-2"), Problem::PostalCode },    // 8 digits
        { u(u"123-45678 1-2"), Problem::PostalCode },
        { u(u"12-34567 1"), Problem::PostalCode },
        { u(u"ABC1000013"), Problem::PostalCode },
        { u(u"abc"), Problem::PostalCode },
        { u(u"٣٤٥٦٧٨٩ 1"), Problem::PostalCode },      // Arabic-Indic digits
        { u(u"1000013 ١-٢"), Problem::Character },
        { u(u"1000013 1丁目3"), Problem::Character },
        { u(u"1000013 1_3"), Problem::Character },
        { u(u"1000013 1-3-2-503号室"), Problem::Character },
        { QStringLiteral("1000013 1") + QChar(0) + QStringLiteral("2"), Problem::Character },
    };
    for (const Case& c : cases) {
        const Symbol s = encode(c.input);
        EXPECT_EQ(s.problem, c.problem) << c.input.toStdString();
        EXPECT_FALSE(s.isValid());
        EXPECT_TRUE(s.bars.isEmpty());
        EXPECT_FALSE(describe(s.problem).isEmpty());
    }
}

// ---- libzint as the reference --------------------------------------------------------------

// zint's symbol as bar letters: rows 0, 1 and 2 are the top, middle and bottom thirds; bars
// stand in every other column.
QString zintBars(const QByteArray& input, QString* error)
{
    zint_symbol* z = ZBarcode_Create();
    z->symbology = BARCODE_JAPANPOST;
    const int rc = ZBarcode_Encode(z, reinterpret_cast<const unsigned char*>(input.constData()), input.size());
    QString bars;
    if (rc >= ZINT_ERROR) {
        *error = QString::fromLatin1(z->errtxt);
    } else {
        auto set = [z](int row, int column) { return (z->encoded_data[row][column >> 3] >> (column & 7)) & 1; };
        for (int c = 0; c < z->width; c += 2) {
            const bool top = set(0, c), bottom = set(2, c);
            bars += top && bottom ? QLatin1Char('L') : top ? QLatin1Char('A') : bottom ? QLatin1Char('D') : QLatin1Char('T');
        }
    }
    ZBarcode_Delete(z);
    return bars;
}

// The data as zint takes it: zint refuses what it would have to cut, so it gets the characters
// that the cut keeps whole. Empty when the cut keeps a letter's control code alone (zint has
// no way to say that).
QString keptWhole(const Symbol& s)
{
    QString kept;
    int places = 0;
    for (QChar c : s.data) {
        const int need = c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? 2 : 1;
        if (places + need > kDataLength)
            return places == kDataLength ? kept : QString();
        kept += c;
        places += need;
    }
    return kept;
}

QStringList generatedInputs()
{
    std::mt19937 random(17);
    const QString alphabet = QStringLiteral("0123456789-ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    QStringList inputs;
    for (int i = 0; i < 3000; ++i) {
        QString postal;
        for (int d = 0; d < 7; ++d)
            postal += QChar(u'0' + pick(10));
        if (pick(3) == 0)
            postal.insert(3, QLatin1Char('-'));
        QString address;
        const int length = pick(22);
        for (int k = 0; k < length; ++k)
            address += alphabet[pick(pick(4) == 0 ? alphabet.size() : 11)];
        inputs << postal + (pick(2) ? QStringLiteral(" ") : QString()) + address;
    }
    return inputs;
}

TEST(CustomerBarcodeTest, SymbolsAgreeWithZintOnEveryInputItAccepts)
{
    QStringList inputs = generatedInputs();
    for (const barcodetest::WorkedExample& e : barcodetest::workedExamples())
        inputs << u(e.input);
    inputs << QStringLiteral("1000013") << QStringLiteral("1000013 ZZZZZZ") << QStringLiteral("3500110622-1A308");

    int compared = 0, loneControlCodes = 0;
    for (const QString& input : inputs) {
        const Symbol ours = encode(input);
        if (!ours.isValid())
            continue;
        const QString data = keptWhole(ours);
        if (data.isEmpty()) {
            ++loneControlCodes;
            continue;
        }
        QString error;
        const QString reference = zintBars(data.toLatin1(), &error);
        if (!error.isEmpty())
            continue;
        ++compared;
        EXPECT_EQ(barcodetest::letters(ours.bars), reference) << input.toStdString() << " as " << data.toStdString();
    }
    // Most inputs must reach the comparison, and both kinds of cut must occur.
    EXPECT_GT(compared, 2700);
    EXPECT_GT(loneControlCodes, 10);
}

} // namespace
