#pragma once
// The A4 label sheet as a grid: the eight sheet settings, the size of one label that follows
// from them, where each label lies on the paper, the minimum-size check, and how the field
// boxes and the stamp are kept inside a label image that changed size.
//
// Lengths on paper are integer tenths of a millimetre; the label image and the boxes on it
// are layout pixels (0.37795 pixel per 0.1 mm). The sheet is always A4 portrait: the paper
// the printer reports never enters the grid.

#include "app/AppSettings.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

// The eight settings, in the order the settings file lists them.
enum class SheetSetting { Columns, Rows, TopMargin, BottomMargin, LeftMargin, RightMargin, RowGap, ColumnGap };

namespace LabelGeometry {

constexpr int kSheetWidth = 2100;  // 210.0 mm
constexpr int kSheetHeight = 2970; // 297.0 mm
// The smallest label, whatever the fields: 5.0 mm both ways.
constexpr int kMinimumExtent = 50;

struct Range {
    int min = 0;
    int max = 0;
};

// Columns 2..8, rows 2..14, margins and gaps 0..500 tenths (0.0 .. 50.0 mm).
Range range(SheetSetting setting);
int value(const LabelSheet& sheet, SheetSetting setting);
void setValue(LabelSheet& sheet, SheetSetting setting, int value);
// The caption of the setting on the form ("ラベル横", "上余白", ...).
QString caption(SheetSetting setting);
// Every setting, in file order.
const QVector<SheetSetting>& allSettings();

// A copy with every value held to its range. `outOfRange` (when given) receives the
// settings whose stored values were outside it.
LabelSheet clamped(const LabelSheet& sheet, QVector<SheetSetting>* outOfRange = nullptr);

// H = Trunc((2970 - top - bottom - (rows - 1) * row gap) / rows + 0.5) and
// W = Trunc((2100 - left - right - (columns - 1) * column gap) / columns + 0.5), in floating
// point with Trunc toward zero. A count below 1 counts as 1 (a hand-made sheet cannot divide
// by zero).
int labelHeight(const LabelSheet& sheet);
int labelWidth(const LabelSheet& sheet);

// The label image in layout pixels: Trunc(W * 0.37795 + 0.5) wide, Trunc(H * 0.37795 + 0.5)
// high, never below one pixel.
QSize imageSize(int labelHeight, int labelWidth);

// The top-left corner of the label in row `row`, column `column` (both from 1), in tenths
// from the paper's top-left corner. Cells are laid from the top and left margins.
QPoint cellOrigin(const LabelSheet& sheet, int labelHeight, int labelWidth, int row, int column);

// The floor a label must not fall below: at least 50 tenths both ways, and the largest
// height and width (in pixels, taken as tenths as they stand) of the visible boxes.
struct Floor {
    int height = kMinimumExtent;
    int width = kMinimumExtent;
};
Floor fieldFloor(const QVector<QRect>& visibleBoxes);

// The minimum rule for a proposed value: the value is held to the setting's range, the
// height is computed with it and checked first; only a height that passes has its width
// checked.
enum class Verdict { Allowed, TooLow, TooNarrow };
struct Check {
    Verdict verdict = Verdict::Allowed;
    int value = 0;  // the proposed value held to its range
    int height = 0; // H and W with it
    int width = 0;
};
Check check(const LabelSheet& sheet, SheetSetting setting, int proposed, const Floor& floor);
// The same rule for a whole sheet that replaces the current one (values within their ranges).
Check checkSheet(const LabelSheet& candidate, const Floor& floor);
// The one message of a refused change.
QString refusalMessage();

// A box kept inside an image of the given size, in this order: taller than the image -> the
// image's height; bottom below the image -> moved up to end at its bottom; wider -> the image's
// width; right edge beyond -> moved left to end at its right edge.
QRect keepBoxInside(const QRect& box, const QSize& image);
// The stamp keeps its size; its top goes to at most image height - 4, its left to at most
// image width - 4.
QRect keepStampInside(const QRect& stamp, const QSize& image);
// True when no pixel of the stamp lies on the image: its bottom edge at or above 0, its right
// edge at or left of 0, its top below image height - 1 or its left beyond image width - 1.
bool stampOutside(const QRect& stamp, const QSize& image);

} // namespace LabelGeometry
