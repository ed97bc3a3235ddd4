#include "app/ReadinessCheck.h"

#include "platform/Messages.h"
#include "support/ScriptedMessages.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QString again()
{
    return QStringLiteral("再設定してから実行して下さい。");
}

} // namespace

TEST(ReadinessCheck, WarningsInTheirOrder)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString csv = tmp.filePath("list.csv");

    struct Case {
        const char* name;
        QByteArray content; // empty name below: no file at all
        bool header;
        std::array<int, 7> columns; // post, adr1, adr2, mei1, mei2, cbar, keis
        ReadinessResult::Status status;
        QString firstLine;
    };
    const std::array<int, 7> unset { -1, -1, -1, -1, -1, -1, -1 };
    const QString post = QStringLiteral("設定された郵便番号項目位置が不正です。");
    const QString empty = QStringLiteral("CSVファイルデータが空です。");
    const Case cases[] = {
        { "all fit", "a,b,c,d,e\r\n", false, { 1, 2, 3, 4, 5, 0, -1 }, ReadinessResult::Ready, {} },
        { "empty file", "", false, unset, ReadinessResult::Empty, empty },
        { "header only", "h1,h2\r\n", true, unset, ReadinessResult::Empty, empty },
        { "NUL at the start is empty", QByteArray("\0a,b\r\n", 6), false, unset, ReadinessResult::Empty, empty },
        { "postal code first", "a,b,c\r\n", false, { 4, 1, 1, 1, 1, 1, 9 }, ReadinessResult::BadPostNo, post },
        { "address 1", "a,b,c\r\n", false, { 3, 4, 1, 1, 1, 1, 1 }, ReadinessResult::BadAdr1No,
          QStringLiteral("設定された住所１項目位置が不正です。") },
        { "address 2", "a,b,c\r\n", false, { 0, 0, 4, 1, 1, 1, 1 }, ReadinessResult::BadAdr2No,
          QStringLiteral("設定された住所２項目位置が不正です。") },
        { "name 1", "a,b,c\r\n", false, { 1, 1, 1, 4, 1, 1, 1 }, ReadinessResult::BadMei1No,
          QStringLiteral("設定された名称１項目位置が不正です。") },
        { "name 2", "a,b,c\r\n", false, { 1, 1, 1, 1, 4, 1, 1 }, ReadinessResult::BadMei2No,
          QStringLiteral("設定された名称２項目位置が不正です。") },
        { "barcode", "a,b,c\r\n", false, { 1, 1, 1, 1, 1, 4, 1 }, ReadinessResult::BadCbarNo,
          QStringLiteral("設定されたｶｽﾀﾏﾊﾞｰｺｰﾄﾞ位置が不正です。") },
        { "honorific last", "a,b,c,d,e\r\n", false, { 1, 2, 3, 4, 5, 5, 6 }, ReadinessResult::BadKeisNo,
          QStringLiteral("設定された敬称項目位置が不正です。") },
        { "header: count from the second line", "a,b,c,d,e,f\r\nx,y\r\n", true, { 3, -1, -1, -1, -1, -1, -1 },
          ReadinessResult::BadPostNo, post },
        { "no header: the first line counts", "a,b,c,d,e,f\r\nx,y\r\n", false, { 3, -1, -1, -1, -1, -1, -1 },
          ReadinessResult::Ready, {} },
        { "only the first data line", "a\r\nx,y,z,w\r\n", false, { 2, -1, -1, -1, -1, -1, -1 },
          ReadinessResult::BadPostNo, post },
        { "empty first data line counts 0", "\r\nx,y\r\n", false, { 0, -1, 1, -1, -1, -1, -1 },
          ReadinessResult::BadAdr2No, QStringLiteral("設定された住所２項目位置が不正です。") },
        { "0 and -1 pass on an empty line", "\r\nx,y\r\n", false, { 0, -1, 0, -1, 0, 0, -1 },
          ReadinessResult::Ready, {} },
        { "blanks count as one field", "   \r\n", false, { 1, -1, -1, -1, -1, -1, 2 },
          ReadinessResult::BadKeisNo, QStringLiteral("設定された敬称項目位置が不正です。") },
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(TestFiles::write(csv, c.content));
        CsvColumnMap map;
        map.fileName = csv;
        map.hasHeader = c.header;
        map.postNo = c.columns[0];
        map.adr1No = c.columns[1];
        map.adr2No = c.columns[2];
        map.mei1No = c.columns[3];
        map.mei2No = c.columns[4];
        map.cbarNo = c.columns[5];
        map.keisNo = c.columns[6];

        ScriptedMessages messages;
        EXPECT_EQ(ReadinessCheck(map), c.status == ReadinessResult::Ready) << c.name;
        EXPECT_EQ(CheckReadiness(map).status, c.status) << c.name;
        if (c.status == ReadinessResult::Ready) {
            EXPECT_TRUE(messages.asked().isEmpty()) << c.name;
            continue;
        }
        ASSERT_EQ(messages.asked().size(), 1) << c.name;
        EXPECT_EQ(messages.asked().first().kind, ScriptedMessages::Kind::Warning) << c.name;
        const QString second = c.status == ReadinessResult::Empty ? QStringLiteral("ファイルを確認して下さい。") : again();
        EXPECT_EQ(messages.asked().first().text, Messages::twoLines(c.firstLine, second)) << c.name;
    }
}

TEST(ReadinessCheck, FileProblems)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString missing = QStringLiteral("CSVファイルが指定されていないか存在しません。\r\n再設定してから実行して下さい。");
    for (const QString& path : { QString(), tmp.filePath("none.csv"), tmp.path() }) {
        CsvColumnMap map;
        map.fileName = path;
        ScriptedMessages messages;
        EXPECT_FALSE(ReadinessCheck(map));
        EXPECT_EQ(messages.texts(), QStringList { missing }) << path.toStdString();
    }
}

TEST(ReadinessCheck, UnreadableFile)
{
    // The superuser reads files without read permission (CI runs as root): an address list
    // over the size limit gives the same warning there.
    const QString unreadable = QStringLiteral("CSVファイルを読み込めません。\r\nファイルを確認して下さい。");
    const bool superuser = ::geteuid() == 0;
    for (const bool sizeLimit : { false, true }) {
        SCOPED_TRACE(sizeLimit ? "over the size limit" : "no read permission");
        if (!sizeLimit && superuser)
            continue;
        QTemporaryDir tmp;
        ASSERT_TRUE(tmp.isValid());
        const QString locked = tmp.filePath("locked.csv");
        ASSERT_TRUE(TestFiles::write(locked, "a,b\r\n"));
        if (sizeLimit) {
            QFile f(locked);
            ASSERT_TRUE(f.resize(kMaxCsvBytes + 1)); // sparse: no disk used
        } else {
            QFile::setPermissions(locked, QFileDevice::Permissions());
        }
        CsvColumnMap map;
        map.fileName = locked;
        ScriptedMessages messages;
        EXPECT_FALSE(ReadinessCheck(map));
        EXPECT_EQ(messages.texts(), QStringList { unreadable });
    }
}

TEST(ReadinessCheck, CountsTheFieldsOfTheFirstRecordAsTheListIsRead)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString csv = tmp.filePath("list.csv");
    // A header, then a first record of four fields whose second holds a comma and a line break.
    const QByteArray list = "\xEF\xBB\xBF" + QStringLiteral("郵便番号,会社,氏名,敬称\r\n"
                                                         "100-0001,\"株式会社Ａ,Ｂ\r\n本社\",山田,様\r\n").toUtf8();
    ASSERT_TRUE(TestFiles::write(csv, list));
    const struct {
        bool quoted;
        int keisNo;
        ReadinessResult::Status status;
    } cases[] = {
        { true, 4, ReadinessResult::Ready },
        { true, 5, ReadinessResult::BadKeisNo },
        // Without quoting the first record is the line up to the break: three fields.
        { false, 3, ReadinessResult::Ready },
        { false, 4, ReadinessResult::BadKeisNo },
    };
    for (const auto& c : cases) {
        CsvColumnMap map;
        map.fileName = csv;
        map.hasHeader = true;
        map.quoted = c.quoted;
        map.keisNo = c.keisNo;
        EXPECT_EQ(CheckReadiness(map).status, c.status) << c.quoted << " " << c.keisNo;
    }
}

TEST(ReadinessCheck, JointNameColumnsAfterTheOthers)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    CsvColumnMap base;
    base.fileName = tmp.filePath("list.csv");
    ASSERT_TRUE(TestFiles::write(base.fileName, "a,b,c,d\r\n"));
    base.postNo = 1;
    base.mei1No = 2;

    struct Case {
        const char* name;
        std::array<int, 3> names;
        std::array<int, 3> honorifics;
        int keisNo;
        ReadinessResult::Status status;
        const char16_t* firstLine;
    };
    const Case cases[] = {
        { "all within the line", { 3, 4, 0 }, { 4, -1, 0 }, 4, ReadinessResult::Ready, u"" },
        { "joint name 1", { 5, 9, 9 }, { 9, 9, 9 }, 4, ReadinessResult::BadRen1No, u"設定された連名１項目位置が不正です。" },
        { "its honorific next", { 3, 9, -1 }, { 5, -1, -1 }, 4, ReadinessResult::BadRen1KeisNo,
          u"設定された連名１敬称項目位置が不正です。" },
        { "joint name 2", { 3, 5, 9 }, { -1, 9, 9 }, 4, ReadinessResult::BadRen2No, u"設定された連名２項目位置が不正です。" },
        { "honorific 2", { 3, 4, -1 }, { 0, 5, -1 }, 4, ReadinessResult::BadRen2KeisNo,
          u"設定された連名２敬称項目位置が不正です。" },
        { "joint name 3", { -1, -1, 5 }, { -1, -1, 5 }, 4, ReadinessResult::BadRen3No, u"設定された連名３項目位置が不正です。" },
        { "honorific 3 without its name", { -1, -1, -1 }, { -1, -1, 5 }, 4, ReadinessResult::BadRen3KeisNo,
          u"設定された連名３敬称項目位置が不正です。" },
        { "the honorific column comes first", { 9, 9, 9 }, { 9, 9, 9 }, 5, ReadinessResult::BadKeisNo,
          u"設定された敬称項目位置が不正です。" },
    };
    for (const Case& c : cases) {
        CsvColumnMap map = base;
        map.renNo = c.names;
        map.renKeisNo = c.honorifics;
        map.keisNo = c.keisNo;
        ScriptedMessages messages;
        EXPECT_EQ(ReadinessCheck(map), c.status == ReadinessResult::Ready) << c.name;
        EXPECT_EQ(CheckReadiness(map).status, c.status) << c.name;
        if (c.status == ReadinessResult::Ready) {
            EXPECT_TRUE(messages.asked().isEmpty()) << c.name;
            continue;
        }
        ASSERT_EQ(messages.asked().size(), 1) << c.name;
        EXPECT_EQ(messages.asked().first().text, Messages::twoLines(QString::fromUtf16(c.firstLine), again())) << c.name;
    }
}
