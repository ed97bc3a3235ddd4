#pragma once
// Name 1 with its joint names (連名) set as one block, the way Japanese cards set a family:
//
//   - a vertical field becomes columns, name 1 on the right and each joint name in its own
//     column to its left; a horizontal field becomes lines, the joint names under name 1;
//     the pitch is the field's column width (line height);
//   - a joint name that is a given name alone starts where name 1's given name starts (after
//     name 1's first space; one character in when name 1 has none); a full name starts where
//     name 1 starts;
//   - the honorifics start together, one ideographic space after the end of the longest name;
//   - the block is centred across on name 1's own column (line) and placed along the field by
//     its alignment, so a centred name stays centred where name 1 alone would be.
//
// place() is the geometry alone: it measures through the function it is given, so it knows
// nothing of fonts or devices.

#include "layout/FieldTexts.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>
#include <functional>

namespace NameBlock {

// The length of a text along the writing direction, in the units of the frame.
using Measure = std::function<qreal(const QString&)>;

// Where name 1 alone would be set.
struct Frame {
    QRectF box;          // name 1's field: left, top, width, height
    bool vertical = false;
    int alignment = 0;   // stored order: 0 start (top / left), 1 centre, 2 end (bottom / right)
    qreal thickness = 0; // name 1's column width (line height) at the field's own size
};

struct Piece {
    QString text;
    // Vertical: the column's left edge and the top of its first character. Horizontal: the
    // left edge and the top of the line.
    QPointF at;
    qreal length = 0;   // along the writing direction
    int line = 0;       // 0 is the first line of the block (name 1 when it has one)
    bool honorific = false;
};

struct Layout {
    QVector<Piece> pieces; // names first, then honorifics, each in line order
    int lines = 0;
    qreal pitch = 0;
    qreal extent = 0;      // from the first character of the block to its last, along
    QRectF bounds;         // the whole block: every line across, its extent along
    // How far the block reaches beyond name 1's field on the side its joint names go (left of
    // a vertical field, below a horizontal one); what comes after the block moves by this.
    qreal after = 0;
    bool fits = true;      // the extent is within the field's length
};

// The block of `names` (at least one joint name) at column pitch `pitch` with lengths from
// `length`. A block longer than its field starts at the field's start (and is cut at its end,
// as any text too long for its box). Name 1 blank: the joint names alone, each from the start.
Layout place(const NameBlockTexts& names, const Frame& frame, qreal pitch, const Measure& length);

} // namespace NameBlock
