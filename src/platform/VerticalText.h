#pragma once
// One vertical text column (縦書き), laid out once and drawn the same way into a widget,
// an image, a PDF or a printer: the caller's painter transform decides the units.
//
// upright = true (an "@" face): Japanese vertical writing. Kanji and kana stand upright,
// punctuation and bracket forms come from the font's vertical alternates, runs of
// half-width Latin letters and digits are turned 90 degrees clockwise.
// upright = false: the whole line is turned 270 degrees (runs downward, glyph tops to the right).

#include <QFont>
#include <QPointF>
#include <QString>
#include <memory>

class QPainter;

class VerticalText {
public:
    VerticalText(const QFont& font, const QString& text, bool upright);
    ~VerticalText();
    VerticalText(VerticalText&&) noexcept;
    VerticalText& operator=(VerticalText&&) noexcept;

    // Width of the column: the text height of the font (ascent + descent).
    qreal columnWidth() const;
    // Length of the run along the column, from the first character's top to the last one's end.
    qreal length() const;

    // Draws the column whose left edge is at `left` and whose first character starts at `top`.
    void draw(QPainter* painter, qreal left, qreal top) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
