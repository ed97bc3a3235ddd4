#pragma once
// Shared by the postcard and batch printer tests: an engine on the CUPS test printer's
// postcard paper, a layout like a New Year card, pages recorded from a snapshot, and an
// operation-by-operation comparison of recorded pages.

#include "app/AppSettings.h"
#include "platform/DevMode.h"
#include "platform/SystemPrinter.h"
#include "postcard/PostcardComposer.h"
#include "postcard/PostcardSnapshot.h"
#include "preview/PageRecording.h"
#include "preview/TplPrev.h"
#include "preview/TplSetPrinter.h"
#include "preview/PreviewTestSupport.h"
#include "support/CupsTestPrinter.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace postcardtest {

inline QString u(const char16_t* s)
{
    return QString::fromUtf16(s);
}

// Column order of the sample lines: postal code, address 1, address 2, name 1, name 2,
// customer barcode, honorific.
inline CsvColumnMap sampleColumns()
{
    CsvColumnMap m;
    m.textDelimiter = QStringLiteral("\"");
    m.postNo = 1;
    m.adr1No = 2;
    m.adr2No = 3;
    m.mei1No = 4;
    m.mei2No = 5;
    m.cbarNo = 6;
    m.keisNo = 7;
    return m;
}

inline QStringList sampleRecords()
{
    return { u(u"\"〒123-4567\",\"東京都千代田区千代田１－２－３\",\"テストビル２０１\",\"山田太郎\",\"\",\"C1234\",\"様\""),
             u(u"\"１００－０００１\",\"大阪府大阪市北区梅田４－５\",\"\",\"鈴木一郎\",\"鈴木花子\",\"\",\"殿\""),
             u(u"\"060-8588\",\"北海道札幌市中央区北三条西６\",\"第二ビル\",\"株式会社高橋商事\",\"高橋部長\",\"C9\",\"御中\"") };
}

inline FieldStyle style(int left, int top, int length, int size, bool tate, const QString& face, int alignment = 0)
{
    FieldStyle s;
    s.fontName = face;
    s.fontSize = size;
    s.tate = tate;
    s.left = left;
    s.top = top;
    s.width = length;
    s.alignment = alignment;
    s.visible = true;
    return s;
}

// A vertical New Year card: every field visible, the address on the right, names in the
// centre, the sender at the bottom left, contact lines horizontal.
inline AppSettings sampleSettings()
{
    AppSettings a;
    const QString mincho = u(u"ＭＳ 明朝"), vmincho = u(u"@ＭＳ 明朝");
    FieldStyles& f = a.postcardFields;
    f[0] = style(167, 45, 185, 16, false, mincho);
    f[0].post = true;
    f[1] = style(320, 110, 380, 14, true, vmincho);
    f[2] = style(290, 150, 340, 12, true, vmincho);
    f[3] = style(190, 120, 360, 26, true, vmincho, 1);
    f[4] = style(150, 160, 320, 22, true, vmincho, 1);
    f[5] = style(20, 530, 120, 8, false, mincho);
    f[6] = style(20, 490, 120, 9, false, mincho);
    f[7] = style(100, 300, 170, 9, true, vmincho);
    f[8] = style(82, 320, 150, 9, true, vmincho);
    f[9] = style(60, 330, 150, 12, true, vmincho, 2);
    f[10] = style(40, 330, 150, 12, true, vmincho, 2);
    f[11] = style(150, 510, 150, 7, false, mincho);
    f[12] = style(150, 522, 150, 7, false, mincho, 1);
    f[13] = style(150, 534, 150, 7, false, mincho, 2);
    f[14] = style(150, 546, 150, 7, false, mincho);
    a.csv = sampleColumns();
    a.sender.postalCode = u(u"〒530-0001");
    a.sender.address1 = u(u"大阪府大阪市北区１－２－３");
    a.sender.address2 = u(u"梅田ハイツ５０１");
    a.sender.name1 = u(u"佐藤健一");
    a.sender.name2 = u(u"佐藤美咲");
    a.sender.tel = u(u"06-1234-5678");
    a.sender.fax = u(u" ");
    a.sender.mail = u(u"sato@example.jp");
    a.sender.url = u(u"https://example.jp");
    a.postcardPostMark = true;
    return a;
}

inline PostcardSnapshot sampleSnapshot()
{
    return PostcardSnapshot::fromSettings(sampleSettings(), sampleRecords(), HonorificChoice { true, QString() });
}

// The owner's drawing of a page (the painted paper left out).
inline QVector<PageOp> ownOps(const PageRecording& rec)
{
    QVector<PageOp> ops;
    for (const PageOp& op : rec.ops()) {
        if (!op.paper)
            ops.push_back(op);
    }
    return ops;
}

inline std::string describe(const PageOp& op)
{
    std::ostringstream s;
    s << "kind " << int(op.kind) << " text '" << op.text.toStdString() << "' font " << op.font.name.toStdString()
      << "/" << op.font.height << " rect " << op.rect.x() << "," << op.rect.y() << " " << op.rect.width() << "x"
      << op.rect.height() << " origin " << op.origin.x() << "," << op.origin.y();
    return s.str();
}

// Empty when the two operations draw the same; otherwise what differs.
inline std::string opDifference(const PageOp& a, const PageOp& b)
{
    if (a.kind != b.kind || a.paper != b.paper || a.clipToPrintable != b.clipToPrintable || a.rect != b.rect
        || a.points != b.points || a.pen != b.pen || a.brush != b.brush || a.text != b.text || a.font != b.font
        || a.qfont != b.qfont || a.origin != b.origin || a.ascent != b.ascent || a.angle != b.angle
        || a.widthScale != b.widthScale || a.clip != b.clip || a.columnWidth != b.columnWidth
        || a.length != b.length || a.upright != b.upright || a.fileName != b.fileName || a.image != b.image)
        return describe(a) + "  vs  " + describe(b);
    return std::string();
}

// Every operation of both pages, in order.
inline ::testing::AssertionResult samePages(const PageRecording& a, const PageRecording& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return ::testing::AssertionFailure() << "frames differ";
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << "operation counts differ: " << a.size() << " vs " << b.size();
    for (int i = 0; i < a.size(); ++i) {
        const std::string d = opDifference(a.ops()[i], b.ops()[i]);
        if (!d.empty())
            return ::testing::AssertionFailure() << "operation " << i << ": " << d;
    }
    return ::testing::AssertionSuccess();
}

// An engine on the test printer with postcard paper, portrait.
class PostcardEngine {
public:
    bool setUp(QString* why)
    {
        if (!CupsTestPrinter::available(why))
            return false;
        printer = std::make_unique<TplSetPrinter>(QStringLiteral("plSetPrinter1"));
        printer->setPrinterName(CupsTestPrinter::name());
        SystemPrinter& sp = SystemPrinter::instance();
        DevMode mode = sp.devMode();
        mode.setPaperSize(DevMode::PaperJapanesePostcard);
        mode.setOrientation(DevMode::OrientationPortrait);
        sp.setDevMode(mode);
        printer->ReadFromPrinter(false);
        engine.setPlSetPrinter(printer.get());
        return true;
    }

    // Starts a run over the snapshot (the reference is kept: change it between pages to see
    // that every page is drawn from what it holds then).
    bool begin(const PostcardSnapshot& snapshot)
    {
        engine.setTitle(u(u"ハガキ宛名印刷"));
        engine.setPageCount(snapshot.pageCount());
        const PostcardSnapshot* s = &snapshot;
        return engine.BeginPreview([this, s] { DrawPostcardPage(engine, *s); });
    }

    // Records page `page` of the running run and returns a copy.
    PageRecording page(int page)
    {
        engine.setCurrentPage(page);
        const PageRecording* rec = engine.RenderPage();
        return rec ? *rec : PageRecording();
    }

    PageRecording render(const PostcardSnapshot& snapshot, int pageNumber = 1)
    {
        if (!begin(snapshot))
            return PageRecording();
        return page(pageNumber);
    }

    previewtest::MessageLog log;
    std::unique_ptr<TplSetPrinter> printer;
    TplPrev engine;
};

class PostcardEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVALIN_REQUIRE_TEST_PRINTER();
        QString why;
        ASSERT_TRUE(pe.setUp(&why)) << why.toStdString();
    }
    PostcardEngine pe;
};

} // namespace postcardtest
