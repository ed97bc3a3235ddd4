// Editing on the postcard form: print-item toggles and selection, the honorific, the
// vertical toggle, style controls, the sender postal frame, the stamp picture, record
// navigation, closing with the save question, and input that is not what it should be.

#include "PostcardFormFixture.h"

#include "app/ui/TFrmAtenaMemu.h"
#include "app/ui/TFrmSetMoto.h"
#include "platform/HelpPages.h"
#include "platform/ui/HelpWindow.h"
#include "controls/TNumberEdit.h"
#include "controls/TShineBtn.h"
#include "layout/CustomerBarcode.h"
#include "layout/LayoutComposer.h"
#include "layout/LayoutUnits.h"
#include "layout/ui/LayoutFields.h"
#include "platform/JapaneseFonts.h"
#include "support/ScriptedMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>

using namespace postcardtest;

namespace {

// The sections of an INI file's bytes, each with its lines as they are on disk.
QMap<QString, QByteArray> sections(const QByteArray& bytes)
{
    QMap<QString, QByteArray> out;
    QString current;
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray t = line.trimmed();
        if (t.startsWith('[') && t.endsWith(']'))
            current = QString::fromLatin1(t.mid(1, t.size() - 2));
        out[current] += line + '\n';
    }
    return out;
}

bool isPostcardSection(const QString& name)
{
    return name == QLatin1String("PAPER") || name.startsWith(QLatin1String("POSTFLD"));
}

void clickToggle(TShineBtn* t)
{
    QTest::mouseClick(t, Qt::LeftButton);
}

} // namespace

// --- print-item toggles and selection -------------------------------------------------------

TEST_F(PostcardForm, ShowingAFieldSelectsItAndHidingTheSelectedOneMovesTheSelection)
{
    open();
    ASSERT_EQ(form->selectedField(), box(1));
    struct Step {
        int toggle;           // field whose toggle is clicked
        bool visibleAfter;
        int selectedAfter;    // 0: none
    } steps[] = {
        {8, true, 8},   // shown: selected
        {8, false, 1},  // hidden while selected: the lowest visible takes over
        {3, false, 1},  // hiding another field keeps the selection
        {1, false, 2},
        {2, false, 4},
        {4, false, 5},
        {5, false, 0},  // nothing visible: nothing selected
        {12, true, 12},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.toggle);
        clickToggle(form->itemToggles[s.toggle - 1]);
        EXPECT_EQ(form->itemToggles[s.toggle - 1]->isDown(), s.visibleAfter);
        EXPECT_EQ(!box(s.toggle)->isHidden(), s.visibleAfter);
        EXPECT_EQ(form->selectedField(), s.selectedAfter ? box(s.selectedAfter) : nullptr);
        for (int n = 1; n <= 15; ++n) {
            const bool selected = s.selectedAfter == n;
            EXPECT_EQ(box(n)->LineColor(), selected ? LayoutFields::kSelectedLine : LayoutFields::kNormalLine) << n;
        }
        EXPECT_EQ(form->cmbFldFont->isEnabled(), s.selectedAfter != 0);
    }
    EXPECT_EQ(form->lblFld->text(), QStringLiteral("TEL(差出人)"));
}

TEST_F(PostcardForm, TheHonorificFollowsTheVisibleNames)
{
    open();
    struct Step {
        const char* what;
        std::function<void(TFrmCsvPostSet*)> act;
        const char* name1;
        const char* name2;
    } steps[] = {
        {"opened: name 2 carries it", [](TFrmCsvPostSet*) {}, "山田　太郎1", "山田　花子　様"},
        {"name 2 hidden: name 1 at once", [](TFrmCsvPostSet* f) { clickToggle(f->itemToggles[4]); },
         "山田　太郎1　様", "山田　花子"},
        {"fixed honorific", [](TFrmCsvPostSet* f) {
             QTest::mouseClick(f->cbKeisho, Qt::LeftButton);
             f->cmbKeisho->setCurrentIndex(2);
         },
         "山田　太郎1　御中", "山田　花子"},
        {"typed honorific", [](TFrmCsvPostSet* f) { f->cmbKeisho->setEditText(QStringLiteral("先生")); },
         "山田　太郎1　先生", "山田　花子"},
        {"name 2 back", [](TFrmCsvPostSet* f) { clickToggle(f->itemToggles[4]); }, "山田　太郎1", "山田　花子　先生"},
        {"name 1 hidden too", [](TFrmCsvPostSet* f) { clickToggle(f->itemToggles[3]); }, "山田　太郎1",
         "山田　花子　先生"},
        {"registered again", [](TFrmCsvPostSet* f) { QTest::mouseClick(f->cbKeisho, Qt::LeftButton); }, "山田　太郎1",
         "山田　花子　様"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act(form.get());
        EXPECT_EQ(box(4)->Moji(), QString::fromUtf8(s.name1));
        EXPECT_EQ(box(5)->Moji(), QString::fromUtf8(s.name2));
        EXPECT_EQ(form->cmbKeisho->isVisible(), !form->cbKeisho->isChecked());
    }
}

// --- style controls and the vertical toggle -------------------------------------------------

TEST_F(PostcardForm, TurningAFieldKeepsItsLengthAndKeepsItOnTheCard)
{
    const QString mincho = QStringLiteral("ＭＳ 明朝");
    const QString vmincho = QStringLiteral("@ＭＳ 明朝");
    ASSERT_TRUE(JapaneseFonts::faceList().contains(vmincho));
    struct Case {
        const char* what;
        FieldStyle start;
        QRect expected;    // left, top, length
        QString face;
    } cases[] = {
        {"300 wide turned vertical near the bottom", field(10, 400, 300, false, true, mincho), {10, 258, 300, 0},
         vmincho},
        {"turned vertical in the middle", field(50, 100, 200, false, true, mincho), {50, 100, 200, 0}, vmincho},
        {"400 long turned horizontal", field(100, 50, 400, true, true, vmincho), {1, 50, 376, 0}, mincho},
        {"turned horizontal near the right edge", field(300, 50, 200, true, true, vmincho), {177, 50, 200, 0},
         mincho},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppSettings::instance().postcardFields[0].visible = false;
        AppSettings::instance().postcardFields[1] = c.start;
        open();
        TPaintBoxEL* b = box(2);
        ASSERT_EQ(form->selectedField(), b);
        clickToggle(form->ssbTate);
        EXPECT_EQ(b->Tate(), !c.start.tate);
        EXPECT_EQ(QRect(b->x(), b->y(), b->Tate() ? b->height() : b->width(), 0), c.expected);
        EXPECT_EQ(b->FontName(), c.face);
        EXPECT_EQ(form->cmbFldFont->currentText(), c.face);
        EXPECT_LE(b->x() + b->width(), 378);
        EXPECT_LE(b->y() + b->height(), 559);
        form.reset();
    }
}

TEST_F(PostcardForm, StyleControlsRestyleTheSelectedField)
{
    AppSettings::instance().postcardFields[0].visible = false;
    AppSettings::instance().postcardFields[1].fontSize = 13; // not one of the listed sizes
    open();
    TPaintBoxEL* b = box(2);
    EXPECT_EQ(form->cmbFontSize->currentIndex(), -1);
    EXPECT_EQ(b->FontSize(), 13);
    const int h13 = b->height();
    clickToggle(form->ssbBold);
    EXPECT_TRUE(b->Bold());
    EXPECT_EQ(b->FontSize(), 9); // the empty size box reads as 9
    EXPECT_LT(b->height(), h13);
    clickToggle(form->ssbIta);
    EXPECT_TRUE(b->Ita());
    clickToggle(form->ssbRight);
    EXPECT_EQ(b->Alignment(), TPaintBoxEL::taRightJustify);
    EXPECT_TRUE(form->ssbRight->isDown());
    EXPECT_FALSE(form->ssbLeft->isDown());
    form->cmbFontSize->setCurrentIndex(form->cmbFontSize->findText(QStringLiteral("28")));
    EXPECT_EQ(b->FontSize(), 28);
    EXPECT_GT(b->height(), h13);
    // Another field shows its own style; coming back shows these.
    form->selectField(box(3));
    EXPECT_FALSE(form->ssbBold->isDown());
    EXPECT_EQ(form->cmbFontSize->currentText(), QStringLiteral("12"));
    form->selectField(b);
    EXPECT_TRUE(form->ssbBold->isDown());
    EXPECT_TRUE(form->ssbIta->isDown());
    EXPECT_TRUE(form->ssbRight->isDown());
    EXPECT_EQ(form->cmbFontSize->currentText(), QStringLiteral("28"));
}

TEST_F(PostcardForm, TheSenderPostalFrameMakesField7DigitsAndHidesThePostMarkBox)
{
    AppSettings& s = AppSettings::instance();
    s.postcardFields[6] = field(40, 480, 120, true, true, QStringLiteral("@ＭＳ 明朝"));
    open();
    TPaintBoxEL* f7 = box(7);
    EXPECT_FALSE(form->cbPostMark->isHidden());
    QTest::mouseClick(form->cbPost, Qt::LeftButton);
    EXPECT_EQ(form->selectedField(), f7);
    EXPECT_TRUE(f7->Post());
    EXPECT_FALSE(f7->Tate());
    EXPECT_EQ(f7->FontName(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(f7->size(), QSize(110, 26));
    EXPECT_TRUE(form->cbPostMark->isHidden());
    EXPECT_FALSE(form->ssbTate->isEnabled());
    EXPECT_FALSE(form->ssbTate->isDown());
    EXPECT_LE(f7->x() + f7->width(), 378);
    EXPECT_LE(f7->y() + f7->height(), 559);
    // No edge zones on a digit box: a grab at its edge moves it.
    const QPoint at = f7->pos();
    press(f7, QPoint(1, 5));
    moveBy(f7, QPoint(-10, 0));
    release(f7);
    EXPECT_EQ(f7->pos(), at - QPoint(10, 0));
    EXPECT_EQ(f7->size(), QSize(110, 26));

    QTest::mouseClick(form->cbPost, Qt::LeftButton);
    EXPECT_FALSE(f7->Post());
    EXPECT_FALSE(form->cbPostMark->isHidden());
    EXPECT_TRUE(form->ssbTate->isEnabled());
}

// --- records ----------------------------------------------------------------------------------

TEST_F(PostcardForm, RecordNavigationStaysInRangeAndShowsThePage)
{
    open();
    struct Step {
        TShineBtn* TFrmCsvPostSet::*button;
        const char* page;
        bool first, prior, next, last; // enabled after the step
        const char* postal;
    } steps[] = {
        {nullptr, "1 / 25", false, false, true, true, "1010001"},
        {&TFrmCsvPostSet::ssbCsvNext, "2 / 25", true, true, true, true, "1020002"},
        {&TFrmCsvPostSet::ssbCsvLast, "25 / 25", true, true, false, false, "1250025"},
        {&TFrmCsvPostSet::ssbCsvPrior, "24 / 25", true, true, true, true, "1240024"},
        {&TFrmCsvPostSet::ssbCsvFirst, "1 / 25", false, false, true, true, "1010001"},
    };
    for (const Step& s : steps) {
        if (s.button)
            QTest::mouseClick(form.get()->*s.button, Qt::LeftButton);
        SCOPED_TRACE(s.page);
        EXPECT_EQ(form->lblPage->text(), QString::fromUtf8(s.page));
        EXPECT_EQ(form->ssbCsvFirst->isEnabled(), s.first);
        EXPECT_EQ(form->ssbCsvPrior->isEnabled(), s.prior);
        EXPECT_EQ(form->ssbCsvNext->isEnabled(), s.next);
        EXPECT_EQ(form->ssbCsvLast->isEnabled(), s.last);
        EXPECT_EQ(box(1)->Moji(), QString::fromUtf8(s.postal));
    }
    // The buttons of the edges do nothing when called anyway.
    form->ssbCsvPriorClick();
    EXPECT_EQ(form->currentRecord(), 0);
    form->ssbCsvLastClick();
    form->ssbCsvNextClick();
    EXPECT_EQ(form->currentRecord(), 24);
}

TEST_F(PostcardForm, OneRecordDisablesEveryNavigationButton)
{
    writeRecords(1);
    open();
    EXPECT_EQ(form->lblPage->text(), QStringLiteral("1 / 1"));
    for (TShineBtn* b : {form->ssbCsvFirst, form->ssbCsvPrior, form->ssbCsvNext, form->ssbCsvLast})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
}

// --- stamp ------------------------------------------------------------------------------------

TEST_F(PostcardForm, TheStampIsLoadedClearedDraggedAndBroughtBackFromOutside)
{
    open();
    const QString bmp = tmp.filePath(QStringLiteral("stamp.bmp"));
    QImage img(60, 80, QImage::Format_RGB32);
    img.fill(QColor(0, 128, 0));
    ASSERT_TRUE(img.save(bmp, "BMP"));

    dialogs.answerOpenPicture(QString()); // cancelled: nothing changes
    QTest::mouseClick(form->bbtnStampRead, Qt::LeftButton);
    EXPECT_TRUE(form->stampFile().isEmpty());

    dialogs.answerOpenPicture(bmp);
    QTest::mouseClick(form->bbtnStampRead, Qt::LeftButton);
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().last().request.title, QStringLiteral("画像イメージ読込"));
    EXPECT_EQ(dialogs.requests().last().request.filter,
              QStringLiteral("画像ファイル (*.bmp;*.emf;*.jpg;*.ico;)|*.bmp;*.emf;*.jpg;*.ico;"));
    EXPECT_EQ(form->stampFile(), bmp);
    EXPECT_EQ(form->edtStampPath->text(), bmp);
    EXPECT_EQ(form->imgStamp->geometry(), QRect(0, 0, 60, 80));
    EXPECT_TRUE(form->imgStamp->Stretch());

    struct Drag {
        const char* what;
        QPoint grab;
        QPoint step;
        QRect expected;
        bool warned;
    } drags[] = {
        {"move", {30, 40}, {100, 50}, {100, 50, 60, 80}, false},
        {"bottom-right corner grows", {58, 78}, {20, 10}, {100, 50, 80, 90}, false},
        {"top-left corner shrinks", {1, 1}, {10, 20}, {110, 70, 70, 70}, false},
        {"right edge below 15 is refused", {68, 30}, {-60, 0}, {110, 70, 70, 70}, false},
        {"partly outside stays", {30, 30}, {-150, 0}, {-40, 70, 70, 70}, false},
        {"wholly outside comes back", {30, 30}, {-40, 0}, {0, 0, 70, 70}, true},
        {"past the right edge comes back", {30, 30}, {400, 0}, {0, 0, 70, 70}, true},
        {"past the bottom comes back", {30, 30}, {0, 600}, {0, 0, 70, 70}, true},
    };
    for (const Drag& d : drags) {
        SCOPED_TRACE(d.what);
        messages.clear();
        press(form->imgStamp, d.grab);
        moveBy(form->imgStamp, d.step);
        release(form->imgStamp);
        EXPECT_EQ(form->imgStamp->geometry(), d.expected);
        EXPECT_EQ(messages.texts(),
                  d.warned ? QStringList{QStringLiteral("設定可能枠から外に出ています。\r\n枠内に戻します。")} : QStringList());
    }

    // Saved with the layout: the file and the box as it is now.
    press(form->imgStamp, QPoint(30, 30));
    moveBy(form->imgStamp, QPoint(12, 7));
    release(form->imgStamp);
    messages.answerYesNoCancel(Messages::Answer::Cancel);
    form->close();
    AppSettings kept;
    form->storeLayout(kept);
    EXPECT_EQ(kept.postcardImage, (ImageBox{bmp, 7, 12, 70, 70}));

    QTest::mouseClick(form->bbtnClear, Qt::LeftButton);
    EXPECT_TRUE(form->stampFile().isEmpty());
    EXPECT_TRUE(form->edtStampPath->text().isEmpty());
    EXPECT_EQ(form->imgStamp->geometry(), QRect(0, 0, 0, 0));
    EXPECT_FALSE(form->imgStamp->hasPicture());
    form->storeLayout(kept);
    EXPECT_EQ(kept.postcardImage, ImageBox());
}

TEST_F(PostcardForm, APictureThatCannotBeReadIsReportedAndChangesNothing)
{
    open();
    const QString bad = tmp.filePath(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(TestFiles::write(bad, QByteArray("not a picture at all")));
    dialogs.answerOpenPicture(bad);
    QTest::mouseClick(form->bbtnStampRead, Qt::LeftButton);
    ASSERT_EQ(messages.asked().size(), 1);
    EXPECT_EQ(messages.asked()[0].kind, ScriptedMessages::Kind::Warning);
    EXPECT_TRUE(messages.asked()[0].text.startsWith(QStringLiteral("画像を読み込めませんでした。")));
    EXPECT_TRUE(form->stampFile().isEmpty());
}

// --- offsets ----------------------------------------------------------------------------------

TEST_F(PostcardForm, OffsetButtonsStepByATenthWithinTenMillimetres)
{
    AppSettings::instance().postcardOffsetY = 9.9;
    AppSettings::instance().postcardOffsetX = -0.1;
    open();
    EXPECT_EQ(form->nedtOfsetY->text(), QStringLiteral("9.9"));
    QTest::mouseClick(form->spbOfsetDown, Qt::LeftButton);
    QTest::mouseClick(form->spbOfsetDown, Qt::LeftButton); // beyond 10.0: refused
    EXPECT_EQ(form->nedtOfsetY->text(), QStringLiteral("10.0"));
    QTest::mouseClick(form->spbOfsetUp, Qt::LeftButton);
    EXPECT_EQ(form->nedtOfsetY->text(), QStringLiteral("9.9"));
    QTest::mouseClick(form->spbOfsetRight, Qt::LeftButton);
    EXPECT_EQ(form->nedtOfsetX->text(), QStringLiteral("0.0"));
    QTest::mouseClick(form->spbOfsetRight, Qt::LeftButton);
    EXPECT_EQ(form->nedtOfsetX->text(), QStringLiteral("0.1"));
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(form->spbOfsetLeft, Qt::LeftButton);
    EXPECT_EQ(form->nedtOfsetX->text(), QStringLiteral("-0.2"));
    // The card does not move with the adjustment.
    EXPECT_EQ(box(1)->geometry(), QRect(167, 45, 185, 33));
}

// --- closing ----------------------------------------------------------------------------------

TEST_F(PostcardForm, ClosingWithYesSavesThePostcardGroupOnly)
{
    AppSettings::instance().postcardFields[0].visible = false;
    open();
    const QByteArray before = TestFiles::read(iniPath);
    const AppSettings loaded = AppSettings::instance();
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    clickToggle(form->ssbBold);
    QTest::mouseClick(form->spbOfsetRight, Qt::LeftButton);
    QTest::mouseClick(form->cbPostMark, Qt::LeftButton);

    messages.answerYesNoCancel(Messages::Answer::Yes);
    QTest::mouseClick(form->bbtnClose, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(messages.asked().size(), 2);
    EXPECT_EQ(messages.asked()[0].kind, ScriptedMessages::Kind::YesNoCancel);
    EXPECT_EQ(messages.asked()[0].text, QStringLiteral("設定情報を保存しますか？"));
    EXPECT_EQ(messages.asked()[1].kind, ScriptedMessages::Kind::Information);
    EXPECT_EQ(messages.asked()[1].text, QStringLiteral("正常に保存されました。"));

    // In memory and on disk: the moved, bold field 2, the offset, the 〒 box.
    const AppSettings& s = AppSettings::instance();
    EXPECT_EQ(s.postcardFields[1].left, loaded.postcardFields[1].left + 1);
    EXPECT_EQ(s.postcardFields[1].top, loaded.postcardFields[1].top + 1);
    EXPECT_TRUE(s.postcardFields[1].bold);
    EXPECT_DOUBLE_EQ(s.postcardOffsetX, 0.1);
    EXPECT_EQ(s.postcardPostMark, !loaded.postcardPostMark);
    AppSettings reread;
    ASSERT_TRUE(LoadSettings(reread, iniPath));
    EXPECT_EQ(reread.postcardFields, s.postcardFields);
    EXPECT_DOUBLE_EQ(reread.postcardOffsetX, 0.1);

    const QMap<QString, QByteArray> a = sections(before), b = sections(TestFiles::read(iniPath));
    EXPECT_EQ(a.keys(), b.keys());
    for (const QString& name : a.keys()) {
        if (!isPostcardSection(name)) {
            EXPECT_EQ(a[name], b[name]) << name.toStdString();
        }
    }
    EXPECT_NE(a[QStringLiteral("POSTFLD2")], b[QStringLiteral("POSTFLD2")]);
}

TEST_F(PostcardForm, ClosingWithNoLeavesSettingsAndFileAlone)
{
    open();
    const QByteArray before = TestFiles::read(iniPath);
    const AppSettings loaded = AppSettings::instance();
    form->selectField(box(2));
    key(Qt::Key_Left);
    clickToggle(form->itemToggles[7]);
    messages.answerYesNoCancel(Messages::Answer::No);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("設定情報を保存しますか？")});
    EXPECT_EQ(AppSettings::instance().postcardFields, loaded.postcardFields);
    EXPECT_EQ(TestFiles::read(iniPath), before);
}

TEST_F(PostcardForm, CancelKeepsTheFormOpenWithItsChanges)
{
    open();
    form->selectField(box(2));
    const QPoint at = box(2)->pos();
    key(Qt::Key_Left);
    messages.answerYesNoCancel(Messages::Answer::Cancel);
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(box(2)->pos(), at - QPoint(1, 0));
    // And the question comes again.
    messages.answerYesNoCancel(Messages::Answer::No);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(messages.asked().size(), 2);
}

TEST_F(PostcardForm, AFailedSaveIsReportedAndTheFormStillCloses)
{
    open();
    AppPaths::setSettingsDirectory(tmp.filePath(QStringLiteral("gone/away")));
    messages.answerYesNoCancel(Messages::Answer::Yes);
    form->close();
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(messages.asked().size(), 2);
    EXPECT_EQ(messages.asked()[1].kind, ScriptedMessages::Kind::Warning);
    EXPECT_EQ(messages.asked()[1].text, QStringLiteral("保存に失敗しました。"));
}

// --- bad input ------------------------------------------------------------------------------

TEST_F(PostcardForm, AnAddressListEmptiedAfterTheCheckOpensWithoutRecords)
{
    AppSettings& s = AppSettings::instance();
    writeRecords(0); // only the header is left
    open();
    EXPECT_TRUE(form->records().isEmpty());
    EXPECT_EQ(form->lblPage->text(), QStringLiteral("0 / 0"));
    for (TShineBtn* b : {form->ssbCsvFirst, form->ssbCsvPrior, form->ssbCsvNext, form->ssbCsvLast})
        EXPECT_FALSE(b->isEnabled());
    form->ssbCsvNextClick();
    form->ssbCsvLastClick();
    EXPECT_EQ(form->currentRecord(), 0);
    QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("印刷対象データがありません。")});
    EXPECT_EQ(messages.asked()[0].kind, ScriptedMessages::Kind::Warning);
    // The layout can still be saved.
    messages.answerYesNoCancel(Messages::Answer::Yes);
    form->close();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("正常に保存されました。"));
    EXPECT_EQ(s.postcardFields[1].left, 20);
}

TEST_F(PostcardForm, RecordsWithFewerColumnsShowBlanks)
{
    ASSERT_TRUE(TestFiles::write(csvPath, sjis(QStringLiteral("h\r\n\"〒100-0001\",\"東京都\"\r\n"))));
    open();
    EXPECT_EQ(box(1)->Moji(), QStringLiteral("1000001"));
    EXPECT_EQ(box(2)->Moji(), QStringLiteral("東京都"));
    EXPECT_EQ(box(3)->Moji(), QStringLiteral(" "));
    EXPECT_EQ(box(4)->Moji(), QStringLiteral(" 　 ")); // blank name 2: the honorific (blank column) goes to name 1
}

TEST_F(PostcardForm, OutOfRangeValuesFromTheSettingsFileAreRepairedAndReported)
{
    FieldStyles& f = AppSettings::instance().postcardFields;
    f[1] = field(900, 120, 200);        // off the card to the right
    f[2] = field(300, 100, -40, true);  // negative length
    f[3].fontSize = 0;                  // shown as 9
    f[4].fontName = QStringLiteral("No Such Face");
    f[5] = field(-50, -20, 100, false, false); // hidden and off the card
    f[7] = field(100, 50, 700, true);          // longer than the card
    open();
    ASSERT_EQ(messages.asked().size(), 1);
    EXPECT_EQ(messages.asked()[0].kind, ScriptedMessages::Kind::Warning);
    EXPECT_EQ(messages.asked()[0].text,
              QStringLiteral("用紙からはみ出していた項目を用紙内に戻しました。\r\n住所１、住所２、備　考、住所１(差出人)"));
    EXPECT_EQ(box(8)->geometry().top(), 1);
    EXPECT_EQ(box(8)->height(), 559 - 2);
    EXPECT_EQ(box(2)->geometry().right(), 378 - 2);
    EXPECT_EQ(box(3)->height(), 15);
    EXPECT_GE(box(6)->x(), 0);
    EXPECT_GE(box(6)->y(), 0);

    form->selectField(box(4));
    EXPECT_EQ(form->cmbFontSize->currentText(), QStringLiteral("9"));
    // A face that is not installed shows no selection and survives a style change.
    form->selectField(box(5));
    EXPECT_EQ(form->cmbFldFont->currentIndex(), -1);
    clickToggle(form->ssbBold);
    EXPECT_EQ(box(5)->FontName(), QStringLiteral("No Such Face"));
    EXPECT_TRUE(box(5)->Bold());

    messages.answerYesNoCancel(Messages::Answer::Yes);
    form->close();
    EXPECT_EQ(AppSettings::instance().postcardFields[4].fontName, QStringLiteral("No Such Face"));
    EXPECT_EQ(AppSettings::instance().postcardFields[1].left + box(2)->width(), 377);
}

TEST_F(PostcardForm, AStampFileThatVanishedIsDropped)
{
    const QString bmp = tmp.filePath(QStringLiteral("gone.bmp"));
    AppSettings::instance().postcardImage = ImageBox{bmp, 30, 40, 50, 60};
    open();
    EXPECT_TRUE(form->stampFile().isEmpty());
    EXPECT_EQ(form->imgStamp->geometry(), QRect(0, 0, 0, 0));
    EXPECT_TRUE(messages.asked().isEmpty());
    messages.answerYesNoCancel(Messages::Answer::Yes);
    form->close();
    EXPECT_TRUE(AppSettings::instance().postcardImage.path.isEmpty());
}

TEST_F(PostcardForm, AStoredStampIsShownStretchedInItsBox)
{
    const QString bmp = tmp.filePath(QStringLiteral("stamp.bmp"));
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(bmp, "BMP"));
    AppSettings::instance().postcardImage = ImageBox{QStringLiteral("stamp.bmp"), 30, 40, 50, 60}; // relative
    // A relative name counts from the current folder, as the address list's does.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tmp.path()));
    open();
    QDir::setCurrent(previous);
    EXPECT_EQ(form->stampFile(), QStringLiteral("stamp.bmp"));
    EXPECT_EQ(form->imgStamp->geometry(), QRect(40, 30, 50, 60));
    EXPECT_TRUE(form->imgStamp->hasPicture());
    EXPECT_TRUE(form->imgStamp->Stretch());
}

// --- the main menu --------------------------------------------------------------------------

TEST_F(PostcardForm, TheMainMenuOpensTheFormOnlyAfterTheReadinessCheck)
{
    AppSettings::instance().postcardFields[0].visible = false;
    ASSERT_TRUE(WriteDefaultSettingsFile(iniPath));
    AppSettings& s = AppSettings::instance();
    ASSERT_TRUE(SaveCsvSettings(s, iniPath));
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Postcard, iniPath));
    int made = 0;
    QString caption;
    TFrmAtenaMemu::setPostcardFormFactory([&](QWidget* parent) -> QDialog* {
        ++made;
        auto* f = new TFrmCsvPostSet(parent);
        // Once it is up, the user looks and closes it without saving.
        QTimer::singleShot(0, f, [f, &caption] {
            caption = f->windowTitle();
            f->close();
        });
        return f;
    });
    TFrmAtenaMemu menu;
    menu.show();
    QApplication::processEvents();
    ASSERT_FALSE(menu.settingsFailed());

    messages.answerYesNoCancel(Messages::Answer::No);
    QTest::mouseClick(menu.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(caption, QStringLiteral("宛名印刷"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("設定情報を保存しますか？")});

    // A list that vanished: the check's warning, no form.
    messages.clear();
    QFile::remove(csvPath);
    QTest::mouseClick(menu.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("CSVファイルが指定されていないか存在しません。\r\n再設定してから実行して下さい。")});
    TFrmAtenaMemu::setPostcardFormFactory({});
}

// --- sender and help buttons ------------------------------------------------------------------

TEST_F(PostcardForm, TheSenderButtonEditsTheSenderAndRefreshesTheCard)
{
    open();
    struct Case {
        bool update;
        const char* address;
    } cases[] = {{false, "大阪府大阪市北区梅田１－２－３"}, {true, "京都府京都市下京区四条通１"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.update);
        QTimer::singleShot(0, [&c, this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dlg = qobject_cast<TFrmSetMoto*>(w);
                if (!dlg || !dlg->isVisible())
                    continue;
                dlg->edtAdr1->setText(QStringLiteral("京都府京都市下京区四条通１"));
                if (c.update) {
                    messages.answerYesNo(true);
                    dlg->bbtnUpdateClick();
                } else {
                    dlg->bbtnCancelClick();
                }
            }
        });
        QTest::mouseClick(form->ssbMoto, Qt::LeftButton);
        EXPECT_EQ(box(8)->Moji(), QString::fromUtf8(c.address));
    }
    EXPECT_EQ(AppSettings::instance().sender.address1, QStringLiteral("京都府京都市下京区四条通１"));
}

TEST_F(PostcardForm, TheHelpButtonOpensThePostcardPage)
{
    open();
    QTest::mouseClick(form->ssbHelp, Qt::LeftButton);
    HelpWindow* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* h = qobject_cast<HelpWindow*>(w); h && h->isVisible())
            help = h;
    }
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->currentPage(), HelpPages::pageUrl(20));
    EXPECT_TRUE(messages.asked().isEmpty());
    help->close();
}

TEST_F(PostcardForm, TheBarcodeOptionGoesToThePrintAndThroughASave)
{
    AppSettings::instance().postcardFields[5] = field(40, 480, 100);
    AppSettings::instance().postcardFields[5].barcode = true;
    open();
    EXPECT_TRUE(form->pageSnapshot().field(6).style.barcode);
    key(Qt::Key_Right); // something to save
    messages.answerYesNoCancel(Messages::Answer::Yes);
    QTest::mouseClick(form->bbtnClose, Qt::LeftButton);
    EXPECT_TRUE(AppSettings::instance().postcardFields[5].barcode);
    AppSettings reread;
    ASSERT_TRUE(LoadSettings(reread, iniPath));
    EXPECT_TRUE(reread.postcardFields[5].barcode);
}

TEST_F(PostcardForm, BarcodeFindingsAreShownBeforeThePrintQuestion)
{
    // The sample records' barcode column ("C-n") is no customer barcode.
    AppSettings::instance().postcardFields[5] = field(40, 480, 100);
    AppSettings::instance().postcardFields[5].barcode = true;
    open();
    const QString finding = QStringLiteral("カスタマバーコードにできないため、バーコードを印刷しません（先頭に7桁の郵便番号がありません）: 宛名 ");
    for (bool onlyShown : { false, true }) {
        form->cbOnly->setChecked(onlyShown);
        messages.answerYesNo(false);
        QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);
        ASSERT_EQ(messages.asked().size(), 2);
        EXPECT_EQ(messages.asked()[0].kind, ScriptedMessages::Kind::Warning);
        EXPECT_EQ(messages.asked()[0].text, finding + (onlyShown ? QStringLiteral("1") : QStringLiteral("1～25")));
        EXPECT_EQ(messages.asked()[1].text, QStringLiteral("印刷します。\r\nよろしいですか？"));
        messages.clear();
    }
}

TEST_F(PostcardForm, TheBarcodeCheckBoxShowsTheRecordsBarsInAFixedLengthBoxAsOneStep)
{
    QString first = recordLine(1);
    first.replace(QStringLiteral("\"C-1\""), QStringLiteral("\"100-0013 1-3-2-503\""));
    writeCsv({first, recordLine(2)});
    AppSettings::instance().postcardFields[5] = field(40, 480, 100, false, true, QStringLiteral("ＭＳ 明朝"), 10);
    open();
    TPaintBoxEL* b = box(6);
    const QRect before = b->geometry();

    // The check box belongs to field 6 alone.
    form->selectField(box(2));
    EXPECT_TRUE(form->cbBarcode->isHidden());
    form->selectField(b);
    ASSERT_TRUE(form->cbBarcode->isVisible());
    EXPECT_EQ(form->cbBarcode->parentWidget(), static_cast<QWidget*>(form->pnlField));
    ASSERT_FALSE(form->cbBarcode->isChecked());

    QTest::mouseClick(form->cbBarcode, Qt::LeftButton);
    const FieldStyle on = form->document().style(6);
    ASSERT_TRUE(on.barcode);
    EXPECT_EQ(form->document().undoStack()->count(), 1);
    const FieldBox symbolBox = FieldGeometry::box(6, on, true);
    EXPECT_EQ(b->geometry(), QRect(before.topLeft(), QSize(symbolBox.width, symbolBox.height)));
    EXPECT_NEAR(b->width(), 79.8 * 10 * LayoutUnits::kPixelsPerTenth, 1.5); // 79.8 mm at 10 points

    // The bars of record 1 on screen, bar by bar: each bar's middle is dark halfway across,
    // its upper third only for long and upper bars, its lower third only for long and lower
    // bars, and the space after it is light.
    const CustomerBarcode::Symbol symbol = CustomerBarcode::encode(QStringLiteral("100-0013 1-3-2-503"));
    ASSERT_TRUE(symbol.isValid());
    const CustomerBarcode::Size size = CustomerBarcode::size(10);
    const QImage picture = b->parentWidget()->grab(b->geometry()).toImage();
    LayoutField f;
    f.style = on;
    f.box = FieldBox{0, 0, b->width(), b->height()};
    const QRectF r = LayoutComposer::barcodeRect(f, 0, 0);
    auto dark = [&](double x, double y) {
        const double k = LayoutUnits::kPixelsPerTenth * picture.devicePixelRatio();
        return qGray(picture.pixel(int(x * k), int(y * k))) < 110;
    };
    for (int i = 0; i < symbol.bars.size(); ++i) {
        SCOPED_TRACE(i);
        const CustomerBarcode::Bar bar = symbol.bars[i];
        const double x = r.left() + i * size.pitch + size.barWidth / 2;
        const bool up = bar == CustomerBarcode::Bar::Long || bar == CustomerBarcode::Bar::Upper;
        const bool down = bar == CustomerBarcode::Bar::Long || bar == CustomerBarcode::Bar::Lower;
        EXPECT_TRUE(dark(x, r.top() + r.height() / 2));
        EXPECT_EQ(dark(x, r.top() + r.height() * 0.15), up);
        EXPECT_EQ(dark(x, r.top() + r.height() * 0.85), down);
        if (i + 1 < symbol.bars.size()) {
            EXPECT_FALSE(dark(x + size.pitch / 2, r.top() + r.height() / 2));
        }
    }
    // Record 2's column is no barcode: no bars.
    QTest::mouseClick(form->ssbCsvNext, Qt::LeftButton);
    const QImage none = b->parentWidget()->grab(b->geometry()).toImage();
    for (int x = 2; x < none.width() - 2; ++x)
        ASSERT_GE(qGray(none.pixel(x, none.height() / 2)), 110) << x;

    // Grabbed at its end edge the box moves; it does not stretch.
    press(b, QPoint(b->width() - 2, b->height() / 2));
    moveBy(b, QPoint(12, 0));
    release(b);
    EXPECT_EQ(b->geometry(), QRect(before.topLeft() + QPoint(12, 0), QSize(symbolBox.width, symbolBox.height)));

    // Undo takes back the move, then the option: the text box as it was.
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(form->document().style(6).barcode);
    EXPECT_FALSE(form->cbBarcode->isChecked());
    EXPECT_EQ(b->geometry(), before);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(form->cbBarcode->isChecked());
    EXPECT_EQ(b->width(), symbolBox.width);
}
