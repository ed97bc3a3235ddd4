#include "layout/LayoutRules.h"

#include <algorithm>

namespace LayoutRules {

namespace {

QRect rectOf(const FieldBox& b)
{
    return QRect(b.left, b.top, b.width, b.height);
}

FieldBox boxOf(const QRect& r)
{
    return FieldBox{r.x(), r.y(), r.width(), r.height()};
}

QRect stampRect(const ImageBox& s)
{
    return QRect(s.left, s.top, s.width, s.height);
}

void setStampRect(ImageBox& s, const QRect& r)
{
    s.left = r.x();
    s.top = r.y();
    s.width = r.width();
    s.height = r.height();
}

bool onCard(const QRect& g, const QSize& card)
{
    return g.left() >= 0 && g.top() >= 0 && g.left() + g.width() <= card.width()
        && g.top() + g.height() <= card.height();
}

} // namespace

int firstVisibleField(const LayoutState& layout)
{
    for (int n = 1; n <= kFieldCount; ++n) {
        if (layout.field(n).visible())
            return n;
    }
    return 0;
}

bool isPinned(const LayoutState& layout, int field)
{
    return layout.postcard() && field == 1;
}

int edgeAt(int pos, int extent)
{
    return pos < kEdgeZone ? 1 : pos >= extent - kEdgeZone ? 2 : 0;
}

Grab grabField(const LayoutState& layout, int field, QPoint local)
{
    Grab g;
    g.down = local;
    const LayoutField& f = layout.field(field);
    if (!FieldGeometry::fixedLength(field, f.style)) {
        if (!f.style.tate)
            g.edgeH = edgeAt(local.x(), f.box.width);
        else
            g.edgeV = edgeAt(local.y(), f.box.height);
    }
    g.moving = g.edgeH == 0 && g.edgeV == 0;
    return g;
}

Grab grabStamp(const QRect& stamp, QPoint local)
{
    Grab g;
    g.down = local;
    g.edgeH = edgeAt(local.x(), stamp.width());
    g.edgeV = edgeAt(local.y(), stamp.height());
    g.moving = g.edgeH == 0 && g.edgeV == 0;
    return g;
}

DragStep dragField(const LayoutState& layout, int field, Grab& grab, QPoint local)
{
    DragStep step{layout, false};
    if (isPinned(layout, field) || !grab.active())
        return step; // an edge drag that ended at the card's border does nothing more
    const LayoutField& f = layout.field(field);
    const QSize card = layout.cardSize();
    const FieldBox g = f.box;
    int left = g.left, top = g.top, width = g.width, height = g.height;
    const int dx = local.x() - grab.down.x();
    const int dy = local.y() - grab.down.y();

    if (grab.edgeH == 1) {
        if (left + dx < 0) {
            grab.edgeH = 0;
        } else {
            left += dx;
            width -= dx;
        }
    } else if (grab.edgeH == 2) {
        if (left + width + dx > card.width()) {
            step.refused = true;
            grab.edgeH = 0;
        } else {
            width += dx;
        }
    }
    if (grab.edgeV == 1) {
        if (top + dy < 0) {
            grab.edgeV = 0;
        } else {
            top += dy;
            height -= dy;
        }
    } else if (grab.edgeV == 2) {
        // Cut at the card's bottom at once rather than one step later.
        if (top + height + dy > card.height()) {
            height = card.height() - top - 1;
            grab.edgeV = 0;
        } else {
            height += dy;
        }
    }
    if (grab.moving) {
        top += dy;
        left += dx;
        if (top > card.height() - height) {
            top = card.height() - height;
            step.refused = true;
        }
        if (top < 0) {
            top = 0;
            step.refused = true;
        }
        if (left > card.width() - width) {
            left = card.width() - width;
            step.refused = true;
        }
        if (left < 0) {
            left = 0;
            step.refused = true;
        }
    }
    bool keepPoint = false;
    if (!f.style.tate && width < kMinHorizontal) {
        width = g.width;
        left = g.left;
        step.refused = keepPoint = true;
    }
    if (f.style.tate && height < kMinVertical) {
        height = g.height;
        top = g.top;
        step.refused = keepPoint = true;
    }
    step.layout.field(field) = f.movedTo(FieldBox{left, top, width, height});
    if (!keepPoint) {
        // Right and bottom edges grow under a pointer that stays on them.
        if (grab.edgeH == 2)
            grab.down.setX(local.x());
        if (grab.edgeV == 2)
            grab.down.setY(local.y());
    }
    return step;
}

DragStep dragStamp(const LayoutState& layout, Grab& grab, QPoint local)
{
    DragStep step{layout, false};
    if (layout.stamp.path.isEmpty() || !grab.active())
        return step;
    const QRect g = stampRect(layout.stamp);
    int left = g.x(), top = g.y(), width = g.width(), height = g.height();
    const int dx = local.x() - grab.down.x();
    const int dy = local.y() - grab.down.y();
    if (grab.edgeH == 1) {
        left += dx;
        width -= dx;
    } else if (grab.edgeH == 2) {
        width += dx;
    }
    if (grab.edgeV == 1) {
        top += dy;
        height -= dy;
    } else if (grab.edgeV == 2) {
        height += dy;
    }
    if (grab.moving) {
        left += dx;
        top += dy;
    }
    bool refusedH = false, refusedV = false;
    if (width < kMinStamp) {
        width = g.width();
        left = g.x();
        refusedH = true;
    }
    if (height < kMinStamp) {
        height = g.height();
        top = g.y();
        refusedV = true;
    }
    setStampRect(step.layout.stamp, QRect(left, top, width, height));
    step.refused = refusedH || refusedV;
    if (grab.edgeH == 2 && !refusedH)
        grab.down.setX(local.x());
    if (grab.edgeV == 2 && !refusedV)
        grab.down.setY(local.y());
    return step;
}

bool stampOutside(const LayoutState& layout, const QRect& s)
{
    const QSize card = layout.cardSize();
    if (!layout.postcard())
        return LabelGeometry::stampOutside(s, card);
    return s.y() + s.height() < 0 || s.x() + s.width() < 0 || s.y() > card.height() || s.x() > card.width();
}

LayoutState dropStamp(const LayoutState& layout, bool* broughtBack)
{
    LayoutState s = layout;
    const bool outside = !s.stamp.path.isEmpty() && stampOutside(s, stampRect(s.stamp));
    if (outside) {
        s.stamp.left = 0;
        s.stamp.top = 0;
    }
    if (broughtBack)
        *broughtBack = outside;
    return s;
}

std::optional<LayoutState> arrowKey(const LayoutState& layout, int field, Arrow arrow, bool shift)
{
    if (isPinned(layout, field))
        return std::nullopt;
    const LayoutField& f = layout.field(field);
    const int d = (arrow == Arrow::Left || arrow == Arrow::Up) ? -1 : 1;
    const bool horizontalKey = arrow == Arrow::Left || arrow == Arrow::Right;
    QRect g = rectOf(f.box);
    if (!shift) {
        g.translate(horizontalKey ? d : 0, horizontalKey ? 0 : d);
    } else if (FieldGeometry::fixedLength(field, f.style)) {
        return std::nullopt; // a postal box or a barcode has a fixed size
    } else if (f.style.tate) {
        if (horizontalKey)
            return std::nullopt;
        g.setHeight(g.height() + d);
        if (g.height() < kMinVertical)
            return std::nullopt;
    } else {
        if (!horizontalKey)
            return std::nullopt;
        g.setWidth(g.width() + d);
        if (g.width() < kMinHorizontal)
            return std::nullopt;
    }
    if (!onCard(g, layout.cardSize()))
        return std::nullopt;
    LayoutState s = layout;
    s.field(field) = f.movedTo(boxOf(g));
    return s;
}

LayoutState restyle(const LayoutState& layout, int field, const FieldStyle& style)
{
    LayoutState s = layout;
    s.field(field) = LayoutField::fromStyle(field, style, layout.postcard());
    return s;
}

LayoutState keepOnCard(const LayoutState& layout, int field)
{
    if (isPinned(layout, field))
        return layout;
    const QSize card = layout.cardSize();
    QRect g = rectOf(layout.field(field).box);
    if (g.left() < 0)
        g.moveLeft(1);
    if (g.top() < 0)
        g.moveTop(1);
    if (g.top() + g.height() > card.height()) {
        // A box longer than the card is cut to it, as a box wider than the card is.
        if (g.height() > card.height())
            g = QRect(g.left(), 1, g.width(), card.height() - 2);
        else
            g.moveTop(std::max(0, card.height() - g.height() - 1));
    }
    if (g.left() + g.width() > card.width()) {
        if (g.width() > card.width())
            g = QRect(1, g.top(), card.width() - 2, g.height());
        else
            g.moveLeft(std::max(0, card.width() - g.width() - 1));
    }
    LayoutState s = layout;
    s.field(field) = layout.field(field).movedTo(boxOf(g));
    return s;
}

LayoutState turn(const LayoutState& layout, int field, const FieldStyle& turned)
{
    return keepOnCard(restyle(layout, field, turned), field);
}

QString turnedFace(const QString& face, bool vertical)
{
    const bool at = face.startsWith(QLatin1Char('@'));
    if (vertical && !at)
        return QLatin1Char('@') + face;
    if (!vertical && at)
        return face.mid(1);
    return face;
}

LayoutState setVisible(const LayoutState& layout, int field, bool visible)
{
    LayoutState s = layout;
    s.field(field).style.visible = visible;
    return s;
}

LayoutState senderPostal(const LayoutState& layout, bool frame, bool postMark, const FieldStyle& base)
{
    LayoutState s = layout;
    s.senderPostMark = postMark;
    FieldStyle f7 = base;
    f7.post = frame;
    f7.postWaku = frame;
    if (frame) {
        // Digits in the sender boxes run across the card.
        f7.tate = false;
        f7.fontName = turnedFace(f7.fontName, false);
    }
    return keepOnCard(restyle(s, 7, f7), 7);
}

std::optional<LayoutState> moveOffset(const LayoutState& layout, int dx, int dy)
{
    const int x = layout.offsetX + dx;
    const int y = layout.offsetY + dy;
    if (x < -kOffsetLimit || x > kOffsetLimit || y < -kOffsetLimit || y > kOffsetLimit)
        return std::nullopt;
    LayoutState s = layout;
    s.offsetX = x;
    s.offsetY = y;
    return s;
}

LayoutState placeStamp(const LayoutState& layout, const QString& path, QSize natural)
{
    const QSize card = layout.cardSize();
    QSize size = natural;
    // A picture larger than the card would hide its own edges; it comes in fitted to the card.
    if (size.width() > card.width() || size.height() > card.height())
        size = size.scaled(card, Qt::KeepAspectRatio).expandedTo(QSize(kMinStamp, kMinStamp));
    LayoutState s = layout;
    s.stamp = ImageBox{path, 0, 0, size.width(), size.height()};
    return s;
}

LabelGeometry::Floor fieldFloor(const LayoutState& layout)
{
    QVector<QRect> visible;
    for (const LayoutField& f : layout.fields) {
        if (f.visible())
            visible.push_back(rectOf(f.box));
    }
    return LabelGeometry::fieldFloor(visible);
}

LayoutState fitIntoLabel(const LayoutState& layout)
{
    LayoutState s = layout;
    const QSize image = s.cardSize();
    for (LayoutField& f : s.fields) {
        const QRect kept = LabelGeometry::keepBoxInside(rectOf(f.box), image);
        if (kept != rectOf(f.box))
            f = f.movedTo(boxOf(kept));
    }
    if (!s.stamp.path.isEmpty())
        setStampRect(s.stamp, LabelGeometry::keepStampInside(stampRect(s.stamp), image));
    return s;
}

SheetChange changeSheet(const LayoutState& layout, SheetSetting setting, int value)
{
    LabelSheet sheet = layout.sheet;
    LabelGeometry::setValue(sheet, setting, value);
    return replaceSheet(layout, sheet);
}

SheetChange replaceSheet(const LayoutState& layout, const LabelSheet& sheet)
{
    SheetChange c;
    const LabelSheet candidate = LabelGeometry::clamped(sheet);
    const LabelGeometry::Check check = LabelGeometry::checkSheet(candidate, fieldFloor(layout));
    if (check.verdict != LabelGeometry::Verdict::Allowed) {
        c.layout = layout;
        c.message = LabelGeometry::refusalMessage();
        return c;
    }
    LayoutState s = layout;
    s.sheet = candidate;
    c.allowed = true;
    c.layout = fitIntoLabel(s);
    return c;
}

} // namespace LayoutRules
