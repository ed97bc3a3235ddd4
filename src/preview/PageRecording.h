#pragma once
// One recorded page: a list of drawing operations in 0.1 mm from the top-left corner of the
// physical sheet, y downwards. Any QPainter replays it (a widget, an image, a PDF writer, the
// printer's paint device) with one transform. Texts stay texts, so a PDF made from a replay
// has real, searchable fonts. Tests read the operations to check what a page holds.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QBrush>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <QVector>
#include <memory>

class QPainter;
class QSvgRenderer;
class VerticalText;

// A font as the page drawing operations describe it: face name as stored (a leading "@"
// marks a vertical face), height in 0.1 mm (negative: character height, positive: cell
// height), style flags and colour.
struct PageFont {
    QString name;
    int height = -37;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QColor color = Qt::black;

    bool operator==(const PageFont& o) const
    {
        return name == o.name && height == o.height && bold == o.bold && italic == o.italic
            && underline == o.underline && strikeOut == o.strikeOut && color == o.color;
    }
    bool operator!=(const PageFont& o) const { return !(*this == o); }
};

struct PageOp {
    enum class Kind {
        FillRect,     // rect filled with brush
        Ellipse,      // rect outlined with pen, filled with brush
        Line,         // points[0] to points[1] with pen
        Polyline,     // points joined with pen (FrameRect: five points, first repeated)
        Text,         // one line of text; see the text fields below
        VerticalText, // one vertical column; see the text fields below
        Image,        // image stretched into rect
        Svg           // vector picture (converted metafile) drawn into rect
    };

    Kind kind = Kind::FillRect;
    bool paper = false;        // part of the painted paper, never the owner's drawing
    bool clipToPrintable = false;

    QRectF rect;               // FillRect, Ellipse, Image, Svg: target; Text: the text cell
                               // before rotation (origin, advance width, ascent + descent)
    QPolygonF points;          // Line, Polyline
    QPen pen;                  // Ellipse, Line, Polyline
    QBrush brush;              // FillRect, Ellipse

    // Text and VerticalText.
    QString text;
    PageFont font;             // as the owner set it
    QFont qfont;               // the font it resolved to, in 0.1 mm
    QPointF origin;            // Text: top-left reference point of the cell; VerticalText:
                               // left edge of the column and top of the first character
    qreal ascent = 0;          // Text: baseline below origin
    qreal angle = 0;           // Text: degrees, counter-clockwise as on paper
    qreal widthScale = 1;      // Text: horizontal glyph scale
    QRectF clip;               // op's own clip rectangle; empty when none
    std::shared_ptr<const VerticalText> vertical; // VerticalText: the laid-out column
    qreal columnWidth = 0;     // VerticalText
    qreal length = 0;          // VerticalText: length along the column
    bool upright = false;      // VerticalText: true Japanese vertical writing ("@" face)

    QImage image;                          // Image
    std::shared_ptr<QSvgRenderer> svg;     // Svg
    QString fileName;                      // Image, Svg: the picture file
};

class PageRecording {
public:
    // Frame of the page in 0.1 mm.
    void reset(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Clip rectangle applied to operations marked clipToPrintable (the printable area).
    void setPrintableClip(const QRectF& clip) { m_printableClip = clip; }
    QRectF printableClip() const { return m_printableClip; }

    void append(PageOp op) { m_ops.push_back(std::move(op)); }
    const QVector<PageOp>& ops() const { return m_ops; }
    int size() const { return m_ops.size(); }
    bool isEmpty() const { return m_ops.isEmpty(); }

    // Operations of one kind, in drawing order (paper included only when asked).
    QVector<const PageOp*> ofKind(PageOp::Kind kind, bool includePaper = false) const;
    // The texts of all Text and VerticalText operations, in drawing order.
    QStringList texts() const;

    // Replays with the painter's current transform taken as logical 0.1 mm; the transform
    // is combined with (not replacing) the painter's own.
    void replay(QPainter* painter) const;
    // Stretches the page frame (0, 0)-(width, height) into target (device units of the painter).
    void replay(QPainter* painter, const QRectF& target) const;
    // The transform that stretches the frame into target.
    QTransform frameToTarget(const QRectF& target) const;

    // Draws the page into a new image of the given pixel width (height from the frame ratio).
    QImage toImage(int pixelWidth, const QColor& background = Qt::white) const;

private:
    int m_width = 0;
    int m_height = 0;
    QRectF m_printableClip;
    QVector<PageOp> m_ops;
};
