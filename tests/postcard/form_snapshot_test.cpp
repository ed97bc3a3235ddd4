// The postcard form and the batch printer both start a print run from a layout document:
// the form from the one it edits, the batch printer from POSTCSV.INI read as the form opens
// it. For the same stored layout both must give the same snapshot, odd layouts included, and
// the boxes on screen are the boxes the pages are drawn from.

#include "PostcardFormFixture.h"
#include "PostcardTestSupport.h"

#include "layout/FieldGeometry.h"
#include "layout/ui/LayoutFields.h"
#include "layout/ui/TPaintBoxEL.h"

#include <QWidget>
#include <functional>

using namespace postcardtest;

TEST_F(PostcardForm, TheFormsSnapshotIsTheBatchPrintersOnEveryLayout)
{
    const QString stamp = tmp.filePath(QStringLiteral("stamp.bmp"));
    ASSERT_TRUE(TestFiles::writePicture(stamp, QSize(30, 40)));
    struct Layout {
        const char* name;
        std::function<void(AppSettings&)> shape;
    } layouts[] = {
        {"vertical card with stamp and offsets",
         [&stamp](AppSettings& a) {
             a.postcardImage = ImageBox{stamp, 24, 24, 76, 90};
             a.postcardOffsetX = -0.7;
             a.postcardOffsetY = 1.2;
         }},
        {"horizontal card, sender postal boxes",
         [](AppSettings& a) {
             for (int i = 1; i < kFieldCount; ++i) {
                 FieldStyle& f = a.postcardFields[i];
                 f.tate = false;
                 f.fontName = i % 2 ? u(u"ＭＳ ゴシック") : u(u"ＭＳ Ｐ明朝");
                 f.bold = i % 3 == 0;
                 f.italic = i % 4 == 0;
                 f.top = 100 + 28 * i;
                 f.left = 30 + 5 * i;
                 f.width = 300 - 9 * i;
                 f.alignment = i % 3;
             }
             a.postcardFields[6].postWaku = true;
             a.postcardFields[6].post = true;
         }},
        {"out-of-range values and hidden fields",
         [](AppSettings& a) {
             a.postcardFields[1].fontSize = 0;
             a.postcardFields[2].width = -30;
             a.postcardFields[3].alignment = 9;
             a.postcardFields[4].visible = false;
             a.postcardFields[6].post = true; // digit box on screen, frame off on paper
             a.postcardFields[7].left = 900;
             a.postcardFields[8].fontName = QStringLiteral("No Such Face");
             a.postcardFields[9].fontSize = 48;
             a.postcardFields[9].bold = true;
             a.postcardFields[0].post = false; // field 1 still prints as digits
             a.postcardPostMark = false;
             a.postcardOffsetX = 37.0; // beyond the adjustment's range
         }},
        {"typesetting options",
         [](AppSettings& a) {
             a.postcardFields[1].kansuji = 2;
             a.postcardFields[1].fit = true;
             a.postcardFields[1].width = 200; // too short for every address: shrunk
             a.postcardFields[2].tcy = true;
             a.postcardFields[7].kansuji = 1;
             a.postcardFields[7].hyphen = 1;
             a.postcardFields[3].fit = true;
             a.postcardFields[3].tate = false;
             a.postcardFields[3].fontName = u(u"ＭＳ 明朝");
             a.postcardFields[3].width = 90;
         }},
        {"stamp off the card, too small to grab",
         [&stamp](AppSettings& a) {
             a.postcardImage = ImageBox{stamp, -200, 500, 8, 90};
             for (int n : {2, 3, 12})
                 a.postcardFields[n - 1].visible = false;
         }},
    };
    for (const Layout& l : layouts) {
        SCOPED_TRACE(l.name);
        AppSettings a = sampleSettings();
        a.csv = AppSettings::instance().csv;
        l.shape(a);
        AppSettings::instance() = a;
        messages.clear();
        open();
        const PostcardSnapshot shown = form->pageSnapshot();
        const PostcardSnapshot batch = PostcardSnapshot::fromSettings(AppSettings::instance(), form->records(),
                                                                      HonorificChoice{true, u(u"様")});
        EXPECT_TRUE(shown == batch);
        EXPECT_EQ(shown.pageCount(), 25);
        for (int n = 1; n <= kFieldCount; ++n) {
            const FieldBox& b = shown.field(n).box;
            EXPECT_EQ(box(n)->geometry(), QRect(b.left, b.top, b.width, b.height)) << n;
            EXPECT_EQ(!box(n)->isHidden(), shown.field(n).visible()) << n;
        }
        EXPECT_EQ(form->imgStamp->geometry(), QRect(shown.stamp.left, shown.stamp.top, shown.stamp.width,
                                                    shown.stamp.height));
        form.reset();
    }
}

TEST(FormSnapshot, ScreenBoxesAreTheGeometryBoxes)
{
    // The text box on screen after ApplyFieldFont has exactly the box the batch snapshot uses.
    const QString faces[] = { u(u"ＭＳ 明朝"), u(u"@ＭＳ 明朝"), u(u"ＭＳ Ｐゴシック"), u(u"@IPAGothic") };
    const int sizes[] = { 0, 6, 11, 28, 48 };
    QWidget card;
    card.resize(378, 559);
    LayoutFields fields(LayoutFields::Form::Postcard, &card);
    for (const QString& face : faces) {
        for (int size : sizes) {
            for (bool tate : { false, true }) {
                for (bool bold : { false, true }) {
                    FieldStyle s = style(40, 60, 210, size, tate, face);
                    s.bold = bold;
                    fields.applyStyle(3, s);
                    fields.ApplyFieldFont(fields.box(3));
                    const QRect g = fields.box(3)->geometry();
                    const FieldBox b = FieldGeometry::box(3, s, true);
                    EXPECT_EQ(FieldBox({ g.x(), g.y(), g.width(), g.height() }), b)
                        << face.toStdString() << " " << size << " tate " << tate << " bold " << bold;
                    EXPECT_EQ(tate ? b.height : b.width, 210);
                    EXPECT_GT(tate ? b.width : b.height, size == 48 ? 60 : 7);
                }
            }
        }
    }
}
