#include "layout/LayoutSnapshot.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

SnapshotField SnapshotField::fromStyle(int field, const FieldStyle& style, bool postcard)
{
    SnapshotField f;
    f.style = style;
    f.style.postWaku = false; // the form's check box, not a property of the box
    if (f.style.alignment != 1 && f.style.alignment != 2)
        f.style.alignment = 0; // the text box knows only left, centre and right
    f.box = FieldGeometry::box(field, style, postcard);
    // Position and length as the box holds them (a fixed digit box, a length of at least 0).
    f.style.left = f.box.left;
    f.style.top = f.box.top;
    f.style.width = f.style.tate ? f.box.height : f.box.width;
    return f;
}

void LayoutSnapshot::takeSettings(const AppSettings& settings, bool postcard, const QStringList& lines,
                                  const HonorificChoice& choice)
{
    const FieldStyles& styles = postcard ? settings.postcardFields : settings.labelFields;
    for (int n = 1; n <= kFieldCount; ++n)
        fields[n - 1] = SnapshotField::fromStyle(n, styles[n - 1], postcard);
    stamp = postcard ? settings.postcardImage : settings.labelImage;
    if (stamp.path.trimmed().isEmpty() || !QFileInfo(stamp.path).isFile())
        stamp = ImageBox();
    records = lines;
    columns = settings.csv;
    sender = settings.sender;
    honorific = choice;
    senderPostMark = postcard ? settings.postcardPostMark : settings.labelPostMark;
    offsetX = offsetTenths(postcard ? settings.postcardOffsetX : settings.labelOffsetX);
    offsetY = offsetTenths(postcard ? settings.postcardOffsetY : settings.labelOffsetY);
}

FieldVisibility LayoutSnapshot::visibility() const
{
    FieldVisibility v;
    for (int i = 0; i < kFieldCount; ++i)
        v[i] = fields[i].visible();
    return v;
}

RecordColumns LayoutSnapshot::columnsOf(int index) const
{
    if (index < 0 || index >= records.size())
        return RecordColumns::fromLine(QStringView(), columns);
    return RecordColumns::fromLine(records.at(index), columns);
}

FieldTextArray LayoutSnapshot::printTexts(int index) const
{
    return FieldTexts::fill(columnsOf(index), sender, honorific, visibility(), TextTarget::Print);
}

int LayoutSnapshot::offsetTenths(double millimetres)
{
    if (!std::isfinite(millimetres))
        return 0;
    const double tenths = std::clamp(millimetres, -10.0, 10.0) * 10.0;
    return int(tenths < 0 ? std::ceil(tenths - 0.5) : std::floor(tenths + 0.5));
}

bool LayoutSnapshot::operator==(const LayoutSnapshot& o) const
{
    return fields == o.fields && stamp == o.stamp && records == o.records && choice == o.choice && columns == o.columns
        && sender == o.sender && honorific.useRegistered == o.honorific.useRegistered
        && honorific.fixedText == o.honorific.fixedText && senderPostMark == o.senderPostMark
        && recipientPostMark == o.recipientPostMark && offsetX == o.offsetX && offsetY == o.offsetY;
}
