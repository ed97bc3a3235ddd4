// The postcard page with the typesetting options of its fields (kanji numerals, 縦中横,
// shrink to fit) and the check before printing, recorded on a postcard-sized file sheet as
// tovalin-print records it.

#include "PostcardTestSupport.h"

#include "layout/FieldTypesetting.h"
#include "layout/LayoutComposer.h"
#include "platform/JapaneseFonts.h"
#include "platform/VerticalText.h"
#include "preview/PageMath.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <cmath>

using namespace postcardtest;

namespace {

// A run of the postcard page routine on a 100 x 148 mm sheet without a printer.
class CardRun {
public:
    explicit CardRun(const PostcardSnapshot& s) : m_s(s)
    {
        engine.setFileSheet(1000, 1480);
        engine.setPageCount(s.pageCount());
        started = engine.BeginPreview([this] { DrawPostcardPage(engine, m_s); });
    }
    PageRecording page(int page)
    {
        engine.setCurrentPage(page);
        const PageRecording* rec = engine.RenderPage();
        return rec ? *rec : PageRecording();
    }
    previewtest::MessageLog log;
    TplPrev engine;
    bool started = false;

private:
    const PostcardSnapshot& m_s;
};

QString record(const QString& address1, const QString& address2, const QString& name1 = u(u"山本健太郎"))
{
    return QStringLiteral("\"154-0015\",\"%1\",\"%2\",\"%3\",\"\",\"C9\",\"様\"").arg(address1, address2, name1);
}

// The vertical column drawn for a text, or nullptr.
const PageOp* column(const PageRecording& rec, const QString& text)
{
    for (const PageOp* op : rec.ofKind(PageOp::Kind::VerticalText)) {
        if (op->text == text)
            return op;
    }
    return nullptr;
}

// The em size in 0.1 mm of a font of `points`, as the engine sets it.
int em(double points)
{
    return -PageMath::fontHeightForPoints(points);
}

// A vertical text laid out on its own (not through the engine), at a size in points.
VerticalText laidOut(const QString& face, double points, const QString& text)
{
    return VerticalText(JapaneseFonts::font(face, em(points), false, false), text, JapaneseFonts::isVerticalFace(face));
}

TEST(PostcardTypesetting, OptionsChangeTheTextsOfTheirVerticalFieldsOnly)
{
    AppSettings a = sampleSettings();
    FieldStyles& f = a.postcardFields;
    f[1].kansuji = 2;                 // address 1: 十百
    f[2].kansuji = 1;                 // address 2: 一二三, "の"
    f[2].hyphen = 1;
    f[3].kansuji = 2;                 // name 1, horizontal: never changed
    f[3].tate = false;
    f[3].fontName = u(u"ＭＳ 明朝");
    f[5].kansuji = 2;                 // field 6 takes no options
    f[5].tate = true;
    f[5].fontName = u(u"@ＭＳ 明朝");
    f[7].kansuji = 2;                 // sender address 1
    f[11].kansuji = 2;                // telephone: no options
    f[11].tate = true;
    f[11].fontName = u(u"@ＭＳ 明朝");
    const QStringList records { record(u(u"東京都世田谷区桜新町２－１２－３"), u(u"グリーンハイツ２０３－Ｂ 5-10"), u(u"第3営業部")) };
    const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, records, HonorificChoice { false, u(u"様") });
    CardRun run(s);
    ASSERT_TRUE(run.started);
    const QStringList texts = run.page(1).texts();
    for (const QString& expected : { u(u"東京都世田谷区桜新町二―十二―三"), u(u"グリーンハイツ二〇三-Ｂ 五の一〇"),
                                     u(u"第3営業部　様"), QStringLiteral("C9"), u(u"大阪府大阪市北区一―二―三"),
                                     QStringLiteral("Tel 06-1234-5678") })
        EXPECT_TRUE(texts.contains(expected)) << expected.toStdString() << "\n" << texts.join(QLatin1Char('\n')).toStdString();
}

TEST(PostcardTypesetting, TateChuYokoPairsLieWithinTheColumnOfTheRecordedPage)
{
    AppSettings a = sampleSettings();
    a.postcardFields[2].tcy = true;
    a.postcardFields[2].fontSize = 16;
    const QString text = u(u"第12ビル３０１号 47階");
    const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, { record(u(u"東京都"), text) }, HonorificChoice());
    CardRun run(s);
    ASSERT_TRUE(run.started);
    const PageRecording page = run.page(1);
    const PageOp* op = column(page, text);
    ASSERT_NE(op, nullptr);
    ASSERT_TRUE(op->vertical);

    constexpr int scale = 4;
    const QImage img = page.toImage(page.width() * scale);
    int pairs = 0;
    for (const VerticalText::Run& r : op->vertical->runs()) {
        if (!r.tateChuYoko)
            continue;
        ++pairs;
        SCOPED_TRACE(r.text.toStdString());
        const QRect step(int(op->origin.x() * scale), int((op->origin.y() + r.start) * scale),
                         int(op->columnWidth * scale), int(r.advance * scale));
        const QRect ink = previewtest::inkBox(img, step.adjusted(-20, 0, 20, 0));
        ASSERT_TRUE(ink.isValid());
        EXPECT_GE(ink.left(), step.left());
        EXPECT_LE(ink.right(), step.right());
        EXPECT_NEAR(ink.left() - step.left(), step.right() - ink.right(), 3.0);
        EXPECT_GT(ink.width(), ink.height() * 0.9); // side by side, not one above the other
    }
    EXPECT_EQ(pairs, 2); // "12" and "47"; "３０１" stands upright
}

TEST(PostcardTypesetting, ShrinkingTakesTheLargestHalfPointStepThatFits)
{
    AppSettings a = sampleSettings();
    FieldStyle& f2 = a.postcardFields[1]; // 14 points, 380 pixels long, vertical
    f2.fit = true;
    const QString face = f2.fontName;
    const int fullEm = em(14);
    const LayoutComposer::PrintRect rect = LayoutComposer::printRect(SnapshotField::fromStyle(2, f2, true).box, 0, 0);
    const int length = rect.height;
    const QString base = u(u"東京都世田谷区桜新町");
    QStringList records;
    QVector<QString> texts;
    // From a text that fits as it is to one that does not fit even at half the size.
    for (int extra : { 0, 4, 9, 14, 20, 26, 60 }) {
        QString t = base + QString(extra, QChar(u'町'));
        texts << t;
        records << record(t, QString());
    }
    PostcardSnapshot s = PostcardSnapshot::fromSettings(a, records, HonorificChoice());
    CardRun run(s);
    ASSERT_TRUE(run.started);
    for (int i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(texts[i].size());
        const PageOp* op = column(run.page(i + 1), texts[i]);
        ASSERT_NE(op, nullptr);
        const int drawnEm = -op->font.height;
        // Which half-point size was drawn.
        double points = 14;
        while (points > 7 && em(points) != drawnEm)
            points -= FieldTypesetting::kFitStep;
        ASSERT_EQ(em(points), drawnEm);
        const bool fitsFull = laidOut(face, 14, texts[i]).length() <= length;
        const bool fitsHalf = laidOut(face, 7, texts[i]).length() <= length;
        if (fitsFull) {
            EXPECT_EQ(points, 14.0);
        } else if (!fitsHalf) {
            EXPECT_EQ(points, 7.0);                  // cut at half the size
            EXPECT_TRUE(op->clip.isValid());
        } else {
            EXPECT_LT(points, 14.0);
            EXPECT_LE(laidOut(face, points, texts[i]).length(), length);
            EXPECT_GT(laidOut(face, points + FieldTypesetting::kFitStep, texts[i]).length(), length);
            // The smaller column keeps the field's centre line.
            const qreal fullColumn = laidOut(face, 14, QString()).columnWidth();
            EXPECT_NEAR(op->origin.x() + op->columnWidth / 2, rect.left + fullColumn / 2, 1.0);
        }
        EXPECT_GE(drawnEm, em(7));
        EXPECT_LE(drawnEm, fullEm);
    }

    // The same long text without the option is drawn at its size and cut.
    s.fields[1].style.fit = false;
    const PageOp* cut = column(run.page(5), texts[4]);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(-cut->font.height, fullEm);
    EXPECT_TRUE(cut->clip.isValid());
}

TEST(PostcardTypesetting, HorizontalFieldsShrinkAcrossTheirWidth)
{
    AppSettings a = sampleSettings();
    FieldStyle& f4 = a.postcardFields[3];
    f4 = style(40, 200, 200, 20, false, u(u"ＭＳ 明朝"));
    f4.fit = true;
    const QString name = u(u"株式会社みなと商会総務部");
    const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, { record(QString(), QString(), name) },
                                                              HonorificChoice { false, QString() });
    CardRun run(s);
    ASSERT_TRUE(run.started);
    const PageRecording page = run.page(1);
    const PageOp* op = nullptr;
    for (const PageOp* t : page.ofKind(PageOp::Kind::Text)) {
        if (t->text.startsWith(name))
            op = t;
    }
    ASSERT_NE(op, nullptr);
    const LayoutComposer::PrintRect rect = LayoutComposer::printRect(s.field(4).box, 0, 0);
    EXPECT_LT(-op->font.height, em(20));
    EXPECT_GE(-op->font.height, em(10));
    EXPECT_LE(op->rect.width(), rect.width);
    EXPECT_FALSE(op->clip.isValid());
    // The smaller line keeps the middle of the line the stored size would have.
    const QFontMetricsF full(JapaneseFonts::font(u(u"ＭＳ 明朝"), em(20), false, false));
    EXPECT_NEAR(op->rect.center().y(), rect.top + (full.ascent() + full.descent()) / 2, 1.0);
}

TEST(PostcardTypesetting, OddTextsSetWithoutHangingAndNeverBelowHalfSize)
{
    AppSettings a = sampleSettings();
    for (int n : { 2, 3 }) {
        FieldStyle& f = a.postcardFields[n - 1];
        f.kansuji = 2;
        f.tcy = true;
        f.fit = true;
    }
    const QString longNumber = QString(30, QLatin1Char('9'));
    const QStringList odd = { QString(2000, QChar(u'東')), longNumber, QStringLiteral("------"),
                              QString(QChar(0xD800)) + QStringLiteral("12"), QStringLiteral("1\u03012\u0301"),
                              u(u"١٢٣ ①②"), QString(1000, QLatin1Char('1')) };
    QStringList records;
    for (const QString& t : odd)
        records << record(t, t);
    const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, records, HonorificChoice());
    QElapsedTimer timer;
    timer.start();
    CardRun run(s);
    ASSERT_TRUE(run.started);
    for (int p = 1; p <= records.size(); ++p) {
        const PageRecording page = run.page(p);
        for (const PageOp* op : page.ofKind(PageOp::Kind::VerticalText))
            EXPECT_GE(-op->font.height, em(6)) << p;
    }
    const PrintCheckReport report = CheckPostcardRun(s);
    EXPECT_TRUE(report.flags(0, 2)); // 2,000 kanji fit nowhere
    EXPECT_TRUE(report.flags(6, 2));
    EXPECT_FALSE(report.flags(2, 2)); // a few hyphens fit
    EXPECT_LT(timer.elapsed(), 20000);
}

// Records 2, 5 and 7 (from 1) are too long for address 2; record 4's address 1 is long but
// fits once shrunk; record 6's name does not fit.
QStringList checkRecords()
{
    const QString longAddress2 = u(u"サンシャインシティプリンスホテル南青山レジデンス東館");
    const QString longAddress1 = u(u"東京都世田谷区桜新町二丁目十二番三号グランドメゾン");
    QStringList r;
    for (int i = 1; i <= 8; ++i) {
        const bool long2 = i == 2 || i == 5 || i == 7;
        r << record(i == 4 ? longAddress1 : u(u"東京都世田谷区桜新町"), long2 ? longAddress2 : u(u"ハイツ１"),
                    i == 6 ? QString(30, QChar(u'山')) : u(u"山本"));
    }
    return r;
}

TEST(PostcardTypesetting, CheckListsTheRecordsThatDoNotFit)
{
    AppSettings a = sampleSettings();
    a.postcardFields[1].fit = true;  // address 1 shrinks
    a.postcardFields[2].width = 200; // address 2 is short and does not shrink
    const PostcardSnapshot s = PostcardSnapshot::fromSettings(a, checkRecords(), HonorificChoice { false, u(u"様") });
    const PrintCheckReport report = CheckPostcardRun(s);
    const QVector<PrintFinding> expected { PrintFinding::textOverflow(1, 3), PrintFinding::textOverflow(4, 3),
                                           PrintFinding::textOverflow(5, 4), PrintFinding::textOverflow(6, 3) };
    EXPECT_EQ(report.findings, expected);
    EXPECT_EQ(report.records(), (QVector<int> { 1, 4, 5, 6 }));
    EXPECT_EQ(report.lines(), (QStringList { u(u"枠に収まりません: 2件目 住所２"), u(u"枠に収まりません: 5件目 住所２"),
                                             u(u"枠に収まりません: 6件目 名称１"), u(u"枠に収まりません: 7件目 住所２") }));
    // The next record that overflows, from anywhere, round to the first.
    EXPECT_EQ(report.nextRecord(0), 1);
    EXPECT_EQ(report.nextRecord(1), 4);
    EXPECT_EQ(report.nextRecord(2), 4);
    EXPECT_EQ(report.nextRecord(6), 1);
    EXPECT_EQ(report.nextRecord(7), 1);

    // Without shrinking, record 4's address 1 is one more.
    a.postcardFields[1].fit = false;
    const PrintCheckReport plain = CheckPostcardRun(PostcardSnapshot::fromSettings(a, checkRecords(), HonorificChoice()));
    EXPECT_TRUE(plain.flags(3, 2));
    EXPECT_EQ(plain.records(), (QVector<int> { 1, 3, 4, 5, 6 }));

    // "表示宛名のみ印刷" checks only the record on screen; hidden fields are not checked.
    PostcardSnapshot only = s;
    only.printOnlyShown = true;
    only.shownRecord = 4;
    EXPECT_EQ(CheckPostcardRun(only).records(), (QVector<int> { 4 }));
    only.shownRecord = 3;
    EXPECT_TRUE(CheckPostcardRun(only).isEmpty());
    PostcardSnapshot hidden = s;
    hidden.fields[2].style.visible = false;
    EXPECT_EQ(CheckPostcardRun(hidden).records(), (QVector<int> { 5 }));
    // A choice of records checks those only.
    PostcardSnapshot chosen = s;
    chosen.choice = RecordChoice::of({ 6, 0, 4, 3 });
    EXPECT_EQ(CheckPostcardRun(chosen).records(), (QVector<int> { 4, 6 }));
}

TEST(PostcardTypesetting, CheckReportsAtMostTwentyLinesThenTheRest)
{
    AppSettings a = sampleSettings();
    a.postcardFields[2].width = 60;
    QStringList records;
    for (int i = 0; i < 27; ++i)
        records << record(u(u"東京都"), u(u"グリーンハイツ二〇三号"));
    const PrintCheckReport report = CheckPostcardRun(PostcardSnapshot::fromSettings(a, records, HonorificChoice()));
    const QStringList lines = report.lines();
    ASSERT_EQ(lines.size(), 21);
    EXPECT_EQ(lines.first(), u(u"枠に収まりません: 1件目 住所２"));
    EXPECT_EQ(lines.at(19), u(u"枠に収まりません: 20件目 住所２"));
    EXPECT_EQ(lines.last(), u(u"ほか 7 件"));
    EXPECT_EQ(report.lines(27).size(), 27);
}

TEST(PostcardTypesetting, CheckHoldsTheBarcodesFindingsInItsOwnWording)
{
    AppSettings a = sampleSettings();
    a.postcardFields[5].barcode = true; // field 6 at the card's bottom left, 8 points
    a.postcardFields[2].width = 60;     // address 2 holds three characters
    auto line = [](const QString& address2, const QString& barcode) {
        return u(u"\"100-0013\",\"東京都千代田区霞が関\",\"%1\",\"山田\",\"\",\"%2\",\"様\"").arg(address2, barcode);
    };
    const QStringList records { line(u(u"二階"), QStringLiteral("1000013 1-3-2-503")),
                                line(u(u"霞が関ビル二階"), QStringLiteral("1-3-2")),
                                line(QString(), QString()) };
    PostcardSnapshot s = PostcardSnapshot::fromSettings(a, records, HonorificChoice { true, QString() });
    const PrintCheckReport report = CheckPostcardRun(s);
    const BarcodePiece card;
    const QVector<BarcodeFinding> barcodes = CheckBarcodes(s, card, { 0, 1, 2 });
    ASSERT_FALSE(barcodes.isEmpty());
    EXPECT_EQ(report.lines(), QStringList { u(u"枠に収まりません: 2件目 住所２") } + DescribeBarcodeFindings(barcodes, card));
    for (const PrintFinding& f : report.findings) {
        if (f.field == 6) {
            EXPECT_NE(f.kind, PrintFinding::Kind::TextOverflow); // the symbol is no text
        }
    }
    EXPECT_TRUE(report.flags(1, 6));
    EXPECT_TRUE(report.flags(2, 6));

    // Only the record on screen, with "表示宛名のみ印刷".
    s.printOnlyShown = true;
    s.shownRecord = 2;
    const PrintCheckReport only = CheckPostcardRun(s);
    EXPECT_EQ(only.records(), QVector<int> { 2 });
    EXPECT_EQ(only.lines(), DescribeBarcodeFindings(CheckBarcodes(s, card, { 2 }), card));
}

} // namespace
