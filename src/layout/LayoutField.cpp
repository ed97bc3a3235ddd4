#include "layout/LayoutField.h"

LayoutField LayoutField::fromStyle(int field, const FieldStyle& style, bool postcard)
{
    LayoutField f;
    f.style = style;
    if (f.style.alignment != 1 && f.style.alignment != 2)
        f.style.alignment = 0; // the text box knows only left, centre and right
    f = f.movedTo(FieldGeometry::box(field, style, postcard));
    if (FieldGeometry::printsBarcode(field, style))
        f.style.width = style.width;
    return f;
}

LayoutField LayoutField::movedTo(const FieldBox& b) const
{
    LayoutField f = *this;
    f.box = b;
    f.style.left = b.left;
    f.style.top = b.top;
    const int length = f.style.tate ? b.height : b.width;
    if (length != (f.style.tate ? box.height : box.width))
        f.style.width = length;
    return f;
}
