#pragma once
// One field of a layout as a form shows it and a page prints it: its stored style and the
// box it really covers on the card (the thickness from its font, the postcard's digit boxes
// at their fixed place). The layout document holds fifteen of them; a page snapshot copies
// them.

#include "app/AppSettings.h"
#include "layout/FieldGeometry.h"

struct LayoutField {
    // Face, size, vertical, bold, italic, alignment (0 left, 1 centre, 2 right), postal flags,
    // visibility; top, left and length as the box holds them. New style members travel with
    // it untouched.
    FieldStyle style;
    // In layout pixels from the card's or label's top-left corner.
    FieldBox box;

    bool visible() const { return style.visible; }
    bool operator==(const LayoutField& o) const { return style == o.style && box == o.box; }
    bool operator!=(const LayoutField& o) const { return !(*this == o); }

    // The field as a form shows it after loading `style`: the box from FieldGeometry::box, an
    // alignment the text box does not know read as left, position and length as the box
    // holds them (a fixed digit box, a length of at least 0). A barcode keeps its stored
    // length: its box is the symbol's, and the length is the field's again without it.
    static LayoutField fromStyle(int field, const FieldStyle& style, bool postcard);

    // The same style in another box: position follows the box, and so does the length when
    // the box's length changed; the thickness is the box's own (a box cut to a small label
    // keeps its cut).
    LayoutField movedTo(const FieldBox& box) const;
};
