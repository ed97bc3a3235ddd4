#pragma once
// Helpers shared by the engine tests: reading what a recorded page holds, where its ink
// lands when replayed, and whether two recorded pages draw the same.

#include "platform/Messages.h"
#include "preview/PageRecording.h"

#include <QImage>
#include <QRect>
#include <QStringList>
#include <QVector>
#include <climits>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace previewtest {

// Collects every message instead of showing it.
class MessageLog final : public Messages {
public:
    MessageLog() { Messages::setCurrent(this); }
    ~MessageLog() override { Messages::setCurrent(nullptr); }

    struct Entry {
        QString kind;
        QString text;
        QString caption;
    };
    QVector<Entry> entries;

    void warning(const QString& t, const QString& c) override { entries.push_back({ QStringLiteral("warning"), t, c }); }
    void information(const QString& t, const QString& c) override { entries.push_back({ QStringLiteral("information"), t, c }); }
    void exclamation(const QString& t, const QString& c) override { entries.push_back({ QStringLiteral("exclamation"), t, c }); }
    bool askYesNo(const QString& t, const QString& c) override
    {
        entries.push_back({ QStringLiteral("yesno"), t, c });
        return true;
    }
    Answer askYesNoCancel(const QString& t, const QString& c) override
    {
        entries.push_back({ QStringLiteral("yesnocancel"), t, c });
        return Answer::Yes;
    }
    QStringList texts() const
    {
        QStringList l;
        for (const Entry& e : entries)
            l << e.text;
        return l;
    }
};

// The recorded page drawn at one pixel per 0.1 mm on white.
inline QImage renderAtUnitScale(const PageRecording& rec)
{
    return rec.toImage(rec.width(), Qt::white);
}

// Bounding box of the dark (text-black) pixels inside region; empty when there are none.
inline QRect inkBox(const QImage& img, const QRect& region, int threshold = 110)
{
    const QRect r = region.intersected(img.rect());
    int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (qRed(p) < threshold && qGreen(p) < threshold && qBlue(p) < threshold) {
                minX = qMin(minX, x);
                maxX = qMax(maxX, x);
                minY = qMin(minY, y);
                maxY = qMax(maxY, y);
            }
        }
    }
    if (minX == INT_MAX)
        return QRect();
    return QRect(QPoint(minX, minY), QPoint(maxX, maxY));
}

inline QVector<const PageOp*> textOps(const PageRecording& rec)
{
    return rec.ofKind(PageOp::Kind::Text);
}

// The owner's drawing of a page (the painted paper left out).
inline QVector<PageOp> ownOps(const PageRecording& rec)
{
    QVector<PageOp> ops;
    for (const PageOp& op : rec.ops()) {
        if (!op.paper)
            ops.push_back(op);
    }
    return ops;
}

inline std::string describe(const PageOp& op)
{
    std::ostringstream s;
    s << "kind " << int(op.kind) << " text '" << op.text.toStdString() << "' font " << op.font.name.toStdString()
      << "/" << op.font.height << " rect " << op.rect.x() << "," << op.rect.y() << " " << op.rect.width() << "x"
      << op.rect.height() << " origin " << op.origin.x() << "," << op.origin.y();
    return s.str();
}

// Empty when the two operations draw the same; otherwise what differs.
inline std::string opDifference(const PageOp& a, const PageOp& b)
{
    if (a.kind != b.kind || a.paper != b.paper || a.clipToPrintable != b.clipToPrintable || a.rect != b.rect
        || a.points != b.points || a.pen != b.pen || a.brush != b.brush || a.text != b.text || a.font != b.font
        || a.qfont != b.qfont || a.origin != b.origin || a.ascent != b.ascent || a.angle != b.angle
        || a.widthScale != b.widthScale || a.clip != b.clip || a.columnWidth != b.columnWidth
        || a.length != b.length || a.upright != b.upright || a.fileName != b.fileName || a.image != b.image)
        return describe(a) + "  vs  " + describe(b);
    return std::string();
}

// Every operation of both pages, in order.
inline ::testing::AssertionResult samePages(const PageRecording& a, const PageRecording& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return ::testing::AssertionFailure() << "frames differ";
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << "operation counts differ: " << a.size() << " vs " << b.size();
    for (int i = 0; i < a.size(); ++i) {
        const std::string d = opDifference(a.ops()[i], b.ops()[i]);
        if (!d.empty())
            return ::testing::AssertionFailure() << "operation " << i << ": " << d;
    }
    return ::testing::AssertionSuccess();
}

} // namespace previewtest

