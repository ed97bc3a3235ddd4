// The postcard form and the batch printer build their snapshots in different ways: the form
// from its text boxes, the batch printer from the settings. For the same stored layout both
// must give the same snapshot and, through the page routine, the same recorded pages.

#include "PostcardTestSupport.h"
#include "FormSnapshot.h"

#include "layout/FieldGeometry.h"
#include "layout/ui/LayoutFields.h"
#include "layout/ui/TPaintBoxEL.h"

#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

using namespace postcardtest;

namespace {

struct Layout {
    const char* name;
    AppSettings settings;
};

QVector<Layout> layouts(const QString& stamp)
{
    QVector<Layout> list;
    AppSettings vertical = sampleSettings();
    vertical.postcardImage = ImageBox { stamp, 24, 24, 76, 90 };
    vertical.postcardOffsetX = -0.7;
    vertical.postcardOffsetY = 1.2;
    list.push_back({ "vertical card", vertical });

    AppSettings horizontal = sampleSettings();
    for (int i = 1; i < kFieldCount; ++i) {
        FieldStyle& f = horizontal.postcardFields[i];
        f.tate = false;
        f.fontName = i % 2 ? u(u"ＭＳ ゴシック") : u(u"ＭＳ Ｐ明朝");
        f.bold = i % 3 == 0;
        f.italic = i % 4 == 0;
        f.top = 100 + 28 * i;
        f.left = 30 + 5 * i;
        f.width = 300 - 9 * i;
        f.alignment = i % 3;
    }
    horizontal.postcardFields[6].postWaku = true;
    horizontal.postcardFields[6].post = true;
    list.push_back({ "horizontal card, sender postal boxes", horizontal });

    AppSettings odd = sampleSettings();
    odd.postcardFields[1].fontSize = 0;
    odd.postcardFields[2].width = -30;
    odd.postcardFields[3].alignment = 9;
    odd.postcardFields[4].visible = false;
    odd.postcardFields[6].post = true; // digit box on screen, frame off on paper
    odd.postcardFields[7].left = 900;
    odd.postcardFields[8].fontName = QStringLiteral("No Such Face");
    odd.postcardFields[9].fontSize = 48;
    odd.postcardFields[9].bold = true;
    odd.postcardFields[0].post = false; // field 1 still prints as digits
    odd.postcardPostMark = false;
    list.push_back({ "out-of-range values", odd });

    AppSettings typeset = sampleSettings();
    typeset.postcardFields[1].kansuji = 2;
    typeset.postcardFields[1].fit = true;
    typeset.postcardFields[1].width = 200; // too short for every address: shrunk
    typeset.postcardFields[2].tcy = true;
    typeset.postcardFields[7].kansuji = 1;
    typeset.postcardFields[7].hyphen = 1;
    typeset.postcardFields[3].fit = true;
    typeset.postcardFields[3].tate = false;
    typeset.postcardFields[3].fontName = u(u"ＭＳ 明朝");
    typeset.postcardFields[3].width = 90;
    list.push_back({ "typesetting options", typeset });
    return list;
}

} // namespace

TEST_F(PostcardEngineTest, FormAndBatchPrinterRecordTheSamePages)
{
    QTemporaryDir dir;
    const QString stamp = dir.filePath(QStringLiteral("stamp.bmp"));
    QImage img(30, 40, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(stamp, "BMP"));
    for (const Layout& l : layouts(stamp)) {
        SCOPED_TRACE(l.name);
        const HonorificChoice choice { false, u(u"様") };
        const PostcardSnapshot form = formSnapshot(l.settings, sampleRecords(), choice);
        const PostcardSnapshot batch = PostcardSnapshot::fromSettings(l.settings, sampleRecords(), choice);
        EXPECT_TRUE(form == batch);
        ASSERT_EQ(form.pageCount(), 3);
        ASSERT_EQ(batch.pageCount(), 3);
        for (int page = 1; page <= 3; ++page) {
            SCOPED_TRACE(page);
            const PageRecording a = pe.render(form, page);
            const PageRecording b = pe.render(batch, page);
            EXPECT_GT(a.size(), 10);
            EXPECT_TRUE(samePages(a, b));
        }
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
