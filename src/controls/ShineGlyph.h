#pragma once
// The glyph effects of TShineBtn, on a copy of the glyph. A glyph is an RGB picture
// whose key colour (the colour of its bottom-left pixel) is transparent; the effects
// change only the other pixels, the glyph pixels, except the two halo effects, which
// colour key pixels next to the glyph.

#include <QColor>
#include <QImage>

// Effect under the mouse (looks Hover and HoverPressed).
enum TActiveImageType {
    aiNoLight,      // unchanged
    aiXorLight,     // each channel XOR the shine channel
    aiHalfLight,    // (pixel + shine) / 2
    aiQuaterLight,  // (pixel + 3 * shine) / 4
    aiAddLight,     // min(pixel + shine, 255)
    aiFrameLight,   // one-pixel shine halo around the glyph
    aiFrameLight2,  // two-pixel shine halo
    aiMaskLight     // every second glyph pixel (checkerboard) in the shine colour
};

// Effect in the looks Normal (UpImage), Pressed (DownImage) and Disabled (DisabledImage).
enum TDecorationImageType {
    diDefault,           // unchanged (Disabled: embossed, see ShineGlyph::edgeMask)
    diGrayscale,         // (R + G + B) / 3 in each channel
    diAlphaHalfTrans,    // (pixel + face) / 2
    diAlphaQuaterTrans,  // (pixel + 3 * face) / 4
    diMaskTrans          // every second glyph pixel (checkerboard) becomes transparent
};

class ShineGlyph {
public:
    // The picture a glyph is kept as: 32 bits per pixel, no alpha. A 1-bit picture is
    // widened. Pixels of a picture with an alpha channel are laid over the key colour,
    // $008080 (olive), when the bottom-left pixel is see-through, so icons with
    // transparency work too: clear pixels become the key, half-clear ones are blended
    // over face (the button face they will be shown on).
    static QImage normalized(const QImage& picture, const QColor& face = QColor(0xC0, 0xC0, 0xC0));

    // The key (transparent) colour: the bottom-left pixel, RGB only. Black for an empty picture.
    static QRgb keyColor(const QImage& glyph);

    // The checkerboard of aiMaskLight and diMaskTrans: the pixels whose x + y is even.
    static bool onCheckerboard(int x, int y) { return ((x + y) & 1) == 0; }

    static QImage activeEffect(const QImage& glyph, TActiveImageType type, const QColor& shine);
    static QImage decorationEffect(const QImage& glyph, TDecorationImageType type, const QColor& face);

    // The monochrome edge mask of a disabled glyph: white where a pixel differs from its
    // lower-left or lower-right neighbour, black elsewhere (black is transparent). The
    // button paints the white pixels in DisabledHighlight at (+1, +1) and in
    // DisabledShadow at (0, 0).
    static QImage edgeMask(const QImage& glyph);

    // Draws glyph at (x, y) leaving out the pixels of colour key.
    static void drawTransparent(class QPainter& painter, int x, int y, const QImage& glyph, QRgb key);
    // Paints the white pixels of a mask from edgeMask in color at (x, y).
    static void drawMask(class QPainter& painter, int x, int y, const QImage& mask, const QColor& color);
};
