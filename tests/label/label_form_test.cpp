// The label form as a user meets it: what it shows and what it lacks next to the postcard
// form, the sheet settings with their up-downs that refuse a change before it happens, the
// start cell, the two 〒 check boxes, the stamp-outside rule, saving and opening again, and
// settings files edited by hand.

#include "LabelFormFixture.h"

#include "app/ui/TFrmAtenaMemu.h"
#include "controls/Hint.h"
#include "controls/TNumberEdit.h"
#include "controls/TShineBtn.h"
#include "layout/FieldGeometry.h"
#include "layout/ui/LayoutFields.h"
#include "platform/IniFile.h"
#include "support/ScriptedMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QUndoStack>

using namespace labeltest;

namespace {

const QString kTooSmall = QStringLiteral("ラベルの最小値を下回るためこの変更は出来ません。");
using D = TUpDown::Direction;

} // namespace

TEST_F(LabelForm, OpensWithTheLabelImageAndTheSheetReadOuts)
{
    open();
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("A4ラベル宛名印刷"));
    EXPECT_GE(form->width(), 670);
    EXPECT_GE(form->height(), 620);
    EXPECT_EQ(form->panelText(2), QStringLiteral("宛名印刷"));
    // 46.2 x 97.0 mm at real size, centred in its area.
    EXPECT_EQ(form->pnlCard->size(), QSize(367, 175));
    const QSize base = form->pnlCardBase->size();
    EXPECT_EQ(form->pnlCard->pos(), QPoint((base.width() - 367) / 2, (base.height() - 175) / 2));
    struct ReadOut {
        TNumberEdit* edit;
        const char* text;
    };
    const ReadOut readOuts[] = {
        {form->nedtLblCol, "2"},    {form->nedtLblRow, "6"},    {form->nedtLblH, "46.2"},
        {form->nedtLblW, "97.0"},   {form->nedtLblUpSp, "10.0"}, {form->nedtLblBotSp, "10.0"},
        {form->nedtLblLefSp, "8.0"}, {form->nedtLblRigSp, "8.0"}, {form->nedtLblYokoSp, "0.0"},
        {form->nedtLblTateSp, "0.0"}, {form->nedtSRow, "1"},      {form->nedtSCol, "1"},
    };
    for (const ReadOut& r : readOuts) {
        EXPECT_EQ(r.edit->text(), QString::fromUtf8(r.text)) << r.edit->objectName().toStdString();
        EXPECT_TRUE(r.edit->isReadOnly()) << r.edit->objectName().toStdString();
    }
    EXPECT_EQ(form->udLblRow->position(), 6);
    EXPECT_EQ(form->udLblUpSp->position(), 100);
    EXPECT_EQ(form->udSRow->max(), 6);
    EXPECT_EQ(form->udSCol->max(), 2);
    EXPECT_EQ(form->pgcMain->tabText(0), QStringLiteral("項目設定"));
    EXPECT_EQ(form->pgcMain->tabText(1), QStringLiteral("ラベル設定"));

    // The recipient postal code is text with its 〒, not digits.
    EXPECT_TRUE(form->cbSPostMark->isChecked());
    EXPECT_EQ(box(1)->Moji(), QStringLiteral("100-0000"));
    EXPECT_EQ(form->fields()->paintText(box(1)), QStringLiteral("〒100-0000"));
    EXPECT_EQ(box(4)->Moji(), QStringLiteral("宛名0　様"));

    const QImage shot = form->grab().toImage();
    shot.save(QDir(QStringLiteral(TOVALIN_BINARY_DIR)).filePath(QStringLiteral("label_form.png")));
    form->pgcMain->setCurrentIndex(1);
    form->grab().toImage().save(QDir(QStringLiteral(TOVALIN_BINARY_DIR)).filePath(QStringLiteral("label_form_sheet.png")));
}

TEST_F(LabelForm, DiffersFromThePostcardFormWhereItShould)
{
    open();
    // What it lacks.
    for (const char* name : {"cbOnly", "cbPost", "lblPage", "lblFldTop", "lblFldLeft", "lblFldWidth", "imgCard",
                             "pnlRange", "pnlFldPos"})
        EXPECT_EQ(form->findChild<QWidget*>(QString::fromUtf8(name)), nullptr) << name;
    // Its own font sizes.
    QStringList sizes;
    for (int i = 0; i < form->cmbFontSize->count(); ++i)
        sizes << form->cmbFontSize->itemText(i);
    EXPECT_EQ(sizes.join(QLatin1Char(' ')), QStringLiteral("6 7 8 9 10 11 12 14 16 18 20 22 24 26 28 36 40"));
    // Help context 24 and its own printer file.
    EXPECT_EQ(form->params().helpContext, 24);
    EXPECT_EQ(QFileInfo(form->printerFilePath()).fileName(), QStringLiteral("plSetLabel.plv"));
    EXPECT_EQ(form->plSetPrinter->objectName(), QStringLiteral("plSetLabel"));
    // Field 6 is the customer barcode column.
    form->itemToggles[5]->setDown(true);
    form->itemToggleClick(form->itemToggles[5]);
    EXPECT_EQ(form->selectedField(), box(6));
    EXPECT_EQ(form->lblFld->text(), QStringLiteral("ｶｽﾀﾏﾊﾞｰｺｰﾄﾞ"));
    form->selectField(box(1));
    EXPECT_EQ(form->lblFld->text(), QStringLiteral("郵便番号"));
    // Field 1 moves with the mouse like any other box.
    const QRect before = box(1)->geometry();
    press(box(1), QPoint(40, 5));
    moveBy(box(1), QPoint(20, 30));
    release(box(1));
    EXPECT_EQ(box(1)->geometry(), before.translated(20, 30));
    // A Post flag from the settings file draws no digits on a label.
    box(1)->setPost(true);
    EXPECT_EQ(form->fields()->paintText(box(1)), QStringLiteral("〒100-0000"));

    struct Hint {
        QWidget* control;
        const char* hint;
    };
    const Hint hints[] = {
        {form->udLblCol, "ラベル列数|シートのラベル横列数を指定します。"},
        {form->nedtLblCol, "ラベル列数|シートのラベル横列数を指定します。"},
        {form->udLblRow, "ラベル行数|シートのラベル行数を指定します。"},
        {form->nedtLblH, "ラベル高さ|ラベルの高さです。"},
        {form->nedtLblW, "ラベル幅|ラベルの幅です。"},
        {form->udLblUpSp, "上余白|ラベルシートの上余白サイズを指定します。"},
        {form->udLblBotSp, "下余白|ラベルシートの下余白サイズを指定します。"},
        {form->udLblLefSp, "左余白|ラベルシートの左余白サイズを指定します。"},
        {form->udLblRigSp, "右余白|ラベルシートの右余白サイズを指定します。"},
        {form->udLblYokoSp, "横間隔|横列のラベル間隔を指定します。"},
        {form->nedtLblTateSp, "縦間隔|縦列のラベル間隔を指定します。"},
        {form->udSRow, "印刷開始行|印刷開始時の行を指定します。"},
        {form->nedtSCol, "印刷開始列|印刷開始時の列を指定します。"},
        {form->pnlCard, "ラベル印刷時の一枚分のイメージです。"},
        {form->ssbPrint, "プリンタ設定|用紙、印刷品質等を設定します。用紙はＡ４を選択して下さい。"},
        {form->bbtnPrint, "印刷します。"},
    };
    for (const Hint& h : hints)
        EXPECT_EQ(hintOf(h.control), QString::fromUtf8(h.hint)) << h.control->objectName().toStdString();
}

TEST_F(LabelForm, SheetChangesMoveTheReadOutsTheImageAndTheBoxes)
{
    open();
    struct Step {
        const char* what;
        TUpDown* upDown;
        D direction;
        int times;
        const char* edit;
        const char* height;
        const char* width;
        QSize image;
    };
    const Step steps[] = {
        {"3 columns", form->udLblCol, D::Up, 1, "3", "46.2", "64.7", QSize(245, 175)},
        {"top margin 10.5", form->udLblUpSp, D::Up, 5, "10.5", "46.1", "64.7", QSize(245, 174)},
        {"left margin 7.0", form->udLblLefSp, D::Down, 10, "7.0", "46.1", "65.0", QSize(246, 174)},
        {"8 rows", form->udLblRow, D::Up, 2, "8", "34.6", "65.0", QSize(246, 131)},
        {"row gap 2.0", form->udLblTateSp, D::Up, 20, "2.0", "32.8", "65.0", QSize(246, 124)},
        {"column gap 2.0", form->udLblYokoSp, D::Up, 20, "2.0", "32.8", "63.7", QSize(241, 124)},
    };
    const TNumberEdit* edits[] = {form->nedtLblCol, form->nedtLblUpSp, form->nedtLblLefSp,
                                  form->nedtLblRow, form->nedtLblTateSp, form->nedtLblYokoSp};
    int k = 0;
    for (const Step& s : steps) {
        EXPECT_EQ(click(s.upDown, s.direction, s.times), s.times) << s.what;
        EXPECT_EQ(edits[k++]->text(), QString::fromUtf8(s.edit)) << s.what;
        EXPECT_EQ(form->nedtLblH->text(), QString::fromUtf8(s.height)) << s.what;
        EXPECT_EQ(form->nedtLblW->text(), QString::fromUtf8(s.width)) << s.what;
        EXPECT_EQ(form->pnlCard->size(), s.image) << s.what;
        // Every box stays inside the image and the image stays centred.
        for (int n = 1; n <= 15; ++n) {
            const QRect g = box(n)->geometry();
            EXPECT_TRUE(QRect(QPoint(0, 0), s.image).contains(g)) << s.what << " field " << n;
        }
        const QSize base = form->pnlCardBase->size();
        EXPECT_EQ(form->pnlCard->pos(),
                  QPoint((base.width() - s.image.width()) / 2, (base.height() - s.image.height()) / 2));
    }
    EXPECT_TRUE(messages.texts().isEmpty());
    // The address lines, 320 pixels long, were cut to the narrower label.
    EXPECT_EQ(box(2)->width(), 241 - box(2)->x());
    EXPECT_EQ(form->sheetModel().sheet().columnGap, 20);
}

TEST_F(LabelForm, AChangeThatMakesTheLabelTooSmallIsRefusedWithOneMessage)
{
    // 14 rows with 15.2 mm row gaps leave labels of 5.7 mm.
    AppSettings& s = AppSettings::instance();
    s.labelSheet.rows = 14;
    s.labelSheet.rowGap = 152;
    open();
    ASSERT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(form->nedtLblH->text(), QStringLiteral("5.7"));
    // 15.3 .. 15.9 mm still leave 5.0 mm or more; 16.0 mm would leave 4.9 mm.
    EXPECT_EQ(click(form->udLblTateSp, D::Up, 10), 7);
    EXPECT_EQ(messages.texts(), QStringList(3, kTooSmall));
    EXPECT_EQ(messages.asked().first().kind, ScriptedMessages::Kind::Information);
    EXPECT_EQ(form->udLblTateSp->position(), 159);
    EXPECT_EQ(form->nedtLblTateSp->text(), QStringLiteral("15.9"));
    EXPECT_EQ(form->nedtLblH->text(), QStringLiteral("5.0"));
    EXPECT_EQ(form->pnlCard->size(), QSize(367, 19));

    // A box grown by its font beyond the label in tenths: every change that leaves the label
    // lower than the box in pixels is refused, whichever setting it is, and one message is
    // shown even when the width fails too.
    messages.clear();
    form->selectField(box(4));
    form->cmbFontSize->setCurrentText(QStringLiteral("40"));
    const int tall = box(4)->height();
    ASSERT_GT(tall, 51);
    const LabelSheet before = form->sheetModel().sheet();
    const QSize image = form->pnlCard->size();
    struct Try {
        TUpDown* upDown;
        D direction;
    };
    // Each would leave the label 5.0 or 5.1 mm high.
    const Try tries[] = {{form->udLblTateSp, D::Down}, {form->udLblBotSp, D::Down}, {form->udLblUpSp, D::Down},
                         {form->udLblCol, D::Up}, {form->udLblLefSp, D::Up}};
    for (const Try& t : tries) {
        messages.clear();
        EXPECT_FALSE(t.upDown->step(t.direction)) << t.upDown->objectName().toStdString();
        EXPECT_EQ(messages.texts(), QStringList{kTooSmall}) << t.upDown->objectName().toStdString();
    }
    EXPECT_EQ(form->sheetModel().sheet(), before);
    EXPECT_EQ(form->pnlCard->size(), image);
    EXPECT_EQ(box(4)->height(), tall);
    // Back to a readable size, the sheet can change again.
    form->cmbFontSize->setCurrentText(QStringLiteral("8"));
    messages.clear();
    EXPECT_TRUE(form->udLblTateSp->step(D::Down));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(LabelForm, TheStartCellFollowsTheRowsAndColumns)
{
    open();
    EXPECT_EQ(click(form->udSRow, D::Up, 9), 5); // held at 6 rows
    EXPECT_EQ(click(form->udSCol, D::Up, 3), 1); // held at 2 columns
    EXPECT_EQ(form->nedtSRow->text(), QStringLiteral("6"));
    EXPECT_EQ(form->nedtSCol->text(), QStringLiteral("2"));
    EXPECT_FALSE(form->ProposeStartColumn(3));
    EXPECT_FALSE(form->ProposeStartRow(0));

    EXPECT_EQ(click(form->udLblRow, D::Down, 2), 2);
    EXPECT_EQ(form->nedtSRow->text(), QStringLiteral("4"));
    EXPECT_EQ(form->udSRow->position(), 4);
    EXPECT_EQ(form->udSRow->max(), 4);
    EXPECT_EQ(click(form->udLblRow, D::Up, 3), 3);
    EXPECT_EQ(form->nedtSRow->text(), QStringLiteral("4"));
    EXPECT_EQ(form->udSRow->max(), 7);
    EXPECT_EQ(click(form->udSRow, D::Up, 5), 3);

    EXPECT_EQ(click(form->udLblCol, D::Up, 1), 1);
    EXPECT_EQ(click(form->udSCol, D::Up, 1), 1);
    EXPECT_EQ(click(form->udLblCol, D::Down, 1), 1);
    EXPECT_EQ(form->nedtSCol->text(), QStringLiteral("2"));

    const LabelSnapshot snap = form->pageSnapshot();
    EXPECT_EQ(snap.startRow, 7);
    EXPECT_EQ(snap.startColumn, 2);
    EXPECT_EQ(snap.sheet.rows, 7);
}

TEST_F(LabelForm, PostMarkBoxesChangeTheirFieldsAndSelectThem)
{
    AppSettings& s = AppSettings::instance();
    s.labelFields[6] = style(200, 150, 150, 8); // sender postal code, visible
    open();
    ASSERT_EQ(form->selectedField(), box(1));
    EXPECT_EQ(form->fields()->paintText(box(7)), QStringLiteral("〒530-0001"));

    form->selectField(box(3));
    form->cbSPostMark->click();
    EXPECT_FALSE(form->cbSPostMark->isChecked());
    EXPECT_EQ(form->selectedField(), box(1));
    EXPECT_EQ(form->fields()->paintText(box(1)), QStringLiteral("100-0000"));
    EXPECT_FALSE(form->pageSnapshot().recipientPostMark);

    form->cbPostMark->click();
    EXPECT_EQ(form->selectedField(), box(7));
    EXPECT_EQ(box(7)->LineColor(), LayoutFields::kSelectedLine);
    EXPECT_EQ(box(1)->LineColor(), LayoutFields::kNormalLine);
    EXPECT_EQ(form->fields()->paintText(box(7)), QStringLiteral("530-0001"));
    EXPECT_EQ(form->lblFld->text(), QStringLiteral("郵便番号(差出人)"));

    // A hidden field: only the check box and the rule change.
    form->itemToggles[0]->setDown(false);
    form->itemToggleClick(form->itemToggles[0]);
    form->selectField(box(2));
    form->cbSPostMark->click();
    EXPECT_EQ(form->selectedField(), box(2));
    EXPECT_TRUE(form->pageSnapshot().recipientPostMark);
}

TEST_F(LabelForm, AStampIsBroughtBackOnlyWhenNoPixelOfItIsLeftOnTheLabel)
{
    open();
    const QString bmp = tmp.filePath(QStringLiteral("stamp.bmp"));
    QImage img(60, 80, QImage::Format_RGB32);
    img.fill(QColor(0, 128, 0));
    ASSERT_TRUE(img.save(bmp, "BMP"));
    ASSERT_TRUE(form->loadStamp(bmp));
    ASSERT_EQ(form->imgStamp->geometry(), QRect(0, 0, 60, 80));
    struct Drag {
        const char* what;
        QPoint step;
        QRect expected;
        bool warned;
    };
    const Drag drags[] = {
        {"last column on the left edge stays", {-59, 0}, {-59, 0, 60, 80}, false},
        {"one further comes back", {-1, 0}, {0, 0, 60, 80}, true},
        {"first column on the right edge stays", {366, 0}, {366, 0, 60, 80}, false},
        {"one further comes back", {1, 0}, {0, 0, 60, 80}, true},
        {"last row on the top edge stays", {0, -79}, {0, -79, 60, 80}, false},
        {"one further comes back", {0, -1}, {0, 0, 60, 80}, true},
    };
    for (const Drag& d : drags) {
        SCOPED_TRACE(d.what);
        messages.clear();
        press(form->imgStamp, QPoint(30, 40));
        moveBy(form->imgStamp, d.step);
        release(form->imgStamp);
        EXPECT_EQ(form->imgStamp->geometry(), d.expected);
        EXPECT_EQ(messages.texts(),
                  d.warned ? QStringList{QStringLiteral("設定可能枠から外に出ています。\r\n枠内に戻します。")} : QStringList());
    }
    // A smaller label takes the stamp along so that it can still be grabbed.
    press(form->imgStamp, QPoint(30, 40));
    moveBy(form->imgStamp, QPoint(300, 90));
    release(form->imgStamp);
    ASSERT_EQ(form->imgStamp->geometry(), QRect(300, 90, 60, 80));
    EXPECT_EQ(click(form->udLblCol, D::Up, 2), 2); // 4 columns: 183 x 175 pixels
    EXPECT_EQ(form->imgStamp->geometry(), QRect(179, 90, 60, 80));
}

TEST_F(LabelForm, ALongBoxTurnedVerticalOnALowLabelIsCutToTheLabel)
{
    AppSettings& s = AppSettings::instance();
    s.labelSheet.rows = 12; // 23.1 mm: 87 pixels
    open();
    ASSERT_EQ(form->pnlCard->size(), QSize(367, 87));
    form->selectField(box(2));
    ASSERT_EQ(box(2)->width(), 320);
    QTest::mouseClick(form->ssbTate, Qt::LeftButton);
    EXPECT_TRUE(box(2)->Tate());
    const QRect g = box(2)->geometry();
    EXPECT_TRUE(QRect(QPoint(0, 0), form->pnlCard->size()).contains(g)) << g.x() << "," << g.y() << " " << g.width()
                                                                         << "x" << g.height();
    EXPECT_GE(g.height(), 80);
}

TEST_F(LabelForm, ClosingWithYesSavesTheLabelGroupAndTheNextOpeningShowsIt)
{
    AppSettings& s = AppSettings::instance();
    s.postcardOffsetX = -3.5;
    s.postcardOffsetY = 4.0;
    s.postcardPostMark = true;
    open();
    EXPECT_EQ(click(form->udLblCol, D::Up, 1), 1);
    EXPECT_EQ(click(form->udLblUpSp, D::Down, 15), 15);
    EXPECT_EQ(click(form->udLblYokoSp, D::Up, 25), 25);
    EXPECT_EQ(click(form->udSRow, D::Up, 2), 2);
    form->spbOfsetDownClick();
    form->spbOfsetDownClick();
    form->spbOfsetLeftClick();
    form->cbPostMark->click();
    form->cbSPostMark->click();

    messages.answerYesNoCancel(Messages::Answer::Yes);
    form->close();
    EXPECT_EQ(messages.texts(),
              (QStringList{QStringLiteral("設定情報を保存しますか？"), QStringLiteral("正常に保存されました。")}));
    form.reset();

    AppSettings stored;
    ASSERT_TRUE(LoadSettings(stored, iniPath));
    EXPECT_EQ(stored.labelSheet.columns, 3);
    EXPECT_EQ(stored.labelSheet.topMargin, 85);
    EXPECT_EQ(stored.labelSheet.columnGap, 25);
    EXPECT_EQ(stored.labelSheet.rows, 6);
    EXPECT_DOUBLE_EQ(stored.labelOffsetY, 0.2);
    EXPECT_DOUBLE_EQ(stored.labelOffsetX, -0.1);
    EXPECT_FALSE(stored.labelPostMark);
    EXPECT_DOUBLE_EQ(stored.postcardOffsetX, -3.5);
    EXPECT_TRUE(stored.postcardPostMark);

    // The second opening: the saved label values, the start cell and recipient 〒 afresh.
    messages.clear();
    ASSERT_TRUE(LoadSettings(AppSettings::instance(), iniPath));
    openAsIs();
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(form->nedtLblCol->text(), QStringLiteral("3"));
    EXPECT_EQ(form->nedtLblUpSp->text(), QStringLiteral("8.5"));
    EXPECT_EQ(form->nedtLblYokoSp->text(), QStringLiteral("2.5"));
    EXPECT_EQ(form->nedtLblW->text(), QStringLiteral("63.0"));
    EXPECT_EQ(form->nedtOfsetY->text(), QStringLiteral("0.2"));
    EXPECT_EQ(form->nedtOfsetX->text(), QStringLiteral("-0.1"));
    EXPECT_FALSE(form->cbPostMark->isChecked());
    EXPECT_TRUE(form->cbSPostMark->isChecked());
    EXPECT_EQ(form->nedtSRow->text(), QStringLiteral("1"));
    EXPECT_EQ(form->nedtSCol->text(), QStringLiteral("1"));
}

TEST_F(LabelForm, ClosingWithNoLeavesTheFileAsItWas)
{
    open();
    const QByteArray before = TestFiles::read(iniPath);
    EXPECT_EQ(click(form->udLblRow, D::Up, 4), 4);
    messages.answerYesNoCancel(Messages::Answer::Cancel);
    form->close();
    EXPECT_TRUE(form->isVisible());
    messages.answerYesNoCancel(Messages::Answer::No);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(TestFiles::read(iniPath), before);
}

TEST_F(LabelForm, HandEditedSheetValuesOpenAndAreReportedOnce)
{
    writeSettings();
    // Values nobody can set with the arrows, written straight into the file.
    IniFile ini(iniPath);
    ASSERT_TRUE(ini.load());
    ini.writeString(QStringLiteral("LABEL"), QStringLiteral("COL"), QStringLiteral("12"));
    ini.writeString(QStringLiteral("LABEL"), QStringLiteral("ROW"), QStringLiteral("0"));
    ini.writeString(QStringLiteral("LABEL"), QStringLiteral("TOPSP"), QStringLiteral("-40"));
    ASSERT_TRUE(ini.save());
    const QByteArray before = TestFiles::read(iniPath);
    ASSERT_TRUE(LoadSettings(AppSettings::instance(), iniPath));
    openAsIs();
    ASSERT_EQ(messages.asked().size(), 1) << messages.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(messages.asked().first().kind, ScriptedMessages::Kind::Warning);
    const QString text = messages.texts().first();
    EXPECT_TRUE(text.contains(QStringLiteral("ラベル横 12 → 8"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ラベル縦 0 → 2"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("上余白 -4.0㎜ → 0.0㎜"))) << text.toStdString();
    EXPECT_EQ(form->nedtLblCol->text(), QStringLiteral("8"));
    EXPECT_EQ(form->nedtLblRow->text(), QStringLiteral("2"));
    // The boxes, wider than 8 columns allow, were fitted into the label.
    EXPECT_TRUE(QRect(QPoint(0, 0), form->pnlCard->size()).contains(box(2)->geometry()));
    // Nothing is written until the user saves.
    messages.answerYesNoCancel(Messages::Answer::No);
    form->close();
    EXPECT_EQ(TestFiles::read(iniPath), before);
}

TEST_F(LabelForm, AStoredLabelSmallerThanItsFieldsOpensWithOneMessage)
{
    // 8 x 14 labels are 24.3 mm wide; the address lines are 320 pixels long.
    AppSettings& s = AppSettings::instance();
    s.labelSheet.columns = 8;
    s.labelSheet.rows = 14;
    open();
    ASSERT_EQ(messages.asked().size(), 1) << messages.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(messages.texts().first().contains(QStringLiteral("ラベルが項目より小さくなります。")));
    EXPECT_TRUE(form->openingReport().tooSmall);
    // The stored values stand; the boxes are inside the label and can be reached.
    EXPECT_EQ(form->nedtLblCol->text(), QStringLiteral("8"));
    EXPECT_EQ(form->nedtLblW->text(), QStringLiteral("24.3"));
    EXPECT_EQ(form->pnlCard->size(), QSize(92, 75));
    for (int n = 1; n <= 15; ++n)
        EXPECT_TRUE(QRect(QPoint(0, 0), form->pnlCard->size()).contains(box(n)->geometry())) << n;
    // The screen and the batch printer open it alike.
    const LabelSnapshot batch = LabelSnapshot::fromSettings(AppSettings::instance(), form->records(),
                                                            HonorificChoice{true, QStringLiteral("様")}, true, 1, 1);
    LabelSnapshot shown = form->pageSnapshot();
    EXPECT_EQ(shown, batch);
}

TEST_F(LabelForm, PrintingWithoutRecordsWarnsAndAsksNothing)
{
    writeRecords(0);
    open();
    messages.clear();
    QTest::mouseClick(form->bbtnPrint, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("CSVデータが空です。")});
    EXPECT_EQ(messages.asked().first().kind, ScriptedMessages::Kind::Warning);
    // Stepping through no records changes nothing either.
    form->ssbCsvNextClick();
    form->ssbCsvLastClick();
    EXPECT_EQ(form->currentRecord(), 0);
}

TEST_F(LabelForm, TheMainMenuOpensTheFormOnlyAfterTheReadinessCheck)
{
    writeSettings();
    int made = 0;
    QString caption;
    TFrmAtenaMemu::setLabelFormFactory([&](QWidget* parent) -> QDialog* {
        ++made;
        auto* f = new TFrmCsvLabelSet(parent);
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
    QTest::mouseClick(menu.findChild<QPushButton*>(QStringLiteral("BitBtn2")), Qt::LeftButton);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(caption, QStringLiteral("A4ラベル宛名印刷"));

    messages.clear();
    QFile::remove(csvPath);
    QTest::mouseClick(menu.findChild<QPushButton*>(QStringLiteral("BitBtn2")), Qt::LeftButton);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("CSVファイルが指定されていないか存在しません。\r\n再設定してから実行して下さい。")});
    TFrmAtenaMemu::setLabelFormFactory({});
}

TEST_F(LabelForm, SheetChangesAreStepsAndTheStartCellIsNot)
{
    open();
    using D = TUpDown::Direction;
    ASSERT_EQ(click(form->udLblRow, D::Down, 2), 2); // two steps, 4 rows
    ASSERT_EQ(click(form->udSRow, D::Up, 3), 3);     // start row 4: no step
    const QRect line = box(2)->geometry();
    ASSERT_EQ(click(form->udLblCol, D::Up, 1), 1);   // 3 columns cut the address lines
    EXPECT_LT(box(2)->width(), line.width());
    EXPECT_EQ(form->document().undoStack()->count(), 3);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->nedtLblCol->text(), QStringLiteral("2"));
    EXPECT_EQ(form->udLblCol->position(), 2);
    EXPECT_EQ(box(2)->geometry(), line);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->nedtLblRow->text(), QStringLiteral("5"));
    EXPECT_EQ(form->udSRow->max(), 5);
    EXPECT_EQ(form->nedtSRow->text(), QStringLiteral("4")); // the start cell stays where the user put it
    EXPECT_EQ(form->pnlCard->size(), form->document().cardSize());
    // The recipient 〒 box is a step too.
    form->cbSPostMark->click();
    EXPECT_FALSE(form->pageSnapshot().recipientPostMark);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(form->cbSPostMark->isChecked());
    EXPECT_TRUE(form->pageSnapshot().recipientPostMark);
}

TEST_F(LabelForm, TheBarcodeCheckBoxDrawsTheLabelsBarsAndIsSavedAsTheLabelKey)
{
    QStringList lines = records(2);
    lines[0].replace(QStringLiteral("\"C-0\""), QStringLiteral("\"064-0804 29-1524-23-2-501\""));
    writeCsv(lines);
    AppSettings::instance().labelFields[5] = style(30, 146, 120, 8);
    open();
    TPaintBoxEL* b = box(6);
    form->selectField(b);
    ASSERT_TRUE(form->cbBarcode->isVisible());
    QTest::mouseClick(form->cbBarcode, Qt::LeftButton);
    const FieldStyle on = form->document().style(6);
    ASSERT_TRUE(on.barcode);
    const FieldBox symbolBox = FieldGeometry::box(6, on, false);
    EXPECT_EQ(b->size(), QSize(symbolBox.width, symbolBox.height));
    EXPECT_EQ(form->pageSnapshot().field(6).box, form->document().field(6).box);

    // 67 bars cross the middle of the picture's box, each a dark run of its own.
    const QImage picture = b->parentWidget()->grab(b->geometry()).toImage();
    int runs = 0;
    bool inRun = false;
    for (int x = 0; x < picture.width(); ++x) {
        const bool dark = qGray(picture.pixel(x, picture.height() / 2)) < 110;
        runs += dark && !inRun;
        inRun = dark;
    }
    EXPECT_EQ(runs, 67);

    messages.answerYesNoCancel(Messages::Answer::Yes);
    form->close();
    EXPECT_TRUE(AppSettings::instance().labelFields[5].barcode);
    IniFile ini(iniPath);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString(QStringLiteral("LABELFLD6"), QStringLiteral("BARCODE"), QString()), QStringLiteral("1"));
}
