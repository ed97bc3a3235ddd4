#pragma once
// Helpers shared by the engine tests: reading what a recorded page holds and where its
// ink lands when replayed.

#include "platform/Messages.h"
#include "preview/PageRecording.h"

#include <QImage>
#include <QRect>
#include <QStringList>
#include <QVector>
#include <climits>

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

} // namespace previewtest

