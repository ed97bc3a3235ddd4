#include "layout/PrintCheck.h"

#include "layout/FieldCaptions.h"
#include "layout/FieldGeometry.h"
#include "layout/FieldTypesetting.h"
#include "layout/LayoutComposer.h"
#include "layout/LayoutSnapshot.h"
#include "preview/PageCanvas.h"

QVector<int> PrintCheckReport::records() const
{
    QVector<int> out;
    for (const PrintFinding& f : findings) {
        if (out.isEmpty() || out.last() != f.record)
            out.append(f.record);
    }
    return out;
}

int PrintCheckReport::nextRecord(int record) const
{
    const QVector<int> all = records();
    if (all.isEmpty())
        return -1;
    const int at = all.indexOf(record);
    if (at < 0) {
        // Not a record with findings: the next one printed after it, by index.
        for (int r : all) {
            if (r > record)
                return r;
        }
        return all.first();
    }
    return all.at((at + 1) % all.size());
}

bool PrintCheckReport::flags(int record, int field) const
{
    for (const PrintFinding& f : findings) {
        if (f.record == record && f.field == field)
            return true;
    }
    return false;
}

PrintCheckReport PrintCheckReport::only(PrintFinding::Kind kind) const
{
    PrintCheckReport out;
    out.labelForm = labelForm;
    for (const PrintFinding& f : findings) {
        if (f.kind == kind)
            out.findings.append(f);
    }
    return out;
}

namespace {

bool isBarcodeFinding(const PrintFinding& f)
{
    return f.kind == PrintFinding::Kind::NotABarcode || f.kind == PrintFinding::Kind::BarcodeTooClose;
}

BarcodeFinding asBarcodeFinding(const PrintFinding& f)
{
    BarcodeFinding b;
    b.kind = f.kind == PrintFinding::Kind::NotABarcode ? BarcodeFinding::Kind::NotABarcode
                                                       : BarcodeFinding::Kind::TooClose;
    b.record = f.record;
    b.problem = CustomerBarcode::Problem(f.problem);
    b.neighbours = f.neighbours;
    return b;
}

// Only the wording depends on the piece: whether it is a card.
BarcodePiece wordingPiece(bool labelForm)
{
    BarcodePiece piece;
    piece.postcard = !labelForm;
    return piece;
}

} // namespace

QString PrintCheckReport::describe(const PrintFinding& finding, bool labelForm)
{
    switch (finding.kind) {
    case PrintFinding::Kind::TextOverflow:
        return QStringLiteral("枠に収まりません: %1件目 %2")
            .arg(finding.record + 1)
            .arg(FieldCaptions::caption(finding.field, labelForm));
    case PrintFinding::Kind::NotABarcode:
    case PrintFinding::Kind::BarcodeTooClose:
        return DescribeBarcodeFindings({ asBarcodeFinding(finding) }, wordingPiece(labelForm)).value(0);
    case PrintFinding::Kind::BlockOutside:
        return QStringLiteral("%1からはみ出します: %2件目 %3")
            .arg(labelForm ? QStringLiteral("ラベル") : QStringLiteral("ハガキ"))
            .arg(finding.record + 1)
            .arg(FieldCaptions::caption(finding.field, labelForm));
    }
    return QString();
}

QStringList PrintCheckReport::lines(int max) const
{
    QStringList out;
    QVector<BarcodeFinding> barcodes;
    int overflows = 0;
    for (const PrintFinding& f : findings) {
        if (isBarcodeFinding(f)) {
            barcodes << asBarcodeFinding(f);
        } else if (overflows++ < max) {
            out << describe(f, labelForm);
        }
    }
    if (overflows > max)
        out << QStringLiteral("ほか %1 件").arg(overflows - qMax(0, max));
    return out + DescribeBarcodeFindings(barcodes, wordingPiece(labelForm));
}

PrintCheckRule TextOverflowRule()
{
    return [](const PrintedRecord& r, QVector<PrintFinding>& out) {
        const LayoutComposer::RecordNames names = LayoutComposer::recordNames(*r.layout, r.record);
        for (int n = 1; n <= kFieldCount; ++n) {
            const SnapshotField& f = r.layout->field(n);
            if (!r.textFields[n - 1] || FieldGeometry::printsBarcode(n, f.style) || names.block(n))
                continue;
            const LayoutComposer::PrintRect rect = LayoutComposer::printRect(f.box, 0, 0);
            const FieldTypesetting::Setting set = FieldTypesetting::settle(
                *r.canvas, n, f.style, f.style.tate ? rect.height : rect.width, r.texts[n - 1], TextTarget::Print, true);
            if (set.overflows)
                out.append(PrintFinding::textOverflow(r.record, n));
        }
    };
}

PrintCheckRule NameBlockRule()
{
    return [](const PrintedRecord& r, QVector<PrintFinding>& out) {
        const LayoutComposer::RecordNames names = LayoutComposer::recordNames(*r.layout, r.record);
        for (int n : { 4, 10 }) {
            const NameBlockTexts* block = names.block(n);
            if (!block || !r.textFields[n - 1])
                continue;
            const SnapshotField& f = r.layout->field(n);
            const LayoutComposer::PrintRect rect = LayoutComposer::printRect(f.box, 0, 0);
            const LayoutComposer::NameBlockSetting set = LayoutComposer::setNameBlock(*r.canvas, n, f.style, rect, *block);
            if (set.overflows)
                out.append(PrintFinding::textOverflow(r.record, n));
            // What is drawn: along, the block is cut at the field's end.
            QRectF drawn = set.layout.bounds;
            if (f.style.tate)
                drawn.setBottom(qMin<qreal>(drawn.bottom(), rect.top + rect.height));
            else
                drawn.setRight(qMin<qreal>(drawn.right(), rect.left + rect.width));
            // Half a tenth of slack: the edges are measured, the card is whole tenths.
            const QRectF piece = QRectF(QPointF(0, 0), QSizeF(r.piece)).adjusted(-0.5, -0.5, 0.5, 0.5);
            if (!r.piece.isEmpty() && !piece.contains(drawn))
                out.append(PrintFinding { PrintFinding::Kind::BlockOutside, r.record, n, 0, {} });
        }
    };
}

PrintCheckRule BarcodeRule(const BarcodePiece& piece)
{
    return [piece](const PrintedRecord& r, QVector<PrintFinding>& out) {
        for (const BarcodeFinding& b : CheckBarcodes(*r.layout, piece, { r.record })) {
            PrintFinding f;
            f.kind = b.kind == BarcodeFinding::Kind::NotABarcode ? PrintFinding::Kind::NotABarcode
                                                                 : PrintFinding::Kind::BarcodeTooClose;
            f.record = b.record;
            f.field = 6;
            f.problem = int(b.problem);
            f.neighbours = b.neighbours;
            out.append(f);
        }
    };
}

QVector<PrintCheckRule> DefaultPrintCheckRules(const BarcodePiece& piece)
{
    return { TextOverflowRule(), NameBlockRule(), BarcodeRule(piece) };
}

PrintCheckReport RunPrintCheck(const PrintCheckRun& run, const QVector<PrintCheckRule>& rules)
{
    PrintCheckReport report;
    report.labelForm = run.labelForm;
    if (!run.layout || !run.textsOf)
        return report;
    PageCanvas canvas(nullptr, 0, 0);
    PrintedRecord printed;
    printed.layout = run.layout;
    printed.textFields = run.textFields;
    printed.canvas = &canvas;
    printed.piece = run.piece;
    for (int record : run.records) {
        printed.record = record;
        printed.texts = run.textsOf(record);
        for (const PrintCheckRule& rule : rules)
            rule(printed, report.findings);
    }
    return report;
}
