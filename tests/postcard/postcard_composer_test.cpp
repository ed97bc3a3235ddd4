// The postcard page against its recording: what is drawn, in which order, where, with which
// texts, for which record, and how the offsets and the postcard's check boxes change it.

#include "PostcardTestSupport.h"

#include "layout/LayoutUnits.h"
#include "preview/PageMath.h"

#include <QImage>
#include <QTemporaryDir>
#include <cmath>

using namespace postcardtest;

namespace {

int T(int pixels)
{
    return LayoutUnits::pixelsToTenths(pixels);
}

QStringList texts(const QVector<PageOp>& ops)
{
    QStringList l;
    for (const PageOp& op : ops) {
        if (op.kind == PageOp::Kind::Text || op.kind == PageOp::Kind::VerticalText)
            l << op.text;
    }
    return l;
}

QVector<PageOp> ofKind(const QVector<PageOp>& ops, PageOp::Kind kind)
{
    QVector<PageOp> out;
    for (const PageOp& op : ops) {
        if (op.kind == kind)
            out << op;
    }
    return out;
}

// The operation that draws `text`, or nullptr.
const PageOp* find(const QVector<PageOp>& ops, const QString& text)
{
    for (const PageOp& op : ops) {
        if (op.text == text)
            return &op;
    }
    return nullptr;
}

bool writeBitmap(const QString& path)
{
    QImage img(40, 48, QImage::Format_RGB32);
    img.fill(QColor(30, 60, 200));
    return img.save(path, "BMP");
}

} // namespace

TEST_F(PostcardEngineTest, DrawsStampThenPostalCodeThenSenderPostalCodeThenFieldsInOrder)
{
    QTemporaryDir dir;
    const QString stamp = dir.filePath(QStringLiteral("stamp.bmp"));
    ASSERT_TRUE(writeBitmap(stamp));
    AppSettings a = sampleSettings();
    a.postcardImage = ImageBox { stamp, 24, 24, 76, 90 };
    const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, sampleRecords(), HonorificChoice { true, QString() });

    const QVector<PageOp> ops = ownOps(pe.render(s, 1));
    ASSERT_FALSE(ops.isEmpty());
    EXPECT_EQ(ops.first().kind, PageOp::Kind::Image);
    // The preview's seven boxes and the hyphen come before any text.
    int firstText = 0;
    while (firstText < ops.size() && ops[firstText].kind != PageOp::Kind::Text)
        ++firstText;
    EXPECT_EQ(firstText, 1 + 7 + 1);
    EXPECT_EQ(texts(ops), (QStringList { QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                        QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                                        QStringLiteral("7"), u(u"〒530-0001"),
                                        u(u"東京都千代田区千代田１-２-３"), u(u"テストビル２０１"), u(u"山田太郎　様"),
                                        QStringLiteral("C1234"), u(u"大阪府大阪市北区１-２-３"),
                                        u(u"梅田ハイツ５０１"), u(u"佐藤健一"), u(u"佐藤美咲"),
                                        QStringLiteral("Tel 06-1234-5678"), QStringLiteral("EMail sato@example.jp"),
                                        QStringLiteral("URL https://example.jp") }));
}

TEST_F(PostcardEngineTest, EachPageShowsItsRecordOrOnlyTheRecordOnScreen)
{
    PostcardSnapshot s = sampleSnapshot();
    const struct {
        bool only;
        int shown;
        int pages;
        QVector<QString> names; // name 1 on pages 1..n
    } cases[] = {
        { false, 0, 3, { u(u"山田太郎　様"), u(u"鈴木一郎"), u(u"株式会社高橋商事") } },
        { true, 1, 1, { u(u"鈴木一郎") } },
        { true, 2, 1, { u(u"株式会社高橋商事") } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        s.printOnlyShown = c.only;
        s.shownRecord = c.shown;
        EXPECT_EQ(s.pageCount(), c.pages);
        ASSERT_TRUE(pe.begin(s));
        EXPECT_EQ(pe.engine.PageCount(), c.pages);
        for (int p = 1; p <= c.pages; ++p)
            EXPECT_NE(find(ownOps(pe.page(p)), c.names[p - 1]), nullptr) << "page " << p;
    }
    // With "表示宛名のみ印刷" whatever page the engine renders shows the record on screen.
    s.printOnlyShown = true;
    s.shownRecord = 2;
    ASSERT_TRUE(pe.begin(s));
    pe.engine.setCurrentPage(1);
    const PageRecording* rec = pe.engine.RenderPage();
    ASSERT_NE(rec, nullptr);
    EXPECT_TRUE(rec->texts().contains(u(u"株式会社高橋商事")));
    EXPECT_FALSE(rec->texts().contains(u(u"山田太郎　様")));
}

TEST_F(PostcardEngineTest, ChosenRecordsArePrintedInListOrder)
{
    PostcardSnapshot s = sampleSnapshot(); // three records
    const QString names[] = { u(u"山田太郎　様"), u(u"鈴木一郎"), u(u"株式会社高橋商事") };
    const struct {
        RecordChoice choice;
        bool only;
        QVector<int> pages; // the record (0-based) on each page
    } cases[] = {
        { RecordChoice(), false, { 0, 1, 2 } },
        { RecordChoice::of({ 2, 0 }), false, { 0, 2 } },
        { RecordChoice::of({ 1 }), false, { 1 } },
        { RecordChoice::of({ 1, 7 }), false, { 1 } }, // a record the list does not have
        { RecordChoice::of({}), false, {} },
        { RecordChoice::of({ 0 }), true, { 2 } },     // "表示宛名のみ印刷" keeps to the record on screen
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        s.choice = c.choice;
        s.printOnlyShown = c.only;
        s.shownRecord = 2;
        EXPECT_EQ(s.pageCount(), c.pages.size());
        EXPECT_EQ(s.printedRecords(), c.pages);
        if (c.pages.isEmpty())
            continue;
        ASSERT_TRUE(pe.begin(s));
        for (int p = 1; p <= c.pages.size(); ++p) {
            const QStringList onPage = texts(ownOps(pe.page(p)));
            for (int r = 0; r < 3; ++r)
                EXPECT_EQ(onPage.contains(names[r]), r == c.pages[p - 1]) << "page " << p << " record " << r;
        }
    }
}

TEST_F(PostcardEngineTest, OffsetsMoveEveryItemByTheSameTenths)
{
    QTemporaryDir dir;
    const QString stamp = dir.filePath(QStringLiteral("stamp.bmp"));
    ASSERT_TRUE(writeBitmap(stamp));
    AppSettings a = sampleSettings();
    a.postcardImage = ImageBox { stamp, 20, 30, 76, 90 };
    a.postcardFields[6].postWaku = true; // sender postal code in its cells as well
    const PostcardSnapshot base = PostcardSnapshot::fromSettings(a, sampleRecords(), HonorificChoice { true, QString() });
    const QVector<PageOp> plain = ownOps(pe.render(base));

    const struct {
        double x, y; // millimetres as the read-outs show them
        int dx, dy;  // tenths
    } cases[] = { { 0.3, 0.0, 3, 0 }, { 0.0, -1.5, 0, -15 }, { -10.0, 10.0, -100, 100 }, { 2.7, 0.1, 27, 1 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        AppSettings moved = a;
        moved.postcardOffsetX = c.x;
        moved.postcardOffsetY = c.y;
        const PostcardSnapshot s = PostcardSnapshot::fromSettings(moved, sampleRecords(), HonorificChoice { true, QString() });
        EXPECT_EQ(s.offsetX, c.dx);
        EXPECT_EQ(s.offsetY, c.dy);
        const QVector<PageOp> ops = ownOps(pe.render(s));
        ASSERT_EQ(ops.size(), plain.size());
        const QPointF d(c.dx, c.dy);
        for (int i = 0; i < ops.size(); ++i) {
            SCOPED_TRACE(describe(plain[i]));
            ASSERT_EQ(ops[i].kind, plain[i].kind);
            if (ops[i].kind == PageOp::Kind::Line || ops[i].kind == PageOp::Kind::Polyline) {
                EXPECT_EQ(ops[i].points, plain[i].points.translated(d));
                continue;
            }
            EXPECT_EQ(ops[i].rect, plain[i].rect.translated(d));
            if (ops[i].kind == PageOp::Kind::Image)
                continue;
            EXPECT_EQ(ops[i].origin, plain[i].origin + d);
            EXPECT_EQ(ops[i].clip, plain[i].clip.isNull() ? QRectF() : plain[i].clip.translated(d));
        }
    }
}

TEST_F(PostcardEngineTest, StampIsStretchedIntoItsConvertedBox)
{
    QTemporaryDir dir;
    const QString stamp = dir.filePath(QStringLiteral("stamp.bmp"));
    ASSERT_TRUE(writeBitmap(stamp));
    const struct {
        ImageBox box;
        double offX, offY;
    } cases[] = {
        { { stamp, 24, 24, 76, 90 }, 0, 0 },
        { { stamp, 0, 0, 378, 559 }, 0, 0 },
        { { stamp, 301, 7, 33, 41 }, 1.2, -0.4 },
        { { stamp, -20, -30, 60, 70 }, 0, 0 }, // partly off the card: drawn as placed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box.left);
        AppSettings a = sampleSettings();
        a.postcardImage = c.box;
        a.postcardOffsetX = c.offX;
        a.postcardOffsetY = c.offY;
        const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, sampleRecords(), HonorificChoice { true, QString() });
        const QVector<PageOp> images = ofKind(ownOps(pe.render(s)), PageOp::Kind::Image);
        ASSERT_EQ(images.size(), 1);
        const int x1 = T(c.box.left) + s.offsetX, y1 = T(c.box.top) + s.offsetY;
        EXPECT_EQ(images[0].rect, QRectF(QPointF(x1, y1), QPointF(x1 + T(c.box.width), y1 + T(c.box.height))));
        EXPECT_EQ(images[0].fileName, stamp);
    }
    // A blank file name draws no picture.
    AppSettings a = sampleSettings();
    a.postcardImage = ImageBox { QStringLiteral("  "), 24, 24, 76, 90 };
    const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, sampleRecords(), HonorificChoice { true, QString() });
    EXPECT_TRUE(ofKind(ownOps(pe.render(s)), PageOp::Kind::Image).isEmpty());
}

TEST_F(PostcardEngineTest, RecipientPostalDigitsAreCentredInTheSevenBoxes)
{
    const struct {
        QString column;
        QString digits;
    } cases[] = {
        { u(u"〒123-4567"), QStringLiteral("1234567") },
        { u(u"１２３－４５６７"), QStringLiteral("1234567") },
        { QStringLiteral("12345"), QStringLiteral("12345") },
        { QStringLiteral("  "), QString() },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column.toStdString());
        PostcardSnapshot s = sampleSnapshot();
        s.records = { QStringLiteral("\"%1\",\"\",\"\",\"\",\"\",\"\",\"\"").arg(c.column) };
        s.offsetX = 12;
        s.offsetY = -7;
        const QVector<PageOp> ops = ownOps(pe.render(s));
        QVector<PageOp> digits;
        for (const PageOp& op : ofKind(ops, PageOp::Kind::Text)) {
            if (op.font.height == PageMath::fontHeightForPoints(16)) // field 1's size only
                digits << op;
        }
        ASSERT_EQ(digits.size(), c.digits.size());
        // The first box starts 55.2 mm left of the paper's right edge.
        const int x0 = pe.engine.PageWidth() - 552 + s.offsetX, y0 = 120 + s.offsetY;
        for (int k = 0; k < digits.size(); ++k) {
            EXPECT_EQ(digits[k].text, c.digits.mid(k, 1));
            const int boxLeft = k < 3 ? x0 + 70 * k : x0 + 216 + 70 * (k - 3);
            EXPECT_NEAR(digits[k].rect.center().x(), boxLeft + 30, 0.51) << "digit " << k;
            EXPECT_NEAR(digits[k].rect.center().y(), y0 + 42.5, 0.51) << "digit " << k;
            EXPECT_EQ(digits[k].font.height, PageMath::fontHeightForPoints(16));
        }
    }
}

TEST_F(PostcardEngineTest, HiddenPostalCodeDrawsNeitherBoxesNorDigits)
{
    PostcardSnapshot s = sampleSnapshot();
    s.fields[0].style.visible = false;
    const QVector<PageOp> ops = ownOps(pe.render(s));
    EXPECT_TRUE(ofKind(ops, PageOp::Kind::Polyline).isEmpty());
    EXPECT_TRUE(ofKind(ops, PageOp::Kind::Line).isEmpty());
    EXPECT_EQ(find(ops, QStringLiteral("1")), nullptr);
    // The other fields are still there.
    EXPECT_NE(find(ops, u(u"山田太郎　様")), nullptr);
}

TEST_F(PostcardEngineTest, SenderPostalCodeFillsItsCellsWithTheBoxLayout)
{
    const struct {
        QString code;
        QVector<int> slotsFirst;  // cell of each digit of the first group
        QVector<int> slotsSecond; // of the second group
        QString digits;
    } cases[] = {
        { QStringLiteral("123-4567"), { 0, 1, 2 }, { 0, 1, 2, 3 }, QStringLiteral("1234567") },
        { u(u"〒５３０－０００１"), { 0, 1, 2 }, { 0, 1, 2, 3 }, QStringLiteral("5300001") },
        { QStringLiteral("12345"), { 0, 1, 2 }, { 2, 3 }, QStringLiteral("12345") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        PostcardSnapshot s = sampleSnapshot();
        s.senderPostalBoxes = true;
        s.sender.postalCode = c.code;
        s.offsetX = -5;
        s.offsetY = 9;
        const QVector<PageOp> ops = ownOps(pe.render(s));
        QVector<PageOp> cells;
        for (const PageOp& op : ofKind(ops, PageOp::Kind::Text)) {
            if (op.font.height == PageMath::fontHeightForPoints(9) && op.text.size() == 1)
                cells << op;
        }
        ASSERT_EQ(cells.size(), c.digits.size());
        const int left = T(s.field(7).box.left) + s.offsetX;
        const int top = T(s.field(7).box.top) + s.offsetY;
        for (int i = 0; i < cells.size(); ++i) {
            EXPECT_EQ(cells[i].text, c.digits.mid(i, 1));
            const bool first = i < 3;
            const int slot = first ? c.slotsFirst[i] : c.slotsSecond[i - 3];
            const int cellLeft = first ? left + 40 * slot : left + 130 + 40 * slot;
            EXPECT_NEAR(cells[i].rect.center().x(), cellLeft + 20, 1.0) << "digit " << i;
            EXPECT_NEAR(cells[i].rect.center().y(), top + 32.5, 1.0) << "digit " << i;
        }
        // The frame-less text of the sender postal code is not drawn besides.
        EXPECT_EQ(find(ops, FieldTexts::postMark(c.code, true)), nullptr);
    }
}

TEST_F(PostcardEngineTest, SenderPostalCodeWithoutBoxesFollowsThePostMarkRule)
{
    const struct {
        QString code;
        bool mark;
        QString printed;
    } cases[] = {
        { u(u"〒530-0001"), false, QStringLiteral("530-0001") },
        { QStringLiteral("530-0001"), true, u(u"〒530-0001") },
        { u(u"〒530-0001"), true, u(u"〒530-0001") },
    };
    for (const auto& c : cases) {
        PostcardSnapshot s = sampleSnapshot();
        s.sender.postalCode = c.code;
        s.senderPostMark = c.mark;
        EXPECT_NE(find(ownOps(pe.render(s)), c.printed), nullptr) << c.printed.toStdString();
    }
}

TEST_F(PostcardEngineTest, VerticalHyphenRuleAppliesToAddressLinesOnly)
{
    const QString full = u(u"１－２－３");
    const QString ascii = u(u"１-２-３");
    const struct {
        int field;
        bool tate;
        QString printed;
    } cases[] = {
        { 2, true, ascii },  { 3, true, ascii },  { 8, true, ascii },  { 9, true, ascii },
        { 2, false, full },  { 8, false, full },  { 4, true, full },   { 10, true, full },
        { 7, true, full },   { 6, true, full },   { 12, true, u(u"Tel １－２－３") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        AppSettings a = sampleSettings();
        for (FieldStyle& f : a.postcardFields)
            f.visible = false; // the field under test alone on the card
        FieldStyle& f = a.postcardFields[c.field - 1];
        f.visible = true;
        f.tate = c.tate;
        f.fontName = c.tate ? u(u"@ＭＳ 明朝") : u(u"ＭＳ 明朝");
        a.postcardPostMark = false;
        a.sender.postalCode = full;
        a.sender.address1 = a.sender.address2 = a.sender.name1 = a.sender.tel = full;
        const QString line = QStringLiteral("\"1\",\"%1\",\"%1\",\"%1\",\"\",\"%1\",\"\"").arg(full);
        const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, { line }, HonorificChoice { false, QString() });
        QVector<PageOp> ops = ownOps(pe.render(s));
        if (c.field == 4)
            EXPECT_EQ(texts(ops), QStringList { full + QChar(0x3000) });
        else
            EXPECT_EQ(texts(ops), QStringList { c.printed });
        ASSERT_EQ(ops.size(), 1);
        EXPECT_EQ(ops[0].kind, c.tate ? PageOp::Kind::VerticalText : PageOp::Kind::Text);
    }
}

TEST_F(PostcardEngineTest, HonorificGoesToTheNameTheScreenShowsItOn)
{
    const QString line1 = u(u"\"1\",\"\",\"\",\"山田太郎\",\"山田花子\",\"\",\"様\"");
    const QString line2 = u(u"\"1\",\"\",\"\",\"山田太郎\",\"  \",\"\",\"様\"");
    const struct {
        bool show4, show5;
        QString line;
        HonorificChoice choice;
        QStringList withHonorific; // the texts on the page that carry the full-width space
    } cases[] = {
        { true, true, line1, { true, QString() }, { u(u"山田花子　様") } },
        { true, true, line2, { true, QString() }, { u(u"山田太郎　様") } },
        { true, false, line1, { true, QString() }, { u(u"山田太郎　様") } },
        { false, true, line2, { true, QString() }, { u(u"  　様") } },
        { false, false, line1, { true, QString() }, {} },
        { true, true, line1, { false, u(u"御中") }, { u(u"山田花子　御中") } },
        { true, false, line1, { false, QString() }, { u(u"山田太郎　") } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.show4 << c.show5 << " " << c.line.toStdString());
        PostcardSnapshot s = sampleSnapshot();
        s.fields[3].style.visible = c.show4;
        s.fields[4].style.visible = c.show5;
        s.records = { c.line };
        s.honorific = c.choice;
        const QStringList t = texts(ownOps(pe.render(s)));
        EXPECT_EQ(t.filter(QChar(0x3000)), c.withHonorific);
    }
}

TEST_F(PostcardEngineTest, FieldRectanglesAreTheConvertedBoxesPlusOne)
{
    // A horizontal field per alignment and a vertical one per alignment: the text lands at the
    // edges the operations are given.
    const struct {
        int field;
        bool tate;
        int alignment;
    } cases[] = { { 12, false, 0 }, { 12, false, 1 }, { 12, false, 2 },
                  { 2, true, 0 },   { 2, true, 1 },   { 2, true, 2 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.field << " tate " << c.tate << " align " << c.alignment);
        AppSettings a = sampleSettings();
        FieldStyle& f = a.postcardFields[c.field - 1];
        f.tate = c.tate;
        f.fontName = c.tate ? u(u"@ＭＳ 明朝") : u(u"ＭＳ 明朝");
        f.alignment = c.alignment;
        f.left = 101;
        f.top = 203;
        f.width = 150;
        const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, sampleRecords(), HonorificChoice { true, QString() });
        const FieldBox box = s.field(c.field).box;
        const QString text = c.tate ? u(u"東京都千代田区千代田１-２-３") : QStringLiteral("Tel 06-1234-5678");
        const QVector<PageOp> ops = ownOps(pe.render(s));
        const PageOp* op = find(ops, text);
        ASSERT_NE(op, nullptr);
        const int left = T(box.left), top = T(box.top);
        const int right = left + T(box.width) + 1, bottom = top + T(box.height) + 1;
        if (c.tate) {
            EXPECT_EQ(op->origin.x(), left);
            const double expectTop = c.alignment == 0 ? top
                : c.alignment == 1 ? top + std::trunc((bottom - top - op->length) / 2)
                                   : bottom - op->length;
            EXPECT_DOUBLE_EQ(op->origin.y(), expectTop);
        } else {
            EXPECT_EQ(op->origin.y(), top);
            if (c.alignment == 0)
                EXPECT_NEAR(op->rect.left(), left, 2);
            else if (c.alignment == 1)
                EXPECT_NEAR(op->rect.center().x(), (left + right) / 2.0, 0.01);
            else
                EXPECT_NEAR(op->rect.right(), right, 2);
        }
    }
}

TEST_F(PostcardEngineTest, OutOfRangeLayoutsAndShortRecordsDrawWithoutFailing)
{
    AppSettings a = sampleSettings();
    a.postcardFields[1].fontSize = 0;     // drawn as 9 points, as on screen
    a.postcardFields[3].width = -40;      // a negative length is no length
    a.postcardFields[9].left = 5000;      // far off the card
    a.postcardFields[9].top = -300;
    a.postcardFields[11].alignment = 7;   // unknown alignment: left
    a.postcardFields[12].fontName = QStringLiteral("No Such Face");
    a.postcardOffsetX = 55;               // beyond the read-out's limit
    const QStringList records = { QStringLiteral("\"1234567\",\"only two\"") };
    LayoutOpening opening;
    const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, records, HonorificChoice { true, QString() }, &opening);
    EXPECT_EQ(s.offsetX, 100);
    EXPECT_EQ(s.field(12).style.alignment, 0);
    // Opened as the form opens it: the negative length is the shortest vertical field, the
    // far-off field is back on the card, and the user is told.
    EXPECT_EQ(s.field(4).box.height, 15);
    EXPECT_EQ(opening.moved, (QStringList{u(u"名称１"), u(u"名称１(差出人)")}));
    EXPECT_LE(s.field(10).box.left + s.field(10).box.width, 378);
    EXPECT_GE(s.field(10).box.top, 0);

    const QVector<PageOp> ops = ownOps(pe.render(s));
    const PageOp* adr = find(ops, QStringLiteral("only two"));
    ASSERT_NE(adr, nullptr);
    EXPECT_EQ(adr->font.height, PageMath::fontHeightForPoints(9));
    // Missing columns print as the single space the CSV rule gives, never as garbage.
    EXPECT_NE(find(ops, u(u" 　 ")), nullptr); // name 1 " " + full-width space + honorific column " "
    const PageOp* name = find(ops, u(u"佐藤健一"));
    ASSERT_NE(name, nullptr);
    EXPECT_LT(name->origin.x(), 1000 + s.offsetX); // on the card, moved by the adjustment
    // A box far off the card (a snapshot made by hand) is recorded where it was placed.
    PostcardSnapshot far = s;
    far.fields[9].box.left = 5000;
    const QVector<PageOp> farOps = ownOps(pe.render(far));
    const PageOp* farName = find(farOps, u(u"佐藤健一"));
    ASSERT_NE(farName, nullptr);
    EXPECT_GT(farName->origin.x(), 10000);
    // Pages beyond the records (the list emptied under a run) draw blanks.
    PostcardSnapshot empty = s;
    empty.records.clear();
    empty.printOnlyShown = true;
    const QVector<PageOp> blank = ownOps(pe.render(empty));
    EXPECT_NE(find(blank, u(u"佐藤健一")), nullptr);
    EXPECT_EQ(find(blank, QStringLiteral("only two")), nullptr);
}
