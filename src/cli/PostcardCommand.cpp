#include "cli/PostcardCommand.h"

#include "cli/BatchJob.h"
#include "postcard/PostcardComposer.h"
#include "postcard/PostcardRun.h"
#include "preview/TplPrev.h"

PostcardSnapshot BatchPostcardSnapshot(const BatchJob& job, LayoutOpening* opening)
{
    PostcardSnapshot s = PostcardSnapshot::fromSettings(job.settings(), job.records(), job.honorific(), opening);
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

    LayoutOpening opening;
    const PostcardRun run(BatchPostcardSnapshot(job, &opening));
    // The form says this once when it opens; the cards are printed as it would then show them.
    job.tellOpening(opening);
    status = job.reportCheck(run);
    if (status != ExitCode::Ok)
        return status;
    TplPrev engine;
    return job.print(engine, run);
}
