// Colour values and "short|long" hints.

#include "controls/Hint.h"
#include "platform/WinColor.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

TEST(WinColor, PlainValuesAreBlueGreenRed)
{
    struct Case {
        TColor value;
        QColor expected;
    };
    const Case cases[] = {
        { 0xFF0000, QColor(0, 0, 255) },
        { 0x00FFFF, QColor(255, 255, 0) },
        { 0x008080, QColor(128, 128, 0) },
        { 0x123456, QColor(0x56, 0x34, 0x12) },
        { clWhite, QColor(255, 255, 255) },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WinColor::toQColor(c.value), c.expected) << std::hex << c.value;
        EXPECT_EQ(WinColor::fromQColor(c.expected), c.value) << std::hex << c.value;
    }
    EXPECT_EQ(WinColor::rgb(0x56, 0x34, 0x12), TColor(0x123456));
}

TEST(WinColor, SystemColoursFollowThePalette)
{
    QPalette pal;
    pal.setColor(QPalette::Active, QPalette::Button, QColor(1, 1, 1));
    pal.setColor(QPalette::Active, QPalette::Light, QColor(2, 2, 2));
    pal.setColor(QPalette::Active, QPalette::Dark, QColor(3, 3, 3));
    pal.setColor(QPalette::Active, QPalette::Shadow, QColor(4, 4, 4));
    pal.setColor(QPalette::Active, QPalette::HighlightedText, QColor(5, 5, 5));
    pal.setColor(QPalette::Active, QPalette::Highlight, QColor(6, 6, 6));
    pal.setColor(QPalette::Active, QPalette::ButtonText, QColor(7, 7, 7));
    pal.setColor(QPalette::Active, QPalette::WindowText, QColor(8, 8, 8));
    pal.setColor(QPalette::Disabled, QPalette::Text, QColor(9, 9, 9));
    struct Case {
        TColor value;
        int grey;
    };
    const Case cases[] = {
        { clBtnFace, 1 }, { clBtnHighlight, 2 }, { clBtnShadow, 3 }, { clWindowFrame, 4 },
        { clHighlightText, 5 }, { clHighlight, 6 }, { clBtnText, 7 }, { clWindowText, 8 }, { clGrayText, 9 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(WinColor::toQColor(c.value, pal), QColor(c.grey, c.grey, c.grey)) << std::hex << c.value;

    // The one-argument form reads the application's palette.
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(pal);
    EXPECT_EQ(WinColor::toQColor(clBtnFace), QColor(1, 1, 1));
    QApplication::setPalette(saved);
}

TEST(WinColor, NoneAndUnknownValuesAreInvalid)
{
    for (TColor v : { clNone, clDefault, TColor(0x01000000), TColor(clSystemColor | 200) })
        EXPECT_FALSE(WinColor::toQColor(v).isValid()) << std::hex << v;
}

TEST(Hint, ShortAndLongParts)
{
    struct Case {
        const char* hint;
        const char* shortPart;
        const char* longPart;
    };
    const Case cases[] = {
        { "ヘルプ|ヘルプを表示します。", "ヘルプ", "ヘルプを表示します。" },
        { "まず最初に初期設定を行ってください。", "まず最初に初期設定を行ってください。", "まず最初に初期設定を行ってください。" },
        { "a|b|c", "a", "b|c" },
        { "|only long", "", "only long" },
        { "only short|", "only short", "" },
        { "", "", "" },
    };
    for (const Case& c : cases) {
        const QString hint = QString::fromUtf8(c.hint);
        EXPECT_EQ(shortHint(hint), QString::fromUtf8(c.shortPart)) << c.hint;
        EXPECT_EQ(longHint(hint), QString::fromUtf8(c.longPart)) << c.hint;
        QWidget w;
        setHint(&w, hint);
        EXPECT_EQ(w.toolTip(), QString::fromUtf8(c.shortPart)) << c.hint;
        EXPECT_EQ(w.statusTip(), QString::fromUtf8(c.longPart)) << c.hint;
        EXPECT_EQ(hintOf(&w), hint);
    }
}
