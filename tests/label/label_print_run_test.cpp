// The label form's print run and printer button on the CUPS test printer: the question, the
// engine's title, page count and window state, the pages the form hands the preview window
// (the same recordings the composition gives the batch printer's snapshot), and the form's
// own printer file.

#include "LabelFormFixture.h"
#include "support/RecordingWindow.h"

#include "controls/TShineBtn.h"
#include "layout/ui/LayoutFields.h"
#include "platform/PrinterDialogs.h"
#include "support/ScriptedPrinterDialogs.h"
#include "support/StoredPrinterFile.h"

#include <QFile>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

using namespace labeltest;
using previewtest::samePages;

namespace {

class LabelPrintRun : public LabelForm {
protected:
    void SetUp() override
    {
        TOVALIN_REQUIRE_TEST_PRINTER();
        LabelForm::SetUp();
        SystemPrinter::instance().refresh();
    }

    // The printer button with the test printer and a paper, portrait.
    void choosePaper(int paper = DevMode::PaperA4)
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

TEST_F(LabelPrintRun, LabelsWhoseTextsDoNotFitAreNamedAndTheFormGoesToThem)
{
    QStringList lines = records(25);
    for (int i : {6, 19})
        lines[i].replace(u(u"サンライズビル%1号室").arg(i), QString(60, QChar(u'ビ')));
    writeCsv(lines);
    open();
    choosePaper();
    RecordingWindow window;
    messages.clear();
    messages.answerYesNo(false);
    QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);
    EXPECT_EQ(messages.texts(),
              QStringList{u(u"枠に収まらない文字があります（ラベル 2 枚）。\r\n枠に収まりません: 7件目 住所２\r\n"
                            u"枠に収まりません: 20件目 住所２\r\n\r\nこのまま印刷しますか？\r\n"
                            u"（「いいえ」で枠に収まらない宛名を表示します。「枠外」で次の宛名に進みます）")});
    EXPECT_EQ(window.shown, 0);
    EXPECT_EQ(form->currentRecord(), 6);
    EXPECT_TRUE(form->fields()->overflows(form->box(3)));
    QTest::mouseClick(form->ssbCsvOverflow, Qt::LeftButton);
    EXPECT_EQ(form->currentRecord(), 19);

    messages.answerYesNo(true);
    QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);
    EXPECT_EQ(window.shown, 1);
    EXPECT_EQ(window.pages.size(), 3);
}

TEST_F(LabelPrintRun, AsksFirstThenPreviewsEverySheetFromTheStartCell)
{
    open();
    choosePaper();
    RecordingWindow window;
    EXPECT_EQ(click(form->udSRow, TUpDown::Direction::Up, 1), 1);
    EXPECT_EQ(click(form->udSCol, TUpDown::Direction::Up, 1), 1);

    messages.clear();
    messages.answerYesNo(false);
    QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("印刷します。\r\nよろしいですか？")});
    EXPECT_EQ(window.shown, 0);

    messages.answerYesNo(true);
    QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);
    ASSERT_EQ(window.shown, 1);
    EXPECT_EQ(window.title, QStringLiteral("A4ラベル宛名印刷"));
    EXPECT_EQ(window.state, TplPrev::fwWorkArea);
    // 25 records from row 2, column 2 of 2 x 6 labels: three sheets.
    ASSERT_EQ(window.pages.size(), 3);
    EXPECT_TRUE(form->bbtnPrint->isEnabled());

    // The batch printer's snapshot of the same settings draws the same sheets.
    LabelEngine batch;
    QString why;
    ASSERT_TRUE(batch.setUp(&why)) << why.toStdString();
    const LabelSnapshot s = LabelSnapshot::fromSettings(AppSettings::instance(), form->records(),
                                                        HonorificChoice{true, QStringLiteral("様")}, true, 2, 2);
    EXPECT_EQ(s, form->pageSnapshot());
    const QVector<PageRecording> pages = batch.preview(s);
    ASSERT_EQ(pages.size(), 3);
    for (int p = 0; p < 3; ++p)
        EXPECT_TRUE(samePages(window.pages[p], pages[p])) << "page " << p + 1;
    EXPECT_TRUE(findText(window.pages[2], u(u"宛名24　様")));
    EXPECT_EQ(window.pages[0].ofKind(PageOp::Kind::Polyline).size(), 12);
}

TEST_F(LabelPrintRun, ThePrinterButtonKeepsTheLabelFormsOwnPrinterFile)
{
    open();
    const QString plv = tmp.filePath(QStringLiteral("plSetLabel.plv"));
    ASSERT_FALSE(QFile::exists(plv));
    choosePaper();
    EXPECT_TRUE(QFile::exists(plv));
    ASSERT_NO_FATAL_FAILURE(storedprinterfile::expectDesignLeft32(plv));
    EXPECT_FALSE(QFile::exists(tmp.filePath(QStringLiteral("plSetPrinter1.plv"))));
    EXPECT_EQ(form->lblPrinterName->text(), CupsTestPrinter::name());
    EXPECT_EQ(form->lblPaperH->text(), QStringLiteral("297.0"));
    EXPECT_EQ(form->lblPaperW->text(), QStringLiteral("210.0"));

    // The next opening reads it back, whatever the system printer holds meanwhile.
    form.reset();
    SystemPrinter& sp = SystemPrinter::instance();
    DevMode mode = sp.devMode();
    mode.setPaperSize(DevMode::PaperJapanesePostcard);
    sp.setDevMode(mode);
    openAsIs();
    EXPECT_EQ(form->lblPaperH->text(), QStringLiteral("297.0"));
}

TEST_F(LabelPrintRun, WithoutPrinterFileTheFormTakesA4AndMarksAnyOtherPaper)
{
    ScopedDefaultPrinter defaultPrinter(CupsTestPrinter::name());
    open();
    EXPECT_EQ(form->lblPaperH->text(), QStringLiteral("297.0"));
    EXPECT_EQ(form->lblPaperW->text(), QStringLiteral("210.0"));
    EXPECT_TRUE(form->lblPaperName->toolTip().isEmpty());
    EXPECT_FALSE(QFile::exists(tmp.filePath(QStringLiteral("plSetLabel.plv"))));

    // A postcard chosen with the printer button is kept, marked, and named in the question.
    choosePaper(DevMode::PaperJapanesePostcard);
    EXPECT_EQ(form->lblPaperH->text(), QStringLiteral("148.0"));
    const QString wrong = QStringLiteral("用紙「Postcard」（100.0 × 148.0 mm）はA4（210 × 297 mm）ではありません。");
    EXPECT_EQ(form->lblPaperName->toolTip(), wrong);
    EXPECT_EQ(form->lblPaperH->palette().color(QPalette::WindowText), QColor(Qt::red));
    RecordingWindow window;
    messages.clear();
    messages.answerYesNo(false);
    QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList { wrong + QStringLiteral("\r\nこの用紙に印刷します。よろしいですか？") });
    EXPECT_EQ(window.shown, 0);

    choosePaper();
    EXPECT_TRUE(form->lblPaperName->toolTip().isEmpty());
    EXPECT_NE(form->lblPaperH->palette().color(QPalette::WindowText), QColor(Qt::red));
}
