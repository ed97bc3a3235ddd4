#include "layout/FieldTexts.h"
#include "layout/NameBlock.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

namespace {

using testtext::u;
using Name = NameBlockTexts::Name;

FieldVisibility namesVisible(bool four, bool five)
{
    FieldVisibility v;
    v.fill(true);
    v[3] = four;
    v[4] = five;
    return v;
}

// Columns: 1 name 1, 2 name 2, 3 honorific, 4-6 joint names, 7-9 their honorifics.
CsvColumnMap familyMap()
{
    CsvColumnMap map;
    map.mei1No = 1;
    map.mei2No = 2;
    map.keisNo = 3;
    map.renNo = { 4, 5, 6 };
    map.renKeisNo = { 7, 8, 9 };
    return map;
}

} // namespace

TEST(NameBlockTexts, JointNamesOfARecord)
{
    struct Case {
        const char* name;
        const char16_t* line;
        CsvColumnMap map;
        HonorificChoice choice;
        FieldVisibility visible;
        Name name1;
        QVector<Name> joints;
    };
    const HonorificChoice registered { true, QString() };
    CsvColumnMap noOwnHonorifics = familyMap();
    noOwnHonorifics.renKeisNo = { -1, -1, -1 };
    CsvColumnMap honorificWithoutName = familyMap();
    honorificWithoutName.renNo = { 4, -1, 0 };
    CsvColumnMap noJointNames = familyMap();
    noJointNames.renNo = { -1, -1, -1 };
    const QString sama = u(u"様");
    const Case cases[] = {
        { "a family of four", u"山田　太郎,,様,花子,一郎,さくら,,くん,ちゃん", familyMap(), registered,
          namesVisible(true, true), { u(u"山田　太郎"), sama },
          { { u(u"花子"), sama, true }, { u(u"一郎"), u(u"くん"), true }, { u(u"さくら"), u(u"ちゃん"), true } } },
        { "a joint name with its own family name (ASCII or ideographic space)",
          u"山田　太郎,,様,鈴木 花子,佐藤　一郎,", familyMap(), registered, namesVisible(true, true),
          { u(u"山田　太郎"), sama }, { { u(u"鈴木 花子"), sama, false }, { u(u"佐藤　一郎"), sama, false } } },
        { "empty joint names between filled ones leave no gap; padding goes",
          u"山田　太郎,,様,　,　　次郎 ,,,,", familyMap(), registered, namesVisible(true, true),
          { u(u"山田　太郎"), sama }, { { u(u"次郎"), sama, true } } },
        { "columns beyond the record", u"山田　太郎,,様,花子", familyMap(), registered, namesVisible(true, true),
          { u(u"山田　太郎"), sama }, { { u(u"花子"), sama, true } } },
        { "an honorific column without its name column", u"山田　太郎,,様,花子,一郎,さくら,殿,殿,殿",
          honorificWithoutName, registered, namesVisible(true, true), { u(u"山田　太郎"), sama },
          { { u(u"花子"), u(u"殿"), true } } },
        { "a fixed honorific, and a joint name's own column still wins", u"山田　太郎,,様,花子,一郎,,先生,,",
          familyMap(), { false, u(u"殿") }, namesVisible(true, true), { u(u"山田　太郎"), u(u"殿") },
          { { u(u"花子"), u(u"先生"), true }, { u(u"一郎"), u(u"殿"), true } } },
        { "name 2 holds the contact person: name 1 carries none, the joint names name 2's",
          u"株式会社みなと,中村　浩二,様,花子,,", noOwnHonorifics, registered, namesVisible(true, true),
          { u(u"株式会社みなと"), QString() }, { { u(u"花子"), sama, true } } },
        { "a blank honorific column: name 1 and the joint names carry none", u"山田　太郎,, ,花子,,", noOwnHonorifics,
          registered, namesVisible(true, true), { u(u"山田　太郎"), QString() }, { { u(u"花子"), QString(), true } } },
        { "joint names without name 1", u" ,,様,花子,一郎,", familyMap(), registered, namesVisible(true, false),
          { QString(), sama }, { { u(u"花子"), sama, true }, { u(u"一郎"), sama, true } } },
        { "name 1's field hidden: no block", u"山田　太郎,,様,花子,一郎,", familyMap(), registered,
          namesVisible(false, true), {}, {} },
        { "no joint-name columns mapped", u"山田　太郎,,様,花子,一郎,", noJointNames,
          registered, namesVisible(true, true), { u(u"山田　太郎"), sama }, {} },
    };
    for (const Case& c : cases) {
        const RecordColumns columns = RecordColumns::fromLine(QString::fromUtf16(c.line), c.map);
        const NameBlockTexts block = FieldTexts::recipientNames(columns, c.choice, c.visible);
        EXPECT_EQ(block.name1, c.name1) << c.name;
        EXPECT_EQ(block.joints, c.joints) << c.name;
        EXPECT_EQ(block.isBlock(), !c.joints.isEmpty()) << c.name;
    }
}

TEST(NameBlockTexts, SenderJointNamesCarryNoHonorific)
{
    SenderInfo sender;
    sender.name1 = u(u"青木　晴彦");
    sender.jointNames = { QString(), u(u"奈緒") };
    NameBlockTexts block = FieldTexts::senderNames(sender);
    EXPECT_EQ(block.name1, (Name { u(u"青木　晴彦"), QString() }));
    EXPECT_EQ(block.joints, (QVector<Name> { { u(u"奈緒"), QString(), true } }));

    sender.jointNames = { u(u"鈴木 奈緒"), QStringLiteral(" ") };
    block = FieldTexts::senderNames(sender);
    EXPECT_EQ(block.joints, (QVector<Name> { { u(u"鈴木 奈緒"), QString(), false } }));

    sender.jointNames = {};
    EXPECT_FALSE(FieldTexts::senderNames(sender).isBlock());
}

TEST(NameBlockTexts, WhereTheGivenNameStarts)
{
    const struct {
        const char16_t* name;
        int given;
        bool full;
    } cases[] = {
        { u"山田　太郎", 3, true }, { u"山田 太郎", 3, true },  { u"山田太郎", -1, false },
        { u"　山田　太郎", 4, true }, { u"山田　", 3, false }, { u"", -1, false },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FieldTexts::givenNameStart(QString::fromUtf16(c.name)), c.given) << QString::fromUtf16(c.name).toStdString();
        EXPECT_EQ(FieldTexts::isFullName(QString::fromUtf16(c.name)), c.full) << QString::fromUtf16(c.name).toStdString();
    }
}

namespace {

// Every character is 10 long, an ASCII space 5: lengths worked out by hand.
qreal tenEach(const QString& text)
{
    qreal n = 0;
    for (QChar c : text)
        n += c == QLatin1Char(' ') ? 5 : 10;
    return n;
}

struct Expected {
    const char16_t* text;
    qreal x, y;
};

} // namespace

TEST(NameBlockGeometry, ColumnsLinesAlignmentAndCentring)
{
    struct Case {
        const char* name;
        NameBlockTexts names;
        NameBlock::Frame frame;
        qreal pitch;
        QVector<Expected> pieces; // names, then honorifics
        QRectF bounds;
        qreal after;
        bool fits;
    };
    const QString sama = u(u"様");
    const NameBlock::Frame vCentre { QRectF(100, 200, 30, 300), true, 1, 30 };
    const NameBlock::Frame vTop { QRectF(100, 200, 30, 300), true, 0, 30 };
    const NameBlock::Frame hCentre { QRectF(50, 80, 300, 20), false, 1, 20 };
    const NameBlock::Frame hEnd { QRectF(50, 80, 300, 20), false, 2, 20 };
    const NameBlock::Frame vShort { QRectF(100, 200, 30, 60), true, 1, 30 };
    const Case cases[] = {
        // 山田　太郎 50, given name from 30; 花子 30..50; honorifics at 50 + 10; extent 70,
        // centred: (300 - 70) / 2 = 115 below the top. Two columns centred on name 1's (115).
        { "vertical, centred, one given name", { { u(u"山田　太郎"), sama }, { { u(u"花子"), sama, true } } }, vCentre, 30,
          { { u"山田　太郎", 115, 315 }, { u"花子", 85, 345 }, { u"様", 115, 375 }, { u"様", 85, 375 } },
          QRectF(85, 315, 60, 70), 15, true },
        // The longest name (a full name, 60) sets where the honorifics go: 70.
        { "vertical, top, a family of four",
          { { u(u"山田　太郎"), sama },
            { { u(u"花子"), sama, true }, { u(u"一郎"), u(u"くん"), true }, { u(u"鈴木　さくら"), u(u"ちゃん"), false } } },
          vTop, 30,
          { { u"山田　太郎", 145, 200 }, { u"花子", 115, 230 }, { u"一郎", 85, 230 }, { u"鈴木　さくら", 55, 200 },
            { u"様", 145, 270 }, { u"様", 115, 270 }, { u"くん", 85, 270 }, { u"ちゃん", 55, 270 } },
          QRectF(55, 200, 120, 100), 45, true },
        // No space in name 1: the given names start one character in.
        { "horizontal, centred, name 1 without a space", { { u(u"山田太郎"), sama }, { { u(u"花子"), sama, true } } },
          hCentre, 20, { { u"山田太郎", 170, 70 }, { u"花子", 180, 90 }, { u"様", 220, 70 }, { u"様", 220, 90 } },
          QRectF(170, 70, 60, 40), 10, true },
        // Name 1 blank: the joint names alone, from the start; "鈴木 花子" is 45 long.
        { "horizontal, end, no name 1",
          { { QString(), sama }, { { u(u"鈴木 花子"), sama, false }, { u(u"一郎"), sama, true } } }, hEnd, 20,
          { { u"鈴木 花子", 285, 70 }, { u"一郎", 285, 90 }, { u"様", 340, 70 }, { u"様", 340, 90 } },
          QRectF(285, 70, 65, 40), 10, true },
        // The contact person in name 2 takes name 1's honorific; the joint names keep theirs.
        { "name 1 without an honorific", { { u(u"山田　太郎"), QString() }, { { u(u"花子"), sama, true } } }, vTop, 30,
          { { u"山田　太郎", 115, 200 }, { u"花子", 85, 230 }, { u"様", 85, 260 } }, QRectF(85, 200, 60, 70), 15, true },
        { "no honorifics (the sender)", { { u(u"青木　晴彦"), QString() }, { { u(u"奈緒"), QString(), true } } }, vCentre,
          30, { { u"青木　晴彦", 115, 325 }, { u"奈緒", 85, 355 } }, QRectF(85, 325, 60, 50), 15, true },
        // A smaller pitch (the block shrunk) stays centred on name 1's own column.
        { "shrunk pitch", { { u(u"山田　太郎"), sama }, { { u(u"花子"), sama, true } } }, vCentre, 24,
          { { u"山田　太郎", 115, 315 }, { u"花子", 91, 345 }, { u"様", 115, 375 }, { u"様", 91, 375 } },
          QRectF(91, 315, 48, 70), 9, true },
        // Longer than the field: from the field's start whatever the alignment.
        { "too long for the field", { { u(u"山田　太郎"), sama }, { { u(u"花子"), sama, true } } }, vShort, 30,
          { { u"山田　太郎", 115, 200 }, { u"花子", 85, 230 }, { u"様", 115, 260 }, { u"様", 85, 260 } },
          QRectF(85, 200, 60, 70), 15, false },
    };
    for (const Case& c : cases) {
        const NameBlock::Layout l = NameBlock::place(c.names, c.frame, c.pitch, tenEach);
        ASSERT_EQ(l.pieces.size(), c.pieces.size()) << c.name;
        for (int i = 0; i < l.pieces.size(); ++i) {
            const NameBlock::Piece& p = l.pieces[i];
            EXPECT_EQ(p.text, QString::fromUtf16(c.pieces[i].text)) << c.name << " piece " << i;
            EXPECT_EQ(p.at, QPointF(c.pieces[i].x, c.pieces[i].y)) << c.name << " " << p.text.toStdString();
            EXPECT_EQ(p.length, tenEach(p.text)) << c.name;
        }
        EXPECT_EQ(l.bounds, c.bounds) << c.name;
        EXPECT_EQ(l.after, c.after) << c.name;
        EXPECT_EQ(l.fits, c.fits) << c.name;
    }
}
