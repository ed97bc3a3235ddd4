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

QString PrintCheckReport::describe(const PrintFinding& finding, bool labelForm)
{
    switch (finding.kind) {
    case PrintFinding::Kind::TextOverflow:
        return QStringLiteral("枠に収まりません: %1件目 %2")
            .arg(finding.record + 1)
            .arg(FieldCaptions::caption(finding.field, labelForm));
    }
    return QString();
}

QStringList PrintCheckReport::lines(int max) const
{
    QStringList out;
    const int shown = int(qMin<qsizetype>(findings.size(), qMax(0, max)));
    for (int i = 0; i < shown; ++i)
        out << describe(findings.at(i), labelForm);
    if (findings.size() > shown)
        out << QStringLiteral("ほか %1 件").arg(findings.size() - shown);
    return out;
}

PrintCheckRule TextOverflowRule()
{
    return [](const PrintedRecord& r, QVector<PrintFinding>& out) {
        for (int n = 1; n <= kFieldCount; ++n) {
            const SnapshotField& f = r.layout->field(n);
            if (!r.textFields[n - 1] || FieldGeometry::printsBarcode(n, f.style))
                continue;
            const LayoutComposer::PrintRect rect = LayoutComposer::printRect(f.box, 0, 0);
            const FieldTypesetting::Setting set = FieldTypesetting::settle(
                *r.canvas, n, f.style, f.style.tate ? rect.height : rect.width, r.texts[n - 1], TextTarget::Print, true);
            if (set.overflows)
                out.append(PrintFinding { PrintFinding::Kind::TextOverflow, r.record, n });
        }
    };
}

QVector<PrintCheckRule> DefaultPrintCheckRules()
{
    return { TextOverflowRule() };
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
    for (int record : run.records) {
        printed.record = record;
        printed.texts = run.textsOf(record);
        for (const PrintCheckRule& rule : rules)
            rule(printed, report.findings);
    }
    return report;
}
