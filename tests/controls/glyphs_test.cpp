// The glyph library of the forms' buttons.

#include "controls/Glyphs.h"
#include "controls/ShineGlyph.h"

#include <gtest/gtest.h>

TEST(Glyphs, EveryGlyphTheFormsAskForIsThere)
{
    const char* const wanted[] = { "help", "open", "print", "printer", "up", "down", "left", "right", "first",
        "prior", "next", "last", "bold", "italic", "vertical", "align-left", "align-center", "align-right", "sender",
        "image-read", "image-clear", "close", "zoom-in", "zoom-out", "whole-page", "page-width", "copy", "undo", "redo" };
    const QStringList names = Glyphs::names();
    for (const char* name : wanted) {
        const QString n = QString::fromLatin1(name);
        EXPECT_TRUE(names.contains(n)) << name;
        const QImage g = Glyphs::get(n);
        ASSERT_FALSE(g.isNull()) << name;
        EXPECT_EQ(g.size(), QSize(16, 16)) << name;
        EXPECT_FALSE(g.hasAlphaChannel()) << name;
        // olive key in the bottom-left corner, and something drawn besides it
        EXPECT_EQ(ShineGlyph::keyColor(g), qRgb(0x80, 0x80, 0x00) & 0xFFFFFF) << name;
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                drawn += (g.pixel(x, y) & 0xFFFFFF) != (qRgb(0x80, 0x80, 0x00) & 0xFFFFFF);
        EXPECT_GT(drawn, 12) << name;
    }
}

TEST(Glyphs, UnknownNamesGiveNothing)
{
    for (const char* name : { "", "no-such-glyph", "../help", "glyphs/help" })
        EXPECT_TRUE(Glyphs::get(QString::fromLatin1(name)).isNull()) << name;
}

TEST(Glyphs, GlyphsAreDistinct)
{
    const QStringList names = Glyphs::names();
    for (int i = 0; i < names.size(); ++i)
        for (int j = i + 1; j < names.size(); ++j)
            EXPECT_NE(Glyphs::get(names[i]), Glyphs::get(names[j])) << names[i].toStdString() << " " << names[j].toStdString();
}
