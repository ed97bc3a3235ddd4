// Runs laid out on a sheet of their own, without a printer component: only files can take
// their pages, and the page is exactly the sheet.

#include "PreviewTestSupport.h"
#include "support/CupsTestPrinter.h"

#include "preview/TplPrev.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace previewtest;

TEST(FileSheet, PagesGoToFilesOnlyAndTakeTheSheetsSize)
{
    const struct {
        int width, height;
        double widthPt, heightPt;
    } sheets[] = { { 1000, 1480, 283.46, 419.53 }, { 2100, 2970, 595.28, 841.89 }, { 1480, 1000, 419.53, 283.46 } };
    QTemporaryDir dir;
    for (const auto& s : sheets) {
        SCOPED_TRACE(s.width);
        MessageLog log;
        TplPrev engine;
        engine.setFileSheet(s.width, s.height);
        engine.setPageCount(2);
        QVector<bool> printing;
        ASSERT_TRUE(engine.BeginPreview([&] {
            printing << engine.Printing();
            engine.TextOut(100, 100, QStringLiteral("頁%1").arg(engine.CurrentPage()));
        }));
        EXPECT_EQ(engine.PageWidth(), s.width);
        EXPECT_EQ(engine.PageHeight(), s.height);
        EXPECT_EQ(engine.printableRect(), QRect(0, 0, s.width, s.height));

        const PageRecording* preview = engine.RenderPage();
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->width(), s.width);

        // The system printer is not a file: refused with the engine's message.
        EXPECT_FALSE(engine.Print());
        ASSERT_FALSE(log.entries.isEmpty());
        EXPECT_EQ(log.entries.last().text, QStringLiteral("プリンタ設定コンポーネントが指定されていません．　　"));

        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(s.width));
        printing.clear();
        ASSERT_TRUE(engine.PrintToPdf(pdf));
        EXPECT_EQ(printing, (QVector<bool> { true, true }));
        const CupsTestPrinter::PdfInfo info = CupsTestPrinter::pdfInfo(pdf);
        ASSERT_TRUE(info.ok) << info.error.toStdString();
        EXPECT_EQ(info.pages, 2);
        EXPECT_NEAR(info.pageSizePt.width(), s.widthPt, 0.6);
        EXPECT_NEAR(info.pageSizePt.height(), s.heightPt, 0.6);
        EXPECT_TRUE(CupsTestPrinter::pdfText(pdf, 2, 2).contains(QStringLiteral("頁2")));
    }
}

TEST(FileSheet, WithoutSheetOrPrinterNothingStarts)
{
    MessageLog log;
    TplPrev engine;
    engine.setFileSheet(1000, 1480);
    engine.setFileSheet(0, 0); // removed again
    EXPECT_FALSE(engine.BeginPreview([] { }));
    EXPECT_EQ(log.texts(), QStringList { QStringLiteral("プリンタ設定コンポーネントが指定されていません．　　") });
    EXPECT_EQ(engine.RenderPage(), nullptr);
}
