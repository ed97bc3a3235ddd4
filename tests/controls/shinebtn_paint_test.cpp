// What TShineBtn paints: background and gradient, frames pixel by pixel, glyph and
// caption placement, the disabled emboss and the caption copies.

#include "controls/TShineBtn.h"

#include <QFont>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using Look = TShineBtn::Look;

// Colour sets with a letter for every colour, so that expected frames can be drawn as text.
const TColor kFace = 0x404040, kHigh = 0xFFFFFF, kShadow = 0x808080, kDark = 0x000000;
const TColor kPFace = 0x505050, kPHigh = 0xF0F0F0, kPShadow = 0x707070, kPDark = 0x101010;
const TColor kAFace = 0x606060, kAHigh = 0x00FFFF, kAShadow = 0x00FF00, kADark = 0x0000FF;

const std::map<char, TColor> kLegend = {
    { '.', kFace }, { 'H', kHigh }, { 'S', kShadow }, { 'D', kDark },
    { ',', kPFace }, { 'h', kPHigh }, { 's', kPShadow }, { 'd', kPDark },
    { ';', kAFace }, { 'A', kAHigh }, { 'B', kAShadow }, { 'x', kADark },
};

void setColors(TShineBtnColors* set, TColor face, TColor high, TColor shadow, TColor dark)
{
    set->setColor(face);
    set->setHighlight(high);
    set->setShadow(shadow);
    set->setDarkShadow(dark);
}

void useLetterColours(TShineBtn& b)
{
    setColors(b.colors(), kFace, kHigh, kShadow, kDark);
    setColors(b.pressedColors(), kPFace, kPHigh, kPShadow, kPDark);
    setColors(b.activeColors(), kAFace, kAHigh, kAShadow, kADark);
}

QRgb rgbOf(TColor c) { return WinColor::toQColor(c).rgb() & 0xFFFFFF; }
QRgb at(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

// The picture as letters (a '?' for a colour with no letter).
std::string asText(const QImage& img)
{
    std::string out;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            char ch = '?';
            for (const auto& [letter, color] : kLegend) {
                if (rgbOf(color) == at(img, x, y)) {
                    ch = letter;
                    break;
                }
            }
            out += ch;
        }
        out += '\n';
    }
    return out;
}

std::string rows(std::initializer_list<const char*> lines)
{
    std::string out;
    for (const char* l : lines) {
        out += l;
        out += '\n';
    }
    return out;
}

// Bounding box of the pixels of one colour.
QRect boxOf(const QImage& img, QRgb color)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (at(img, x, y) == (color & 0xFFFFFF))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

QImage lookOf(TShineBtn& b, Look look) { return b.renderLook(look); }

QFont sharpFont()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(12);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

} // namespace

TEST(TShineBtnPaint, Defaults)
{
    TShineBtn b;
    EXPECT_EQ(b.size(), QSize(25, 25));
    EXPECT_EQ(b.colors()->color(), clBtnFace);
    EXPECT_EQ(b.pressedColors()->color(), clBtnHighlight);
    EXPECT_EQ(b.activeColors()->color(), clHighlightText);
    for (TShineBtnColors* set : { b.colors(), b.pressedColors(), b.activeColors() }) {
        EXPECT_EQ(set->highlight(), clBtnHighlight);
        EXPECT_EQ(set->shadow(), clBtnShadow);
        EXPECT_EQ(set->darkShadow(), clWindowFrame);
        EXPECT_EQ(set->gradColor(), TColor(0xFF0000));
        EXPECT_FALSE(set->gradVertical());
        EXPECT_FALSE(set->gradation());
    }
    EXPECT_EQ(b.groupIndex(), 0);
    EXPECT_FALSE(b.isDown());
    EXPECT_FALSE(b.allowAllUp());
    EXPECT_FALSE(b.actionCheckedDown());
    EXPECT_TRUE(b.showAccelChar());
    EXPECT_FALSE(b.accelCharDown());
    EXPECT_FALSE(b.clickDownHook());
    EXPECT_EQ(b.alignment(), taCenter);
    EXPECT_EQ(b.alMargin(), -1);
    EXPECT_EQ(b.glyphLayout(), blGlyphLeft);
    EXPECT_EQ(b.margin(), -1);
    EXPECT_EQ(b.spacing(), 4);
    EXPECT_EQ(b.frameType(), ftNormalFrame);
    EXPECT_TRUE(b.activeFrame());
    EXPECT_TRUE(b.upFrame());
    EXPECT_TRUE(b.downFrame());
    EXPECT_FALSE(b.isTransparent());
    EXPECT_EQ(b.activeImage(), aiFrameLight);
    EXPECT_EQ(b.upImage(), diDefault);
    EXPECT_EQ(b.downImage(), diDefault);
    EXPECT_EQ(b.disabledImage(), diDefault);
    EXPECT_FALSE(b.activeColorsEnabled());
    EXPECT_EQ(b.shineColor(), TColor(0x00FFFF));
    EXPECT_EQ(b.disabledHighlight(), clBtnHighlight);
    EXPECT_EQ(b.disabledShadow(), clBtnShadow);
    EXPECT_EQ(b.fontColor(), clBtnText);
    EXPECT_EQ(b.activeFontColor(), clHighlight);
    EXPECT_EQ(b.fontHighlight(), clNone);
    EXPECT_EQ(b.fontShadow(), clNone);
    EXPECT_EQ(b.look(), Look::Normal);
}

namespace {
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
} // namespace

TEST(TShineBtnPaint, EveryChangeRepaints)
{
    QWidget host;
    host.resize(100, 60);
    auto* b = new TShineBtn(&host);
    b->setGroupIndex(9);
    b->setAllowAllUp(true);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    PaintCounter counter;
    b->installEventFilter(&counter);
    QImage glyph(4, 4, QImage::Format_RGB32);
    glyph.fill(Qt::black);
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        { "Colors.Color", [b] { b->colors()->setColor(0x123456); } },
        { "PressedColors.Highlight", [b] { b->pressedColors()->setHighlight(0x123456); } },
        { "ActiveColors.Shadow", [b] { b->activeColors()->setShadow(0x123456); } },
        { "Colors.DarkShadow", [b] { b->colors()->setDarkShadow(0x123456); } },
        { "Colors.GradColor", [b] { b->colors()->setGradColor(0x123456); } },
        { "Colors.GradVertical", [b] { b->colors()->setGradVertical(true); } },
        { "Colors.Gradation", [b] { b->colors()->setGradation(true); } },
        { "caption", [b] { b->setText(QStringLiteral("X")); } },
        { "glyph", [b, glyph] { b->setGlyph(glyph); } },
        { "Down", [b] { b->setDown(true); } },
        { "FrameType", [b] { b->setFrameType(ftFlatFrame); } },
        { "UpFrame", [b] { b->setUpFrame(false); } },
        { "DownFrame", [b] { b->setDownFrame(false); } },
        { "ActiveFrame", [b] { b->setActiveFrame(false); } },
        { "Alignment", [b] { b->setAlignment(taLeftJustify); } },
        { "AlMargin", [b] { b->setAlMargin(3); } },
        { "Layout", [b] { b->setGlyphLayout(blGlyphTop); } },
        { "Margin", [b] { b->setMargin(2); } },
        { "Spacing", [b] { b->setSpacing(1); } },
        { "ShowAccelChar", [b] { b->setShowAccelChar(false); } },
        { "Transparent", [b] { b->setTransparent(true); } },
        { "ActiveImage", [b] { b->setActiveImage(aiXorLight); } },
        { "UpImage", [b] { b->setUpImage(diGrayscale); } },
        { "DownImage", [b] { b->setDownImage(diGrayscale); } },
        { "DisabledImage", [b] { b->setDisabledImage(diGrayscale); } },
        { "ActiveColorsEnabled", [b] { b->setActiveColorsEnabled(true); } },
        { "ShineColor", [b] { b->setShineColor(0x123456); } },
        { "DisabledHighlight", [b] { b->setDisabledHighlight(0x123456); } },
        { "DisabledShadow", [b] { b->setDisabledShadow(0x123456); } },
        { "Font", [b] { b->setFont(sharpFont()); } },
        { "font colour", [b] { b->setFontColor(0x123456); } },
        { "ActiveFont", [b] { b->setActiveFont(sharpFont()); } },
        { "active font colour", [b] { b->setActiveFontColor(0x123456); } },
        { "FontHighlight", [b] { b->setFontHighlight(0x123456); } },
        { "FontShadow", [b] { b->setFontShadow(0x123456); } },
        { "Enabled", [b] { b->setEnabled(false); } },
    };
    for (const auto& [name, change] : changes) {
        QCoreApplication::processEvents();
        const int before = counter.paints;
        change();
        QCoreApplication::processEvents();
        EXPECT_GT(counter.paints, before) << name;
    }
}

TEST(TShineBtnPaint, FramePixels)
{
    struct Case {
        const char* name;
        TFrameType type;
        Look look;
        bool activeColorsEnabled;
        std::string expected;
    };
    const std::vector<Case> cases = {
        { "flat normal", ftFlatFrame, Look::Normal, false,
            rows({ "HHHHHH.", "H.....S", "H.....S", "H.....S", "H.....S", ".SSSSSS" }) },
        { "flat pressed", ftFlatFrame, Look::Pressed, false,
            rows({ "ssssss,", "s,,,,,h", "s,,,,,h", "s,,,,,h", "s,,,,,h", ",hhhhhh" }) },
        { "normal normal", ftNormalFrame, Look::Normal, false,
            rows({ "HHHHHH.", "H....SD", "H....SD", "H....SD", "HSSSSSD", ".DDDDDD" }) },
        { "normal pressed", ftNormalFrame, Look::Pressed, false,
            rows({ "dddddd,", "dsssssh", "ds,,,,h", "ds,,,,h", "ds,,,,h", ",hhhhhh" }) },
        { "enclosed normal", ftEnclosedFrame, Look::Normal, false,
            rows({ "DDDDDDD", "DHHHH.D", "DH...SD", "DH...SD", "D.SSSSD", "DDDDDDD" }) },
        { "enclosed pressed", ftEnclosedFrame, Look::Pressed, false,
            rows({ "DDDDDDD", "Dssss,D", "Ds,,,hD", "Ds,,,hD", "D,hhhhD", "DDDDDDD" }) },
        // Mouse-over looks without ActiveColors use the normal and pressed sets.
        { "enclosed hover", ftEnclosedFrame, Look::Hover, false,
            rows({ "DDDDDDD", "DHHHH.D", "DH...SD", "DH...SD", "D.SSSSD", "DDDDDDD" }) },
        { "enclosed hover pressed", ftEnclosedFrame, Look::HoverPressed, false,
            rows({ "DDDDDDD", "Dssss,D", "Ds,,,hD", "Ds,,,hD", "D,hhhhD", "DDDDDDD" }) },
        // With ActiveColors: also the outline comes from them.
        { "enclosed hover, active colours", ftEnclosedFrame, Look::Hover, true,
            rows({ "xxxxxxx", "xAAAA;x", "xA;;;Bx", "xA;;;Bx", "x;BBBBx", "xxxxxxx" }) },
        { "enclosed hover pressed, active colours", ftEnclosedFrame, Look::HoverPressed, true,
            rows({ "xxxxxxx", "xBBBB;x", "xB;;;Ax", "xB;;;Ax", "x;AAAAx", "xxxxxxx" }) },
        { "normal pressed, active colours only for mouse-over", ftNormalFrame, Look::Pressed, true,
            rows({ "dddddd,", "dsssssh", "ds,,,,h", "ds,,,,h", "ds,,,,h", ",hhhhhh" }) },
        { "normal disabled", ftNormalFrame, Look::Disabled, true,
            rows({ "HHHHHH.", "H....SD", "H....SD", "H....SD", "HSSSSSD", ".DDDDDD" }) },
    };
    for (const Case& c : cases) {
        TShineBtn b;
        useLetterColours(b);
        b.resize(7, 6);
        b.setFrameType(c.type);
        b.setActiveColorsEnabled(c.activeColorsEnabled);
        EXPECT_EQ(asText(lookOf(b, c.look)), c.expected) << c.name;
    }
}

TEST(TShineBtnPaint, FramesOfTheRealStates)
{
    // The widget paints what its state says: fresh (Normal), down (Pressed), disabled.
    TShineBtn b;
    useLetterColours(b);
    b.resize(7, 6);
    b.setGroupIndex(1);
    EXPECT_EQ(asText(b.grab().toImage()), rows({ "HHHHHH.", "H....SD", "H....SD", "H....SD", "HSSSSSD", ".DDDDDD" }));
    b.setDown(true);
    EXPECT_EQ(asText(b.grab().toImage()), rows({ "dddddd,", "dsssssh", "ds,,,,h", "ds,,,,h", "ds,,,,h", ",hhhhhh" }));
    b.setFrameType(ftFlatFrame);
    EXPECT_EQ(asText(b.grab().toImage()), rows({ "ssssss,", "s,,,,,h", "s,,,,,h", "s,,,,,h", "s,,,,,h", ",hhhhhh" }));
}

TEST(TShineBtnPaint, FrameSwitches)
{
    struct Case {
        const char* name;
        bool activeFrame, upFrame, downFrame;
        Look look;
        bool framed;
    };
    const Case cases[] = {
        { "up off, normal", true, false, true, Look::Normal, false },
        { "up off, disabled", true, false, true, Look::Disabled, false },
        { "up off, hover", true, false, true, Look::Hover, true },
        { "down off, pressed", true, true, false, Look::Pressed, false },
        { "down off, hover pressed", true, true, false, Look::HoverPressed, true },
        { "active off, hover", false, true, true, Look::Hover, false },
        { "active off, hover pressed", false, true, true, Look::HoverPressed, false },
        { "active off, pressed", false, true, true, Look::Pressed, true },
        { "active off, normal", false, true, true, Look::Normal, true },
    };
    for (const Case& c : cases) {
        for (TFrameType type : { ftFlatFrame, ftNormalFrame, ftEnclosedFrame }) {
            TShineBtn b;
            useLetterColours(b);
            b.resize(7, 6);
            b.setFrameType(type);
            b.setActiveFrame(c.activeFrame);
            b.setUpFrame(c.upFrame);
            b.setDownFrame(c.downFrame);
            const std::string text = asText(lookOf(b, c.look));
            const bool pressedLook = c.look == Look::Pressed || c.look == Look::HoverPressed;
            const char face = pressedLook ? ',' : '.';
            const bool allFace = text.find_first_not_of(std::string(1, face) + "\n") == std::string::npos;
            EXPECT_EQ(!allFace, c.framed) << c.name << " frame type " << type << "\n" << text;
        }
    }
}

TEST(TShineBtnPaint, GradientStopsOneStepShort)
{
    // Red falls from 255 to 0 and green rises from 0 to 255 over 7 rows (or columns);
    // blue stays. Steps are i * difference / 7 cut toward zero.
    const int red[7] = { 255, 219, 183, 146, 110, 73, 37 };
    const int green[7] = { 0, 36, 72, 109, 145, 182, 218 };
    for (bool vertical : { true, false }) {
        TShineBtn b;
        b.resize(vertical ? QSize(4, 7) : QSize(7, 4));
        b.setUpFrame(false);
        b.colors()->setColor(WinColor::rgb(255, 0, 10));
        b.colors()->setGradColor(WinColor::rgb(0, 255, 10));
        b.colors()->setGradVertical(vertical);
        b.colors()->setGradation(true);
        const QImage img = b.grab().toImage();
        for (int i = 0; i < 7; ++i) {
            for (int across = 0; across < 4; ++across) {
                const QColor c(vertical ? img.pixel(across, i) : img.pixel(i, across));
                EXPECT_EQ(c.red(), red[i]) << "vertical " << vertical << " step " << i;
                EXPECT_EQ(c.green(), green[i]) << "vertical " << vertical << " step " << i;
                EXPECT_EQ(c.blue(), 10);
            }
        }
    }
}

TEST(TShineBtnPaint, BackgroundColourSetPerLook)
{
    struct Case {
        Look look;
        bool activeColorsEnabled;
        TColor face;
    };
    const Case cases[] = {
        { Look::Normal, false, kFace }, { Look::Disabled, false, kFace }, { Look::Hover, false, kFace },
        { Look::Pressed, false, kPFace }, { Look::HoverPressed, false, kPFace },
        { Look::Normal, true, kFace }, { Look::Disabled, true, kFace }, { Look::Hover, true, kAFace },
        { Look::Pressed, true, kPFace }, { Look::HoverPressed, true, kAFace },
    };
    for (const Case& c : cases) {
        TShineBtn b;
        useLetterColours(b);
        b.setActiveColorsEnabled(c.activeColorsEnabled);
        EXPECT_EQ(at(lookOf(b, c.look), 12, 12), rgbOf(c.face))
            << int(c.look) << " active colours " << c.activeColorsEnabled;
    }
}

TEST(TShineBtnPaint, GlyphMovesByOnePixelInPressedLooks)
{
    // A 4 x 4 glyph: olive key with a black 2 x 2 block in its middle.
    QImage glyph(4, 4, QImage::Format_RGB32);
    glyph.fill(QColor(0x80, 0x80, 0x00));
    for (int y = 1; y < 3; ++y)
        for (int x = 1; x < 3; ++x)
            glyph.setPixel(x, y, qRgb(0, 0, 0));
    TShineBtn b;
    useLetterColours(b);
    b.colors()->setDarkShadow(0x202020);
    b.pressedColors()->setDarkShadow(0x202020);
    b.setActiveImage(aiNoLight);
    b.setGlyph(glyph);
    // centred in 25 x 25: the glyph at (10, 10), its block at (11, 11)
    struct Case {
        Look look;
        QRect block;
    };
    const Case cases[] = {
        { Look::Normal, QRect(11, 11, 2, 2) },
        { Look::Hover, QRect(11, 11, 2, 2) },
        { Look::Pressed, QRect(12, 12, 2, 2) },
        { Look::HoverPressed, QRect(12, 12, 2, 2) },
    };
    for (const Case& c : cases) {
        const QImage img = lookOf(b, c.look);
        EXPECT_EQ(boxOf(img, qRgb(0, 0, 0)), c.block) << int(c.look);
        // the key colour is see-through
        EXPECT_EQ(boxOf(img, qRgb(0x80, 0x80, 0x00)), QRect()) << int(c.look);
    }
}

TEST(TShineBtnPaint, DisabledGlyphIsEmbossed)
{
    // One black pixel at (1, 1) of a 4 x 4 glyph. Its edge mask is (0, 0), (2, 0) and
    // (1, 1): painted in DisabledHighlight one pixel down and right, then in
    // DisabledShadow in place.
    QImage glyph(4, 4, QImage::Format_RGB32);
    glyph.fill(QColor(0x80, 0x80, 0x00));
    glyph.setPixel(1, 1, qRgb(0, 0, 0));
    TShineBtn b;
    useLetterColours(b);
    b.setUpFrame(false);
    b.setDisabledHighlight(0x0000FF);
    b.setDisabledShadow(0x00FF00);
    b.setGlyph(glyph);
    b.setEnabled(false);
    EXPECT_EQ(b.look(), Look::Disabled);
    const QImage img = b.grab().toImage();
    const QPoint g(10, 10);
    std::map<std::pair<int, int>, QRgb> expected = {
        { { 10, 10 }, qRgb(0, 255, 0) }, { { 12, 10 }, qRgb(0, 255, 0) }, { { 11, 11 }, qRgb(0, 255, 0) },
        { { 13, 11 }, qRgb(255, 0, 0) }, { { 12, 12 }, qRgb(255, 0, 0) },
    };
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 25; ++x) {
            const auto it = expected.find({ x, y });
            const QRgb want = it == expected.end() ? rgbOf(kFace) : (it->second & 0xFFFFFF);
            EXPECT_EQ(at(img, x, y), want) << x << "," << y;
        }
    }
    // Another disabled effect draws the glyph itself, changed.
    b.setDisabledImage(diGrayscale);
    const QImage grey = b.grab().toImage();
    EXPECT_EQ(at(grey, g.x() + 1, g.y() + 1), qRgb(0, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(at(grey, g.x(), g.y()), rgbOf(kFace));
}

TEST(TShineBtnPaint, CaptionCopiesAndColours)
{
    TShineBtn b;
    useLetterColours(b);
    b.resize(60, 25);
    b.setUpFrame(false);
    b.setActiveFrame(false);
    b.setDownFrame(false);
    b.setFont(sharpFont());
    b.setActiveFont(sharpFont());
    b.setText(QStringLiteral("Hg"));
    b.setFontColor(0x0000FF);       // red
    b.setActiveFontColor(0xFF0000); // blue
    const QRgb red = qRgb(255, 0, 0) & 0xFFFFFF;
    const QRgb blue = qRgb(0, 0, 255) & 0xFFFFFF;

    const QRect normal = boxOf(lookOf(b, Look::Normal), red);
    ASSERT_FALSE(normal.isEmpty());
    EXPECT_EQ(boxOf(lookOf(b, Look::Normal), blue), QRect());
    EXPECT_EQ(boxOf(lookOf(b, Look::Pressed), red), normal.translated(1, 1));
    // Mouse-over looks use the active font colour.
    EXPECT_EQ(boxOf(lookOf(b, Look::Hover), blue), normal);
    EXPECT_EQ(boxOf(lookOf(b, Look::HoverPressed), blue), normal.translated(1, 1));
    EXPECT_EQ(boxOf(lookOf(b, Look::Hover), red), QRect());

    // Shadow copy at (+1, +1), highlight copy at (-1, -1), the text itself on top.
    b.setFontShadow(0x00FF00);
    b.setFontHighlight(0xFFFF00);
    const QImage copies = lookOf(b, Look::Normal);
    EXPECT_EQ(boxOf(copies, red), normal);
    EXPECT_EQ(boxOf(copies, qRgb(0, 255, 0)).bottomRight(), normal.bottomRight() + QPoint(1, 1));
    EXPECT_EQ(boxOf(copies, qRgb(0, 255, 255)).topLeft(), normal.topLeft() - QPoint(1, 1));

    // Disabled: DisabledHighlight at (+1, +1), DisabledShadow in place; no font colours.
    b.setDisabledHighlight(0xFF00FF);
    b.setDisabledShadow(0x008080);
    const QImage disabled = lookOf(b, Look::Disabled);
    EXPECT_EQ(boxOf(disabled, qRgb(0x80, 0x80, 0x00)), normal);
    EXPECT_EQ(boxOf(disabled, qRgb(255, 0, 255)).bottomRight(), normal.bottomRight() + QPoint(1, 1));
    EXPECT_EQ(boxOf(disabled, red), QRect());
    EXPECT_EQ(boxOf(disabled, qRgb(0, 255, 0)), QRect());
}

TEST(TShineBtnPaint, AcceleratorMarkIsHiddenOrDrawn)
{
    TShineBtn b;
    useLetterColours(b);
    b.resize(80, 25);
    b.setUpFrame(false);
    b.setFont(sharpFont());
    b.setFontColor(0x0000FF);
    const QRgb red = qRgb(255, 0, 0) & 0xFFFFFF;
    b.setText(QStringLiteral("A&B"));
    const QRect withMnemonic = boxOf(lookOf(b, Look::Normal), red);
    b.setShowAccelChar(false);
    const QRect literal = boxOf(lookOf(b, Look::Normal), red);
    b.setText(QStringLiteral("AB"));
    const QRect plain = boxOf(lookOf(b, Look::Normal), red);
    // "&" drawn literally makes the caption wider; as a mark it takes no room.
    EXPECT_GT(literal.width(), withMnemonic.width() + 3);
    // (the underline under the marked letter may reach one pixel further)
    EXPECT_LE(withMnemonic.width(), plain.width() + 1);
    EXPECT_GE(withMnemonic.width(), plain.width());
}

TEST(TShineBtnPaint, AlignmentWithinTheWidenedCaption)
{
    // AlMargin widens the caption rectangle, so the alignment moves the text.
    std::map<TAlignment, QRect> boxes;
    for (TAlignment a : { taLeftJustify, taCenter, taRightJustify }) {
        TShineBtn b;
        useLetterColours(b);
        b.resize(120, 25);
        b.setUpFrame(false);
        b.setFont(sharpFont());
        b.setFontColor(0x0000FF);
        b.setText(QStringLiteral("Hi"));
        b.setGlyphLayout(blGlyphTop);
        b.setAlMargin(10);
        b.setAlignment(a);
        boxes[a] = boxOf(lookOf(b, Look::Normal), qRgb(255, 0, 0));
        ASSERT_FALSE(boxes[a].isEmpty());
    }
    // The caption rectangle runs from x = 10 to x = 109.
    EXPECT_LE(boxes[taLeftJustify].left(), 12);
    EXPECT_GE(boxes[taLeftJustify].left(), 10);
    EXPECT_GE(boxes[taRightJustify].right(), 107);
    EXPECT_LE(boxes[taRightJustify].right(), 109);
    const int centre = (boxes[taCenter].left() + boxes[taCenter].right()) / 2;
    EXPECT_NEAR(centre, 60, 2);
}

TEST(TShineBtnPaint, TransparentButtonLeavesTheBackgroundAlone)
{
    QWidget parent;
    parent.resize(40, 40);
    parent.setAutoFillBackground(true);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(1, 2, 3));
    parent.setPalette(pal);
    auto* b = new TShineBtn(&parent);
    b->setGeometry(5, 5, 25, 25);
    b->setUpFrame(false);
    b->colors()->setColor(0x0000FF);
    EXPECT_EQ(at(parent.grab().toImage(), 17, 17), qRgb(255, 0, 0) & 0xFFFFFF);
    b->setTransparent(true);
    EXPECT_EQ(at(parent.grab().toImage(), 17, 17), qRgb(1, 2, 3) & 0xFFFFFF);
}

TEST(TShineBtnLayout, GlyphAndCaptionPlacement)
{
    struct Case {
        const char* name;
        QSize client, glyph, text;
        TButtonLayout layout;
        int margin, spacing, alMargin;
        QPoint glyphPos;
        QRect caption;
    };
    const QSize g16(16, 16), t40(40, 13), none(0, 0);
    const Case cases[] = {
        { "glyph only, centred", { 25, 25 }, g16, none, blGlyphLeft, -1, 4, -1, { 4, 4 }, {} },
        { "odd room, halves cut", { 25, 25 }, { 15, 15 }, none, blGlyphLeft, -1, 4, -1, { 5, 5 }, {} },
        { "glyph larger than the button", { 10, 10 }, { 15, 15 }, none, blGlyphLeft, -1, 4, -1, { -2, -2 }, {} },
        { "left, centred block", { 100, 30 }, g16, t40, blGlyphLeft, -1, 4, -1, { 20, 7 }, { 40, 8, 40, 13 } },
        { "right, centred block", { 100, 30 }, g16, t40, blGlyphRight, -1, 4, -1, { 64, 7 }, { 20, 8, 40, 13 } },
        { "top, centred block", { 60, 50 }, g16, t40, blGlyphTop, -1, 4, -1, { 22, 8 }, { 10, 28, 40, 13 } },
        { "bottom, centred block", { 60, 50 }, g16, t40, blGlyphBottom, -1, 4, -1, { 22, 26 }, { 10, 9, 40, 13 } },
        { "left with margin", { 100, 30 }, g16, t40, blGlyphLeft, 3, 4, -1, { 3, 7 }, { 23, 8, 40, 13 } },
        { "right with margin", { 100, 30 }, g16, t40, blGlyphRight, 3, 2, -1, { 81, 7 }, { 39, 8, 40, 13 } },
        { "caption only: no spacing", { 100, 30 }, none, t40, blGlyphLeft, -1, 4, -1, { 30, 15 }, { 30, 8, 40, 13 } },
        { "AlMargin, left with margin", { 100, 30 }, g16, t40, blGlyphLeft, 3, 4, 5, { 3, 7 }, { 23, 8, 72, 13 } },
        { "AlMargin, right with margin", { 100, 30 }, g16, t40, blGlyphRight, 3, 4, 5, { 81, 7 }, { 5, 8, 72, 13 } },
        { "AlMargin ignored when centred", { 100, 30 }, g16, t40, blGlyphLeft, -1, 4, 5, { 20, 7 }, { 40, 8, 40, 13 } },
        { "AlMargin, top", { 60, 50 }, g16, t40, blGlyphTop, -1, 4, 2, { 22, 8 }, { 2, 28, 56, 13 } },
    };
    for (const Case& c : cases) {
        const auto l = TShineBtn::calcLayout(c.client, c.glyph, c.text, c.layout, c.margin, c.spacing, c.alMargin);
        EXPECT_EQ(l.glyphPos, c.glyphPos) << c.name;
        if (!c.text.isEmpty()) {
            EXPECT_EQ(l.captionRect, c.caption) << c.name;
        }
    }
}

TEST(TShineBtnPaint, GlyphWithTransparencyFollowsTheFace)
{
    // A 4 x 4 picture, clear except a half-covering black pixel at (1, 1).
    QImage picture(4, 4, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(1, 1, qRgba(0, 0, 0, 128));
    TShineBtn b;
    b.setUpFrame(false);
    b.colors()->setColor(WinColor::rgb(200, 100, 0));
    b.setGlyph(picture);
    // glyph at (10, 10): the clear pixels show the face, the half one is blended over it
    QImage img = b.grab().toImage();
    EXPECT_EQ(at(img, 10, 10), qRgb(200, 100, 0) & 0xFFFFFF);
    EXPECT_EQ(at(img, 11, 11), qRgb(99, 49, 0) & 0xFFFFFF);
    b.colors()->setColor(WinColor::rgb(0, 0, 255));
    img = b.grab().toImage();
    EXPECT_EQ(at(img, 10, 10), qRgb(0, 0, 255) & 0xFFFFFF);
    EXPECT_EQ(at(img, 11, 11), qRgb(0, 0, 127) & 0xFFFFFF);
}
