// The postcard form's print run and printer button on the CUPS test printer: the question,
// the engine's title, page count and window state, the pages the form hands the preview
// window (the same recordings the composition gives for the same settings), the printer
// settings file and the paper read-outs.

#include "PostcardFormFixture.h"
#include "PostcardTestSupport.h"
#include "support/RecordingWindow.h"

#include "platform/DevMode.h"
#include "platform/PrinterDialogs.h"
#include "platform/SystemPrinter.h"
#include "postcard/CardPicture.h"
#include "preview/TplPrev.h"
#include "preview/TplSetPrinter.h"
#include "controls/TShineBtn.h"
#include "support/ScriptedPrinterDialogs.h"
#include "support/StoredPrinterFile.h"
#include "support/ScriptedMessages.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

using namespace postcardtest;
using testtext::u;

namespace {

class PostcardPrintRun : public PostcardForm {
protected:
    void SetUp() override
    {
        TOVALIN_REQUIRE_TEST_PRINTER();
        PostcardForm::SetUp();
        SystemPrinter::instance().refresh();
    }

    // The printer button with the test printer and a paper, portrait.
    void choosePaper(int paper = DevMode::PaperJapanesePostcard)
    {
        ScriptedPrinterDialogs::Setup setup;
        setup.printer = CupsTestPrinter::name();
        setup.paper = paper;
        setup.orientation = DevMode::OrientationPortrait;
        printerDialogs.answerPrinterSetup(setup);
        QTest::mouseClick(form->ssbPrint, Qt::LeftButton);
    }

    ScriptedPrinterDialogs printerDialogs;
};

} // namespace

TEST_F(PostcardPrintRun, ThePrinterButtonWritesTheFormsPrinterFileAndShowsThePaper)
{
    open();
    const QString plv = tmp.filePath(QStringLiteral("plSetPrinter1.plv"));
    ASSERT_FALSE(QFile::exists(plv));
    ScriptedPrinterDialogs::Setup cancel;
    cancel.ok = false;
    printerDialogs.answerPrinterSetup(cancel);
    QTest::mouseClick(form->ssbPrint, Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(plv));

    choosePaper();
    EXPECT_TRUE(QFile::exists(plv));
    ASSERT_NO_FATAL_FAILURE(storedprinterfile::expectDesignLeft32(plv));
    EXPECT_EQ(form->lblPrinterName->text(), CupsTestPrinter::name());
    EXPECT_EQ(form->lblPaperH->text(), QStringLiteral("148.0"));
    EXPECT_EQ(form->lblPaperW->text(), QStringLiteral("100.0"));
    const QString paper = form->lblPaperName->text();
    EXPECT_FALSE(paper.isEmpty());
    // The printable area is outlined in silver on the card.
    const QRect area = CardPicture::printableArea(form->plSetPrinter->deviceValues());
    ASSERT_FALSE(area.isEmpty());
    EXPECT_EQ(form->cardImage().pixelColor(area.x(), area.y() + area.height() / 2), QColor(192, 192, 192));

    // The next opening reads the file back; the system printer's paper meanwhile is A4 again.
    form.reset();
    SystemPrinter& sp = SystemPrinter::instance();
    DevMode mode = sp.devMode();
    mode.setPaperSize(DevMode::PaperA4);
    sp.setDevMode(mode);
    openAsIs();
    EXPECT_EQ(form->lblPaperName->text(), paper);
    EXPECT_EQ(form->lblPaperH->text(), QStringLiteral("148.0"));
}

TEST_F(PostcardPrintRun, PrintingAsksFirstThenPreviewsOnePagePerRecordOrOnlyTheShownOne)
{
    RecordingWindow window;
    open();
    choosePaper();
    struct Case {
        bool only;
        bool yes;
        int pages; // 0: no run
    } cases[] = {{false, false, 0}, {false, true, 25}, {true, true, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.only);
        SCOPED_TRACE(c.yes);
        window.pages.clear();
        window.shown = 0;
        messages.clear();
        form->cbOnly->setChecked(c.only);
        messages.answerYesNo(c.yes);
        QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);
        ASSERT_EQ(messages.asked().size(), 1);
        EXPECT_EQ(messages.asked()[0].kind, ScriptedMessages::Kind::YesNo);
        EXPECT_EQ(messages.asked()[0].text, QStringLiteral("印刷します。\r\nよろしいですか？"));
        EXPECT_EQ(window.shown, c.pages ? 1 : 0);
        EXPECT_EQ(window.pages.size(), c.pages);
        if (c.pages) {
            EXPECT_EQ(window.title, QStringLiteral("ハガキ宛名印刷"));
            EXPECT_EQ(window.state, TplPrev::fwWorkArea);
            EXPECT_EQ(form->plPrev1->PageCount(), c.pages);
        }
        EXPECT_TRUE(form->bbtnPrint->isEnabled());
    }
    // The form is as it was.
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->lblPage->text(), QStringLiteral("1 / 25"));
}

TEST_F(PostcardPrintRun, TextsThatDoNotFitAreNamedBeforePrintingAndNoShowsTheFirst)
{
    AppSettings::instance().postcardFields[3].fit = true; // name 1 shrinks, but not enough for 40 characters
    QStringList lines;
    for (int i = 1; i <= 25; ++i) {
        QString line = recordLine(i);
        if (i == 4 || i == 9)
            line.replace(QStringLiteral("山田　太郎%1").arg(i), QString(40, QChar(u'山')));
        lines << line;
    }
    writeCsv(lines);
    RecordingWindow window;
    open();
    choosePaper();
    const QString plain = QStringLiteral("印刷します。\r\nよろしいですか？");
    auto question = [](const QStringList& findings) {
        return (QStringList{QStringLiteral("枠に収まらない文字があります（ハガキ %1 枚）。").arg(findings.size())} + findings
                + QStringList{QString(), QStringLiteral("このまま印刷しますか？"),
                              QStringLiteral("（「いいえ」で枠に収まらない宛名を表示します。「枠外」で次の宛名に進みます）")})
            .join(QStringLiteral("\r\n"));
    };
    const QStringList both{QStringLiteral("枠に収まりません: 4件目 名称１"), QStringLiteral("枠に収まりません: 9件目 名称１")};
    struct Case {
        const char* what;
        bool only;
        int shown;      // record on screen when 印刷 is pressed (0-based)
        bool yes;
        QString asked;
        int pages;      // 0: no run
        int shownAfter; // record on screen afterwards
    } cases[] = {
        {"no: the first that does not fit", false, 0, false, question(both), 0, 3},
        {"no, from the sixth card", false, 5, false, question(both), 0, 8},
        {"yes prints anyway", false, 0, true, question(both), 25, 0},
        {"only a card that fits: the plain question", true, 1, true, plain, 1, 1},
        {"only a card that does not fit", true, 8, false, question({both[1]}), 0, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form->cbOnly->setChecked(c.only);
        while (form->currentRecord() < c.shown)
            form->ssbCsvNextClick();
        while (form->currentRecord() > c.shown)
            form->ssbCsvPriorClick();
        window.pages.clear();
        messages.clear();
        messages.answerYesNo(c.yes);
        QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);
        ASSERT_EQ(messages.asked().size(), 1);
        EXPECT_EQ(messages.asked()[0].kind, ScriptedMessages::Kind::YesNo);
        EXPECT_EQ(messages.asked()[0].text, c.asked);
        EXPECT_EQ(window.pages.size(), c.pages);
        EXPECT_EQ(form->currentRecord(), c.shownAfter);
    }
}

TEST_F(PostcardPrintRun, TheFormsPagesAreTheCompositionsPagesForTheSameSettings)
{
    // The composition's sample card, opened in the form from a file on disk.
    AppSettings& s = AppSettings::instance();
    const CsvColumnMap mapping = s.csv;
    s = sampleSettings();
    s.csv = mapping;
    s.csv.fileName = csvPath;
    s.postcardOffsetX = 0.4;
    s.postcardOffsetY = -1.2;
    QString text = QStringLiteral("header\r\n");
    for (const QString& line : sampleRecords())
        text += line + QStringLiteral("\r\n");
    ASSERT_TRUE(TestFiles::write(csvPath, sjis(text)));
    RecordingWindow window;
    open();
    ASSERT_TRUE(messages.asked().isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
    choosePaper();

    // The reference: the same settings through the composition, on the same paper.
    TplSetPrinter printer(QStringLiteral("plSetPrinter1"));
    printer.setPrinterName(CupsTestPrinter::name());
    printerpaper::usePaper(printer, DevMode::PaperJapanesePostcard);
    TplPrev engine;
    engine.setPlSetPrinter(&printer);
    const HonorificChoice registered{true, QStringLiteral("様")}; // cbKeisho checked, cmbKeisho as it opens

    struct Case {
        const char* what;
        bool only;
        int shown;
    } cases[] = {{"every record", false, 0}, {"only the third record", true, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form->cbOnly->setChecked(c.only);
        while (form->currentRecord() < c.shown)
            QTest::mouseClick(form->ssbCsvNext, Qt::LeftButton);
        window.pages.clear();
        messages.answerYesNo(true);
        QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);

        PostcardSnapshot ref = PostcardSnapshot::fromSettings(s, sampleRecords(), registered);
        ref.printOnlyShown = c.only;
        ref.shownRecord = c.shown;
        EXPECT_TRUE(form->pageSnapshot() == ref);
        ASSERT_EQ(window.pages.size(), ref.pageCount());
        engine.setPageCount(ref.pageCount());
        ASSERT_TRUE(engine.BeginPreview([&] { DrawPostcardPage(engine, ref); }));
        for (int p = 1; p <= ref.pageCount(); ++p) {
            SCOPED_TRACE(p);
            engine.setCurrentPage(p);
            const PageRecording* expected = engine.RenderPage();
            ASSERT_NE(expected, nullptr);
            EXPECT_GT(ownOps(*expected).size(), 10);
            EXPECT_TRUE(samePages(window.pages[p - 1], *expected));
        }
    }
}

TEST_F(PostcardPrintRun, WithoutPrinterFileTheFormTakesThePostcardPaperOrMarksTheOneItHas)
{
    TOVALIN_REQUIRE_PRINTER(CupsTestPrinter::nameWithoutPostcard());
    const struct {
        QString printer; // the user's default printer; its own default paper is A4
        QString height;
        QString width;
        QString question;
    } cases[] = {
        { CupsTestPrinter::name(), QStringLiteral("148.0"), QStringLiteral("100.0"),
          QStringLiteral("印刷します。\r\nよろしいですか？") },
        { CupsTestPrinter::nameWithoutPostcard(), QStringLiteral("297.0"), QStringLiteral("210.0"),
          u(u"用紙「A4」（210.0 × 297.0 mm）はハガキ（100 × 148 mm）ではありません。\r\n"
            u"この用紙に印刷します。よろしいですか？") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printer.toStdString());
        ScopedDefaultPrinter defaultPrinter(c.printer);
        RecordingWindow window;
        open();
        const QString plv = tmp.filePath(QStringLiteral("plSetPrinter1.plv"));
        ASSERT_FALSE(QFile::exists(plv));
        EXPECT_EQ(form->lblPrinterName->text(), c.printer);
        EXPECT_EQ(form->lblPaperH->text(), c.height);
        EXPECT_EQ(form->lblPaperW->text(), c.width);
        const bool wrong = c.printer != CupsTestPrinter::name();
        EXPECT_EQ(form->lblPaperName->toolTip().isEmpty(), !wrong);
        EXPECT_EQ(form->lblPaperName->palette().color(QPalette::WindowText) == QColor(Qt::red), wrong);

        // The question names the paper; the user may go on, and the preview is on that paper.
        messages.clear();
        messages.answerYesNo(true);
        form->cbOnly->setChecked(true);
        QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);
        EXPECT_EQ(messages.texts(), QStringList { c.question });
        ASSERT_EQ(window.shown, 1);
        EXPECT_NEAR(form->plPrev1->PaperWidth(), c.width.toDouble() * 10, 10);
        EXPECT_NEAR(form->plPrev1->PaperHeight(), c.height.toDouble() * 10, 10);
        // Choosing the paper wrote no printer file; only the printer button does.
        EXPECT_FALSE(QFile::exists(plv));
        form.reset();
    }
}

TEST_F(PostcardPrintRun, APrinterFileWithAnotherPaperIsKeptAndMarked)
{
    open();
    choosePaper(DevMode::PaperA4);
    EXPECT_EQ(form->lblPaperH->text(), QStringLiteral("297.0"));
    EXPECT_FALSE(form->lblPaperName->toolTip().isEmpty());

    // The user's own choice stands at the next opening; the postcard button clears the mark.
    form.reset();
    openAsIs();
    EXPECT_EQ(form->lblPaperH->text(), QStringLiteral("297.0"));
    EXPECT_EQ(form->lblPaperName->toolTip(),
              u(u"用紙「A4」（210.0 × 297.0 mm）はハガキ（100 × 148 mm）ではありません。"));
    choosePaper();
    EXPECT_EQ(form->lblPaperH->text(), QStringLiteral("148.0"));
    EXPECT_TRUE(form->lblPaperName->toolTip().isEmpty());
    EXPECT_NE(form->lblPaperName->palette().color(QPalette::WindowText), QColor(Qt::red));
}
