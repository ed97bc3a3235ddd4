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

// The automatic choice of the encoding on the lists it is made for, with the figures it
// decided by: one row per list (time of the check, and counters: utf8 = the decision,
// mb = multi-byte characters read as UTF-8, bad = bytes that are not UTF-8, ja / other =
// multi-byte characters that do / do not belong in Japanese text).
enum class Sample {
    Example,
    ShiftJis10k,
    HalfWidthKana,
    HalfWidthKanaWithLatin,
    HalfWidthKanaValidUtf8,
    HalfWidthKanaValidUtf8WithLatin,
    Utf8,
    Utf8WithMark,
    Utf8Cut,
    Utf8TwoStray,
    Utf8DamagedPerMille,
    MixedMostlyUtf8,
    MixedHalf,
    AsciiOnly,
    Count
};

const char* sampleName(Sample s)
{
    switch (s) {
    case Sample::Example: return "example list (Shift-JIS, 30 records)";
    case Sample::ShiftJis10k: return "Shift-JIS, 10,000 records";
    case Sample::HalfWidthKana: return "Shift-JIS half-width katakana, 1,000 records";
    case Sample::HalfWidthKanaWithLatin: return "Shift-JIS half-width katakana beside Latin letters, 1,000 records";
    case Sample::HalfWidthKanaValidUtf8: return "Shift-JIS half-width katakana that is all valid UTF-8, 1,000 records";
    case Sample::HalfWidthKanaValidUtf8WithLatin:
        return "the same beside Latin letters, 1,000 records";
    case Sample::Utf8: return "UTF-8 without mark, 10,000 records";
    case Sample::Utf8WithMark: return "UTF-8 with mark, 10,000 records";
    case Sample::Utf8Cut: return "UTF-8 cut inside its last character";
    case Sample::Utf8TwoStray: return "UTF-8 with two stray bytes";
    case Sample::Utf8DamagedPerMille: return "UTF-8 with one stray byte per 40 records";
    case Sample::MixedMostlyUtf8: return "UTF-8 with 10 Shift-JIS records of 10,000";
    case Sample::MixedHalf: return "half UTF-8, half Shift-JIS records";
    case Sample::AsciiOnly: return "ASCII only, 10,000 records";
    default: return "";
    }
}

// Records as address lists hold them: kanji, kana, full-width digits and hyphens, enclosed
// numbers, a wave dash, half-width katakana in a company's reading.
QString varied(int i)
{
    static const char16_t* const names[] = { u"山本　健太郎", u"佐々木　美穂", u"株式会社みなと商会", u"髙橋　誠",
                                             u"渡邊　さくら", u"ｶ)ﾐﾅﾄｼｮｳｶｲ", u"斉藤　①郎" };
    static const char16_t* const places[] = { u"東京都世田谷区桜新町２－１２－３", u"大阪府大阪市北区梅田一丁目１番地",
                                              u"北海道札幌市中央区北一条西２丁目", u"福岡県福岡市博多区博多駅前３～５" };
    return QStringLiteral("\"%1-%2\",\"%3\",\"%4号室\",\"%5\",\"\",\"%1%2-%6\",\"様\"\r\n")
        .arg(100 + i % 900, 3, 10, QLatin1Char('0'))
        .arg(i % 10000, 4, 10, QLatin1Char('0'))
        .arg(QString::fromUtf16(places[i % 4]))
        .arg(i % 500 + 101)
        .arg(QString::fromUtf16(names[i % 7]))
        .arg(i % 30 + 1);
}

QString halfWidth(int i, bool latin)
{
    static const char16_t* const names[] = { u"ﾔﾏﾓﾄ ｹﾝﾀﾛｳ", u"ｻｻｷ ﾐﾎ", u"ﾀｶﾊｼ ﾏｺﾄ", u"ﾃｱﾄﾞﾙ ｶｽﾞｵ" };
    static const char16_t* const latinNames[] = { u"NTTﾃｸﾉ", u"ABCﾃｱﾗｲﾌ", u"Mr.ﾁｬｰﾙｽﾞ", u"TOKYOﾃﾞﾝｷ" };
    return QStringLiteral("%1-%2,ﾄｳｷｮｳﾄ ｾﾀｶﾞﾔｸ %3-%4,%5,ｻﾏ\r\n")
        .arg(100 + i % 900, 3, 10, QLatin1Char('0'))
        .arg(i % 10000, 4, 10, QLatin1Char('0'))
        .arg(i % 9 + 1)
        .arg(i % 30 + 1)
        .arg(QString::fromUtf16(latin ? latinNames[i % 4] : names[i % 4]));
}

QByteArray sampleBytes(Sample s)
{
    QStringEncoder sjis("windows-31j");
    auto list = [](int n, QString (*record)(int)) {
        QString t = QStringLiteral("郵便番号,住所1,住所2,氏名,連名,カスタマバーコード,敬称\r\n");
        for (int i = 0; i < n; ++i)
            t += record(i);
        return t;
    };
    switch (s) {
    case Sample::Example: {
        QFile f(QStringLiteral(TOVALIN_SOURCE_DIR "/examples/addresses.csv"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    case Sample::ShiftJis10k: return sjis(list(10000, varied));
    case Sample::HalfWidthKana:
        return sjis(list(1000, [](int i) { return halfWidth(i, false); }));
    case Sample::HalfWidthKanaWithLatin:
        return sjis(list(1000, [](int i) { return halfWidth(i, true); }));
    case Sample::HalfWidthKanaValidUtf8:
    case Sample::HalfWidthKanaValidUtf8WithLatin: {
        // Only kana pairs whose bytes are a two-byte UTF-8 character (ﾃｱ = C3 B1 "ñ").
        const bool latin = s == Sample::HalfWidthKanaValidUtf8WithLatin;
        QByteArray b;
        for (int i = 0; i < 1000; ++i) {
            b += QByteArray::number(100 + i % 900) + '-' + QByteArray::number(1000 + i) + ',';
            b += sjis(latin ? u"NTTﾃｱ ﾄｳ,ABﾅｶ ﾐｷ\r\n" : u"ﾃｱ ﾄｳ,ﾅｶ ﾐｷ\r\n");
        }
        return b;
    }
    case Sample::Utf8: return list(10000, varied).toUtf8();
    case Sample::Utf8WithMark: return "\xEF\xBB\xBF" + list(10000, varied).toUtf8();
    case Sample::Utf8Cut: {
        QByteArray b = list(10000, varied).toUtf8();
        b.chop(2 + 1 + 2); // line end, closing quote and two bytes of the last "様"
        return b;
    }
    case Sample::Utf8TwoStray: {
        QByteArray b = list(10000, varied).toUtf8();
        b.insert(b.size() / 3, '\xB1');
        b.insert(2 * b.size() / 3, '\xFE');
        return b;
    }
    case Sample::Utf8DamagedPerMille: {
        QByteArray b = list(10000, varied).toUtf8();
        for (int k = 1; k <= 250; ++k)
            b.insert(b.indexOf(',', qsizetype(b.size()) * k / 251), '\x95');
        return b;
    }
    case Sample::MixedMostlyUtf8: {
        QByteArray b;
        for (int i = 0; i < 10000; ++i)
            b += i % 1000 == 999 ? sjis(varied(i)) : varied(i).toUtf8();
        return b;
    }
    case Sample::MixedHalf: {
        QByteArray b;
        for (int i = 0; i < 10000; ++i)
            b += i % 2 ? sjis(varied(i)) : varied(i).toUtf8();
        return b;
    }
    case Sample::AsciiOnly: {
        QByteArray b;
        for (int i = 0; i < 10000; ++i)
            b += QByteArray("\"100-0001\",\"1-1 Chiyoda, Chiyoda-ku, Tokyo\",\"\",\"Taro Yamada\",\"\",\"\",\"Mr.\"\r\n");
        return b;
    }
    default: return QByteArray();
    }
}

void BM_CsvEncodingCheck(benchmark::State& state)
{
    const auto sample = Sample(state.range(0));
    const QByteArray bytes = sampleBytes(sample);
    CsvEncodingCheck check;
    for (auto _ : state) {
        check = CheckCsvEncoding(bytes);
        benchmark::DoNotOptimize(check.decision);
    }
    state.counters["KB"] = double(bytes.size()) / 1e3;
    state.counters["utf8"] = check.decision == CsvEncoding::Utf8 ? 1 : 0;
    state.counters["mb"] = double(check.multiByte);
    state.counters["bad"] = double(check.badBytes);
    state.counters["ja"] = double(check.japanese);
    state.counters["other"] = double(check.other);
    state.SetLabel(sampleName(sample));
}
BENCHMARK(BM_CsvEncodingCheck)->DenseRange(0, int(Sample::Count) - 1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmain::prepare();
    QCoreApplication app(argc, argv);
    return benchmain::run(argc, argv);
}
