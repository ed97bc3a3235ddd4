// tovalin-print with the customer barcode: the example labels carry the symbol of each
// record at its real size on paper (read back from the PDF at 600 dpi), and records whose data
// cannot be a barcode or whose symbol comes too close to other printing are named on
// standard error.

#include "CliTestSupport.h"

#include "layout/CustomerBarcode.h"
#include "support/BarcodeSamples.h"
#include "support/CupsTestPrinter.h"
#include "support/TestText.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

using namespace clitest;

namespace {

using testtext::u;

struct RasterSymbol {
    QString bars;     // letters as in BarcodeSamples
    double barWidth = 0, pitch = 0, height = 0, length = 0; // pixels
};

bool dark(const QImage& img, int x, int y)
{
    return qGray(img.pixel(x, y)) < 128;
}

// The bars inside region: columns of dark pixels grouped into bars, each read at its middle.
RasterSymbol readRaster(const QImage& img, const QRect& region)
{
    QVector<QPair<int, int>> runs;
    int start = -1;
    for (int x = region.left(); x <= region.right() + 1; ++x) {
        bool any = false;
        for (int y = region.top(); x <= region.right() && y <= region.bottom() && !any; ++y)
            any = dark(img, x, y);
        if (any && start < 0)
            start = x;
        if (!any && start >= 0) {
            runs.push_back({ start, x - 1 });
            start = -1;
        }
    }
    RasterSymbol s;
    if (runs.size() < 2)
        return s;
    QVector<int> tops, bottoms;
    for (const auto& r : runs) {
        const int m = (r.first + r.second) / 2;
        int t = region.bottom(), b = region.top();
        for (int y = region.top(); y <= region.bottom(); ++y) {
            if (dark(img, m, y)) {
                t = std::min(t, y);
                b = std::max(b, y);
            }
        }
        tops << t;
        bottoms << b;
    }
    const int top = *std::min_element(tops.begin(), tops.end());
    const int bottom = *std::max_element(bottoms.begin(), bottoms.end());
    const int slack = (bottom - top) / 12;
    for (int i = 0; i < runs.size(); ++i) {
        const bool up = tops[i] - top <= slack, down = bottom - bottoms[i] <= slack;
        s.bars += up && down ? QLatin1Char('L') : up ? QLatin1Char('A') : down ? QLatin1Char('D') : QLatin1Char('T');
        s.barWidth += runs[i].second - runs[i].first + 1;
    }
    s.barWidth /= runs.size();
    s.pitch = double(runs.last().first - runs.first().first) / (runs.size() - 1);
    s.height = bottom - top + 1;
    s.length = runs.last().second - runs.first().first + 1;
    return s;
}

// Part of a page rendered at dpi (pixels of the whole page's raster); a null image on failure.
QImage renderRegion(const QString& pdf, int page, int dpi, const QRect& region)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("region"));
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            { QStringLiteral("-png"), QStringLiteral("-gray"), QStringLiteral("-singlefile"), QStringLiteral("-r"),
              QString::number(dpi), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
              QString::number(page), QStringLiteral("-x"), QString::number(region.x()), QStringLiteral("-y"),
              QString::number(region.y()), QStringLiteral("-W"), QString::number(region.width()),
              QStringLiteral("-H"), QString::number(region.height()), pdf, base });
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QImage();
    return QImage(base + QStringLiteral(".png"));
}

// The label example with field 6 as a barcode at 8 points below the names, centred.
bool barcodeBelowTheNames(const ExampleCopy& ex)
{
    const QString sec = QStringLiteral("LABELFLD6");
    return ex.set(sec, QStringLiteral("VISIBLE"), QStringLiteral("1")) && ex.set(sec, QStringLiteral("BARCODE"), QStringLiteral("1"))
        && ex.set(sec, QStringLiteral("TOP"), QStringLiteral("138")) && ex.set(sec, QStringLiteral("LEFT"), QStringLiteral("42"));
}

QStringList labelRun(const ExampleCopy& ex, const QString& pdf, const QStringList& more = {})
{
    return QStringList { QStringLiteral("label"), QStringLiteral("--settings"), ex.settingsDir(),
                         QStringLiteral("--output"), pdf } + more;
}

TEST(TovalinPrintBarcode, ExampleLabelsCarryEachRecordsSymbolAtRealSize)
{
    ExampleCopy ex(QStringLiteral("label"));
    ASSERT_TRUE(barcodeBelowTheNames(ex));
    const QString pdf = ex.path(QStringLiteral("labels.pdf"));
    const ProgramRun r = runProgram(labelRun(ex, pdf));
    ASSERT_TRUE(r.finished);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString(); // every example record is a good barcode

    constexpr int dpi = 600;
    auto px = [](double tenths) { return tenths / 254.0 * dpi; };
    // The sheet: 14.0 mm side margins, 21.6 mm top, labels 86.4 x 42.3 mm, 9.2 mm between the
    // columns; the symbol lies in the lowest part of each label.
    const CustomerBarcode::Size size = CustomerBarcode::size(8);
    const QStringList firstRecords = { QStringLiteral("15400152-12-3"), QStringLiteral("16700514-31-7-203"),
                                       QStringLiteral("2310023153") };
    const QPoint cells[] = { { 0, 0 }, { 1, 0 }, { 0, 1 } }; // column, row
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(firstRecords[i].toStdString());
        const double left = 140 + cells[i].x() * (864 + 92), top = 216 + cells[i].y() * 423;
        const QImage part = renderRegion(pdf, 1, dpi, QRect(int(px(left)), int(px(top + 355)), int(px(864)), int(px(60))));
        ASSERT_FALSE(part.isNull());
        const RasterSymbol s = readRaster(part, part.rect());
        EXPECT_EQ(s.bars, barcodetest::letters(CustomerBarcode::encode(firstRecords[i]).bars));
        EXPECT_NEAR(s.pitch, px(size.pitch), 0.2);
        EXPECT_NEAR(s.barWidth, px(size.barWidth), 1.0);
        EXPECT_NEAR(s.height, px(size.longBar), 1.5);
        EXPECT_NEAR(s.length, px(size.length()), 1.5);
    }
}

TEST(TovalinPrintBarcode, BadDataAndCrowdedSymbolsAreNamedWithTheirRecords)
{
    ExampleCopy ex(QStringLiteral("label"));
    ASSERT_TRUE(barcodeBelowTheNames(ex));
    // Four more records whose data is no barcode, and one without data.
    QString more;
    for (const char16_t* data : { u"1000001 1丁目", u"1000001 1－1号", u"1000001 1_1", u"100 1-1", u"" })
        more += u(u"\"100-0001\",\"東京都千代田区千代田１\",\"\",\"宮内　一\",\"\",\"%1\",\"様\"\r\n").arg(u(data));
    ASSERT_TRUE(ex.appendCsv(testtext::sjis(more)));
    const QString pdf = ex.path(QStringLiteral("labels.pdf"));
    ProgramRun r = runProgram(labelRun(ex, pdf));
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString lead = u(u"カスタマバーコードにできないため、バーコードを印刷しません");
    EXPECT_TRUE(r.err.contains(lead + u(u"（数字、「-」、A～Z 以外の文字があります）: 宛名 31～33"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(lead + u(u"（先頭に7桁の郵便番号がありません）: 宛名 34"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(lead + u(u"（データがありません）: 宛名 35"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(u(u"近すぎます"))) << r.err.toStdString();

    // The symbol moved up against the second name: every record that has a second name.
    ASSERT_TRUE(ex.set(QStringLiteral("LABELFLD6"), QStringLiteral("TOP"), QStringLiteral("126")));
    r = runProgram(labelRun(ex, pdf));
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains(u(u"カスタマバーコードが名称２に近すぎます（周囲に2mmの余白が必要です）: 宛名 3, 12, 14")))
        << r.err.toStdString();
}

TEST(TovalinPrintBarcode, PostcardWarnsForTheRecordsItPrints)
{
    ExampleCopy ex;
    // The card's field 6 at the bottom left of the New Year card, under the sender block.
    ASSERT_TRUE(ex.set(QStringLiteral("POSTFLD6"), QStringLiteral("VISIBLE"), QStringLiteral("1")));
    ASSERT_TRUE(ex.set(QStringLiteral("POSTFLD6"), QStringLiteral("BARCODE"), QStringLiteral("1")));
    const QString pdf = ex.path(QStringLiteral("cards.pdf"));
    ProgramRun r = runProgram({ QStringLiteral("postcard"), QStringLiteral("--settings"), ex.settingsDir(),
                                QStringLiteral("--output"), pdf, QStringLiteral("--record"), QStringLiteral("4") });
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    // The symbol, longer than the card leaves room for, is put back on the card as the form
    // puts it back when it opens, and said so; there it comes close to the sender's code too.
    EXPECT_TRUE(r.err.contains(u(u"用紙からはみ出していた項目を用紙内に戻しました。\n備　考"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u(u"カスタマバーコードがハガキの端、名称１、郵便番号(差出人)に近すぎます（周囲に2mm、ハガキの端から10mmの余白が必要です）: 宛名 4")))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(u(u"宛名 1"))) << r.err.toStdString();
}

} // namespace
