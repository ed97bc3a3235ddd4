// tovalin-print --records, --record and --all on the example: which cards and labels come out
// and in which order, the selection column of the settings in both meanings, and the runs that
// choose nothing.

#include "CliTestSupport.h"

#include "app/CsvSource.h"
#include "support/CupsTestPrinter.h"
#include "support/TestText.h"

using namespace clitest;

using testtext::sjis;
using testtext::u;

namespace {

// The example's postal codes as the card prints them (digits only), record 1 first.
QStringList examplePostalDigits()
{
    QStringList out;
    const QStringList lines = CsvRecordLines(ReadCsvLines(examplesDir() + QStringLiteral("/addresses.csv")), true);
    for (const QString& line : lines)
        out << CsvField(line, 1, QStringLiteral("\"")).remove(QLatin1Char('-'));
    return out;
}

// The example list with an eighth column "喪中" on the given records (1-based).
QByteArray exampleWithColumn(const QVector<int>& marked)
{
    QStringList lines = ReadCsvLines(examplesDir() + QStringLiteral("/addresses.csv"));
    lines[0] += u(u",\"喪中\"");
    for (int i = 1; i < lines.size(); ++i)
        lines[i] += marked.contains(i) ? u(u",\"喪中\"") : QStringLiteral(",\"\"");
    return sjis(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

QStringList postcardRun(const ExampleCopy& ex, const QString& pdf, const QStringList& more)
{
    return QStringList { QStringLiteral("postcard"), QStringLiteral("--settings"), ex.settingsDir(),
                         QStringLiteral("--output"), pdf } + more;
}

} // namespace

TEST(TovalinPrintRecords, PostcardsOfTheChosenRecordsInListOrder)
{
    const QStringList digits = examplePostalDigits();
    ASSERT_EQ(digits.size(), 30);
    struct Case {
        const char* what;
        QVector<int> marked; // the selection column's marks (1-based records); empty: no column
        int selMode;
        int selNo; // the column the settings name
        QStringList arguments;
        QVector<int> pages; // the record (1-based) on each page
        const char16_t* says; // on standard error; empty: nothing
    };
    const Case cases[] = {
        { "a list in any order", {}, 0, 14, { QStringLiteral("--records"), QStringLiteral("8, 5-6, 2") }, { 2, 5, 6, 8 }, u"" },
        { "full-width, to the end", {}, 0, 14, { QStringLiteral("--records"), u(u"２８－") }, { 28, 29, 30 }, u"" },
        { "cut to the list", {}, 0, 14, { QStringLiteral("--records"), QStringLiteral("29-40") }, { 29, 30 }, u"30 件" },
        { "--record N", {}, 0, 14, { QStringLiteral("--record"), QStringLiteral("17") }, { 17 }, u"" },
        { "column skips 喪中", { 3, 6 }, 1, 14, { QStringLiteral("--records"), QStringLiteral("1-7") }, { 1, 2, 4, 5, 7 }, u"" },
        { "--all ignores the column", { 3, 6 }, 1, 14, { QStringLiteral("--records"), QStringLiteral("1-7"), QStringLiteral("--all") },
          { 1, 2, 3, 4, 5, 6, 7 }, u"" },
        { "column prints the marked", { 3, 6, 30 }, 0, 14, {}, { 3, 6, 30 }, u"" },
        { "column beyond the records", { 3 }, 1, 15, { QStringLiteral("--records"), QStringLiteral("2-4") }, { 2, 3, 4 },
          u"15 列目" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExampleCopy ex;
        if (!c.marked.isEmpty()) {
            ASSERT_TRUE(ex.writeCsv(exampleWithColumn(c.marked)));
            ASSERT_TRUE(ex.set(QStringLiteral("POSTCSV"), QStringLiteral("SELNO"), QString::number(c.selNo)));
            ASSERT_TRUE(ex.set(QStringLiteral("POSTCSV"), QStringLiteral("SELMODE"), QString::number(c.selMode)));
        }
        const QString pdf = ex.path(QStringLiteral("cards.pdf"));
        const ProgramRun r = runProgram(postcardRun(ex, pdf, c.arguments));
        ASSERT_TRUE(r.finished);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QString says = QString::fromUtf16(c.says);
        if (says.isEmpty())
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        else
            EXPECT_TRUE(r.err.contains(says)) << r.err.toStdString();
        ASSERT_EQ(CupsTestPrinter::pdfInfo(pdf).pages, c.pages.size());
        for (int p = 1; p <= c.pages.size(); ++p) {
            const QString text = pdfCompactText(pdf, p, p);
            EXPECT_TRUE(text.contains(digits[c.pages[p - 1] - 1])) << "page " << p << ": " << text.toStdString();
        }
    }
}

TEST(TovalinPrintRecords, LabelsOfTheChosenRecordsFromTheStartCell)
{
    ExampleCopy ex(QStringLiteral("label"));
    const QString pdf = ex.path(QStringLiteral("labels.pdf"));
    // Three records from the last cell of a 2 x 6 sheet: one on the first sheet, two on the next.
    const ProgramRun r = runProgram({ QStringLiteral("label"), QStringLiteral("--settings"), ex.settingsDir(),
                                      QStringLiteral("--output"), pdf, QStringLiteral("--records"), QStringLiteral("30,2,4"),
                                      QStringLiteral("--start-row"), QStringLiteral("6"), QStringLiteral("--start-column"),
                                      QStringLiteral("2") });
    ASSERT_TRUE(r.finished);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(CupsTestPrinter::pdfInfo(pdf).pages, 2);
    const QString first = pdfCompactText(pdf, 1, 1);
    const QString second = pdfCompactText(pdf, 2, 2);
    EXPECT_TRUE(first.contains(u(u"佐々木美穂"))) << first.toStdString();
    EXPECT_FALSE(first.contains(u(u"高橋誠")));
    EXPECT_TRUE(second.contains(u(u"高橋誠"))) << second.toStdString();
    EXPECT_TRUE(second.contains(u(u"千葉慎吾"))) << second.toStdString();
    EXPECT_LT(second.indexOf(u(u"高橋誠")), second.indexOf(u(u"千葉慎吾"))); // list order, row by row
    for (const QString& left : { u(u"山本健太郎"), u(u"株式会社みなと商会"), u(u"浦川陽菜") })
        EXPECT_FALSE(first.contains(left) || second.contains(left)) << left.toStdString();
}

TEST(TovalinPrintRecords, RunsThatChooseNothingEndWithStatusTwo)
{
    struct Case {
        const char* what;
        QString run;
        QVector<int> marked; // skipped by the column
        QStringList arguments;
        QStringList says;
    };
    const Case cases[] = {
        { "beyond the list", QStringLiteral("postcard"), {}, { QStringLiteral("--records"), QStringLiteral("31-") },
          { u(u"印刷する宛名がありません"), u(u"30 件") } },
        { "--record beyond the list", QStringLiteral("postcard"), {}, { QStringLiteral("--record"), QStringLiteral("31") },
          { u(u"30 件") } },
        { "label beyond the list", QStringLiteral("label"), {}, { QStringLiteral("--records"), QStringLiteral("99999999999") },
          { u(u"印刷する宛名がありません") } },
        { "the column skips the one chosen", QStringLiteral("postcard"), { 3 }, { QStringLiteral("--record"), QStringLiteral("3") },
          { u(u"印刷する宛名がありません"), QStringLiteral("--all") } },
        { "the column skips every record", QStringLiteral("label"), [] { QVector<int> v; for (int i = 1; i <= 30; ++i) v << i; return v; }(), {},
          { u(u"14 列目"), QStringLiteral("--all") } },
        { "--record and --records", QStringLiteral("postcard"), {}, { QStringLiteral("--record"), QStringLiteral("3"),
          QStringLiteral("--records"), QStringLiteral("4") }, { QStringLiteral("--records") } },
        { "unreadable list", QStringLiteral("label"), {}, { QStringLiteral("--records"), QStringLiteral("1,,x") },
          { QStringLiteral("x") } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExampleCopy ex(c.run);
        if (!c.marked.isEmpty()) {
            ASSERT_TRUE(ex.writeCsv(exampleWithColumn(c.marked)));
            ASSERT_TRUE(ex.set(QStringLiteral("POSTCSV"), QStringLiteral("SELNO"), QStringLiteral("14")));
            ASSERT_TRUE(ex.set(QStringLiteral("POSTCSV"), QStringLiteral("SELMODE"), QStringLiteral("1")));
        }
        const QString pdf = ex.path(QStringLiteral("none.pdf"));
        const ProgramRun r = runProgram(QStringList { c.run, QStringLiteral("--settings"), ex.settingsDir(),
                                                      QStringLiteral("--output"), pdf } + c.arguments);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        for (const QString& part : c.says)
            EXPECT_TRUE(r.err.contains(part)) << part.toStdString() << " in " << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
    }
}
