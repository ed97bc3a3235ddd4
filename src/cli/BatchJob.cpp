#include "cli/BatchJob.h"

#include "app/CsvSource.h"
#include "app/ReadinessCheck.h"
#include "layout/LayoutDocument.h"
#include "platform/AppPaths.h"
#include "platform/JapaneseFonts.h"
#include "platform/SystemPrinter.h"
#include "preview/TplSetPrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

#include <atomic>
#include <csignal>
#include <stdexcept>

namespace {

std::atomic<bool> g_interrupted { false };

extern "C" void onInterrupt(int)
{
    g_interrupted = true;
}

// Ctrl+C during a run: the page under way ends, the job is withdrawn whole (a PDF file is
// removed, a printer job cancelled) and the program ends with a message.
class InterruptScope {
public:
    InterruptScope()
    {
        g_interrupted = false;
        m_previous = std::signal(SIGINT, onInterrupt);
        m_previousTerm = std::signal(SIGTERM, onInterrupt);
    }
    ~InterruptScope()
    {
        std::signal(SIGINT, m_previous);
        std::signal(SIGTERM, m_previousTerm);
    }
    InterruptScope(const InterruptScope&) = delete;
    InterruptScope& operator=(const InterruptScope&) = delete;

private:
    void (*m_previous)(int) = SIG_DFL;
    void (*m_previousTerm)(int) = SIG_DFL;
};

struct Interrupted : std::runtime_error {
    Interrupted() : std::runtime_error("interrupted") { }
};

} // namespace

BatchJob::BatchJob(const CliOptions& options, CliConsole& console) : m_options(options), m_console(console) { }

BatchJob::~BatchJob() = default;

QString BatchJob::resolveAgainst(const QString& dir, const QString& fileName)
{
    if (fileName.trimmed().isEmpty() || QFileInfo(fileName).isAbsolute())
        return fileName;
    return QDir::cleanPath(QDir(dir).absoluteFilePath(fileName));
}

int BatchJob::load()
{
    m_dir = m_options.settingsDir.isEmpty() ? AppPaths::settingsDirectory()
                                            : AppPaths::withTrailingSeparator(m_options.settingsDir);
    if (!QFileInfo(m_dir).isDir()) {
        m_console.error(QStringLiteral("設定フォルダがありません: %1").arg(QDir::toNativeSeparators(m_dir)));
        return ExitCode::BadInput;
    }
    const QString ini = QDir(m_dir).filePath(settingsFileName());
    // The batch printer never makes a settings file of its own: without one there is no layout.
    if (!QFileInfo(ini).isFile()) {
        m_console.error(Messages::twoLines(QStringLiteral("設定ファイルがありません: %1").arg(QDir::toNativeSeparators(ini)),
                                           QStringLiteral("宛名印刷の初期設定を済ませるか、--settings で設定フォルダを指定して下さい。")));
        return ExitCode::BadInput;
    }
    if (!LoadSettings(m_settings, ini)) {
        m_console.error(QStringLiteral("設定ファイルを読み込めません: %1").arg(QDir::toNativeSeparators(ini)));
        return ExitCode::BadInput;
    }
    m_settings.csv.fileName = resolveAgainst(m_dir, m_settings.csv.fileName);
    if (m_options.encodingGiven)
        m_settings.csv.encoding = m_options.encoding;
    m_settings.postcardImage.path = resolveAgainst(m_dir, m_settings.postcardImage.path);
    m_settings.labelImage.path = resolveAgainst(m_dir, m_settings.labelImage.path);

    // The list is read once: checked as the desktop program checks it, then printed.
    CsvReadInfo info;
    const QStringList lines = ReadCsvLines(m_settings.csv.fileName, CsvFormat::of(m_settings.csv), &info);
    const ReadinessResult ready = CheckReadiness(m_settings.csv, lines, info);
    if (!ready.ready()) {
        m_console.error(ready.message);
        return ExitCode::BadInput;
    }
    m_records = CsvRecordLines(lines, m_settings.csv.hasHeader);
    if (info.badBytes > 0)
        m_console.error(QStringLiteral("CSVファイルに %1 として読めない文字が %2 か所あります（最初は %3 行目）。「�」で印刷します。")
                            .arg(info.encoding == CsvEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Shift-JIS"))
                            .arg(info.badBytes)
                            .arg(info.firstBadLine + 1));
    return ExitCode::Ok;
}

HonorificChoice BatchJob::honorific() const
{
    if (m_options.honorificGiven)
        return HonorificChoice { false, m_options.honorific };
    // The form opens with "登録されている敬称を使用" checked and "様" in the combo box.
    return HonorificChoice { true, QStringLiteral("様") };
}

int BatchJob::chooseRecords()
{
    const int listSize = int(m_records.size());
    RecordChoice chosen;
    QString option;
    QString list;
    if (m_options.record > 0) {
        option = QStringLiteral("--record");
        list = QString::number(m_options.record);
    } else if (!m_options.records.isEmpty()) {
        option = QStringLiteral("--records");
        list = m_options.records;
    }
    QString note;
    if (!option.isEmpty()) // the parser has read the list already; here it meets the list's length
        chosen = RecordRanges::parse(list).choose(listSize, &note);
    const int named = chosen.count(listSize);
    if (!note.isEmpty() && named > 0)
        m_console.error(QStringLiteral("%1 %2: %3").arg(option, list, note));
    const CsvColumnMap& csv = m_settings.csv;
    const bool byColumn = !m_options.all && csv.selNo > 0;
    if (byColumn) {
        if (SelectionColumnMissing(m_records, csv))
            m_console.error(QStringLiteral("「印刷対象」の %1 列目がどの宛名にもありません（どの宛名にも印が無いものとします）。")
                                .arg(csv.selNo));
        chosen = chosen.intersected(ChoiceByColumn(m_records, csv));
    }
    if (chosen.count(listSize) > 0) {
        m_choice = chosen;
        return ExitCode::Ok;
    }
    QString why;
    if (named == 0)
        why = QStringLiteral("%1 %2 の宛名はありません（宛名は %3 件です）。").arg(option, list).arg(listSize);
    else
        why = QStringLiteral("「印刷対象」の列（%1 列目: %2）で、選ばれた宛名がすべて除かれました。--all でこの列を使わずに印刷します。")
                  .arg(csv.selNo)
                  .arg(csv.selMode == 1 ? QStringLiteral("印がある宛名を除外") : QStringLiteral("印がある宛名を印刷"));
    m_console.error(Messages::twoLines(QStringLiteral("印刷する宛名がありません。"), why));
    return ExitCode::BadInput;
}

void BatchJob::warnAboutFaces(const FieldStyles& fields) const
{
    const QStringList listed = JapaneseFonts::faceList(false, false);
    QStringList told;
    for (const FieldStyle& f : fields) {
        if (!f.visible)
            continue;
        const QString base = JapaneseFonts::baseFace(f.fontName);
        if (base.trimmed().isEmpty() || told.contains(base) || listed.contains(base)
            || !QFont::substitutes(base).isEmpty() || QFontDatabase::hasFamily(base))
            continue;
        told << base;
        m_console.error(QStringLiteral("フォント「%1」はインストールされていません。「%2」で印刷します。")
                            .arg(base, JapaneseFonts::resolveFamily(f.fontName)));
    }
}

void BatchJob::warnAboutPicture(const ImageBox& picture) const
{
    if (picture.path.trimmed().isEmpty() || QFileInfo(picture.path).isFile())
        return;
    m_console.error(QStringLiteral("画像ファイルがありません。画像なしで印刷します: %1").arg(QDir::toNativeSeparators(picture.path)));
}

void BatchJob::tellOpening(const LayoutOpening& opening) const
{
    if (!opening.isEmpty())
        m_console.error(opening.message().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

int BatchJob::reportCheck(const PrintRun& run) const
{
    const QStringList lines = run.checkBeforePrinting();
    for (const QString& line : lines)
        m_console.error(line);
    if (lines.isEmpty() || !m_options.strict)
        return ExitCode::Ok;
    m_console.error(QStringLiteral("--strict: 印刷前の確認で見つかったことがあるため、何も印刷しません。"));
    return ExitCode::BadInput;
}

int BatchJob::choosePrinter(const QString& component, const RunPaper& paper)
{
    SystemPrinter& sp = SystemPrinter::instance();
    sp.refresh();
    QStringList names;
    for (const PrinterEntry& p : sp.printers()) {
        if (!p.hidden())
            names << p.name;
    }
    const QString none = QStringLiteral("プリンタがありません。");
    const QString orPdf = QStringLiteral("--output で PDF ファイルに書き出せます。");
    m_printer = std::make_unique<TplSetPrinter>(component);
    if (!m_options.printer.isEmpty()) {
        QString found;
        for (const QString& n : names) {
            if (n.compare(m_options.printer, Qt::CaseInsensitive) == 0)
                found = n;
        }
        if (found.isEmpty()) {
            m_console.error(Messages::twoLines(QStringLiteral("プリンタ「%1」が見つかりません。").arg(m_options.printer),
                                               names.isEmpty() ? none + orPdf
                                                               : QStringLiteral("使えるプリンタ: %1").arg(names.join(QStringLiteral(", ")))));
            return ExitCode::BadInput;
        }
        m_printer->setPrinterName(found);
        // A printer named on the command line gets the run's paper when its driver has it.
        if (!FormPapers::choose(*m_printer, paper.form))
            m_console.error(QStringLiteral("プリンタ「%1」には%2の用紙がありません。プリンタの用紙 %3 に印刷します。")
                                .arg(found, FormPapers::name(paper.form), m_printer->PaperName()));
        return ExitCode::Ok;
    }
    if (names.isEmpty()) {
        m_console.error(Messages::twoLines(none, orPdf));
        return ExitCode::Failure;
    }
    // As the form: the default printer, then the form's printer file when there is one.
    sp.setPrinterIndex(-1);
    m_printer->setPrinterName(sp.printerName());
    const QString file = QDir(m_dir).filePath(component + QStringLiteral(".plv"));
    const bool stored = QFileInfo(file).isFile();
    if (stored && !m_printer->loadFromFile(file)) {
        m_console.error(QStringLiteral("プリンタ設定ファイルを読み込めません（%1）。通常使うプリンタに印刷します: %2")
                            .arg(m_printer->errorString(), QDir::toNativeSeparators(file)));
        m_printer = std::make_unique<TplSetPrinter>(component);
        m_printer->setPrinterName(sp.printerName());
    }
    // Without a printer file of the form's, the form's paper, as the form itself chooses it.
    if (!stored)
        FormPapers::choose(*m_printer, paper.form);
    const QString wrong = FormPapers::mismatch(*m_printer, paper.form);
    if (!wrong.isEmpty())
        m_console.error(QStringLiteral("プリンタ「%1」の%2そのまま印刷します。").arg(m_printer->PrinterName(), wrong));
    return ExitCode::Ok;
}

int BatchJob::print(TplPrev& engine, const PrintRun& run)
{
    const RunPaper paper = run.paper();
    run.prepare(engine);
    if (!m_options.output.isEmpty()) {
        const QFileInfo out(m_options.output);
        if (!out.absoluteDir().exists()) {
            m_console.error(QStringLiteral("出力ファイルを作れません: %1").arg(QDir::toNativeSeparators(m_options.output)));
            return ExitCode::BadInput;
        }
        // A folder of that name cannot be written as a file.
        if (out.isDir()) {
            m_console.error(QStringLiteral("出力ファイルを作れません（フォルダです）: %1").arg(QDir::toNativeSeparators(m_options.output)));
            return ExitCode::Failure;
        }
        engine.setPlSetPrinter(nullptr);
        engine.setFileSheet(paper.width, paper.height);
    } else {
        const int chosen = choosePrinter(run.printerComponent(), paper);
        if (chosen != ExitCode::Ok)
            return chosen;
        engine.setPlSetPrinter(m_printer.get());
    }
    if (!engine.BeginPreview([&engine, &run] { run.drawPage(engine); }))
        return ExitCode::Failure;

    const int pages = engine.PageCount();
    engine.OnPrint = [this, pages](QObject*, int page) {
        m_console.progress(page, pages);
        if (g_interrupted)
            throw Interrupted();
    };
    bool done = false;
    {
        InterruptScope interrupts;
        try {
            done = m_options.output.isEmpty() ? engine.Print() : engine.PrintToPdf(m_options.output);
        } catch (const Interrupted&) {
            engine.OnPrint = nullptr;
            m_console.error(QStringLiteral("中断しました。何も印刷していません。"));
            return ExitCode::Failure;
        }
    }
    engine.OnPrint = nullptr;
    m_console.endProgress();
    return done ? ExitCode::Ok : ExitCode::Failure;
}
