// A hostile POSTCSV.INI as tovalin-print meets it: the settings read from the settings folder,
// the address list checked and read, the postcard and the label layout snapshots built from the
// stored values as the forms open them, the check before printing, and the first postcard and
// the first label sheet drawn by the print runs through the engine. The input is the settings file; the address list
// beside it is a fixed one of three records.

#include "FuzzSupport.h"

#include "cli/BatchJob.h"
#include "cli/LabelCommand.h"
#include "cli/PostcardCommand.h"
#include "label/LabelComposer.h"
#include "label/LabelRun.h"
#include "platform/Cp932.h"
#include "postcard/PostcardComposer.h"
#include "postcard/PostcardRun.h"
#include "preview/TplPrev.h"

#include <QFileInfo>

namespace {

class SilentConsole final : public CliConsole {
public:
    void error(const QString&) override { }
    bool terminal() const override { return false; }
};

// Draws the first page of a run on a sheet of the given size (the others differ only in the
// record they show).
void drawFirstPage(int width, int height, const PrintRun& run)
{
    if (run.pageCount() == 0)
        return;
    TplPrev engine;
    engine.setFileSheet(width, height);
    engine.setPageCount(run.pageCount());
    FUZZ_CHECK(engine.BeginPreview([&engine, &run] { run.drawPage(engine); }));
    engine.setCurrentPage(1);
    FUZZ_CHECK(engine.RenderPage() != nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    const QString ini = fuzz::scratchFile(BatchJob::settingsFileName());
    fuzz::writeFile(ini, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    // The address list a relative CSVNAME finds in the settings folder (absolute names and
    // other relative names find nothing, or a file the fuzzer made itself).
    static bool listWritten = false;
    if (!listWritten) {
        QByteArray list;
        Cp932::encode(QStringLiteral("郵便番号,住所1,住所2,氏名,連名,バーコード,敬称\r\n"
                                     "154-0015,東京都世田谷区桜新町２－１２－３,,山本　健太郎,,1540015,様\r\n"
                                     "100-0001,東京都千代田区千代田１－１,ビル 12F,株式会社みなと商会,総務部 中村 浩二,,御中\r\n"
                                     "060-0001,北海道札幌市中央区北一条西２,,ＡＢＣ　太郎,,,殿\r\n"),
                      &list);
        fuzz::writeFile(fuzz::scratchFile(QStringLiteral("addresses.csv")), list);
        listWritten = true;
    }

    CliOptions options;
    options.settingsDir = QFileInfo(ini).absolutePath();
    SilentConsole console;
    BatchJob job(options, console);
    if (job.load() != ExitCode::Ok || job.chooseRecords() != ExitCode::Ok)
        return 0;
    job.warnAboutPicture(job.settings().postcardImage);

    LayoutOpening postcardOpening;
    const PostcardRun postcard(BatchPostcardSnapshot(job, &postcardOpening));
    FUZZ_CHECK(postcardOpening.isEmpty() == postcardOpening.message().isEmpty());
    FUZZ_CHECK(postcard.pageCount() <= job.records().size());
    (void)CheckPostcardRun(postcard.snapshot());
    drawFirstPage(1000, 1480, postcard);

    if (CheckStartCell(job, options, console) != ExitCode::Ok)
        return 0;
    LayoutOpening labelOpening;
    const LabelRun label(BatchLabelSnapshot(job, options, &labelOpening));
    FUZZ_CHECK(labelOpening.isEmpty() == labelOpening.message().isEmpty());
    FUZZ_CHECK(label.pageCount() >= 1);
    (void)CheckLabelRun(label.snapshot());
    drawFirstPage(LabelGeometry::kSheetWidth, LabelGeometry::kSheetHeight, label);
    return 0;
}
