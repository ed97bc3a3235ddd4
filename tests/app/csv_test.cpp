#include "app/CsvSource.h"

#include "support/TestFiles.h"
#include "support/TestText.h"

#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

TEST(CsvField, FieldsWithoutDelimiter)
{
    struct Case {
        const char16_t* line;
        int n;
        const char16_t* expected;
    } cases[] = {
        { u"a,b,c", 1, u"a" },
        { u"a,b,c", 2, u"b" },
        { u"a,b,c", 3, u"c" },
        { u"a,b,c", 4, u" " },
        { u"a,b,c", 0, u" " },
        { u"a,b,c", -1, u" " },
        { u"", 1, u" " },
        { u"a,,c", 2, u"" },
        { u"a,b,", 3, u" " },
        { u"a,b,", 2, u"b" },
        { u",b", 1, u"" },
        { u" a , b ", 2, u" b " }, // never trimmed
        { u"\"a\",b", 1, u"\"a\"" }, // no delimiter: quotes stay
        { u"abc", 1, u"abc" },
        { u"abc", 2, u" " },
        { u"東京都,千代田区", 2, u"千代田区" },
    };
    for (const auto& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        EXPECT_EQ(CsvField(line, c.n, QString()), QString::fromUtf16(c.expected))
            << line.toStdString() << " #" << c.n;
    }
}

TEST(CsvField, DelimiterRemovedFromTheEndsOnly)
{
    struct Case {
        const char16_t* delimiter;
        const char16_t* line;
        int n;
        const char16_t* expected;
    } cases[] = {
        { u"\"", u"\"abc\",x", 1, u"abc" },
        { u"\"", u"\",x", 1, u"" },              // one quotation mark becomes empty
        { u"\"", u" \"abc\",x", 1, u" \"abc" },  // blank before the quote: only the closing one goes
        { u"\"", u"abc\",x", 1, u"abc" },        // only a closing mark
        { u"\"", u"\"a,b\",x", 1, u"a" },        // a comma inside quotes splits the field
        { u"\"", u"\"a,b\",x", 2, u"b" },
        { u"\"", u"\"a\"\"b\"", 1, u"a\"\"b" },   // doubled marks are not reduced
        { u"\"", u"\"\"", 1, u"" },
        { u"\"", u"a,b,", 3, u" " },             // a missing field stays one blank
        { u"'", u"'abc,x", 1, u"abc" },          // leading apostrophe only
        { u"'", u"'abc',x", 1, u"abc" },
        { u"'", u"\"abc\"", 1, u"\"abc\"" },
        { u" \" ", u"\"abc\"", 1, u"abc" },      // the delimiter is trimmed before use
        { u"\t'\r", u"'abc'", 1, u"abc" },
        { u"\"\"", u"\"abc\"", 1, u"\"abc\"" },  // two characters never match
        { u"", u"\"abc\"", 1, u"\"abc\"" },
        { u"   ", u"\"abc\"", 1, u"\"abc\"" },
    };
    for (const auto& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        EXPECT_EQ(CsvField(line, c.n, QString::fromUtf16(c.delimiter)), QString::fromUtf16(c.expected))
            << line.toStdString() << " #" << c.n << " delimiter <" << QString::fromUtf16(c.delimiter).toStdString() << ">";
    }
}

TEST(CsvField, FieldCount)
{
    struct Case {
        const char16_t* line;
        int count;
    } cases[] = {
        { u"", 0 },
        { u" ", 1 },
        { u"   ", 1 },
        { u"a", 1 },
        { u"a,b,c", 3 },
        { u"a,b,", 3 },
        { u",", 2 },
        { u"\"a,b\"", 2 },
        { u",,,,", 5 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvFieldCount(QString::fromUtf16(c.line)), c.count) << QString::fromUtf16(c.line).toStdString();
}

TEST(CsvField, AllFieldsAgreeWithFieldByField)
{
    // CsvFields is the one-pass form used for long header lines; it must give exactly
    // what CsvField gives for every field number.
    const QChar alphabet[] = { u'a', u',', u'"', u'\'', u' ', u'表', u',', u'"' };
    QRandomGenerator rng(20240101);
    for (int round = 0; round < 3000; ++round) {
        QString line;
        const int len = int(rng.bounded(12));
        for (int i = 0; i < len; ++i)
            line += alphabet[rng.bounded(int(std::size(alphabet)))];
        for (const QString& delim : { QString(), QStringLiteral("\""), QStringLiteral("'") }) {
            const QStringList all = CsvFields(line, delim);
            ASSERT_EQ(all.size(), CsvFieldCount(line)) << line.toStdString();
            for (int k = 1; k <= all.size(); ++k)
                ASSERT_EQ(all.at(k - 1), CsvField(line, k, delim)) << line.toStdString() << " #" << k;
        }
    }
}

TEST(CsvLines, LineEndsNulAndHeader)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        { "CR LF", "a\r\nb\r\n", { "a", "b" } },
        { "lone CR", "a\rb\r", { "a", "b" } },
        { "lone LF", "a\nb\n", { "a", "b" } },
        { "mixed", "a\r\nb\rc\nd", { "a", "b", "c", "d" } },
        { "last line without end", "a\r\nb", { "a", "b" } },
        { "blank lines kept", "a\r\n\r\n\r\nb\r\n", { "a", "", "", "b" } },
        { "LF CR is two ends", "a\n\rb", { "a", "", "b" } },
        { "only an end", "\r\n", { "" } },
        { "empty file", "", {} },
        { "NUL ends the text", QByteArray("a\r\nb\0c\r\nd\r\n", 11), { "a", "b" } },
        { "NUL first", QByteArray("\0a\r\n", 4), {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCsvLines(c.bytes), c.lines) << c.name;

    const QStringList lines { "h1,h2", "a,b", "" };
    EXPECT_EQ(CsvRecordLines(lines, false), lines);
    EXPECT_EQ(CsvRecordLines(lines, true), (QStringList { "a,b", "" }));
    EXPECT_EQ(CsvRecordLines(QStringList { "h" }, true), QStringList());
    EXPECT_EQ(CsvRecordLines(QStringList(), true), QStringList());
}

TEST(CsvLines, ShiftJisFilesAndBadInput)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath("a.csv");

    // Code page 932 text, including a 5C trail byte and half-width katakana.
    ASSERT_TRUE(TestFiles::write(path, "\x97\x58\x95\xd6\x94\xd4\x8d\x86,\x95\x5c\r\n\xb6\xc5\r\n"));
    CsvReadInfo info;
    EXPECT_EQ(ReadCsvLines(path, &info), (QStringList { QStringLiteral("郵便番号,表"), QStringLiteral("ｶﾅ") }));
    EXPECT_EQ(info.status, CsvReadInfo::Ok);
    EXPECT_EQ(info.badBytes, 0);

    // Invalid bytes: replaced one by one, the rest of the text and the lines intact.
    ASSERT_TRUE(TestFiles::write(path, "ok\r\nA\x81 B,\xfd\r\nlast\x82"));
    EXPECT_EQ(ReadCsvLines(path, &info),
              (QStringList { "ok", QStringLiteral("A\uFFFD B,\uFFFD"), QStringLiteral("last\uFFFD") }));
    EXPECT_EQ(info.badBytes, 3);
    EXPECT_EQ(info.firstBadLine, 1);

    // One line of 1 MB.
    QByteArray big(1024 * 1024, 'x');
    big[500000] = ',';
    ASSERT_TRUE(TestFiles::write(path, big));
    const QStringList one = ReadCsvLines(path, &info);
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one.first().size(), big.size());
    EXPECT_EQ(CsvFieldCount(one.first()), 2);
    EXPECT_EQ(CsvField(one.first(), 2, QString()).size(), big.size() - 500001);

    // Missing and unreadable files give no lines and say why.
    EXPECT_TRUE(ReadCsvLines(tmp.filePath("none.csv"), &info).isEmpty());
    EXPECT_EQ(info.status, CsvReadInfo::Missing);
    EXPECT_TRUE(ReadCsvLines(tmp.path(), &info).isEmpty());
    EXPECT_EQ(info.status, CsvReadInfo::Missing);
    EXPECT_TRUE(ReadCsvLines(QString(), &info).isEmpty());
    EXPECT_EQ(info.status, CsvReadInfo::Missing);
}

TEST(CsvLines, UnreadableFile)
{
    // Each way a list cannot be read; the superuser reads files without read permission, so
    // the other ways are the ones that count there (CI runs as root).
    const bool superuser = ::geteuid() == 0;
    enum Setup { NoReadPermission, Folder, OverTheSizeLimit };
    const struct {
        const char* name;
        Setup setup;
        CsvReadInfo::Status status;
    } cases[] = {
        { "no read permission", NoReadPermission, CsvReadInfo::Unreadable },
        { "a folder of that name", Folder, CsvReadInfo::Missing },
        { "over the size limit (sparse, no disk used)", OverTheSizeLimit, CsvReadInfo::TooLarge },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.setup == NoReadPermission && superuser)
            continue;
        QTemporaryDir tmp;
        ASSERT_TRUE(tmp.isValid());
        const QString path = tmp.filePath("a.csv");
        switch (c.setup) {
        case NoReadPermission:
            ASSERT_TRUE(TestFiles::write(path, "a,b\r\n"));
            QFile::setPermissions(path, QFileDevice::Permissions());
            break;
        case Folder:
            ASSERT_TRUE(QDir().mkdir(path));
            break;
        case OverTheSizeLimit: {
            ASSERT_TRUE(TestFiles::write(path, "a,b\r\n"));
            QFile f(path);
            ASSERT_TRUE(f.resize(kMaxCsvBytes + 1));
            break;
        }
        }
        CsvReadInfo info;
        EXPECT_TRUE(ReadCsvLines(path, &info).isEmpty());
        EXPECT_EQ(info.status, c.status);
    }
}

TEST(CsvLines, HundredMegabytesReadWhole)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath("big.csv");
    // 100 MB of records: 1,000,000 lines of 100 bytes.
    QByteArray line = "\x93\x8c\x8b\x9e\x93\x73,";
    line += QByteArray(100 - line.size() - 2, 'a');
    line += "\r\n";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray block;
    for (int i = 0; i < 10000; ++i)
        block += line;
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(f.write(block), block.size());
    f.close();
    CsvReadInfo info;
    const QStringList lines = ReadCsvLines(path, &info);
    EXPECT_EQ(info.status, CsvReadInfo::Ok);
    ASSERT_EQ(lines.size(), 1000000);
    EXPECT_EQ(CsvField(lines.last(), 1, QString()), QStringLiteral("東京都"));
}

// --- encoding ------------------------------------------------------------------------------------

namespace {

using testtext::sjis;
using testtext::u;

QByteArray utf8(const QString& s)
{
    return s.toUtf8();
}

const QByteArray kBom("\xEF\xBB\xBF");

// A Japanese list of n records, as a spreadsheet would write it.
QString japaneseList(int n)
{
    QString text = u(u"郵便番号,住所,氏名,敬称\r\n");
    for (int i = 0; i < n; ++i)
        text += u(u"%1-%2,東京都千代田区千代田%3－%4,山田　太郎%5,様\r\n")
                    .arg(100 + i % 900)
                    .arg(i % 10000, 4, 10, QLatin1Char('0'))
                    .arg(i % 9 + 1)
                    .arg(i % 30 + 1)
                    .arg(i);
    return text;
}

QByteArray exampleList()
{
    QFile f(QStringLiteral(TOVALIN_SOURCE_DIR "/examples/addresses.csv"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(CsvEncoding, AutomaticChoiceTable)
{
    const QString list = japaneseList(20);
    QByteArray cut = utf8(list);
    cut.chop(2 + 2); // the last "様" loses its line end and two of its three bytes
    QByteArray stray = utf8(list);
    stray.insert(stray.indexOf(',', 40), '\xB1');
    QByteArray twoStray = stray;
    twoStray.insert(twoStray.indexOf(',', 200), '\xFE');
    QByteArray manyStray = utf8(japaneseList(2));
    for (int i = 0; i < 4; ++i)
        manyStray.insert(10 + i * 12, '\x95');
    const QByteArray mixedMostlyUtf8 = utf8(japaneseList(10)) + sjis(u(u"100-0001,東京都港区,鈴木　一郎,様\r\n"));
    const QByteArray mixedMostlySjis = sjis(japaneseList(10)) + utf8(u(u"100-0001,東京都港区,鈴木　一郎,様\r\n"));
    // Half-width katakana whose bytes pair up as valid UTF-8 (ﾃｱ = C3 B1 "ñ", ﾄｳ = C4 B3).
    const QByteArray kanaAsLatin = sjis(u(u"ﾃｱ,ﾄｳ\r\nﾃｱ,ﾃｱ\r\n"));
    ASSERT_TRUE(QString::fromUtf8(kanaAsLatin).indexOf(QChar(0xFFFD)) < 0) << "the kana must be valid UTF-8";

    const struct {
        const char* name;
        QByteArray bytes;
        CsvEncoding expected;
    } cases[] = {
        { "the example list", exampleList(), CsvEncoding::ShiftJis },
        { "10,000 records of Shift-JIS", sjis(japaneseList(10000)), CsvEncoding::ShiftJis },
        { "half-width katakana Shift-JIS", sjis(u(u"ﾔﾏﾀﾞ ﾀﾛｳ,ﾄｳｷｮｳﾄ ﾁﾖﾀﾞｸ,ｻﾏ\r\nｽｽﾞｷ ﾊﾅｺ,ｵｵｻｶｼ,ｻﾏ\r\n")),
          CsvEncoding::ShiftJis },
        { "half-width katakana that is valid UTF-8", kanaAsLatin, CsvEncoding::ShiftJis },
        { "UTF-8 with a byte-order mark", kBom + utf8(list), CsvEncoding::Utf8 },
        { "a byte-order mark and nothing else", kBom, CsvEncoding::Utf8 },
        { "UTF-8 without a byte-order mark", utf8(list), CsvEncoding::Utf8 },
        { "UTF-8 cut inside its last character", cut, CsvEncoding::Utf8 },
        { "UTF-8 with a stray byte", stray, CsvEncoding::Utf8 },
        { "UTF-8 with two stray bytes", twoStray, CsvEncoding::Utf8 },
        { "UTF-8 with more bad bytes than damage explains", manyStray, CsvEncoding::ShiftJis },
        { "UTF-8 beyond the basic plane", utf8(u(u"100-0001,東京都,𠮷田　花子\r\n")), CsvEncoding::Utf8 },
        { "UTF-8 accented Latin names", utf8(u(u"Müller,Zürich\r\nJosé,São Paulo\r\n")), CsvEncoding::Utf8 },
        { "ASCII only", QByteArray("100-0001,Tokyo,Yamada\r\n"), CsvEncoding::ShiftJis },
        { "mixed, mostly UTF-8", mixedMostlyUtf8, CsvEncoding::ShiftJis },
        { "mixed, mostly Shift-JIS", mixedMostlySjis, CsvEncoding::ShiftJis },
        { "empty", QByteArray(), CsvEncoding::ShiftJis },
        { "UTF-8 up to a NUL, Shift-JIS after it", utf8(list) + QByteArray(1, '\0') + sjis(list),
          CsvEncoding::Utf8 },
    };
    for (const auto& c : cases) {
        const CsvEncodingCheck check = CheckCsvEncoding(c.bytes);
        EXPECT_EQ(check.decision, c.expected)
            << c.name << ": multi-byte " << check.multiByte << ", bad " << check.badBytes << ", japanese "
            << check.japanese << ", other " << check.other;
        // What the readers use is the same decision, and a choice in the settings overrides it.
        CsvReadInfo info;
        SplitCsvLines(c.bytes, CsvFormat(), &info);
        EXPECT_EQ(info.encoding, c.expected) << c.name;
        EXPECT_EQ(DecideCsvEncoding(c.bytes, CsvEncoding::Auto), c.expected) << c.name;
        EXPECT_EQ(DecideCsvEncoding(c.bytes, CsvEncoding::ShiftJis), CsvEncoding::ShiftJis) << c.name;
        EXPECT_EQ(DecideCsvEncoding(c.bytes, CsvEncoding::Utf8), CsvEncoding::Utf8) << c.name;
    }
}

TEST(CsvEncoding, EveryEncodingReadsTheSameRecords)
{
    const QString list = japaneseList(30) + u(u"100-0002,東京都,髙橋　①号　～ｶﾅ,殿\r\n");
    const QStringList expected = SplitCsvLines(sjis(list));
    ASSERT_EQ(expected.size(), 32);
    ASSERT_EQ(expected.last(), u(u"100-0002,東京都,髙橋　①号　～ｶﾅ,殿"));
    const struct {
        const char* name;
        QByteArray bytes;
        CsvEncoding choice;
    } cases[] = {
        { "Shift-JIS, chosen", sjis(list), CsvEncoding::ShiftJis },
        { "UTF-8, decided", utf8(list), CsvEncoding::Auto },
        { "UTF-8 with a mark, decided", kBom + utf8(list), CsvEncoding::Auto },
        { "UTF-8, chosen", utf8(list), CsvEncoding::Utf8 },
        { "UTF-8 with a mark, chosen", kBom + utf8(list), CsvEncoding::Utf8 },
        { "LF line ends", utf8(QString(list).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))), CsvEncoding::Auto },
    };
    for (const auto& c : cases) {
        CsvFormat format;
        format.encoding = c.choice;
        CsvReadInfo info;
        EXPECT_EQ(SplitCsvLines(c.bytes, format, &info), expected) << c.name;
        EXPECT_EQ(info.badBytes, 0) << c.name;
    }
    // A wrong choice is obeyed: the text is then read as what it was said to be.
    CsvFormat sjisChoice;
    sjisChoice.encoding = CsvEncoding::ShiftJis;
    EXPECT_NE(SplitCsvLines(utf8(list), sjisChoice), expected);
}

TEST(CsvEncoding, DamagedUtf8KeepsEverythingButTheBadBytes)
{
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList lines;
        qsizetype bad;
        int firstBadLine;
    } cases[] = {
        { "cut inside the last character", utf8(u(u"a,東京\r\nb,大阪")).chopped(1),
          { u(u"a,東京"), u(u"b,大\uFFFD\uFFFD") }, 2, 1 },
        { "a stray byte", kBom + "x\r\n" + utf8(u(u"山田")) + "\xB1" + utf8(u(u"太郎")),
          { "x", u(u"山田\uFFFD太郎") }, 1, 1 },
        { "a NUL ends the text", utf8(u(u"東京,1\r\n大阪")) + QByteArray(1, '\0') + utf8(u(u",2\r\n京都,3\r\n")),
          { u(u"東京,1"), u(u"大阪") }, 0, -1 },
        { "a Shift-JIS line in a marked UTF-8 list", kBom + utf8(u(u"東京\r\n")) + sjis(u(u"大阪\r\n")) + utf8(u(u"京都")),
          { u(u"東京"), u(u"\uFFFD\uFFFD\uFFFD\uFFFD"), u(u"京都") }, 4, 1 },
    };
    for (const auto& c : cases) {
        CsvReadInfo info;
        EXPECT_EQ(SplitCsvLines(c.bytes, CsvFormat(), &info), c.lines) << c.name;
        EXPECT_EQ(info.encoding, CsvEncoding::Utf8) << c.name;
        EXPECT_EQ(info.badBytes, c.bad) << c.name;
        EXPECT_EQ(info.firstBadLine, c.firstBadLine) << c.name;
    }
}

// --- quoting -------------------------------------------------------------------------------------

namespace {

CsvFormat quotedFormat(const QString& delimiter = QString())
{
    CsvFormat f;
    f.quoted = true;
    f.textDelimiter = delimiter;
    return f;
}

} // namespace

TEST(CsvQuoting, FieldsTable)
{
    const struct {
        const char16_t* delimiter;
        const char16_t* record;
        QStringList fields;
    } cases[] = {
        { u"\"", u"\"株式会社Ａ,Ｂ\",東京都,\"様\"", { u(u"株式会社Ａ,Ｂ"), u(u"東京都"), u(u"様") } },
        { u"", u"\"a,b\",c", { "a,b", "c" } },                 // no delimiter chosen: '"'
        { u"\"", u"\"a\"\"b\",c", { "a\"b", "c" } },           // a doubled quote is one
        { u"\"", u"\"\"\"\"", { "\"" } },
        { u"\"", u"\"\",x", { "", "x" } },
        { u"\"", u"a,,\"\"", { "a", "", "" } },
        { u"\"", u"a,b,", { "a", "b", "" } },
        { u"\"", u"a\"b,c\"", { "a\"b", "c\"" } },              // quotes inside a field are text
        { u"\"", u" \"a,b\"", { " \"a", "b\"" } },              // a blank before the quote: not quoted
        { u"\"", u"\"ab\"cd,e", { "abcd", "e" } },              // text after the closing quote stays
        { u"\"", u"\"x\"\"\"y,z", { "x\"y", "z" } },
        { u"\"", u"\"1\r\n2\",\"3\r4\n5\"", { "1 2", "3 4 5" } }, // line breaks read as blanks
        { u"\"", u"a,\"never closed, at all", { "a", "never closed, at all" } },
        { u"\"", u"", {} },
        { u"'", u"'a,b','c''d',\"e,f\"", { "a,b", "c'd", "\"e", "f\"" } },
        { u" ' ", u"'a,b',c", { "a,b", "c" } },                // the delimiter is trimmed first
        { u"「", u"\"a,b\",c", { "a,b", "c" } },               // not one byte: '"' instead
    };
    for (const auto& c : cases) {
        const QString record = QString::fromUtf16(c.record);
        const CsvFormat format = quotedFormat(QString::fromUtf16(c.delimiter));
        SCOPED_TRACE(record.toStdString());
        const QStringList all = CsvFields(record, format);
        EXPECT_EQ(all, c.fields);
        EXPECT_EQ(CsvFieldCount(record, format), c.fields.size());
        for (int n = 0; n <= c.fields.size() + 1; ++n)
            EXPECT_EQ(CsvField(record, n, format), n >= 1 && n <= c.fields.size() ? c.fields.at(n - 1) : QStringLiteral(" "))
                << "#" << n;
    }
}

TEST(CsvQuoting, RecordsAcrossLines)
{
    const struct {
        const char* name;
        const char* delimiter;
        QByteArray bytes;
        QStringList quoted;   // records with quoting on
        QStringList unquoted; // the same bytes with quoting off: lines as always
    } cases[] = {
        { "a line break inside quotes", "\"", "a,\"b\r\nc\",d\r\ne\r\n", { "a,\"b\r\nc\",d", "e" },
          { "a,\"b", "c\",d", "e" } },
        { "lone CR and LF inside quotes", "\"", "\"1\r2\n3\"\n4", { "\"1\r2\n3\"", "4" }, { "\"1", "2", "3\"", "4" } },
        { "a doubled quote before the line end", "\"", "\"a\"\"\",b\r\nc", { "\"a\"\"\",b", "c" },
          { "\"a\"\"\",b", "c" } },
        { "quotes inside a field do not open", "\"", "a\"b\r\nc\"", { "a\"b", "c\"" }, { "a\"b", "c\"" } },
        { "an unterminated quote runs to the end", "\"", "a\r\n\"b,c\r\nd\r\n", { "a", "\"b,c\r\nd\r\n" },
          { "a", "\"b,c", "d" } },
        { "a line break inside quotes at the very end", "\"", "a,\"b\r\n", { "a,\"b\r\n" }, { "a,\"b" } },
        { "the apostrophe as delimiter", "'", "'a\r\nb',\"c\r\nd\r\n", { "'a\r\nb',\"c", "d" },
          { "'a", "b',\"c", "d" } },
        { "blank lines stay records", "\"", "a\r\n\r\n\"\r\n\"\r\n", { "a", "", "\"\r\n\"" }, { "a", "", "\"", "\"" } },
    };
    for (const auto& c : cases) {
        const CsvFormat quoted = quotedFormat(QString::fromLatin1(c.delimiter));
        CsvFormat unquoted = quoted;
        unquoted.quoted = false;
        EXPECT_EQ(SplitCsvLines(c.bytes, quoted), c.quoted) << c.name;
        EXPECT_EQ(SplitCsvLines(c.bytes, unquoted), c.unquoted) << c.name;
    }
}

TEST(CsvQuoting, AQuoteThatIsTheSecondByteOfAShiftJisCharacterIsText)
{
    // "|" (7C) and "\\" (5C) are also second bytes in code page 932: － is 81 7C, 能 is 94 5C.
    // Such a character inside a quoted field neither closes it nor ends the record; read as
    // UTF-8, where no character holds those bytes, the same text gives the same records.
    const struct {
        const char* name;
        const char16_t* delimiter;
        const char16_t* text;
        QStringList records;
        QStringList firstFields;
    } cases[] = {
        { "－ before a doubled |", u"|", u"|ab－|\r\ncd|,x\r\n|1|,|2|\r\n",
          { u(u"|ab－|"), u(u"cd|,x"), u(u"|1|,|2|") }, { u(u"ab－") } },
        { "能 before a line break", u"\\", u"\\能\r\n登\\,様\r\n東京\r\n",
          { u(u"\\能\r\n登\\,様"), u(u"東京") }, { u(u"能 登"), u(u"様") } },
        { "表 at the end of a field", u"\\", u"\\表\\,\\ソ\\\r\n次\r\n",
          { u(u"\\表\\,\\ソ\\"), u(u"次") }, { u(u"表"), u(u"ソ") } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = QString::fromUtf16(c.text);
        CsvFormat format = quotedFormat(QString::fromUtf16(c.delimiter));
        for (const CsvEncoding encoding : { CsvEncoding::ShiftJis, CsvEncoding::Utf8 }) {
            format.encoding = encoding;
            const QStringList records = SplitCsvLines(encoding == CsvEncoding::Utf8 ? utf8(text) : sjis(text), format);
            ASSERT_EQ(records, c.records) << int(encoding);
            EXPECT_EQ(CsvFields(records.first(), format), c.firstFields) << int(encoding);
        }
    }
}

TEST(CsvQuoting, WrittenFieldsReadBackInBothEncodings)
{
    // Records written the way spreadsheets write CSV: a field with a comma, a quote or a
    // line break is quoted, its quotes doubled.
    const QChar alphabet[] = { u'a', u',', u'"', u'\r', u'\n', u'表', u' ', u'ｶ' };
    QRandomGenerator rng(15);
    for (int round = 0; round < 300; ++round) {
        QList<QStringList> records;
        QString text;
        for (int r = 0, rows = 1 + int(rng.bounded(4)); r < rows; ++r) {
            QStringList fields;
            QStringList written;
            for (int f = 0, count = 1 + int(rng.bounded(5)); f < count; ++f) {
                QString field;
                for (int i = 0, len = int(rng.bounded(6)); i < len; ++i)
                    field += alphabet[rng.bounded(int(std::size(alphabet)))];
                const bool quote = field.contains(u',') || field.contains(u'"') || field.contains(u'\r')
                    || field.contains(u'\n') || rng.bounded(2) == 0;
                written << (quote ? u'"' + QString(field).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"' : field);
                // How a field reads back: line breaks (CR LF once) become one blank.
                fields << QString(field).replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
            }
            // A record of one empty field is an empty line: it has no fields.
            if (written.join(u',').isEmpty())
                fields.clear();
            records << fields;
            text += written.join(u',') + QStringLiteral("\r\n");
        }
        for (const QByteArray& bytes : { sjis(text), kBom + utf8(text) }) {
            const QStringList read = SplitCsvLines(bytes, quotedFormat());
            ASSERT_EQ(read.size(), records.size()) << text.toStdString();
            for (int r = 0; r < records.size(); ++r)
                ASSERT_EQ(CsvFields(read.at(r), quotedFormat()), records.at(r)) << text.toStdString();
        }
    }
}

TEST(CsvQuoting, LargeAndDamagedInput)
{
    // A quoted field of 1 MB with commas and line breaks in it.
    QByteArray big(1024 * 1024, 'x');
    for (int i = 1000; i < big.size(); i += 1000)
        big[i] = (i / 1000) % 2 ? ',' : '\n';
    const QByteArray bytes = "head\r\n\"" + big + "\",tail\r\nnext\r\n";
    QElapsedTimer timer;
    timer.start();
    const QStringList records = SplitCsvLines(bytes, quotedFormat());
    ASSERT_EQ(records.size(), 3);
    const QStringList fields = CsvFields(records.at(1), quotedFormat());
    EXPECT_LT(timer.elapsed(), 5000);
    ASSERT_EQ(fields.size(), 2);
    EXPECT_EQ(fields.at(0).size(), big.size());
    EXPECT_EQ(fields.at(1), QStringLiteral("tail"));
    EXPECT_EQ(records.at(2), QStringLiteral("next"));

    // A bad byte inside a multi-line record is reported on its own line of the file.
    CsvReadInfo info;
    SplitCsvLines(kBom + utf8(u(u"a\r\n\"東\r\n京\r\n")) + "\xFF" + "\",b\r\n", quotedFormat(), &info);
    EXPECT_EQ(info.badBytes, 1);
    EXPECT_EQ(info.firstBadLine, 3);
}
