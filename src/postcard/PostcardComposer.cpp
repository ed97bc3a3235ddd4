#include "postcard/PostcardComposer.h"

#include "layout/FieldTexts.h"
#include "layout/LayoutComposer.h"
#include "preview/TplPrev.h"

using namespace LayoutComposer;

namespace {

constexpr int kFrameRed = 255; // $0000FF: used by DrawPostalCode only when forced

void drawSenderPostalCode(TplPrev& engine, const PostcardSnapshot& s, const SnapshotField& f, const FieldTextArray& texts)
{
    const PrintRect r = printRect(f.box, s.offsetX, s.offsetY);
    if (s.senderPostalBoxes) {
        using namespace SenderPostalCells;
        const QString d = FieldTexts::postalDigits(s.sender.postalCode);
        engine.TextSpaced(r.left, r.left + kFirstRight, r.top, r.top + kHeight, 3, d.left(3));
        engine.TextSpaced(r.left + kSecondLeft, r.left + kSecondRight, r.top, r.top + kHeight, 4, d.mid(3, 4));
        return;
    }
    drawFieldText(engine, 7, f.style, r, texts[6]);
}

} // namespace

FieldTextArray PostcardFieldTexts(const PostcardSnapshot& s, int record)
{
    FieldTextArray texts = s.printTexts(record);
    texts[6] = FieldTexts::postMark(s.sender.postalCode, s.senderPostMark);
    return texts;
}

PrintCheckReport CheckPostcardRun(const PostcardSnapshot& s)
{
    PrintCheckRun run;
    run.layout = &s;
    run.records = s.printedRecords();
    run.textsOf = [&s](int record) { return PostcardFieldTexts(s, record); };
    run.textFields = s.visibility();
    run.textFields[0] = false; // always the postal-code digits
    if (s.senderPostalBoxes)
        run.textFields[6] = false;
    run.piece = QSize(1000, 1480); // the card, 100 x 148 mm
    return RunPrintCheck(run, DefaultPrintCheckRules(BarcodePiece { true, 1000, 1480 }));
}

void DrawPostcardPage(TplPrev& engine, const PostcardSnapshot& s)
{
    const int record = s.recordForPage(engine.CurrentPage());

    drawStamp(engine, s.stamp, s.offsetX, s.offsetY);

    const FieldTextArray texts = PostcardFieldTexts(s, record);

    const SnapshotField& f1 = s.field(1);
    if (f1.visible()) {
        setFontSizeNameStyle(engine, f1.style);
        // The column as read: the engine keeps only its digits.
        engine.DrawPostalCode(texts[0], s.offsetX, s.offsetY, false, 0, kFrameRed);
    }

    const SnapshotField& f7 = s.field(7);
    if (f7.visible()) {
        setFontSizeNameStyle(engine, f7.style);
        drawSenderPostalCode(engine, s, f7, texts);
    }

    drawFields(engine, s, texts, recordNames(s, record), s.offsetX, s.offsetY, 2, 7);
}
