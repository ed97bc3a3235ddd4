#include "layout/NameBlock.h"

#include <algorithm>
#include <cmath>

namespace NameBlock {

namespace {

const QChar kIdeographicSpace(0x3000);

struct Line {
    QString text;
    QString honorific;
    qreal start = 0;
    qreal length = 0;
};

// Name 1 up to where its given name begins, or its first character when it has no space.
QString familyPart(const QString& name1)
{
    const int given = FieldTexts::givenNameStart(name1);
    if (given >= 0)
        return name1.left(given);
    const bool pair = name1.size() > 1 && name1.at(0).isHighSurrogate() && name1.at(1).isLowSurrogate();
    return name1.left(pair ? 2 : 1);
}

} // namespace

Layout place(const NameBlockTexts& names, const Frame& f, qreal pitch, const Measure& length)
{
    QVector<Line> lines;
    const bool hasName1 = !FieldTexts::isBlank(names.name1.text);
    qreal given = 0;
    if (hasName1) {
        given = length(familyPart(names.name1.text));
        lines.append({ names.name1.text, names.name1.honorific });
    }
    for (const NameBlockTexts::Name& j : names.joints)
        lines.append({ j.text, j.honorific, hasName1 && j.givenOnly ? given : 0 });

    qreal end = 0;
    bool anyHonorific = false;
    for (Line& l : lines) {
        l.length = length(l.text);
        end = std::max(end, l.start + l.length);
        anyHonorific = anyHonorific || !l.honorific.isEmpty();
    }
    // The gap today's name 1 has before its honorific.
    const qreal honorificStart = anyHonorific ? end + length(QString(kIdeographicSpace)) : end;
    qreal extent = end;
    for (const Line& l : lines) {
        if (!l.honorific.isEmpty())
            extent = std::max(extent, honorificStart + length(l.honorific));
    }

    Layout out;
    out.lines = int(lines.size());
    out.pitch = pitch;
    out.extent = extent;
    const qreal fieldLength = f.vertical ? f.box.height() : f.box.width();
    out.fits = extent <= fieldLength;
    qreal base = 0;
    if (out.fits && f.alignment == 1)
        base = f.vertical ? std::trunc((fieldLength - extent) / 2) : (fieldLength - extent) / 2;
    else if (out.fits && f.alignment == 2)
        base = fieldLength - extent;
    const qreal alongStart = (f.vertical ? f.box.top() : f.box.left()) + base;

    // Centred across on name 1's own column (line).
    const qreal acrossStart = f.vertical ? f.box.left() : f.box.top();
    const qreal centre = acrossStart + f.thickness / 2;
    const qreal width = out.lines * pitch;
    auto lineAcross = [&](int i) {
        return f.vertical ? centre + width / 2 - (i + 1) * pitch : centre - width / 2 + i * pitch;
    };
    auto point = [&](qreal across, qreal along) {
        return f.vertical ? QPointF(across, along) : QPointF(along, across);
    };
    for (int i = 0; i < out.lines; ++i) {
        const Line& l = lines[i];
        out.pieces.append({ l.text, point(lineAcross(i), alongStart + l.start), l.length, i, false });
    }
    for (int i = 0; i < out.lines; ++i) {
        const Line& l = lines[i];
        if (!l.honorific.isEmpty())
            out.pieces.append({ l.honorific, point(lineAcross(i), alongStart + honorificStart),
                                length(l.honorific), i, true });
    }

    if (f.vertical) {
        out.bounds = QRectF(centre - width / 2, alongStart, width, extent);
        out.after = std::max<qreal>(0, acrossStart - out.bounds.left());
    } else {
        out.bounds = QRectF(alongStart, centre - width / 2, extent, width);
        out.after = std::max<qreal>(0, out.bounds.bottom() - (acrossStart + f.thickness));
    }
    return out;
}

} // namespace NameBlock
