// A whole postcard page through the engine: recorded, replayed to a picture as the preview
// shows it, and checked where a reader of the card would look.

#include "PreviewTestSupport.h"
#include "support/CupsTestPrinter.h"
#include "SamplePages.h"

#include "platform/DevMode.h"
#include "platform/SystemPrinter.h"
#include "preview/TplSetPrinter.h"
#include "support/PrinterPaper.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace previewtest;

TEST(SamplePostcard, PreviewShowsDigitsInTheBoxesAndUprightVerticalText)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    MessageLog log;
    TplSetPrinter printer(QStringLiteral("plSetPrinter1"));
    printer.setPrinterName(CupsTestPrinter::name());
    printerpaper::usePaper(printer, DevMode::PaperJapanesePostcard);

    QTemporaryDir dir;
    const QString stamp = dir.filePath(QStringLiteral("STAMP.JPG"));
    ASSERT_TRUE(samplepages::writeStampJpeg(stamp));

    TplPrev engine;
    engine.setPlSetPrinter(&printer);
    engine.setPageCount(1);
    ASSERT_TRUE(engine.BeginPreview([&] { samplepages::drawPostcard(engine, stamp); }));
    const PageRecording* rec = engine.RenderPage();
    ASSERT_NE(rec, nullptr);
    EXPECT_TRUE(log.entries.isEmpty()) << log.texts().join(QLatin1Char('|')).toStdString();

    EXPECT_EQ(rec->ofKind(PageOp::Kind::Image).size(), 1);
    EXPECT_EQ(rec->ofKind(PageOp::Kind::Polyline).size(), 7);
    EXPECT_EQ(rec->ofKind(PageOp::Kind::VerticalText).size(), 8);
    EXPECT_TRUE(rec->texts().contains(QStringLiteral("山田　太郎　様")));

    // One pixel per 0.1 mm: what the preview window shows at that zoom.
    const QImage img = rec->toImage(rec->width());
    const QString png = QDir(QStringLiteral(TOVALIN_BINARY_DIR)).filePath(QStringLiteral("sample-postcard-preview.png"));
    EXPECT_TRUE(img.save(png));

    // Recipient postal code digits: each inside its box.
    const int x0 = engine.PageWidth() - 552, y0 = 120;
    for (int k = 0; k < 7; ++k) {
        const QRect box(x0 + (k < 3 ? 70 * k : 216 + 70 * (k - 3)), y0, 60, 85);
        const QRect ink = inkBox(img, box.adjusted(-15, -15, 15, 15));
        ASSERT_FALSE(ink.isEmpty()) << "box " << k;
        EXPECT_TRUE(box.contains(ink)) << "box " << k;
        EXPECT_NEAR(ink.center().x(), box.center().x(), 6) << "box " << k;
        EXPECT_NEAR(ink.center().y(), box.center().y(), 8) << "box " << k;
    }
    // The name column: a tall narrow run of ink in its column, not a turned line.
    const auto verticals = rec->ofKind(PageOp::Kind::VerticalText);
    const PageOp* name = nullptr;
    for (const PageOp* op : verticals)
        if (op->text.startsWith(QStringLiteral("山田")))
            name = op;
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(name->upright);
    const QRect nameInk = inkBox(img, name->rect.toAlignedRect().adjusted(-2, -2, 2, 2));
    ASSERT_FALSE(nameInk.isEmpty());
    EXPECT_GT(nameInk.height(), 5 * nameInk.width());
    // An upright kanji is about as wide as the font is high (a turned one would be as wide
    // as the line's height and its strokes lie the other way round; the ink width tells).
    EXPECT_GT(nameInk.width(), 0.7 * -name->font.height);
}
