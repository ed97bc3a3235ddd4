// A whole card with all fifteen fields of one record, vertical and horizontal, saved as PNG
// images (build/layout_harness_*.png) for a person to look at, and checked where a program can.
#include "layout/ui/LayoutFields.h"
#include "layout/ui/TPaintBoxEL.h"
#include "preview/PreviewTestSupport.h"
#include "support/SampleAddresses.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using testtext::u;

// The postcard picture: white, with the seven printed postal-code boxes in red.
class CardPicture : public QWidget {
public:
    CardPicture() { resize(378, 559); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(QColor(255, 0, 0));
        for (int x : {167, 194, 221, 250, 276, 302, 328})
            p.drawRect(x, 45, 21, 30);
        p.drawLine(242, 60, 250, 60);
    }
};

struct Placement {
    int field;
    const char16_t* face;
    int size;
    bool tate;
    bool bold;
    int alignment;
    int left, top, length;
    bool post;
};

struct Harness {
    CardPicture card;
    LayoutFields fields{LayoutFields::Form::Postcard, &card};

    explicit Harness(const std::vector<Placement>& placements)
    {
        fields.records = {u(u"\"〒１０２－００７２\",\"東京都千代田区飯田橋３－１０－８\",\"サンライズビル　ＡＢＣ号室\","
                            u"\"株式会社ワークショップ\",\"山田　花子\",\"C-1234\",\"様\"")};
        fields.columns = testaddresses::columns();
        fields.honorific = {false, u(u"様")};
        SenderInfo s;
        s.postalCode = u(u"〒５３０－０００１");
        s.address1 = u(u"大阪府大阪市北区梅田１－２－３");
        s.address2 = u(u"グランドビル１２Ｆ（受付）");
        s.name1 = u(u"鈴木　一郎");
        s.name2 = u(u"ちょっとコーヒー「店」");
        s.tel = u(u"06-1234-5678");
        s.fax = u(u"06-1234-5679");
        s.mail = u(u"ichiro@example.jp");
        s.url = u(u"https://example.jp/");
        fields.sender = s;
        fields.senderPostMark = true;
        for (const Placement& p : placements) {
            FieldStyle st;
            st.fontName = u(p.face);
            st.fontSize = p.size;
            st.tate = p.tate;
            st.bold = p.bold;
            st.alignment = p.alignment;
            st.left = p.left;
            st.top = p.top;
            st.width = p.length;
            st.post = p.post;
            st.visible = true;
            fields.applyStyle(p.field, st);
        }
        for (TPaintBoxEL* b : fields.boxes())
            fields.ApplyFieldFont(b);
        fields.FillFieldTexts(0);
        fields.box(1)->setMoji(FieldTexts::postalDigits(fields.box(1)->Moji())); // as the postcard does
        fields.setSelected(fields.box(4));
    }

    QImage grab(const QString& name)
    {
        const QImage img = card.grab().toImage();
        img.save(QDir(QStringLiteral(TOVALIN_BINARY_DIR)).filePath(name + QStringLiteral(".png")));
        return img;
    }

    // The same card drawn through a painter scaled three times, as on a finer device.
    QImage render3x(const QString& name)
    {
        QImage img(card.size() * 3, QImage::Format_ARGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.scale(3, 3);
        card.render(&p);
        p.end();
        img.save(QDir(QStringLiteral(TOVALIN_BINARY_DIR)).filePath(name + QStringLiteral("_3x.png")));
        return img;
    }
};

// Dark (text) pixels inside a rectangle of the card.
QRect inkIn(const QImage& img, const QRect& area)
{
    return previewtest::inkBox(img, area, 90);
}

void expectDigitsInTheBoxes(const QImage& img)
{
    const int lefts[] = {167, 194, 221, 250, 276, 302, 328};
    for (int k = 0; k < 7; ++k) {
        const QRect ink = inkIn(img, QRect(lefts[k] - 3, 46, 27, 31));
        ASSERT_TRUE(ink.isValid()) << "digit " << k + 1;
        EXPECT_GE(ink.left(), lefts[k] + 1);
        EXPECT_LE(ink.right(), lefts[k] + 20);
    }
}

TEST(LayoutHarness, VerticalCardWithAllFifteenFields)
{
    const char16_t* mincho = u"@ＭＳ 明朝";
    const char16_t* gothic = u"@ＭＳ ゴシック";
    Harness h({
        {1, u"ＭＳ ゴシック", 14, false, false, 0, 0, 0, 0, true},
        {2, mincho, 14, true, false, 0, 320, 100, 360, false},
        {3, mincho, 13, true, false, 0, 296, 160, 300, false},
        {4, mincho, 16, true, false, 1, 230, 110, 330, false},
        {5, mincho, 22, true, true, 1, 190, 110, 330, false},
        {6, u"ＭＳ ゴシック", 8, false, false, 2, 250, 530, 110, false},
        {7, u"ＭＳ ゴシック", 10, false, false, 0, 20, 525, 0, true},
        {8, mincho, 10, true, false, 0, 120, 250, 260, false},
        {9, mincho, 10, true, false, 0, 104, 270, 240, false},
        {10, mincho, 12, true, false, 2, 80, 300, 210, false},
        {11, mincho, 12, true, false, 2, 60, 300, 210, false},
        {12, gothic, 9, true, false, 0, 40, 300, 200, false},
        {13, u"ＭＳ ゴシック", 9, true, false, 0, 24, 300, 200, false},
        {14, u"ＭＳ ゴシック", 8, false, false, 0, 140, 505, 200, false},
        {15, u"ＭＳ ゴシック", 8, false, false, 0, 140, 518, 200, false},
    });
    const QImage img = h.grab(QStringLiteral("layout_harness_vertical"));
    expectDigitsInTheBoxes(img);
    // Drawn three times finer, every box holds the same ink, three times larger.
    const QImage fine = h.render3x(QStringLiteral("layout_harness_vertical"));
    for (int n : {2, 5, 12}) {
        const QRect g = h.fields.box(n)->geometry().adjusted(1, 1, -1, -1);
        const QRect coarse = inkIn(img, g);
        const QRect big = inkIn(fine, QRect(g.topLeft() * 3, g.size() * 3));
        EXPECT_NEAR(big.top(), coarse.top() * 3, 6) << "field " << n;
        EXPECT_NEAR(big.bottom(), coarse.bottom() * 3, 6) << "field " << n;
        EXPECT_NEAR(big.left(), coarse.left() * 3, 6) << "field " << n;
    }

    // The honorific went to name 2, which is visible and not blank.
    EXPECT_EQ(h.fields.box(5)->Moji(), u(u"山田　花子　様"));
    EXPECT_EQ(h.fields.box(4)->Moji(), u(u"株式会社ワークショップ"));
    // The vertical address lines draw ASCII hyphens.
    EXPECT_EQ(h.fields.paintText(h.fields.box(2)), u(u"東京都千代田区飯田橋３-１０-８"));
    // Every visible field drew something inside its box.
    for (int n = 1; n <= kFieldCount; ++n)
        EXPECT_TRUE(inkIn(img, h.fields.box(n)->geometry().adjusted(1, 1, -1, -1)).isValid()) << "field " << n;
    // Vertical boxes are one column wide: the text's own height.
    for (int n : {2, 3, 4, 5, 8, 9, 10, 11, 12, 13})
        EXPECT_EQ(h.fields.box(n)->width(), h.fields.textHeight(h.fields.box(n))) << "field " << n;
}

TEST(LayoutHarness, HorizontalCardWithAllFifteenFields)
{
    const char16_t* gothic = u"ＭＳ Ｐゴシック";
    Harness h({
        {1, u"ＭＳ ゴシック", 14, false, false, 0, 0, 0, 0, true},
        {2, gothic, 12, false, false, 0, 40, 110, 300, false},
        {3, gothic, 12, false, false, 0, 60, 135, 280, false},
        {4, u"ＭＳ 明朝", 16, false, false, 1, 30, 190, 320, false},
        {5, u"ＭＳ 明朝", 20, false, true, 1, 30, 220, 320, false},
        {6, gothic, 8, false, false, 2, 200, 260, 150, false},
        {7, u"ＭＳ ゴシック", 10, false, false, 0, 30, 380, 150, false},
        {8, gothic, 10, false, false, 0, 30, 400, 320, false},
        {9, gothic, 10, false, false, 0, 30, 416, 320, false},
        {10, gothic, 11, false, false, 0, 30, 436, 320, false},
        {11, gothic, 11, false, false, 0, 30, 454, 320, false},
        {12, gothic, 9, false, false, 0, 30, 476, 160, false},
        {13, gothic, 9, false, false, 0, 190, 476, 160, false},
        {14, gothic, 9, false, false, 0, 30, 492, 320, false},
        {15, gothic, 9, false, false, 2, 30, 508, 320, false},
    });
    const QImage img = h.grab(QStringLiteral("layout_harness_horizontal"));
    expectDigitsInTheBoxes(img);
    EXPECT_EQ(h.fields.paintText(h.fields.box(7)), u(u"〒５３０－０００１"));
    EXPECT_EQ(h.fields.paintText(h.fields.box(2)), u(u"東京都千代田区飯田橋３－１０－８"));
    for (int n = 1; n <= kFieldCount; ++n)
        EXPECT_TRUE(inkIn(img, h.fields.box(n)->geometry().adjusted(1, 1, -1, -1)).isValid()) << "field " << n;
}

} // namespace
