// The paper of a print form: which of a driver's papers is a postcard (or A4), whether the
// paper in use is the form's, and putting it in force on the CUPS test printers.

#include "preview/FormPaper.h"

#include "platform/DevMode.h"
#include "platform/PrinterDriver.h"
#include "platform/SystemPrinter.h"
#include "preview/TplSetPrinter.h"
#include "support/CupsTestPrinter.h"
#include "support/PrinterPaper.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

// A driverless queue offering these papers (IPP media: name, text, size in 0.01 mm).
PrinterDriver ippDriver(const QVector<IppDescription::Media>& media)
{
    IppDescription desc;
    desc.media = media;
    desc.defaultMedia = media.first().name;
    return PrinterDriver::fromIpp(desc);
}

IppDescription::Media medium(const char* name, int width, int length)
{
    return { QString::fromLatin1(name), QString::fromLatin1(name), width, length, 300, 300, 300, 300 };
}

int paperNumber(const PrinterDriver& d, const char* key)
{
    for (const DriverPaper& p : d.papers()) {
        if (p.key == QLatin1String(key))
            return p.dmPaper;
    }
    return -1;
}

} // namespace

TEST(FormPaper, WhichOfADriversPapersIsTheFormsPaper)
{
    const struct {
        const char* name;
        QVector<IppDescription::Media> media;
        const char* postcard; // key of the paper found, or nullptr for none
        const char* a4;
    } cases[] = {
        { "A4 first, then the postcard", { medium("iso_a4_210x297mm", 21000, 29700), medium("jpn_hagaki_100x148mm", 10000, 14800) },
          "jpn_hagaki_100x148mm", "iso_a4_210x297mm" },
        { "a postcard named by its size", { medium("custom_100x148mm", 10000, 14800) }, "custom_100x148mm", nullptr },
        { "sizes rounded to whole points", { medium("na_letter_8.5x11in", 21590, 27940), medium("postcard_284x420pt", 10019, 14817) },
          "postcard_284x420pt", nullptr },
        { "within 1 mm", { medium("almost_99.1x148.9mm", 9910, 14890) }, "almost_99.1x148.9mm", nullptr },
        { "more than 1 mm off", { medium("card_98.8x148mm", 9880, 14800), medium("a4ish_212x297mm", 21200, 29700) }, nullptr, nullptr },
        { "a double postcard is not a postcard", { medium("jpn_oufuku_148x200mm", 14800, 20000), medium("dbl_200x148mm", 20000, 14800) },
          nullptr, nullptr },
        { "a postcard fed landscape is not portrait", { medium("jpn_hagaki_rotated_148x100mm", 14800, 10000) }, nullptr, nullptr },
        { "A5 and A6 only", { medium("iso_a5_148x210mm", 14800, 21000), medium("iso_a6_105x148mm", 10500, 14800) }, nullptr, nullptr },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PrinterDriver d = ippDriver(c.media);
        ASSERT_TRUE(d.isValid());
        EXPECT_EQ(FormPapers::find(d, FormPaper::Postcard), c.postcard ? paperNumber(d, c.postcard) : 0);
        EXPECT_EQ(FormPapers::find(d, FormPaper::A4), c.a4 ? paperNumber(d, c.a4) : 0);
    }

    // The two test queues' own drivers.
    const PrinterDriver test = PrinterDriver::fromPpdFile(TestFiles::dataPath(QStringLiteral("TovalinTest.ppd")));
    EXPECT_EQ(FormPapers::find(test, FormPaper::Postcard), DevMode::PaperJapanesePostcard);
    EXPECT_EQ(FormPapers::find(test, FormPaper::A4), DevMode::PaperA4);
    const PrinterDriver none = PrinterDriver::fromPpdFile(TestFiles::dataPath(QStringLiteral("TovalinTestNoPostcard.ppd")));
    ASSERT_TRUE(none.isValid());
    EXPECT_EQ(FormPapers::find(none, FormPaper::Postcard), 0);
    EXPECT_EQ(FormPapers::find(none, FormPaper::A4), DevMode::PaperA4);
}

TEST(FormPaper, WhetherThePaperInUseIsTheForms)
{
    auto at = [](int dpiX, int dpiY, double widthMm, double heightMm) {
        DeviceValues v;
        v.logPixelsX = dpiX;
        v.logPixelsY = dpiY;
        v.physicalWidth = int(widthMm / 25.4 * dpiX + 0.5);
        v.physicalHeight = int(heightMm / 25.4 * dpiY + 0.5);
        return v;
    };
    const struct {
        const char* name;
        DeviceValues values;
        bool postcard;
        bool a4;
    } cases[] = {
        { "postcard at 600 dpi", at(600, 600, 100, 148), true, false },
        { "postcard at 300 x 600 dpi", at(300, 600, 100, 148), true, false },
        { "postcard in whole points", at(72, 72, 284 * 25.4 / 72, 420 * 25.4 / 72), true, false },
        { "0.9 mm off", at(600, 600, 100.9, 147.1), true, false },
        { "1.2 mm off", at(600, 600, 101.2, 148), false, false },
        { "postcard landscape", at(600, 600, 148, 100), false, false },
        { "A4", at(600, 600, 210, 297), false, true },
        { "A4 landscape", at(600, 600, 297, 210), false, false },
        { "Letter", at(600, 600, 215.9, 279.4), false, false },
        { "no printer", DeviceValues(), false, false },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormPapers::matches(c.values, FormPaper::Postcard), c.postcard) << c.name;
        EXPECT_EQ(FormPapers::matches(c.values, FormPaper::A4), c.a4) << c.name;
    }
}

TEST(FormPaper, PutInForceOnTheTestPrintersOrSaidToBeMissing)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    TOVALIN_REQUIRE_PRINTER(CupsTestPrinter::nameWithoutPostcard());
    SystemPrinter::instance().refresh();
    const struct {
        QString printer;
        FormPaper paper;
        bool chosen;
        QString paperName;   // in force afterwards
        QString mismatch;
    } cases[] = {
        { CupsTestPrinter::name(), FormPaper::Postcard, true, QStringLiteral("Postcard"), QString() },
        { CupsTestPrinter::name(), FormPaper::A4, true, QStringLiteral("A4"), QString() },
        { CupsTestPrinter::nameWithoutPostcard(), FormPaper::A4, true, QStringLiteral("A4"), QString() },
        // Nothing changes: A4 fed landscape stays in force, and is named as it is.
        { CupsTestPrinter::nameWithoutPostcard(), FormPaper::Postcard, false, QStringLiteral("A4"),
          QStringLiteral("用紙「A4」（297.0 × 210.0 mm）はハガキ（100 × 148 mm）ではありません。") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printer.toStdString());
        TplSetPrinter printer(QStringLiteral("plSetPrinter1"));
        printer.setPrinterName(c.printer);
        ASSERT_EQ(printer.PrinterName(), c.printer);
        // A4 in force first, landscape: the choice must set both paper and orientation.
        printerpaper::usePaper(printer, DevMode::PaperA4, DevMode::OrientationLandscape);
        ASSERT_EQ(printer.PaperName(), QStringLiteral("A4"));
        ASSERT_TRUE(printer.Landscape());
        EXPECT_EQ(FormPapers::choose(printer, c.paper), c.chosen);
        EXPECT_EQ(printer.PaperName(), c.paperName);
        EXPECT_EQ(printer.Landscape(), !c.chosen);
        EXPECT_EQ(FormPapers::matches(printer.deviceValues(), c.paper), c.chosen);
        EXPECT_EQ(FormPapers::mismatch(printer, c.paper), c.mismatch);
    }
    // The postcard's sheet on the A4 form, and the other way round.
    TplSetPrinter printer(QStringLiteral("plSetLabel"));
    printer.setPrinterName(CupsTestPrinter::name());
    ASSERT_TRUE(FormPapers::choose(printer, FormPaper::Postcard));
    EXPECT_EQ(FormPapers::mismatch(printer, FormPaper::A4),
              QStringLiteral("用紙「Postcard」（100.0 × 148.0 mm）はA4（210 × 297 mm）ではありません。"));
}
