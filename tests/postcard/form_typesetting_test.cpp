// The postcard form with the typesetting options of its fields: the page "組版" of 項目情報
// changes them one undoable step at a time, the card picture shows the texts as they are
// printed, marks the fields that do not fit as the check before printing finds them, and 枠外
// goes to the next such record; the options are kept when the layout is saved.

#include "PostcardFormFixture.h"

#include "controls/TShineBtn.h"
#include "layout/ui/LayoutFields.h"
#include "postcard/PostcardComposer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTabBar>
#include <QUndoStack>

using namespace postcardtest;

namespace {

TEST_F(PostcardForm, CardPictureShowsAndMarksWhatThePrintCheckFinds)
{
    FieldStyles& f = AppSettings::instance().postcardFields;
    f[2] = field(300, 100, 200, true, true, QStringLiteral("@ＭＳ 明朝")); // address 2, vertical
    f[2].kansuji = 2;
    f[2].tcy = true;
    f[3].fit = true;    // name 1, horizontal, 180 pixels at 18 points
    f[4].width = 60;    // name 2: "山田　花子　様" never fits
    // Records 3 and 5 have names too long even at half the size; record 4 one that shrinks.
    QStringList lines;
    for (int i = 1; i <= 6; ++i) {
        QString line = recordLine(i);
        if (i == 3 || i == 5)
            line.replace(QStringLiteral("山田　太郎%1").arg(i), QString(40, QChar(u'山')));
        if (i == 4)
            line.replace(QStringLiteral("山田　太郎%1").arg(i), QString(14, QChar(u'山')));
        lines << line;
    }
    writeCsv(lines);
    open();
    LayoutFields* fields = form->fields();
    EXPECT_EQ(fields->paintText(box(3)), QStringLiteral("サンライズビル一号室"));

    const PostcardSnapshot batch = PostcardSnapshot::fromSettings(AppSettings::instance(), fields->records,
                                                                  HonorificChoice { true, QString() });
    const PrintCheckReport report = CheckPostcardRun(batch);
    EXPECT_EQ(report.records(), (QVector<int> { 0, 1, 2, 3, 4, 5 })); // name 2 everywhere
    EXPECT_TRUE(report.flags(2, 4));
    EXPECT_TRUE(report.flags(4, 4));
    EXPECT_FALSE(report.flags(3, 4));
    for (int r = 0; r < 6; ++r) {
        SCOPED_TRACE(r);
        ASSERT_EQ(form->currentRecord(), r);
        for (int n = 2; n <= kFieldCount; ++n)
            EXPECT_EQ(fields->overflows(box(n)), report.flags(r, n)) << n;
        // A marked field is outlined in red on the card picture.
        const QImage card = form->pnlCard->grab().toImage();
        const QRect b = box(5)->geometry();
        EXPECT_EQ(card.pixelColor(b.left() + b.width() / 2, b.bottom()), LayoutFields::kOverflowLine);
        const QRect n1 = box(4)->geometry();
        EXPECT_EQ(card.pixelColor(n1.left() + n1.width() / 2, n1.bottom()) == LayoutFields::kOverflowLine,
                  report.flags(r, 4));
        form->ssbCsvNextClick();
    }
}

TEST_F(PostcardForm, OptionsSurviveASaveOfTheLayout)
{
    FieldStyles& f = AppSettings::instance().postcardFields;
    f[2].kansuji = 1;
    f[2].hyphen = 1;
    f[7].tcy = true;
    f[1].fit = true;
    open();
    AppSettings stored = AppSettings::instance();
    form->storeLayout(stored);
    EXPECT_EQ(stored.postcardFields[2].kansuji, 1);
    EXPECT_EQ(stored.postcardFields[2].hyphen, 1);
    EXPECT_TRUE(stored.postcardFields[7].tcy);
    EXPECT_TRUE(stored.postcardFields[1].fit);
    EXPECT_FALSE(stored.postcardFields[3].fit);
}

// A choice on the page 組版 as a user makes it.
void choose(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

TEST_F(PostcardForm, TypesettingPageChangesTheSelectedFieldOneStepAtATime)
{
    FieldStyles& f = AppSettings::instance().postcardFields;
    f[2] = field(300, 100, 300, true, true, QStringLiteral("@ＭＳ 明朝")); // address 2, vertical
    f[1] = field(20, 120, 400, true, true, QStringLiteral("@ＭＳ 明朝")); // address 1, vertical
    open();
    LayoutFields* fields = form->fields();
    while (form->currentRecord() < 11) // "サンライズビル12号室", "飯田橋12－１０－８"
        form->ssbCsvNextClick();
    form->tabFld->setCurrentIndex(1);
    EXPECT_TRUE(form->pnlFldType->isVisible());
    EXPECT_FALSE(form->cmbFldFont->isVisible());
    EXPECT_TRUE(form->ssbUndo->isVisible()); // undo and redo serve both pages

    struct Step {
        const char* what;
        int field;
        std::function<void()> act;
        std::function<bool(const FieldStyle&)> stored;
        QString shown; // the text on the card picture after the step
    } steps[] = {
        {"一二三", 3, [this] { choose(form->cmbKansuji, 1); }, [](const FieldStyle& s) { return s.kansuji == 1; },
         QStringLiteral("サンライズビル一二号室")},
        {"十百", 3, [this] { choose(form->cmbKansuji, 2); }, [](const FieldStyle& s) { return s.kansuji == 2; },
         QStringLiteral("サンライズビル十二号室")},
        {"しない", 3, [this] { choose(form->cmbKansuji, 0); }, [](const FieldStyle& s) { return s.kansuji == 0; },
         QStringLiteral("サンライズビル12号室")},
        {"縦中横", 3, [this] { QTest::mouseClick(form->cbTcy, Qt::LeftButton); },
         [](const FieldStyle& s) { return s.tcy; }, QStringLiteral("サンライズビル12号室")},
        {"十百 on address 1", 2, [this] { choose(form->cmbKansuji, 2); },
         [](const FieldStyle& s) { return s.kansuji == 2 && s.hyphen == 0; }, QString()},
        {"の on address 1", 2, [this] { choose(form->cmbHyphen, 1); },
         [](const FieldStyle& s) { return s.kansuji == 2 && s.hyphen == 1; },
         QStringLiteral("東京都千代田区飯田橋十二の十の八")},
        {"自動縮小 on name 1", 4, [this] { QTest::mouseClick(form->cbFit, Qt::LeftButton); },
         [](const FieldStyle& s) { return s.fit; }, QString()},
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(st.what);
        form->selectField(box(st.field));
        const FieldStyle before = form->document().style(st.field);
        const QString beforeText = fields->paintText(box(st.field));
        const int depth = form->document().undoStack()->count();
        st.act();
        EXPECT_TRUE(st.stored(form->document().style(st.field)));
        if (!st.shown.isEmpty()) {
            EXPECT_EQ(fields->paintText(box(st.field)), st.shown);
        }
        // Each choice is one step; undo takes it back and the controls follow.
        EXPECT_EQ(form->document().undoStack()->count(), depth + 1);
        form->ssbUndoClick();
        EXPECT_TRUE(form->document().style(st.field) == before);
        EXPECT_EQ(fields->paintText(box(st.field)), beforeText);
        EXPECT_EQ(form->cmbKansuji->currentIndex(), before.kansuji);
        EXPECT_EQ(form->cmbHyphen->currentIndex(), before.hyphen);
        EXPECT_EQ(form->cbTcy->isChecked(), before.tcy);
        EXPECT_EQ(form->cbFit->isChecked(), before.fit);
        form->ssbRedoClick();
        EXPECT_TRUE(st.stored(form->document().style(st.field)));
    }
}

TEST_F(PostcardForm, TypesettingChoicesAreOpenOnlyWhereTheyChangeSomething)
{
    FieldStyles& f = AppSettings::instance().postcardFields;
    f[2] = field(300, 100, 300, true, true, QStringLiteral("@ＭＳ 明朝"));
    f[2].kansuji = 2;
    f[5].visible = true; // customer barcode data: no typesetting
    f[5].top = 350;
    open();
    struct Case {
        int field;
        bool kansuji, hyphen, tcy, fit;
    } cases[] = {
        {1, false, false, false, false}, // the postal-code digits
        {2, false, false, false, true},  // horizontal: only 自動縮小
        {3, true, true, true, true},     // vertical with 十百: the hyphen choice too
        {4, false, false, false, true},
        {6, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        form->selectField(box(c.field));
        EXPECT_EQ(form->cmbKansuji->isEnabled(), c.kansuji);
        EXPECT_EQ(form->cmbHyphen->isEnabled(), c.hyphen);
        EXPECT_EQ(form->cbTcy->isEnabled(), c.tcy);
        EXPECT_EQ(form->cbFit->isEnabled(), c.fit);
        // Field 6 has its barcode option where the others have the tabs of the pages.
        EXPECT_EQ(form->tabFld->isVisible(), c.field != 6);
        EXPECT_EQ(form->cbBarcode->isVisible(), c.field == 6);
    }
    // Without kanji numerals there is no hyphen to choose.
    form->selectField(box(3));
    choose(form->cmbKansuji, 0);
    EXPECT_FALSE(form->cmbHyphen->isEnabled());
    form->selectField(0);
    EXPECT_FALSE(form->cbFit->isEnabled());
}

TEST_F(PostcardForm, OverflowButtonGoesToTheNextRecordThatDoesNotFit)
{
    FieldStyles& f = AppSettings::instance().postcardFields;
    f[3].fit = true;
    QStringList lines;
    for (int i = 1; i <= 8; ++i) {
        QString line = recordLine(i);
        if (i == 3 || i == 7)
            line.replace(QStringLiteral("山田　太郎%1").arg(i), QString(40, QChar(u'山')));
        lines << line;
    }
    writeCsv(lines);
    open();
    const struct {
        int from, to;
    } steps[] = {{0, 2}, {2, 6}, {6, 2}, {4, 6}};
    for (const auto& st : steps) {
        SCOPED_TRACE(st.from);
        while (form->currentRecord() < st.from)
            form->ssbCsvNextClick();
        while (form->currentRecord() > st.from)
            form->ssbCsvPriorClick();
        QTest::mouseClick(form->ssbCsvOverflow, Qt::LeftButton);
        EXPECT_EQ(form->currentRecord(), st.to);
        EXPECT_TRUE(form->fields()->overflows(box(4))); // marked on the card picture
    }
    EXPECT_TRUE(messages.asked().isEmpty());

    // Without the long names on the card: the button says so and stays.
    form->document().change(LayoutRules::setVisible(form->document().state(), 4, false));
    QTest::mouseClick(form->ssbCsvOverflow, Qt::LeftButton);
    ASSERT_EQ(messages.asked().size(), 1);
    EXPECT_EQ(messages.asked()[0].text, QStringLiteral("枠に収まらない文字はありません。"));
    EXPECT_EQ(form->currentRecord(), 6);
}

} // namespace
