#include "app/CsvSource.h"

#include "support/TestFiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath("a.csv");
    ASSERT_TRUE(TestFiles::write(path, "a,b\r\n"));
    QFile::setPermissions(path, QFileDevice::Permissions());
    if (QFile(path).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "the superuser reads files without read permission";
    CsvReadInfo info;
    EXPECT_TRUE(ReadCsvLines(path, &info).isEmpty());
    EXPECT_EQ(info.status, CsvReadInfo::Unreadable);
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
