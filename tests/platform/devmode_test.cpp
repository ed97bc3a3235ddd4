#include "platform/DevMode.h"

#include <gtest/gtest.h>

#include <QStringEncoder>
#include <cstddef>
#include <cstring>
#include <functional>

namespace {

// The Windows DEVMODEA structure as the Windows SDK declares it (printer half of the union).
struct WinDevModeA {
    char dmDeviceName[32];
    quint16 dmSpecVersion;
    quint16 dmDriverVersion;
    quint16 dmSize;
    quint16 dmDriverExtra;
    quint32 dmFields;
    qint16 dmOrientation;
    qint16 dmPaperSize;
    qint16 dmPaperLength;
    qint16 dmPaperWidth;
    qint16 dmScale;
    qint16 dmCopies;
    qint16 dmDefaultSource;
    qint16 dmPrintQuality;
    qint16 dmColor;
    qint16 dmDuplex;
    qint16 dmYResolution;
    qint16 dmTTOption;
    qint16 dmCollate;
    char dmFormName[32];
    quint16 dmLogPixels;
    quint32 dmBitsPerPel;
    quint32 dmPelsWidth;
    quint32 dmPelsHeight;
    quint32 dmNup;
    quint32 dmDisplayFrequency;
    quint32 dmICMMethod;
    quint32 dmICMIntent;
    quint32 dmMediaType;
    quint32 dmDitherType;
    quint32 dmReserved1;
    quint32 dmReserved2;
    quint32 dmPanningWidth;
    quint32 dmPanningHeight;
};
static_assert(sizeof(WinDevModeA) == 156, "DEVMODEA is 156 bytes");
static_assert(offsetof(WinDevModeA, dmFields) == 40, "layout");
static_assert(offsetof(WinDevModeA, dmFormName) == 70, "layout");

QByteArray bytesOf(const WinDevModeA& dm, const QByteArray& extra = QByteArray())
{
    QByteArray out(reinterpret_cast<const char*>(&dm), sizeof dm);
    return out + extra;
}

WinDevModeA zeroed()
{
    WinDevModeA dm;
    std::memset(&dm, 0, sizeof dm);
    dm.dmSpecVersion = 0x0401;
    dm.dmSize = sizeof dm;
    return dm;
}

} // namespace

TEST(DevMode, ReadsEveryFieldAtItsWindowsOffset)
{
    WinDevModeA dm = zeroed();
    dm.dmFields = 0x0001 | 0x0002 | 0x0200 | 0x0400;
    dm.dmOrientation = 2;
    dm.dmPaperSize = 43;
    dm.dmPaperLength = 1480;
    dm.dmPaperWidth = 1000;
    dm.dmScale = 95;
    dm.dmCopies = 3;
    dm.dmDefaultSource = 15;
    dm.dmPrintQuality = -4;
    dm.dmColor = 2;
    dm.dmDuplex = 3;
    dm.dmYResolution = 360;
    dm.dmCollate = 1;
    const DevMode m(bytesOf(dm));

    struct Case {
        const char* field;
        std::function<int(const DevMode&)> get;
        int expected;
    };
    const Case cases[] = {
        {"orientation", &DevMode::orientation, 2},
        {"paperSize", &DevMode::paperSize, 43},
        {"paperLength", &DevMode::paperLength, 1480},
        {"paperWidth", &DevMode::paperWidth, 1000},
        {"scale", &DevMode::scale, 95},
        {"copies", &DevMode::copies, 3},
        {"defaultSource", &DevMode::defaultSource, 15},
        {"printQuality", &DevMode::printQuality, -4},
        {"color", &DevMode::color, 2},
        {"duplex", &DevMode::duplex, 3},
        {"yResolution", &DevMode::yResolution, 360},
        {"collate", &DevMode::collate, 1},
        {"dmSize", &DevMode::dmSize, 156},
        {"specVersion", &DevMode::specVersion, 0x0401},
        {"fields", [](const DevMode& d) { return int(d.fields()); }, 0x0603},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.get(m), c.expected) << c.field;
}

TEST(DevMode, SettersWriteTheWindowsLayoutAndMarkTheirField)
{
    struct Case {
        const char* field;
        std::function<void(DevMode&)> set;
        std::function<int(const WinDevModeA&)> read;
        int expected;
        quint32 bit;
    };
    const Case cases[] = {
        {"orientation", [](DevMode& m) { m.setOrientation(2); }, [](const WinDevModeA& d) { return d.dmOrientation; }, 2, 0x1},
        {"paperSize", [](DevMode& m) { m.setPaperSize(9); }, [](const WinDevModeA& d) { return d.dmPaperSize; }, 9, 0x2},
        {"paperLength", [](DevMode& m) { m.setPaperLength(2970); }, [](const WinDevModeA& d) { return d.dmPaperLength; }, 2970, 0x4},
        {"paperWidth", [](DevMode& m) { m.setPaperWidth(2100); }, [](const WinDevModeA& d) { return d.dmPaperWidth; }, 2100, 0x8},
        {"copies", [](DevMode& m) { m.setCopies(2); }, [](const WinDevModeA& d) { return d.dmCopies; }, 2, 0x100},
        {"defaultSource", [](DevMode& m) { m.setDefaultSource(258); }, [](const WinDevModeA& d) { return d.dmDefaultSource; }, 258, 0x200},
        {"printQuality", [](DevMode& m) { m.setPrintQuality(600); }, [](const WinDevModeA& d) { return d.dmPrintQuality; }, 600, 0x400},
        {"duplex", [](DevMode& m) { m.setDuplex(2); }, [](const WinDevModeA& d) { return d.dmDuplex; }, 2, 0x1000},
        {"yResolution", [](DevMode& m) { m.setYResolution(300); }, [](const WinDevModeA& d) { return d.dmYResolution; }, 300, 0x2000},
    };
    for (const Case& c : cases) {
        DevMode m = DevMode::blank();
        c.set(m);
        ASSERT_EQ(m.size(), 156) << c.field;
        WinDevModeA dm;
        std::memcpy(&dm, m.bytes().constData(), sizeof dm);
        EXPECT_EQ(c.read(dm), c.expected) << c.field;
        EXPECT_EQ(dm.dmFields, c.bit) << c.field;
        EXPECT_EQ(dm.dmSize, 156) << c.field;
        EXPECT_EQ(dm.dmSpecVersion, 0x0401) << c.field;
    }
}

TEST(DevMode, DeviceNameIsCodePage932CutTo31BytesWithoutSplittingACharacter)
{
    struct Case {
        QString name;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("TovalinTest"), QStringLiteral("TovalinTest")},
        {QStringLiteral("事務所のプリンタ"), QStringLiteral("事務所のプリンタ")},
        // 32 ASCII characters: the last one gives way to the terminating zero.
        {QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234")},
        // "A" + 15 kanji = 31 bytes fits; one more kanji would need 33.
        {QStringLiteral("A一二三四五六七八九十百千万億兆京"), QStringLiteral("A一二三四五六七八九十百千万億兆")},
        // 16 kanji = 32 bytes: the 16th cannot be split, 15 remain.
        {QStringLiteral("一二三四五六七八九十百千万億兆京"), QStringLiteral("一二三四五六七八九十百千万億兆")},
    };
    for (const Case& c : cases) {
        DevMode m = DevMode::blank();
        m.setDeviceName(c.name);
        EXPECT_EQ(m.deviceName(), c.expected) << c.name.toStdString();
        EXPECT_EQ(m.bytes().at(31), '\0') << c.name.toStdString();
        // The bytes are code page 932, as the Windows program stores them.
        QStringEncoder enc("windows-31j");
        const QByteArray expectedBytes = enc.encode(c.expected);
        EXPECT_EQ(m.bytes().left(expectedBytes.size()), expectedBytes) << c.name.toStdString();
    }
}

TEST(DevMode, DriverExtraFollowsTheFixedPartAsDmSizeAndDmDriverExtraSay)
{
    struct Case {
        const char* what;
        int dmSize;
        int dmDriverExtra;
        int bytesAfterFixed;   // bytes present after dmSize
        int expectedExtra;
    };
    const Case cases[] = {
        {"exact", 156, 358, 358, 358},
        {"older, shorter fixed part", 148, 20, 28, 20},
        {"extra cut short in the file", 156, 358, 100, 100},
        {"no extra", 156, 0, 0, 0},
    };
    for (const Case& c : cases) {
        WinDevModeA dm = zeroed();
        dm.dmSize = quint16(c.dmSize);
        dm.dmDriverExtra = quint16(c.dmDriverExtra);
        QByteArray raw = bytesOf(dm).left(qMin(c.dmSize, 156));
        if (c.dmSize > 156)
            raw.append(QByteArray(c.dmSize - 156, '\0'));
        QByteArray tail;
        for (int i = 0; i < c.bytesAfterFixed; ++i)
            tail.append(char(i * 7 + 3));
        const DevMode m(raw + tail);
        EXPECT_EQ(m.fixedPartSize(), c.dmSize) << c.what;
        EXPECT_EQ(m.driverExtra(), tail.left(c.expectedExtra)) << c.what;
    }
}

TEST(DevMode, CupsSettingsLiveInOurDriverExtraAndForeignExtrasAreNotOurs)
{
    DevModeCupsSettings s;
    s.printer = QStringLiteral("A_Very_Long_Printer_Queue_Name_Beyond_31_Bytes");
    s.media = QStringLiteral("Postcard");
    s.slot = QStringLiteral("Lower");
    s.resolution = QStringLiteral("300dpi");
    s.duplex = QStringLiteral("None");
    s.other.insert(QStringLiteral("future-key"), QStringLiteral("x=y"));

    DevMode m = DevMode::blank();
    m.setPaperSize(43);
    m.setCupsSettings(s);
    EXPECT_TRUE(m.hasCupsSettings());
    EXPECT_EQ(m.cupsSettings(), s);
    EXPECT_EQ(m.dmDriverExtra(), m.size() - 156);
    EXPECT_EQ(m.paperSize(), 43);

    // A second write replaces the first rather than appending.
    s.media = QStringLiteral("A4");
    m.setCupsSettings(s);
    EXPECT_EQ(m.cupsSettings().media, QStringLiteral("A4"));
    EXPECT_EQ(m.dmDriverExtra(), m.size() - 156);

    WinDevModeA dm = zeroed();
    dm.dmDriverExtra = 8;
    const DevMode foreign(bytesOf(dm, QByteArrayLiteral("\x01\x02PRIV\x00\xff")));
    EXPECT_FALSE(foreign.hasCupsSettings());
    EXPECT_EQ(foreign.cupsSettings(), DevModeCupsSettings());
}

TEST(DevMode, CupsSettingsFromElsewhereReadTheSameOnceWrittenAgain)
{
    // Hand-made or damaged extras: what we read is what a save of it writes and reads back.
    const struct {
        const char* name;
        QByteArray lines; // after the signature
        const char* slot;
        QMap<QString, QString> other;
    } cases[] = {
        { "CR inside a value", QByteArrayLiteral("slot=Lower\rsolution=600dpi\n"), "Lowersolution=600dpi", {} },
        { "CR LF line ends", QByteArrayLiteral("slot=Lower\r\nfuture=1\r\n"), "Lower", { { "future", "1" } } },
        { "empty values", QByteArrayLiteral("slot=\nfuture=\nother=x\n"), "", { { "other", "x" } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WinDevModeA dm = zeroed();
        const QByteArray extra = QByteArrayLiteral("TOVALIN-CUPS 1\n") + c.lines + '\0';
        dm.dmDriverExtra = quint16(extra.size());
        DevMode m(bytesOf(dm, extra));
        ASSERT_TRUE(m.hasCupsSettings());
        const DevModeCupsSettings read = m.cupsSettings();
        EXPECT_EQ(read.slot, QString::fromLatin1(c.slot));
        EXPECT_EQ(read.other, c.other);
        m.setCupsSettings(read);
        EXPECT_EQ(m.cupsSettings(), read);
    }
}

TEST(DevMode, ShortOrEmptyRecordsReadAsZeroAndDoNotCrash)
{
    const QByteArray samples[] = {QByteArray(), QByteArray(10, 'A'), QByteArray(45, '\x01')};
    for (const QByteArray& raw : samples) {
        const DevMode m(raw);
        EXPECT_EQ(m.paperSize(), 0);
        EXPECT_EQ(m.defaultSource(), 0);
        EXPECT_TRUE(m.driverExtra().isEmpty());
        EXPECT_FALSE(m.hasCupsSettings());
    }
}
