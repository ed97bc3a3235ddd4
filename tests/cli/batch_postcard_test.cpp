// The batch printer's postcard run in-process: the same pages as the postcard form on the
// same settings, the example's texts all inside their boxes, printing through the CUPS test
// printer (named, or from the form's printer file), and no printer at all.

#include "CliTestSupport.h"

#include "cli/BatchJob.h"
#include "cli/PostcardCommand.h"
#include "platform/DevMode.h"
#include "platform/SystemPrinter.h"
#include "postcard/PostcardTestSupport.h"
#include "preview/TplSetPrinter.h"
#include "platform/AppPaths.h"
#include "support/ScriptedMessages.h"
#include "postcard/ui/TFrmCsvPostSet.h"
#include "support/PrinterPaper.h"

#include <QApplication>
#include <QTest>

using namespace clitest;
using namespace postcardtest;

namespace {

CliOptions exampleOptions(const ExampleCopy& ex)
{
    CliOptions o;
    o.command = QStringLiteral("postcard");
    o.settingsDir = ex.settingsDir();
    return o;
}

} // namespace

TEST_F(PostcardEngineTest, BatchPrinterAndPostcardFormRecordTheSamePagesOfTheExample)
{
    ExampleCopy ex;
    const CliOptions options = exampleOptions(ex);
    RecordingConsole console;
    BatchJob job(options, console);
    ASSERT_EQ(job.load(), ExitCode::Ok) << console.all().toStdString();
    const PostcardSnapshot batch = BatchPostcardSnapshot(job, options);
    ASSERT_EQ(batch.pageCount(), 30);
    ASSERT_FALSE(batch.stamp.path.isEmpty()); // the example's picture is found beside the settings

    // The desktop program on the same files, started in the settings folder so that the
    // relative CSV name is found: the postcard form as it opens, with the honorific from
    // the CSV ("登録されている敬称を使用" checked by default).
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(ex.settingsDir()));
    AppPaths::setSettingsDirectory(ex.settingsDir());
    AppSettings::instance() = AppSettings();
    ScriptedMessages messages;
    PostcardSnapshot fromForm;
    {
        ASSERT_TRUE(LoadSettings(AppSettings::instance(), ex.ini()));
        TFrmCsvPostSet form;
        form.show();
        QApplication::processEvents();
        fromForm = form.pageSnapshot();
    }
    QDir::setCurrent(cwd);
    AppPaths::setSettingsDirectory(QString());
    AppSettings::instance() = AppSettings();

    EXPECT_EQ(fromForm.columns.fileName, QStringLiteral("../addresses.csv")); // as the form opened it
    fromForm.columns.fileName = batch.columns.fileName;
    EXPECT_TRUE(fromForm == batch);
    for (int page = 1; page <= batch.pageCount(); ++page) {
        SCOPED_TRACE(page);
        const PageRecording a = pe.render(fromForm, page);
        const PageRecording b = pe.render(batch, page);
        EXPECT_GT(ownOps(a).size(), 20);
        EXPECT_TRUE(samePages(a, b));
    }
}

TEST_F(PostcardEngineTest, EveryTextOfTheExampleFitsItsBox)
{
    // The engine clips a text only when it runs past its box: no card of the example may lose
    // a character that way.
    ExampleCopy ex;
    const CliOptions options = exampleOptions(ex);
    RecordingConsole console;
    BatchJob job(options, console);
    ASSERT_EQ(job.load(), ExitCode::Ok);
    const PostcardSnapshot s = BatchPostcardSnapshot(job, options);
    ASSERT_TRUE(pe.begin(s));
    for (int page = 1; page <= s.pageCount(); ++page) {
        const PageRecording rec = pe.page(page);
        int texts = 0;
        for (const PageOp& op : ownOps(rec)) {
            if (op.kind != PageOp::Kind::Text && op.kind != PageOp::Kind::VerticalText)
                continue;
            ++texts;
            EXPECT_TRUE(op.clip.isNull()) << "page " << page << ": " << describe(op);
            EXPECT_GE(op.rect.left(), 0) << describe(op);
            EXPECT_LE(op.rect.right(), 1000) << describe(op);
            EXPECT_LE(op.rect.bottom(), 1480) << describe(op);
        }
        EXPECT_GE(texts, 7 + 7 + 4 + 2) << "page " << page; // digits, sender digits, sender lines, address and name
    }
}

TEST(BatchPostcard, PrintsThroughTheNamedTestPrinterOnPostcardPaper)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    ExampleCopy ex;
    CliOptions options = exampleOptions(ex);
    options.printer = CupsTestPrinter::name();
    options.record = 2;
    RecordingConsole console;
    ASSERT_EQ(RunPostcardCommand(options, console), ExitCode::Ok) << console.all().toStdString();
    const int jobId = SystemPrinter::instance().lastJobId();
    ASSERT_GT(jobId, 0);
    const QString pdf = CupsTestPrinter::outputFile(jobId);
    ASSERT_FALSE(pdf.isEmpty());
    const CupsTestPrinter::PdfInfo info = CupsTestPrinter::pdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.pageSizePt.width(), 284, 1.5);
    EXPECT_NEAR(info.pageSizePt.height(), 420, 1.5);
    const QString text = pdfCompactText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("佐々木美穂様"))) << text.toStdString();
    CupsTestPrinter::removeOutput(pdf);
}

TEST(BatchPostcard, WithoutDestinationUsesTheFormsPrinterFile)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    ExampleCopy ex;
    // The form's printer file names the test printer with A4 paper: the run must use both.
    {
        TplSetPrinter stored(QStringLiteral("plSetPrinter1"));
        stored.setPrinterName(CupsTestPrinter::name());
        printerpaper::usePaper(stored, DevMode::PaperA4);
        ASSERT_TRUE(stored.saveToFile(ex.settingsDir() + QStringLiteral("/plSetPrinter1.plv")));
        // Something else in force before the run.
        SystemPrinter& sp = SystemPrinter::instance();
        DevMode mode = sp.devMode();
        mode.setPaperSize(DevMode::PaperJapanesePostcard);
        sp.setDevMode(mode);
    }
    CliOptions options = exampleOptions(ex);
    options.record = 1;
    RecordingConsole console;
    ASSERT_EQ(RunPostcardCommand(options, console), ExitCode::Ok) << console.all().toStdString();
    const QString pdf = CupsTestPrinter::outputFile(SystemPrinter::instance().lastJobId());
    ASSERT_FALSE(pdf.isEmpty());
    const CupsTestPrinter::PdfInfo info = CupsTestPrinter::pdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.pageSizePt.width(), 595, 1.5);
    EXPECT_NEAR(info.pageSizePt.height(), 842, 1.5);
    CupsTestPrinter::removeOutput(pdf);
}

TEST(BatchPostcard, WithoutAnyPrinterTheRunEndsWithAReason)
{
    ExampleCopy ex;
    ScopedCupsServer closed(QStringLiteral("127.0.0.1:1")); // a scheduler that is not there
    const struct {
        QString printer;
        int exitCode;
        QString says;
    } cases[] = {
        { QString(), ExitCode::Failure, QStringLiteral("プリンタがありません。") },
        { QStringLiteral("TovalinTest"), ExitCode::BadInput, QStringLiteral("プリンタ「TovalinTest」が見つかりません。") },
    };
    for (const auto& c : cases) {
        CliOptions options = exampleOptions(ex);
        options.printer = c.printer;
        RecordingConsole console;
        EXPECT_EQ(RunPostcardCommand(options, console), c.exitCode);
        EXPECT_TRUE(console.all().contains(c.says)) << console.all().toStdString();
        EXPECT_TRUE(console.all().contains(QStringLiteral("--output"))) << console.all().toStdString();
    }
}

// Pictures for a person to look at, written only when TOVALIN_SCREENSHOT_DIR names a folder:
// the postcard form opened on the example, and the first card as the preview shows it.
TEST_F(PostcardEngineTest, ScreenshotsOfTheExample)
{
    const QString out = qEnvironmentVariable("TOVALIN_SCREENSHOT_DIR");
    if (out.isEmpty())
        GTEST_SKIP() << "set TOVALIN_SCREENSHOT_DIR to write the pictures";
    QDir().mkpath(out);
    ExampleCopy ex;
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(ex.settingsDir()));
    AppPaths::setSettingsDirectory(ex.settingsDir());
    AppSettings::instance() = AppSettings();
    ScriptedMessages messages;
    {
        ASSERT_TRUE(LoadSettings(AppSettings::instance(), ex.ini()));
        TFrmCsvPostSet form;
        form.show();
        QTest::qWait(100);
        EXPECT_TRUE(form.grab().save(out + QStringLiteral("/example-postcard-form.png")));
        const PageRecording preview = pe.render(form.pageSnapshot(), 1);
        EXPECT_TRUE(preview.toImage(1000).save(out + QStringLiteral("/example-preview-page1.png")));
    }
    QDir::setCurrent(cwd);
    AppPaths::setSettingsDirectory(QString());
    AppSettings::instance() = AppSettings();
}
