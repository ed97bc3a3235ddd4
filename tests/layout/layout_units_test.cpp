#include "layout/FieldCaptions.h"
#include "layout/LayoutUnits.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

TEST(LayoutUnits, PixelsAndTenthsOfAMillimetre)
{
    const int toTenths[][2] = {
        {0, 0}, {1, 3}, {2, 5}, {3, 8}, {378, 1000}, {559, 1479}, {185, 489}, {-1, -2}, {-378, -999},
    };
    for (const auto& c : toTenths)
        EXPECT_EQ(LayoutUnits::pixelsToTenths(c[0]), c[1]) << c[0];
    const int toPixels[][2] = {
        {0, 0}, {1, 0}, {2, 1}, {10, 4}, {1000, 378}, {1480, 559}, {-10, -3},
    };
    for (const auto& c : toPixels)
        EXPECT_EQ(LayoutUnits::tenthsToPixels(c[0]), c[1]) << c[0];
}

TEST(LayoutUnits, MillimetreReadOuts)
{
    const struct {
        int tenths;
        const char* text;
    } cases[] = {{0, "0.0"},         {3, "0.3"},           {125, "12.5"},     {1000, "100.0"},
                 {12345, "1,234.5"}, {1234567, "123,456.7"}, {-3, "-0.3"},     {-15, "-1.5"},
                 {-12345, "-1,234.5"}, {2147483647, "214,748,364.7"}, {-2147483647 - 1, "-214,748,364.8"}};
    for (const auto& c : cases)
        EXPECT_EQ(LayoutUnits::millimetres(c.tenths), QString::fromLatin1(c.text)) << c.tenths;
}

TEST(FieldCaptions, EveryFieldHasItsOwnCaptionAndButton)
{
    QSet<QString> captions, names;
    for (int n = 1; n <= 15; ++n) {
        EXPECT_FALSE(FieldCaptions::caption(n).isEmpty()) << n;
        EXPECT_FALSE(FieldCaptions::toggleCaption(n).isEmpty()) << n;
        EXPECT_TRUE(FieldCaptions::toggleName(n).startsWith(n <= 6 ? QLatin1String("ssbS") : QLatin1String("ssbM")));
        captions.insert(FieldCaptions::caption(n));
        names.insert(FieldCaptions::toggleName(n));
        // Sender read-outs say so; the recipient's do not.
        EXPECT_EQ(FieldCaptions::caption(n).endsWith(QStringLiteral("(差出人)")), n >= 7) << n;
        if (n != 6) {
            EXPECT_EQ(FieldCaptions::caption(n, true), FieldCaptions::caption(n)) << n;
        }
    }
    EXPECT_EQ(captions.size(), 15);
    EXPECT_EQ(names.size(), 15);
    EXPECT_EQ(FieldCaptions::caption(6), QStringLiteral("備　考"));
    EXPECT_EQ(FieldCaptions::caption(6, true), QStringLiteral("ｶｽﾀﾏﾊﾞｰｺｰﾄﾞ"));
    EXPECT_EQ(FieldCaptions::caption(2), QStringLiteral("住所１"));       // full-width digit
    EXPECT_EQ(FieldCaptions::toggleCaption(2), QStringLiteral("住 所 1")); // half-width digit and spaces
    for (int n : {0, 16, -1}) {
        EXPECT_TRUE(FieldCaptions::caption(n).isEmpty());
        EXPECT_TRUE(FieldCaptions::toggleName(n).isEmpty());
        EXPECT_TRUE(FieldCaptions::toggleCaption(n).isEmpty());
    }
}

} // namespace
