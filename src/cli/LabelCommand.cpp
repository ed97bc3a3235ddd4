#include "cli/LabelCommand.h"

#include "cli/BatchJob.h"
#include "label/LabelComposer.h"
#include "label/LabelRun.h"
#include "label/LabelTemplates.h"
#include "preview/TplPrev.h"

LabelSnapshot BatchLabelSnapshot(const BatchJob& job, const CliOptions& options, LayoutOpening* opening)
{
    LabelSnapshot s = LabelSnapshot::fromSettings(job.settings(), job.records(), job.honorific(), options.postalMark,
                                                  options.startRow, options.startColumn, opening);
    s.choice = job.choice();
    return s;
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

int ApplySheetOption(BatchJob& job, const CliOptions& options, CliConsole& console)
{
    if (options.sheet.isEmpty())
        return ExitCode::Ok;
    const LabelTemplates::Catalog& catalog = LabelTemplates::Catalog::session();
    if (catalog.templateCount() == 0) {
        console.error(QStringLiteral("--sheet: ラベル用紙の定義ファイルがありません。"
                                     "Debian パッケージ %1 をインストールして下さい。")
                          .arg(LabelTemplates::packageName()));
        return ExitCode::BadInput;
    }
    const LabelTemplates::Product* product = catalog.find(options.sheet);
    if (!product) {
        const LabelTemplates::Fit why = catalog.rejection(options.sheet);
        QString message = why == LabelTemplates::Fit::Ok
            ? QStringLiteral("--sheet \"%1\": その名前の用紙はありません。").arg(options.sheet)
            : QStringLiteral("--sheet \"%1\": この用紙には印刷できません（%2）。").arg(options.sheet, LabelTemplates::fitText(why));
        const QStringList near = catalog.closest(options.sheet);
        if (!near.isEmpty())
            message += QStringLiteral("\n近い用紙: ") + near.join(QStringLiteral(", "));
        console.error(message);
        return ExitCode::BadInput;
    }
    job.settings().labelSheet = product->sheet;
    return ExitCode::Ok;
}

int RunLabelCommand(const CliOptions& options, CliConsole& console)
{
    BatchJob job(options, console);
    int status = job.load();
    if (status != ExitCode::Ok)
        return status;
    status = ApplySheetOption(job, options, console);
    if (status != ExitCode::Ok)
        return status;
    status = CheckStartCell(job, options, console);
    if (status != ExitCode::Ok)
        return status;
    status = job.chooseRecords();
    if (status != ExitCode::Ok)
        return status;
    job.warnAboutFaces(job.settings().labelFields);
    job.warnAboutPicture(job.settings().labelImage);

    LayoutOpening opening;
    const LabelRun run(BatchLabelSnapshot(job, options, &opening));
    // A sheet chosen by name is a change of the sheet: refused where the fields do not fit.
    if (!options.sheet.isEmpty() && opening.sheet.tooSmall) {
        console.error(QStringLiteral("--sheet \"%1\": %2").arg(options.sheet, LabelGeometry::refusalMessage()));
        return ExitCode::BadInput;
    }
    // The form says this once when it opens; the sheets are printed as it would then show them.
    job.tellOpening(opening);
    status = job.reportCheck(run);
    if (status != ExitCode::Ok)
        return status;
    TplPrev engine;
    return job.print(engine, run);
}
