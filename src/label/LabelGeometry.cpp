#include "label/LabelGeometry.h"

#include "layout/LayoutUnits.h"

#include <algorithm>
#include <cmath>

namespace LabelGeometry {

namespace {

// Trunc(x + 0.5) with Trunc toward zero.
int roundHalfUp(double x)
{
    return int(std::trunc(x + 0.5));
}

} // namespace

Range range(SheetSetting setting)
{
    switch (setting) {
    case SheetSetting::Columns:
        return {2, 8};
    case SheetSetting::Rows:
        return {2, 14};
    default:
        return {0, 500};
    }
}

int value(const LabelSheet& s, SheetSetting setting)
{
    switch (setting) {
    case SheetSetting::Columns:
        return s.columns;
    case SheetSetting::Rows:
        return s.rows;
    case SheetSetting::TopMargin:
        return s.topMargin;
    case SheetSetting::BottomMargin:
        return s.bottomMargin;
    case SheetSetting::LeftMargin:
        return s.leftMargin;
    case SheetSetting::RightMargin:
        return s.rightMargin;
    case SheetSetting::RowGap:
        return s.rowGap;
    case SheetSetting::ColumnGap:
        return s.columnGap;
    }
    return 0;
}

void setValue(LabelSheet& s, SheetSetting setting, int v)
{
    switch (setting) {
    case SheetSetting::Columns:
        s.columns = v;
        break;
    case SheetSetting::Rows:
        s.rows = v;
        break;
    case SheetSetting::TopMargin:
        s.topMargin = v;
        break;
    case SheetSetting::BottomMargin:
        s.bottomMargin = v;
        break;
    case SheetSetting::LeftMargin:
        s.leftMargin = v;
        break;
    case SheetSetting::RightMargin:
        s.rightMargin = v;
        break;
    case SheetSetting::RowGap:
        s.rowGap = v;
        break;
    case SheetSetting::ColumnGap:
        s.columnGap = v;
        break;
    }
}

QString caption(SheetSetting setting)
{
    switch (setting) {
    case SheetSetting::Columns:
        return QStringLiteral("ラベル横");
    case SheetSetting::Rows:
        return QStringLiteral("ラベル縦");
    case SheetSetting::TopMargin:
        return QStringLiteral("上余白");
    case SheetSetting::BottomMargin:
        return QStringLiteral("下余白");
    case SheetSetting::LeftMargin:
        return QStringLiteral("左余白");
    case SheetSetting::RightMargin:
        return QStringLiteral("右余白");
    case SheetSetting::RowGap:
        return QStringLiteral("縦間隔");
    case SheetSetting::ColumnGap:
        return QStringLiteral("横間隔");
    }
    return QString();
}

const QVector<SheetSetting>& allSettings()
{
    static const QVector<SheetSetting> all = {SheetSetting::Columns,     SheetSetting::Rows,
                                              SheetSetting::TopMargin,   SheetSetting::BottomMargin,
                                              SheetSetting::LeftMargin,  SheetSetting::RightMargin,
                                              SheetSetting::RowGap,      SheetSetting::ColumnGap};
    return all;
}

LabelSheet clamped(const LabelSheet& sheet, QVector<SheetSetting>* outOfRange)
{
    LabelSheet out = sheet;
    for (SheetSetting setting : allSettings()) {
        const Range r = range(setting);
        const int v = value(sheet, setting);
        const int held = std::clamp(v, r.min, r.max);
        if (held != v && outOfRange)
            outOfRange->push_back(setting);
        setValue(out, setting, held);
    }
    return out;
}

int labelHeight(const LabelSheet& s)
{
    const int rows = std::max(1, s.rows);
    const double free = double(kSheetHeight) - s.topMargin - s.bottomMargin - double(rows - 1) * s.rowGap;
    return roundHalfUp(free / rows);
}

int labelWidth(const LabelSheet& s)
{
    const int columns = std::max(1, s.columns);
    const double free = double(kSheetWidth) - s.leftMargin - s.rightMargin - double(columns - 1) * s.columnGap;
    return roundHalfUp(free / columns);
}

QSize imageSize(int labelHeight, int labelWidth)
{
    return QSize(std::max(1, LayoutUnits::tenthsToPixels(labelWidth)),
                 std::max(1, LayoutUnits::tenthsToPixels(labelHeight)));
}

QPoint cellOrigin(const LabelSheet& s, int labelHeight, int labelWidth, int row, int column)
{
    const int x = s.leftMargin + (column - 1) * labelWidth + (column - 1) * s.columnGap;
    const int y = s.topMargin + (row - 1) * labelHeight + (row - 1) * s.rowGap;
    return QPoint(x, y);
}

Floor fieldFloor(const QVector<QRect>& visibleBoxes)
{
    Floor f;
    for (const QRect& b : visibleBoxes) {
        f.height = std::max(f.height, b.height());
        f.width = std::max(f.width, b.width());
    }
    return f;
}

Check check(const LabelSheet& sheet, SheetSetting setting, int proposed, const Floor& floor)
{
    Check c;
    const Range r = range(setting);
    c.value = std::clamp(proposed, r.min, r.max);
    LabelSheet candidate = sheet;
    setValue(candidate, setting, c.value);
    const Check whole = checkSheet(candidate, floor);
    c.verdict = whole.verdict;
    c.height = whole.height;
    c.width = whole.width;
    return c;
}

Check checkSheet(const LabelSheet& candidate, const Floor& floor)
{
    Check c;
    c.height = labelHeight(candidate);
    c.width = labelWidth(candidate);
    if (c.height < floor.height)
        c.verdict = Verdict::TooLow;
    else if (c.width < floor.width)
        c.verdict = Verdict::TooNarrow;
    return c;
}

QString refusalMessage()
{
    return QStringLiteral("ラベルの最小値を下回るためこの変更は出来ません。");
}

QRect keepBoxInside(const QRect& box, const QSize& image)
{
    int left = box.x(), top = box.y(), width = box.width(), height = box.height();
    if (height > image.height())
        height = image.height();
    if (top + height > image.height())
        top = image.height() - height;
    if (width > image.width())
        width = image.width();
    if (left + width > image.width())
        left = image.width() - width;
    return QRect(left, top, width, height);
}

QRect keepStampInside(const QRect& stamp, const QSize& image)
{
    QRect out = stamp;
    out.moveTop(std::min(stamp.y(), image.height() - 4));
    out.moveLeft(std::min(stamp.x(), image.width() - 4));
    return out;
}

bool stampOutside(const QRect& s, const QSize& image)
{
    return s.y() + s.height() <= 0 || s.x() + s.width() <= 0 || s.y() > image.height() - 1
        || s.x() > image.width() - 1;
}

} // namespace LabelGeometry
