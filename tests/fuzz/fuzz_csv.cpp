// The address list: the file's records as ReadCsvLines gives them (in each encoding choice,
// with and without quoting), the record lines, every field of every record, and the check
// before printing on the result. The first bytes choose the format and the column mapping;
// the rest is the file.

#include "FuzzSupport.h"

#include "app/CsvSource.h"
#include "app/ReadinessCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    CsvColumnMap map;
    const uint8_t choice = in.byte();
    map.hasHeader = choice & 1;
    // "|" and "\" are second bytes of double-byte characters in code page 932.
    static const char16_t* const kDelimiters[] = { u"", u"\"", u"'", u" \" ", u"\"\"", u"|", u"\\", u"," };
    map.textDelimiter = QString::fromUtf16(kDelimiters[(choice >> 1) % 8]);
    map.quoted = choice & 0x10;
    map.encoding = CsvEncoding((choice >> 5) % 3);
    int* const columns[] = { &map.postNo, &map.adr1No, &map.adr2No, &map.mei1No, &map.mei2No, &map.cbarNo, &map.keisNo };
    for (int* c : columns)
        *c = int(in.byte() % 12) - 1;
    map.fileName = fuzz::scratchFile(QStringLiteral("addresses.csv"));
    const QByteArray file = in.rest();
    fuzz::writeFile(map.fileName, file);
    const CsvFormat format = CsvFormat::of(map);

    CsvReadInfo info;
    const QStringList lines = ReadCsvLines(map.fileName, format, &info);
    FUZZ_CHECK(info.status == CsvReadInfo::Ok);
    FUZZ_CHECK(info.encoding != CsvEncoding::Auto);
    // The automatic choice reads the list as the check of its bytes decides.
    FUZZ_CHECK(info.encoding == DecideCsvEncoding(file, map.encoding));
    // The same bytes in memory give the same records.
    CsvReadInfo memoryInfo;
    FUZZ_CHECK(SplitCsvLines(file, format, &memoryInfo) == lines);
    FUZZ_CHECK(memoryInfo.badBytes == info.badBytes && memoryInfo.firstBadLine == info.firstBadLine);
    FUZZ_CHECK((info.badBytes == 0) == (info.firstBadLine < 0));
    if (!format.quoted)
        FUZZ_CHECK(info.firstBadLine < lines.size());
    qsizetype replacements = 0;
    for (const QString& line : lines) {
        FUZZ_CHECK(!line.contains(QChar(0)));
        if (!format.quoted)
            FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
        replacements += line.count(QChar(0xFFFD));
    }
    // Every bad byte became exactly one replacement character (a UTF-8 list may also hold the
    // replacement character itself; the text ends at the first NUL).
    const QByteArray text = file.left(file.indexOf('\0') < 0 ? file.size() : file.indexOf('\0'));
    const qsizetype literal = info.encoding == CsvEncoding::Utf8 ? text.count("\xEF\xBF\xBD") : 0;
    FUZZ_CHECK(replacements == info.badBytes + literal);

    const QStringList records = CsvRecordLines(lines, map.hasHeader);
    FUZZ_CHECK(records.size() == qMax<qsizetype>(0, lines.size() - (map.hasHeader ? 1 : 0)));

    for (const QString& line : lines) {
        const int count = CsvFieldCount(line, format);
        const QStringList fields = CsvFields(line, format);
        FUZZ_CHECK(fields.size() == count);
        for (const QString& f : fields) {
            // A field is printed on one line.
            FUZZ_CHECK(!f.contains(u'\r') && !f.contains(u'\n'));
        }
        // The field-by-field function agrees with the one-pass split (a long record is
        // sampled: each call walks the record from its start).
        for (int n = -1; n <= count + 1; ++n) {
            if (n > 8 && n < count - 2)
                continue;
            const QString f = CsvField(line, n, format);
            if (n >= 1 && n <= count)
                FUZZ_CHECK(f == fields.at(n - 1));
            else
                FUZZ_CHECK(f == QStringLiteral(" "));
        }
        // Without quoting and a delimiter nothing is taken away: the fields put back together
        // are the line.
        if (!format.quoted && EffectiveCsvDelimiter(map.textDelimiter).isEmpty() && count > 0) {
            QStringList parts = fields;
            if (line.endsWith(u','))
                parts.last().clear();
            FUZZ_CHECK(parts.join(u',') == line);
        }
    }

    const ReadinessResult ready = CheckReadiness(map, lines, info);
    FUZZ_CHECK(ready.ready() == ready.message.isEmpty());
    if (ready.ready()) {
        FUZZ_CHECK(!records.isEmpty());
        for (int* c : columns)
            FUZZ_CHECK(*c <= CsvFieldCount(records.first(), format));
    } else if (ready.status == ReadinessResult::Empty) {
        FUZZ_CHECK(records.isEmpty());
    }
    return 0;
}
