#include "app/AppSettings.h"

#include "platform/IniFile.h"
#include "support/TestFiles.h"
#include "support/TestText.h"

#include <functional>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testtext::sjis;

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        path = tmp.filePath(QStringLiteral("POSTCSV.INI"));
    }
    // The text of one section, header included, up to the next section.
    static QByteArray sectionBytes(const QByteArray& file, const QByteArray& name)
    {
        const QByteArray header = "[" + name + "]\r\n";
        const qsizetype b = file.indexOf(header);
        if (b < 0)
            return QByteArray();
        qsizetype e = file.indexOf("\r\n[", b + header.size());
        e = e < 0 ? file.size() : e + 2;
        return file.mid(b, e - b);
    }
    QTemporaryDir tmp;
    QString path;
};

} // namespace

TEST_F(SettingsFile, DefaultFileIsByteExact)
{
    EXPECT_EQ(DefaultSettingsFileBytes(), TestFiles::read(TestFiles::dataPath("POSTCSV.default.ini")));

    // Starting without a file creates it with exactly that content.
    AppSettings s;
    s.csv.postNo = 5; // replaced by what the file says
    ASSERT_TRUE(LoadSettings(s, path));
    EXPECT_EQ(TestFiles::read(path), TestFiles::read(TestFiles::dataPath("POSTCSV.default.ini")));

    // The default file reads as: fields at (10n, 10n), size 11, hidden, sender blank.
    for (int n = 1; n <= kFieldCount; ++n) {
        for (const FieldStyles* fs : { &s.postcardFields, &s.labelFields }) {
            const FieldStyle& f = (*fs)[n - 1];
            EXPECT_EQ(f.top, 10 * n);
            EXPECT_EQ(f.left, 10 * n);
            EXPECT_EQ(f.fontSize, 11);
            EXPECT_EQ(f.fontName, QStringLiteral("ＭＳ ゴシック"));
            EXPECT_EQ(f.width, 80);
            EXPECT_FALSE(f.visible);
            EXPECT_EQ(f.post, fs == &s.postcardFields && n == 1) << n;
        }
    }
    EXPECT_EQ(s.sender.postalCode, QString());
    EXPECT_EQ(s.sender.url, QString());
    EXPECT_EQ(s.csv, CsvColumnMap());
    EXPECT_EQ(s.labelSheet, LabelSheet());
    EXPECT_TRUE(s.postcardPostMark);
    EXPECT_TRUE(s.labelPostMark);

    // A second start reads the same settings and leaves the file alone.
    AppSettings again;
    ASSERT_TRUE(LoadSettings(again, path));
    EXPECT_EQ(again.postcardFields, s.postcardFields);
    EXPECT_EQ(again.labelFields, s.labelFields);
    EXPECT_EQ(again.sender, s.sender);
    EXPECT_EQ(TestFiles::read(path), TestFiles::read(TestFiles::dataPath("POSTCSV.default.ini")));
}

TEST_F(SettingsFile, MissingKeysTakeTheirDefaults)
{
    ASSERT_TRUE(TestFiles::write(path, "[POSTCSV]\r\nCSVNAME=/tmp/a.csv\r\n"));
    AppSettings s;
    s.labelSheet.columns = 7;
    ASSERT_TRUE(LoadSettings(s, path));
    for (int n = 1; n <= kFieldCount; ++n) {
        for (const FieldStyles* fs : { &s.postcardFields, &s.labelFields }) {
            const FieldStyle& f = (*fs)[n - 1];
            EXPECT_EQ(f.top, 10);
            EXPECT_EQ(f.left, 10);
            EXPECT_EQ(f.fontSize, 10);
            EXPECT_EQ(f.fontName, QStringLiteral("ＭＳ ゴシック"));
            EXPECT_FALSE(f.visible);
            EXPECT_EQ(f.post, fs == &s.postcardFields && n == 1);
        }
    }
    EXPECT_EQ(s.labelSheet.columns, 2);
    EXPECT_EQ(s.labelSheet.rows, 6);
    EXPECT_EQ(s.labelSheet.topMargin, 100);
    EXPECT_EQ(s.labelSheet.bottomMargin, 100);
    EXPECT_EQ(s.labelSheet.leftMargin, 80);
    EXPECT_EQ(s.labelSheet.rightMargin, 80);
    EXPECT_EQ(s.labelSheet.rowGap, 0);
    EXPECT_EQ(s.labelSheet.columnGap, 0);
    EXPECT_TRUE(s.postcardPostMark);
    EXPECT_TRUE(s.labelPostMark);
    EXPECT_EQ(s.csv.fileName, QStringLiteral("/tmp/a.csv"));
    for (int no : { s.csv.postNo, s.csv.adr1No, s.csv.adr2No, s.csv.mei1No, s.csv.mei2No,
                    s.csv.cbarNo, s.csv.keisNo })
        EXPECT_EQ(no, -1);
    EXPECT_EQ(s.sender.name1, QStringLiteral(" ")); // a missing sender key is one blank
    // Reading wrote nothing back.
    EXPECT_EQ(TestFiles::read(path), QByteArray("[POSTCSV]\r\nCSVNAME=/tmp/a.csv\r\n"));
}

TEST_F(SettingsFile, ValuesAreReadWithTheirTypes)
{
    ASSERT_TRUE(TestFiles::write(path, "[POSTFLD3]\r\nTATE=2\r\nFONTSIZE=big\r\nTOP=0x1A\r\n"
                                       "[PAPER]\r\nLEFT=1.5\r\nTOP=x\r\n"
                                       "[LABEL]\r\nLEFT=-2.5\r\nCOL=3\r\nROW=0x0E\r\n"
                                       "[POSTCSV]\r\nCSVTEXT=\"\r\nPOSTNO=3\r\nCSVHEAD=1\r\n"));
    AppSettings s;
    ASSERT_TRUE(LoadSettings(s, path));
    EXPECT_TRUE(s.postcardFields[2].tate);
    EXPECT_EQ(s.postcardFields[2].fontSize, 10);
    EXPECT_EQ(s.postcardFields[2].top, 26);
    EXPECT_DOUBLE_EQ(s.postcardOffsetX, 1.5);
    EXPECT_DOUBLE_EQ(s.postcardOffsetY, 0.0);
    EXPECT_DOUBLE_EQ(s.labelOffsetX, -2.5);
    EXPECT_EQ(s.labelSheet.columns, 3);
    EXPECT_EQ(s.labelSheet.rows, 14);
    EXPECT_EQ(s.csv.textDelimiter, QStringLiteral("\""));
    EXPECT_EQ(s.csv.postNo, 3);
    EXPECT_TRUE(s.csv.hasHeader);
}

TEST_F(SettingsFile, EachGroupLeavesTheOtherSectionsByteForByte)
{
    struct Case {
        const char* name;
        std::function<bool(AppSettings&)> save;
        QList<QByteArray> touched; // sections the save may change
    };
    QList<QByteArray> postcardSections { "POSTFLD", "PAPER" };
    QList<QByteArray> labelSections { "LABELFLD", "LABEL" };
    for (int n = 1; n <= kFieldCount; ++n) {
        postcardSections << "POSTFLD" + QByteArray::number(n);
        labelSections << "LABELFLD" + QByteArray::number(n);
    }
    const QList<Case> cases {
        { "postcard", [&](AppSettings& s) {
              s.postcardFields[6].postWaku = true;
              s.postcardFields[0].fontName = QStringLiteral("@ＭＳ 明朝");
              s.postcardOffsetX = -1.5;
              s.postcardImage.path = QStringLiteral("/home/u/切手.jpg");
              return SaveLayoutSettings(s, SettingsGroup::Postcard, path); },
          postcardSections },
        { "label", [&](AppSettings& s) {
              s.labelSheet.columns = 3;
              s.labelFields[3].visible = true;
              s.labelOffsetY = 0.5;
              return SaveLayoutSettings(s, SettingsGroup::Label, path); },
          labelSections },
        { "sender", [&](AppSettings& s) {
              s.sender.name1 = QStringLiteral("山田　太郎");
              s.sender.postalCode = QString();
              return SaveLayoutSettings(s, SettingsGroup::Sender, path); },
          { "MOTO" } },
        { "csv", [&](AppSettings& s) {
              s.csv.fileName = QStringLiteral("/home/u/住所録.csv");
              s.csv.mei1No = 3;
              s.csv.textDelimiter = QStringLiteral("\"");
              return SaveCsvSettings(s, path); },
          { "POSTCSV" } },
    };
    QList<QByteArray> all { "POSTFLD", "LABELFLD", "PAPER", "LABEL", "MOTO", "POSTCSV" };
    for (int n = 1; n <= kFieldCount; ++n)
        all << "POSTFLD" + QByteArray::number(n) << "LABELFLD" + QByteArray::number(n);

    for (const Case& c : cases) {
        // A user's file with a comment, a stray line and the image sections present.
        const QByteArray original = "; my settings\r\n" + DefaultSettingsFileBytes()
            + "[POSTFLD]\r\nIMGPATH=\r\nTOP=0\r\nLEFT=0\r\nWIDTH=0\r\nHEIGHT=0\r\n"
            + "[LABELFLD]\r\nIMGPATH=\r\nTOP=0\r\nLEFT=0\r\nWIDTH=0\r\nHEIGHT=0\r\nstray\r\n";
        ASSERT_TRUE(TestFiles::write(path, original));
        AppSettings s;
        ASSERT_TRUE(LoadSettings(s, path));
        const AppSettings before = s;
        ASSERT_TRUE(c.save(s)) << c.name;
        const QByteArray after = TestFiles::read(path);
        EXPECT_TRUE(after.startsWith("; my settings\r\n")) << c.name;
        bool changedSomething = false;
        for (const QByteArray& sec : all) {
            if (c.touched.contains(sec)) {
                changedSomething |= sectionBytes(after, sec) != sectionBytes(original, sec);
                continue;
            }
            EXPECT_EQ(sectionBytes(after, sec), sectionBytes(original, sec)) << c.name << " " << sec.constData();
        }
        EXPECT_TRUE(changedSomething) << c.name;
        // What was saved reads back.
        AppSettings back;
        ASSERT_TRUE(LoadSettings(back, path));
        EXPECT_EQ(back.postcardFields, s.postcardFields) << c.name;
        EXPECT_EQ(back.labelFields, s.labelFields) << c.name;
        EXPECT_EQ(back.postcardImage, s.postcardImage) << c.name;
        EXPECT_DOUBLE_EQ(back.postcardOffsetX, s.postcardOffsetX) << c.name;
        EXPECT_DOUBLE_EQ(back.labelOffsetY, s.labelOffsetY) << c.name;
        EXPECT_EQ(back.labelSheet, s.labelSheet) << c.name;
        EXPECT_EQ(back.csv, s.csv) << c.name;
        // The sender: an empty value is written as "KEY=" and reads back empty.
        if (QByteArray(c.name) == "sender") {
            EXPECT_TRUE(after.contains("[MOTO]\r\nPOST=\r\n"));
            EXPECT_EQ(back.sender.postalCode, QString());
            EXPECT_EQ(back.sender.name1, QStringLiteral("山田　太郎"));
        }
        (void)before;
    }
}

TEST_F(SettingsFile, GroupsAreWrittenInTheirKeyOrder)
{
    // Written into an empty file, each group shows its keys in the order it writes them.
    AppSettings s;
    s.labelSheet.columns = 3;
    s.labelSheet.rows = 14;
    s.labelOffsetX = -1.25;
    ASSERT_TRUE(TestFiles::write(path, ""));
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Label, path));
    const QByteArray label = TestFiles::read(path);
    EXPECT_TRUE(label.startsWith("[LABELFLD]\r\nIMGPATH=\r\nTOP=0\r\nLEFT=0\r\nWIDTH=0\r\nHEIGHT=0\r\n"
                                 "[LABELFLD1]\r\nFONTNAME=\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e\r\n"
                                 "FONTSIZE=10\r\nTATE=0\r\nBOLD=0\r\nITALIC=0\r\nALIGNMENT=0\r\nPOST=0\r\n"
                                 "POSTWAKU=0\r\nTOP=10\r\nLEFT=10\r\nWIDTH=80\r\nVISIBLE=0\r\n[LABELFLD2]\r\n"));
    EXPECT_TRUE(label.endsWith("[LABEL]\r\nLEFT=-1.25\r\nTOP=0\r\nPOSTMARK=1\r\nCOL=3\r\nROW=14\r\n"
                               "TOPSP=100\r\nBOTSP=100\r\nLEFSP=80\r\nRIGSP=80\r\nTATESP=0\r\nYOKOSP=0\r\n"));

    ASSERT_TRUE(TestFiles::write(path, ""));
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Postcard, path));
    const QByteArray post = TestFiles::read(path);
    EXPECT_TRUE(post.startsWith("[POSTFLD]\r\nIMGPATH=\r\nTOP=0\r\nLEFT=0\r\nWIDTH=0\r\nHEIGHT=0\r\n[POSTFLD1]\r\n"));
    EXPECT_TRUE(post.contains("[POSTFLD1]\r\nFONTNAME=\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e\r\n"
                              "FONTSIZE=10\r\nTATE=0\r\nBOLD=0\r\nITALIC=0\r\nALIGNMENT=0\r\nPOST=1\r\n"));
    EXPECT_TRUE(post.endsWith("[POSTFLD15]\r\nFONTNAME=\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e\r\n"
                              "FONTSIZE=10\r\nTATE=0\r\nBOLD=0\r\nITALIC=0\r\nALIGNMENT=0\r\nPOST=0\r\n"
                              "POSTWAKU=0\r\nTOP=10\r\nLEFT=10\r\nWIDTH=80\r\nVISIBLE=0\r\n"
                              "[PAPER]\r\nLEFT=0\r\nTOP=0\r\nPOSTMARK=1\r\n"));

    ASSERT_TRUE(TestFiles::write(path, ""));
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Sender, path));
    EXPECT_EQ(TestFiles::read(path), QByteArray("[MOTO]\r\nPOST= \r\nADR1= \r\nADR2= \r\nMEI1= \r\nMEI2= \r\n"
                                                "TEL= \r\nFAX= \r\nMAIL= \r\nURL= \r\n"));

    s.csv.fileName = QStringLiteral("/d/a.csv");
    s.csv.textDelimiter = QStringLiteral("'");
    s.csv.keisNo = 0;
    s.csv.hasHeader = true;
    ASSERT_TRUE(TestFiles::write(path, ""));
    ASSERT_TRUE(SaveCsvSettings(s, path));
    EXPECT_EQ(TestFiles::read(path), QByteArray("[POSTCSV]\r\nCSVNAME=/d/a.csv\r\nCSVTEXT='\r\nPOSTNO=-1\r\n"
                                                "ADR1NO=-1\r\nADR2NO=-1\r\nMEI1NO=-1\r\nMEI2NO=-1\r\n"
                                                "CBARNO=-1\r\nKEISNO=0\r\nCSVHEAD=1\r\n"));
}

TEST_F(SettingsFile, ListEncodingAndQuotingAreReadAndWrittenOnlyWhenChosen)
{
    const struct {
        const char* keys;
        CsvEncoding encoding;
        bool quoted;
    } reads[] = {
        { "", CsvEncoding::Auto, false },
        { "CSVCODE=0\r\n", CsvEncoding::Auto, false },
        { "CSVCODE=1\r\n", CsvEncoding::ShiftJis, false },
        { "CSVCODE=2\r\nCSVQUOTE=1\r\n", CsvEncoding::Utf8, true },
        { "csvcode = 0x2\r\ncsvquote=5\r\n", CsvEncoding::Utf8, true },
        { "CSVCODE=3\r\nCSVQUOTE=0\r\n", CsvEncoding::Auto, false },
        { "CSVCODE=-1\r\n", CsvEncoding::Auto, false },
        { "CSVCODE=utf8\r\nCSVQUOTE=on\r\n", CsvEncoding::Auto, false },
    };
    for (const auto& r : reads) {
        ASSERT_TRUE(TestFiles::write(path, QByteArray("[POSTCSV]\r\nCSVNAME=a.csv\r\n") + r.keys));
        AppSettings s;
        ASSERT_TRUE(LoadSettings(s, path));
        EXPECT_EQ(s.csv.encoding, r.encoding) << r.keys;
        EXPECT_EQ(s.csv.quoted, r.quoted) << r.keys;
        EXPECT_EQ(s.csv.fileName, QStringLiteral("a.csv"));
    }

    // The default file saved by the set-up dialog without a choice has neither key; a
    // choice adds its key at the end of [POSTCSV]; going back to the defaults takes the
    // keys away again.
    ASSERT_TRUE(WriteDefaultSettingsFile(path));
    AppSettings s;
    ASSERT_TRUE(LoadSettings(s, path));
    ASSERT_TRUE(SaveCsvSettings(s, path));
    const QByteArray original = TestFiles::read(path);
    EXPECT_TRUE(original.endsWith("KEISNO=-1\r\nCSVHEAD=0\r\n"));
    const struct {
        CsvEncoding encoding;
        bool quoted;
        QByteArray added;
    } writes[] = {
        { CsvEncoding::Utf8, true, "CSVCODE=2\r\nCSVQUOTE=1\r\n" },
        { CsvEncoding::ShiftJis, true, "CSVCODE=1\r\nCSVQUOTE=1\r\n" },
        { CsvEncoding::ShiftJis, false, "CSVCODE=1\r\n" },
        { CsvEncoding::Auto, true, "CSVQUOTE=1\r\n" },
        { CsvEncoding::Auto, false, "" },
    };
    for (const auto& w : writes) {
        s.csv.encoding = w.encoding;
        s.csv.quoted = w.quoted;
        ASSERT_TRUE(SaveCsvSettings(s, path));
        EXPECT_EQ(TestFiles::read(path).toStdString(), (original + w.added).toStdString());
        AppSettings back;
        ASSERT_TRUE(LoadSettings(back, path));
        EXPECT_EQ(back.csv, s.csv);
    }

    // A hand-edited file with the key twice and a section after [POSTCSV]: every copy in
    // [POSTCSV] goes, the comment and the other section stay.
    const QByteArray edited = "[POSTCSV]\r\nCSVCODE=2\r\nCSVNAME=b.csv\r\ncsvcode=1\r\n; note\r\n[OTHER]\r\nCSVCODE=2\r\n";
    ASSERT_TRUE(TestFiles::write(path, edited));
    AppSettings e;
    ASSERT_TRUE(LoadSettings(e, path));
    EXPECT_EQ(e.csv.encoding, CsvEncoding::Utf8); // the first of duplicate keys
    e.csv.encoding = CsvEncoding::Auto;
    ASSERT_TRUE(SaveCsvSettings(e, path));
    const QByteArray after = TestFiles::read(path);
    EXPECT_FALSE(sectionBytes(after, "POSTCSV").contains("CSVCODE")) << after.toStdString();
    EXPECT_FALSE(sectionBytes(after, "POSTCSV").contains("csvcode")) << after.toStdString();
    EXPECT_TRUE(sectionBytes(after, "POSTCSV").contains("\r\n; note\r\n")) << after.toStdString();
    EXPECT_TRUE(after.endsWith("[OTHER]\r\nCSVCODE=2\r\n")) << after.toStdString();
}

TEST_F(SettingsFile, FailuresAreReportedAndLoseNothing)
{
    ASSERT_TRUE(WriteDefaultSettingsFile(path));
    const QByteArray original = TestFiles::read(path);
    AppSettings s;
    ASSERT_TRUE(LoadSettings(s, path));

    // A character code page 932 cannot hold: the whole group is refused.
    AppSettings bad = s;
    bad.sender.address1 = QStringLiteral("東京都");
    bad.sender.name1 = QStringLiteral("김철수");
    EXPECT_FALSE(SaveLayoutSettings(bad, SettingsGroup::Sender, path));
    EXPECT_EQ(TestFiles::read(path), original);
    bad = s;
    bad.csv.fileName = QStringLiteral("/home/ü/a.csv");
    EXPECT_FALSE(SaveCsvSettings(bad, path));
    EXPECT_EQ(TestFiles::read(path), original);

    // A read-only file: every save reports failure, the file stays, loading still works.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_FALSE(SaveLayoutSettings(s, SettingsGroup::Postcard, path));
    EXPECT_FALSE(SaveLayoutSettings(s, SettingsGroup::Label, path));
    EXPECT_FALSE(SaveLayoutSettings(s, SettingsGroup::Sender, path));
    EXPECT_FALSE(SaveCsvSettings(s, path));
    EXPECT_FALSE(WriteDefaultSettingsFile(path));
    EXPECT_EQ(TestFiles::read(path), original);
    AppSettings again;
    EXPECT_TRUE(LoadSettings(again, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

    // Nowhere to create the file: loading fails.
    AppSettings none;
    EXPECT_FALSE(LoadSettings(none, tmp.filePath(QStringLiteral("missing/dir/POSTCSV.INI"))));
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_FALSE(LoadSettings(none, tmp.filePath(QStringLiteral("NEW.INI"))));
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // A directory in the file's place.
    EXPECT_FALSE(LoadSettings(none, tmp.path()));
}

TEST_F(SettingsFile, BrokenFilesReadAsTheProfileFunctionsWould)
{
    // Garbage, duplicates, LF line ends, no final line end and a byte-order mark.
    const QByteArray text = "\xEF\xBB\xBF" "garbage without section\n[POSTCSV]\n== \n"
                            "postno=4\nPOSTNO=9\n[postcsv]\nADR1NO=7\n[MOTO]\nMEI1=" +
        QStringLiteral("山田").toUtf8() + "\n[LABEL]\nCOL=4";
    ASSERT_TRUE(TestFiles::write(path, text));
    AppSettings s;
    ASSERT_TRUE(LoadSettings(s, path));
    EXPECT_EQ(s.csv.postNo, 4);
    EXPECT_EQ(s.csv.adr1No, -1); // only in the second [POSTCSV]
    EXPECT_EQ(s.sender.name1, QStringLiteral("山田"));
    EXPECT_EQ(s.labelSheet.columns, 4);

    // Saving keeps every byte outside the keys it writes.
    s.csv.postNo = 2;
    ASSERT_TRUE(SaveCsvSettings(s, path));
    const QByteArray after = TestFiles::read(path);
    EXPECT_TRUE(after.startsWith("\xEF\xBB\xBF" "garbage without section\n[POSTCSV]\n== \npostno=2\nPOSTNO=9\n"));
    EXPECT_TRUE(after.contains("[postcsv]\nADR1NO=7\n[MOTO]\n"));
    EXPECT_TRUE(after.endsWith("[LABEL]\nCOL=4"));
    AppSettings back;
    ASSERT_TRUE(LoadSettings(back, path));
    EXPECT_EQ(back.csv, s.csv);

    // Invalid code page 932 bytes in a value: read as replacement characters, and the
    // bytes stay in the file when other keys are written.
    ASSERT_TRUE(TestFiles::write(path, "[MOTO]\r\nMEI1=\x85\x40\x82\r\n[POSTCSV]\r\nPOSTNO=1\r\n"));
    ASSERT_TRUE(LoadSettings(s, path));
    EXPECT_EQ(s.sender.name1, QStringLiteral("\uFFFD\uFFFD"));
    s.csv.postNo = 3;
    ASSERT_TRUE(SaveCsvSettings(s, path));
    EXPECT_TRUE(TestFiles::read(path).startsWith("[MOTO]\r\nMEI1=\x85\x40\x82\r\n[POSTCSV]\r\nPOSTNO=3\r\n"));
}

TEST_F(SettingsFile, BarcodeKeyOfFieldSixIsWrittenOnlyWhenOn)
{
    // Files of today have no BARCODE key: field 6 reads as text and a save adds none.
    QByteArray file = DefaultSettingsFileBytes();
    file.replace("[POSTFLD5]\r\n", "[POSTFLD5]\r\nBARCODE=1\r\n"); // only field 6 has the option
    ASSERT_TRUE(TestFiles::write(path, file));
    AppSettings s;
    ASSERT_TRUE(LoadSettings(s, path));
    EXPECT_FALSE(s.postcardFields[4].barcode || s.postcardFields[5].barcode || s.labelFields[5].barcode);
    for (SettingsGroup g : { SettingsGroup::Postcard, SettingsGroup::Label })
        ASSERT_TRUE(SaveLayoutSettings(s, g, path));
    const QByteArray saved = TestFiles::read(path);
    EXPECT_EQ(saved.count("BARCODE"), 1);

    const bool steps[][2] = { { true, false }, { true, true }, { false, true }, { false, false } };
    for (const auto& st : steps) {
        s.postcardFields[5].barcode = st[0];
        s.labelFields[5].barcode = st[1];
        for (SettingsGroup g : { SettingsGroup::Postcard, SettingsGroup::Label })
            ASSERT_TRUE(SaveLayoutSettings(s, g, path));
        const QByteArray now = TestFiles::read(path);
        EXPECT_EQ(sectionBytes(now, "POSTFLD6").contains("BARCODE=1\r\n"), st[0]);
        EXPECT_EQ(sectionBytes(now, "LABELFLD6").contains("BARCODE=1\r\n"), st[1]);
        AppSettings back;
        ASSERT_TRUE(LoadSettings(back, path));
        EXPECT_EQ(back.postcardFields[5].barcode, st[0]);
        EXPECT_EQ(back.labelFields[5].barcode, st[1]);
    }
    // Turned on and off again, the file is as it was: the key goes when the option goes.
    EXPECT_EQ(TestFiles::read(path), saved);
}

TEST_F(SettingsFile, TypesettingKeysAreWrittenOnlyWhenUsed)
{
    // A file that never used the options (a default file once saved, so that it holds every
    // key of today's groups): every field reads as all off, and saving both layout groups
    // again gives the same bytes.
    ASSERT_TRUE(WriteDefaultSettingsFile(path));
    AppSettings s;
    ASSERT_TRUE(LoadSettings(s, path));
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Postcard, path));
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Label, path));
    const QByteArray original = TestFiles::read(path);
    for (const char* key : { "KANSUJI", "HYPHEN", "TCY", "FIT" })
        EXPECT_FALSE(original.contains(key)) << key;
    ASSERT_TRUE(LoadSettings(s, path));
    for (const FieldStyles* fs : { &s.postcardFields, &s.labelFields }) {
        for (const FieldStyle& f : *fs) {
            EXPECT_EQ(f.kansuji, 0);
            EXPECT_EQ(f.hyphen, 0);
            EXPECT_FALSE(f.tcy);
            EXPECT_FALSE(f.fit);
        }
    }
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Postcard, path));
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Label, path));
    EXPECT_EQ(TestFiles::read(path), original);

    // Options in use: only the keys that are not 0, after VISIBLE, in their order.
    s.postcardFields[1].kansuji = 2;
    s.postcardFields[1].fit = true;
    s.postcardFields[8].hyphen = 1;
    s.postcardFields[8].tcy = true;
    s.labelFields[3].kansuji = 1;
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Postcard, path));
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Label, path));
    const QByteArray used = TestFiles::read(path);
    EXPECT_TRUE(sectionBytes(used, "POSTFLD2").endsWith("VISIBLE=0\r\nKANSUJI=2\r\nFIT=1\r\n"));
    EXPECT_TRUE(sectionBytes(used, "POSTFLD9").endsWith("VISIBLE=0\r\nHYPHEN=1\r\nTCY=1\r\n"));
    EXPECT_TRUE(sectionBytes(used, "LABELFLD4").endsWith("VISIBLE=0\r\nKANSUJI=1\r\n"));
    EXPECT_EQ(sectionBytes(used, "POSTFLD3"), sectionBytes(original, "POSTFLD3"));
    EXPECT_EQ(sectionBytes(used, "LABELFLD2"), sectionBytes(original, "LABELFLD2"));
    AppSettings back;
    ASSERT_TRUE(LoadSettings(back, path));
    EXPECT_EQ(back.postcardFields, s.postcardFields);
    EXPECT_EQ(back.labelFields, s.labelFields);

    // Turned off again, the keys go: the file is as it was before they were used.
    for (FieldStyles* fs : { &s.postcardFields, &s.labelFields }) {
        for (FieldStyle& f : *fs) {
            f.kansuji = f.hyphen = 0;
            f.tcy = f.fit = false;
        }
    }
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Postcard, path));
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Label, path));
    EXPECT_EQ(TestFiles::read(path), original);

    // The default file written at first start is still byte for byte as before.
    EXPECT_EQ(DefaultSettingsFileBytes(), TestFiles::read(TestFiles::dataPath("POSTCSV.default.ini")));
}

TEST_F(SettingsFile, SelectionColumnKeysAreWrittenOnlyWhenSet)
{
    // A file of today has neither key: every record is chosen, and a save adds neither.
    ASSERT_TRUE(TestFiles::write(path, DefaultSettingsFileBytes()));
    AppSettings s;
    ASSERT_TRUE(LoadSettings(s, path));
    EXPECT_EQ(s.csv.selNo, -1);
    EXPECT_EQ(s.csv.selMode, 0);
    ASSERT_TRUE(SaveCsvSettings(s, path));
    const QByteArray saved = TestFiles::read(path);
    EXPECT_FALSE(saved.contains("SELNO") || saved.contains("SELMODE"));

    const struct {
        int selNo;
        int selMode;
        const char* keys; // what [POSTCSV] then ends with
    } steps[] = {
        { 8, 0, "CSVHEAD=0\r\nSELNO=8\r\n" },
        { 8, 1, "CSVHEAD=0\r\nSELNO=8\r\nSELMODE=1\r\n" },
        { -1, 1, "CSVHEAD=0\r\nSELMODE=1\r\n" },
        { 0, 0, "CSVHEAD=0\r\n" }, // 0 is no column, as -1
        { 12, 0, "CSVHEAD=0\r\nSELNO=12\r\n" },
    };
    for (const auto& st : steps) {
        SCOPED_TRACE(st.keys);
        s.csv.selNo = st.selNo;
        s.csv.selMode = st.selMode;
        ASSERT_TRUE(SaveCsvSettings(s, path));
        EXPECT_TRUE(sectionBytes(TestFiles::read(path), "POSTCSV").endsWith(st.keys));
        AppSettings back;
        ASSERT_TRUE(LoadSettings(back, path));
        EXPECT_EQ(back.csv.selNo, st.selNo < 1 ? -1 : st.selNo);
        EXPECT_EQ(back.csv.selMode, st.selMode);
    }
    // Back at the defaults, the file is as it was.
    s.csv.selNo = -1;
    s.csv.selMode = 0;
    ASSERT_TRUE(SaveCsvSettings(s, path));
    EXPECT_EQ(TestFiles::read(path), saved);

    // Hand-written values: a mode other than 1 means "print the marked", a column below 1 none.
    ASSERT_TRUE(TestFiles::write(path, "[POSTCSV]\r\nselno=0\r\nSELMODE=7\r\n"));
    ASSERT_TRUE(LoadSettings(s, path));
    EXPECT_EQ(s.csv.selNo, -1);
    EXPECT_EQ(s.csv.selMode, 0);
    ASSERT_TRUE(TestFiles::write(path, "[POSTCSV]\r\nSELNO=3\r\nSELMODE=1\r\n"));
    ASSERT_TRUE(LoadSettings(s, path));
    EXPECT_EQ(s.csv.selNo, 3);
    EXPECT_EQ(s.csv.selMode, 1);
}

TEST_F(SettingsFile, JointNameKeysAreWrittenOnlyWhenSet)
{
    // A file of today reads as no joint names, and saving it adds no key.
    ASSERT_TRUE(TestFiles::write(path, DefaultSettingsFileBytes()));
    AppSettings s;
    ASSERT_TRUE(LoadSettings(s, path));
    EXPECT_EQ(s.csv, CsvColumnMap());
    EXPECT_EQ(s.sender.jointNames, (std::array<QString, kSenderJointNames>{}));
    ASSERT_TRUE(SaveCsvSettings(s, path));
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Sender, path));
    const QByteArray saved = TestFiles::read(path);
    EXPECT_FALSE(saved.contains("REN"));

    struct Step {
        std::array<int, 3> names;
        std::array<int, 3> honorifics;
        std::array<const char16_t*, 2> sender;
        QByteArray csvKeys;    // the joint-name keys [POSTCSV] ends with
        QByteArray senderKeys; // those [MOTO] ends with
    };
    const Step steps[] = {
        { { 8, -1, -1 }, { -1, -1, -1 }, { u"", u"" }, "REN1NO=8\r\n", "" },
        { { 8, 10, 12 }, { 9, 0, 13 }, { u"花子", u"" },
          "REN1NO=8\r\nREN2NO=10\r\nREN3NO=12\r\nREN1KEISNO=9\r\nREN2KEISNO=0\r\nREN3KEISNO=13\r\n",
          "REN1=\x89\xd4\x8e\x71\r\n" },
        { { -1, 0, -1 }, { -1, -1, 7 }, { u"　", u"一郎" }, "REN2NO=0\r\nREN3KEISNO=7\r\n",
          "REN2=\x88\xea\x98\x59\r\n" },
    };
    for (const Step& st : steps) {
        s.csv.renNo = st.names;
        s.csv.renKeisNo = st.honorifics;
        for (int i = 0; i < kSenderJointNames; ++i)
            s.sender.jointNames[i] = QString::fromUtf16(st.sender[i]);
        ASSERT_TRUE(SaveCsvSettings(s, path));
        ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Sender, path));
        const QByteArray now = TestFiles::read(path);
        EXPECT_TRUE(sectionBytes(now, "POSTCSV").endsWith("CSVHEAD=0\r\n" + st.csvKeys)) << st.csvKeys.constData();
        EXPECT_TRUE(sectionBytes(now, "MOTO").endsWith("URL=\r\n" + st.senderKeys)) << st.senderKeys.constData();
        AppSettings back;
        ASSERT_TRUE(LoadSettings(back, path));
        EXPECT_EQ(back.csv, s.csv);
        for (int i = 0; i < kSenderJointNames; ++i)
            EXPECT_EQ(back.sender.jointNames[i], s.sender.jointNames[i].trimmed());
    }
    // Back to none: every key goes again and the file is as it was.
    s.csv = CsvColumnMap();
    s.sender.jointNames = {};
    ASSERT_TRUE(SaveCsvSettings(s, path));
    ASSERT_TRUE(SaveLayoutSettings(s, SettingsGroup::Sender, path));
    EXPECT_EQ(TestFiles::read(path), saved);
}
