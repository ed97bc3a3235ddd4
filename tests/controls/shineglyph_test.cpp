// Glyph effects on small test glyphs drawn as letters.

#include "controls/ShineGlyph.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

const QRgb kKey = qRgb(0x80, 0x80, 0x00);    // olive
const QRgb kInk = qRgb(100, 50, 200);
const QRgb kShine = qRgb(255, 255, 0);     // yellow
const QRgb kFace = qRgb(192, 192, 192);

const std::map<char, QRgb> kLegend = {
    { '.', kKey }, { '#', kInk }, { '*', kShine }, { 'k', qRgb(0, 0, 0) }, { 'w', qRgb(255, 255, 255) },
};

QImage fromText(const std::vector<std::string>& lines)
{
    QImage img(int(lines[0].size()), int(lines.size()), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, kLegend.at(lines[size_t(y)][size_t(x)]));
    return img;
}

std::vector<std::string> toText(const QImage& img)
{
    std::vector<std::string> out;
    for (int y = 0; y < img.height(); ++y) {
        std::string line;
        for (int x = 0; x < img.width(); ++x) {
            char ch = '?';
            for (const auto& [letter, color] : kLegend)
                if ((color & 0xFFFFFF) == (img.pixel(x, y) & 0xFFFFFF))
                    ch = letter;
            line += ch;
        }
        out.push_back(line);
    }
    return out;
}

QRgb rgb(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

} // namespace

TEST(ShineGlyph, ColourEffectsChangeOnlyGlyphPixels)
{
    // One glyph pixel (100, 50, 200) on the key; shine yellow, face silver.
    const QImage glyph = fromText({ "...", ".#.", "..." });
    struct Case {
        const char* name;
        bool active;
        int type;
        QRgb expected;
    };
    const Case cases[] = {
        { "aiNoLight", true, aiNoLight, kInk },
        { "aiXorLight", true, aiXorLight, qRgb(155, 205, 200) },
        { "aiHalfLight", true, aiHalfLight, qRgb(177, 152, 100) },
        { "aiQuaterLight", true, aiQuaterLight, qRgb(216, 203, 50) },
        { "aiAddLight", true, aiAddLight, qRgb(255, 255, 200) },
        { "diDefault", false, diDefault, kInk },
        { "diGrayscale", false, diGrayscale, qRgb(116, 116, 116) },
        { "diAlphaHalfTrans", false, diAlphaHalfTrans, qRgb(146, 121, 196) },
        { "diAlphaQuaterTrans", false, diAlphaQuaterTrans, qRgb(169, 156, 194) },
    };
    for (const Case& c : cases) {
        const QImage out = c.active
            ? ShineGlyph::activeEffect(glyph, TActiveImageType(c.type), QColor(kShine))
            : ShineGlyph::decorationEffect(glyph, TDecorationImageType(c.type), QColor(kFace));
        ASSERT_EQ(out.size(), glyph.size()) << c.name;
        EXPECT_EQ(rgb(out, 1, 1), c.expected & 0xFFFFFF) << c.name;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                if (x != 1 || y != 1) {
                    EXPECT_EQ(rgb(out, x, y), kKey & 0xFFFFFF) << c.name << " at " << x << "," << y;
                }
    }
}

TEST(ShineGlyph, PatternEffects)
{
    struct Case {
        const char* name;
        bool active;
        int type;
        std::vector<std::string> glyph;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        { "aiFrameLight: one-pixel halo, left, right, above and below", true, aiFrameLight,
            { ".....", ".....", "..#..", ".....", "....." },
            { ".....", "..*..", ".*#*.", "..*..", "....." } },
        { "aiFrameLight2: a second ring around the first", true, aiFrameLight2,
            { ".......", ".......", ".......", "...#...", ".......", ".......", "......." },
            { ".......", "...*...", "..***..", ".**#**.", "..***..", "...*...", "......." } },
        { "aiFrameLight at the picture edge", true, aiFrameLight,
            { "#...", "....", "...." },
            { "#*..", "*...", "...." } },
        { "aiMaskLight: every second glyph pixel", true, aiMaskLight,
            { "....", ".##.", ".##.", "...." },
            { "....", ".*#.", ".#*.", "...." } },
        { "diMaskTrans: every second glyph pixel becomes the key", false, diMaskTrans,
            { "....", "####", "####", "...." },
            { "....", "#.#.", ".#.#", "...." } },
    };
    for (const Case& c : cases) {
        const QImage glyph = fromText(c.glyph);
        const QImage out = c.active ? ShineGlyph::activeEffect(glyph, TActiveImageType(c.type), QColor(kShine))
                                    : ShineGlyph::decorationEffect(glyph, TDecorationImageType(c.type), QColor(kFace));
        EXPECT_EQ(toText(out), c.expected) << c.name;
    }
}

TEST(ShineGlyph, KeyColourIsTheBottomLeftPixel)
{
    // Here white is the key and olive is ink: olive pixels change, white ones do not.
    const QImage glyph = fromText({ "w.w", "www" });
    EXPECT_EQ(ShineGlyph::keyColor(glyph), qRgb(255, 255, 255) & 0xFFFFFF);
    const QImage out = ShineGlyph::decorationEffect(glyph, diGrayscale, QColor(kFace));
    const int g = (0x80 + 0x80 + 0x00) / 3;
    EXPECT_EQ(rgb(out, 1, 0), qRgb(g, g, g) & 0xFFFFFF);
    EXPECT_EQ(rgb(out, 0, 0), qRgb(255, 255, 255) & 0xFFFFFF);
    const QImage halo = ShineGlyph::activeEffect(glyph, aiFrameLight, QColor(kShine));
    EXPECT_EQ(toText(halo), (std::vector<std::string> { "*.*", "w*w" }));
}

TEST(ShineGlyph, EdgeMask)
{
    // White where a pixel differs from its lower-left or lower-right neighbour.
    struct Case {
        const char* name;
        std::vector<std::string> glyph;
        std::vector<std::string> mask;
    };
    const std::vector<Case> cases = {
        { "single pixel", { "....", ".#..", "....", "...." }, { "w.w.", ".w..", "....", "...." } },
        { "bar", { "....", ".##.", "...." }, { "wwww", ".ww.", "...." } },
        { "flat picture", { "###", "###" }, { "...", "..." } },
    };
    for (const Case& c : cases) {
        const QImage mask = ShineGlyph::edgeMask(fromText(c.glyph));
        std::vector<std::string> text;
        for (int y = 0; y < mask.height(); ++y) {
            std::string line;
            for (int x = 0; x < mask.width(); ++x) {
                const QRgb p = rgb(mask, x, y);
                line += p == 0xFFFFFF ? 'w' : (p == 0 ? '.' : '?');
            }
            text.push_back(line);
        }
        EXPECT_EQ(text, c.mask) << c.name;
    }
}

TEST(ShineGlyph, NormalizedPictures)
{
    // A 1-bit picture becomes 32 bits with the same colours.
    QImage mono(3, 2, QImage::Format_Mono);
    mono.setColorCount(2);
    mono.setColor(0, qRgb(255, 255, 255));
    mono.setColor(1, qRgb(0, 0, 0));
    mono.fill(0);
    mono.setPixel(1, 0, 1);
    const QImage wide = ShineGlyph::normalized(mono);
    EXPECT_EQ(wide.format(), QImage::Format_RGB32);
    EXPECT_EQ(rgb(wide, 1, 0), 0u);
    EXPECT_EQ(rgb(wide, 0, 1), 0xFFFFFFu);

    // See-through pixels become the olive key, half-clear ones are laid over the face.
    QImage alpha(3, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(0, 0, 0, 0));
    alpha.setPixel(1, 0, qRgba(0, 0, 0, 255));
    alpha.setPixel(2, 0, qRgba(0, 0, 0, 128));
    const QImage flat = ShineGlyph::normalized(alpha, QColor(200, 200, 200));
    EXPECT_FALSE(flat.hasAlphaChannel());
    EXPECT_EQ(rgb(flat, 0, 0), kKey & 0xFFFFFF);
    EXPECT_EQ(rgb(flat, 1, 0), 0u);
    EXPECT_EQ(rgb(flat, 2, 0), qRgb(99, 99, 99) & 0xFFFFFF);
    EXPECT_EQ(ShineGlyph::keyColor(flat), kKey & 0xFFFFFF);
}
