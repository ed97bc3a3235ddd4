#include "layout/LayoutSnapshot.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

void LayoutSnapshot::takeLayout(const LayoutState& layout, const QStringList& lines, const CsvColumnMap& map,
                                const SenderInfo& from)
{
    fields = layout.fields;
    for (SnapshotField& f : fields)
        f.style.postWaku = false; // the form's check box, not a property of the box
    stamp = ImageBox();
    if (!layout.stamp.path.trimmed().isEmpty()) {
        stamp = layout.stamp;
        stamp.path = QFileInfo(layout.stamp.path).absoluteFilePath();
    }
    // A hand-edited settings file can hold any number; positions plus lengths must stay ints.
    for (int* v : { &stamp.left, &stamp.top, &stamp.width, &stamp.height })
        *v = FieldGeometry::heldPosition(*v);
    records = lines;
    columns = map;
    sender = from;
    honorific = layout.honorific;
    senderPostMark = layout.senderPostMark;
    recipientPostMark = layout.recipientPostMark;
    offsetX = layout.offsetX;
    offsetY = layout.offsetY;
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
        && sender == o.sender && honorific == o.honorific && senderPostMark == o.senderPostMark
        && recipientPostMark == o.recipientPostMark && offsetX == o.offsetX && offsetY == o.offsetY;
}
