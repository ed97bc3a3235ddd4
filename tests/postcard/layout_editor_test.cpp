// The layout editor's mouse and keyboard, driven through simulated events on the postcard
// form: drags and the pointer put back after a refused step, the cursors, arrow keys with and
// without Shift, and the stamp. Every case of the rules themselves is a table over layouts in
// tests/layout/layout_rules_test.cpp; here a few of each show that the form applies them.

#include "PostcardFormFixture.h"

#include "controls/TShineBtn.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

using namespace postcardtest;

namespace {

struct DragCase {
    const char* what;
    bool tate;
    QRect start;                 // left, top, length along the writing direction, 0 (thickness from the font)
    QPoint grab;                 // in the box; negative x or y counts from the right / bottom edge
    std::vector<QPoint> steps;   // pointer moves
    QRect expected;              // left, top, length (thickness left out)
    bool pointerPutBack;         // after the last step the pointer is back where it was last accepted
};

QPoint resolve(QPoint p, const QSize& s)
{
    return QPoint(p.x() < 0 ? s.width() + p.x() : p.x(), p.y() < 0 ? s.height() + p.y() : p.y());
}

// Left, top and length of a box (its thickness comes from the font).
QRect placeOf(const TPaintBoxEL* b)
{
    return QRect(b->x(), b->y(), b->Tate() ? b->height() : b->width(), 0);
}

} // namespace

TEST_F(PostcardForm, DraggingAFieldKeepsItOnTheCardAndAboveItsMinimum)
{
    const DragCase cases[] = {
        {"move", false, {100, 200, 100, 0}, {50, 3}, {{20, 10}, {5, -4}}, {125, 206, 100, 0}, false},
        {"move past the bottom stops at the card", false, {100, 200, 100, 0}, {50, 3}, {{0, 500}}, {100, -1, 100, 0}, true},
        {"right edge stops at the card and ends", false, {100, 200, 100, 0}, {-2, 3}, {{200, 0}, {-20, 0}},
         {100, 200, 100, 0}, false},
        {"left edge grows to the left", false, {100, 200, 100, 0}, {1, 3}, {{-30, 0}}, {70, 200, 130, 0}, false},
        {"right edge below 10 is refused", false, {100, 200, 100, 0}, {-2, 3}, {{-95, 0}}, {100, 200, 100, 0}, true},
        {"vertical bottom edge is cut at the card", true, {300, 100, 200, 0}, {3, -2}, {{0, 300}, {0, 20}},
         {300, 100, 458, 0}, false},
        {"vertical bottom edge below 15 is refused", true, {300, 100, 200, 0}, {3, -2}, {{0, -190}}, {300, 100, 200, 0},
         true},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.what);
        AppSettings::instance().postcardFields[1] = field(c.start.x(), c.start.y(), c.start.width(), c.tate);
        open();
        TPaintBoxEL* b = box(2);
        QRect expected = c.expected;
        if (expected.y() < 0) // "stops at the card": the bottom lies on the card's last row
            expected.moveTop(559 - b->height());
        press(b, resolve(c.grab, b->size()));
        EXPECT_EQ(form->selectedField(), b);
        QPoint lastAccepted = QCursor::pos();
        bool putBack = false;
        for (const QPoint& step : c.steps) {
            const QPoint before = QCursor::pos();
            moveBy(b, step);
            putBack = QCursor::pos() != before + step;
            if (putBack)
                EXPECT_EQ(QCursor::pos(), lastAccepted); // back where the last accepted step left it
            else
                lastAccepted = QCursor::pos();
        }
        EXPECT_EQ(placeOf(b), expected);
        EXPECT_EQ(putBack, c.pointerPutBack);
        release(b);
        EXPECT_GE(b->x(), 0);
        EXPECT_GE(b->y(), 0);
        EXPECT_LE(b->x() + b->width(), 378);
        EXPECT_LE(b->y() + b->height(), 559);
        form.reset();
    }
}

TEST_F(PostcardForm, TheRecipientPostalCodeStaysOverItsPrintedBoxes)
{
    open();
    TPaintBoxEL* b = box(1);
    press(b, QPoint(5, 5));
    moveBy(b, QPoint(-60, 80));
    release(b);
    EXPECT_EQ(b->geometry(), QRect(167, 45, 185, 33));
    EXPECT_EQ(form->selectedField(), b);
    key(Qt::Key_Left);
    key(Qt::Key_Down);
    EXPECT_EQ(b->geometry(), QRect(167, 45, 185, 33));
}

TEST_F(PostcardForm, CursorsShowWhatTheMouseWouldDo)
{
    AppSettings::instance().postcardFields[2] = field(300, 100, 200, true);
    open();
    TPaintBoxEL* h = box(2);
    TPaintBoxEL* v = box(3);
    struct Row {
        TPaintBoxEL* box;
        QPoint at;
        Qt::CursorShape hover;
        Qt::CursorShape pressed;
    } rows[] = {
        {h, {1, 3}, Qt::SizeHorCursor, Qt::SizeHorCursor},
        {h, {-2, 3}, Qt::SizeHorCursor, Qt::SizeHorCursor},
        {h, {50, 3}, Qt::PointingHandCursor, Qt::DragMoveCursor},
        {v, {3, 1}, Qt::SizeVerCursor, Qt::SizeVerCursor},
        {v, {3, -2}, Qt::SizeVerCursor, Qt::SizeVerCursor},
        {v, {3, 100}, Qt::PointingHandCursor, Qt::DragMoveCursor},
    };
    for (const Row& r : rows) {
        const QPoint p = resolve(r.at, r.box->size());
        mouse(r.box, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(form->screenCursor(), r.hover) << p.x() << "," << p.y();
        press(r.box, p);
        EXPECT_EQ(form->screenCursor(), r.pressed) << p.x() << "," << p.y();
        release(r.box);
        EXPECT_EQ(form->screenCursor(), Qt::ArrowCursor);
    }
    // Field 1 never changes the cursor.
    mouse(box(1), QEvent::MouseMove, QPoint(3, 3), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(form->screenCursor(), Qt::ArrowCursor);
}

TEST_F(PostcardForm, TheStampsCursorsShowWhichEdgesADragTakes)
{
    open();
    const QString bmp = tmp.filePath(QStringLiteral("stamp.bmp"));
    QImage img(60, 80, QImage::Format_RGB32);
    img.fill(QColor(0, 128, 0));
    ASSERT_TRUE(img.save(bmp, "BMP"));
    dialogs.answerOpenPicture(bmp);
    QTest::mouseClick(form->bbtnStampRead, Qt::LeftButton);
    ASSERT_EQ(form->imgStamp->geometry(), QRect(0, 0, 60, 80));
    TImageEL* stamp = form->imgStamp;
    struct Row {
        QPoint at;
        Qt::CursorShape hover;
        Qt::CursorShape pressed;
    } rows[] = {
        {{1, 1}, Qt::SizeFDiagCursor, Qt::SizeFDiagCursor},     // top left
        {{-2, -2}, Qt::SizeFDiagCursor, Qt::SizeFDiagCursor},   // bottom right
        {{-2, 1}, Qt::SizeBDiagCursor, Qt::SizeBDiagCursor},    // top right
        {{1, -2}, Qt::SizeBDiagCursor, Qt::SizeBDiagCursor},    // bottom left
        {{4, 40}, Qt::SizeHorCursor, Qt::SizeHorCursor},        // left edge
        {{-5, 40}, Qt::SizeHorCursor, Qt::SizeHorCursor},       // right edge
        {{30, 4}, Qt::SizeVerCursor, Qt::SizeVerCursor},        // top edge
        {{30, -5}, Qt::SizeVerCursor, Qt::SizeVerCursor},       // bottom edge
        {{5, 40}, Qt::PointingHandCursor, Qt::DragMoveCursor},  // just inside the grab zone
        {{30, 40}, Qt::PointingHandCursor, Qt::DragMoveCursor},
    };
    for (const Row& r : rows) {
        const QPoint p = resolve(r.at, stamp->size());
        mouse(stamp, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(form->screenCursor(), r.hover) << p.x() << "," << p.y();
        press(stamp, p);
        EXPECT_EQ(form->screenCursor(), r.pressed) << p.x() << "," << p.y();
        release(stamp);
        EXPECT_EQ(form->screenCursor(), Qt::ArrowCursor);
        ASSERT_EQ(stamp->geometry(), QRect(0, 0, 60, 80)); // pressed and released without moving
    }
}

TEST_F(PostcardForm, ArrowKeysMoveAndResizeTheSelectedFieldWithinTheCard)
{
    struct KeyCase {
        const char* what;
        bool tate;
        QRect start; // left, top, length
        int key;
        bool shift;
        QRect expected;
    } cases[] = {
        {"left", false, {100, 200, 100, 0}, Qt::Key_Left, false, {99, 200, 100, 0}},
        {"down", false, {100, 200, 100, 0}, Qt::Key_Down, false, {100, 201, 100, 0}},
        {"right at the card's edge", false, {278, 200, 100, 0}, Qt::Key_Right, false, {278, 200, 100, 0}},
        {"shift right widens", false, {100, 200, 100, 0}, Qt::Key_Right, true, {100, 200, 101, 0}},
        {"shift left at width 10", false, {100, 200, 10, 0}, Qt::Key_Left, true, {100, 200, 10, 0}},
        {"vertical shift down lengthens", true, {300, 100, 200, 0}, Qt::Key_Down, true, {300, 100, 201, 0}},
        {"vertical shift left does nothing", true, {300, 100, 200, 0}, Qt::Key_Left, true, {300, 100, 200, 0}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        AppSettings::instance().postcardFields[0].visible = false;
        AppSettings::instance().postcardFields[1] = field(c.start.x(), c.start.y(), c.start.width(), c.tate);
        open();
        ASSERT_EQ(form->selectedField(), box(2));
        key(c.key, c.shift ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(placeOf(box(2)), c.expected);
        form.reset();
    }
}

TEST_F(PostcardForm, ArrowKeysInTheFontBoxStayWithTheFontBox)
{
    AppSettings::instance().postcardFields[0].visible = false;
    open();
    TPaintBoxEL* b = box(2);
    ASSERT_EQ(form->selectedField(), b);
    const QRect before = b->geometry();
    const int index = form->cmbFldFont->currentIndex();
    ASSERT_GE(index, 0);
    form->cmbFldFont->setFocus();
    QTest::keyClick(form->cmbFldFont, Qt::Key_Down);
    EXPECT_EQ(b->pos(), before.topLeft());
    EXPECT_EQ(form->cmbFldFont->currentIndex(), index + 1);
    // The combo's change restyled the field.
    EXPECT_EQ(b->FontName(), form->cmbFldFont->itemText(index + 1));
    // Back in the card, the keys move the field again.
    form->selectField(b);
    key(Qt::Key_Right);
    EXPECT_EQ(b->x(), before.x() + 1);
}

TEST_F(PostcardForm, WithoutVisibleFieldsTheStyleControlsRestAndKeysDoNothing)
{
    for (FieldStyle& f : AppSettings::instance().postcardFields)
        f.visible = false;
    open();
    EXPECT_EQ(form->selectedField(), nullptr);
    for (QWidget* w : std::initializer_list<QWidget*>{form->cmbFldFont, form->cmbFontSize, form->ssbTate, form->ssbBold,
                                                      form->ssbIta, form->ssbLeft, form->ssbCenter, form->ssbRight})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(form->lblFldTop->text().isEmpty());
    EXPECT_TRUE(form->lblFldLeft->text().isEmpty());
    EXPECT_TRUE(form->lblFldWidth->text().isEmpty());
    const QRect before = box(2)->geometry();
    key(Qt::Key_Right);
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(box(2)->geometry(), before);
    // Showing a field selects it and wakes the controls.
    QTest::mouseClick(form->itemToggles[1], Qt::LeftButton);
    EXPECT_TRUE(form->itemToggles[1]->isDown());
    EXPECT_FALSE(box(2)->isHidden());
    EXPECT_EQ(form->selectedField(), box(2));
    EXPECT_TRUE(form->cmbFldFont->isEnabled());
    EXPECT_TRUE(form->ssbTate->isEnabled());
    key(Qt::Key_Right);
    EXPECT_EQ(box(2)->x(), before.x() + 1);
}

TEST_F(PostcardForm, PositionReadOutsFollowTheSelectedField)
{
    AppSettings::instance().postcardFields[0].visible = false;
    AppSettings::instance().postcardFields[1] = field(100, 200, 151);
    open();
    QApplication::processEvents();
    form->grab(); // paints the boxes
    // 200 px = 529.2 tenths -> 52.9 mm; 100 px -> 26.5 mm; 151 px -> 40.0 mm.
    EXPECT_EQ(form->lblFldTop->text(), QStringLiteral("52.9"));
    EXPECT_EQ(form->lblFldLeft->text(), QStringLiteral("26.5"));
    EXPECT_EQ(form->lblFldWidth->text(), QStringLiteral("40.0"));
    key(Qt::Key_Right);
    form->grab();
    EXPECT_EQ(form->lblFldLeft->text(), QStringLiteral("26.7"));
}
