#include "platform/SystemPrinter.h"
#include "support/CupsTestPrinter.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFont>
#include <QPainter>

namespace {

// Selects the test printer with the given paper, orientation and tray at its default resolution.
void selectTestPrinter(int paper, int orientation, int bin)
{
    ASSERT_TRUE(CupsTestPrinter::selectInSystemPrinter());
    SystemPrinter& sp = SystemPrinter::instance();
    DevMode m = sp.devMode();
    m.setPaperSize(paper);
    m.setOrientation(orientation);
    m.setDefaultSource(bin);
    sp.setDevMode(m);
    ASSERT_EQ(sp.devMode().paperSize(), paper);
    ASSERT_EQ(sp.devMode().orientation(), orientation);
    ASSERT_EQ(sp.devMode().defaultSource(), bin);
}

// Fraction of dark pixels in a rectangle given in fractions of the image.
double darkness(const QImage& image, double x0, double y0, double x1, double y1)
{
    int dark = 0, all = 0;
    for (int y = int(y0 * image.height()); y < int(y1 * image.height()); ++y) {
        for (int x = int(x0 * image.width()); x < int(x1 * image.width()); ++x) {
            ++all;
            if (qGray(image.pixel(x, y)) < 100)
                ++dark;
        }
    }
    return all ? double(dark) / all : 0.0;
}

} // namespace

TEST(SystemPrinter, ListsTheTestPrinterWithTheDriverOfItsQueue)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    ASSERT_GE(CupsTestPrinter::indexInSystemPrinter(), 0);
    ASSERT_TRUE(CupsTestPrinter::selectInSystemPrinter());
    SystemPrinter& sp = SystemPrinter::instance();
    EXPECT_EQ(sp.driver().kind(), PrinterDriver::Kind::Ppd);
    EXPECT_TRUE(sp.paperNames().contains(QPair<int, QString>(43, QStringLiteral("Postcard"))));
    EXPECT_TRUE(sp.paperNames().contains(QPair<int, QString>(9, QStringLiteral("A4"))));
    const QVector<QPair<int, QString>> trays{{1, QStringLiteral("Upper Tray")}, {2, QStringLiteral("Lower Tray")}};
    EXPECT_EQ(sp.paperSources(), trays);
    EXPECT_EQ(sp.devMode().deviceName(), CupsTestPrinter::name());
    EXPECT_FALSE(sp.defaultPrinterName().isEmpty());
}

TEST(SystemPrinter, DeviceValuesOfPostcardAndA4OnTheTestPrinter)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    struct Case {
        const char* what;
        int paper, orientation;
        DeviceValues expected;
    };
    // The queue's PPD at its default 600 dpi (see tests/data/TovalinTest.ppd).
    const Case cases[] = {
        {"postcard", 43, 1, {600, 600, 2362, 3496, 72, 78, 2224, 3298}},
        {"A4", 9, 1, {600, 600, 4961, 7016, 120, 96, 4727, 6796}},
        {"postcard landscape", 43, 2, {600, 600, 3496, 2362, 120, 72, 3298, 2224}},
    };
    for (const Case& c : cases) {
        selectTestPrinter(c.paper, c.orientation, 1);
        EXPECT_EQ(SystemPrinter::instance().deviceValues(), c.expected) << c.what;
    }
}

TEST(SystemPrinter, JobReachesCupsWithPaperTrayAndPageSize)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    selectTestPrinter(DevMode::PaperJapanesePostcard, DevMode::OrientationPortrait, DevMode::BinLower);
    SystemPrinter& sp = SystemPrinter::instance();
    const DeviceValues v = sp.deviceValues();
    ASSERT_TRUE(sp.beginDoc(QStringLiteral("tovalin-postcard-test")));
    QPainter* p = sp.painter();
    ASSERT_NE(p, nullptr);
    // A 10 mm black square 20 mm from the sheet's left edge and 30 mm from its top.
    const double pxPerMm = v.logPixelsX / 25.4;
    p->fillRect(QRectF(20 * pxPerMm, 30 * pxPerMm, 10 * pxPerMm, 10 * pxPerMm), Qt::black);
    p->setFont(QFont(QStringLiteral("DejaVu Sans"), 14));
    p->drawText(QPointF(20 * pxPerMm, 80 * pxPerMm), QStringLiteral("TOVALINPAGEONE"));
    ASSERT_TRUE(sp.newPage());
    p->drawText(QPointF(20 * pxPerMm, 80 * pxPerMm), QStringLiteral("TOVALINPAGETWO"));
    EXPECT_EQ(sp.pageNumber(), 2);
    ASSERT_TRUE(sp.endDoc()) << sp.errorString().toStdString();
    EXPECT_FALSE(sp.printing());
    EXPECT_EQ(sp.painter(), nullptr);
    const int job = sp.lastJobId();
    ASSERT_GT(job, 0);

    const QString pdf = CupsTestPrinter::outputFile(job);
    ASSERT_FALSE(pdf.isEmpty()) << "no output for job " << job;
    const auto info = CupsTestPrinter::pdfInfo(pdf);
    ASSERT_TRUE(info.ok) << info.error.toStdString();
    EXPECT_EQ(info.pages, 2);
    // The test printer writes the sheet in whole points.
    EXPECT_NEAR(info.pageSizePt.width(), 283.46, 1.0);
    EXPECT_NEAR(info.pageSizePt.height(), 419.53, 1.0);
    const QString text = CupsTestPrinter::pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("TOVALINPAGEONE"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("TOVALINPAGETWO"))) << text.toStdString();

    // The square lands where it was drawn, measured on the printed sheet at 10 pixels per mm.
    const QImage page = CupsTestPrinter::renderPage(pdf, 1, 254);
    ASSERT_FALSE(page.isNull());
    int left = page.width(), top = page.height(), right = -1, bottom = -1;
    for (int y = 0; y < page.height() / 2; ++y) {
        for (int x = 0; x < page.width() / 2; ++x) {
            if (qGray(page.pixel(x, y)) < 60) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    EXPECT_NEAR(left, 200, 4);
    EXPECT_NEAR(top, 300, 4);
    EXPECT_NEAR(right - left + 1, 100, 4);
    EXPECT_NEAR(bottom - top + 1, 100, 4);

    // The tray and the paper went to CUPS with the job.
    const QMap<QString, QString> attrs = CupsTestPrinter::jobAttributes(job);
    EXPECT_EQ(attrs.value(QStringLiteral("InputSlot")), QStringLiteral("Lower"));
    EXPECT_EQ(attrs.value(QStringLiteral("PageSize")), QStringLiteral("Postcard"));
    CupsTestPrinter::removeOutput(pdf);
}

TEST(SystemPrinter, LandscapeJobIsTurnedOntoThePortraitSheet)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    selectTestPrinter(DevMode::PaperA4, DevMode::OrientationLandscape, DevMode::BinUpper);
    SystemPrinter& sp = SystemPrinter::instance();
    const DeviceValues v = sp.deviceValues();
    ASSERT_GT(v.physicalWidth, v.physicalHeight);
    ASSERT_TRUE(sp.beginDoc(QStringLiteral("tovalin-landscape-test")));
    // Mark the top-left corner of the landscape page.
    sp.painter()->fillRect(QRect(0, 0, v.physicalWidth / 5, v.physicalHeight / 5), Qt::black);
    ASSERT_TRUE(sp.endDoc()) << sp.errorString().toStdString();

    const QString pdf = CupsTestPrinter::outputFile(sp.lastJobId());
    ASSERT_FALSE(pdf.isEmpty());
    const auto info = CupsTestPrinter::pdfInfo(pdf);
    ASSERT_TRUE(info.ok) << info.error.toStdString();
    EXPECT_NEAR(info.pageSizePt.width(), 595.28, 1.0);
    EXPECT_NEAR(info.pageSizePt.height(), 841.89, 1.0);
    EXPECT_EQ(CupsTestPrinter::jobAttributes(sp.lastJobId()).value(QStringLiteral("orientation-requested")),
              QStringLiteral("landscape"));
    // Turned a quarter counter-clockwise, the landscape page's top-left corner is the
    // portrait sheet's bottom-left corner.
    const QImage page = CupsTestPrinter::renderPage(pdf, 1, 20);
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(darkness(page, 0.02, 0.82, 0.18, 0.98), 0.9);
    EXPECT_LT(darkness(page, 0.02, 0.02, 0.18, 0.18), 0.1);
    EXPECT_LT(darkness(page, 0.82, 0.82, 0.98, 0.98), 0.1);
    CupsTestPrinter::removeOutput(pdf);
}

TEST(SystemPrinter, WithoutASchedulerThereAreNoPrintersAndNothingHappens)
{
    // A closed port answers at once; an unreachable address must end within the timeout.
    for (const QString& server : {QStringLiteral("127.0.0.1:1"), QStringLiteral("192.0.2.1:631")}) {
        QElapsedTimer timer;
        timer.start();
        {
            ScopedCupsServer noScheduler(server);
            SystemPrinter& sp = SystemPrinter::instance();
            EXPECT_TRUE(sp.printers().isEmpty()) << server.toStdString();
            EXPECT_EQ(sp.printerIndex(), -1);
            EXPECT_EQ(sp.defaultPrinterIndex(), -1);
            EXPECT_TRUE(sp.printerName().isEmpty());
            EXPECT_TRUE(sp.defaultPrinterName().isEmpty());
            sp.setPrinterIndex(0);
            sp.setDevMode(DevMode::blank());
            EXPECT_TRUE(sp.devMode().isEmpty());
            EXPECT_EQ(sp.deviceValues(), DeviceValues());
            EXPECT_TRUE(sp.paperNames().isEmpty());
            EXPECT_TRUE(sp.paperSources().isEmpty());
            EXPECT_FALSE(sp.beginDoc(QStringLiteral("nothing")));
            EXPECT_EQ(sp.painter(), nullptr);
            EXPECT_FALSE(sp.newPage());
            EXPECT_FALSE(sp.endDoc());
            EXPECT_FALSE(sp.printing());
        }
        EXPECT_LT(timer.elapsed(), 15000) << server.toStdString();
    }
}

TEST(SystemPrinter, JobDrawnWithTheCallersOwnPainter)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    selectTestPrinter(DevMode::PaperA4, DevMode::OrientationPortrait, DevMode::BinUpper);
    SystemPrinter& sp = SystemPrinter::instance();
    const DeviceValues v = sp.deviceValues();
    ASSERT_TRUE(sp.beginDoc(QStringLiteral("tovalin-own-painter")));
    EXPECT_FALSE(sp.beginDoc(QStringLiteral("second job at once")));
    QPainter p;
    ASSERT_TRUE(p.begin(sp.device()));
    // The device is the whole sheet at the printer's resolution.
    EXPECT_NEAR(sp.device()->width(), v.physicalWidth, v.logPixelsX / 72.0 + 1);
    EXPECT_NEAR(sp.device()->height(), v.physicalHeight, v.logPixelsY / 72.0 + 1);
    p.setFont(QFont(QStringLiteral("IPAGothic"), 20));
    p.drawText(QPointF(v.physicalWidth / 4, v.physicalHeight / 4), QStringLiteral("宛名印刷一頁"));
    ASSERT_TRUE(sp.newPage());
    p.drawText(QPointF(v.physicalWidth / 4, v.physicalHeight / 4), QStringLiteral("宛名印刷二頁"));
    ASSERT_TRUE(sp.newPage());
    p.drawText(QPointF(v.physicalWidth / 4, v.physicalHeight / 4), QStringLiteral("宛名印刷三頁"));
    p.end();
    ASSERT_TRUE(sp.endDoc()) << sp.errorString().toStdString();

    const QString pdf = CupsTestPrinter::outputFile(sp.lastJobId());
    ASSERT_FALSE(pdf.isEmpty());
    const auto info = CupsTestPrinter::pdfInfo(pdf, 3);
    ASSERT_TRUE(info.ok) << info.error.toStdString();
    EXPECT_EQ(info.pages, 3);
    EXPECT_NEAR(info.pageSizePt.width(), 595.28, 1.0);
    EXPECT_NEAR(info.pageSizePt.height(), 841.89, 1.0);
    EXPECT_TRUE(CupsTestPrinter::pdfText(pdf, 3, 3).contains(QStringLiteral("宛名印刷三頁")));
    EXPECT_FALSE(CupsTestPrinter::pdfText(pdf, 3, 3).contains(QStringLiteral("宛名印刷一頁")));
    CupsTestPrinter::removeOutput(pdf);
}

TEST(SystemPrinter, JobWithNothingDrawnIsNotSubmitted)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    ASSERT_TRUE(CupsTestPrinter::selectInSystemPrinter());
    SystemPrinter& sp = SystemPrinter::instance();
    const int before = sp.lastJobId();
    ASSERT_TRUE(sp.beginDoc(QStringLiteral("empty")));
    EXPECT_FALSE(sp.endDoc());
    EXPECT_FALSE(sp.errorString().isEmpty());
    EXPECT_EQ(sp.lastJobId(), before);
    // An aborted job leaves nothing behind either, and the next job works.
    ASSERT_TRUE(sp.beginDoc(QStringLiteral("aborted")));
    sp.painter()->drawLine(0, 0, 100, 100);
    sp.abortDoc();
    EXPECT_FALSE(sp.printing());
    EXPECT_EQ(sp.lastJobId(), before);
}
