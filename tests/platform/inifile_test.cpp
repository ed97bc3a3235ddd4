#include "platform/IniFile.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QByteArray sjis(const char16_t* text)
{
    QStringEncoder enc("windows-31j");
    return enc(QString::fromUtf16(text));
}

IniFile fromText(const char16_t* text)
{
    IniFile ini;
    ini.setBytes(sjis(text));
    return ini;
}

} // namespace

TEST(IniFile, ReadsStringsByTheProfileRules)
{
    struct Case {
        const char* name;
        const char16_t* file;
        const char* section;
        const char* key;
        const char16_t* expected; // nullptr: the default
    } cases[] = {
        { "plain", u"[A]\r\nK=v\r\n", "A", "K", u"v" },
        { "section name any case", u"[PostCsv]\r\nK=v\r\n", "POSTCSV", "K", u"v" },
        { "key name any case", u"[A]\r\nCSVText=v\r\n", "A", "CSVTEXT", u"v" },
        { "blanks around value trimmed", u"[A]\r\nK = \t v w \t\r\n", "A", "K", u"v w" },
        { "blanks around key trimmed", u"[A]\r\n  K  =v\r\n", "A", "K", u"v" },
        { "value after first equals", u"[A]\r\nK=a=b\r\n", "A", "K", u"a=b" },
        { "double quotes stripped", u"[A]\r\nK=\"a b\"\r\n", "A", "K", u"a b" },
        { "single quotes stripped", u"[A]\r\nK='a'\r\n", "A", "K", u"a" },
        { "blanks inside quotes kept", u"[A]\r\nK=\" a \"\r\n", "A", "K", u" a " },
        { "lone double quote kept", u"[A]\r\nK=\"\r\n", "A", "K", u"\"" },
        { "lone apostrophe kept", u"[A]\r\nK='\r\n", "A", "K", u"'" },
        { "two quotes give empty", u"[A]\r\nK=\"\"\r\n", "A", "K", u"" },
        { "mixed quotes kept", u"[A]\r\nK=\"a'\r\n", "A", "K", u"\"a'" },
        { "only one blank reads empty", u"[A]\r\nK= \r\n", "A", "K", u"" },
        { "empty value is not the default", u"[A]\r\nK=\r\n", "A", "K", u"" },
        { "missing key", u"[A]\r\nX=1\r\n", "A", "K", nullptr },
        { "missing section", u"[B]\r\nK=1\r\n", "A", "K", nullptr },
        { "key of the next section not seen", u"[A]\r\n[B]\r\nK=1\r\n", "A", "K", nullptr },
        { "first duplicate key wins", u"[A]\r\nK=1\r\nK=2\r\n", "A", "K", u"1" },
        { "first duplicate section wins", u"[A]\r\nK=1\r\n[A]\r\nK=2\r\n", "A", "K", u"1" },
        { "key only in second duplicate section", u"[A]\r\nX=1\r\n[A]\r\nK=2\r\n", "A", "K", nullptr },
        { "LF line ends", u"[A]\nK=v\nL=w\n", "A", "L", u"w" },
        { "CR line ends", u"[A]\rK=v\rL=w\r", "A", "L", u"w" },
        { "no final line end", u"[A]\r\nK=v", "A", "K", u"v" },
        { "garbage lines ignored", u"junk\r\n[A]\r\n@@@\r\n=x\r\nK=v\r\n", "A", "K", u"v" },
        { "line without equals is no key", u"[A]\r\nK\r\n", "A", "K", nullptr },
        { "comment line", u"[A]\r\n;K=1\r\nK=2\r\n", "A", "K", u"2" },
        { "keys before any section unreachable", u"K=1\r\n[A]\r\n", "A", "K", nullptr },
        { "blank around section name", u"  [ A ]  \r\nK=v\r\n", "A", "K", u"v" },
        { "Japanese value", u"[A]\r\nK=ＭＳ ゴシック\r\n", "A", "K", u"ＭＳ ゴシック" },
        { "ideographic space is not trimmed", u"[A]\r\nK=　山田　\r\n", "A", "K", u"　山田　" },
        { "5C trail byte in section name", u"[表]\r\nK=v\r\n", "表", "K", u"v" },
    };
    for (const auto& c : cases) {
        const IniFile ini = fromText(c.file);
        const QString def = QStringLiteral("<default>");
        const QString got = ini.readString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), def);
        EXPECT_EQ(got, c.expected ? QString::fromUtf16(c.expected) : def) << c.name;
    }
}

TEST(IniFile, ReadsNumbersByTheProfileRules)
{
    struct Case {
        const char* value;
        int integer; // with default 77
        double real;
    } cases[] = {
        { "12", 12, 12 },
        { "-1", -1, -1 },
        { "+5", 5, 5 },
        { "0x1A", 26, 0 },
        { "0X1a", 26, 0 },
        { "-0x10", -16, 0 },
        { "1.5", 77, 1.5 },
        { "-2.25", 77, -2.25 },
        { ".5", 77, 0.5 },
        { "1e2", 77, 100 },
        { "abc", 77, 0 },
        { "12abc", 77, 0 },
        { "1,5", 77, 0 },
        { "", 77, 0 },
        { "0x", 77, 0 },
        { "2147483647", 2147483647, 2147483647.0 },
        { "2147483648", 77, 2147483648.0 },
        { "-2147483648", -2147483647 - 1, -2147483648.0 },
        { "inf", 77, 0 },
        { "nan", 77, 0 },
    };
    for (const auto& c : cases) {
        IniFile ini;
        ini.setBytes(QByteArray("[A]\r\nK=") + c.value + "\r\n");
        EXPECT_EQ(ini.readInteger("A", "K", 77), c.integer) << c.value;
        EXPECT_DOUBLE_EQ(ini.readFloat("A", "K"), c.real) << c.value;
    }
    IniFile ini;
    ini.setBytes("[A]\r\nT=2\r\nF=0\r\nG=x\r\n");
    EXPECT_TRUE(ini.readBool("A", "T", false));
    EXPECT_FALSE(ini.readBool("A", "F", true));
    EXPECT_TRUE(ini.readBool("A", "G", true));   // unreadable: the default
    EXPECT_FALSE(ini.readBool("A", "G", false));
    EXPECT_TRUE(ini.readBool("A", "missing", true));
    EXPECT_DOUBLE_EQ(ini.readFloat("A", "missing"), 0.0);
}

TEST(IniFile, ValuesAreReadUpTo2047Bytes)
{
    const QByteArray longAscii(3000, 'x');
    IniFile a;
    a.setBytes("[A]\r\nK=" + longAscii + "\r\n");
    EXPECT_EQ(a.readString("A", "K", QString()).size(), 2047);

    // 1,024 two-byte characters are 2,048 bytes: the last one does not fit and is not split.
    QByteArray kanji;
    for (int i = 0; i < 1024; ++i)
        kanji += "\x88\x9f"; // 亜
    IniFile b;
    b.setBytes("[A]\r\nK=" + kanji + "\r\n");
    EXPECT_EQ(b.readString("A", "K", QString()), QString(1023, QChar(0x4E9C)));

    // Quotes are stripped before the limit applies.
    IniFile c;
    c.setBytes("[A]\r\nK=\"" + QByteArray(2047, 'y') + "\"\r\n");
    EXPECT_EQ(c.readString("A", "K", QString()), QString(2047, QLatin1Char('y')));
}

TEST(IniFile, WritesChangeOnlyWhatTheyMust)
{
    struct Case {
        const char* name;
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    } cases[] = {
        { "replace keeps the rest", "; top\r\n[A]\r\nK=1\r\nL=2\r\n\r\n[B]\r\nK=3\r\n", "A", "K", "9",
          "; top\r\n[A]\r\nK=9\r\nL=2\r\n\r\n[B]\r\nK=3\r\n" },
        { "replace keeps the key's spelling", "[a]\r\n  csvText = x \r\n", "A", "CSVTEXT", "\"",
          "[a]\r\ncsvText=\"\r\n" },
        { "replace keeps LF line ends", "[A]\nK=1\nL=2\n", "A", "K", "5", "[A]\nK=5\nL=2\n" },
        { "new key goes after the section's last line", "[A]\r\nK=1\r\n\r\n[B]\r\n", "A", "N", "x",
          "[A]\r\nK=1\r\nN=x\r\n\r\n[B]\r\n" },
        { "new key in a section with garbage", "[A]\r\nK=1\r\n???\r\n[B]\r\n", "A", "N", "x",
          "[A]\r\nK=1\r\n???\r\nN=x\r\n[B]\r\n" },
        { "new key after a last line without end", "[A]\r\nK=1", "A", "N", "x",
          "[A]\r\nK=1\r\nN=x\r\n" },
        { "new section at the end", "[A]\r\nK=1\r\n", "B", "N", "x", "[A]\r\nK=1\r\n[B]\r\nN=x\r\n" },
        { "new section in an LF file", "[A]\nK=1\n", "B", "N", "x", "[A]\nK=1\n[B]\nN=x\n" },
        { "new section after no final end", "[A]\r\nK=1", "B", "N", "x", "[A]\r\nK=1\r\n[B]\r\nN=x\r\n" },
        { "empty file", "", "B", "N", "x", "[B]\r\nN=x\r\n" },
        { "first of duplicate keys", "[A]\r\nK=1\r\nK=2\r\n", "A", "K", "3", "[A]\r\nK=3\r\nK=2\r\n" },
        { "first of duplicate sections", "[A]\r\nK=1\r\n[A]\r\nK=2\r\n", "A", "K", "3",
          "[A]\r\nK=3\r\n[A]\r\nK=2\r\n" },
        { "empty value", "[A]\r\nK= \r\n", "A", "K", "", "[A]\r\nK=\r\n" },
        { "line breaks inside a value become blanks", "[A]\r\nK=1\r\n", "A", "K", "a\r\n[B]\nb",
          "[A]\r\nK=a  [B] b\r\n" },
        { "invalid bytes elsewhere survive", "[A]\r\nX=\x85\x40\xff\r\nK=1\r\n", "A", "K", "2",
          "[A]\r\nX=\x85\x40\xff\r\nK=2\r\n" },
        { "UTF-8 byte-order mark kept", "\xEF\xBB\xBF[A]\r\nK=1\r\n", "A", "K", "2",
          "\xEF\xBB\xBF[A]\r\nK=2\r\n" },
    };
    for (const auto& c : cases) {
        IniFile ini;
        ini.setBytes(QByteArray(c.before));
        ASSERT_TRUE(ini.writeString(QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                                    QString::fromUtf8(c.value)))
            << c.name;
        EXPECT_EQ(ini.bytes(), QByteArray(c.after)) << c.name;
        // And it reads back what was written (line breaks turned to blanks).
        QString expect = QString::fromUtf8(c.value);
        expect.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        EXPECT_EQ(ini.readString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), "?"),
                  expect.trimmed())
            << c.name;
    }
}

TEST(IniFile, EncodingOfWrittenText)
{
    IniFile sj;
    sj.setBytes("[A]\r\nK=1\r\n");
    ASSERT_TRUE(sj.writeString("A", "K", QStringLiteral("ＭＳ 明朝")));
    EXPECT_EQ(sj.bytes(), QByteArray("[A]\r\nK=\x82\x6c\x82\x72 \x96\xbe\x92\xa9\r\n"));

    // A character without a code: refused, nothing changes.
    const QByteArray before = sj.bytes();
    EXPECT_FALSE(sj.writeString("A", "K", QStringLiteral("山田\U0001F600")));
    EXPECT_FALSE(sj.writeString("A", "NEW", QStringLiteral("한")));
    EXPECT_EQ(sj.bytes(), before);
    EXPECT_EQ(sj.readString("A", "K", QString()), QStringLiteral("ＭＳ 明朝"));

    // A file with a UTF-8 byte-order mark is read and written as UTF-8.
    IniFile u8;
    u8.setBytes(QByteArray("\xEF\xBB\xBF[A]\r\nK=") + QStringLiteral("山田").toUtf8() + "\r\n");
    EXPECT_EQ(u8.readString("A", "K", QString()), QStringLiteral("山田"));
    ASSERT_TRUE(u8.writeString("A", "K", QStringLiteral("한")));
    EXPECT_EQ(u8.bytes(), QByteArray("\xEF\xBB\xBF[A]\r\nK=") + QStringLiteral("한").toUtf8() + "\r\n");

    // Numbers in their written form.
    IniFile n;
    n.writeFloat("A", "C", 3);
    n.writeFloat("A", "M", -1.5);
    n.writeFloat("A", "Z", 0);
    n.writeFloat("A", "P", 0.1);
    n.writeFloat("A", "L", 123456789.123456);
    n.writeInteger("A", "I", -1);
    n.writeBool("A", "B", true);
    EXPECT_EQ(n.bytes(), QByteArray("[A]\r\nC=3\r\nM=-1.5\r\nZ=0\r\nP=0.1\r\nL=123456789.123456\r\nI=-1\r\nB=1\r\n"));
}

TEST(IniFile, SaveIsAtomicAndRefusesReadOnlyPlaces)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath(QStringLiteral("POSTCSV.INI"));
    ASSERT_TRUE(TestFiles::write(path, "[A]\r\nK=1\r\n"));

    IniFile ini(path);
    ASSERT_TRUE(ini.load());
    ini.writeString("A", "K", "2");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(TestFiles::read(path), QByteArray("[A]\r\nK=2\r\n"));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "POSTCSV.INI" });

    // A read-only file: false, the file as it was.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    ini.writeString("A", "K", "3");
    EXPECT_FALSE(ini.save());
    EXPECT_EQ(TestFiles::read(path), QByteArray("[A]\r\nK=2\r\n"));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

    // A read-only directory: false, the file as it was.
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_FALSE(ini.save());
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(TestFiles::read(path), QByteArray("[A]\r\nK=2\r\n"));

    // A directory that does not exist.
    IniFile nowhere(tmp.filePath(QStringLiteral("no/such/dir/POSTCSV.INI")));
    ASSERT_TRUE(nowhere.load()); // missing: empty image
    nowhere.writeString("A", "K", "1");
    EXPECT_FALSE(nowhere.save());
}

TEST(IniFile, UnreadableFileDoesNotLoad)
{
    // The superuser reads files without read permission (CI runs as root); a folder where the
    // file should be cannot be read by anyone.
    const bool superuser = ::geteuid() == 0;
    for (const bool folder : { false, true }) {
        SCOPED_TRACE(folder ? "a folder of that name" : "no read permission");
        if (!folder && superuser)
            continue;
        QTemporaryDir tmp;
        ASSERT_TRUE(tmp.isValid());
        const QString locked = tmp.filePath(QStringLiteral("locked.ini"));
        if (folder) {
            ASSERT_TRUE(QDir().mkdir(locked));
        } else {
            ASSERT_TRUE(TestFiles::write(locked, "[A]\r\nK=1\r\n"));
            QFile::setPermissions(locked, QFileDevice::Permissions());
        }
        IniFile unreadable(locked);
        EXPECT_FALSE(unreadable.load());
        // Nor can it be saved over.
        unreadable.writeString(QStringLiteral("A"), QStringLiteral("K"), QStringLiteral("2"));
        EXPECT_FALSE(unreadable.save());
    }
}
