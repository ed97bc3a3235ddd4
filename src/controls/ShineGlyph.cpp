#include "controls/ShineGlyph.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

constexpr QRgb kRgbMask = 0x00FFFFFF;
const QRgb kOlive = qRgb(0x80, 0x80, 0x00); // $008080

inline QRgb rgbOf(QRgb p) { return p & kRgbMask; }

template <typename F> QImage mapGlyphPixels(const QImage& glyph, F&& f)
{
    QImage out = glyph.convertToFormat(QImage::Format_RGB32);
    if (out.isNull())
        return out;
    const QRgb key = ShineGlyph::keyColor(out);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (rgbOf(line[x]) != key)
                line[x] = f(line[x], x, y, key) | 0xFF000000u;
        }
    }
    return out;
}

QRgb blend(QRgb pixel, const QColor& other, int weightOther)
{
    // (pixel + w * other) / (w + 1), channel by channel
    const int div = weightOther + 1;
    return qRgb((qRed(pixel) + weightOther * other.red()) / div,
        (qGreen(pixel) + weightOther * other.green()) / div,
        (qBlue(pixel) + weightOther * other.blue()) / div);
}

// Key pixels that touch (left, right, above, below) a pixel for which inner(x, y) holds.
std::vector<char> haloOf(const QImage& img, QRgb key, const std::vector<char>& inner)
{
    const int w = img.width();
    const int h = img.height();
    std::vector<char> halo(size_t(w) * size_t(h), 0);
    auto at = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && inner[size_t(y) * w + x]; };
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (rgbOf(line[x]) != key || inner[size_t(y) * w + x])
                continue;
            if (at(x - 1, y) || at(x + 1, y) || at(x, y - 1) || at(x, y + 1))
                halo[size_t(y) * w + x] = 1;
        }
    }
    return halo;
}

} // namespace

QImage ShineGlyph::normalized(const QImage& picture, const QColor& face)
{
    if (picture.isNull())
        return QImage();
    if (!picture.hasAlphaChannel())
        return picture.convertToFormat(QImage::Format_RGB32);

    const QImage src = picture.convertToFormat(QImage::Format_ARGB32);
    const bool clearCorner = qAlpha(src.pixel(0, src.height() - 1)) < 128;
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int a = qAlpha(in[x]);
            if (clearCorner && a < 64) {
                line[x] = kOlive;
                continue;
            }
            QRgb c = qRgb((qRed(in[x]) * a + face.red() * (255 - a)) / 255,
                (qGreen(in[x]) * a + face.green() * (255 - a)) / 255,
                (qBlue(in[x]) * a + face.blue() * (255 - a)) / 255);
            if (clearCorner && rgbOf(c) == rgbOf(kOlive))
                c ^= 1; // keep a drawn pixel from turning transparent
            line[x] = c;
        }
    }
    return out;
}

QRgb ShineGlyph::keyColor(const QImage& glyph)
{
    if (glyph.isNull())
        return 0;
    return rgbOf(glyph.pixel(0, glyph.height() - 1));
}

QImage ShineGlyph::activeEffect(const QImage& glyph, TActiveImageType type, const QColor& shine)
{
    const QRgb s = shine.rgb();
    switch (type) {
    case aiNoLight:
        return glyph.convertToFormat(QImage::Format_RGB32);
    case aiXorLight:
        return mapGlyphPixels(glyph, [s](QRgb p, int, int, QRgb) { return (p ^ s) & kRgbMask; });
    case aiHalfLight:
        return mapGlyphPixels(glyph, [&shine](QRgb p, int, int, QRgb) { return blend(p, shine, 1); });
    case aiQuaterLight:
        return mapGlyphPixels(glyph, [&shine](QRgb p, int, int, QRgb) { return blend(p, shine, 3); });
    case aiAddLight:
        return mapGlyphPixels(glyph, [s](QRgb p, int, int, QRgb) {
            return qRgb(std::min(qRed(p) + qRed(s), 255), std::min(qGreen(p) + qGreen(s), 255),
                std::min(qBlue(p) + qBlue(s), 255));
        });
    case aiMaskLight:
        return mapGlyphPixels(glyph, [s](QRgb p, int x, int y, QRgb) { return onCheckerboard(x, y) ? s : p; });
    case aiFrameLight:
    case aiFrameLight2: {
        QImage out = glyph.convertToFormat(QImage::Format_RGB32);
        if (out.isNull())
            return out;
        const QRgb key = keyColor(out);
        const int w = out.width();
        const int h = out.height();
        std::vector<char> glyphPixels(size_t(w) * size_t(h), 0);
        for (int y = 0; y < h; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(out.constScanLine(y));
            for (int x = 0; x < w; ++x)
                glyphPixels[size_t(y) * w + x] = rgbOf(line[x]) != key;
        }
        std::vector<char> halo = haloOf(out, key, glyphPixels);
        if (type == aiFrameLight2) {
            std::vector<char> inner = glyphPixels;
            for (size_t i = 0; i < inner.size(); ++i)
                inner[i] = inner[i] || halo[i];
            const std::vector<char> outer = haloOf(out, key, inner);
            for (size_t i = 0; i < halo.size(); ++i)
                halo[i] = halo[i] || outer[i];
        }
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < w; ++x) {
                if (halo[size_t(y) * w + x])
                    line[x] = s | 0xFF000000u;
            }
        }
        return out;
    }
    }
    return glyph.convertToFormat(QImage::Format_RGB32);
}

QImage ShineGlyph::decorationEffect(const QImage& glyph, TDecorationImageType type, const QColor& face)
{
    switch (type) {
    case diDefault:
        return glyph.convertToFormat(QImage::Format_RGB32);
    case diGrayscale:
        return mapGlyphPixels(glyph, [](QRgb p, int, int, QRgb) {
            const int g = (qRed(p) + qGreen(p) + qBlue(p)) / 3;
            return qRgb(g, g, g);
        });
    case diAlphaHalfTrans:
        return mapGlyphPixels(glyph, [&face](QRgb p, int, int, QRgb) { return blend(p, face, 1); });
    case diAlphaQuaterTrans:
        return mapGlyphPixels(glyph, [&face](QRgb p, int, int, QRgb) { return blend(p, face, 3); });
    case diMaskTrans:
        return mapGlyphPixels(glyph, [](QRgb p, int x, int y, QRgb key) { return onCheckerboard(x, y) ? key : p; });
    }
    return glyph.convertToFormat(QImage::Format_RGB32);
}

QImage ShineGlyph::edgeMask(const QImage& glyph)
{
    const QImage src = glyph.convertToFormat(QImage::Format_RGB32);
    QImage mask(src.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    const int w = src.width();
    const int h = src.height();
    for (int y = 0; y + 1 < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        const auto* below = reinterpret_cast<const QRgb*>(src.constScanLine(y + 1));
        auto* out = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = rgbOf(line[x]);
            const bool differs = (x > 0 && rgbOf(below[x - 1]) != p) || (x + 1 < w && rgbOf(below[x + 1]) != p);
            if (differs)
                out[x] = 0xFFFFFFFFu;
        }
    }
    return mask;
}

void ShineGlyph::drawTransparent(QPainter& painter, int x, int y, const QImage& glyph, QRgb key)
{
    if (glyph.isNull())
        return;
    QImage img = glyph.convertToFormat(QImage::Format_ARGB32);
    for (int yy = 0; yy < img.height(); ++yy) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(yy));
        for (int xx = 0; xx < img.width(); ++xx) {
            if (rgbOf(line[xx]) == rgbOf(key))
                line[xx] = 0;
        }
    }
    painter.drawImage(x, y, img);
}

void ShineGlyph::drawMask(QPainter& painter, int x, int y, const QImage& mask, const QColor& color)
{
    if (mask.isNull())
        return;
    QImage img(mask.size(), QImage::Format_ARGB32);
    const QRgb c = color.rgb() | 0xFF000000u;
    for (int yy = 0; yy < img.height(); ++yy) {
        const auto* in = reinterpret_cast<const QRgb*>(mask.constScanLine(yy));
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(yy));
        for (int xx = 0; xx < img.width(); ++xx)
            line[xx] = rgbOf(in[xx]) != 0 ? c : 0;
    }
    painter.drawImage(x, y, img);
}
