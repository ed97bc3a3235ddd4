// The postcard form with the typesetting options of its fields: the card picture shows the
// texts as they are printed, marks the fields that do not fit as the check before printing
// finds them, and keeps the options when the layout is saved.

#include "PostcardFormFixture.h"

#include "layout/ui/LayoutFields.h"
#include "postcard/PostcardComposer.h"

using namespace postcardtest;

namespace {

TEST_F(PostcardForm, CardPictureShowsAndMarksWhatThePrintCheckFinds)
{
    FieldStyles& f = AppSettings::instance().postcardFields;
    f[2] = field(300, 100, 200, true, true, QStringLiteral("@ＭＳ 明朝")); // address 2, vertical
    f[2].kansuji = 2;
    f[2].tcy = true;
    f[3].fit = true;    // name 1, horizontal, 180 pixels at 18 points
    f[4].width = 60;    // name 2: "山田　花子　様" never fits
    // Records 3 and 5 have names too long even at half the size; record 4 one that shrinks.
    QStringList lines;
    for (int i = 1; i <= 6; ++i) {
        QString line = recordLine(i);
        if (i == 3 || i == 5)
            line.replace(QStringLiteral("山田　太郎%1").arg(i), QString(40, QChar(u'山')));
        if (i == 4)
            line.replace(QStringLiteral("山田　太郎%1").arg(i), QString(14, QChar(u'山')));
        lines << line;
    }
    writeCsv(lines);
    open();
    LayoutFields* fields = form->fields();
    EXPECT_EQ(fields->paintText(box(3)), QStringLiteral("サンライズビル一号室"));

    const PostcardSnapshot batch = PostcardSnapshot::fromSettings(AppSettings::instance(), fields->records,
                                                                  HonorificChoice { true, QString() });
    const PrintCheckReport report = CheckPostcardRun(batch);
    EXPECT_EQ(report.records(), (QVector<int> { 0, 1, 2, 3, 4, 5 })); // name 2 everywhere
    EXPECT_TRUE(report.flags(2, 4));
    EXPECT_TRUE(report.flags(4, 4));
    EXPECT_FALSE(report.flags(3, 4));
    for (int r = 0; r < 6; ++r) {
        SCOPED_TRACE(r);
        ASSERT_EQ(form->currentRecord(), r);
        for (int n = 2; n <= kFieldCount; ++n)
            EXPECT_EQ(fields->overflows(box(n)), report.flags(r, n)) << n;
        // A marked field is outlined in red on the card picture.
        const QImage card = form->pnlCard->grab().toImage();
        const QRect b = box(5)->geometry();
        EXPECT_EQ(card.pixelColor(b.left() + b.width() / 2, b.bottom()), LayoutFields::kOverflowLine);
        const QRect n1 = box(4)->geometry();
        EXPECT_EQ(card.pixelColor(n1.left() + n1.width() / 2, n1.bottom()) == LayoutFields::kOverflowLine,
                  report.flags(r, 4));
        form->ssbCsvNextClick();
    }
}

TEST_F(PostcardForm, OptionsSurviveASaveOfTheLayout)
{
    FieldStyles& f = AppSettings::instance().postcardFields;
    f[2].kansuji = 1;
    f[2].hyphen = 1;
    f[7].tcy = true;
    f[1].fit = true;
    open();
    AppSettings stored = AppSettings::instance();
    form->storeLayout(stored);
    EXPECT_EQ(stored.postcardFields[2].kansuji, 1);
    EXPECT_EQ(stored.postcardFields[2].hyphen, 1);
    EXPECT_TRUE(stored.postcardFields[7].tcy);
    EXPECT_TRUE(stored.postcardFields[1].fit);
    EXPECT_FALSE(stored.postcardFields[3].fit);
}

} // namespace
