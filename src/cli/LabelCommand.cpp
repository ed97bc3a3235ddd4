#include "cli/LabelCommand.h"

#include "cli/BatchJob.h"
#include "label/LabelComposer.h"
#include "platform/DevMode.h"
#include "preview/TplPrev.h"

LabelSnapshot BatchLabelSnapshot(const BatchJob& job, const CliOptions& options, LabelOpeningReport* report)
{
    return LabelSnapshot::fromSettings(job.settings(), job.records(), job.honorific(), options.postalMark,
                                       options.startRow, options.startColumn, report);
}

int CheckStartCell(const BatchJob& job, const CliOptions& options, CliConsole& console)
{
    // The sheet as the form opens it (stored values held to their ranges).
    LabelSheetModel model;
    model.load(job.settings().labelSheet);
    if (!model.ProposeStartRow(options.startRow)) {
        console.error(QStringLiteral("--start-row %1: ラベルは %2 行しかありません。").arg(options.startRow).arg(model.sheet().rows));
        return ExitCode::BadInput;
    }
    if (!model.ProposeStartColumn(options.startColumn)) {
        console.error(QStringLiteral("--start-column %1: ラベルは %2 列しかありません。")
                          .arg(options.startColumn)
                          .arg(model.sheet().columns));
        return ExitCode::BadInput;
    }
    return ExitCode::Ok;
}

int RunLabelCommand(const CliOptions& options, CliConsole& console)
{
    BatchJob job(options, console);
    int status = job.load();
    if (status != ExitCode::Ok)
        return status;
    status = CheckStartCell(job, options, console);
    if (status != ExitCode::Ok)
        return status;
    job.warnAboutFaces(job.settings().labelFields);
    job.warnAboutPicture(job.settings().labelImage);

    LabelOpeningReport report;
    const LabelSnapshot snapshot = BatchLabelSnapshot(job, options, &report);
    // The form says this once when it opens; the sheets are printed as it would then show them.
    if (!report.isEmpty())
        console.error(report.message().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    TplPrev engine;
    engine.setTitle(QStringLiteral("A4ラベル宛名印刷"));
    engine.setPageCount(snapshot.pageCount());
    const BatchPaper a4 { LabelGeometry::kSheetWidth, LabelGeometry::kSheetHeight, DevMode::PaperA4, QStringLiteral("A4") };
    return job.print(engine, QStringLiteral("plSetLabel"), a4, [&engine, &snapshot] { DrawLabelPage(engine, snapshot); });
}
