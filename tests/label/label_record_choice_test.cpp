// Choosing records on the label form: the chosen records fill the cells from the start cell
// in list order without gaps, the page count follows them, and an empty choice disables 印刷.

#include "LabelFormFixture.h"
#include "support/ModalDialogs.h"

#include "controls/TUpDown.h"
#include "layout/ui/TFrmRecordSelect.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace labeltest;

namespace {

void chooseOnForm(TFrmCsvLabelSet* form, const QString& range)
{
    whenShown<TFrmRecordSelect>([range](TFrmRecordSelect* d) {
        d->edtRange->setText(range);
        QTest::keyClick(d->edtRange, Qt::Key_Return);
        d->bbtnOk->click();
    });
    closeStrayDialogsLater();
    form->bbtnChoose->click();
    QApplication::processEvents();
}

// The records (0-based) of the cells of a page, row by row; -1 for an empty cell.
QVector<int> cells(const LabelSnapshot& s, int page)
{
    QVector<int> out;
    for (int r = 1; r <= s.sheet.rows; ++r)
        for (int c = 1; c <= s.sheet.columns; ++c)
            out << s.recordAt(page, r, c);
    return out;
}

} // namespace

TEST_F(LabelForm, ChosenRecordsFillTheCellsFromTheStartCellWithoutGaps)
{
    open();
    EXPECT_EQ(form->lblChoice->text(), QString::fromUtf16(u"25 / 25 件選択"));
    // Start at the last cell of the first sheet.
    const int perPage = form->pageSnapshot().perPage();
    ASSERT_GT(perPage, 2);
    const int rows = form->pageSnapshot().sheet.rows;
    const int columns = form->pageSnapshot().sheet.columns;
    click(form->udSRow, TUpDown::Direction::Up, rows - 1);
    click(form->udSCol, TUpDown::Direction::Up, columns - 1);

    chooseOnForm(form.get(), QStringLiteral("25, 2-3, 10"));
    EXPECT_EQ(form->lblChoice->text(), QString::fromUtf16(u"4 / 25 件選択"));
    const LabelSnapshot s = form->pageSnapshot();
    ASSERT_EQ(s.pageCount(), 2);
    QVector<int> first(perPage, -1);
    first.last() = 1; // record 2 in the start cell
    EXPECT_EQ(cells(s, 1), first);
    QVector<int> second(perPage, -1);
    second[0] = 2;
    second[1] = 9;
    second[2] = 24;
    EXPECT_EQ(cells(s, 2), second);
    EXPECT_EQ(s.printedRecords(), (QVector<int> { 1, 2, 9, 24 }));

    chooseOnForm(form.get(), QStringLiteral("26-"));
    EXPECT_FALSE(form->bbtnPrint->isEnabled());
    EXPECT_EQ(form->pageSnapshot().pageCount(), 1); // the started sheet only
}
