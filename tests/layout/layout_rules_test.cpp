// The layout editor's rules as tables over layouts, without any widget: drags of fields and
// of the stamp with every card bound and minimum, the arrow keys, turning a field and keeping
// it on the card, the sender postal frame, the offsets, a new stamp and the label sheet.

#include "layout/LayoutRules.h"

#include "support/FieldStyles.h"
#include "support/TestText.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using testtext::u;

FieldStyle field(int left, int top, int length, bool tate = false, bool visible = true, int size = 12)
{
    return teststyles::placedField(left, top, length, tate, visible, QString(), size);
}

// A postcard (or label) layout as a form opens it, with these fields; the rest hidden.
LayoutState layoutWith(LayoutKind kind, std::initializer_list<std::pair<int, FieldStyle>> fields)
{
    AppSettings a;
    FieldStyles& f = kind == LayoutKind::Postcard ? a.postcardFields : a.labelFields;
    for (int n = 2; n <= kFieldCount; ++n)
        f[n - 1] = field(20, 400, 120, false, false);
    for (const auto& [n, style] : fields)
        f[n - 1] = style;
    return LayoutDocument::read(a, kind).state;
}

// Left, top and length of a field (its thickness comes from the font).
QRect placeOf(const LayoutState& s, int n)
{
    const FieldStyle& f = s.field(n).style;
    return QRect(f.left, f.top, f.width, 0);
}

QPoint resolve(QPoint p, const FieldBox& b)
{
    return QPoint(p.x() < 0 ? b.width + p.x() : p.x(), p.y() < 0 ? b.height + p.y() : p.y());
}

struct Dragged {
    LayoutState layout;
    bool lastRefused = false;
};

// A press at `grab` (in the box) and pointer moves by each step, as a user makes them: the
// pointer lies on the card; after a refused step it is back where it was last accepted.
Dragged drag(LayoutState s, int n, QPoint grab, const std::vector<QPoint>& steps)
{
    const QPoint local = resolve(grab, s.field(n).box);
    LayoutRules::Grab g = LayoutRules::grabField(s, n, local);
    QPoint pointer = QPoint(s.field(n).box.left, s.field(n).box.top) + local;
    Dragged d;
    for (const QPoint& step : steps) {
        const QPoint to = pointer + step;
        const FieldBox& b = s.field(n).box;
        const LayoutRules::DragStep r = LayoutRules::dragField(s, n, g, to - QPoint(b.left, b.top));
        s = r.layout;
        d.lastRefused = r.refused;
        if (!r.refused)
            pointer = to;
    }
    d.layout = s;
    return d;
}

} // namespace

TEST(LayoutRules, DraggingAFieldKeepsItOnTheCardAndAboveItsMinimum)
{
    struct Case {
        const char* what;
        bool tate;
        QRect start;               // left, top, length
        QPoint grab;               // in the box; negative counts from the right / bottom edge
        std::vector<QPoint> steps;
        QRect expected;            // left, top, length; top -1: on the card's last row
        bool refused;              // the last step was refused (the pointer goes back)
    } cases[] = {
        {"move", false, {100, 200, 100, 0}, {50, 3}, {{20, 10}, {5, -4}}, {125, 206, 100, 0}, false},
        {"move past the left edge stops at 0", false, {100, 200, 100, 0}, {50, 3}, {{-150, 0}}, {0, 200, 100, 0}, true},
        {"move past the bottom stops at the card", false, {100, 200, 100, 0}, {50, 3}, {{0, 500}}, {100, -1, 100, 0}, true},
        {"move past the right edge", false, {100, 200, 100, 0}, {50, 3}, {{300, 0}}, {278, 200, 100, 0}, true},
        {"move past the top", false, {100, 200, 100, 0}, {50, 3}, {{0, -300}}, {100, 0, 100, 0}, true},
        {"right edge grows", false, {100, 200, 100, 0}, {-2, 3}, {{30, 0}, {10, 0}}, {100, 200, 140, 0}, false},
        {"right edge stops at the card and ends", false, {100, 200, 100, 0}, {-2, 3}, {{200, 0}, {-20, 0}},
         {100, 200, 100, 0}, false},
        {"right edge to exactly the card", false, {100, 200, 100, 0}, {-2, 3}, {{178, 0}}, {100, 200, 278, 0}, false},
        {"left edge grows to the left", false, {100, 200, 100, 0}, {1, 3}, {{-30, 0}}, {70, 200, 130, 0}, false},
        {"left edge past 0 ends the drag", false, {100, 200, 100, 0}, {1, 3}, {{-150, 0}, {-10, 0}},
         {100, 200, 100, 0}, false},
        {"right edge below 10 is refused", false, {100, 200, 100, 0}, {-2, 3}, {{-95, 0}}, {100, 200, 100, 0}, true},
        {"right edge to 10 is allowed", false, {100, 200, 100, 0}, {-2, 3}, {{-90, 0}}, {100, 200, 10, 0}, false},
        {"left edge below 10 is refused", false, {100, 200, 100, 0}, {1, 3}, {{95, 0}}, {100, 200, 100, 0}, true},
        {"vertical bottom edge grows", true, {300, 100, 200, 0}, {3, -2}, {{0, 30}}, {300, 100, 230, 0}, false},
        {"vertical bottom edge is cut at the card", true, {300, 100, 200, 0}, {3, -2}, {{0, 300}, {0, 20}},
         {300, 100, 458, 0}, false},
        {"vertical top edge grows upward", true, {300, 100, 200, 0}, {3, 1}, {{0, -30}}, {300, 70, 230, 0}, false},
        {"vertical top edge past 0 ends", true, {300, 100, 200, 0}, {3, 1}, {{0, -150}, {0, 10}}, {300, 100, 200, 0},
         false},
        {"vertical bottom edge below 15 is refused", true, {300, 100, 200, 0}, {3, -2}, {{0, -190}}, {300, 100, 200, 0},
         true},
        {"vertical field has no left or right edge", true, {300, 100, 200, 0}, {1, 100}, {{-20, 0}}, {280, 100, 200, 0},
         false},
        {"horizontal field has no top or bottom edge", false, {100, 200, 100, 0}, {50, 1}, {{0, -20}},
         {100, 180, 100, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LayoutState start =
            layoutWith(LayoutKind::Postcard, {{2, field(c.start.x(), c.start.y(), c.start.width(), c.tate)}});
        const Dragged d = drag(start, 2, c.grab, c.steps);
        QRect expected = c.expected;
        if (expected.y() < 0)
            expected.moveTop(559 - d.layout.field(2).box.height);
        EXPECT_EQ(placeOf(d.layout, 2), expected);
        EXPECT_EQ(d.lastRefused, c.refused);
        // The thickness stays what the font gives; nothing else of the layout moves.
        EXPECT_EQ(c.tate ? d.layout.field(2).box.width : d.layout.field(2).box.height,
                  c.tate ? start.field(2).box.width : start.field(2).box.height);
        LayoutState rest = d.layout;
        rest.field(2) = start.field(2);
        EXPECT_EQ(rest, start);
    }
}

TEST(LayoutRules, FixedBoxesDoNotMoveOrResizeWhereTheyMustNot)
{
    FieldStyle postal = field(10, 10, 80);
    postal.post = true;
    FieldStyle digits = field(40, 480, 120);
    digits.post = true;
    const LayoutState postcard = layoutWith(LayoutKind::Postcard, {{1, postal}, {7, digits}});
    ASSERT_TRUE(postcard.field(1).style.post);
    // The recipient postal code stays over its printed boxes, by mouse and by keys.
    EXPECT_EQ(drag(postcard, 1, {5, 5}, {{-60, 80}}).layout, postcard);
    EXPECT_FALSE(LayoutRules::arrowKey(postcard, 1, LayoutRules::Arrow::Down, false));
    // The sender digit box has no edges: a grab at its edge moves it, Shift+arrow does nothing.
    const LayoutState moved = drag(postcard, 7, {1, 5}, {{-10, 0}}).layout;
    EXPECT_EQ(moved.field(7).box, (FieldBox{30, 480, 110, 26}));
    EXPECT_FALSE(LayoutRules::arrowKey(postcard, 7, LayoutRules::Arrow::Right, true));
    // On a label field 1 is a box like any other.
    const LayoutState label = layoutWith(LayoutKind::Label, {{1, field(12, 8, 120)}});
    EXPECT_EQ(placeOf(drag(label, 1, {40, 5}, {{20, 30}}).layout, 1), QRect(32, 38, 120, 0));
}

TEST(LayoutRules, ArrowKeysMoveAndResizeWithinTheCard)
{
    using A = LayoutRules::Arrow;
    struct Case {
        const char* what;
        bool tate;
        QRect start; // left, top, length
        A arrow;
        bool shift;
        QRect expected; // empty: refused
    } cases[] = {
        {"left", false, {100, 200, 100, 0}, A::Left, false, {99, 200, 100, 0}},
        {"right", false, {100, 200, 100, 0}, A::Right, false, {101, 200, 100, 0}},
        {"up", false, {100, 200, 100, 0}, A::Up, false, {100, 199, 100, 0}},
        {"down", false, {100, 200, 100, 0}, A::Down, false, {100, 201, 100, 0}},
        {"left at 0", false, {0, 200, 100, 0}, A::Left, false, {}},
        {"up at 0", false, {100, 0, 100, 0}, A::Up, false, {}},
        {"right at the card's edge", false, {278, 200, 100, 0}, A::Right, false, {}},
        {"right one before the edge", false, {277, 200, 100, 0}, A::Right, false, {278, 200, 100, 0}},
        {"shift right widens", false, {100, 200, 100, 0}, A::Right, true, {100, 200, 101, 0}},
        {"shift left narrows", false, {100, 200, 100, 0}, A::Left, true, {100, 200, 99, 0}},
        {"shift left at width 10", false, {100, 200, 10, 0}, A::Left, true, {}},
        {"shift right at the edge", false, {100, 200, 278, 0}, A::Right, true, {}},
        {"shift up on horizontal does nothing", false, {100, 200, 100, 0}, A::Up, true, {}},
        {"vertical shift down lengthens", true, {300, 100, 200, 0}, A::Down, true, {300, 100, 201, 0}},
        {"vertical shift up at 15", true, {300, 100, 15, 0}, A::Up, true, {}},
        {"vertical shift down at the bottom", true, {300, 100, 459, 0}, A::Down, true, {}},
        {"vertical shift left does nothing", true, {300, 100, 200, 0}, A::Left, true, {}},
        {"vertical down at the bottom", true, {300, 359, 200, 0}, A::Down, false, {}},
        {"vertical down", true, {300, 358, 200, 0}, A::Down, false, {300, 359, 200, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LayoutState s =
            layoutWith(LayoutKind::Postcard, {{2, field(c.start.x(), c.start.y(), c.start.width(), c.tate)}});
        const std::optional<LayoutState> next = LayoutRules::arrowKey(s, 2, c.arrow, c.shift);
        ASSERT_EQ(next.has_value(), !c.expected.isNull());
        if (next) {
            EXPECT_EQ(placeOf(*next, 2), c.expected);
        }
    }
}

TEST(LayoutRules, TurningKeepsTheLengthAndKeepsTheBoxOnTheCard)
{
    struct Case {
        const char* what;
        LayoutKind kind;
        FieldStyle start;
        QRect expected; // left, top, length
    } cases[] = {
        {"300 wide turned vertical near the bottom", LayoutKind::Postcard, field(10, 400, 300), {10, 258, 300, 0}},
        {"turned vertical in the middle", LayoutKind::Postcard, field(50, 100, 200), {50, 100, 200, 0}},
        {"400 long turned horizontal", LayoutKind::Postcard, field(100, 50, 400, true), {1, 50, 376, 0}},
        {"turned horizontal near the right edge", LayoutKind::Postcard, field(300, 50, 200, true), {177, 50, 200, 0}},
        // The default label image is 367 x 175: a long line turned vertical is cut to it.
        {"label line turned vertical", LayoutKind::Label, field(24, 30, 320), {24, 1, 173, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LayoutState s = layoutWith(c.kind, {{2, c.start}});
        FieldStyle turned = s.field(2).style;
        turned.tate = !turned.tate;
        turned.fontName = LayoutRules::turnedFace(turned.fontName, turned.tate);
        const LayoutState t = LayoutRules::turn(s, 2, turned);
        EXPECT_EQ(placeOf(t, 2), c.expected);
        EXPECT_EQ(t.field(2).style.fontName, turned.tate ? u(u"@ＭＳ 明朝") : u(u"ＭＳ 明朝"));
        const FieldBox& b = t.field(2).box;
        EXPECT_TRUE(QRect(QPoint(0, 0), s.cardSize()).contains(QRect(b.left, b.top, b.width, b.height)));
        // The thickness is the new font's.
        EXPECT_EQ(turned.tate ? b.width : b.height, FieldGeometry::thickness(t.field(2).style));
    }
    EXPECT_EQ(LayoutRules::turnedFace(u(u"@ＭＳ 明朝"), true), u(u"@ＭＳ 明朝"));
    EXPECT_EQ(LayoutRules::turnedFace(u(u"ＭＳ 明朝"), false), u(u"ＭＳ 明朝"));
}

TEST(LayoutRules, TheSenderPostalFrameMakesField7HorizontalDigits)
{
    const LayoutState s = layoutWith(LayoutKind::Postcard, {{7, field(40, 300, 120, true)}});
    const LayoutState on = LayoutRules::senderPostal(s, true, false, s.field(7).style);
    const FieldStyle& f = on.field(7).style;
    EXPECT_TRUE(f.post);
    EXPECT_TRUE(f.postWaku);
    EXPECT_FALSE(f.tate);
    EXPECT_EQ(f.fontName, u(u"ＭＳ 明朝"));
    EXPECT_FALSE(on.senderPostMark);
    EXPECT_EQ(on.field(7).box, (FieldBox{40, 300, 110, 26}));
    const LayoutState off = LayoutRules::senderPostal(on, false, true, on.field(7).style);
    EXPECT_FALSE(off.field(7).style.post);
    EXPECT_FALSE(off.field(7).style.postWaku);
    EXPECT_TRUE(off.senderPostMark);
    EXPECT_EQ(off.field(7).box.width, 110); // the length it had as a digit box
}

TEST(LayoutRules, StampDragsAndDrops)
{
    struct Case {
        const char* what;
        LayoutKind kind;
        QPoint grab;
        QPoint step;
        QRect expected;
        bool broughtBack;
    } cases[] = {
        {"move", LayoutKind::Postcard, {30, 40}, {100, 50}, {100, 50, 60, 80}, false},
        {"bottom-right corner grows", LayoutKind::Postcard, {58, 78}, {20, 10}, {0, 0, 80, 90}, false},
        {"top-left corner shrinks", LayoutKind::Postcard, {1, 1}, {10, 20}, {10, 20, 50, 60}, false},
        {"right edge below 15 is refused", LayoutKind::Postcard, {58, 30}, {-50, 0}, {0, 0, 60, 80}, false},
        {"partly outside stays", LayoutKind::Postcard, {30, 30}, {-50, 0}, {-50, 0, 60, 80}, false},
        {"wholly outside comes back", LayoutKind::Postcard, {30, 30}, {-61, 0}, {0, 0, 60, 80}, true},
        {"postcard: ending on the edge stays", LayoutKind::Postcard, {30, 30}, {-60, 0}, {-60, 0, 60, 80},
         false},
        {"label: the last column on the edge stays", LayoutKind::Label, {30, 30}, {-59, 0}, {-59, 0, 60, 80}, false},
        {"label: one further comes back", LayoutKind::Label, {30, 30}, {-60, 0}, {0, 0, 60, 80}, true},
        {"label: past the right edge comes back", LayoutKind::Label, {30, 30}, {367, 0}, {0, 0, 60, 80}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LayoutState s = layoutWith(c.kind, {});
        s = LayoutRules::placeStamp(s, QStringLiteral("stamp.bmp"), QSize(60, 80));
        LayoutRules::Grab g = LayoutRules::grabStamp(QRect(0, 0, 60, 80), c.grab);
        const LayoutRules::DragStep step = LayoutRules::dragStamp(s, g, c.grab + c.step);
        bool back = false;
        const LayoutState dropped = LayoutRules::dropStamp(step.layout, &back);
        const ImageBox& st = dropped.stamp;
        EXPECT_EQ(QRect(st.left, st.top, st.width, st.height), c.expected);
        EXPECT_EQ(back, c.broughtBack);
    }
    // A picture larger than the card comes in fitted to it, its aspect kept.
    const LayoutState big = LayoutRules::placeStamp(layoutWith(LayoutKind::Postcard, {}), u(u"big.jpg"), QSize(1000, 500));
    EXPECT_EQ(big.stamp, (ImageBox{u(u"big.jpg"), 0, 0, 378, 189}));
}

TEST(LayoutRules, OffsetsStayWithinTenMillimetres)
{
    LayoutState s = layoutWith(LayoutKind::Postcard, {});
    s.offsetX = 99;
    ASSERT_TRUE(LayoutRules::moveOffset(s, 1, 0));
    EXPECT_EQ(LayoutRules::moveOffset(s, 1, 0)->offsetX, 100);
    s.offsetX = 100;
    EXPECT_FALSE(LayoutRules::moveOffset(s, 1, 0));
    EXPECT_EQ(LayoutRules::moveOffset(s, -1, -1)->offsetY, -1);
    s.offsetY = -100;
    EXPECT_FALSE(LayoutRules::moveOffset(s, 0, -1));
}

TEST(LayoutRules, SheetChangesRefuseALabelSmallerThanItsFieldsAndFitTheBoxes)
{
    // The default sheet: labels of 46.2 x 97.0 mm (367 x 175 pixels); lines 320 pixels long.
    const LayoutState s = layoutWith(LayoutKind::Label, {{2, field(24, 30, 320)}, {4, field(30, 90, 300, false, true, 16)}});
    struct Case {
        const char* what;
        SheetSetting setting;
        int value;
        bool allowed;
        QSize image;
    } cases[] = {
        {"3 columns", SheetSetting::Columns, 3, true, {245, 175}},
        {"8 rows", SheetSetting::Rows, 8, true, {367, 131}},
        {"a wide left margin", SheetSetting::LeftMargin, 500, true, {287, 175}},
        // 320 pixels count as 32.0 mm against the label's width in tenths.
        {"8 columns: 24.3 mm, narrower than the lines", SheetSetting::Columns, 8, false, {367, 175}},
        {"14 rows and the 16 point name", SheetSetting::Rows, 14, true, {367, 75}},
        {"a value beyond the range is held to it", SheetSetting::Rows, 99, true, {367, 75}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LayoutRules::SheetChange r = LayoutRules::changeSheet(s, c.setting, c.value);
        EXPECT_EQ(r.allowed, c.allowed);
        EXPECT_EQ(r.layout.cardSize(), c.image);
        EXPECT_EQ(r.message.isEmpty(), c.allowed);
        if (!c.allowed) {
            EXPECT_EQ(r.message, u(u"ラベルの最小値を下回るためこの変更は出来ません。"));
            EXPECT_EQ(r.layout, s);
        }
        for (const LayoutField& f : r.layout.fields) {
            const QRect b(f.box.left, f.box.top, f.box.width, f.box.height);
            EXPECT_TRUE(QRect(QPoint(0, 0), c.image).contains(b)) << b.x() << "," << b.y() << " " << b.width();
        }
    }
    // A whole sheet (a product chosen by name) follows the same rule.
    LabelSheet narrow = s.sheet;
    narrow.columns = 8;
    narrow.rows = 14;
    EXPECT_FALSE(LayoutRules::replaceSheet(s, narrow).allowed);
    LabelSheet three = s.sheet;
    three.columns = 3;
    three.topMargin = -40; // held to its range
    const LayoutRules::SheetChange whole = LayoutRules::replaceSheet(s, three);
    ASSERT_TRUE(whole.allowed);
    EXPECT_EQ(whole.layout.sheet.topMargin, 0);
    EXPECT_EQ(whole.layout.field(2).box.width, 245);
    // A line wider than the new label takes its width and moves to its left edge.
    const LayoutField line = LayoutRules::changeSheet(s, SheetSetting::Columns, 3).layout.field(2);
    EXPECT_EQ(line.style.width, 245);
    EXPECT_EQ(line.box.left, 0);
}
