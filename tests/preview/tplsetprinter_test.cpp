#include "preview/TplSetPrinter.h"

#include "platform/SystemPrinter.h"
#include "support/CupsTestPrinter.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

// Pieces of a component stream written out by hand from the format description.
QByteArray shortStr(const QByteArray& s)
{
    return char(s.size()) + s;
}

QByteArray int8Value(int v)
{
    return QByteArray(1, '\x02') + char(v);
}

QByteArray int16Value(int v)
{
    QByteArray b(3, '\x03');
    qToLittleEndian<qint16>(qint16(v), b.data() + 1);
    return b;
}

QByteArray intValue(int v)
{
    return (v >= -128 && v <= 127) ? int8Value(v) : int16Value(v);
}

QByteArray int64Value(qint64 v)
{
    QByteArray b(9, '\x13');
    qToLittleEndian<qint64>(v, b.data() + 1);
    return b;
}

QByteArray strValue(const QByteArray& s)
{
    if (s.size() <= 255)
        return QByteArray(1, '\x06') + char(s.size()) + s;
    QByteArray b(5, '\x0c');
    qToLittleEndian<quint32>(quint32(s.size()), b.data() + 1);
    return b + s;
}

QByteArray plv(const QByteArray& componentName, const QByteArray& properties)
{
    return QByteArrayLiteral("TPF0") + shortStr("TplSetPrinter") + shortStr(componentName) + properties
        + QByteArray(2, '\0');
}

QByteArray prop(const QByteArray& name, const QByteArray& value)
{
    return shortStr(name) + value;
}

// A record the Windows program would store: DEVMODEA fixed part (156 bytes) written at the
// Windows offsets, then 358 bytes of the Windows driver's own.
QByteArray windowsRecord()
{
    QByteArray dm(156, '\0');
    const QByteArray name = "PX-105 Printer";
    dm.replace(0, name.size(), name);
    auto put16 = [&dm](int offset, int v) { qToLittleEndian<quint16>(quint16(v), dm.data() + offset); };
    put16(32, 0x0401);   // dmSpecVersion
    put16(34, 0x0003);   // dmDriverVersion
    put16(36, 156);      // dmSize
    put16(38, 358);      // dmDriverExtra
    qToLittleEndian<quint32>(0x0001 | 0x0002 | 0x0100 | 0x0200 | 0x0400 | 0x2000 | 0x02000000, dm.data() + 40);
    put16(44, 2);        // dmOrientation: landscape
    put16(46, 43);       // dmPaperSize: Japanese postcard
    put16(54, 1);        // dmCopies
    put16(56, 2);        // dmDefaultSource: lower tray
    put16(58, 300);      // dmPrintQuality
    put16(64, 300);      // dmYResolution
    qToLittleEndian<quint32>(257, dm.data() + 132);   // dmMediaType: the driver's own
    QByteArray priv;
    for (int i = 0; i < 358; ++i)
        priv.append(char((i * 37 + 11) & 0xFF));
    return dm + priv;
}

QVector<PrinterEntry> entries(std::initializer_list<std::pair<const char*, bool>> list)
{
    QVector<PrinterEntry> out;
    for (const auto& e : list) {
        PrinterEntry p;
        p.name = QString::fromUtf8(e.first);
        p.attributes = e.second ? PrinterEntry::AttributeHidden : PrinterEntry::AttributeLocal;
        out.append(p);
    }
    return out;
}

struct ComponentState {
    QString nameText;
    int left;
    QByteArray devData;
    bool operator==(const ComponentState& o) const
    {
        return nameText == o.nameText && left == o.left && devData == o.devData;
    }
};

ComponentState stateOf(const TplSetPrinter& c)
{
    return {c.PrinterNameText(), c.designLeft(), c.DevData()};
}

} // namespace

TEST(TplSetPrinter, NameResolution)
{
    struct Case {
        const char* what;
        QVector<PrinterEntry> printers;
        QString text;
        int index;
    };
    const auto office = entries({{"Canon", false}, {"TovalinTest", false}, {"Brother_HL", true}, {"Epson", false}});
    const Case cases[] = {
        {"same name", office, QStringLiteral("TovalinTest"), 1},
        {"any case", office, QStringLiteral("tovalintest"), 1},
        {"network path holding the name", office, QStringLiteral("\\\\OFFICE-PC\\TovalinTest"), 1},
        {"hidden printer is never the answer", office, QStringLiteral("Brother_HL"), -1},
        {"positions after a hidden printer count it", office, QStringLiteral("EPSON on USB"), 3},
        {"longer name that holds a listed one", office, QStringLiteral("Canon_Color"), 0},
        {"no match", office, QStringLiteral("Lexmark"), -1},
        {"empty text", office, QString(), -1},
        {"the longest contained name wins", entries({{"Canon", false}, {"Canon_Color", false}}),
         QStringLiteral("\\\\srv\\Canon_Color"), 1},
        {"empty list", {}, QStringLiteral("Canon"), -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TplSetPrinter::FindIndexIn(c.printers, c.text), c.index) << c.what;
        EXPECT_EQ(TplSetPrinter::ResolveNameIn(c.printers, c.text),
                  c.index >= 0 ? c.printers[c.index].name : QString())
            << c.what;
    }
}

TEST(TplSetPrinter, PdfPrinterWords)
{
    struct Case {
        const char* name;
        bool pdf;
    };
    const Case cases[] = {
        {"Acrobat Distiller", true}, {"adobe pdfwriter", true}, {"DISTILLER", true}, {"My ACROBAT", true},
        {"PDF", false},              {"cups-pdf", false},      {"TovalinTest", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TplSetPrinter::isPdfPrinterName(QString::fromUtf8(c.name)), c.pdf) << c.name;
}

TEST(TplSetPrinter, StreamIsByteExactWithoutPrinters)
{
    ScopedCupsServer none(QStringLiteral("127.0.0.1:1"));
    struct Case {
        const char* what;
        int left, top;
        QByteArray devData;
        bool endOfList;
    };
    QByteArray record514;
    for (int i = 0; i < 514; ++i)
        record514.append(char(i % 251));
    const Case cases[] = {
        {"form component", 32, 0, QByteArray::fromHex("0a0b0c0d"), false},
        {"snapshot file", 32, 0, QByteArray::fromHex("0a0b0c0d"), true},
        {"both positions", 32, 300, QByteArray::fromHex("ff"), false},
        {"no position, no data", 0, 0, QByteArray(), false},
        {"514-byte record", 32, 0, record514, false},
    };
    for (const Case& c : cases) {
        TplSetPrinter comp(QStringLiteral("plSetPrinter1"));
        comp.setDesignLeft(c.left);
        comp.setDesignTop(c.top);
        QByteArray props;
        if (!c.devData.isEmpty())
            props = prop("DevDataSize", intValue(int(c.devData.size()))) + prop("ADevData", strValue(c.devData.toHex().toUpper()));
        ASSERT_TRUE(comp.readComponent(plv("plSetPrinter1", props))) << c.what << comp.errorString().toStdString();

        QByteArray expected = QByteArrayLiteral("TPF0") + shortStr("TplSetPrinter") + shortStr("plSetPrinter1");
        if (c.left)
            expected += prop("Left", intValue(c.left));
        if (c.top)
            expected += prop("Top", intValue(c.top));
        expected += prop("DevDataSize", intValue(int(c.devData.size())));
        if (!c.devData.isEmpty())
            expected += prop("ADevData", strValue(c.devData.toHex().toUpper()));
        expected += QByteArray(c.endOfList ? 3 : 2, '\0');
        EXPECT_EQ(comp.toStream(c.endOfList).toHex(), expected.toHex()) << c.what;
    }
}

TEST(TplSetPrinter, ReadingTakesWhatItKnowsAndSkipsTheRest)
{
    ScopedCupsServer none(QStringLiteral("127.0.0.1:1"));
    struct Case {
        const char* what;
        QByteArray properties;
        QString nameText;
        int left;
        QByteArray devData;
    };
    const Case cases[] = {
        {"plain", prop("PrinterName", strValue("Canon")) + prop("Left", int8Value(32)) + prop("DevDataSize", int8Value(2))
             + prop("ADevData", strValue("0A0B")),
         QStringLiteral("Canon"), 32, QByteArray::fromHex("0a0b")},
        {"unknown properties of every kind",
         prop("Tag", int16Value(7)) + prop("PrinterName", strValue("Canon")) + prop("Flags", QByteArray::fromHex("0b0461626364") + QByteArray(1, '\0'))
             + prop("Ratio", QByteArray(1, '\x05') + QByteArray(10, '\x01')) + prop("Left", int8Value(32))
             + prop("Active", QByteArray(1, '\x09')) + prop("DevDataSize", int8Value(1)) + prop("ADevData", strValue("7F")),
         QStringLiteral("Canon"), 32, QByteArray::fromHex("7f")},
        {"wider integer and long string types", prop("Left", QByteArray::fromHex("0420000000"))
             + prop("DevDataSize", QByteArray::fromHex("0403000000")) + prop("ADevData", QByteArray::fromHex("0c06000000") + "010203"),
         QString(), 32, QByteArray::fromHex("010203")},
        {"hex stops at the first pair that is not hex", prop("DevDataSize", int8Value(4)) + prop("ADevData", strValue("0102ZZ0304")),
         QString(), 0, QByteArray::fromHex("0102")},
        {"odd length and lower case", prop("DevDataSize", int8Value(3)) + prop("ADevData", strValue("0a0b0")),
         QString(), 0, QByteArray::fromHex("0a0b")},
        {"DevDataSize 0: ADevData is not read", prop("DevDataSize", int8Value(0)) + prop("ADevData", strValue("0102")),
         QString(), 0, QByteArray()},
        {"Japanese name in code page 932", prop("PrinterName", strValue(QByteArray::fromHex("8e9696b18f8a"))),
         QStringLiteral("事務所"), 0, QByteArray()},
    };
    for (const Case& c : cases) {
        TplSetPrinter comp(QStringLiteral("plSetLabel"));
        ASSERT_TRUE(comp.readComponent(plv("plSetLabel", c.properties))) << c.what << ": " << comp.errorString().toStdString();
        EXPECT_EQ(comp.PrinterNameText(), c.nameText) << c.what;
        EXPECT_EQ(comp.designLeft(), c.left) << c.what;
        EXPECT_EQ(comp.DevData().toHex(), c.devData.toHex()) << c.what;
        EXPECT_EQ(comp.DevDataSize(), c.devData.size()) << c.what;
    }
}

TEST(TplSetPrinter, BadFilesAreRejectedAndChangeNothing)
{
    ScopedCupsServer none(QStringLiteral("127.0.0.1:1"));
    const QByteArray good = plv("plSetPrinter1", prop("PrinterName", strValue("Canon")) + prop("Left", int8Value(32))
                                                     + prop("DevDataSize", int8Value(2)) + prop("ADevData", strValue("0A0B")));
    struct Case {
        QString what;
        QByteArray bytes;
    };
    QVector<Case> cases = {
        {"empty", QByteArray()},
        {"signature only", QByteArrayLiteral("TPF0")},
        {"another class", QByteArrayLiteral("TPF0") + shortStr("TForm1") + good.mid(4 + 14)},
        {"name with an integer", plv("plSetPrinter1", prop("PrinterName", int8Value(5)))},
        {"size with a string", plv("plSetPrinter1", prop("DevDataSize", strValue("12")))},
        {"negative size", plv("plSetPrinter1", prop("DevDataSize", int16Value(-2)))},
        {"a size without its record", plv("plSetPrinter1", prop("PrinterName", strValue("Canon")) + prop("DevDataSize", int16Value(514)))},
        // A 64-bit designer position beyond an int is not a position.
        {"Left beyond an int", plv("plSetPrinter1", prop("PrinterName", strValue("Canon")) + prop("Left", int64Value(qint64(1) << 40)))},
        {"Top below an int", plv("plSetPrinter1", prop("Top", int64Value(-(qint64(1) << 31) - 1)))},
        {"garbage", QByteArray("\x89PNG\r\n\x1a\n this is a picture, not settings")},
        {"oversized", good + QByteArray(TplSetPrinter::MaxStreamSize, '\0')},
    };
    for (int n = 5; n < good.size(); n += 3)
        cases.append({QStringLiteral("cut to %1 bytes").arg(n), good.left(n)});

    QTemporaryDir dir;
    for (const Case& c : cases) {
        TplSetPrinter comp(QStringLiteral("plSetPrinter1"));
        ASSERT_TRUE(comp.readComponent(plv("plSetPrinter1", prop("PrinterName", strValue("Keep")) + prop("Left", int8Value(7))
                                                                 + prop("DevDataSize", int8Value(1)) + prop("ADevData", strValue("EE")))));
        const ComponentState before = stateOf(comp);

        const QString path = dir.filePath(QStringLiteral("bad.plv"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.bytes);
        f.close();
        EXPECT_FALSE(comp.loadFromFile(path)) << c.what.toStdString();
        EXPECT_FALSE(comp.errorString().isEmpty()) << c.what.toStdString();
        EXPECT_TRUE(stateOf(comp) == before) << c.what.toStdString();
    }
    TplSetPrinter comp(QStringLiteral("plSetPrinter1"));
    EXPECT_FALSE(comp.loadFromFile(dir.filePath(QStringLiteral("missing.plv"))));
}

TEST(TplSetPrinter, WithoutPrintersEverythingIsANoOpAndDataIsKept)
{
    ScopedCupsServer none(QStringLiteral("127.0.0.1:1"));
    TplSetPrinter comp(QStringLiteral("plSetPrinter1"));
    comp.setPrinterName(QStringLiteral("Canon"));
    comp.ReadFromPrinter(true);
    comp.ApplyStoredSettings(false);
    EXPECT_EQ(comp.PrinterNameText(), QStringLiteral("Canon"));
    EXPECT_TRUE(comp.PrinterName().isEmpty());
    EXPECT_EQ(comp.DevDataSize(), 0);
    EXPECT_EQ(comp.LogPixelsX(), 0);
    EXPECT_EQ(comp.PhysicalWidth(), 0);
    EXPECT_TRUE(comp.PaperName().isEmpty());

    // A Windows record read on a machine without printers goes back out as it came.
    const QByteArray record = windowsRecord();
    ASSERT_TRUE(comp.readComponent(plv("plSetPrinter1", prop("DevDataSize", int16Value(514))
                                                            + prop("ADevData", strValue(record.toHex().toUpper())))));
    EXPECT_EQ(comp.DevData(), record);
    TplSetPrinter again(QStringLiteral("plSetPrinter1"));
    ASSERT_TRUE(again.readComponent(comp.toStream()));
    EXPECT_EQ(again.DevData(), record);
}

TEST(TplSetPrinter, SettingsFileRoundTripOnTheTestPrinter)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    const QString printer = CupsTestPrinter::name();
    ASSERT_TRUE(CupsTestPrinter::selectInSystemPrinter());
    SystemPrinter& sp = SystemPrinter::instance();
    DevMode wanted = sp.devMode();
    wanted.setPaperSize(DevMode::PaperJapanesePostcard);
    wanted.setDefaultSource(DevMode::BinLower);
    sp.setDevMode(wanted);

    // As after the form's printer setup: take the printer's settings, then store them.
    TplSetPrinter comp(QStringLiteral("plSetPrinter1"));
    comp.setDesignLeft(32);
    comp.ReadFromPrinter(false);
    EXPECT_EQ(comp.PrinterName(), printer);
    EXPECT_EQ(comp.PaperName(), QStringLiteral("Postcard"));
    EXPECT_EQ(comp.PaperSourceName(), QStringLiteral("Lower Tray"));
    const QByteArray data = comp.DevData();
    ASSERT_GT(data.size(), 156);

    // The bytes are those of the format: name, Left = 32, size, hex data.
    const QByteArray expected = plv("plSetPrinter1", prop("PrinterName", strValue(printer.toLatin1())) + prop("Left", int8Value(32))
                                                         + prop("DevDataSize", intValue(int(data.size())))
                                                         + prop("ADevData", strValue(data.toHex().toUpper())));
    EXPECT_EQ(comp.toStream().toHex(), expected.toHex());

    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("plSetPrinter1.plv"));
    ASSERT_TRUE(comp.saveToFile(first)) << comp.errorString().toStdString();

    // Another printer state, then the file brings the stored one back.
    sp.setPrinterIndex(CupsTestPrinter::indexInSystemPrinter());
    ASSERT_EQ(sp.devMode().paperSize(), DevMode::PaperA4);
    TplSetPrinter loaded(QStringLiteral("plSetPrinter1"));
    loaded.setPrinterName(printer);
    ASSERT_TRUE(loaded.loadFromFile(first)) << loaded.errorString().toStdString();
    EXPECT_EQ(sp.devMode().paperSize(), DevMode::PaperJapanesePostcard);
    EXPECT_EQ(sp.devMode().defaultSource(), DevMode::BinLower);
    EXPECT_EQ(loaded.PaperName(), QStringLiteral("Postcard"));
    EXPECT_EQ(loaded.PhysicalWidth(), 2362);
    EXPECT_EQ(loaded.PhysicalOffsetY(), 78);
    EXPECT_EQ(loaded.designLeft(), 32);

    // Write, read, write: the same bytes.
    const QString second = dir.filePath(QStringLiteral("second.plv"));
    ASSERT_TRUE(loaded.saveToFile(second));
    QFile a(first), b(second);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll().toHex(), b.readAll().toHex());
}

TEST(TplSetPrinter, WindowsMadeSettingsApplyToTheTestPrinter)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    const QString printer = CupsTestPrinter::name();
    const QByteArray record = windowsRecord();
    const QByteArray file = plv("plSetPrinter1", prop("PrinterName", strValue("\\\\OFFICE-PC\\" + printer.toLatin1()))
                                                     + prop("Left", int8Value(32)) + prop("DevDataSize", int16Value(514))
                                                     + prop("ADevData", strValue(record.toHex().toUpper())));
    ASSERT_EQ(file.mid(file.indexOf("ADevData") + 8, 5).toHex(), QByteArray("0c04040000"));

    TplSetPrinter comp(QStringLiteral("plSetPrinter1"));
    ASSERT_TRUE(comp.readComponent(file)) << comp.errorString().toStdString();
    EXPECT_EQ(comp.PrinterName(), printer);
    EXPECT_EQ(comp.PrinterIndex(), CupsTestPrinter::indexInSystemPrinter());
    EXPECT_EQ(SystemPrinter::instance().printerName(), printer);
    EXPECT_EQ(comp.PaperName(), QStringLiteral("Postcard"));
    EXPECT_EQ(comp.PaperSourceName(), QStringLiteral("Lower Tray"));
    EXPECT_TRUE(comp.Landscape());
    EXPECT_EQ(comp.LogPixelsX(), 300);
    EXPECT_EQ(comp.PhysicalWidth(), 1748);    // landscape postcard at 300 dpi
    EXPECT_EQ(comp.PhysicalHeight(), 1181);
    // The Windows driver's bytes and the fields we do not use are still there.
    ASSERT_EQ(comp.DevDataSize(), 514);
    EXPECT_EQ(comp.DevData().mid(156), record.mid(156));
    EXPECT_EQ(comp.DevData().mid(102, 54), record.mid(102, 54));
    EXPECT_EQ(DevMode(comp.DevData()).deviceName(), printer);

    // Write, read, write gives the same file.
    const QByteArray written = comp.toStream();
    TplSetPrinter again(QStringLiteral("plSetPrinter1"));
    ASSERT_TRUE(again.readComponent(written));
    EXPECT_EQ(again.toStream().toHex(), written.toHex());
}

TEST(TplSetPrinter, PrinterNameAppliesStoredDataExceptOnPdfPrinters)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    const QString printer = CupsTestPrinter::name();
    ASSERT_TRUE(CupsTestPrinter::selectInSystemPrinter());
    SystemPrinter& sp = SystemPrinter::instance();
    DevMode postcard = sp.devMode();
    postcard.setPaperSize(DevMode::PaperJapanesePostcard);
    sp.setDevMode(postcard);

    struct Case {
        QString name;
        int expectedPaper;   // stored postcard applied, or the printer's default A4
    };
    const Case cases[] = {
        {printer, DevMode::PaperJapanesePostcard},
        {QStringLiteral("\\\\srv\\%1 PDFWriter").arg(printer), DevMode::PaperA4},
        {QStringLiteral("%1 (pdfwriter)").arg(printer), DevMode::PaperA4},
        {QStringLiteral("%1 Acrobat").arg(printer), DevMode::PaperA4},
    };
    for (const Case& c : cases) {
        sp.setDevMode(postcard);
        TplSetPrinter comp(QStringLiteral("plSetPrinter1"));
        comp.ReadFromPrinter(false);   // the component now holds the postcard settings
        ASSERT_EQ(DevMode(comp.DevData()).paperSize(), DevMode::PaperJapanesePostcard);
        sp.setPrinterIndex(CupsTestPrinter::indexInSystemPrinter());   // system back to its defaults
        comp.setPrinterName(c.name);
        EXPECT_EQ(sp.devMode().paperSize(), c.expectedPaper) << c.name.toStdString();
        EXPECT_EQ(DevMode(comp.DevData()).paperSize(), c.expectedPaper) << c.name.toStdString();
        EXPECT_EQ(comp.PrinterName(), printer) << c.name.toStdString();
    }
}

TEST(TplSetPrinter, ReadFromPrinterFollowsTheSystemPrinter)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    ASSERT_TRUE(CupsTestPrinter::selectInSystemPrinter());
    SystemPrinter& sp = SystemPrinter::instance();
    TplSetPrinter comp(QStringLiteral("plSetLabel"));
    comp.setPrinterName(CupsTestPrinter::name());

    // As after a printer setup dialog: the system printer changed, the component follows.
    DevMode m = sp.devMode();
    m.setPaperSize(DevMode::PaperA4);
    m.setOrientation(DevMode::OrientationLandscape);
    m.setPrintQuality(300);
    m.setYResolution(300);
    sp.setDevMode(m);
    comp.ReadFromPrinter(false);
    EXPECT_TRUE(comp.Landscape());
    EXPECT_EQ(comp.PaperName(), QStringLiteral("A4"));
    EXPECT_EQ(comp.PhysicalWidth(), 3508);
    EXPECT_EQ(comp.PrintableHeight(), 2363);
    EXPECT_EQ(comp.DevData(), sp.devMode().bytes());

    // Reselecting gives the printer's own defaults.
    comp.ReadFromPrinter(true);
    EXPECT_FALSE(comp.Landscape());
    EXPECT_EQ(comp.LogPixelsX(), 600);
    EXPECT_EQ(comp.PhysicalWidth(), 4961);

    // ApplyStoredSettings puts the component's data back after someone else changed it.
    const QByteArray stored = comp.DevData();
    sp.setDevMode(m);
    comp.ApplyStoredSettings(false);
    EXPECT_EQ(sp.devMode().bytes(), stored);
}
