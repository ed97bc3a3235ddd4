// The address list: the file's lines as ReadCsvLines gives them, the record lines, every field
// of every line, and the check before printing on the result. The first bytes choose the column
// mapping and the text delimiter; the rest is the file.

#include "FuzzSupport.h"

#include "app/CsvSource.h"
#include "app/ReadinessCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    CsvColumnMap map;
    const uint8_t choice = in.byte();
    map.hasHeader = choice & 1;
    static const char16_t* const kDelimiters[] = { u"", u"\"", u"'", u" \" ", u"\"\"" };
    map.textDelimiter = QString::fromUtf16(kDelimiters[(choice >> 1) % 5]);
    int* const columns[] = { &map.postNo, &map.adr1No, &map.adr2No, &map.mei1No, &map.mei2No, &map.cbarNo, &map.keisNo };
    for (int* c : columns)
        *c = int(in.byte() % 12) - 1;
    map.fileName = fuzz::scratchFile(QStringLiteral("addresses.csv"));
    const QByteArray file = in.rest();
    fuzz::writeFile(map.fileName, file);

    CsvReadInfo info;
    const QStringList lines = ReadCsvLines(map.fileName, &info);
    FUZZ_CHECK(info.status == CsvReadInfo::Ok);
    FUZZ_CHECK((info.badBytes == 0) == (info.firstBadLine < 0));
    FUZZ_CHECK(info.firstBadLine < lines.size());
    qsizetype replacements = 0;
    for (const QString& line : lines) {
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n') && !line.contains(QChar(0)));
        replacements += line.count(QChar(0xFFFD));
    }
    // Every byte that is not code page 932 became exactly one replacement character.
    FUZZ_CHECK(replacements == info.badBytes);

    const QStringList records = CsvRecordLines(lines, map.hasHeader);
    FUZZ_CHECK(records.size() == qMax<qsizetype>(0, lines.size() - (map.hasHeader ? 1 : 0)));

    for (const QString& line : lines) {
        const int count = CsvFieldCount(line);
        const QStringList fields = CsvFields(line, map.textDelimiter);
        FUZZ_CHECK(fields.size() == count);
        // The field-by-field function agrees with the one-pass split (a long line is sampled:
        // each call walks the line from its start).
        for (int n = -1; n <= count + 1; ++n) {
            if (n > 8 && n < count - 2)
                continue;
            const QString f = CsvField(line, n, map.textDelimiter);
            if (n >= 1 && n <= count)
                FUZZ_CHECK(f == fields.at(n - 1));
            else
                FUZZ_CHECK(f == QStringLiteral(" "));
        }
        // Without a delimiter nothing is taken away: the fields put back together are the line.
        if (EffectiveCsvDelimiter(map.textDelimiter).isEmpty() && count > 0) {
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
            FUZZ_CHECK(*c <= CsvFieldCount(records.first()));
    } else if (ready.status == ReadinessResult::Empty) {
        FUZZ_CHECK(records.isEmpty());
    }
    return 0;
}
