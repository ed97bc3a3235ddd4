#include "cli/PostcardCommand.h"

#include "cli/BatchJob.h"
#include "postcard/PostcardComposer.h"
#include "preview/TplPrev.h"

PostcardSnapshot BatchPostcardSnapshot(const BatchJob& job, const CliOptions& options)
{
    PostcardSnapshot s = PostcardSnapshot::fromSettings(job.settings(), job.records(), job.honorific());
    if (options.record > 0) {
        // As "表示宛名のみ印刷" with that record on screen.
        s.printOnlyShown = true;
        s.shownRecord = options.record - 1;
    }
    return s;
}

int RunPostcardCommand(const CliOptions& options, CliConsole& console)
{
    BatchJob job(options, console);
    int status = job.load();
    if (status != ExitCode::Ok)
        return status;
    status = job.checkRecordOption();
    if (status != ExitCode::Ok)
        return status;
    job.warnAboutFaces(job.settings().postcardFields);
    job.warnAboutPicture(job.settings().postcardImage);

    const PostcardSnapshot snapshot = BatchPostcardSnapshot(job, options);
    QVector<int> printed;
    for (int page = 1; page <= snapshot.pageCount(); ++page)
        printed << snapshot.recordForPage(page);
    job.warnAboutBarcodes(snapshot, BarcodePiece { true, 1000, 1480 }, printed);
    status = job.reportCheck(CheckPostcardRun(snapshot));
    if (status != ExitCode::Ok)
        return status;
    TplPrev engine;
    engine.setTitle(QStringLiteral("ハガキ宛名印刷"));
    engine.setPageCount(snapshot.pageCount());
    const BatchPaper postcard { 1000, 1480, FormPaper::Postcard };
    return job.print(engine, QStringLiteral("plSetPrinter1"), postcard,
                     [&engine, &snapshot] { DrawPostcardPage(engine, snapshot); });
}
