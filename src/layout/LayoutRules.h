#pragma once
// The layout editor's rules as plain functions over layouts: which edge a press grabs, a
// drag step of a field or of the stamp, the arrow keys, a style change, a turn and keeping a
// box on the card, visibility, the sender postal frame, the offsets and the label sheet.
// Each takes a layout (and the gesture) and gives the next layout, or says no. The forms
// translate mouse and keys into these calls and hand the result to their LayoutDocument.
//
// All positions are layout pixels on the card (postcard) or label image; a field box is its
// LayoutField::box.

#include "label/LabelGeometry.h"
#include "layout/LayoutDocument.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

namespace LayoutRules {

constexpr int kEdgeZone = 5;       // grab zone at a box's edges
constexpr int kMinHorizontal = 10; // shortest horizontal field
constexpr int kMinVertical = 15;   // shortest vertical field
constexpr int kMinStamp = 15;      // smallest side of the stamp
constexpr int kOffsetLimit = 100;  // position adjustment, tenths of a millimetre

// --- selection -------------------------------------------------------------------------------

// The lowest-numbered visible field, 0 when none is visible.
int firstVisibleField(const LayoutState& layout);
// A field the mouse and the keys neither move nor resize: the postcard's postal code, which
// lies over the card's printed boxes.
bool isPinned(const LayoutState& layout, int field);

// Which edge a point `pos` of an extent `extent` long grabs: 1 the left (top), 2 the right
// (bottom), 0 neither.
int edgeAt(int pos, int extent);

// What a press at `local` (in the box) takes hold of, and the drag that follows.
struct Grab {
    int edgeH = 0;   // 1 left edge, 2 right edge
    int edgeV = 0;   // 1 top edge, 2 bottom edge
    bool moving = false;
    QPoint down;     // the press point in the box (or stamp); follows right and bottom edges

    bool active() const { return moving || edgeH != 0 || edgeV != 0; }
};
// A field is lengthened along its writing direction only; a postal-digit box not at all.
Grab grabField(const LayoutState& layout, int field, QPoint local);
// The stamp has edges and corners on all sides.
Grab grabStamp(const QRect& stamp, QPoint local);

// --- drags -----------------------------------------------------------------------------------

struct DragStep {
    LayoutState layout;
    // A step the rules refused, wholly or in part: the pointer goes back to where it was last
    // accepted.
    bool refused = false;
};
// The pointer at `local` (in the box as it is now) while field `field` is dragged: moves
// keep the box on the card, a right edge stops at the card, a left or top edge drag ends at
// 0, a bottom edge is cut at the card's bottom and ends, widths below 10 (heights below 15
// for vertical fields) are refused. `grab` follows the drag (edges that ended, the press
// point of right and bottom edges).
DragStep dragField(const LayoutState& layout, int field, Grab& grab, QPoint local);
// The same for the stamp: it may leave the card; sides below 15 are refused.
DragStep dragStamp(const LayoutState& layout, Grab& grab, QPoint local);

// Where the stamp lies when its drag ends: one that no longer touches the card comes back to
// the top-left corner (and `broughtBack` says so, for the warning).
LayoutState dropStamp(const LayoutState& layout, bool* broughtBack);
// True when the stamp counts as outside the card (the postcard's rule, or the label's: no
// pixel left on the image).
bool stampOutside(const LayoutState& layout, const QRect& stamp);

// --- keys ------------------------------------------------------------------------------------

enum class Arrow { Left, Right, Up, Down };
// An arrow key on field `field`: one pixel of movement, or with Shift one pixel of length
// along the writing direction. Nothing (nullopt) when the box would leave the card or get
// shorter than its minimum, for a key across the writing direction with Shift, and for
// fixed boxes.
std::optional<LayoutState> arrowKey(const LayoutState& layout, int field, Arrow arrow, bool shift);

// --- style -----------------------------------------------------------------------------------

// Field `field` takes `style` whole; its thickness comes from the new font. A postal-digit
// box keeps its fixed size.
LayoutState restyle(const LayoutState& layout, int field, const FieldStyle& style);
// A box put back on the card after it turned or changed its style: a negative left or top
// becomes 1; a box below or right of the card moves in, one longer than the card is cut to
// it. Pinned fields stay.
LayoutState keepOnCard(const LayoutState& layout, int field);
// The vertical toggle: restyle with the turned style, then keep the box on the card.
LayoutState turn(const LayoutState& layout, int field, const FieldStyle& turned);
// The face a turned field takes: "@" put in front when it turns vertical, taken off when it
// turns horizontal.
QString turnedFace(const QString& face, bool vertical);

// Field `field` shown or hidden.
LayoutState setVisible(const LayoutState& layout, int field, bool visible);

// The postcard's sender postal frame ("郵便枠対応") and sender 〒 ("先頭に〒付加") as the
// shared handler of their check boxes sets them: field 7 takes `base` (its style as the
// style controls show it) with the frame, and turns horizontal in a face without "@" when
// the frame is on; then it is kept on the card.
LayoutState senderPostal(const LayoutState& layout, bool frame, bool postMark, const FieldStyle& base);

// --- the rest of the form --------------------------------------------------------------------

// The position adjustment moved by `dx`, `dy` tenths; nothing beyond ±10.0 mm.
std::optional<LayoutState> moveOffset(const LayoutState& layout, int dx, int dy);

// A new stamp picture of natural size `natural`: at the card's top-left corner, fitted into
// the card (aspect kept) when it is larger.
LayoutState placeStamp(const LayoutState& layout, const QString& path, QSize natural);

// A label sheet setting about to take `value` (held to its range): refused with its message
// when the label would get smaller than 5.0 mm or than its largest visible field (pixels
// taken as tenths); otherwise the setting changes and every box and the stamp are kept
// inside the new label image.
struct SheetChange {
    bool allowed = false;
    LayoutState layout;
    QString message; // the refusal's message
};
SheetChange changeSheet(const LayoutState& layout, SheetSetting setting, int value);
// A whole sheet replacing the label's (a label product chosen by name): its values held to
// their ranges, the same minimum rule, the boxes kept inside the new label.
SheetChange replaceSheet(const LayoutState& layout, const LabelSheet& sheet);
// The floor the label must not fall below, from the visible boxes.
LabelGeometry::Floor fieldFloor(const LayoutState& layout);
// Every box and the stamp kept inside the label image (after the image changed size).
LayoutState fitIntoLabel(const LayoutState& layout);

} // namespace LayoutRules
