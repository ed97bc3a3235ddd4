// The engine's print progress: reported after every page, and a run stopped from it is
// withdrawn whole.

#include "PreviewTestSupport.h"
#include "support/CupsTestPrinter.h"

#include "platform/DevMode.h"
#include "platform/SystemPrinter.h"
#include "preview/TplPrev.h"
#include "preview/TplSetPrinter.h"

#include <QPair>
#include <gtest/gtest.h>

using namespace previewtest;

TEST(TplPrevPrintProgress, ReportsEachPageAndAStopWithdrawsTheJob)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    MessageLog log;
    TplSetPrinter printer(QStringLiteral("plSetPrinter1"));
    printer.setPrinterName(CupsTestPrinter::name());
    TplPrev engine;
    engine.setPlSetPrinter(&printer);
    engine.setPageCount(4);
    QVector<int> drawn;
    ASSERT_TRUE(engine.BeginPreview([&] {
        drawn << engine.CurrentPage();
        engine.TextOut(100, 100, QStringLiteral("頁%1").arg(engine.CurrentPage()));
    }));

    struct Case { int from, to, stopAfter; QVector<QPair<int, int>> reports; bool sent; };
    const Case cases[] = {
        { 2, 4, 0, { { 1, 3 }, { 2, 3 }, { 3, 3 } }, true },
        { 4, 1, 2, { { 1, 4 }, { 2, 4 } }, false },
        { 3, 3, 1, { { 1, 1 } }, false }, // stopped on the last page: still nothing is sent
    };
    for (const Case& c : cases) {
        QVector<QPair<int, int>> reports;
        engine.PrintProgress = [&](int done, int total) {
            reports << qMakePair(done, total);
            return c.stopAfter == 0 || done < c.stopAfter;
        };
        drawn.clear();
        const int jobBefore = SystemPrinter::instance().lastJobId();
        engine.setFromPage(c.from);
        engine.setToPage(c.to);
        EXPECT_EQ(engine.Print(), c.sent) << c.from << ".." << c.to;
        EXPECT_EQ(reports, c.reports) << c.from << ".." << c.to;
        EXPECT_EQ(drawn.size(), c.reports.size());
        EXPECT_FALSE(engine.Printing());
        EXPECT_FALSE(SystemPrinter::instance().printing());
        EXPECT_EQ(SystemPrinter::instance().lastJobId() > jobBefore, c.sent) << c.from << ".." << c.to;
    }
    EXPECT_TRUE(log.entries.isEmpty()) << log.texts().join(QLatin1Char('|')).toStdString();
}
