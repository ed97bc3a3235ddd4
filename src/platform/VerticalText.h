#pragma once
// One vertical text column (縦書き), laid out once and drawn the same way into a widget,
// an image, a PDF or a printer: the caller's painter transform decides the units.
//
// upright = true (an "@" face): Japanese vertical writing. Kanji and kana stand upright,
// punctuation and bracket forms come from the font's vertical alternates (vert/vrt2),
// runs of half-width Latin letters and digits are turned 90 degrees clockwise.
// upright = false: the whole line is turned 270 degrees (runs downward, glyph tops to the right).
//
// 縦中横 (tateChuYoko, upright columns only): a run of exactly two digits (half- or full-width,
// not part of a half-width Latin word) or "!!" / "!?" is set side by side in one step of the
// column, within the column's width and centred across it; single digits and longer runs of
// digits stand upright in their full-width forms, one per step.
//
// The layout uses the font's design metrics scaled to its pixel size, so it does not depend on
// the device: build the font with JapaneseFonts::font() in the units the painter draws in.
// Layouts are cheap to build; faces and shaping data are cached per font file.

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <memory>

class QPainter;

class VerticalText {
public:
    struct Options {
        bool tateChuYoko = false;
    };

    VerticalText(const QFont& font, const QString& text, bool upright);
    VerticalText(const QFont& font, const QString& text, bool upright, Options options);
    ~VerticalText();
    VerticalText(VerticalText&&) noexcept;
    VerticalText& operator=(VerticalText&&) noexcept;

    // Width of the column: the text height of the font (ascent + descent).
    qreal columnWidth() const;
    // Length of the run along the column, from the first character's top to the last one's end.
    qreal length() const;

    // Draws the column whose left edge is at `left` and whose first character starts at `top`.
    // Uses the painter's pen colour; the painter's state is left as it was.
    void draw(QPainter* painter, qreal left, qreal top) const;

    // What the layout holds, for callers that inspect or record it.
    struct Run {
        QString text;           // the characters of this run
        bool sideways = false;  // turned 90 degrees clockwise
        bool fallback = false;  // drawn with a fallback face (the main face lacks a character)
        bool tateChuYoko = false; // set side by side in one step of the column
        qreal start = 0;        // offset of the run along the column
        qreal advance = 0;      // its length along the column
        QList<quint32> glyphs;  // glyph indexes in the face that draws the run
    };
    QList<Run> runs() const;
    // The face that draws every run that is not a fallback run.
    QRawFont rawFont() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
