#pragma once
// The page canvas: current font, pen and brush, and the drawing operations of a page in
// 0.1 mm, recorded into a PageRecording. Text is measured with the same fonts that later
// draw it, so alignment does not depend on the device a page is replayed on.

#include "preview/PageRecording.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <memory>

class PictureFile;
class VerticalText;
struct PageFontData;

// Pen styles of the stored layouts.
enum class PenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// Font style flags.
namespace FontStyle {
constexpr int fsBold = 1;
constexpr int fsItalic = 2;
constexpr int fsUnderline = 4;
constexpr int fsStrikeOut = 8;
}

// What DrawPostalCode needs to know of the page it draws on.
struct PostalCodePage {
    int pageWidth = 0;   // 0.1 mm
    int pageHeight = 0;
    bool landscape = false;
    bool printing = false;
};

class PageCanvas {
public:
    // Starts recording into `target` (not owned), which is reset to the given frame.
    PageCanvas(PageRecording* target, int pageWidth, int pageHeight);

    PageRecording* recording() const { return m_rec; }

    // Operations recorded from now on are clipped to the printable area or not.
    void setClipToPrintable(bool clip) { m_clipToPrintable = clip; }
    bool clipToPrintable() const { return m_clipToPrintable; }
    // Operations recorded from now on belong to the painted paper.
    void setPaintingPaper(bool paper) { m_paper = paper; }

    // Font.
    void SetFontSize(double points);
    void SetFontName(const QString& name);
    void SetFontStyle(int styleFlags);
    void SetFontColor(int bgr);
    void SetFont(const PageFont& font);
    const PageFont& font() const { return m_font; }
    // The font the current description resolves to, in 0.1 mm.
    QFont resolvedFont() const;

    // 縦中横 for the vertical texts that follow (upright "@" faces only): two-digit numbers
    // side by side in one step of the column (VerticalText).
    void SetTateChuYoko(bool on) { m_tateChuYoko = on; }
    bool tateChuYoko() const { return m_tateChuYoko; }

    // Pen and brush.
    void SetPenColor(int bgr);
    void SetPenStyle(PenStyle style);
    void SetPenWidth(int width);
    void SetBrushColor(int bgr);
    void SetBrushClear(bool clear);
    QColor penColor() const { return m_penColor; }
    PenStyle penStyle() const { return m_penStyle; }
    int penWidth() const { return m_penWidth; }
    QPen pen() const;

    // Shapes.
    void Line(int x1, int x2, int y1, int y2);
    void FrameRect(int x1, int x2, int y1, int y2);
    void FillRect(qreal x1, qreal y1, qreal x2, qreal y2);
    void Ellipse(int x1, int y1, int x2, int y2);

    // Texts.
    void TextOut(int x, int y, const QString& text);
    void TextOutCenter(int x, int y, const QString& text);
    void TextLeft(int left, int right, int top, int bottom, const QString& text);
    void TextCenter(int left, int right, int top, int bottom, const QString& text);
    void TextMiddle(int left, int right, int top, int bottom, const QString& text);
    void TextRight(int left, int right, int top, int bottom, const QString& text);
    void TextVTop(int x, int top, int bottom, const QString& text);
    void TextVCenter(int x, int top, int bottom, const QString& text);
    void TextVBottom(int x, int top, int bottom, const QString& text);
    void TextSpaced(int x1, int x2, int y1, int y2, int count, const QString& text);
    void TextOutRotated(int x, int y, double angle, double widthPercent, const QString& text);

    // The seven postal-code boxes and their digits.
    void DrawPostalCode(const QString& text, int offsetX, int offsetY, bool force, int shift,
                        int frameColor, const PostalCodePage& page);

    // A loaded picture into (x1, y1)-(x2, y2): mode 1 stretches it, any other mode fits it
    // inside keeping its aspect ratio. A null picture draws nothing.
    void DrawPicture(int x1, int x2, int y1, int y2, int mode, const PictureFile& picture);

    // Measures with the current font, in 0.1 mm.
    qreal textWidth(const QString& text) const;
    qreal textHeight() const;          // ascent + descent
    qreal ascent() const;
    qreal averageCharWidth() const;
    // A vertical text with the current font and 縦中横 setting: the width of its column and
    // its length along it, as TextVTop draws it.
    qreal verticalColumnWidth() const;
    qreal verticalLength(const QString& text) const;
    // Overhangs of the first and last character (0 unless the glyph reaches outside its cell).
    int leftOverhang(const QString& text) const;
    int rightOverhang(const QString& text) const;

    // The characters of a text as the drawing operations count them: one entry per
    // user-perceived character (a double-byte character is one).
    static QStringList characters(const QString& text);
    // The digits of a postal code: full-width digits become half-width, everything else goes.
    static QString postalDigits(const QString& text);

private:
    const PageFontData& fd() const;
    PageOp baseOp(PageOp::Kind kind) const;
    void recordText(qreal x, qreal y, const QString& text, const QRectF& clip, qreal angle = 0,
                    qreal widthScale = 1);
    void recordVertical(int x, int top, int bottom, const QString& text, int where);
    std::shared_ptr<const VerticalText> verticalLayout(const QString& text) const;

    PageRecording* m_rec;
    bool m_clipToPrintable = false;
    bool m_paper = false;
    PageFont m_font;
    QColor m_penColor = Qt::black;
    PenStyle m_penStyle = PenStyle::psSolid;
    int m_penWidth = 1;
    QColor m_brushColor = Qt::white;
    bool m_brushClear = false;
    bool m_tateChuYoko = false;
    mutable std::shared_ptr<PageFontData> m_fd; // resolved m_fdFont
    mutable PageFont m_fdFont;
};
