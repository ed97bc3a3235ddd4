#include "platform/PrinterDriver.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

QString testPpd()
{
    return QStringLiteral(TOVALIN_SOURCE_DIR "/tests/data/TovalinTest.ppd");
}

PrinterDriver testDriver()
{
    QString error;
    PrinterDriver d = PrinterDriver::fromPpdFile(testPpd(), &error);
    EXPECT_TRUE(d.isValid()) << error.toStdString();
    return d;
}

// A record asking for paper, orientation, tray and resolution, completed by the driver.
DevMode record(const PrinterDriver& d, int paper, int orientation, int bin, int dpi)
{
    DevMode m = d.defaultDevMode(QStringLiteral("TovalinTest"));
    m.setPaperSize(paper);
    m.setOrientation(orientation);
    m.setDefaultSource(bin);
    m.setPrintQuality(dpi);
    m.setYResolution(dpi);
    return d.complete(m, QStringLiteral("TovalinTest"));
}

QString writePpd(QTemporaryDir& dir, const QByteArray& body)
{
    const QString path = dir.filePath(QStringLiteral("t.ppd"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
            "*LanguageEncoding: ISOLatin1\n*PCFileName: \"T.PPD\"\n*Manufacturer: \"T\"\n*Product: \"(T)\"\n"
            "*ModelName: \"T\"\n*ShortNickName: \"T\"\n*NickName: \"T\"\n*PSVersion: \"(3010) 0\"\n");
    f.write(body);
    return path;
}

} // namespace

TEST(PrinterDriver, TestPrinterListsItsPapersAndTraysWithWindowsNumbers)
{
    const PrinterDriver d = testDriver();
    const QVector<QPair<int, QString>> papers{
        {9, QStringLiteral("A4")}, {43, QStringLiteral("Postcard")}, {256, QStringLiteral("ユーザー定義サイズ")}};
    EXPECT_EQ(d.paperNames(), papers);
    const QVector<QPair<int, QString>> bins{{1, QStringLiteral("Upper Tray")}, {2, QStringLiteral("Lower Tray")}};
    EXPECT_EQ(d.binNames(), bins);
}

TEST(PrinterDriver, DeviceValuesFollowPaperOrientationAndResolution)
{
    const PrinterDriver d = testDriver();
    // Expected values from the PPD's sizes and margins in points (x dpi / 72, rounded):
    // postcard 283.46 x 419.53, margins left 8.64, bottom 14.40, right 7.92, top 9.36;
    // A4 595.28 x 841.89, margins left 14.40, bottom 14.88, right 13.68, top 11.52.
    // Landscape turns the sheet a quarter counter-clockwise: the page's left margin is
    // the sheet's bottom one and its top margin the sheet's left one.
    struct Case {
        const char* what;
        int paper, orientation, dpi;
        DeviceValues expected;
    };
    const Case cases[] = {
        {"postcard 600", 43, 1, 600, {600, 600, 2362, 3496, 72, 78, 2224, 3298}},
        {"postcard 300", 43, 1, 300, {300, 300, 1181, 1748, 36, 39, 1112, 1649}},
        {"A4 600", 9, 1, 600, {600, 600, 4961, 7016, 120, 96, 4727, 6796}},
        {"A4 300", 9, 1, 300, {300, 300, 2480, 3508, 60, 48, 2363, 3398}},
        {"postcard landscape 600", 43, 2, 600, {600, 600, 3496, 2362, 120, 72, 3298, 2224}},
        {"A4 landscape 300", 9, 2, 300, {300, 300, 3508, 2480, 62, 60, 3398, 2363}},
    };
    for (const Case& c : cases) {
        const DevMode m = record(d, c.paper, c.orientation, 1, c.dpi);
        const DeviceValues v = d.deviceValues(m);
        EXPECT_EQ(v.logPixelsX, c.expected.logPixelsX) << c.what;
        EXPECT_EQ(v.logPixelsY, c.expected.logPixelsY) << c.what;
        EXPECT_EQ(v.physicalWidth, c.expected.physicalWidth) << c.what;
        EXPECT_EQ(v.physicalHeight, c.expected.physicalHeight) << c.what;
        EXPECT_EQ(v.physicalOffsetX, c.expected.physicalOffsetX) << c.what;
        EXPECT_EQ(v.physicalOffsetY, c.expected.physicalOffsetY) << c.what;
        EXPECT_EQ(v.horzRes, c.expected.horzRes) << c.what;
        EXPECT_EQ(v.vertRes, c.expected.vertRes) << c.what;
    }
}

TEST(PrinterDriver, DefaultRecordCarriesThePpdDefaults)
{
    const PrinterDriver d = testDriver();
    const DevMode m = d.defaultDevMode(QStringLiteral("TovalinTest"));
    EXPECT_EQ(m.size(), 156 + m.dmDriverExtra());
    EXPECT_EQ(m.deviceName(), QStringLiteral("TovalinTest"));
    EXPECT_EQ(m.paperSize(), 9);
    EXPECT_EQ(m.orientation(), 1);
    EXPECT_EQ(m.defaultSource(), 1);
    EXPECT_EQ(m.printQuality(), 600);
    EXPECT_EQ(m.duplex(), 1);
    EXPECT_EQ(m.copies(), 1);
    const DevModeCupsSettings s = m.cupsSettings();
    EXPECT_EQ(s.media, QStringLiteral("A4"));
    EXPECT_EQ(s.slot, QStringLiteral("Upper"));
    EXPECT_EQ(s.resolution, QStringLiteral("600dpi"));
    EXPECT_EQ(s.duplex, QStringLiteral("None"));
}

TEST(PrinterDriver, QueueDefaultsOverrideThePpdDefaults)
{
    const PrinterDriver d = testDriver();
    const PrinterDriver::QueueDefaults queue{{QStringLiteral("media"), QStringLiteral("Postcard,Lower")},
                                             {QStringLiteral("Resolution"), QStringLiteral("300dpi")},
                                             {QStringLiteral("orientation-requested"), QStringLiteral("4")}};
    const DevMode m = d.defaultDevMode(QStringLiteral("TovalinTest"), queue);
    EXPECT_EQ(m.paperSize(), 43);
    EXPECT_EQ(m.defaultSource(), 2);
    EXPECT_EQ(m.printQuality(), 300);
    EXPECT_EQ(m.orientation(), 2);
}

TEST(PrinterDriver, CompletingReplacesWhatTheDriverLacksWithItsDefaults)
{
    const PrinterDriver d = testDriver();
    struct Case {
        const char* what;
        int paper, orientation, bin, dpi;
        int expectPaper, expectOrientation, expectBin, expectDpi;
    };
    const Case cases[] = {
        {"all supported", 43, 2, 2, 300, 43, 2, 2, 300},
        {"A6 is not offered", 70, 1, 1, 600, 9, 1, 1, 600},
        {"form-source tray is not offered", 43, 1, 15, 600, 43, 1, 1, 600},
        {"1200 dpi is not offered", 9, 1, 2, 1200, 9, 1, 2, 600},
        {"DMRES_HIGH picks the finest", 9, 1, 1, -4, 9, 1, 1, 600},
        {"DMRES_DRAFT picks the coarsest", 9, 1, 1, -1, 9, 1, 1, 300},
        {"orientation 0 is no orientation", 43, 0, 1, 600, 43, 1, 1, 600},
    };
    for (const Case& c : cases) {
        const DevMode m = record(d, c.paper, c.orientation, c.bin, c.dpi);
        EXPECT_EQ(m.paperSize(), c.expectPaper) << c.what;
        EXPECT_EQ(m.orientation(), c.expectOrientation) << c.what;
        EXPECT_EQ(m.defaultSource(), c.expectBin) << c.what;
        EXPECT_EQ(m.printQuality(), c.expectDpi) << c.what;
        // A completed record is stable: completing it again changes no byte.
        EXPECT_EQ(d.complete(m, QStringLiteral("TovalinTest")).bytes().toHex(), m.bytes().toHex()) << c.what;
    }
}

TEST(PrinterDriver, JobOptionsCarryPaperTrayResolutionAndOrientation)
{
    const PrinterDriver d = testDriver();
    using Options = QVector<QPair<QString, QString>>;
    const Options portraitA4{{"PageSize", "A4"}, {"InputSlot", "Upper"}, {"Resolution", "600dpi"}, {"Duplex", "None"}};
    EXPECT_EQ(d.jobOptions(record(d, 9, 1, 1, 600)), portraitA4);
    const Options landscapePostcard{{"PageSize", "Postcard"},
                                    {"InputSlot", "Lower"},
                                    {"Resolution", "300dpi"},
                                    {"Duplex", "None"},
                                    {"orientation-requested", "4"}};
    EXPECT_EQ(d.jobOptions(record(d, 43, 2, 2, 300)), landscapePostcard);
    const QSizeF sheet = d.sheetSizePoints(record(d, 43, 2, 2, 300));
    EXPECT_NEAR(sheet.width(), 419.53, 0.01);
    EXPECT_NEAR(sheet.height(), 283.46, 0.01);
}

TEST(PrinterDriver, UserDefinedSizeUsesTheCustomPageSizeOfThePpd)
{
    const PrinterDriver d = testDriver();
    DevMode m = d.defaultDevMode(QStringLiteral("TovalinTest"));
    m.setPaperSize(DevMode::PaperUser);
    m.setPaperWidth(900);
    m.setPaperLength(1400);
    m = d.complete(m, QStringLiteral("TovalinTest"));
    EXPECT_EQ(m.paperSize(), 256);
    EXPECT_EQ(m.paperWidth(), 900);
    EXPECT_EQ(m.paperLength(), 1400);
    const DeviceValues v = d.deviceValues(m);
    EXPECT_EQ(v.physicalWidth, 2126);   // 90 mm at 600 dpi
    EXPECT_EQ(v.physicalHeight, 3307);  // 140 mm
    EXPECT_EQ(v.physicalOffsetX, 0);    // HWMargins 0
    EXPECT_EQ(d.jobOptions(m).first(), (QPair<QString, QString>("PageSize", "Custom.90x140mm")));
}

TEST(PrinterDriver, WindowsRecordKeepsWhatTheDriverDoesNotInterpret)
{
    // A 156-byte DEVMODEA from another driver, with private bytes and fields we do not use.
    DevMode win = DevMode::blank();
    win.setDeviceName(QStringLiteral("事務所のプリンタ"));
    win.setDriverVersion(0x0612);
    win.setOrientation(2);
    win.setPaperSize(43);
    win.setDefaultSource(2);
    win.setPrintQuality(300);
    win.setYResolution(300);
    win.setColor(2);
    for (int offset = 104; offset < 156; offset += 2)
        win.setWord(offset, offset * 3);   // bits per pel .. panning: not ours
    win.setFields(win.fields() | 0x02000000u);   // DM_MEDIATYPE
    QByteArray priv;
    for (int i = 0; i < 358; ++i)
        priv.append(char((i * 7 + 3) & 0xFF));
    win.setDriverExtra(priv);
    ASSERT_EQ(win.size(), 514);

    const PrinterDriver d = testDriver();
    const DevMode m = d.complete(win, QStringLiteral("TovalinTest"));
    EXPECT_EQ(m.deviceName(), QStringLiteral("TovalinTest"));
    EXPECT_EQ(m.orientation(), 2);
    EXPECT_EQ(m.paperSize(), 43);
    EXPECT_EQ(m.defaultSource(), 2);
    EXPECT_EQ(m.printQuality(), 300);
    EXPECT_EQ(m.driverVersion(), 0x0612);
    EXPECT_TRUE(m.fields() & 0x02000000u);
    EXPECT_EQ(m.size(), 514);
    EXPECT_EQ(m.bytes().mid(104, 52), win.bytes().mid(104, 52));
    EXPECT_EQ(m.driverExtra(), priv);
    EXPECT_EQ(d.deviceValues(m).physicalWidth, 1748);   // landscape postcard at 300 dpi
}

TEST(PrinterDriver, NumbersSizesAndTraysLikeAWindowsDriver)
{
    struct PaperCase {
        int w, h, code;
    };
    const PaperCase papers[] = {
        {1000, 1480, 43}, {1480, 1000, 81}, {2100, 2970, 9}, {2970, 2100, 77}, {2159, 2794, 1},
        {1050, 1480, 70}, {2000, 1480, 69}, {1005, 1487, 43}, {1025, 1480, 0}, {1234, 567, 0},
    };
    for (const PaperCase& c : papers)
        EXPECT_EQ(PrinterDriver::standardPaperNumber(c.w, c.h), c.code) << c.w << "x" << c.h;

    struct BinCase {
        const char* key;
        int code;
    };
    const BinCase bins[] = {{"Upper", 1}, {"lower", 2}, {"ManualFeed", 4}, {"Tractor", 8}, {"auto", 7},
                            {"large-capacity", 11}, {"Tray3", 0}};
    for (const BinCase& c : bins)
        EXPECT_EQ(PrinterDriver::standardBinNumber(QString::fromLatin1(c.key)), c.code) << c.key;
}

TEST(PrinterDriver, DriverOwnNumbersForDuplicateAndUnknownSizesAndTrays)
{
    QTemporaryDir dir;
    const QString path = writePpd(dir, R"(*LandscapeOrientation: Minus90
*OpenUI *PageSize: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: ""
*PageSize A4.Borderless/A4 (Borderless): ""
*PageSize Odd/Odd Size: ""
*PageSize Postcard/Hagaki: ""
*CloseUI: *PageSize
*ImageableArea A4/A4: "10 20 585 822"
*ImageableArea A4.Borderless/A4 (Borderless): "0 0 595 842"
*ImageableArea Odd/Odd Size: "0 0 300 300"
*ImageableArea Postcard/Hagaki: "0 0 283 420"
*PaperDimension A4/A4: "595 842"
*PaperDimension A4.Borderless/A4 (Borderless): "595 842"
*PaperDimension Odd/Odd Size: "300 300"
*PaperDimension Postcard/Hagaki: "283 420"
*OpenUI *InputSlot: PickOne
*DefaultInputSlot: Main
*InputSlot Main/Main Tray: ""
*InputSlot Tractor/Tractor Feed: ""
*InputSlot Rear/Rear Slot: ""
*CloseUI: *InputSlot
*DefaultResolution: 360dpi
)");
    QString error;
    const PrinterDriver d = PrinterDriver::fromPpdFile(path, &error);
    ASSERT_TRUE(d.isValid()) << error.toStdString();
    const QVector<QPair<int, QString>> papers{{9, QStringLiteral("A4")},
                                              {257, QStringLiteral("A4 (Borderless)")},
                                              {258, QStringLiteral("Odd Size")},
                                              {43, QStringLiteral("Hagaki")}};
    EXPECT_EQ(d.paperNames(), papers);
    const QVector<QPair<int, QString>> bins{
        {256, QStringLiteral("Main Tray")}, {8, QStringLiteral("Tractor Feed")}, {257, QStringLiteral("Rear Slot")}};
    EXPECT_EQ(d.binNames(), bins);

    // The borderless A4 is found again by its own number; the fixed 360 dpi is used and
    // not sent as an option.
    const DevMode m = record(d, 257, 2, 257, 360);
    EXPECT_EQ(d.paperFor(m).key, QStringLiteral("A4.Borderless"));
    EXPECT_EQ(m.defaultSource(), 257);
    const QVector<QPair<QString, QString>> options{
        {"PageSize", "A4.Borderless"}, {"InputSlot", "Rear"}, {"orientation-requested", "4"}};
    EXPECT_EQ(d.jobOptions(m), options);

    // Minus90: the landscape page's top-left corner is the sheet's top-right one, so its
    // left margin is the sheet's top margin and its top margin the sheet's right margin.
    const DeviceValues v = d.deviceValues(record(d, 9, 2, 256, 360));
    EXPECT_EQ(v.logPixelsX, 360);
    EXPECT_EQ(v.physicalWidth, 4210);             // 842 pt
    EXPECT_EQ(v.physicalOffsetX, 100);            // top margin 20 pt
    EXPECT_EQ(v.physicalOffsetY, 50);             // right margin 10 pt
    EXPECT_EQ(v.horzRes, 4010);                   // 802 pt
}

TEST(PrinterDriver, UnreadablePpdIsNoDriver)
{
    QTemporaryDir dir;
    const QString garbage = dir.filePath(QStringLiteral("garbage.ppd"));
    QFile f(garbage);
    f.open(QIODevice::WriteOnly);
    f.write("this is not a PPD file\n");
    f.close();
    const QString noSizes = writePpd(dir, "*DefaultResolution: 300dpi\n");
    for (const QString& path : {garbage, noSizes, dir.filePath(QStringLiteral("missing.ppd"))}) {
        QString error;
        const PrinterDriver d = PrinterDriver::fromPpdFile(path, &error);
        EXPECT_FALSE(d.isValid()) << path.toStdString();
        EXPECT_FALSE(error.isEmpty()) << path.toStdString();
        EXPECT_TRUE(d.defaultDevMode(QStringLiteral("X")).isEmpty());
        EXPECT_EQ(d.deviceValues(DevMode::blank()), DeviceValues());
    }
}

TEST(PrinterDriver, DriverlessQueueFromIppAttributes)
{
    IppDescription desc;
    desc.media.append({QStringLiteral("iso_a4_210x297mm"), QStringLiteral("A4"), 21000, 29700, 300, 400, 500, 600});
    desc.media.append({QStringLiteral("jpn_hagaki_100x148mm"), QStringLiteral("Postcard"), 10000, 14800, 0, 0, 0, 0});
    desc.sources = {{QStringLiteral("auto"), QStringLiteral("Automatic")}, {QStringLiteral("manual"), QStringLiteral("Manual")},
                    {QStringLiteral("main"), QStringLiteral("Main")}};
    desc.resolutions = {{300, 300}, {600, 600}};
    desc.defaultResolution = {600, 600};
    desc.sides = {QStringLiteral("one-sided"), QStringLiteral("two-sided-long-edge")};
    desc.defaultMedia = QStringLiteral("jpn_hagaki_100x148mm");
    desc.defaultSource = QStringLiteral("manual");
    const PrinterDriver d = PrinterDriver::fromIpp(desc);
    ASSERT_TRUE(d.isValid());
    const QVector<QPair<int, QString>> bins{{7, "Automatic"}, {4, "Manual"}, {256, "Main"}};
    EXPECT_EQ(d.binNames(), bins);

    const DevMode def = d.defaultDevMode(QStringLiteral("ipp"));
    EXPECT_EQ(def.paperSize(), 43);
    EXPECT_EQ(def.defaultSource(), 4);

    const DevMode a4 = record(d, 9, 1, 7, 600);
    const DeviceValues v = d.deviceValues(a4);
    EXPECT_EQ(v.physicalWidth, 4961);
    EXPECT_EQ(v.physicalOffsetX, 71);    // 3 mm
    EXPECT_EQ(v.physicalOffsetY, 118);   // top 5 mm
    EXPECT_EQ(v.horzRes, 4795);          // 203 mm
    const QVector<QPair<QString, QString>> options{{"media", "iso_a4_210x297mm"},
                                                   {"media-source", "auto"},
                                                   {"printer-resolution", "600x600dpi"},
                                                   {"sides", "one-sided"}};
    EXPECT_EQ(d.jobOptions(a4), options);
}

TEST(PrinterDriver, ForeignNumbersFallBackOnTheFormNameAndDuplexMapsToTheOption)
{
    const PrinterDriver d = testDriver();
    struct Case {
        const char* what;
        int paper;
        QString formName;   // empty: no DM_FORMNAME
        int duplex;
        int expectPaper;
        QString expectDuplexOption;
    };
    const Case cases[] = {
        {"another driver's number, our form name", 300, QStringLiteral("postcard"), 2, 43, QStringLiteral("DuplexNoTumble")},
        {"another driver's number, unknown form", 300, QStringLiteral("はがき"), 3, 9, QStringLiteral("DuplexTumble")},
        {"another driver's number, no form name", 300, QString(), 1, 9, QStringLiteral("None")},
        {"known number wins over the form name", 9, QStringLiteral("Postcard"), 7, 9, QStringLiteral("None")},
    };
    for (const Case& c : cases) {
        DevMode m = DevMode::blank();
        m.setPaperSize(c.paper);
        m.setDuplex(c.duplex);
        if (!c.formName.isEmpty())
            m.setFormName(c.formName);
        const DevMode done = d.complete(m, QStringLiteral("TovalinTest"));
        EXPECT_EQ(done.paperSize(), c.expectPaper) << c.what;
        // A record that named its form keeps naming it, now with the paper chosen.
        if (!c.formName.isEmpty()) {
            EXPECT_EQ(done.formName(), c.expectPaper == 43 ? QStringLiteral("Postcard") : QStringLiteral("A4")) << c.what;
        }
        QString duplex;
        for (const auto& o : d.jobOptions(done)) {
            if (o.first == QLatin1String("Duplex"))
                duplex = o.second;
        }
        EXPECT_EQ(duplex, c.expectDuplexOption) << c.what;
    }
}
