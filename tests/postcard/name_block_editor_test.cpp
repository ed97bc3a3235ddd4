// Joint names in the layout editor: name 1 with its family shows as one block for the record
// on screen, drawn as the page sets it, and the block drags as name 1's field.

#include "PostcardFormFixture.h"

#include "controls/TShineBtn.h"

#include <QImage>

using namespace postcardtest;

namespace {

// Postal code, address 1, address 2, name 1, name 2, barcode, honorific, then joint names 1
// and 2 and the honorific of joint name 2.
QString familyLine(const QString& name1, const QString& joint1, const QString& joint2, const QString& honorific2)
{
    return QStringLiteral("\"100-0001\",\"東京都千代田区\",\"\",\"%1\",\"\",\"\",\"様\",\"%2\",\"%3\",\"%4\"")
        .arg(name1, joint1, joint2, honorific2);
}

// Dark pixels of the card picture within `r` (the dotted outlines are grey or blue and thin,
// so they are kept out by insetting the bands).
int inkIn(const QImage& card, const QRect& r)
{
    int ink = 0;
    for (int y = qMax(r.top(), 0); y <= qMin(r.bottom(), card.height() - 1); ++y) {
        for (int x = qMax(r.left(), 0); x <= qMin(r.right(), card.width() - 1); ++x)
            ink += qGray(card.pixel(x, y)) < 100 ? 1 : 0;
    }
    return ink;
}

class NameBlockEditor : public PostcardForm {
protected:
    void SetUp() override
    {
        PostcardForm::SetUp();
        if (HasFatalFailure())
            return;
        writeCsv({ familyLine(QStringLiteral("山田　太郎"), QStringLiteral("花子"), QStringLiteral("一郎"),
                              QStringLiteral("くん")),
                   familyLine(QStringLiteral("佐藤　次郎"), QString(), QString(), QString()) });
        AppSettings& s = AppSettings::instance();
        s.csv.renNo = { 8, 9, -1 };
        s.csv.renKeisNo = { -1, 10, -1 };
        s.postcardFields[3].width = 260; // the family with its honorifics fits
    }
    QWidget* view(int field) const { return form->fields()->blockView(field); }
};

} // namespace

TEST_F(NameBlockEditor, TheFamilyShowsAsOneBlockForTheRecordOnScreen)
{
    open();
    QWidget* block = view(4);
    ASSERT_NE(block, nullptr);
    TPaintBoxEL* name1 = box(4);
    ASSERT_TRUE(block->isVisible());
    // Three lines of name 1's height, centred on name 1's own line.
    const QRect line = name1->geometry();
    EXPECT_TRUE(block->geometry().contains(line));
    EXPECT_NEAR(block->height(), 3 * line.height(), 4);
    EXPECT_NEAR(block->geometry().center().y(), line.center().y(), 2);
    // Each line has its name on the card: name 1 a line above its box, the joint names below.
    const QImage card = form->pnlCard->grab().toImage();
    if (const QString dir = qEnvironmentVariable("TOVALIN_SCREENSHOT_DIR"); !dir.isEmpty())
        card.save(dir + QStringLiteral("/editor-family.png"));
    for (int i = -1; i <= 1; ++i) {
        const QRect band = line.translated(0, i * line.height()).adjusted(3, 3, -3, -3);
        EXPECT_GT(inkIn(card, band), 20) << "line " << i + 2;
    }
    EXPECT_FALSE(form->fields()->overflows(name1));

    // Name 1 alone on the next record: no block, the box shows its text.
    form->ssbCsvNextClick();
    EXPECT_FALSE(block->isVisible());
    form->ssbCsvPriorClick();
    EXPECT_TRUE(block->isVisible());

    // The block does not fit a short field: name 1's outline turns red.
    AppSettings::instance().postcardFields[3].width = 40;
    form.reset();
    open();
    EXPECT_TRUE(form->fields()->overflows(box(4)));

    // Name 1 hidden: no block either.
    QTest::mouseClick(form->itemToggles[3], Qt::LeftButton);
    EXPECT_FALSE(box(4)->isVisible());
    EXPECT_FALSE(view(4)->isVisible());
}

TEST_F(NameBlockEditor, PressingTheBlockSelectsAndDragsName1)
{
    open();
    QWidget* block = view(4);
    TPaintBoxEL* name1 = box(4);
    const QPoint before = name1->pos();
    const QPoint blockBefore = block->pos();
    // On the last joint name, well outside name 1's box.
    const QPoint grab(block->width() / 2, block->height() - 4);
    ASSERT_FALSE(name1->geometry().contains(block->mapToParent(grab)));
    press(block, grab);
    EXPECT_EQ(form->selectedField(), name1);
    moveBy(block, QPoint(12, -20));
    release(block);
    EXPECT_EQ(name1->pos(), before + QPoint(12, -20));
    EXPECT_EQ(block->pos(), blockBefore + QPoint(12, -20));
    EXPECT_EQ(form->document().field(4).box.left, before.x() + 12);
    // One step: undone as one.
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(name1->pos(), before);
    EXPECT_EQ(block->pos(), blockBefore);
}

TEST_F(NameBlockEditor, TheSendersJointNamesShowWithTheSendersName)
{
    AppSettings& s = AppSettings::instance();
    s.postcardFields[9] = field(40, 420, 160);
    s.sender.name1 = QStringLiteral("青木　晴彦");
    s.sender.jointNames = { QString(), QStringLiteral("奈緒") }; // an empty first line leaves no gap
    open();
    QWidget* block = view(10);
    ASSERT_TRUE(block->isVisible());
    EXPECT_NEAR(block->height(), 2 * box(10)->height(), 4);
    const QImage card = form->pnlCard->grab().toImage();
    const QRect joint = box(10)->geometry().translated(0, box(10)->height() / 2).adjusted(3, 3, -3, -3);
    EXPECT_GT(inkIn(card, joint.intersected(block->geometry())), 20);
}
