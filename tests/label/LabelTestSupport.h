#pragma once
// Shared by the label tests: an address list whose records name themselves, a horizontal
// address label layout, an engine on the CUPS test printer's A4 paper, and the pages of a
// run as the preview records them and as they go to paper.

#include "app/AppSettings.h"
#include "label/LabelComposer.h"
#include "label/LabelSnapshot.h"
#include "preview/PageRecording.h"
#include "support/EngineOnTestPrinter.h"
#include "support/SampleAddresses.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace labeltest {

using testtext::u;

// Record i (from 0) is addressed to "宛名<i>", so a page shows which record went where.
inline QString recordLine(int i)
{
    return u(u"\"%1-%2\",\"東京都千代田区飯田橋%3－１０－８\",\"サンライズビル%4号室\",\"宛名%5\",\"\",\"C-%6\",\"様\"")
        .arg(100 + i % 900, 3, 10, QLatin1Char('0'))
        .arg(i % 10000, 4, 10, QLatin1Char('0'))
        .arg(i)
        .arg(i)
        .arg(i)
        .arg(i);
}

inline QStringList records(int count)
{
    QStringList l;
    for (int i = 0; i < count; ++i)
        l << recordLine(i);
    return l;
}

inline FieldStyle style(int left, int top, int length, int size, bool tate = false, int alignment = 0,
                        bool visible = true)
{
    FieldStyle s;
    s.fontName = tate ? u(u"@ＭＳ 明朝") : u(u"ＭＳ 明朝");
    s.fontSize = size;
    s.tate = tate;
    s.left = left;
    s.top = top;
    s.width = length;
    s.alignment = alignment;
    s.visible = visible;
    return s;
}

// A horizontal address label for the default 2 x 6 sheet (image 367 x 175 pixels): postal
// code, two address lines, two names; the other fields hidden.
inline AppSettings sampleSettings()
{
    AppSettings a;
    FieldStyles& f = a.labelFields;
    f[0] = style(12, 8, 120, 10);
    f[1] = style(24, 30, 320, 11);
    f[2] = style(24, 52, 320, 11);
    f[3] = style(30, 90, 300, 16, false, 1);
    f[4] = style(30, 124, 300, 14, false, 1);
    for (int n = 6; n <= 15; ++n)
        f[n - 1] = style(20, 140, 120, 8, false, 0, false);
    a.csv = testaddresses::columns();
    a.sender.postalCode = u(u"〒530-0001");
    a.sender.address1 = u(u"大阪府大阪市北区１－２－３");
    a.sender.name1 = u(u"佐藤健一");
    a.sender.tel = u(u" ");
    a.labelPostMark = true;
    return a;
}

inline LabelSnapshot snapshotOf(const AppSettings& a, const QStringList& lines, int startRow = 1, int startColumn = 1)
{
    return LabelSnapshot::fromSettings(a, lines, HonorificChoice{true, QString()}, true, startRow, startColumn);
}

// The texts of a page whose reference point lies inside rect (0.1 mm).
inline QStringList textsIn(const PageRecording& page, const QRect& rect)
{
    QStringList out;
    for (const PageOp& op : page.ops()) {
        if (op.paper || (op.kind != PageOp::Kind::Text && op.kind != PageOp::Kind::VerticalText))
            continue;
        if (rect.contains(op.origin.toPoint()))
            out << op.text;
    }
    return out;
}

// The first text operation with exactly this text, or nullptr.
inline const PageOp* findText(const PageRecording& page, const QString& text)
{
    for (const PageOp& op : page.ops()) {
        if (!op.paper && (op.kind == PageOp::Kind::Text || op.kind == PageOp::Kind::VerticalText) && op.text == text)
            return &op;
    }
    return nullptr;
}

// An engine on the test printer with A4 paper, portrait.
class LabelEngine : public EngineOnTestPrinter {
public:
    LabelEngine() : EngineOnTestPrinter(QStringLiteral("plSetLabel"), DevMode::PaperA4) { }

    // Starts a run over the snapshot (kept by reference).
    bool begin(const LabelSnapshot& snapshot)
    {
        const LabelSnapshot* s = &snapshot;
        return EngineOnTestPrinter::begin(u(u"A4ラベル宛名印刷"), snapshot.pageCount(),
                                          [this, s] { DrawLabelPage(engine, *s); });
    }

    // The pages as the preview records them.
    QVector<PageRecording> preview(const LabelSnapshot& snapshot)
    {
        if (!begin(snapshot))
            return {};
        return pages();
    }

    // The pages as they go to paper (a PDF file here), recorded while the job runs.
    QVector<PageRecording> print(const LabelSnapshot& snapshot)
    {
        if (!begin(snapshot))
            return {};
        return printed();
    }
};

class LabelEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TOVALIN_REQUIRE_TEST_PRINTER();
        QString why;
        ASSERT_TRUE(le.setUp(&why)) << why.toStdString();
    }
    LabelEngine le;
};

} // namespace labeltest
