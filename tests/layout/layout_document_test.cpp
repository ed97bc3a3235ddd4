// The layout document: opening stored layouts as the forms open them (odd ones put right with
// one message), writing back exactly what was read, the history of steps with undo and redo
// (every kind of step, merged arrow keys, a drag as one step, redo cleared by a new change,
// undo back to the settings as loaded, byte for byte) and what the observers are told.

#include "layout/LayoutRules.h"

#include "support/FieldStyles.h"
#include "support/TestFiles.h"
#include "support/TestText.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>

#include <functional>
#include <gtest/gtest.h>

namespace {

using testtext::u;

using teststyles::placedField;
FieldStyle field(int left, int top, int length, bool tate = false, bool visible = true)
{
    return placedField(left, top, length, tate, visible);
}

// The bytes a save of `kind`'s group writes into a copy of `ini` from this settings image.
QByteArray savedBytes(const AppSettings& settings, LayoutKind kind, const QByteArray& ini, const QString& dir)
{
    const QString path = QDir(dir).filePath(QStringLiteral("saved.ini"));
    if (!TestFiles::write(path, ini))
        return QByteArray();
    const SettingsGroup group = kind == LayoutKind::Postcard ? SettingsGroup::Postcard : SettingsGroup::Label;
    if (!SaveLayoutSettings(settings, group, path))
        return QByteArray();
    return TestFiles::read(path);
}

class Example : public ::testing::Test {
protected:
    void TearDown() override { QDir::setCurrent(m_cwd); }

    // An example's settings as the desktop program reads them, started in the example's
    // folder so that its picture is found.
    AppSettings load(const char* name)
    {
        const QString dir = QStringLiteral(TOVALIN_SOURCE_DIR "/examples/%1").arg(QLatin1String(name));
        EXPECT_TRUE(QDir::setCurrent(dir));
        ini = TestFiles::read(dir + QStringLiteral("/POSTCSV.INI"));
        AppSettings a;
        EXPECT_TRUE(LoadSettings(a, dir + QStringLiteral("/POSTCSV.INI")));
        return a;
    }
    QTemporaryDir tmp;
    QByteArray ini;

private:
    QString m_cwd = QDir::currentPath();
};

} // namespace

TEST(LayoutDocument, OpeningPutsOddLayoutsRightAndSaysSoOnce)
{
    struct Case {
        const char* what;
        LayoutKind kind;
        std::function<void(AppSettings&)> edit;
        const char16_t* message; // empty: nothing to say
    } cases[] = {
        {"a postcard as it should be", LayoutKind::Postcard, [](AppSettings&) {}, u""},
        {"fields off the card, too short, too long", LayoutKind::Postcard,
         [](AppSettings& a) {
             a.postcardFields[1] = field(900, 120, 200);
             a.postcardFields[2] = field(300, 100, -40, true);
             a.postcardFields[5] = field(-50, -20, 100, false, false);
             a.postcardFields[7] = field(100, 50, 700, true);
         },
         u"用紙からはみ出していた項目を用紙内に戻しました。\r\n住所１、住所２、備　考、住所１(差出人)"},
        {"the postal code anywhere stays on its printed boxes", LayoutKind::Postcard,
         [](AppSettings& a) {
             a.postcardFields[0] = field(-300, 900, 5);
             a.postcardFields[0].post = true;
         },
         u""},
        {"label sheet out of range and a field off the label", LayoutKind::Label,
         [](AppSettings& a) {
             a.labelSheet.columns = 12;
             a.labelFields[2] = field(-30, 10, 100);
         },
         u"保存されているラベル設定に範囲外の値があったため、範囲内の値に直しました。\r\nラベル横 12 → 8\r\n"
         u"用紙からはみ出していた項目を用紙内に戻しました。\r\n住所２"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppSettings a;
        c.edit(a);
        const LayoutOpening o = LayoutDocument::read(a, c.kind);
        EXPECT_EQ(o.message(), u(c.message));
        const QSize card = o.state.cardSize();
        for (int n = 1; n <= kFieldCount; ++n) {
            const FieldBox& b = o.state.field(n).box;
            EXPECT_TRUE(QRect(QPoint(0, 0), card).contains(QRect(b.left, b.top, b.width, b.height))) << n;
        }
    }
}

TEST(LayoutDocument, AStampOffTheCardOrTooSmallComesBackWithItsPicturesSize)
{
    QTemporaryDir dir;
    const QString bmp = dir.filePath(QStringLiteral("stamp.bmp"));
    ASSERT_TRUE(TestFiles::writePicture(bmp, QSize(30, 40)));
    struct Case {
        const char* what;
        ImageBox stored;
        ImageBox opened;
        bool told;
    } cases[] = {
        {"in place", {bmp, 24, 24, 76, 90}, {bmp, 24, 24, 76, 90}, false},
        {"off the card", {bmp, 900, 20, 76, 90}, {bmp, 0, 0, 76, 90}, true},
        {"too small to grab", {bmp, 50, 60, 3, 90}, {bmp, 50, 60, 30, 40}, true},
        {"a file that is gone is dropped without a word", {dir.filePath(QStringLiteral("gone.bmp")), 1, 2, 3, 4},
         ImageBox(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppSettings a;
        a.postcardImage = c.stored;
        const LayoutOpening o = LayoutDocument::read(a, LayoutKind::Postcard);
        EXPECT_EQ(o.state.stamp, c.opened);
        EXPECT_EQ(o.moved.contains(u(u"画像")), c.told);
    }
}

TEST_F(Example, WritingWhatWasReadSavesTheFileAsItIs)
{
    // The postcard example holds a postcard layout; the label example both.
    const std::pair<const char*, LayoutKind> layouts[] = {
        {"postcard", LayoutKind::Postcard}, {"label", LayoutKind::Label}, {"label", LayoutKind::Postcard}};
    for (const auto& [name, kind] : layouts) {
        SCOPED_TRACE(name);
        const AppSettings a = load(name);
        const LayoutOpening o = LayoutDocument::read(a, kind);
        EXPECT_TRUE(o.isEmpty()) << o.message().toStdString();
        AppSettings written = a;
        LayoutDocument::write(o.state, written);
        EXPECT_EQ(savedBytes(written, kind, ini, tmp.path()), ini) << int(kind);
    }
}

TEST_F(Example, EveryKindOfStepIsUndoneAndRedoneWhole)
{
    using S = LayoutState;
    const QString stamp = tmp.filePath(QStringLiteral("stamp.bmp"));
    ASSERT_TRUE(TestFiles::writePicture(stamp, QSize(20, 20)));
    struct Case {
        const char* what;
        LayoutKind kind;
        std::function<void(LayoutDocument&)> act;
    } cases[] = {
        {"a style", LayoutKind::Postcard,
         [](LayoutDocument& d) {
             FieldStyle s = d.style(4);
             s.bold = !s.bold;
             s.fontSize = 28;
             d.setFieldStyle(4, s);
         }},
        {"a toggle", LayoutKind::Postcard, [](LayoutDocument& d) { d.change(LayoutRules::setVisible(d.state(), 3, false)); }},
        {"a turn", LayoutKind::Postcard,
         [](LayoutDocument& d) {
             FieldStyle s = d.style(8);
             s.tate = !s.tate;
             d.change(LayoutRules::turn(d.state(), 8, s));
         }},
        {"the sender postal frame", LayoutKind::Postcard,
         [](LayoutDocument& d) {
             d.change(LayoutRules::senderPostal(d.state(), !d.style(7).postWaku, true, d.style(7)));
         }},
        {"a stamp read", LayoutKind::Label,
         [stamp](LayoutDocument& d) { d.change(LayoutRules::placeStamp(d.state(), stamp, QSize(20, 20))); }},
        {"the stamp cleared", LayoutKind::Postcard,
         [](LayoutDocument& d) {
             S s = d.state();
             s.stamp = ImageBox();
             d.change(s);
         }},
        {"the position adjustment", LayoutKind::Postcard,
         [](LayoutDocument& d) { d.change(*LayoutRules::moveOffset(d.state(), 1, -1)); }},
        {"the honorific", LayoutKind::Postcard,
         [](LayoutDocument& d) {
             S s = d.state();
             s.honorific = HonorificChoice{false, u(u"殿")};
             d.change(s);
         }},
        {"a sheet value", LayoutKind::Label,
         [](LayoutDocument& d) { d.change(LayoutRules::changeSheet(d.state(), SheetSetting::Columns, 3).layout); }},
        {"a drag", LayoutKind::Label,
         [](LayoutDocument& d) {
             LayoutRules::Grab g = LayoutRules::grabField(d.state(), 4, QPoint(50, 5));
             d.beginGesture();
             for (int x : {55, 62, 70})
                 d.showGesture(LayoutRules::dragField(d.state(), 4, g, QPoint(x, 5)).layout);
             d.endGesture();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const AppSettings a = load(c.kind == LayoutKind::Postcard ? "postcard" : "label");
        LayoutDocument d(c.kind);
        d.open(a);
        EXPECT_FALSE(d.canUndo());
        const LayoutState opened = d.state();
        c.act(d);
        const LayoutState after = d.state();
        ASSERT_NE(after, opened);
        EXPECT_EQ(d.undoStack()->count(), 1);
        d.undo();
        EXPECT_EQ(d.state(), opened);
        EXPECT_FALSE(d.canUndo());
        EXPECT_TRUE(d.canRedo());
        d.redo();
        EXPECT_EQ(d.state(), after);
        d.undo();
        // Back at the loaded document, a save writes the file as it was.
        AppSettings written = a;
        d.store(written);
        EXPECT_EQ(savedBytes(written, c.kind, ini, tmp.path()), ini);
    }
}

TEST(LayoutDocument, ArrowKeysOnOneFieldAreOneStepUntilAnotherFieldIsTaken)
{
    AppSettings a;
    a.postcardFields[1] = field(100, 200, 100);
    a.postcardFields[2] = field(100, 300, 100);
    LayoutDocument d(LayoutKind::Postcard);
    d.open(a);
    const LayoutState opened = d.state();
    auto key = [&d](int n, LayoutRules::Arrow arrow, bool shift = false) {
        d.change(*LayoutRules::arrowKey(d.state(), n, arrow, shift), LayoutDocument::Merge::KeyMove, n);
    };
    using A = LayoutRules::Arrow;
    for (int i = 0; i < 5; ++i)
        key(2, A::Right);
    key(2, A::Right, true);
    EXPECT_EQ(d.undoStack()->count(), 1);
    EXPECT_EQ(d.style(2).left, 105);
    EXPECT_EQ(d.style(2).width, 101);
    key(3, A::Down); // another field: a step of its own
    EXPECT_EQ(d.undoStack()->count(), 2);
    d.breakMerge(); // field 2 selected again
    key(3, A::Down);
    EXPECT_EQ(d.undoStack()->count(), 3);
    d.undo();
    d.undo();
    EXPECT_EQ(d.style(3).top, 300);
    d.undo();
    EXPECT_EQ(d.state(), opened);

    // There and back again leaves no step at all.
    key(2, A::Left);
    key(2, A::Right);
    EXPECT_EQ(d.state(), opened);
    EXPECT_FALSE(d.canUndo());
}

TEST(LayoutDocument, ANewChangeAfterUndoClearsRedo)
{
    LayoutDocument d(LayoutKind::Postcard);
    d.open(AppSettings());
    d.change(*LayoutRules::moveOffset(d.state(), 1, 0));
    d.change(*LayoutRules::moveOffset(d.state(), 1, 0));
    d.undo();
    EXPECT_TRUE(d.canRedo());
    d.change(*LayoutRules::moveOffset(d.state(), 0, 1));
    EXPECT_FALSE(d.canRedo());
    EXPECT_EQ(d.state().offsetX, 1);
    EXPECT_EQ(d.state().offsetY, 1);
    // Opening again forgets the history.
    d.open(AppSettings());
    EXPECT_FALSE(d.canUndo());
    EXPECT_FALSE(d.canRedo());
}

TEST(LayoutDocument, ObserversHearWhichPartChanged)
{
    LayoutDocument d(LayoutKind::Label);
    d.open(AppSettings());
    QSignalSpy fields(&d, &LayoutDocument::fieldChanged);
    QSignalSpy stamp(&d, &LayoutDocument::stampChanged);
    QSignalSpy sheet(&d, &LayoutDocument::sheetChanged);
    QSignalSpy options(&d, &LayoutDocument::optionsChanged);
    auto counts = [&] { return std::vector<int>{int(fields.count()), int(stamp.count()), int(sheet.count()), int(options.count())}; };

    FieldStyle s = d.style(5);
    s.italic = true;
    s.top = 150;
    d.setFieldStyle(5, s);
    EXPECT_EQ(counts(), (std::vector<int>{1, 0, 0, 0}));
    EXPECT_EQ(fields.takeFirst().at(0).toInt(), 5);
    d.change(LayoutRules::placeStamp(d.state(), QStringLiteral("x.bmp"), QSize(20, 20)));
    EXPECT_EQ(counts(), (std::vector<int>{0, 1, 0, 0}));
    d.change(*LayoutRules::moveOffset(d.state(), 0, 3));
    EXPECT_EQ(counts(), (std::vector<int>{0, 1, 0, 1}));
    // Fewer rows: the sheet, and the fields and stamp moved into the smaller label.
    d.change(LayoutRules::changeSheet(d.state(), SheetSetting::Rows, 14).layout);
    EXPECT_EQ(sheet.count(), 1);
    EXPECT_GT(fields.count(), 0);
    d.undo();
    EXPECT_EQ(sheet.count(), 2);
}
