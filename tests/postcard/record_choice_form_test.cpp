// Choosing records on the postcard form: "宛名選択…" opens the list on the form's records
// with the form's choice, OK takes the ticks and キャンセル leaves them; the read-out, the
// record shown, the page count and which record each page prints; an empty choice disables
// 印刷 unless "表示宛名のみ印刷" is on; the selection column of the settings is the choice
// the form opens with; the preview shows only the chosen cards.

#include "PostcardFormFixture.h"
#include "PostcardTestSupport.h"
#include "support/ModalDialogs.h"
#include "support/RecordingWindow.h"

#include "controls/Hint.h"
#include "controls/TShineBtn.h"
#include "layout/RecordListModel.h"
#include "layout/ui/TFrmRecordSelect.h"
#include "platform/DevMode.h"
#include "platform/SystemPrinter.h"
#include "support/CupsTestPrinter.h"
#include "support/ScriptedPrinterDialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace postcardtest;
using testtext::u;

namespace {

class PostcardChoice : public PostcardForm {
protected:
    // Presses 宛名選択… and lets `drive` answer the dialog.
    void choose(std::function<void(TFrmRecordSelect*)> drive)
    {
        whenShown<TFrmRecordSelect>(drive);
        closeStrayDialogsLater();
        form->bbtnChoose->click();
        QApplication::processEvents();
    }
    // The records (1-based) on the pages of the form's run.
    QVector<int> pages() const
    {
        const PostcardSnapshot s = form->pageSnapshot();
        QVector<int> out;
        for (int p = 1; p <= s.pageCount(); ++p)
            out << s.recordForPage(p) + 1;
        return out;
    }
};

void typeRange(TFrmRecordSelect* d, const QString& range)
{
    d->edtRange->setText(range);
    QTest::keyClick(d->edtRange, Qt::Key_Return);
}

} // namespace

TEST_F(PostcardChoice, TheChoiceOfTheDialogIsWhatTheRunPrintsAndSurvivesMovingOn)
{
    open();
    EXPECT_EQ(form->bbtnChoose->text(), u(u"宛名選択…"));
    EXPECT_EQ(form->lblChoice->text(), u(u"25 / 25 件選択"));
    EXPECT_EQ(pages().size(), 25);

    choose([](TFrmRecordSelect* d) {
        EXPECT_EQ(d->model()->recordCount(), 25);
        EXPECT_EQ(d->model()->data(d->model()->index(2, RecordListModel::Name1)).toString(), u(u"山田　太郎3"));
        typeRange(d, QStringLiteral("3-5, 9, 20-"));
        d->edtSearch->insert(u(u"太郎21"));
        ASSERT_EQ(d->model()->shownCount(), 1);
        d->bbtnNone->click();
        d->bbtnOk->click();
    });
    EXPECT_EQ(form->lblChoice->text(), u(u"9 / 25 件選択"));
    const QVector<int> chosen { 3, 4, 5, 9, 20, 22, 23, 24, 25 };
    EXPECT_EQ(pages(), chosen);

    // Moving between records keeps it; the number of a record left out is struck through.
    EXPECT_EQ(form->lblPage->text(), QStringLiteral("1 / 25"));
    EXPECT_TRUE(form->lblPage->font().strikeOut());
    QTest::mouseClick(form->ssbCsvLast, Qt::LeftButton);
    EXPECT_EQ(form->lblPage->text(), QStringLiteral("25 / 25"));
    EXPECT_FALSE(form->lblPage->font().strikeOut());
    QTest::mouseClick(form->ssbCsvPrior, Qt::LeftButton);
    EXPECT_EQ(form->lblPage->text(), QStringLiteral("24 / 25"));
    QTest::mouseClick(form->ssbCsvFirst, Qt::LeftButton);
    EXPECT_EQ(pages(), chosen);

    // The dialog opens on the choice; キャンセル leaves it as it was.
    choose([](TFrmRecordSelect* d) {
        EXPECT_EQ(d->lblCount->text(), u(u"9 / 25 件選択"));
        EXPECT_TRUE(d->model()->isChosen(8));
        EXPECT_FALSE(d->model()->isChosen(20));
        d->bbtnAll->click();
        d->bbtnCancel->click();
    });
    EXPECT_EQ(pages(), chosen);

    // "表示宛名のみ印刷" still prints the record on screen, chosen or not.
    form->cbOnly->setChecked(true);
    EXPECT_EQ(pages(), QVector<int> { 1 });
    form->cbOnly->setChecked(false);
    EXPECT_TRUE(messages.asked().isEmpty());
}

TEST_F(PostcardChoice, AnEmptyChoiceDisablesPrintingWithAHint)
{
    open();
    EXPECT_TRUE(form->bbtnPrint->isEnabled());
    choose([](TFrmRecordSelect* d) {
        d->bbtnNone->click();
        EXPECT_EQ(d->lblCount->text(), u(u"0 / 25 件選択"));
        d->bbtnOk->click();
    });
    EXPECT_FALSE(form->bbtnPrint->isEnabled());
    EXPECT_EQ(form->lblChoice->text(), u(u"0 / 25 件選択"));
    EXPECT_TRUE(hintOf(form->bbtnPrint).contains(u(u"「宛名選択…」で印刷する宛名を選んで下さい")));
    form->cbOnly->setChecked(true);
    EXPECT_TRUE(form->bbtnPrint->isEnabled());
    form->cbOnly->setChecked(false);
    EXPECT_FALSE(form->bbtnPrint->isEnabled());
    choose([](TFrmRecordSelect* d) {
        typeRange(d, QStringLiteral("7"));
        d->bbtnOk->click();
    });
    EXPECT_TRUE(form->bbtnPrint->isEnabled());
    EXPECT_EQ(pages(), QVector<int> { 7 });
}

TEST_F(PostcardChoice, TheFormOpensWithTheChoiceOfTheSelectionColumn)
{
    // An eighth column: 喪中 on records 2 and 5, "×" on record 3, nothing on the others.
    QStringList lines;
    for (int i = 1; i <= 6; ++i)
        lines << recordLine(i) + (i == 2 || i == 5 ? u(u",\"喪中\"") : i == 3 ? u(u",\"×\"") : QStringLiteral(",\"\""));
    writeCsv(lines);
    const struct {
        int selNo;
        int selMode;
        QVector<int> pages;
        const char16_t* readOut;
    } cases[] = {
        { 8, 1, { 1, 3, 4, 6 }, u"4 / 6 件選択" },  // 除外する宛名
        { 8, 0, { 2, 5 }, u"2 / 6 件選択" },        // 印刷する宛名
        { -1, 0, { 1, 2, 3, 4, 5, 6 }, u"6 / 6 件選択" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selNo * 10 + c.selMode);
        AppSettings::instance().csv.selNo = c.selNo;
        AppSettings::instance().csv.selMode = c.selMode;
        open();
        EXPECT_EQ(pages(), c.pages);
        EXPECT_EQ(form->lblChoice->text(), QString::fromUtf16(c.readOut));
        form.reset();
    }
}

TEST_F(PostcardChoice, ThePreviewShowsOnlyTheChosenCards)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    SystemPrinter::instance().refresh();
    RecordingWindow window;
    open();
    ScriptedPrinterDialogs printerDialogs;
    ScriptedPrinterDialogs::Setup setup;
    setup.printer = CupsTestPrinter::name();
    setup.paper = DevMode::PaperJapanesePostcard;
    setup.orientation = DevMode::OrientationPortrait;
    printerDialogs.answerPrinterSetup(setup);
    QTest::mouseClick(form->ssbPrint, Qt::LeftButton);
    choose([](TFrmRecordSelect* d) {
        typeRange(d, QStringLiteral("5-8"));
        d->bbtnOk->click();
    });
    messages.answerYesNo(true);
    QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);
    EXPECT_EQ(window.shown, 1);
    EXPECT_EQ(window.pages.size(), 4);
    EXPECT_EQ(form->plPrev1->PageCount(), 4);
    // After the preview the choice is the same.
    EXPECT_EQ(pages(), (QVector<int> { 5, 6, 7, 8 }));
    EXPECT_EQ(form->lblChoice->text(), u(u"4 / 25 件選択"));
}
