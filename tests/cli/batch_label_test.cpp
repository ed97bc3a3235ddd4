// The batch printer's label run in-process: the same sheets as the label form on the example,
// the start cell checked against the sheet of the settings, a hand-edited sheet reported and
// printed as the form would open it, and printing through the CUPS test printer on A4.

#include "CliTestSupport.h"

#include "cli/BatchJob.h"
#include "cli/LabelCommand.h"
#include "label/LabelTestSupport.h"
#include "label/ui/TFrmCsvLabelSet.h"
#include "platform/AppPaths.h"
#include "support/ScriptedMessages.h"

#include <QApplication>

using namespace clitest;
using namespace labeltest;

namespace {

CliOptions labelOptions(const ExampleCopy& ex)
{
    CliOptions o;
    o.command = QStringLiteral("label");
    o.settingsDir = ex.settingsDir();
    return o;
}

bool samePage(const PageRecording& a, const PageRecording& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const PageOp& x = a.ops()[i];
        const PageOp& y = b.ops()[i];
        if (x.kind != y.kind || x.text != y.text || x.origin != y.origin || x.rect != y.rect || x.font != y.font
            || x.points != y.points)
            return false;
    }
    return true;
}

} // namespace

TEST_F(LabelEngineTest, BatchPrinterAndLabelFormDrawTheSameSheetsOfTheExample)
{
    ExampleCopy ex(QStringLiteral("label"));
    const CliOptions options = labelOptions(ex);
    RecordingConsole console;
    BatchJob job(options, console);
    ASSERT_EQ(job.load(), ExitCode::Ok) << console.all().toStdString();
    LayoutOpening report;
    const LabelSnapshot batch = BatchLabelSnapshot(job, options, &report);
    EXPECT_TRUE(report.isEmpty()) << report.message().toStdString();
    // 86.4 x 42.3 mm labels, 2 x 6 to a sheet: 30 addresses on 3 sheets.
    EXPECT_EQ(batch.labelWidth, 864);
    EXPECT_EQ(batch.labelHeight, 423);
    ASSERT_EQ(batch.pageCount(), 3);

    // The label form on the same files, started in the settings folder so that the relative
    // CSV name is found.
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(ex.settingsDir()));
    AppPaths::setSettingsDirectory(ex.settingsDir());
    AppSettings::instance() = AppSettings();
    ScriptedMessages messages;
    LabelSnapshot fromForm;
    {
        ASSERT_TRUE(LoadSettings(AppSettings::instance(), ex.ini()));
        TFrmCsvLabelSet form;
        form.show();
        QApplication::processEvents();
        EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
        fromForm = form.pageSnapshot();
    }
    QDir::setCurrent(cwd);
    AppPaths::setSettingsDirectory(QString());
    AppSettings::instance() = AppSettings();

    fromForm.columns.fileName = batch.columns.fileName;
    for (int n = 1; n <= kFieldCount; ++n)
        EXPECT_EQ(fromForm.field(n), batch.field(n)) << "field " << n;
    EXPECT_TRUE(fromForm == batch);
    const QVector<PageRecording> a = le.preview(fromForm);
    const QVector<PageRecording> b = le.preview(batch);
    ASSERT_EQ(a.size(), 3);
    ASSERT_EQ(b.size(), 3);
    for (int p = 0; p < 3; ++p) {
        EXPECT_GT(a[p].size(), 12 + 3 * 6) << "page " << p + 1; // outlines, and at least 6 labels of 3 texts
        EXPECT_TRUE(samePage(a[p], b[p])) << "page " << p + 1;
    }
}

TEST_F(LabelEngineTest, EveryTextOfTheExampleStaysInsideItsLabel)
{
    ExampleCopy ex(QStringLiteral("label"));
    const CliOptions options = labelOptions(ex);
    RecordingConsole console;
    BatchJob job(options, console);
    ASSERT_EQ(job.load(), ExitCode::Ok);
    const LabelSnapshot s = BatchLabelSnapshot(job, options);
    const QVector<PageRecording> pages = le.preview(s);
    ASSERT_EQ(pages.size(), 3);
    int labels = 0;
    for (int p = 1; p <= 3; ++p) {
        for (int r = 1; r <= 6; ++r) {
            for (int c = 1; c <= 2; ++c) {
                if (s.recordAt(p, r, c) < 0)
                    continue;
                ++labels;
                const QRect cell(s.cellOrigin(r, c), QSize(s.labelWidth, s.labelHeight));
                EXPECT_GE(textsIn(pages[p - 1], cell).size(), 3) << "page " << p << " cell " << r << "," << c;
            }
        }
        for (const PageOp& op : pages[p - 1].ops()) {
            if (op.kind != PageOp::Kind::Text)
                continue;
            // Not clipped by its box, and within the label that holds its reference point.
            EXPECT_TRUE(op.clip.isNull()) << op.text.toStdString();
            bool inside = false;
            for (int r = 1; r <= 6; ++r) {
                for (int c = 1; c <= 2; ++c) {
                    const QRectF cell(s.cellOrigin(r, c), QSizeF(s.labelWidth, s.labelHeight));
                    inside = inside || cell.contains(op.rect);
                }
            }
            EXPECT_TRUE(inside) << op.text.toStdString();
        }
    }
    EXPECT_EQ(labels, 30);
}

TEST(BatchLabel, StartCellMustLieOnTheSheetOfTheSettings)
{
    ExampleCopy ex(QStringLiteral("label"));
    ASSERT_TRUE(ex.set(QStringLiteral("LABEL"), QStringLiteral("ROW"), QStringLiteral("4")));
    struct Case {
        int row;
        int column;
        int status;
        const char* mentions; // nullptr: nothing is said
    };
    const Case cases[] = {
        {1, 1, ExitCode::Ok, nullptr},       {4, 2, ExitCode::Ok, nullptr},
        {5, 1, ExitCode::BadInput, "--start-row 5"}, {1, 3, ExitCode::BadInput, "--start-column 3"},
    };
    for (const Case& c : cases) {
        CliOptions options = labelOptions(ex);
        options.startRow = c.row;
        options.startColumn = c.column;
        RecordingConsole console;
        BatchJob job(options, console);
        ASSERT_EQ(job.load(), ExitCode::Ok);
        EXPECT_EQ(CheckStartCell(job, options, console), c.status) << c.row << "," << c.column;
        if (c.mentions) {
            EXPECT_TRUE(console.all().contains(QString::fromUtf8(c.mentions))) << console.all().toStdString();
        } else {
            EXPECT_TRUE(console.all().isEmpty()) << console.all().toStdString();
        }
    }
}

TEST(BatchLabel, HandEditedSheetIsReportedAndPrintedAsTheFormOpensIt)
{
    ExampleCopy ex(QStringLiteral("label"));
    ASSERT_TRUE(ex.set(QStringLiteral("LABEL"), QStringLiteral("COL"), QStringLiteral("20")));
    const QString pdf = ex.path(QStringLiteral("labels.pdf"));
    CliOptions options = labelOptions(ex);
    options.output = pdf;
    RecordingConsole console;
    EXPECT_EQ(RunLabelCommand(options, console), ExitCode::Ok) << console.all().toStdString();
    const QString said = console.all();
    EXPECT_TRUE(said.contains(QStringLiteral("ラベル横 20 → 8"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("ラベルが項目より小さくなります。"))) << said.toStdString();
    // 8 x 6 labels: 30 addresses on one sheet.
    EXPECT_EQ(CupsTestPrinter::pdfInfo(pdf).pages, 1);
}

TEST(BatchLabel, PrintsThroughTheNamedTestPrinterOnA4)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    ExampleCopy ex(QStringLiteral("label"));
    CliOptions options = labelOptions(ex);
    options.printer = CupsTestPrinter::name();
    options.startRow = 6;
    options.startColumn = 2;
    RecordingConsole console;
    ASSERT_EQ(RunLabelCommand(options, console), ExitCode::Ok) << console.all().toStdString();
    const int jobId = SystemPrinter::instance().lastJobId();
    ASSERT_GT(jobId, 0);
    const QString pdf = CupsTestPrinter::outputFile(jobId);
    ASSERT_FALSE(pdf.isEmpty());
    const CupsTestPrinter::PdfInfo info = CupsTestPrinter::pdfInfo(pdf);
    // One label on the first sheet, 29 on the next three.
    EXPECT_EQ(info.pages, 4);
    EXPECT_NEAR(info.pageSizePt.width(), 595, 1.5);
    EXPECT_NEAR(info.pageSizePt.height(), 842, 1.5);
    const QString first = pdfCompactText(pdf, 1, 1);
    EXPECT_TRUE(first.contains(QString::fromUtf16(u"山本健太郎様"))) << first.toStdString();
    EXPECT_FALSE(first.contains(QString::fromUtf16(u"佐々木"))) << first.toStdString();
    const QString second = pdfCompactText(pdf, 2, 2);
    EXPECT_TRUE(second.startsWith(QString::fromUtf16(u"〒167-0051"))) << second.toStdString();
    CupsTestPrinter::removeOutput(pdf);
}

TEST(BatchLabel, WithoutPrinterFileATheDefaultPrintersA4OrAWarning)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    TOVALIN_REQUIRE_PRINTER(CupsTestPrinter::nameWithoutPostcard());
    // The default printer without a printer file, then a printer file that keeps postcard paper.
    const struct {
        const char* name;
        QString printer;
        bool storedPostcard;
        QSizeF page;
        QString warning;
    } cases[] = {
        { "no printer file", CupsTestPrinter::nameWithoutPostcard(), false, QSizeF(595, 842), QString() },
        { "a printer file with postcard paper", CupsTestPrinter::name(), true, QSizeF(284, 420),
          QString::fromUtf16(u"プリンタ「%1」の用紙「Postcard」（100.0 × 148.0 mm）はA4（210 × 297 mm）ではありません。そのまま印刷します。")
              .arg(CupsTestPrinter::name()) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedDefaultPrinter defaultPrinter(c.printer);
        ExampleCopy ex(QStringLiteral("label"));
        if (c.storedPostcard) {
            TplSetPrinter stored(QStringLiteral("plSetLabel"));
            stored.setPrinterName(c.printer);
            printerpaper::usePaper(stored, DevMode::PaperJapanesePostcard);
            ASSERT_TRUE(stored.saveToFile(ex.settingsDir() + QStringLiteral("/plSetLabel.plv")));
        }
        CliOptions options = labelOptions(ex);
        options.startRow = 6;
        RecordingConsole console;
        ASSERT_EQ(RunLabelCommand(options, console), ExitCode::Ok) << console.all().toStdString();
        EXPECT_EQ(console.all(), c.warning);
        const QString pdf = CupsTestPrinter::outputFile(SystemPrinter::instance().lastJobId());
        ASSERT_FALSE(pdf.isEmpty());
        const CupsTestPrinter::PdfInfo info = CupsTestPrinter::pdfInfo(pdf);
        EXPECT_NEAR(info.pageSizePt.width(), c.page.width(), 1.5);
        EXPECT_NEAR(info.pageSizePt.height(), c.page.height(), 1.5);
        CupsTestPrinter::removeOutput(pdf);
    }
}
