#include "cli/PostcardCommand.h"

#include "cli/BatchJob.h"
#include "postcard/PostcardComposer.h"
#include "preview/TplPrev.h"

PostcardSnapshot BatchPostcardSnapshot(const BatchJob& job)
{
    PostcardSnapshot s = PostcardSnapshot::fromSettings(job.settings(), job.records(), job.honorific());
    s.choice = job.choice();
    return s;
}

int RunPostcardCommand(const CliOptions& options, CliConsole& console)
{
    BatchJob job(options, console);
    int status = job.load();
    if (status != ExitCode::Ok)
        return status;
    status = job.chooseRecords();
    if (status != ExitCode::Ok)
        return status;
    job.warnAboutFaces(job.settings().postcardFields);
    job.warnAboutPicture(job.settings().postcardImage);

    const PostcardSnapshot snapshot = BatchPostcardSnapshot(job);
    job.warnAboutBarcodes(snapshot, BarcodePiece { true, 1000, 1480 }, snapshot.printedRecords());
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
