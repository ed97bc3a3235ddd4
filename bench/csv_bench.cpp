// Reading a 100,000-record address list (about 10 MB) into records and taking every mapped
// field of every record: code page 932 as lists have always been read, and the same list in
// UTF-8 read with quoting on, with a byte-order mark as spreadsheets write it and without
// one. All let the encoding be decided from the bytes, as a fresh settings file does.

#include "BenchMain.h"

#include "app/AppSettings.h"
#include "app/CsvSource.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

namespace {

enum class ListBytes { ShiftJis, Utf8WithMark, Utf8 };

QString makeList(const QTemporaryDir& dir, int records, ListBytes kind = ListBytes::ShiftJis)
{
    const QString path = dir.filePath("list.csv");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    QStringEncoder enc(kind == ListBytes::ShiftJis ? "windows-31j" : "UTF-8");
    if (kind == ListBytes::Utf8WithMark)
        f.write("\xEF\xBB\xBF");
    f.write(enc(QStringLiteral("郵便番号,住所１,住所２,氏名１,氏名２,バーコード,敬称\r\n")));
    for (int i = 0; i < records; ++i) {
        const QString line = QStringLiteral("%1-%2,東京都千代田区千代田%3丁目%4番地,グランドメゾン千代田%5号室,"
                                            "\"山田太郎%6\",山田花子,1000001-%3-%4,様\r\n")
                                 .arg(100 + i % 900, 3, 10, QLatin1Char('0'))
                                 .arg(i % 10000, 4, 10, QLatin1Char('0'))
                                 .arg(i % 9 + 1)
                                 .arg(i % 30 + 1)
                                 .arg(i % 1000)
                                 .arg(i);
        f.write(enc(line));
    }
    return path;
}

void BM_CsvLoadAndFields(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = makeList(dir, 100000);
    CsvColumnMap map;
    map.hasHeader = true;
    map.textDelimiter = QStringLiteral("\"");
    const int columns[7] = { 1, 2, 3, 4, 5, 6, 7 };
    qint64 bytes = QFileInfo(path).size();
    for (auto _ : state) {
        const QStringList records = CsvRecordLines(ReadCsvLines(path), map.hasHeader);
        qsizetype total = 0;
        for (const QString& line : records) {
            for (int c : columns)
                total += CsvField(line, c, map.textDelimiter).size();
        }
        benchmark::DoNotOptimize(total);
        state.counters["records"] = double(records.size());
    }
    state.counters["MB"] = double(bytes) / 1e6;
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_CsvLoadAndFields)->Unit(benchmark::kMillisecond);

void BM_CsvReadLinesOnly(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = makeList(dir, 100000);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadCsvLines(path).size());
}
BENCHMARK(BM_CsvReadLinesOnly)->Unit(benchmark::kMillisecond);

// Records and all seven fields in one pass per record, as the forms and tovalin-print take
// them: arg 0 is the code page 932 list without quoting, args 1 and 2 the UTF-8 list with
// quoting, with and without a byte-order mark.
void BM_CsvRecordsAndFields(benchmark::State& state)
{
    const auto kind = ListBytes(state.range(0));
    const bool utf8Quoted = kind != ListBytes::ShiftJis;
    QTemporaryDir dir;
    const QString path = makeList(dir, 100000, kind);
    CsvColumnMap map;
    map.hasHeader = true;
    map.textDelimiter = QStringLiteral("\"");
    map.quoted = utf8Quoted;
    const CsvFormat format = CsvFormat::of(map);
    for (auto _ : state) {
        CsvReadInfo info;
        const QStringList records = CsvRecordLines(ReadCsvLines(path, format, &info), map.hasHeader);
        qsizetype total = 0;
        for (const QString& record : records) {
            for (const QString& field : CsvFields(record, format))
                total += field.size();
        }
        benchmark::DoNotOptimize(total);
        state.counters["records"] = double(records.size());
        state.counters["utf8"] = info.encoding == CsvEncoding::Utf8 ? 1 : 0;
    }
    state.SetLabel(kind == ListBytes::ShiftJis       ? "Shift-JIS, quoting off"
                   : kind == ListBytes::Utf8WithMark ? "UTF-8 with mark, quoting on"
                                                     : "UTF-8, quoting on");
}
BENCHMARK(BM_CsvRecordsAndFields)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmain::prepare();
    QCoreApplication app(argc, argv);
    return benchmain::run(argc, argv);
}
