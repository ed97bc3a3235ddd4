// Field 6 as a customer barcode on the postcard page: the manual's worked examples read back
// bar by bar from the recorded page (and data that cannot be a barcode), the size rule, the
// symbol turned for a vertical field, and the check of what lies around the symbol.

#include "PostcardTestSupport.h"

#include "layout/LayoutUnits.h"
#include "layout/BarcodeCheck.h"
#include "support/BarcodeSamples.h"

#include <cmath>

using namespace postcardtest;
using CustomerBarcode::Size;

namespace {

int T(int pixels)
{
    return LayoutUnits::pixelsToTenths(pixels);
}

QString recordWithBarcode(const QString& data)
{
    return u(u"\"100-0013\",\"東京都千代田区霞が関１－３－２\",\"郵便プラザ５０３\",\"山田太郎\",\"\",\"%1\",\"様\"").arg(data);
}

// The sample card with field 6 as a barcode at (left, top) and the given font size.
PostcardSnapshot barcodeCard(const QStringList& barcodes, int fontSize, bool tate, int left = 40, int top = 470)
{
    AppSettings a = sampleSettings();
    FieldStyle& f6 = a.postcardFields[5];
    f6 = style(left, top, 120, fontSize, tate, u(u"ＭＳ 明朝"));
    f6.barcode = true;
    if (tate) {
        // Out of the way of the vertical sender lines.
        a.postcardFields[7].visible = a.postcardFields[8].visible = false;
        a.postcardFields[9].visible = a.postcardFields[10].visible = false;
    }
    QStringList records;
    for (const QString& b : barcodes)
        records << recordWithBarcode(b);
    return PostcardSnapshot::fromSettings(a, records, HonorificChoice { true, QString() });
}

// Records pages on a postcard-sized file sheet (no printer needed).
QVector<PageRecording> pages(const PostcardSnapshot& s)
{
    TplPrev engine;
    engine.setFileSheet(1000, 1480);
    engine.setPageCount(s.pageCount());
    QVector<PageRecording> out;
    if (!engine.BeginPreview([&] { DrawPostcardPage(engine, s); }))
        return out;
    for (int p = 1; p <= s.pageCount(); ++p) {
        engine.setCurrentPage(p);
        const PageRecording* rec = engine.RenderPage();
        out << (rec ? *rec : PageRecording());
    }
    return out;
}

QRectF bounds(const QVector<QRectF>& rects)
{
    QRectF b;
    for (const QRectF& r : rects)
        b = b.isNull() ? r : b.united(r);
    return b;
}

TEST(PostcardBarcode, WorkedExamplesReadBackBarByBar)
{
    QStringList data;
    for (const barcodetest::WorkedExample& e : barcodetest::workedExamples())
        data << u(e.input);
    // Then data that is no barcode, and 200 characters (7 + 13 kept).
    data << u(u"1000013 1丁目") << QStringLiteral("1") + QStringLiteral("9").repeated(199);
    const QVector<PageRecording> recorded = pages(barcodeCard(data, 10, false));
    ASSERT_EQ(recorded.size(), data.size());
    const Size size = CustomerBarcode::size(10);
    for (int i = 0; i < data.size(); ++i) {
        SCOPED_TRACE(data[i].toStdString());
        const QVector<QRectF> bars = barcodetest::filledRects(recorded[i]);
        if (i < 3)
            EXPECT_EQ(barcodetest::readHorizontal(bars, size), barcodetest::withoutBlanks(barcodetest::workedExamples()[i].bars));
        else
            EXPECT_EQ(bars.size(), i == 3 ? 0 : CustomerBarcode::kBarCount);
        // The column's text itself is never printed; the other fields are.
        EXPECT_FALSE(recorded[i].texts().contains(data[i]));
        EXPECT_TRUE(recorded[i].texts().contains(u(u"山田太郎　様")));
    }
}

TEST(PostcardBarcode, SizeRuleAtEightTenAndElevenPoints)
{
    // The field's font size is the manual's a, held to 8..11.
    const struct {
        int fontSize;
        double a;
    } cases[] = { { 8, 8 }, { 10, 10 }, { 11, 11 }, { 6, 8 }, { 14, 11 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fontSize);
        const PostcardSnapshot s = barcodeCard({ QStringLiteral("1000013 1-3-2-503") }, c.fontSize, false);
        const QVector<PageRecording> recorded = pages(s);
        ASSERT_EQ(recorded.size(), 1);
        QVector<QRectF> bars = barcodetest::filledRects(recorded[0]);
        ASSERT_EQ(bars.size(), CustomerBarcode::kBarCount);
        std::sort(bars.begin(), bars.end(), [](const QRectF& x, const QRectF& y) { return x.left() < y.left(); });

        const double a = c.a;
        for (int i = 0; i < bars.size(); ++i) {
            EXPECT_NEAR(bars[i].width(), 0.6 * a, 1e-6);
            if (i > 0) {
                EXPECT_NEAR(bars[i].left() - bars[i - 1].left(), 1.2 * a, 1e-6);
            }
        }
        // Timing, semi-long and long bars.
        auto hundredths = [](double tenths) { return qRound(tenths * 10); };
        QVector<int> heights;
        for (const QRectF& r : bars)
            heights << hundredths(r.height());
        std::sort(heights.begin(), heights.end());
        heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
        EXPECT_EQ(heights, QVector<int>({ hundredths(1.2 * a), hundredths(2.4 * a), hundredths(3.6 * a) }));

        // From the field's start, centred across its box; 79.8·a/10 mm long.
        const SnapshotField& f6 = s.field(6);
        const QRectF symbol = bounds(bars);
        EXPECT_NEAR(symbol.left(), T(f6.box.left), 1e-6);
        EXPECT_NEAR(symbol.width(), 79.8 * a, 1e-6);
        EXPECT_NEAR(symbol.center().y(), T(f6.box.top) + T(f6.box.height) / 2.0, 1e-6);
        // The box is as long and as thick as the symbol, to the next whole pixel.
        EXPECT_EQ(f6.box.width, int(std::ceil(79.8 * a * LayoutUnits::kPixelsPerTenth)));
        EXPECT_EQ(f6.box.height, int(std::ceil(3.6 * a * LayoutUnits::kPixelsPerTenth)));
    }
}

TEST(PostcardBarcode, VerticalFieldTurnsTheSymbolClockwise)
{
    const barcodetest::WorkedExample e = barcodetest::workedExamples()[2];
    for (int fontSize : { 8, 10 }) {
        SCOPED_TRACE(fontSize);
        const PostcardSnapshot s = barcodeCard({ u(e.input) }, fontSize, true, 30, 120);
        const QVector<PageRecording> recorded = pages(s);
        ASSERT_EQ(recorded.size(), 1);
        const QVector<QRectF> bars = barcodetest::filledRects(recorded[0]);
        ASSERT_EQ(bars.size(), CustomerBarcode::kBarCount);
        const Size size = CustomerBarcode::size(fontSize);
        // Read as the horizontal symbol turned clockwise: the start at the top, the bars' top
        // edge to the right.
        EXPECT_EQ(barcodetest::readTurnedClockwise(bars, size), barcodetest::withoutBlanks(e.bars));
        const SnapshotField& f6 = s.field(6);
        const QRectF symbol = bounds(bars);
        EXPECT_NEAR(symbol.top(), T(f6.box.top), 1e-6);
        EXPECT_NEAR(symbol.height(), size.length(), 1e-6);
        EXPECT_NEAR(symbol.width(), size.longBar, 1e-6);
        EXPECT_NEAR(symbol.center().x(), T(f6.box.left) + T(f6.box.width) / 2.0, 1e-6);
        // The start code is long then lower semi-long: the second bar keeps to the left.
        QVector<QRectF> sorted = bars;
        std::sort(sorted.begin(), sorted.end(), [](const QRectF& x, const QRectF& y) { return x.top() < y.top(); });
        EXPECT_NEAR(sorted[1].left(), symbol.left(), 1e-6);
        EXPECT_LT(sorted[1].right(), symbol.right() - 1);
    }
}

// A card with only field 6 (a barcode at 8 points) and field 2 visible.
PostcardSnapshot checkedCard(int left, int top, const QStringList& records, int addressTop = 100)
{
    AppSettings a;
    a.csv = testaddresses::columns();
    FieldStyle& f6 = a.postcardFields[5];
    f6 = style(left, top, 100, 8, false, u(u"ＭＳ 明朝"));
    f6.barcode = true;
    a.postcardFields[1] = style(60, addressTop, 200, 11, false, u(u"ＭＳ 明朝"));
    return PostcardSnapshot::fromSettings(a, records, HonorificChoice { true, QString() });
}

QString line(const QString& address, const QString& barcode)
{
    return u(u"\"100-0013\",\"%1\",\"\",\"山田\",\"\",\"%2\",\"様\"").arg(address, barcode);
}

TEST(PostcardBarcode, CheckNamesTheRecordsAndWhatTheSymbolComesTooCloseTo)
{
    const QString good = QStringLiteral("1000013 1-3-2-503");
    const QStringList records = { line(u(u"東京都"), good), line(QString(), good), line(u(u"大阪府"), u(u"1-3-2")),
                                  line(u(u"京都府"), QString()) };
    const QVector<int> all = { 0, 1, 2, 3 };
    using K = BarcodeFinding::Kind;
    using P = CustomerBarcode::Problem;
    const BarcodePiece card;
    const QVector<BarcodeFinding> badData = { { K::NotABarcode, 2, P::PostalCode, {} }, { K::NotABarcode, 3, P::Empty, {} } };
    struct Case {
        const char* name;
        PostcardSnapshot snapshot;
        BarcodePiece piece;
        QVector<BarcodeFinding> findings;
    };
    PostcardSnapshot withStamp = checkedCard(60, 300, records);
    withStamp.stamp = ImageBox { QStringLiteral("stamp.jpg"), 310, 200, 60, 30 };
    const Case cases[] = {
        { "clear of everything", checkedCard(60, 300, records), card, badData },
        { "10 mm from the card's edge", checkedCard(30, 300, records), card,
          { { K::TooClose, 0, P::None, { u(u"ハガキの端") } }, { K::TooClose, 1, P::None, { u(u"ハガキの端") } }, badData[0], badData[1] } },
        { "on a label 2 mm are enough", checkedCard(30, 300, records), BarcodePiece { false, 1000, 1480 }, badData },
        { "address line above, when it prints", checkedCard(60, 300, records, 290), card,
          { { K::TooClose, 0, P::None, { u(u"住所１") } }, badData[0], badData[1] } },
        { "the stamp picture", withStamp, card,
          { { K::TooClose, 0, P::None, { u(u"画像") } }, { K::TooClose, 1, P::None, { u(u"画像") } }, badData[0], badData[1] } },
        { "the card's postal-code boxes", checkedCard(95, 60, records), card,
          { { K::TooClose, 0, P::None, { u(u"郵便番号枠") } }, { K::TooClose, 1, P::None, { u(u"郵便番号枠") } }, badData[0], badData[1] } },
    };
    for (const Case& c : cases) {
        const QVector<BarcodeFinding> found = CheckBarcodes(c.snapshot, c.piece, all);
        EXPECT_TRUE(found == c.findings) << c.name << ": " << DescribeBarcodeFindings(found, c.piece).join(QLatin1Char('\n')).toStdString();
    }

    // Only the records asked about; nothing when the field is hidden or prints text.
    EXPECT_TRUE(CheckBarcodes(checkedCard(60, 300, records), card, { 1 }).isEmpty());
    PostcardSnapshot hidden = checkedCard(30, 300, records);
    hidden.fields[5].style.visible = false;
    EXPECT_TRUE(CheckBarcodes(hidden, card, all).isEmpty());
    PostcardSnapshot text = checkedCard(30, 300, records);
    text.fields[5].style.barcode = false;
    EXPECT_TRUE(CheckBarcodes(text, card, all).isEmpty());

    // A long list of scattered records is cut after 30 of them.
    QVector<BarcodeFinding> scattered;
    for (int r = 0; r < 80; r += 2)
        scattered.push_back({ K::NotABarcode, r, P::Empty, {} });
    EXPECT_TRUE(DescribeBarcodeFindings(scattered, card).first().endsWith(QStringLiteral(": 宛名 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31, 33, 35, 37, 39, 41, 43, 45, 47, 49, 51, 53, 55, 57, 59, ほか 10 件")));
}

} // namespace
