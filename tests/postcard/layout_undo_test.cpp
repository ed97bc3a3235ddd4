// Undo and redo on the postcard form as a user meets them: the two buttons beside the style
// controls (hints, enabled only when there is something to take back or do again), Ctrl+Z,
// Ctrl+Y and Ctrl+Shift+Z, a whole drag or a run of arrow keys as one step, the controls and
// boxes following a step taken back, what is not a step (records, selection), and the walk
// of a new user: move three fields, change a font, undo all four, redo two, save, reopen.

#include "PostcardFormFixture.h"

#include "controls/Hint.h"
#include "controls/TNumberEdit.h"
#include "controls/TShineBtn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QUndoStack>

using namespace postcardtest;

namespace {

// Left, top and length of a box as the user sees it.
QRect placeOf(const TPaintBoxEL* b)
{
    return QRect(b->x(), b->y(), b->Tate() ? b->height() : b->width(), 0);
}

} // namespace

TEST_F(PostcardForm, TheUndoAndRedoButtonsSayWhetherThereIsAStep)
{
    AppSettings::instance().postcardFields[0].visible = false;
    open();
    EXPECT_EQ(hintOf(form->ssbUndo), QStringLiteral("元に戻す"));
    EXPECT_EQ(hintOf(form->ssbRedo), QStringLiteral("やり直し"));
    EXPECT_EQ(form->ssbUndo->parentWidget(), static_cast<QWidget*>(form->pnlField));
    struct Step {
        const char* what;
        std::function<void()> act;
        bool undo, redo; // enabled after the step
    } steps[] = {
        {"opened", [] {}, false, false},
        {"a key move", [this] { key(Qt::Key_Right); }, true, false},
        {"Ctrl+Z", [this] { key(Qt::Key_Z, Qt::ControlModifier); }, false, true},
        {"Ctrl+Y", [this] { key(Qt::Key_Y, Qt::ControlModifier); }, true, false},
        {"the undo button", [this] { QTest::mouseClick(form->ssbUndo, Qt::LeftButton); }, false, true},
        {"Ctrl+Shift+Z", [this] { key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }, true, false},
        {"the undo button again", [this] { QTest::mouseClick(form->ssbUndo, Qt::LeftButton); }, false, true},
        {"the redo button", [this] { QTest::mouseClick(form->ssbRedo, Qt::LeftButton); }, true, false},
        {"records and selection are no steps", [this] {
             form->ssbUndoClick();
             QTest::mouseClick(form->ssbCsvNext, Qt::LeftButton);
             form->selectField(box(3));
         },
         false, true},
        {"a new change clears redo", [this] { QTest::mouseClick(form->spbOfsetUp, Qt::LeftButton); }, true, false},
    };
    const int left = box(2)->x();
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(form->ssbUndo->isEnabled(), s.undo);
        EXPECT_EQ(form->ssbRedo->isEnabled(), s.redo);
    }
    EXPECT_EQ(box(2)->x(), left);
    EXPECT_EQ(form->currentRecord(), 1);
    EXPECT_EQ(form->nedtOfsetY->text(), QStringLiteral("-0.1"));
}

TEST_F(PostcardForm, ControlsAndBoxesFollowAStepTakenBack)
{
    open();
    struct Case {
        const char* what;
        std::function<void()> act;
        std::function<bool()> changed; // true while the step is in effect
    } cases[] = {
        {"bold", [this] { form->selectField(box(3)); QTest::mouseClick(form->ssbBold, Qt::LeftButton); },
         [this] { return box(3)->Bold() && form->ssbBold->isDown(); }},
        {"the font size", [this] {
             form->selectField(box(2));
             form->cmbFontSize->setCurrentIndex(form->cmbFontSize->findText(QStringLiteral("28")));
         },
         [this] { return box(2)->FontSize() == 28 && form->cmbFontSize->currentText() == QStringLiteral("28"); }},
        {"the vertical toggle", [this] { form->selectField(box(2)); QTest::mouseClick(form->ssbTate, Qt::LeftButton); },
         [this] { return box(2)->Tate() && form->ssbTate->isDown(); }},
        {"hiding the selected field", [this] {
             form->selectField(box(4));
             QTest::mouseClick(form->itemToggles[3], Qt::LeftButton);
         },
         [this] { return box(4)->isHidden() && !form->itemToggles[3]->isDown() && form->selectedField() != box(4); }},
        {"the sender postal frame", [this] { QTest::mouseClick(form->cbPost, Qt::LeftButton); },
         [this] { return box(7)->Post() && form->cbPost->isChecked() && form->cbPostMark->isHidden(); }},
        {"a fixed honorific", [this] { QTest::mouseClick(form->cbKeisho, Qt::LeftButton); },
         [this] { return !form->cbKeisho->isChecked() && box(5)->Moji().endsWith(QStringLiteral("様")); }},
        {"the offset", [this] { QTest::mouseClick(form->spbOfsetRight, Qt::LeftButton); },
         [this] { return form->nedtOfsetX->text() == QStringLiteral("0.1"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        ASSERT_TRUE(c.changed());
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_FALSE(c.changed());
        key(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_TRUE(c.changed());
        key(Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_FALSE(form->ssbUndo->isEnabled());
    // The selection stays on a visible field.
    ASSERT_NE(form->selectedField(), nullptr);
    EXPECT_FALSE(form->selectedField()->isHidden());
}

TEST_F(PostcardForm, ADragIsOneStepAndArrowKeysOnOneFieldAreOne)
{
    open();
    TPaintBoxEL* b = box(2);
    const QRect start = placeOf(b);
    press(b, QPoint(50, 3));
    for (int i = 0; i < 4; ++i)
        moveBy(b, QPoint(5, 2));
    release(b);
    const QRect dragged = placeOf(b);
    ASSERT_EQ(dragged, start.translated(20, 8));
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Left);
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(placeOf(b), QRect(start.x() + 17, start.y() + 8, start.width() - 1, 0));
    EXPECT_EQ(form->document().undoStack()->count(), 2);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(placeOf(b), dragged);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(placeOf(b), start);
    // The boxes on screen are the document's boxes.
    for (int n = 1; n <= kFieldCount; ++n) {
        const FieldBox& f = form->document().field(n).box;
        EXPECT_EQ(box(n)->geometry(), QRect(f.left, f.top, f.width, f.height)) << n;
    }
}

TEST_F(PostcardForm, ANewUserMovesThreeFieldsChangesAFontUndoesAllRedoesTwoAndSaves)
{
    AppSettings::instance().postcardFields[0].visible = false;
    open();
    const QRect p2 = placeOf(box(2)), p3 = placeOf(box(3)), p4 = placeOf(box(4));
    const QString font4 = box(4)->FontName();
    // Three fields moved: one dragged, one by keys, one dragged again.
    press(box(2), QPoint(60, 4));
    moveBy(box(2), QPoint(10, 15));
    release(box(2));
    form->selectField(box(3));
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    press(box(4), QPoint(40, 5));
    moveBy(box(4), QPoint(-12, 20));
    release(box(4));
    // A font changed.
    const int gothic = form->cmbFldFont->findText(QStringLiteral("ＭＳ ゴシック"));
    ASSERT_GE(gothic, 0);
    form->cmbFldFont->setCurrentIndex(gothic);
    ASSERT_EQ(box(4)->FontName(), QStringLiteral("ＭＳ ゴシック"));
    // Undo all four: everything as it was opened.
    for (int i = 0; i < 4; ++i)
        key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(placeOf(box(2)), p2);
    EXPECT_EQ(placeOf(box(3)), p3);
    EXPECT_EQ(placeOf(box(4)), p4);
    EXPECT_EQ(box(4)->FontName(), font4);
    EXPECT_FALSE(form->ssbUndo->isEnabled());
    // Redo two: the first two moves are back, the rest is not.
    QTest::mouseClick(form->ssbRedo, Qt::LeftButton);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(placeOf(box(2)), p2.translated(10, 15));
    EXPECT_EQ(placeOf(box(3)), p3.translated(-2, 0));
    EXPECT_EQ(placeOf(box(4)), p4);

    messages.answerYesNoCancel(Messages::Answer::Yes);
    form->close();
    ASSERT_EQ(messages.texts().last(), QStringLiteral("正常に保存されました。"));
    form.reset();
    ASSERT_TRUE(LoadSettings(AppSettings::instance(), iniPath));
    openAsIs();
    EXPECT_EQ(placeOf(box(2)), p2.translated(10, 15));
    EXPECT_EQ(placeOf(box(3)), p3.translated(-2, 0));
    EXPECT_EQ(placeOf(box(4)), p4);
    EXPECT_EQ(box(4)->FontName(), font4);
    EXPECT_FALSE(form->ssbUndo->isEnabled()); // a new opening has no history
}
