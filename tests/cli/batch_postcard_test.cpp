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
#include "support/CupsTestPrinter.h"
#include "support/PrinterPaper.h"

#include "support/TestFiles.h"

#include <QApplication>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QProcess>
#include <QTemporaryDir>
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
    const PostcardSnapshot batch = BatchPostcardSnapshot(job);
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

TEST_F(PostcardEngineTest, UtfEightListsPrintTheSameCardsAsTheShiftJisExample)
{
    ExampleCopy ex;
    const QByteArray sjis = TestFiles::read(ex.csv());
    const QByteArray utf8 = QStringDecoder("windows-31j")(sjis).operator QString().toUtf8();
    QString said;
    auto load = [&ex, &said](const QByteArray& bytes, const QString& code, const QString& quote, bool encodingGiven,
                             CsvEncoding encoding, PostcardSnapshot* out) {
        ASSERT_TRUE(ex.writeCsv(bytes));
        ASSERT_TRUE(ex.set(QStringLiteral("POSTCSV"), QStringLiteral("CSVCODE"), code));
        ASSERT_TRUE(ex.set(QStringLiteral("POSTCSV"), QStringLiteral("CSVQUOTE"), quote));
        CliOptions options = exampleOptions(ex);
        options.encodingGiven = encodingGiven;
        options.encoding = encoding;
        RecordingConsole console;
        BatchJob job(options, console);
        ASSERT_EQ(job.load(), ExitCode::Ok) << console.all().toStdString();
        said = console.all();
        *out = BatchPostcardSnapshot(job);
    };
    PostcardSnapshot reference;
    load(sjis, QStringLiteral("0"), QStringLiteral("0"), false, CsvEncoding::Auto, &reference);
    ASSERT_EQ(reference.pageCount(), 30);
    ASSERT_EQ(reference.columnsOf(0).name1, QStringLiteral("山本　健太郎"));

    const struct {
        const char* name;
        QByteArray bytes;
        const char* code;  // CSVCODE in the settings
        const char* quote; // CSVQUOTE
        bool encodingGiven;
        CsvEncoding encoding; // --encoding
    } cases[] = {
        { "UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8, "0", "0", false, CsvEncoding::Auto },
        { "UTF-8 without one", utf8, "0", "0", false, CsvEncoding::Auto },
        { "UTF-8 chosen in the settings", utf8, "2", "0", false, CsvEncoding::Auto },
        { "UTF-8 chosen for the run", utf8, "1", "0", true, CsvEncoding::Utf8 },
        { "Shift-JIS chosen in the settings", sjis, "1", "0", false, CsvEncoding::Auto },
        { "Shift-JIS chosen for the run", sjis, "2", "0", true, CsvEncoding::ShiftJis },
        { "UTF-8 with quoting on", "\xEF\xBB\xBF" + utf8, "0", "1", false, CsvEncoding::Auto },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PostcardSnapshot s;
        load(c.bytes, QString::fromLatin1(c.code), QString::fromLatin1(c.quote), c.encodingGiven, c.encoding, &s);
        EXPECT_TRUE(said.isEmpty()) << said.toStdString();
        ASSERT_EQ(s.records, reference.records);
        for (int page = 1; page <= reference.pageCount(); page += 7)
            EXPECT_TRUE(samePages(pe.render(s, page), pe.render(reference, page))) << "page " << page;
    }

    // The wrong encoding for the run is obeyed: the names come out garbled, and the bytes
    // code page 932 cannot read are reported.
    PostcardSnapshot wrong;
    load(utf8, QStringLiteral("0"), QStringLiteral("0"), true, CsvEncoding::ShiftJis, &wrong);
    EXPECT_NE(wrong.columnsOf(0).name1, reference.columnsOf(0).name1);
    EXPECT_TRUE(said.contains(u(u"Shift-JIS として読めない文字が"))) << said.toStdString();
}

TEST(BatchPostcard, QuotedCommasKeepTheirColumnsWithQuotingOn)
{
    ExampleCopy ex;
    // The company of the third record gets a comma, as a spreadsheet writes it.
    const QString text = QStringDecoder("windows-31j")(TestFiles::read(ex.csv()));
    const QString withComma = QString(text).replace(u(u"\"株式会社みなと商会\""), u(u"\"株式会社Ａ,Ｂ\"\"みなと\"\"\""));
    ASSERT_NE(withComma, text);
    ASSERT_TRUE(ex.writeCsv(QStringEncoder("windows-31j")(withComma)));
    const struct {
        const char* quote;
        QString name1;
        QString barcode;
        QString honorific;
    } cases[] = {
        { "1", u(u"株式会社Ａ,Ｂ\"みなと\""), QStringLiteral("2310023153"), u(u"様") },
        // Off, as lists were always read: the comma splits the name and the columns shift.
        { "0", u(u"株式会社Ａ"), u(u"総務部　中村　浩二"), QStringLiteral("2310023153") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quote);
        ASSERT_TRUE(ex.set(QStringLiteral("POSTCSV"), QStringLiteral("CSVQUOTE"), QString::fromLatin1(c.quote)));
        const CliOptions options = exampleOptions(ex);
        RecordingConsole console;
        BatchJob job(options, console);
        ASSERT_EQ(job.load(), ExitCode::Ok) << console.all().toStdString();
        const PostcardSnapshot s = BatchPostcardSnapshot(job);
        ASSERT_EQ(s.pageCount(), 30);
        const RecordColumns third = s.columnsOf(2);
        EXPECT_EQ(third.name1, c.name1);
        EXPECT_EQ(third.barcode, c.barcode);
        EXPECT_EQ(third.honorific, c.honorific);
        // The records around it are not touched.
        EXPECT_EQ(s.columnsOf(1).name1, u(u"佐々木　美穂"));
        EXPECT_EQ(s.columnsOf(3).postalCode, QStringLiteral("330-0063"));
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
    const PostcardSnapshot s = BatchPostcardSnapshot(job);
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
    // A paper that is not a postcard is used as stored, with a warning.
    EXPECT_TRUE(console.all().contains(u(u"用紙「A4」（210.0 × 297.0 mm）はハガキ（100 × 148 mm）ではありません。そのまま印刷します。")))
        << console.all().toStdString();
    const QString pdf = CupsTestPrinter::outputFile(SystemPrinter::instance().lastJobId());
    ASSERT_FALSE(pdf.isEmpty());
    const CupsTestPrinter::PdfInfo info = CupsTestPrinter::pdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.pageSizePt.width(), 595, 1.5);
    EXPECT_NEAR(info.pageSizePt.height(), 842, 1.5);
    CupsTestPrinter::removeOutput(pdf);
}

TEST(BatchPostcard, WithoutPrinterFileTheDefaultPrintersPostcardPaperOrAWarning)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    TOVALIN_REQUIRE_PRINTER(CupsTestPrinter::nameWithoutPostcard());
    const struct {
        QString printer;  // the user's default printer; its own default paper is A4
        QSizeF page;      // points
        QString warning;  // empty: none
    } cases[] = {
        { CupsTestPrinter::name(), QSizeF(284, 420), QString() },
        { CupsTestPrinter::nameWithoutPostcard(), QSizeF(595, 842),
          u(u"プリンタ「%1」の用紙「A4」（210.0 × 297.0 mm）はハガキ（100 × 148 mm）ではありません。そのまま印刷します。")
              .arg(CupsTestPrinter::nameWithoutPostcard()) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printer.toStdString());
        ScopedDefaultPrinter defaultPrinter(c.printer);
        ExampleCopy ex;
        ASSERT_FALSE(QFile::exists(ex.settingsDir() + QStringLiteral("/plSetPrinter1.plv")));
        CliOptions options = exampleOptions(ex);
        options.record = 1;
        RecordingConsole console;
        ASSERT_EQ(RunPostcardCommand(options, console), ExitCode::Ok) << console.all().toStdString();
        EXPECT_EQ(console.all(), c.warning);
        const QString pdf = CupsTestPrinter::outputFile(SystemPrinter::instance().lastJobId());
        ASSERT_FALSE(pdf.isEmpty());
        const CupsTestPrinter::PdfInfo info = CupsTestPrinter::pdfInfo(pdf);
        EXPECT_EQ(info.pages, 1);
        EXPECT_NEAR(info.pageSizePt.width(), c.page.width(), 1.5);
        EXPECT_NEAR(info.pageSizePt.height(), c.page.height(), 1.5);
        EXPECT_TRUE(pdfCompactText(pdf).contains(u(u"山本健太郎様")));
        CupsTestPrinter::removeOutput(pdf);
        // The batch printer never writes the form's printer file.
        EXPECT_FALSE(QFile::exists(ex.settingsDir() + QStringLiteral("/plSetPrinter1.plv")));
    }
}

TEST(BatchPostcard, PrinterAndOutputTroubleEndsWithItsStatusAndLeavesNoFile)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    TOVALIN_REQUIRE_PRINTER(CupsTestPrinter::nameWithoutPostcard());
    // A file system of 64 kB, too small for the run's PDF (mounting needs the superuser).
    QTemporaryDir tiny;
    const bool tinyMounted = QProcess::execute(QStringLiteral("mount"), { QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                                    QStringLiteral("-o"), QStringLiteral("size=64k"),
                                                                    QStringLiteral("tmpfs"), tiny.path() })
        == 0;
    struct Unmount {
        bool mounted;
        QString path;
        ~Unmount()
        {
            if (mounted)
                QProcess::execute(QStringLiteral("umount"), { path });
        }
    } unmount { tinyMounted, tiny.path() };
    enum Setup { DamagedPrinterFile, PrinterWithoutPostcards, OutputIsAFolder, OutputUnwritable, OutputOnAFullDisk };
    const struct {
        const char* name;
        Setup setup;
        int exitCode;
        QString says;
        bool printed; // a one-card job reached a printer
    } cases[] = {
        { "damaged printer file", DamagedPrinterFile, ExitCode::Ok, QStringLiteral("プリンタ設定ファイルを読み込めません"), true },
        { "printer without the run's paper", PrinterWithoutPostcards, ExitCode::Ok, QStringLiteral("にはハガキの用紙がありません"), true },
        { "output names a folder", OutputIsAFolder, ExitCode::Failure, QStringLiteral("出力ファイルを作れません"), false },
        { "output in a place nothing can be written", OutputUnwritable, ExitCode::Failure, QStringLiteral("印刷を開始できません"), false },
        { "output on a disk that fills up", OutputOnAFullDisk, ExitCode::Failure, QStringLiteral("印刷データをプリンタへ送れませんでした"), false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExampleCopy ex;
        CliOptions options = exampleOptions(ex);
        options.record = 1;
        switch (c.setup) {
        case DamagedPrinterFile: {
            QFile plv(ex.settingsDir() + QStringLiteral("/plSetPrinter1.plv"));
            ASSERT_TRUE(plv.open(QIODevice::WriteOnly));
            plv.write(QByteArray("TPF0\x0dTplSetPrinter\x0dplSetPrinter1\x0bPrinterName\x06\x40", 45)); // cut short
            break;
        }
        case PrinterWithoutPostcards:
            options.printer = CupsTestPrinter::nameWithoutPostcard();
            break;
        case OutputIsAFolder:
            options.output = ex.path(QStringLiteral("cards.pdf"));
            ASSERT_TRUE(QDir().mkdir(options.output));
            break;
        case OutputUnwritable:
            // Not even the superuser can make a file here.
            options.output = QStringLiteral("/proc/tovalin-test-%1.pdf").arg(QCoreApplication::applicationPid());
            break;
        case OutputOnAFullDisk:
            if (!tinyMounted)
                continue;
            options.output = tiny.filePath(QStringLiteral("cards.pdf"));
            options.record = 0; // 30 cards with their fonts: far more than 64 kB
            break;
        }
        RecordingConsole console;
        ConsoleMessages messages(console);
        Messages::setCurrent(&messages);
        const int jobBefore = SystemPrinter::instance().lastJobId();
        const int status = RunPostcardCommand(options, console);
        Messages::setCurrent(nullptr);
        EXPECT_EQ(status, c.exitCode) << console.all().toStdString();
        EXPECT_TRUE(console.all().contains(c.says)) << console.all().toStdString();
        if (c.printed) {
            const int job = SystemPrinter::instance().lastJobId();
            ASSERT_NE(job, jobBefore);
            const QString pdf = CupsTestPrinter::outputFile(job);
            EXPECT_EQ(CupsTestPrinter::pdfInfo(pdf).pages, 1);
            CupsTestPrinter::removeOutput(pdf);
        } else {
            EXPECT_EQ(SystemPrinter::instance().lastJobId(), jobBefore);
            if (c.setup == OutputIsAFolder) {
                EXPECT_TRUE(QDir(options.output).isEmpty());
            } else {
                EXPECT_FALSE(QFileInfo::exists(options.output));
            }
        }
    }
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
