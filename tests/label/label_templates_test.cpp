// Label sheets by product name: lengths and their units, the sheet values of real templates
// of the installed glabels-data package against values worked out by hand, which templates
// are left out and why, bad template files, the search of the sheet dialog, a registered
// sheet read back, and names looked up as tovalin-print takes them.

#include "label/LabelGeometry.h"
#include "label/LabelTemplates.h"
#include "LabelSheets.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace LabelTemplates;
using labeltest::sheet;

namespace {

// One template file holding the given <Template> elements.
QByteArray templatesFile(const QByteArray& templates)
{
    return "<?xml version=\"1.0\"?>\n<Glabels-templates>\n" + templates + "</Glabels-templates>\n";
}

// A rectangular template: one layout, lengths as given (with their units).
QByteArray rectangle(const char* brand, const char* part, const char* size, const char* w, const char* h, int nx,
                     int ny, const char* x0, const char* y0, const char* dx, const char* dy)
{
    return QStringLiteral("<Template brand=\"%1\" part=\"%2\" size=\"%3\" _description=\"Test\">\n"
                          "  <Label-rectangle id=\"0\" width=\"%4\" height=\"%5\" round=\"0mm\">\n"
                          "    <Layout nx=\"%6\" ny=\"%7\" x0=\"%8\" y0=\"%9\" dx=\"%10\" dy=\"%11\"/>\n"
                          "  </Label-rectangle>\n</Template>\n")
        .arg(QLatin1String(brand), QLatin1String(part), QLatin1String(size), QLatin1String(w), QLatin1String(h))
        .arg(nx)
        .arg(ny)
        .arg(QLatin1String(x0), QLatin1String(y0), QLatin1String(dx), QLatin1String(dy))
        .toUtf8();
}

const Catalog& installed()
{
    static Catalog c = [] {
        Catalog catalog;
        catalog.load(systemDirectories(), {});
        return catalog;
    }();
    return c;
}

} // namespace

TEST(LabelTemplates, LengthsInEveryUnit)
{
    struct Case {
        const char* text;
        bool ok;
        double mm;
    };
    const Case cases[] = {
        { "86.4mm", true, 86.4 },       { "2.625in", true, 66.675 },   { "1in", true, 25.4 },
        { "0.5cm", true, 5.0 },         { "72pt", true, 25.4 },        { "181.4", true, 181.4 * 25.4 / 72 },
        { " 12 mm ", true, 12.0 },      { ".5in", true, 12.7 },        { "-3mm", true, -3.0 },
        { "", false, 0 },               { "mm", false, 0 },            { "12px", false, 0 },
        { "1e999mm", false, 0 },        { "3.93386e-16pt", true, 3.93386e-16 * 25.4 / 72 },        { "12,5mm", false, 0 },        { "nan", false, 0 },
    };
    for (const Case& c : cases) {
        double mm = -1;
        EXPECT_EQ(parseLength(QString::fromUtf8(c.text), &mm), c.ok) << c.text;
        if (c.ok) {
            EXPECT_NEAR(mm, c.mm, 1e-9) << c.text;
        }
    }
}

// Real sheets of the installed package, worked out by hand from their files: top and left
// from x0 and y0, gaps as pitch minus label, right and bottom as what is left of 210 x 297 mm.
TEST(LabelTemplates, RealTemplatesGiveTheSheetWorkedOutByHand)
{
    ASSERT_FALSE(systemDirectories().isEmpty()) << "the glabels-data package is not installed";
    struct Case {
        const char* name;
        LabelSheet sheet;
        int labelWidth;
        int labelHeight;
        const char* count;
    };
    const Case cases[] = {
        // 10 labels 86.4 x 50.8 from (18.6, 21.2): right 210 - 18.6 - 2 x 86.4 = 18.6,
        // bottom 297 - 21.2 - 5 x 50.8 = 21.8.
        { "Hisago ELM006", sheet(2, 5, 212, 218, 186, 186, 0, 0), 864, 508, "10面 2×5" },
        // 12 labels 83.8 x 42.3, pitch 87.6: gap 3.8; right 210 - 20.3 - 87.6 - 83.8 = 18.3,
        // bottom 297 - 20.3 - 6 x 42.3 = 22.9.
        { "Hisago ELM007", sheet(2, 6, 203, 229, 203, 183, 0, 38), 838, 423, "12面 2×6" },
        // 12 labels 86.4 x 42.3 from (18.6, 21.2): bottom 297 - 21.2 - 253.8 = 22.0.
        { "Hisago ELM008", sheet(2, 6, 212, 220, 186, 186, 0, 0), 864, 423, "12面 2×6" },
        // equiv="ELM006": the sheet of ELM006 under its own name.
        { "Hisago OP3004", sheet(2, 5, 212, 218, 186, 186, 0, 0), 864, 508, "10面 2×5" },
        // equiv="ELM012" (24 labels 66 x 33.9 from (6, 12.9)): right 210 - 6 - 3 x 66 = 6.0,
        // bottom 297 - 12.9 - 8 x 33.9 = 12.9.
        { "Hisago OP3008", sheet(3, 8, 129, 129, 60, 60, 0, 0), 660, 339, "24面 3×8" },
        // Lengths without a unit are points: label 181.4 x 108 pt = 63.99 x 38.1 mm, pitch
        // 187.2 pt = 66.04 mm (gap 2.05), origin 21.2, 43.9 pt = 7.48, 15.49 mm; right
        // 210 - 7.48 - 2 x 66.04 - 63.99 = 6.45, bottom 297 - 15.49 - 7 x 38.1 = 14.81.
        { "Avery 7160", sheet(3, 7, 155, 148, 75, 64, 0, 20), 640, 381, "21面 3×7" },
    };
    for (const Case& c : cases) {
        const Product* p = installed().find(QString::fromUtf8(c.name));
        ASSERT_NE(p, nullptr) << c.name;
        EXPECT_EQ(p->sheet, c.sheet) << c.name;
        EXPECT_EQ(p->labelWidth, c.labelWidth) << c.name;
        EXPECT_EQ(p->labelHeight, c.labelHeight) << c.name;
        EXPECT_EQ(p->countText(), QString::fromUtf8(c.count)) << c.name;
        // The sheet model gives the product's label back.
        EXPECT_NEAR(LabelGeometry::labelWidth(p->sheet), c.labelWidth, 1) << c.name;
        EXPECT_NEAR(LabelGeometry::labelHeight(p->sheet), c.labelHeight, 1) << c.name;
    }
}

TEST(LabelTemplates, TheInstalledDatabaseAsTheDialogListsIt)
{
    const Catalog& c = installed();
    // The package has about 1,750 templates; some 330 describe an A4 sheet Tovalin can print,
    // and about as many more name one of them by equiv.
    EXPECT_GT(c.systemTemplateCount(), 1500);
    EXPECT_GT(c.products().size(), 300);
    EXPECT_LT(c.products().size(), 800);
    // Every listed sheet lies within the ranges of the sheet settings and its labels are the
    // product's own within a tenth of a millimetre.
    for (const Product& p : c.products()) {
        EXPECT_EQ(LabelGeometry::clamped(p.sheet), p.sheet) << p.name().toStdString();
        EXPECT_NEAR(LabelGeometry::labelWidth(p.sheet), p.labelWidth, 1) << p.name().toStdString();
        EXPECT_NEAR(LabelGeometry::labelHeight(p.sheet), p.labelHeight, 1) << p.name().toStdString();
    }
    // Left out, each for its own reason.
    struct Case {
        const char* name;
        Fit fit;
    };
    const Case left[] = {
        { "Avery 5160", Fit::Paper },     // US Letter, in inches
        { "Hisago ELM001", Fit::Grid },   // one label per sheet
        { "Hisago GB3019", Fit::Shape },  // round labels
        { "JAC 987349-2", Fit::Layout },  // three layouts on one sheet
        { "Hisago ELM017", Fit::Margins }, // 64 mm left over at the bottom
        { "Hisago OP3005", Fit::Margins }, // the last row 20.6 mm below the paper
        { "Hisago OP2503", Fit::Paper },   // a postcard (100 x 148 mm) of labels
    };
    for (const Case& l : left) {
        EXPECT_EQ(c.rejection(QString::fromUtf8(l.name)), l.fit) << l.name;
        EXPECT_EQ(c.find(QString::fromUtf8(l.name)), nullptr) << l.name;
    }
    // Sorted by maker, then product number with numbers in numeric order.
    for (int i = 1; i < c.products().size(); ++i) {
        const Product& a = c.products()[i - 1];
        const Product& b = c.products()[i];
        EXPECT_LE(a.brand.compare(b.brand, Qt::CaseInsensitive), 0) << a.name().toStdString() << " / "
                                                                     << b.name().toStdString();
    }
}

// Template files made for the test: what the list keeps and what it leaves out.
TEST(LabelTemplates, OnlySheetsTheLabelModelCanPrintAreListed)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray templates =
        // Kept: mm, inches, cm; A4 given as "Other" with its size; an equiv of a kept one.
        rectangle("T", "MM", "A4", "86.4mm", "42.3mm", 2, 6, "18.6mm", "21.2mm", "86.4mm", "42.3mm")
        + rectangle("T", "INCH", "A4", "2.5in", "1.5in", 3, 7, "0.25in", "0.5in", "2.625in", "1.5in")
        + rectangle("T", "CM", "A4", "9cm", "5cm", 2, 5, "1.5cm", "2.5cm", "9.5cm", "5.2cm")
        + "<Template brand=\"T\" part=\"OTHER\" size=\"Other\" width=\"210mm\" height=\"297mm\" description=\"Own\">"
          "<Label-rectangle width=\"70mm\" height=\"37mm\"><Layout nx=\"3\" ny=\"8\" x0=\"0mm\" y0=\"0.5mm\" "
          "dx=\"70mm\" dy=\"37mm\"/></Label-rectangle></Template>\n"
        + "<Template brand=\"T\" part=\"SAME\" equiv=\"MM\"/>\n"
        + "<Template brand=\"T\" part=\"CHAIN\" equiv=\"SAME\"/>\n"
        // Left out.
        + rectangle("T", "LETTER", "US-Letter", "2.625in", "1in", 3, 10, "0.15625in", "0.5in", "2.78125in", "1in")
        + rectangle("T", "ONE-COLUMN", "A4", "190mm", "40mm", 1, 7, "10mm", "8mm", "190mm", "40mm")
        + rectangle("T", "NINE-COLUMNS", "A4", "22mm", "20mm", 9, 14, "6mm", "8mm", "22mm", "20mm")
        + rectangle("T", "FIFTEEN-ROWS", "A4", "90mm", "18mm", 2, 15, "15mm", "13.5mm", "90mm", "18mm")
        + rectangle("T", "WIDE-MARGIN", "A4", "40mm", "40mm", 2, 5, "60mm", "20mm", "45mm", "50mm")
        + rectangle("T", "NEGATIVE-MARGIN", "A4", "110mm", "42mm", 2, 6, "0mm", "20mm", "110mm", "42mm")
        + rectangle("T", "OVERLAP", "A4", "100mm", "42mm", 2, 6, "10mm", "20mm", "95mm", "42mm")
        + rectangle("T", "WIDE-GAP", "A4", "40mm", "40mm", 2, 5, "20mm", "20mm", "100mm", "50mm")
        + rectangle("T", "BAD-LENGTH", "A4", "86.4mm", "42.3 furlongs", 2, 6, "18.6mm", "21.2mm", "86.4mm", "42.3mm")
        + "<Template brand=\"T\" part=\"ROUND\" size=\"A4\"><Label-round radius=\"20mm\">"
          "<Layout nx=\"4\" ny=\"6\" x0=\"10mm\" y0=\"10mm\" dx=\"48mm\" dy=\"48mm\"/></Label-round></Template>\n"
        + "<Template brand=\"T\" part=\"TWO-LAYOUTS\" size=\"A4\"><Label-rectangle width=\"50mm\" height=\"30mm\">"
          "<Layout nx=\"2\" ny=\"4\" x0=\"10mm\" y0=\"10mm\" dx=\"55mm\" dy=\"35mm\"/>"
          "<Layout nx=\"1\" ny=\"4\" x0=\"140mm\" y0=\"10mm\" dx=\"55mm\" dy=\"35mm\"/></Label-rectangle></Template>\n"
        + "<Template brand=\"T\" part=\"MISSING\" equiv=\"NOWHERE\"/>\n"
        + "<Template brand=\"T\" part=\"LOOP-A\" equiv=\"LOOP-B\"/>\n"
        + "<Template brand=\"T\" part=\"LOOP-B\" equiv=\"LOOP-A\"/>\n"
        + "<Template brand=\"T\" part=\"SELF\" equiv=\"SELF\"/>\n"
        + "<Template brand=\"U\" part=\"OTHER-MAKER\" equiv=\"MM\"/>\n";
    ASSERT_TRUE(TestFiles::write(dir.filePath(QStringLiteral("t-templates.xml")), templatesFile(templates)));
    // Files of another kind in the same folder are passed over.
    ASSERT_TRUE(TestFiles::write(dir.filePath(QStringLiteral("paper-sizes.xml")),
                                 "<?xml version=\"1.0\"?><Glabels-paper-sizes><Paper-size id=\"A4\"/></Glabels-paper-sizes>"));
    Catalog c;
    c.load({ dir.path() }, {});

    struct Kept {
        const char* name;
        LabelSheet sheet;
        const char* description;
    };
    const Kept kept[] = {
        { "T MM", sheet(2, 6, 212, 220, 186, 186, 0, 0), "Test" },
        // 63.5 x 38.1 mm labels, pitch 66.675 (gap 3.175), origin (6.35, 12.7); right
        // 210 - 6.35 - 2 x 66.675 - 63.5 = 6.8, bottom 297 - 12.7 - 7 x 38.1 = 17.6.
        { "T INCH", sheet(3, 7, 127, 176, 64, 68, 0, 32), "Test" },
        // 90 x 50 pitch 95 x 52 from (15, 25): right 210 - 15 - 95 - 90 = 10, bottom 297 - 25 -
        // 4 x 52 - 50 = 14.
        { "T CM", sheet(2, 5, 250, 140, 150, 100, 20, 50), "Test" },
        { "T OTHER", sheet(3, 8, 5, 5, 0, 0, 0, 0), "Own" },
        { "T SAME", sheet(2, 6, 212, 220, 186, 186, 0, 0), "Test" },
        { "T CHAIN", sheet(2, 6, 212, 220, 186, 186, 0, 0), "Test" },
    };
    ASSERT_EQ(c.products().size(), std::size(kept));
    for (const Kept& k : kept) {
        const Product* p = c.find(QString::fromUtf8(k.name));
        ASSERT_NE(p, nullptr) << k.name;
        EXPECT_EQ(p->sheet, k.sheet) << k.name;
        EXPECT_EQ(p->description, QString::fromUtf8(k.description)) << k.name;
        EXPECT_FALSE(p->user);
    }

    struct Left {
        const char* name;
        Fit fit;
    };
    const Left left[] = {
        { "T LETTER", Fit::Paper },         { "T ONE-COLUMN", Fit::Grid },
        { "T NINE-COLUMNS", Fit::Grid },    { "T FIFTEEN-ROWS", Fit::Grid },
        { "T WIDE-MARGIN", Fit::Margins },  { "T NEGATIVE-MARGIN", Fit::Margins },
        { "T OVERLAP", Fit::Gaps },         { "T WIDE-GAP", Fit::Gaps },
        { "T BAD-LENGTH", Fit::Lengths },   { "T ROUND", Fit::Shape },
        { "T TWO-LAYOUTS", Fit::Layout },   { "T MISSING", Fit::Equiv },
        { "T LOOP-A", Fit::Equiv },         { "T LOOP-B", Fit::Equiv },
        { "T SELF", Fit::Equiv },           { "U OTHER-MAKER", Fit::Equiv },
    };
    for (const Left& l : left) {
        EXPECT_EQ(c.rejection(QString::fromUtf8(l.name)), l.fit) << l.name;
        EXPECT_FALSE(fitText(l.fit).isEmpty());
    }
    EXPECT_EQ(c.templateCount(), 22);
}

// Broken files never stop the list: what was complete before the fault is kept, the rest of
// the file and everything unreadable is left out.
TEST(LabelTemplates, BadFilesAndFoldersAreLeftOut)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray good = rectangle("G", "GOOD", "A4", "86.4mm", "42.3mm", 2, 6, "18.6mm", "21.2mm", "86.4mm", "42.3mm");
    const QByteArray full = templatesFile(good + rectangle("G", "LATER", "A4", "86.4mm", "50.8mm", 2, 5, "18.6mm",
                                                           "21.2mm", "86.4mm", "50.8mm"));
    struct Case {
        const char* file;
        QByteArray bytes;
    };
    const Case cases[] = {
        { "truncated.xml", full.left(full.indexOf("LATER") + 20) },
        { "garbage.xml", QByteArray("\x00\xff<<<>>>&&&", 11) },
        { "empty.xml", QByteArray() },
        { "wrong-root.xml", "<?xml version=\"1.0\"?><Something><Template brand=\"G\" part=\"X\"/></Something>" },
        { "unclosed-label.xml", "<Glabels-templates>" + rectangle("G", "HALF", "A4", "80mm", "40mm", 2, 6, "10mm", "10mm", "90mm", "40mm").left(120) },
        { "entities.xml", "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
                          "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                          "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                          "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>"
                          "<Glabels-templates><Template brand=\"G\" part=\"&d;\" size=\"A4\"/></Glabels-templates>" },
        { "huge-numbers.xml", templatesFile(rectangle("G", "HUGE", "A4", "1e300mm", "99999999999999999999mm", 2000000000, 6,
                                                      "-1e300mm", "0mm", "1e308mm", "1mm")) },
    };
    for (const Case& c : cases)
        ASSERT_TRUE(TestFiles::write(dir.filePath(QString::fromUtf8(c.file)), c.bytes));
    // Larger than any template file may be.
    QFile big(dir.filePath(QStringLiteral("big.xml")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(templatesFile(QByteArray(int(kMaxFileSize), ' ') + good));
    big.close();

    // Deeply nested elements and a template whose file is complete come last.
    QByteArray deep = "<Glabels-templates><Template brand=\"G\" part=\"DEEP\" size=\"A4\">";
    for (int i = 0; i < 20000; ++i)
        deep += "<a>";
    ASSERT_TRUE(TestFiles::write(dir.filePath(QStringLiteral("deep.xml")), deep));
    ASSERT_TRUE(TestFiles::write(dir.filePath(QStringLiteral("zz-good.xml")), templatesFile(good)));

    QElapsedTimer timer;
    timer.start();
    Catalog c;
    c.load({ dir.path(), dir.filePath(QStringLiteral("no-such-folder")) }, {});
    EXPECT_LT(timer.elapsed(), 5000);
    QStringList names;
    for (const Product& p : c.products())
        names << p.name();
    // GOOD is in the truncated file and in zz-good.xml: listed once.
    EXPECT_EQ(names, QStringList { QStringLiteral("G GOOD") });

    QString error;
    QFile truncated(dir.filePath(QStringLiteral("truncated.xml")));
    ASSERT_TRUE(truncated.open(QIODevice::ReadOnly));
    EXPECT_EQ(readTemplates(truncated, QStringLiteral("truncated.xml"), &error).size(), 1);
    EXPECT_FALSE(error.isEmpty());
}

TEST(LabelTemplates, UnreadableUserFolderLeavesTheRestAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString locked = dir.filePath(QStringLiteral("locked"));
    if (geteuid() == 0) {
        // Root reads every folder; a link to itself cannot be opened by anyone.
        ASSERT_TRUE(QFile::link(locked, locked));
    } else {
        ASSERT_TRUE(QDir().mkpath(locked));
        ASSERT_TRUE(writeUserTemplate(locked, QStringLiteral("L"), QStringLiteral("ONE"), QString(), LabelSheet()).size() > 0);
        QFile::setPermissions(locked, QFileDevice::Permissions());
    }
    const QString open = dir.filePath(QStringLiteral("open"));
    ASSERT_FALSE(writeUserTemplate(open, QStringLiteral("L"), QStringLiteral("TWO"), QString(), LabelSheet()).isEmpty());
    Catalog c;
    c.load({}, { locked, open });
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(c.products().size(), 1);
    EXPECT_EQ(c.products().constFirst().name(), QStringLiteral("L TWO"));
}

// A sheet measured once and registered comes back by its name with the same labels.
TEST(LabelTemplates, RegisteredSheetReadBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        const char* brand;
        const char* part;
        LabelSheet sheet;
    };
    const Case cases[] = {
        // The example's sheet: 2 x 6 of 86.4 x 42.3.
        { "文具店", "宛名12面", sheet(2, 6, 216, 216, 140, 140, 0, 92) },
        { "Own", "3x8", sheet(3, 8, 85, 85, 85, 85, 20, 20) },
        // Labels that are not whole tenths (1940 / 3 wide, 2680 / 7 high), odd characters.
        { "Own <&\"'>", "a/b\\c", sheet(3, 7, 100, 100, 80, 80, 15, 0) },
    };
    for (const Case& k : cases) {
        const QString brand = QString::fromUtf8(k.brand);
        const QString part = QString::fromUtf8(k.part);
        QString error;
        const QString path = writeUserTemplate(dir.path(), brand, part, QStringLiteral("メモ"), k.sheet, &error);
        ASSERT_FALSE(path.isEmpty()) << error.toStdString();
        EXPECT_TRUE(path.startsWith(dir.path() + QLatin1Char('/')));
        EXPECT_TRUE(path.endsWith(QStringLiteral(".template")));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);

    Catalog c;
    c.load({}, { dir.path() });
    ASSERT_EQ(c.products().size(), 3);
    for (const Case& k : cases) {
        const QString name = QString::fromUtf8(k.brand) + QLatin1Char(' ') + QString::fromUtf8(k.part);
        const Product* p = c.find(name);
        ASSERT_NE(p, nullptr) << k.brand;
        EXPECT_TRUE(p->user);
        EXPECT_EQ(p->description, QStringLiteral("メモ"));
        EXPECT_EQ(p->sheet, k.sheet) << k.brand;
        EXPECT_EQ(p->labelWidth, LabelGeometry::labelWidth(k.sheet)) << k.brand;
        EXPECT_EQ(p->labelHeight, LabelGeometry::labelHeight(k.sheet)) << k.brand;
        EXPECT_EQ(productFromSheet(QString::fromUtf8(k.brand), QString::fromUtf8(k.part), QStringLiteral("メモ"), k.sheet).sheet,
                  k.sheet);
    }

    // Registered again under the same name, the file is replaced and a user template wins
    // over a system one of the same name.
    ASSERT_FALSE(writeUserTemplate(dir.path(), QStringLiteral("Own"), QStringLiteral("3x8"), QString(),
                                   sheet(2, 6, 100, 100, 80, 80, 0, 0)).isEmpty());
    QTemporaryDir system;
    ASSERT_TRUE(TestFiles::write(system.filePath(QStringLiteral("s.xml")),
                                 templatesFile(rectangle("Own", "3x8", "A4", "63mm", "33.3mm", 3, 8, "8.5mm", "8.5mm",
                                                         "65mm", "35.3mm"))));
    c.load({ system.path() }, { dir.path() });
    EXPECT_EQ(c.products().size(), 3);
    EXPECT_EQ(c.find(QStringLiteral("Own 3x8"))->sheet, sheet(2, 6, 100, 100, 80, 80, 0, 0));
}

TEST(LabelTemplates, SearchFindsSheetsByAnyColumn)
{
    Product p;
    p.brand = QStringLiteral("Hisago");
    p.part = QStringLiteral("ELM007");
    p.description = QStringLiteral("Rectangular labels");
    p.sheet = sheet(2, 6, 203, 229, 203, 183, 0, 38);
    p.labelWidth = 838;
    p.labelHeight = 423;
    EXPECT_EQ(p.sizeText(), QStringLiteral("83.8 × 42.3"));
    struct Case {
        const char* filter;
        bool found;
    };
    const Case cases[] = {
        { "", true },          { "12", true },          { "12面", true },          { "１２", true },
        { "2×6", true },       { "2x6", true },         { "hisago", true },        { "HISAGO elm", true },
        { "ｅｌｍ００７", true }, { "83.8", true },      { "42.3", true },          { "rectangular", true },
        { "hisago 12面", true }, { "24", false },        { "10面", false },          { "hisago round", false },
        { "avery", false },    { "3×8", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(p.matches(QString::fromUtf8(c.filter)), c.found) << c.filter;
}

TEST(LabelTemplates, NamesAsTheCommandLineTakesThem)
{
    const Catalog& c = installed();
    struct Case {
        const char* typed;
        const char* found; // nullptr: not a product
    };
    const Case cases[] = {
        { "Hisago ELM008", "Hisago ELM008" },
        { "hisago   elm008", "Hisago ELM008" },
        { "ＨＩＳＡＧＯ ＥＬＭ００８", "Hisago ELM008" },
        { "ELM008", nullptr },
        { "Hisago ELM0088", nullptr },
    };
    for (const Case& k : cases) {
        const Product* p = c.find(QString::fromUtf8(k.typed));
        if (k.found) {
            ASSERT_NE(p, nullptr) << k.typed;
            EXPECT_EQ(p->name(), QString::fromUtf8(k.found));
        } else {
            EXPECT_EQ(p, nullptr) << k.typed;
        }
    }
    // The closest names of a typing slip come first.
    EXPECT_EQ(c.closest(QStringLiteral("Hisago ELM0088"), 1), QStringList { QStringLiteral("Hisago ELM008") });
    EXPECT_EQ(c.closest(QStringLiteral("ELM007"), 1), QStringList { QStringLiteral("Hisago ELM007") });
    EXPECT_EQ(c.closest(QStringLiteral("x"), 3).size(), 3);
}

// Read once per run: the second look is the list in memory, and a registered sheet joins it.
TEST(LabelTemplates, SessionListIsKeptAndTakesRegisteredSheets)
{
    Catalog::resetSession();
    const Catalog* first = &Catalog::session();
    const int count = first->products().size();
    EXPECT_GT(count, 200);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(&Catalog::session(), first);
    EXPECT_LT(timer.elapsed(), 5);
    Product own = productFromSheet(QStringLiteral("Mine"), QStringLiteral("M-1"), QString(), sheet(2, 6, 100, 100, 80, 80, 0, 0));
    Catalog::session().add(own);
    Catalog::session().add(own);
    EXPECT_EQ(Catalog::session().products().size(), count + 1);
    EXPECT_NE(Catalog::session().find(QStringLiteral("Mine M-1")), nullptr);
    Catalog::resetSession();
}
