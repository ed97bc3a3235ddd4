// Joint names (連名) on the recorded postcard page: the block's columns (lines), where each
// name starts, the honorifics lined up, the block centred where name 1 alone was, name 2 after
// the block and the sender's block. Expected places come from measuring the page's own fonts,
// not from the code that placed them.

#include "PostcardTestSupport.h"

#include "layout/LayoutUnits.h"
#include "platform/JapaneseFonts.h"
#include "platform/VerticalText.h"

#include <QFontMetricsF>
#include <algorithm>
#include <functional>

using namespace postcardtest;

namespace {

// Columns 8-10 joint names, 11-13 their honorifics.
CsvColumnMap jointColumns()
{
    CsvColumnMap m = testaddresses::columns();
    m.renNo = { 8, 9, 10 };
    m.renKeisNo = { 11, 12, 13 };
    return m;
}

QString record(const QString& name1, const QString& name2, const QStringList& joints, const QStringList& honorifics)
{
    QString line = u(u"\"100-0001\",\"東京都千代田区千代田１\",\"\",\"%1\",\"%2\",\"\",\"様\"").arg(name1, name2);
    for (int i = 0; i < 3; ++i)
        line += QStringLiteral(",\"%1\"").arg(joints.value(i));
    for (int i = 0; i < 3; ++i)
        line += QStringLiteral(",\"%1\"").arg(honorifics.value(i));
    return line;
}

PageRecording render(const AppSettings& a, const QString& line)
{
    const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, { line }, HonorificChoice { true, QString() });
    TplPrev engine;
    engine.setFileSheet(1000, 1480);
    engine.setPageCount(1);
    if (!engine.BeginPreview([&] { DrawPostcardPage(engine, s); }))
        return PageRecording();
    engine.setCurrentPage(1);
    const PageRecording* rec = engine.RenderPage();
    return rec ? *rec : PageRecording();
}

// A text of the page in the terms of its writing direction.
struct Line {
    qreal across = 0; // a column's left edge, a line's top
    qreal along = 0;  // where the text starts
    qreal length = 0;
    qreal thickness = 0;
    bool clipped = false;
    QFont font;
    bool upright = false;
    qreal end() const { return along + length; }
};

QVector<Line> linesOf(const PageRecording& rec, const QString& text)
{
    QVector<Line> out;
    for (const PageOp& op : rec.ops()) {
        if (op.text != text)
            continue;
        Line l;
        if (op.kind == PageOp::Kind::VerticalText)
            l = { op.origin.x(), op.origin.y(), op.length, op.columnWidth, !op.clip.isNull(), op.qfont, op.upright };
        else if (op.kind == PageOp::Kind::Text)
            l = { op.rect.top(), op.rect.left(), op.rect.width(), op.rect.height(), !op.clip.isNull(), op.qfont, false };
        else
            continue;
        out << l;
    }
    return out;
}

// The length of `text` set as `l` is set.
qreal measured(const Line& l, bool vertical, const QString& text)
{
    return vertical ? VerticalText(l.font, text, l.upright).length() : QFontMetricsF(l.font).horizontalAdvance(text);
}

AppSettings withHorizontalNames(AppSettings a)
{
    a.postcardFields[3] = style(40, 150, 300, 16, false, u(u"ＭＳ 明朝"), 1);
    a.postcardFields[4] = style(40, 260, 300, 12, false, u(u"ＭＳ 明朝"), 1);
    return a;
}

} // namespace

TEST(NameBlockPage, ColumnsAndLinesOfARecordsJointNames)
{
    struct Case {
        const char* name;
        bool vertical;
        const char16_t* name1;
        const char16_t* name2;
        QStringList joints;
        QStringList honorifics; // each joint name's own column
        QStringList expected;   // the honorific each line carries: name 1's first ("" none)
    };
    const QString sama = u(u"様");
    const Case cases[] = {
        { "one given name, vertical", true, u"山田　太郎", u"", { u(u"花子") }, {}, { sama, sama } },
        { "a family of four, vertical", true, u"山田　太郎", u"", { u(u"花子"), u(u"一郎"), u(u"さくら") },
          { QString(), u(u"くん"), u(u"ちゃん") }, { sama, sama, u(u"くん"), u(u"ちゃん") } },
        { "a joint name of another family, vertical", true, u"山田　太郎", u"", { u(u"鈴木　花子"), u(u"一郎") }, {},
          { sama, sama, sama } },
        { "name 1 without a space, vertical", true, u"山田太郎", u"", { u(u"花子") }, {}, { sama, sama } },
        { "name 2 after the block, vertical", true, u"山田　太郎", u"中村　浩二", { u(u"花子"), u(u"一郎") }, {},
          { QString(), sama, sama } },
        { "two lines, horizontal", false, u"山田　太郎", u"", { u(u"花子") }, {}, { sama, sama } },
        { "a family of four, horizontal", false, u"山田 太郎", u"", { u(u"花子"), u(u"佐藤 一郎"), u(u"さくら") },
          { QString(), QString(), u(u"ちゃん") }, { sama, sama, sama, u(u"ちゃん") } },
        { "name 2 after the block, horizontal", false, u"山田　太郎", u"中村　浩二", { u(u"花子") }, {},
          { QString(), sama } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppSettings a = sampleSettings();
        a.sender.name2 = QString(); // keep the sender's name 2 out of the texts looked for
        if (!c.vertical)
            a = withHorizontalNames(a);
        a.csv = jointColumns();
        const QString name1 = QString::fromUtf16(c.name1), name2 = QString::fromUtf16(c.name2);
        const PageRecording page = render(a, record(name1, name2, c.joints, c.honorifics));
        // The same record without its joint names: name 1 alone, as printed before.
        AppSettings alone = a;
        alone.csv.renNo = { -1, -1, -1 };
        const PageRecording before = render(alone, record(name1, name2, c.joints, c.honorifics));
        const bool hasName2 = !name2.isEmpty();
        const QString aloneText = name1 + (hasName2 ? QString() : u(u"　様"));
        const QVector<Line> ref = linesOf(before, aloneText);
        ASSERT_EQ(ref.size(), 1);

        QVector<Line> names;
        QStringList all { name1 };
        all << c.joints;
        for (const QString& n : all) {
            const QVector<Line> l = linesOf(page, n);
            ASSERT_EQ(l.size(), 1) << n.toStdString();
            names << l.first();
        }
        const Line& first = names.first();
        const qreal pitch = first.thickness;
        EXPECT_NEAR(pitch, ref.first().thickness, 0.01); // the field's own size

        // Columns to the left of name 1 (lines under it), one pitch apart.
        for (int i = 1; i < names.size(); ++i)
            EXPECT_NEAR(names[i].across, first.across + (c.vertical ? -i : i) * pitch, 1.0) << i;
        // Given names start under name 1's given name (one character in without a space), full names with it.
        const int given = FieldTexts::givenNameStart(name1);
        const qreal givenAt = first.along + measured(first, c.vertical, name1.left(given >= 0 ? given : 1));
        for (int i = 1; i < names.size(); ++i)
            EXPECT_NEAR(names[i].along, FieldTexts::isFullName(all[i]) ? first.along : givenAt, 1.0) << i;

        // Every honorific starts one ideographic space after the longest name.
        qreal longest = 0;
        for (const Line& l : names)
            longest = std::max(longest, l.end());
        const qreal honorificAt = longest + measured(first, c.vertical, u(u"　"));
        int honorifics = 0;
        for (int i = 0; i < names.size(); ++i) {
            if (c.expected[i].isEmpty())
                continue;
            bool found = false;
            for (const Line& h : linesOf(page, c.expected[i])) {
                if (std::abs(h.across - names[i].across) < 0.5) {
                    found = true;
                    EXPECT_NEAR(h.along, honorificAt, 1.0) << i;
                }
            }
            EXPECT_TRUE(found) << "line " << i << " carries " << c.expected[i].toStdString();
            ++honorifics;
        }
        qreal blockEnd = longest;
        for (int i = 0; i < names.size(); ++i) {
            if (!c.expected[i].isEmpty())
                blockEnd = std::max(blockEnd, honorificAt + measured(first, c.vertical, c.expected[i]));
        }

        // Centred across on name 1's column, along where name 1 alone was centred.
        const qreal lo = std::min(first.across, names.last().across);
        const qreal hi = std::max(first.across, names.last().across) + pitch;
        EXPECT_NEAR((lo + hi) / 2, ref.first().across + ref.first().thickness / 2, 1.0);
        EXPECT_NEAR((first.along + blockEnd) / 2, (ref.first().along + ref.first().end()) / 2, 1.0);
        for (const Line& l : names)
            EXPECT_FALSE(l.clipped);

        // Name 2 keeps its distance to the block: moved by how far the block grew on its side.
        if (hasName2) {
            const QString text2 = name2 + u(u"　様");
            const QVector<Line> moved = linesOf(page, text2), was = linesOf(before, text2);
            ASSERT_EQ(moved.size(), 1);
            ASSERT_EQ(was.size(), 1);
            const qreal grew = c.vertical ? ref.first().across - lo : hi - (ref.first().across + ref.first().thickness);
            EXPECT_NEAR(moved.first().across, was.first().across + (c.vertical ? -grew : grew), 1.0);
            EXPECT_EQ(moved.first().along, was.first().along);
        }
    }
}

TEST(NameBlockPage, SenderBlockWithoutHonorifics)
{
    AppSettings a = sampleSettings();
    a.sender.name1 = u(u"佐藤　健一");
    a.sender.jointNames = { u(u"美咲"), QString() };
    const PageRecording page = render(a, record(u(u"山田　太郎"), QString(), {}, {}));
    const QVector<Line> name1 = linesOf(page, a.sender.name1), joint = linesOf(page, u(u"美咲"));
    ASSERT_EQ(name1.size(), 1);
    ASSERT_EQ(joint.size(), 1);
    const Line& n = name1.first();
    EXPECT_NEAR(joint.first().across, n.across - n.thickness, 1.0);
    EXPECT_NEAR(joint.first().along, n.along + measured(n, true, u(u"佐藤　")), 1.0);
    // Bottom-aligned as the field is: the block ends at the field's end.
    const FieldStyle& f10 = a.postcardFields[9];
    const qreal fieldEnd = LayoutUnits::pixelsToTenths(f10.top) + LayoutUnits::pixelsToTenths(f10.width) + 1;
    EXPECT_NEAR(std::max(n.end(), joint.first().end()), fieldEnd, 1.0);
    // No honorific anywhere in the sender block; the sender's name 2 moved out of its way.
    EXPECT_TRUE(linesOf(page, u(u"様")).isEmpty());
    const QVector<Line> name2 = linesOf(page, a.sender.name2);
    ASSERT_EQ(name2.size(), 1);
    EXPECT_LE(name2.first().across + name2.first().thickness, joint.first().across + 1.0);
}

TEST(NameBlockPage, ShrinkToFitShrinksTheWholeBlockByOneFactor)
{
    AppSettings a = sampleSettings();
    a.csv = jointColumns();
    a.postcardFields[3].width = 150; // too short for the family at 26 points
    a.postcardFields[3].fit = true;
    const QString line = record(u(u"山田　太郎"), QString(), { u(u"花子"), u(u"一郎"), u(u"さくら") }, {});
    const PageRecording page = render(a, line);
    QVector<Line> names;
    for (const QString& n : { u(u"山田　太郎"), u(u"花子"), u(u"一郎"), u(u"さくら") }) {
        const QVector<Line> l = linesOf(page, n);
        ASSERT_EQ(l.size(), 1) << n.toStdString();
        names << l.first();
    }
    const QVector<Line> honorifics = linesOf(page, u(u"様"));
    ASSERT_EQ(honorifics.size(), 4);
    // One size for every name and honorific, smaller than the field's own, the pitch its column.
    const qreal size = names.first().font.pixelSize();
    EXPECT_LT(size, 26 * 254.0 / 72 - 1);
    for (const Line& l : names + honorifics)
        EXPECT_EQ(l.font.pixelSize(), size);
    EXPECT_NEAR(names[1].across, names[0].across - names[0].thickness, 1.0);
    // It fits the field's length now, and nothing is cut.
    const int top = LayoutUnits::pixelsToTenths(a.postcardFields[3].top);
    const int length = LayoutUnits::pixelsToTenths(150) + 1;
    for (const Line& l : names + honorifics) {
        EXPECT_GE(l.along, top - 0.5);
        EXPECT_LE(l.end(), top + length + 0.5);
        EXPECT_FALSE(l.clipped);
    }
    // Without shrinking the block keeps its size and is cut at the field's end.
    a.postcardFields[3].fit = false;
    const PageRecording cut = render(a, line);
    const QVector<Line> last = linesOf(cut, u(u"様"));
    ASSERT_EQ(last.size(), 4);
    EXPECT_NEAR(last.first().font.pixelSize(), 26 * 254.0 / 72, 1.0);
    EXPECT_TRUE(last.first().clipped);
}

TEST(NameBlockPage, CheckBeforePrintingCountsTheBlock)
{
    const QString family = record(u(u"山田　太郎"), QString(), { u(u"花子"), u(u"一郎"), u(u"さくら") }, {});
    struct Case {
        const char* name;
        std::function<void(AppSettings&)> change;
        QString line;
        QStringList lines; // what the check says
    };
    const QString longName(100, QChar(0x5C71)); // 山 x 100
    const Case cases[] = {
        { "the family fits", [](AppSettings&) {}, family, {} },
        { "too long for the field: name 1 once, not its text again", [](AppSettings& a) { a.postcardFields[3].width = 150; },
          family, { u(u"枠に収まりません: 1件目 名称１") } },
        { "shrunk to fit", [](AppSettings& a) { a.postcardFields[3].width = 150; a.postcardFields[3].fit = true; }, family, {} },
        { "four columns at the card's edge", [](AppSettings& a) { a.postcardFields[3].left = 5; }, family,
          { u(u"ハガキからはみ出します: 1件目 名称１") } },
        { "a joint name of 100 characters", [](AppSettings&) {},
          record(u(u"山田　太郎"), QString(), { longName }, {}), { u(u"枠に収まりません: 1件目 名称１") } },
        { "joint names without name 1", [](AppSettings&) {}, record(QString(), QString(), { u(u"花子"), u(u"一郎") }, {}),
          {} },
        { "the sender's block beyond the card", [](AppSettings& a) {
              a.sender.jointNames = { u(u"美咲"), u(u"健太") };
              a.postcardFields[9].left = 2; },
          record(u(u"山田　太郎"), QString(), {}, {}), { u(u"ハガキからはみ出します: 1件目 名称１(差出人)") } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppSettings a = sampleSettings();
        a.csv = jointColumns();
        c.change(a);
        const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, { c.line }, HonorificChoice { true, QString() });
        EXPECT_EQ(CheckPostcardRun(s).lines(), c.lines);
        // Whatever the check says, the page is drawn.
        if (c.line.contains(u(u"一郎"))) {
            EXPECT_EQ(linesOf(render(a, c.line), u(u"一郎")).size(), 1);
        }
    }
}
