#include "layout/ui/LayoutFields.h"
#include "layout/ui/TPaintBoxEL.h"
#include "platform/JapaneseFonts.h"
#include "platform/VerticalText.h"
#include "preview/PreviewTestSupport.h"
#include "support/SampleAddresses.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using testtext::u;

FieldStyle visibleStyle(int left, int top, int length, bool tate = false, const QString& face = QStringLiteral("ＭＳ ゴシック"))
{
    FieldStyle s;
    s.fontName = face;
    s.fontSize = 10;
    s.tate = tate;
    s.left = left;
    s.top = top;
    s.width = length;
    s.visible = true;
    return s;
}

// A white card of the postcard's size with the fifteen boxes on it.
struct Card {
    QWidget widget;
    LayoutFields fields;

    explicit Card(LayoutFields::Form form)
        : fields(form, &widget)
    {
        widget.resize(378, 559);
        widget.setAutoFillBackground(true);
        QPalette pal;
        pal.setColor(QPalette::Window, Qt::white);
        widget.setPalette(pal);
        fields.records = {u(u"\"〒123-4567\",\"東京都港区芝公園４－２－８\",\"テストビル１－２\",\"株式会社テスト\",\"山田太郎\",\"C1\",\"殿\""),
                          u(u"\"9876543\",\"大阪府大阪市\",,\"鈴木花子\",,,\"\"")};
        fields.columns = testaddresses::columns();
        fields.honorific = {false, u(u"様")};
        fields.sender.postalCode = u(u"〒100-0001");
        fields.sender.tel = u(u"03-1234-5678");
        for (int n = 1; n <= kFieldCount; ++n)
            fields.applyStyle(n, visibleStyle(10, 10 + 30 * n, 200));
    }

    QImage grab() { return widget.grab().toImage(); }
    TPaintBoxEL* box(int n) { return fields.box(n); }
};

TEST(LayoutFields, BoxesAreNamedAndNumbered)
{
    Card card(LayoutFields::Form::Postcard);
    for (int n = 1; n <= kFieldCount; ++n) {
        ASSERT_NE(card.box(n), nullptr);
        EXPECT_EQ(card.box(n)->objectName(), QStringLiteral("pbeFld%1").arg(n));
        EXPECT_EQ(card.fields.fieldOf(card.box(n)), n);
        EXPECT_EQ(card.box(n)->parentWidget(), &card.widget);
    }
    EXPECT_EQ(card.fields.box(0), nullptr);
    EXPECT_EQ(card.fields.box(16), nullptr);
}

TEST(LayoutFields, StyleRoundTripKeepsTheLengthOfVerticalBoxes)
{
    Card card(LayoutFields::Form::Postcard);
    FieldStyle s = visibleStyle(30, 40, 250, true, QStringLiteral("@ＭＳ 明朝"));
    s.bold = true;
    s.italic = true;
    s.alignment = 2;
    s.fontSize = 14;
    card.fields.applyStyle(2, s);
    card.fields.ApplyFieldFont(card.box(2));
    EXPECT_EQ(card.box(2)->height(), 250);
    EXPECT_EQ(card.box(2)->Alignment(), TPaintBoxEL::taRightJustify);
    EXPECT_EQ(card.fields.style(2), s);

    FieldStyle hidden = visibleStyle(5, 6, 70);
    hidden.visible = false;
    card.fields.applyStyle(3, hidden);
    EXPECT_EQ(card.fields.style(3), hidden);
    EXPECT_FALSE(card.fields.visibility()[2]);
}

TEST(LayoutFields, FillFieldTextsSetsTheBoxTexts)
{
    Card card(LayoutFields::Form::Postcard);
    card.fields.FillFieldTexts(0);
    EXPECT_EQ(card.box(1)->Moji(), u(u"〒123-4567"));
    EXPECT_EQ(card.box(2)->Moji(), u(u"東京都港区芝公園４－２－８"));
    EXPECT_EQ(card.box(4)->Moji(), u(u"株式会社テスト"));
    EXPECT_EQ(card.box(5)->Moji(), u(u"山田太郎　様"));
    EXPECT_EQ(card.box(7)->Moji(), QStringLiteral(" "));
    EXPECT_EQ(card.box(12)->Moji(), u(u"Tel 03-1234-5678"));
    EXPECT_EQ(card.box(13)->Moji(), QStringLiteral(" "));

    card.fields.FillFieldTexts(1);
    EXPECT_EQ(card.fields.currentRecord(), 1);
    EXPECT_EQ(card.box(3)->Moji(), QStringLiteral(" "));
    EXPECT_EQ(card.box(4)->Moji(), u(u"鈴木花子　様"));
    EXPECT_EQ(card.box(5)->Moji(), QStringLiteral(" "));

    // No such record: every field blank, no crash.
    card.fields.FillFieldTexts(99);
    EXPECT_EQ(card.box(2)->Moji(), QStringLiteral(" "));
}

TEST(LayoutFields, ApplyHonorificFollowsTheControlsAndTheVisibleNames)
{
    Card card(LayoutFields::Form::Postcard);
    card.fields.FillFieldTexts(0);
    card.fields.honorific = {true, QString()};
    card.fields.ApplyHonorific();
    EXPECT_EQ(card.box(5)->Moji(), u(u"山田太郎　殿"));
    card.box(5)->hide();
    card.fields.ApplyHonorific();
    EXPECT_EQ(card.box(4)->Moji(), u(u"株式会社テスト　殿"));
    EXPECT_EQ(card.box(5)->Moji(), u(u"山田太郎"));
    card.box(4)->hide();
    card.fields.ApplyHonorific();
    EXPECT_EQ(card.box(4)->Moji(), u(u"株式会社テスト"));
    EXPECT_EQ(card.box(5)->Moji(), u(u"山田太郎"));
}

TEST(LayoutFields, ThicknessComesFromTheFontAndTheLengthStays)
{
    Card card(LayoutFields::Form::Postcard);
    TPaintBoxEL* b = card.box(3);
    b->setGeometry(10, 10, 200, 20);
    b->setFontSize(12);
    card.fields.ApplyFieldFont(b);
    const int h = card.fields.textHeight(b);
    EXPECT_EQ(b->size(), QSize(200, h));
    // 12 points = 16 pixels; the IPA faces are 1.076 em high.
    EXPECT_EQ(h, 18);

    b->setTate(true);
    EXPECT_EQ(b->size(), QSize(h, 200));
    b->setFontName(QStringLiteral("@ＭＳ ゴシック"));
    b->setFontSize(20);
    card.fields.ApplyFieldFont(b);
    const VerticalText vt(card.fields.boxFont(b), QString(), true);
    EXPECT_EQ(b->width(), int(std::ceil(vt.columnWidth() - 1e-3)));
    EXPECT_EQ(b->height(), 200);
    EXPECT_EQ(b->font().pixelSize(), JapaneseFonts::screenPixelSize(20));
}

TEST(LayoutFields, FontSizeZeroOrNegativeDrawsAtNinePoints)
{
    Card card(LayoutFields::Form::Postcard);
    for (int size : {0, -5}) {
        card.box(2)->setFontSize(size);
        EXPECT_EQ(card.fields.boxFont(card.box(2)).pixelSize(), 12) << size;
    }
    card.box(2)->setFontSize(500);
    EXPECT_EQ(card.fields.boxFont(card.box(2)).pixelSize(), 667);
}

struct TextCase {
    LayoutFields::Form form;
    int field;
    bool tate;
    bool senderMark;
    bool recipientMark;
    const char16_t* moji;
    const char16_t* painted;
};

TEST(LayoutFields, PaintedTextFollowsTheMarkAndHyphenRules)
{
    using F = LayoutFields::Form;
    const TextCase cases[] = {
        {F::Postcard, 2, true, true, true, u"1－2－3", u"1-2-3"},
        {F::Postcard, 2, false, true, true, u"1－2－3", u"1－2－3"},
        {F::Postcard, 3, true, true, true, u"ビル１－２", u"ビル１-２"},
        {F::Postcard, 8, true, true, true, u"1－2", u"1-2"},
        {F::Postcard, 9, true, true, true, u"1－2", u"1-2"},
        {F::Postcard, 4, true, true, true, u"1－2", u"1－2"}, // names keep their hyphens
        {F::Postcard, 12, true, true, true, u"Tel 03－1", u"Tel 03－1"},
        // Field 7 draws the sender postal code with the 〒 rule (the text box's own text is unused).
        {F::Postcard, 7, false, false, true, u" ", u"100-0001"},
        {F::Postcard, 7, false, true, true, u" ", u"〒100-0001"},
        {F::Postcard, 1, false, true, false, u"1234567", u"1234567"}, // postcard: no mark on field 1
        {F::Label, 1, false, true, true, u"123-4567", u"〒123-4567"},
        {F::Label, 1, false, true, false, u"〒123-4567", u"123-4567"},
        {F::Label, 7, false, false, true, u" ", u"100-0001"},
    };
    for (const TextCase& c : cases) {
        Card card(c.form);
        card.fields.sender.postalCode = u(u"〒100-0001");
        card.fields.senderPostMark = c.senderMark;
        card.fields.recipientPostMark = c.recipientMark;
        TPaintBoxEL* b = card.box(c.field);
        b->setTate(c.tate);
        b->setMoji(u(c.moji));
        EXPECT_EQ(card.fields.paintText(b), u(c.painted)) << int(c.form) << " field " << c.field;
    }
}

// Dark (text) pixels inside a rectangle of the card.
QRect inkIn(const QImage& img, const QRect& area)
{
    return previewtest::inkBox(img, area, 90);
}

TEST(LayoutFields, PostcardDigitsLandInTheirSevenBoxes)
{
    Card card(LayoutFields::Form::Postcard);
    FieldStyle s = visibleStyle(0, 0, 50);
    s.post = true;
    s.fontSize = 14;
    card.fields.applyStyle(1, s);
    for (int n = 2; n <= kFieldCount; ++n)
        card.box(n)->hide();
    card.box(1)->setMoji(QStringLiteral("1234567890"));
    const QImage img = card.grab();
    EXPECT_EQ(card.box(1)->geometry(), QRect(167, 45, 185, 33));
    // Printed boxes: 21 wide, left edges 167, 194, 221 and 250, 276, 302, 328.
    const int lefts[] = {167, 194, 221, 250, 276, 302, 328};
    for (int k = 0; k < 7; ++k) {
        const QRect ink = inkIn(img, QRect(lefts[k] - 3, 46, 27, 31));
        ASSERT_TRUE(ink.isValid()) << "digit " << k + 1;
        EXPECT_GE(ink.left(), lefts[k]) << "digit " << k + 1;
        EXPECT_LE(ink.right(), lefts[k] + 21) << "digit " << k + 1;
        EXPECT_GE(ink.top(), 45);
        EXPECT_LE(ink.bottom(), 45 + 33);
    }
    // The eighth digit and beyond are not drawn.
    EXPECT_FALSE(inkIn(img, QRect(350, 40, 28, 40)).isValid());
}

TEST(LayoutFields, SenderPostalFrameDrawsTheDigitsOfTheSenderCode)
{
    Card card(LayoutFields::Form::Postcard);
    FieldStyle s = visibleStyle(40, 300, 200);
    s.post = true;
    card.fields.applyStyle(7, s);
    for (int n = 1; n <= kFieldCount; ++n)
        if (n != 7)
            card.box(n)->hide();
    card.fields.sender.postalCode = u(u"〒１２３－４５");
    const QImage img = card.grab();
    EXPECT_EQ(card.box(7)->geometry(), QRect(40, 300, 110, 26));
    EXPECT_EQ(card.box(7)->Moji(), QStringLiteral("12345"));
    // Cells of 15 pixels, 4 extra after the third; digits 1..5 drawn, cells 6 and 7 empty.
    for (int k = 1; k <= 7; ++k) {
        const int cell = 40 + 15 * (k - 1) + (k >= 4 ? 4 : 0);
        const QRect ink = inkIn(img, QRect(cell + 1, 301, 13, 24));
        EXPECT_EQ(ink.isValid(), k <= 5) << "cell " << k;
    }
}

TEST(LayoutFields, LabelFormDrawsPostalFieldsAsText)
{
    Card card(LayoutFields::Form::Label);
    FieldStyle s = visibleStyle(20, 20, 150);
    s.post = true; // from a settings file: ignored on labels
    card.fields.applyStyle(1, s);
    card.fields.ApplyFieldFont(card.box(1));
    card.fields.FillFieldTexts(0);
    card.grab();
    EXPECT_EQ(card.box(1)->geometry().topLeft(), QPoint(20, 20));
    EXPECT_EQ(card.fields.paintText(card.box(1)), u(u"〒123-4567"));
}

TEST(LayoutFields, OutlinesAreGreyOrBlueForTheSelectedField)
{
    Card card(LayoutFields::Form::Postcard);
    for (int n = 1; n <= kFieldCount; ++n)
        card.box(n)->hide();
    card.box(2)->show();
    card.box(2)->setGeometry(50, 50, 100, 30);
    card.box(3)->show();
    card.box(3)->setGeometry(50, 100, 100, 30);
    card.fields.setSelected(card.box(3));
    const QImage img = card.grab();
    EXPECT_EQ(img.pixelColor(50, 50), LayoutFields::kNormalLine);
    EXPECT_EQ(img.pixelColor(149, 79), LayoutFields::kNormalLine);
    EXPECT_EQ(img.pixelColor(50, 100), LayoutFields::kSelectedLine);
    EXPECT_EQ(img.pixelColor(149, 129), LayoutFields::kSelectedLine);
    EXPECT_EQ(img.pixelColor(100, 90), QColor(Qt::white)); // nothing between the boxes
}

TEST(LayoutFields, AlignmentPlacesTheTextInTheBox)
{
    for (bool tate : {false, true}) {
        int previous = -1;
        for (auto align : {TPaintBoxEL::taLeftJustify, TPaintBoxEL::taCenter, TPaintBoxEL::taRightJustify}) {
            Card card(LayoutFields::Form::Postcard);
            for (int n = 1; n <= kFieldCount; ++n)
                card.box(n)->hide();
            TPaintBoxEL* b = card.box(2);
            card.fields.applyStyle(2, visibleStyle(20, 20, 300, tate, tate ? QStringLiteral("@ＭＳ 明朝")
                                                                          : QStringLiteral("ＭＳ 明朝")));
            b->setAlignment(align);
            b->setMoji(u(u"東京都"));
            card.fields.ApplyFieldFont(b);
            const QImage img = card.grab();
            const QRect ink = inkIn(img, b->geometry().adjusted(1, 1, -1, -1));
            ASSERT_TRUE(ink.isValid());
            const int along = tate ? ink.top() - 20 : ink.left() - 20;
            const int before = along;
            const int after = tate ? 20 + 300 - 1 - ink.bottom() : 20 + 300 - 1 - ink.right();
            if (align == TPaintBoxEL::taLeftJustify)
                EXPECT_LT(before, 6) << tate;
            else if (align == TPaintBoxEL::taCenter)
                EXPECT_NEAR(before, after, 6) << tate;
            else
                EXPECT_LT(after, 6) << tate;
            EXPECT_GT(along, previous) << tate;
            previous = along;
        }
    }
}

TEST(LayoutFields, BadInputIsClippedAndQuick)
{
    Card card(LayoutFields::Form::Postcard);
    card.fields.applyStyle(2, visibleStyle(20, 20, 300, false, QStringLiteral("No Such Face")));
    card.fields.applyStyle(3, visibleStyle(340, 20, 300, true, QStringLiteral("@No Such Face")));
    card.fields.applyStyle(4, visibleStyle(300, 20, 300, true, QStringLiteral("@ＭＳ 明朝")));
    FieldStyle post = visibleStyle(0, 0, 50);
    post.post = true;
    card.fields.applyStyle(1, post);
    for (int n = 5; n <= kFieldCount; ++n)
        card.box(n)->hide();
    card.box(2)->setMoji(QString(10000, QChar(0x6771)));
    card.box(3)->setMoji(QString(10000, QChar(0x6771)) + QStringLiteral("😀\uFFFF"));
    card.box(4)->setMoji(QString());
    card.box(1)->setMoji(QString(300, QLatin1Char('7')));
    for (int n = 1; n <= 4; ++n)
        card.fields.ApplyFieldFont(card.box(n));
    QElapsedTimer timer;
    timer.start();
    const QImage img = card.grab();
    EXPECT_LT(timer.elapsed(), 3000);
    // The long horizontal line stops at its box's right edge.
    EXPECT_TRUE(inkIn(img, card.box(2)->geometry()).isValid());
    const QRect right(card.box(2)->geometry().right() + 2, card.box(2)->y(), 10, card.box(2)->height());
    EXPECT_FALSE(inkIn(img, right).isValid());
    // The vertical one stops at the bottom of its box.
    EXPECT_FALSE(inkIn(img, QRect(340, 321, 20, 200)).isValid());
    // A face that does not exist still draws kanji.
    EXPECT_TRUE(inkIn(img, card.box(3)->geometry()).isValid());
}

} // namespace
