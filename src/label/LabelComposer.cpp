#include "label/LabelComposer.h"

#include "layout/FieldTexts.h"
#include "layout/LayoutComposer.h"
#include "preview/TplPrev.h"

using namespace LayoutComposer;

FieldTextArray LabelFieldTexts(const LabelSnapshot& s, int record, const FieldTextArray& senderTexts)
{
    const RecordColumns columns = s.columnsOf(record);
    FieldTextArray texts = FieldTexts::fill(columns, senderTexts, s.honorific, s.visibility(), TextTarget::Print);
    texts[0] = FieldTexts::postMarkUnlessBlank(columns.postalCode, s.recipientPostMark);
    texts[6] = FieldTexts::postMarkUnlessBlank(s.sender.postalCode, s.senderPostMark);
    return texts;
}

QString LabelFieldText(const LabelSnapshot& s, int field, int record)
{
    if (field < 1 || field > kFieldCount)
        return QString();
    return LabelFieldTexts(s, record, FieldTexts::senderTexts(s.sender))[field - 1];
}

PrintCheckReport CheckLabelRun(const LabelSnapshot& s)
{
    PrintCheckRun run;
    run.layout = &s;
    run.labelForm = true;
    // Labels print the chosen records in list order from the start cell on.
    run.records = s.printedRecords();
    const FieldTextArray senderTexts = FieldTexts::senderTexts(s.sender);
    run.textsOf = [&s, senderTexts](int record) { return LabelFieldTexts(s, record, senderTexts); };
    run.textFields = s.visibility();
    run.piece = QSize(s.labelWidth, s.labelHeight);
    return RunPrintCheck(run, DefaultPrintCheckRules(BarcodePiece { false, s.labelWidth, s.labelHeight }));
}

namespace {

void drawLabel(TplPrev& engine, const LabelSnapshot& s, int record, int x, int y, const FieldTextArray& senderTexts)
{
    drawStamp(engine, s.stamp, x, y);
    const FieldTextArray texts = LabelFieldTexts(s, record, senderTexts);
    drawFields(engine, s, texts, recordNames(s, record), x, y, 1, 0);
}

} // namespace

void DrawLabelPage(TplPrev& engine, const LabelSnapshot& s)
{
    const int page = engine.CurrentPage();
    const bool printing = engine.Printing();
    const int rows = s.sheet.rows;
    const int columns = s.sheet.columns;

    if (!printing) {
        engine.SetPenColor(kLabelOutlineColor);
        for (int r = 1; r <= rows; ++r) {
            for (int c = 1; c <= columns; ++c) {
                const QPoint o = s.cellOrigin(r, c);
                engine.FrameRect(o.x(), o.x() + s.labelWidth, o.y(), o.y() + s.labelHeight);
            }
        }
        engine.SetPenColor(0);
    }

    const FieldTextArray senderTexts = FieldTexts::senderTexts(s.sender);
    const int firstRow = page == 1 ? s.startRow : 1;
    for (int r = firstRow; r <= rows; ++r) {
        const int firstColumn = page == 1 && r == firstRow ? s.startColumn : 1;
        for (int c = firstColumn; c <= columns; ++c) {
            const int record = s.recordAt(page, r, c);
            if (record < 0)
                continue;
            QPoint o = s.cellOrigin(r, c);
            if (printing)
                o += QPoint(s.offsetX, s.offsetY);
            drawLabel(engine, s, record, o.x(), o.y(), senderTexts);
        }
    }
}
