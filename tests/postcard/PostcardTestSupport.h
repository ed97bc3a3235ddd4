#pragma once
// Shared by the postcard and batch printer tests: an engine on the CUPS test printer's
// postcard paper, a layout like a New Year card and pages recorded from a snapshot (the
// operation-by-operation comparison of pages comes from PreviewTestSupport).

#include "app/AppSettings.h"
#include "postcard/PostcardComposer.h"
#include "postcard/PostcardSnapshot.h"
#include "preview/PreviewTestSupport.h"
#include "support/EngineOnTestPrinter.h"
#include "support/SampleAddresses.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace postcardtest {

using previewtest::describe;
using previewtest::ownOps;
using previewtest::samePages;
using testtext::u;

inline QStringList sampleRecords()
{
    return { u(u"\"〒123-4567\",\"東京都千代田区千代田１－２－３\",\"テストビル２０１\",\"山田太郎\",\"\",\"C1234\",\"様\""),
             u(u"\"１００－０００１\",\"大阪府大阪市北区梅田４－５\",\"\",\"鈴木一郎\",\"鈴木花子\",\"\",\"殿\""),
             u(u"\"060-8588\",\"北海道札幌市中央区北三条西６\",\"第二ビル\",\"株式会社高橋商事\",\"高橋部長\",\"C9\",\"御中\"") };
}

inline FieldStyle style(int left, int top, int length, int size, bool tate, const QString& face, int alignment = 0)
{
    FieldStyle s;
    s.fontName = face;
    s.fontSize = size;
    s.tate = tate;
    s.left = left;
    s.top = top;
    s.width = length;
    s.alignment = alignment;
    s.visible = true;
    return s;
}

// A vertical New Year card: every field visible, the address on the right, names in the
// centre, the sender at the bottom left, contact lines horizontal.
inline AppSettings sampleSettings()
{
    AppSettings a;
    const QString mincho = u(u"ＭＳ 明朝"), vmincho = u(u"@ＭＳ 明朝");
    FieldStyles& f = a.postcardFields;
    f[0] = style(167, 45, 185, 16, false, mincho);
    f[0].post = true;
    f[1] = style(320, 110, 380, 14, true, vmincho);
    f[2] = style(290, 150, 340, 12, true, vmincho);
    f[3] = style(190, 120, 360, 26, true, vmincho, 1);
    f[4] = style(150, 160, 320, 22, true, vmincho, 1);
    f[5] = style(20, 530, 120, 8, false, mincho);
    f[6] = style(20, 490, 120, 9, false, mincho);
    f[7] = style(100, 300, 170, 9, true, vmincho);
    f[8] = style(82, 320, 150, 9, true, vmincho);
    f[9] = style(60, 330, 150, 12, true, vmincho, 2);
    f[10] = style(40, 330, 150, 12, true, vmincho, 2);
    f[11] = style(150, 510, 150, 7, false, mincho);
    f[12] = style(150, 522, 150, 7, false, mincho, 1);
    f[13] = style(150, 534, 150, 7, false, mincho, 2);
    f[14] = style(150, 546, 150, 7, false, mincho);
    a.csv = testaddresses::columns();
    a.sender.postalCode = u(u"〒530-0001");
    a.sender.address1 = u(u"大阪府大阪市北区１－２－３");
    a.sender.address2 = u(u"梅田ハイツ５０１");
    a.sender.name1 = u(u"佐藤健一");
    a.sender.name2 = u(u"佐藤美咲");
    a.sender.tel = u(u"06-1234-5678");
    a.sender.fax = u(u" ");
    a.sender.mail = u(u"sato@example.jp");
    a.sender.url = u(u"https://example.jp");
    a.postcardPostMark = true;
    return a;
}

inline PostcardSnapshot sampleSnapshot()
{
    return PostcardSnapshot::fromSettings(sampleSettings(), sampleRecords(), HonorificChoice { true, QString() });
}

// An engine on the test printer with postcard paper, portrait.
class PostcardEngine : public EngineOnTestPrinter {
public:
    PostcardEngine() : EngineOnTestPrinter(QStringLiteral("plSetPrinter1"), DevMode::PaperJapanesePostcard) { }

    // Starts a run over the snapshot (the reference is kept: change it between pages to see
    // that every page is drawn from what it holds then).
    bool begin(const PostcardSnapshot& snapshot)
    {
        const PostcardSnapshot* s = &snapshot;
        return EngineOnTestPrinter::begin(u(u"ハガキ宛名印刷"), snapshot.pageCount(),
                                          [this, s] { DrawPostcardPage(engine, *s); });
    }

    PageRecording render(const PostcardSnapshot& snapshot, int pageNumber = 1)
    {
        if (!begin(snapshot))
            return PageRecording();
        return page(pageNumber);
    }
};

class PostcardEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVALIN_REQUIRE_TEST_PRINTER();
        QString why;
        ASSERT_TRUE(pe.setUp(&why)) << why.toStdString();
    }
    PostcardEngine pe;
};

} // namespace postcardtest
