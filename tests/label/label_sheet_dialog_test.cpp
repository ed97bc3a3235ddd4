// Sheets by product name on the label form's ラベル設定: the dialog's search and picture,
// choosing a sheet (one change of the sheet through the minimum rule), registering the
// current sheet under a product name, and the message when the template files are missing.

#include "LabelFormFixture.h"
#include "LabelSheets.h"

#include "controls/TNumberEdit.h"
#include "label/LabelTemplates.h"
#include "label/ui/TFrmSheetSelect.h"
#include "support/ModalDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>
#include <functional>

using namespace labeltest;
using LabelTemplates::Catalog;
using LabelTemplates::Product;

namespace {

const QString kTooSmall = QStringLiteral("ラベルの最小値を下回るためこの変更は出来ません。");

// The user's template folder (and data folder) in a temporary place; the session's list read
// afresh. HOME stays: the CUPS client keeps the home it saw first for the whole process.
class TemplateHome {
public:
    TemplateHome()
    {
        for (const char* v : { "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS" })
            m_saved.push_back({ v, qgetenv(v), qEnvironmentVariableIsSet(v) });
        qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral(".config")).toUtf8());
        qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral(".local/share")).toUtf8());
        Catalog::resetSession();
    }
    ~TemplateHome()
    {
        for (const Saved& s : m_saved) {
            if (s.set)
                qputenv(s.name, s.value);
            else
                qunsetenv(s.name);
        }
        Catalog::resetSession();
    }
    QString userFolder() const { return m_home.filePath(QStringLiteral(".config/libglabels/templates")); }
    QString path() const { return m_home.path(); }

private:
    struct Saved {
        const char* name;
        QByteArray value;
        bool set;
    };
    QTemporaryDir m_home;
    QVector<Saved> m_saved;
};

// Searches for `text` and takes the shown row of product `name` (or cancels when absent).
void choose(TFrmSheetSelect* d, const QString& search, const QString& name)
{
    // Typed as an input method hands over text (QTest types ASCII only).
    d->edtSearch->insert(search);
    for (int row = 0; row < d->shownCount(); ++row) {
        if (d->shownProduct(row)->name() == name) {
            d->selectRow(row);
            d->bbtnOk->click();
            return;
        }
    }
    ADD_FAILURE() << name.toStdString() << " is not among the " << d->shownCount() << " rows shown for " << search.toStdString();
    d->reject();
}

// Runs of the outline green along one line of the picture.
int greenRuns(const QImage& img, QPoint from, QPoint step, int count)
{
    int runs = 0;
    bool inRun = false;
    for (int i = 0; i < count; ++i) {
        const QColor c = img.pixelColor(from + step * i);
        const bool green = c.green() > 100 && c.red() < 60 && c.blue() < 60;
        runs += green && !inRun;
        inRun = green;
    }
    return runs;
}

class LabelSheetByName : public LabelForm {
protected:
    void SetUp() override
    {
        LabelForm::SetUp();
        home = std::make_unique<TemplateHome>();
    }
    void TearDown() override
    {
        LabelForm::TearDown();
        home.reset();
    }
    // Presses 用紙選択… and lets `drive` answer the dialog.
    void select(std::function<void(TFrmSheetSelect*)> drive)
    {
        whenShown<TFrmSheetSelect>(drive);
        closeStrayDialogsLater();
        form->bbtnSheetSelect->click();
        QApplication::processEvents();
    }
    // Presses 登録… and types the names; with `blankFirst` the blank names are tried first.
    void registerSheet(const QString& maker, const QString& part, bool blankFirst = false)
    {
        whenShown<TFrmSheetRegister>([=](TFrmSheetRegister* d) {
            if (blankFirst) {
                d->bbtnOk->click();
                EXPECT_TRUE(d->isVisible());
                EXPECT_EQ(messages.texts(), QStringList { QStringLiteral("メーカーと品番を入力して下さい。") });
            }
            d->edtMaker->insert(maker);
            d->edtPart->insert(part);
            d->bbtnOk->click();
        });
        closeStrayDialogsLater();
        form->bbtnSheetRegister->click();
        QApplication::processEvents();
    }
    const Product& product(const char* name) const
    {
        const Product* p = Catalog::session().find(QString::fromUtf8(name));
        EXPECT_NE(p, nullptr) << name;
        static Product none;
        return p ? *p : none;
    }

    std::unique_ptr<TemplateHome> home;
};

} // namespace

TEST_F(LabelSheetByName, SearchNarrowsTheListAndThePictureShowsTheSheet)
{
    const QVector<Product>& all = Catalog::session().products();
    ASSERT_GT(all.size(), 300) << "the glabels-data package is not installed";
    TFrmSheetSelect d(all);
    d.show();
    EXPECT_EQ(d.shownCount(), all.size());
    EXPECT_NE(d.selected(), nullptr);

    QTest::keyClicks(d.edtSearch, QStringLiteral("12"));
    EXPECT_LT(d.shownCount(), all.size() / 2);
    QStringList shown;
    for (int row = 0; row < d.shownCount(); ++row)
        shown << d.shownProduct(row)->name();
    // Every 12-label sheet is found, and nothing that does not say 12 somewhere.
    for (const Product& p : all) {
        if (p.sheet.columns * p.sheet.rows == 12) {
            EXPECT_TRUE(shown.contains(p.name())) << p.name().toStdString();
        }
        EXPECT_EQ(shown.contains(p.name()), p.matches(QStringLiteral("12"))) << p.name().toStdString();
    }
    EXPECT_TRUE(d.lblCount->text().contains(QString::number(d.shownCount())));
    // The 12-label sheets first, in the list's order, and the first of them is the current row.
    int twelve = 0;
    while (twelve < d.shownCount() && d.shownProduct(twelve)->sheet.columns * d.shownProduct(twelve)->sheet.rows == 12)
        ++twelve;
    for (int row = twelve; row < d.shownCount(); ++row)
        EXPECT_NE(d.shownProduct(row)->sheet.columns * d.shownProduct(row)->sheet.rows, 12) << row;
    EXPECT_GT(twelve, 20);
    EXPECT_EQ(d.selected(), d.shownProduct(0));

    // Hisago ELM007: 2 x 6 labels with 3.8 mm between the columns, none between the rows.
    int row = shown.indexOf(QStringLiteral("Hisago ELM007"));
    ASSERT_GE(row, 0);
    d.selectRow(row);
    ASSERT_NE(d.selected(), nullptr);
    EXPECT_EQ(d.selected()->name(), QStringLiteral("Hisago ELM007"));
    EXPECT_TRUE(d.lblSheet->text().contains(QStringLiteral("83.8 × 42.3"))) << d.lblSheet->text().toStdString();
    QImage picture = d.imgSheet->grab().toImage();
    const double scale = std::min((picture.width() - 4) / 2100.0, (picture.height() - 4) / 2970.0);
    const int top = int((picture.height() - 2970 * scale) / 2);
    const int left = int((picture.width() - 2100 * scale) / 2);
    // Across the first row: two labels apart (four edges); down the first column: six labels
    // touching (seven edges).
    EXPECT_EQ(greenRuns(picture, QPoint(0, top + int((203 + 211) * scale)), QPoint(1, 0), picture.width()), 4);
    EXPECT_EQ(greenRuns(picture, QPoint(left + int((203 + 419) * scale), 0), QPoint(0, 1), picture.height()), 7);

    // A search that finds nothing leaves nothing to choose.
    d.edtSearch->setText(QStringLiteral("no such sheet"));
    EXPECT_EQ(d.shownCount(), 0);
    EXPECT_EQ(d.selected(), nullptr);
    EXPECT_FALSE(d.bbtnOk->isEnabled());
    picture = d.imgSheet->grab().toImage();
    EXPECT_EQ(greenRuns(picture, QPoint(0, picture.height() / 2), QPoint(1, 0), picture.width()), 0);
}

// Choosing a sheet sets all eight values at once, the label follows, and so do the preview's
// cells and what a save writes.
TEST_F(LabelSheetByName, ChoosingASheetFillsTheSheetValues)
{
    open();
    const Product& elm007 = product("Hisago ELM007");
    select([](TFrmSheetSelect* d) { choose(d, QStringLiteral("12"), QStringLiteral("Hisago ELM007")); });
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(form->sheetModel().sheet(), elm007.sheet);
    EXPECT_EQ(form->sheetModel().labelWidth(), 838);
    EXPECT_EQ(form->sheetModel().labelHeight(), 423);
    EXPECT_DOUBLE_EQ(form->nedtLblW->value(), 83.8);
    EXPECT_DOUBLE_EQ(form->nedtLblH->value(), 42.3);
    EXPECT_DOUBLE_EQ(form->nedtLblYokoSp->value(), 3.8);
    EXPECT_EQ(form->udLblUpSp->position(), 203);
    EXPECT_EQ(form->udLblRigSp->position(), 183);
    EXPECT_EQ(form->pnlCard->size(), LabelGeometry::imageSize(423, 838));
    const LabelSnapshot page = form->pageSnapshot();
    EXPECT_EQ(page.cellOrigin(1, 1), QPoint(203, 203));
    EXPECT_EQ(page.cellOrigin(6, 2), QPoint(203 + 838 + 38, 203 + 5 * 423));

    // A sheet of fewer rows pulls the start row in, as the rows' up-down does.
    ASSERT_TRUE(form->ProposeStartRow(6));
    select([](TFrmSheetSelect* d) { choose(d, QStringLiteral("hisago 10面"), QStringLiteral("Hisago ELM006")); });
    EXPECT_EQ(form->sheetModel().sheet().rows, 5);
    EXPECT_EQ(form->sheetModel().startRow(), 5);

    messages.answerYesNoCancel(Messages::Answer::Yes);
    form->close();
    EXPECT_EQ(AppSettings::instance().labelSheet, product("Hisago ELM006").sheet);
}

TEST_F(LabelSheetByName, AChosenSheetIsOneStepThatUndoTakesBackWhole)
{
    open();
    const LabelSheet before = form->sheetModel().sheet();
    const QSize card = form->pnlCard->size();
    QVector<QRect> boxes;
    for (int n = 1; n <= kFieldCount; ++n)
        boxes << box(n)->geometry();
    const QString width = form->nedtLblW->text(), rows = form->nedtLblRow->text();
    const int undoBefore = form->document().undoStack()->count();

    const LabelSheet chosen = product("Hisago ELM007").sheet;
    ASSERT_NE(chosen, before);
    select([](TFrmSheetSelect* d) { choose(d, QStringLiteral("12"), QStringLiteral("Hisago ELM007")); });
    ASSERT_EQ(form->sheetModel().sheet(), chosen);
    EXPECT_EQ(form->document().undoStack()->count(), undoBefore + 1);

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->sheetModel().sheet(), before);
    EXPECT_EQ(form->document().state().sheet, before);
    EXPECT_EQ(form->nedtLblW->text(), width);
    EXPECT_EQ(form->nedtLblRow->text(), rows);
    EXPECT_EQ(form->pnlCard->size(), card);
    for (int n = 1; n <= kFieldCount; ++n)
        EXPECT_EQ(box(n)->geometry(), boxes[n - 1]) << n;

    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form->sheetModel().sheet(), chosen);
    EXPECT_DOUBLE_EQ(form->nedtLblW->value(), 83.8);
}

TEST_F(LabelSheetByName, ASheetSmallerThanTheFieldsIsRefusedWithTheOneMessage)
{
    open();
    const LabelSheet before = form->sheetModel().sheet();
    // 98 labels of 27.5 x 19.1 mm: narrower than the layout's name field.
    select([](TFrmSheetSelect* d) { choose(d, QStringLiteral("6502719x"), QStringLiteral("Endisch 6502719x")); });
    EXPECT_EQ(messages.texts(), QStringList { kTooSmall });
    EXPECT_EQ(form->sheetModel().sheet(), before);
    EXPECT_EQ(form->udLblCol->position(), before.columns);

    // Cancel leaves the sheet as it is, without a word.
    messages.clear();
    select([](TFrmSheetSelect* d) {
        QTest::keyClicks(d->edtSearch, QStringLiteral("ELM007"));
        d->bbtnCancel->click();
    });
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(form->sheetModel().sheet(), before);
}

// A sheet measured once is kept under a product name and chosen by it from then on.
TEST_F(LabelSheetByName, RegisteredSheetIsChosenByItsName)
{
    open();
    // The measured sheet: 3 x 8 with 8.5 mm margins and 2.0 mm gaps.
    struct Step {
        TUpDown* upDown;
        TUpDown::Direction direction;
        int times;
    };
    const Step steps[] = {
        { form->udLblCol, TUpDown::Direction::Up, 1 },       { form->udLblRow, TUpDown::Direction::Up, 2 },
        { form->udLblUpSp, TUpDown::Direction::Down, 15 },   { form->udLblBotSp, TUpDown::Direction::Down, 15 },
        { form->udLblLefSp, TUpDown::Direction::Up, 5 },     { form->udLblRigSp, TUpDown::Direction::Up, 5 },
        { form->udLblTateSp, TUpDown::Direction::Up, 20 },   { form->udLblYokoSp, TUpDown::Direction::Up, 20 },
    };
    for (const Step& s : steps)
        ASSERT_EQ(click(s.upDown, s.direction, s.times), s.times) << s.upDown->objectName().toStdString();
    const LabelSheet measured = form->sheetModel().sheet();
    ASSERT_EQ(measured, sheet(3, 8, 85, 85, 85, 85, 20, 20));

    // Blank names are refused in the dialog; then the names are typed.
    registerSheet(QStringLiteral("文具店"), QStringLiteral("宛名24面 A"), true);
    const QStringList files = QDir(home->userFolder()).entryList({ QStringLiteral("*.template") });
    ASSERT_EQ(files.size(), 1);
    const Product* kept = Catalog::session().find(QStringLiteral("文具店 宛名24面 A"));
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->sheet, measured);
    // The file reads back the same in a list read afresh (the next run).
    Catalog fresh;
    fresh.load({}, { home->userFolder() });
    ASSERT_NE(fresh.find(QStringLiteral("文具店 宛名24面 A")), nullptr);
    EXPECT_EQ(fresh.find(QStringLiteral("文具店 宛名24面 A"))->sheet, measured);

    // Another sheet, then the registered one by its name.
    select([](TFrmSheetSelect* d) { choose(d, QStringLiteral("ELM006"), QStringLiteral("Hisago ELM006")); });
    EXPECT_NE(form->sheetModel().sheet(), measured);
    select([](TFrmSheetSelect* d) { choose(d, QStringLiteral("文具店"), QStringLiteral("文具店 宛名24面 A")); });
    EXPECT_EQ(form->sheetModel().sheet(), measured);

    // The same name again asks before replacing; No keeps the file as it was.
    const QByteArray before = TestFiles::read(QDir(home->userFolder()).filePath(files.first()));
    select([](TFrmSheetSelect* d) { choose(d, QStringLiteral("ELM006"), QStringLiteral("Hisago ELM006")); });
    messages.clear();
    messages.answerYesNo(false);
    registerSheet(QStringLiteral("文具店"), QStringLiteral("宛名24面 A"));
    EXPECT_EQ(messages.pendingAnswers(), 0);
    EXPECT_EQ(TestFiles::read(QDir(home->userFolder()).filePath(files.first())), before);
    EXPECT_EQ(Catalog::session().find(QStringLiteral("文具店 宛名24面 A"))->sheet, measured);
}

TEST_F(LabelSheetByName, WithoutTemplateFilesTheButtonNamesThePackage)
{
    qputenv("XDG_DATA_DIRS", home->path().toUtf8());
    Catalog::resetSession();
    open();
    const LabelSheet before = form->sheetModel().sheet();
    closeStrayDialogsLater();
    form->bbtnSheetSelect->click();
    QApplication::processEvents();
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().first().contains(QStringLiteral("glabels-data"))) << messages.texts().first().toStdString();
    EXPECT_EQ(form->sheetModel().sheet(), before);
}
