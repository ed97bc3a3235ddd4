// tovalin-print as its users run it: the example into a PDF, the exit status and message of
// every kind of wrong input, input that is odd but printable, Ctrl+C, and the CUPS test
// printer.

#include "CliTestSupport.h"

#include "support/CupsTestPrinter.h"
#include "support/TestFiles.h"
#include "support/TestText.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QStringDecoder>
#include <QThread>

using namespace clitest;

using testtext::sjis;
using testtext::u;

TEST(TovalinPrint, ExampleBecomesPostcardPagesWithSearchableText)
{
    ExampleCopy ex;
    const QString pdf = ex.path(QStringLiteral("cards.pdf"));
    const ProgramRun r = runProgram({ QStringLiteral("postcard"), QStringLiteral("--settings"), ex.settingsDir(),
                               QStringLiteral("--output"), pdf });
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString(); // not a terminal: no progress, no warnings

    const CupsTestPrinter::PdfInfo info = CupsTestPrinter::pdfInfo(pdf);
    ASSERT_TRUE(info.ok) << info.error.toStdString();
    EXPECT_EQ(info.pages, 30);
    EXPECT_NEAR(info.pageSizePt.width(), 100 / 25.4 * 72, 0.6); // whole points
    EXPECT_NEAR(info.pageSizePt.height(), 148 / 25.4 * 72, 0.6);
    EXPECT_LT(info.pageSizePt.width(), info.pageSizePt.height());

    // Sideways runs in a vertical column (the hyphens) are text of their own that pdftotext
    // puts elsewhere in its reading order: they are left out of the comparison.
    const QString first = pdfCompactText(pdf, 1, 1).remove(QLatin1Char('-'));
    // The example's address lines are set with 漢数字 十百.
    for (const QString& part : { QStringLiteral("1540015"), u(u"東京都世田谷区桜新町二十二三"), u(u"山本健太郎様"),
                                 QStringLiteral("2400113"), u(u"神奈川県三浦郡葉山町長柄一二三四五"), u(u"青木晴彦") })
        EXPECT_TRUE(first.contains(part)) << part.toStdString() << " in " << first.toStdString();
    const QString last = pdfCompactText(pdf, 30, 30);
    EXPECT_TRUE(last.contains(u(u"千葉慎吾様"))) << last.toStdString();

    // No preview-only guides: the pale red postal-code boxes are not on the printed card.
    const QImage page = CupsTestPrinter::renderPage(pdf, 1, 254); // one pixel per 0.1 mm
    ASSERT_FALSE(page.isNull());
    int paleRed = 0, dark = 0;
    for (int y = 110; y < 215; ++y) {
        for (int x = 440; x < 880; ++x) {
            const QColor c = page.pixelColor(x, y);
            paleRed += c.red() > 200 && c.green() < 235 && c.green() > 120 && c.blue() > 120 && c.red() - c.green() > 40;
            dark += c.red() < 100 && c.green() < 100 && c.blue() < 100;
        }
    }
    EXPECT_EQ(paleRed, 0);
    EXPECT_GT(dark, 200); // the seven digits are there
}

TEST(TovalinPrint, SpreadsheetUtfEightListPrintsTheCardsOfTheShiftJisExample)
{
    ExampleCopy ex;
    const QByteArray original = TestFiles::read(ex.csv());
    const QString text = QStringDecoder("windows-31j")(original);
    const struct {
        const char* name;
        QByteArray list;
        QStringList extra;
    } cases[] = {
        { "Shift-JIS", original, {} },
        { "UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + text.toUtf8(), {} },
        { "UTF-8 without one, named for the run", text.toUtf8(), { QStringLiteral("--encoding"), QStringLiteral("utf8") } },
    };
    QString reference;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(ex.writeCsv(c.list));
        const QString pdf = ex.path(QStringLiteral("cards.pdf"));
        const ProgramRun r = runProgram(QStringList { QStringLiteral("postcard"), QStringLiteral("--settings"),
                                                      ex.settingsDir(), QStringLiteral("--output"), pdf }
                                        + c.extra);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        EXPECT_EQ(CupsTestPrinter::pdfInfo(pdf).pages, 30);
        const QString cards = pdfCompactText(pdf);
        EXPECT_TRUE(cards.contains(u(u"山本健太郎様"))) << cards.toStdString();
        if (reference.isEmpty())
            reference = cards;
        EXPECT_EQ(cards, reference);
    }
}

TEST(TovalinPrint, OneRecordAndAFixedHonorific)
{
    ExampleCopy ex;
    const QString pdf = ex.path(QStringLiteral("one.pdf"));
    const ProgramRun r = runProgram({ QStringLiteral("postcard"), QStringLiteral("--settings"), ex.settingsDir(),
                               QStringLiteral("--output"), pdf, QStringLiteral("--record"), QStringLiteral("3"),
                               QStringLiteral("--honorific"), u(u"殿") });
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(CupsTestPrinter::pdfInfo(pdf).pages, 1);
    const QString text = pdfCompactText(pdf);
    EXPECT_TRUE(text.contains(u(u"株式会社みなと商会"))) << text.toStdString();
    EXPECT_TRUE(text.contains(u(u"総務部中村浩二殿"))) << text.toStdString();
    EXPECT_FALSE(text.contains(u(u"様")));
}

TEST(TovalinPrint, WrongArgumentsAndInputEndWithStatusAndReason)
{
    enum Setup { None, NoIni, CsvMissing, CsvEmpty, CsvHeaderOnly, ColumnBeyondRecord, NotAFolder };
    const struct {
        const char* name;
        Setup setup;
        QStringList arguments; // after "postcard --settings DIR" unless the first is "-"
        int exitCode;
        QString says;          // on standard error (standard output for --help)
    } cases[] = {
        { "no command", None, { QStringLiteral("-") }, 2, QStringLiteral("postcard") },
        { "help", None, { QStringLiteral("-"), QStringLiteral("--help") }, 0, QStringLiteral("--honorific") },
        { "unknown command", None, { QStringLiteral("-"), QStringLiteral("labels") }, 2, QStringLiteral("labels") },
        { "unknown option", None, { QStringLiteral("--fast") }, 2, QStringLiteral("--fast") },
        { "record zero", None, { QStringLiteral("--record"), QStringLiteral("0") }, 2, QStringLiteral("--record") },
        { "record beyond the list", None, { QStringLiteral("--record"), QStringLiteral("31"), QStringLiteral("--output"), QStringLiteral("x.pdf") },
          2, u(u"30 件") },
        { "both destinations", None, { QStringLiteral("--output"), QStringLiteral("a.pdf"), QStringLiteral("--printer"), QStringLiteral("P") },
          2, QStringLiteral("--printer") },
        { "missing settings folder", NotAFolder, { QStringLiteral("--output"), QStringLiteral("x.pdf") }, 2, u(u"設定フォルダがありません") },
        { "no settings file", NoIni, { QStringLiteral("--output"), QStringLiteral("x.pdf") }, 2, u(u"設定ファイルがありません") },
        { "address list missing", CsvMissing, { QStringLiteral("--output"), QStringLiteral("x.pdf") }, 2,
          u(u"CSVファイルが指定されていないか存在しません。\n再設定してから実行して下さい。") },
        { "address list empty", CsvEmpty, { QStringLiteral("--output"), QStringLiteral("x.pdf") }, 2, u(u"CSVファイルデータが空です。") },
        { "header only", CsvHeaderOnly, { QStringLiteral("--output"), QStringLiteral("x.pdf") }, 2, u(u"CSVファイルデータが空です。") },
        { "column beyond the record", ColumnBeyondRecord, { QStringLiteral("--output"), QStringLiteral("x.pdf") }, 2,
          u(u"設定された敬称項目位置が不正です。") },
        { "output folder missing", None, { QStringLiteral("--output"), QStringLiteral("no/such/dir/x.pdf") }, 2, u(u"出力ファイルを作れません") },
        { "printer unknown", None, { QStringLiteral("--printer"), QStringLiteral("NoSuchPrinter") }, 2, QStringLiteral("NoSuchPrinter") },
        { "unknown encoding", None, { QStringLiteral("--encoding"), QStringLiteral("euc") }, 2, QStringLiteral("--encoding") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExampleCopy ex;
        QString settings = ex.settingsDir();
        switch (c.setup) {
        case None: break;
        case NoIni: ASSERT_TRUE(QFile::remove(ex.ini())); break;
        case CsvMissing: ASSERT_TRUE(QFile::remove(ex.csv())); break;
        case CsvEmpty: ASSERT_TRUE(ex.writeCsv(QByteArray())); break;
        case CsvHeaderOnly: ASSERT_TRUE(ex.writeCsv(sjis(u(u"\"郵便番号\",\"住所1\"\r\n")))); break;
        case ColumnBeyondRecord: ASSERT_TRUE(ex.set(QStringLiteral("POSTCSV"), QStringLiteral("KEISNO"), QStringLiteral("14"))); break;
        case NotAFolder: settings = ex.path(QStringLiteral("nowhere")); break;
        }
        QStringList args;
        if (c.arguments.value(0) == QLatin1String("-"))
            args = c.arguments.mid(1);
        else
            args = QStringList { QStringLiteral("postcard"), QStringLiteral("--settings"), settings } + c.arguments;
        for (QString& a : args) {
            if (a.endsWith(QLatin1String(".pdf")))
                a = ex.path(a);
        }
        const ProgramRun r = runProgram(args);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        const QString said = c.exitCode == 0 ? r.out : r.err;
        EXPECT_TRUE(said.contains(c.says)) << said.toStdString();
        if (c.exitCode == 2) {
            EXPECT_FALSE(QFile::exists(ex.path(QStringLiteral("x.pdf"))));
        }
    }
}

TEST(TovalinPrint, OddButPrintableInputPrintsWithWarnings)
{
    enum Setup { StampGone, FaceMissing, OutOfRange, ShortRecord, BadBytes };
    const struct {
        const char* name;
        Setup setup;
        int pages;
        QString warning;   // empty: nothing on standard error
        QString onPage1;   // compact text that still appears on the first card
    } cases[] = {
        { "stamp file vanished", StampGone, 30, u(u"画像ファイルがありません"), u(u"山本健太郎様") },
        { "face not installed", FaceMissing, 30, u(u"フォント「No Such Mincho」"), u(u"山本健太郎様") },
        // A length held to 0 and a 5000-point name cannot hold their texts: told by the check.
        { "values out of range", OutOfRange, 30, u(u"枠に収まりません: 2件目 住所２"), u(u"山本健太郎様") },
        { "record with fewer columns", ShortRecord, 31, QString(), u(u"山本健太郎様") },
        { "bytes that are not Shift-JIS", BadBytes, 31, u(u"Shift-JIS として読めない文字が 1 か所"), u(u"山本健太郎様") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExampleCopy ex;
        switch (c.setup) {
        case StampGone:
            ASSERT_TRUE(QFile::remove(ex.settingsDir() + QStringLiteral("/nenga.jpg")));
            break;
        case FaceMissing:
            ASSERT_TRUE(ex.set(QStringLiteral("POSTFLD4"), QStringLiteral("FONTNAME"), QStringLiteral("@No Such Mincho")));
            break;
        case OutOfRange:
            ASSERT_TRUE(ex.set(QStringLiteral("POSTFLD2"), QStringLiteral("FONTSIZE"), QStringLiteral("0")));
            ASSERT_TRUE(ex.set(QStringLiteral("POSTFLD3"), QStringLiteral("WIDTH"), QStringLiteral("-50")));
            ASSERT_TRUE(ex.set(QStringLiteral("POSTFLD10"), QStringLiteral("LEFT"), QStringLiteral("2000")));
            ASSERT_TRUE(ex.set(QStringLiteral("POSTFLD11"), QStringLiteral("TOP"), QStringLiteral("-900")));
            ASSERT_TRUE(ex.set(QStringLiteral("POSTFLD4"), QStringLiteral("ALIGNMENT"), QStringLiteral("7")));
            ASSERT_TRUE(ex.set(QStringLiteral("PAPER"), QStringLiteral("LEFT"), QStringLiteral("99.5")));
            ASSERT_TRUE(ex.set(QStringLiteral("POSTFLD5"), QStringLiteral("FONTSIZE"), QStringLiteral("5000")));
            break;
        case ShortRecord:
            ASSERT_TRUE(ex.appendCsv(sjis(u(u"\"100-0001\",\"東京都千代田区千代田\"\r\n"))));
            break;
        case BadBytes:
            ASSERT_TRUE(ex.appendCsv(QByteArray("\"100-0001\",\"\x81\x20\",\"\",\"") + sjis(u(u"高木　淳")) + "\"\r\n"));
            break;
        }
        const QString pdf = ex.path(QStringLiteral("cards.pdf"));
        const ProgramRun r = runProgram({ QStringLiteral("postcard"), QStringLiteral("--settings"), ex.settingsDir(),
                                   QStringLiteral("--output"), pdf });
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        if (c.warning.isEmpty()) {
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        } else {
            EXPECT_TRUE(r.err.contains(c.warning)) << r.err.toStdString();
        }
        if (c.setup == OutOfRange) {
            // The layout opens as the form opens it: what was put back on the card is said
            // first, then the check's findings.
            QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            ASSERT_GE(lines.size(), 3) << r.err.toStdString();
            EXPECT_EQ(lines.takeFirst(), u(u"用紙からはみ出していた項目を用紙内に戻しました。"));
            EXPECT_EQ(lines.takeFirst(), u(u"住所２、名称２、名称１(差出人)、名称２(差出人)"));
            // The sender's name brought back to the card's edge: its block with 奈緒 beside it
            // reaches beyond the card.
            for (const QString& line : lines)
                EXPECT_TRUE(line.startsWith(u(u"枠に収まりません: ")) || line.startsWith(u(u"ほか "))
                            || line.startsWith(u(u"ハガキからはみ出します: ")))
                    << line.toStdString();
        }
        EXPECT_EQ(CupsTestPrinter::pdfInfo(pdf).pages, c.pages);
        EXPECT_TRUE(pdfCompactText(pdf, 1, 1).contains(c.onPage1));
    }
}

TEST(TovalinPrint, InterruptedRunLeavesNoFile)
{
    ExampleCopy ex;
    QByteArray lines = sjis(u(u"\"郵便番号\",\"住所1\",\"住所2\",\"氏名\",\"連名\",\"バーコード\",\"敬称\"\r\n"));
    for (int i = 0; i < 20000; ++i)
        lines += sjis(u(u"\"154-0015\",\"東京都世田谷区桜新町２－１２－３\",\"\",\"山本　健太郎\",\"\",\"\",\"様\"\r\n"));
    ASSERT_TRUE(ex.writeCsv(lines));
    ASSERT_TRUE(ex.withoutJointNames());
    const QString pdf = ex.path(QStringLiteral("long.pdf"));
    QProcess p;
    p.start(program(), { QStringLiteral("postcard"), QStringLiteral("--settings"), ex.settingsDir(),
                         QStringLiteral("--output"), pdf });
    ASSERT_TRUE(p.waitForStarted(10000));
    // Wait until pages are being written, then ask it to stop (a sanitized build starts slowly).
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired() && !QFile::exists(pdf) && p.state() == QProcess::Running)
        QThread::msleep(20);
    ASSERT_TRUE(QFile::exists(pdf));
    p.terminate();
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(u(u"中断しました")));
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(TovalinPrint, TextsThatDoNotFitAreListedAndStrictPrintsNothing)
{
    const QString header = u(u"\"郵便番号\",\"住所1\",\"住所2\",\"氏名\",\"連名\",\"バーコード\",\"敬称\"\r\n");
    const QString fits = u(u"\"154-0015\",\"東京都世田谷区桜新町２－１２－３\",\"\",\"山本　健太郎\",\"\",\"\",\"様\"\r\n");
    // Too long even at half the size: the examples' address lines shrink to fit.
    const QString tooLong = u(u"\"154-0015\",\"東京都世田谷区桜新町２－１２－３\",\"サンシャインシティプリンスホテル南青山レジデンス東館サンシャインシティプリンスホテル南青山レジデンス東館一二〇五号室\",\"山本　健太郎\",\"\",\"\",\"様\"\r\n");
    const struct {
        const char* name;
        QString command;
        int overflowing;    // records 2, 4, 6, ... up to this many
        QStringList extra;  // arguments
        int exitCode;
        bool printed;
    } cases[] = {
        { "postcard, three", QStringLiteral("postcard"), 3, {}, 0, true },
        { "postcard, more than twenty", QStringLiteral("postcard"), 23, {}, 0, true },
        { "postcard, strict", QStringLiteral("postcard"), 3, { QStringLiteral("--strict") }, 2, false },
        { "postcard, strict, all fit", QStringLiteral("postcard"), 0, { QStringLiteral("--strict") }, 0, true },
        { "label, strict", QStringLiteral("label"), 2, { QStringLiteral("--strict") }, 2, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExampleCopy ex(c.command);
        QString csv = header;
        QStringList expected;
        for (int i = 1; i <= 50; ++i) {
            const bool over = i % 2 == 0 && i / 2 <= c.overflowing;
            csv += over ? tooLong : fits;
            if (over)
                expected << u(u"枠に収まりません: %1件目 住所２").arg(i);
        }
        if (expected.size() > 20)
            expected = expected.mid(0, 20) << u(u"ほか %1 件").arg(c.overflowing - 20);
        ASSERT_TRUE(ex.writeCsv(sjis(csv)));
        ASSERT_TRUE(ex.withoutJointNames());
        const QString pdf = ex.path(QStringLiteral("out.pdf"));
        const ProgramRun r = runProgram(QStringList { c.command, QStringLiteral("--settings"), ex.settingsDir(),
                                                      QStringLiteral("--output"), pdf } + c.extra);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (c.exitCode == 2) {
            ASSERT_FALSE(lines.isEmpty());
            EXPECT_TRUE(lines.takeLast().startsWith(QStringLiteral("--strict")));
        }
        EXPECT_EQ(lines, expected);
        EXPECT_EQ(QFile::exists(pdf), c.printed);
        if (c.printed) {
            EXPECT_EQ(CupsTestPrinter::pdfInfo(pdf).pages, c.command == QStringLiteral("label") ? 5 : 50);
        }
    }
}

TEST(TovalinPrint, EmfStampIsConvertedByTheHelperBesideTheProgramOrWhereItIsInstalled)
{
    // The same program in three places: the build tree (the helper beside it), an installed
    // tree (bin/ and libexec/tovalin/), and alone.
    QTemporaryDir trees;
    const QString built = QStringLiteral(TOVALIN_BINARY_DIR "/src");
    auto place = [&](const QString& bin, const QString& helperDir) {
        QDir().mkpath(trees.filePath(bin));
        QFile::copy(built + QStringLiteral("/tovalin-print"), trees.filePath(bin + QStringLiteral("/tovalin-print")));
        if (!helperDir.isEmpty()) {
            QDir().mkpath(trees.filePath(helperDir));
            QFile::copy(built + QStringLiteral("/tovalin-emf2svg"), trees.filePath(helperDir + QStringLiteral("/tovalin-emf2svg")));
        }
        return trees.filePath(bin + QStringLiteral("/tovalin-print"));
    };
    const struct {
        const char* name;
        QString program;
        QString warning; // empty: the stamp was drawn
    } cases[] = {
        { "build tree", program(), QString() },
        { "installed", place(QStringLiteral("usr/bin"), QStringLiteral("usr/libexec/tovalin")), QString() },
        { "without the helper", place(QStringLiteral("alone/bin"), QString()),
          u(u"EMF変換プログラム tovalin-emf2svg が見つかりません") },
    };
    QFile emf(QStringLiteral(TOVALIN_SOURCE_DIR "/tests/fuzz/corpus/emf/rectangle.emf"));
    ASSERT_TRUE(emf.open(QIODevice::ReadOnly));
    const QByteArray stamp = emf.readAll();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExampleCopy ex;
        QFile f(ex.settingsDir() + QStringLiteral("/stamp.emf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(stamp) == stamp.size());
        f.close();
        ASSERT_TRUE(ex.set(QStringLiteral("POSTFLD"), QStringLiteral("IMGPATH"), QStringLiteral("stamp.emf")));
        const QString pdf = ex.path(QStringLiteral("one.pdf"));
        const ProgramRun r = runProgram({ QStringLiteral("postcard"), QStringLiteral("--settings"), ex.settingsDir(),
                                          QStringLiteral("--output"), pdf, QStringLiteral("--record"), QStringLiteral("1") },
                                        120000, QProcessEnvironment::systemEnvironment(), c.program);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        if (c.warning.isEmpty()) {
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        } else {
            EXPECT_TRUE(r.err.contains(c.warning)) << r.err.toStdString();
        }
        EXPECT_EQ(CupsTestPrinter::pdfInfo(pdf).pages, 1);
    }
}

TEST(TovalinPrint, WithoutSettingsItReadsTheDesktopProgramsSettingsFolder)
{
    // The program copied where the desktop program would keep its settings: beside itself when
    // that folder may be written, otherwise in $XDG_CONFIG_HOME/Tovalin.
    enum Layout { BesideTheProgram, ConfigFolder, Nowhere };
    const struct {
        const char* name;
        Layout layout;
        int exitCode;
        QString says; // on standard error, or "" for nothing
    } cases[] = {
        { "settings beside a writable program folder", BesideTheProgram, 0, QString() },
        { "read-only program folder, settings in the user's config folder", ConfigFolder, 0, QString() },
        { "no settings anywhere", Nowhere, 2, u(u"設定ファイルがありません") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExampleCopy ex;
        const QString bin = c.layout == BesideTheProgram ? ex.settingsDir() : ex.path(QStringLiteral("bin"));
        QDir().mkpath(bin);
        ASSERT_TRUE(QFile::copy(program(), bin + QStringLiteral("/tovalin-print")));
        const QString config = ex.path(QStringLiteral("config"));
        if (c.layout == ConfigFolder) {
            // The example's relative ../addresses.csv then names config/addresses.csv.
            ASSERT_TRUE(QDir().mkpath(config + QStringLiteral("/Tovalin")));
            for (const QString& f : QDir(ex.settingsDir()).entryList(QDir::Files))
                ASSERT_TRUE(QFile::copy(ex.settingsDir() + QLatin1Char('/') + f, config + QStringLiteral("/Tovalin/") + f));
            ASSERT_TRUE(QFile::copy(ex.csv(), config + QStringLiteral("/addresses.csv")));
        }
        if (c.layout != BesideTheProgram)
            QFile::setPermissions(bin, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                           | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
        const QString pdf = ex.path(QStringLiteral("one.pdf"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        const ProgramRun r = runProgram({ QStringLiteral("postcard"), QStringLiteral("--output"), pdf,
                                          QStringLiteral("--record"), QStringLiteral("1") },
                                        120000, env, bin + QStringLiteral("/tovalin-print"));
        QFile::setPermissions(bin, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        if (c.says.isEmpty()) {
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
            EXPECT_TRUE(pdfCompactText(pdf, 1, 1).contains(u(u"山本健太郎様")));
        } else {
            EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
            EXPECT_FALSE(QFileInfo::exists(pdf));
        }
        // The batch printer never makes a settings file of its own.
        if (c.layout == Nowhere) {
            EXPECT_FALSE(QFileInfo::exists(config + QStringLiteral("/Tovalin/POSTCSV.INI")));
        }
    }
}
