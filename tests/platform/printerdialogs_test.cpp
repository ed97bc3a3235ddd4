#include "platform/PrinterChoice.h"
#include "platform/PrinterDialogs.h"
#include "support/ScriptedMessages.h"
#include "platform/SystemPrinter.h"
#include "platform/ui/QtPrinterDialogs.h"
#include "support/CupsTestPrinter.h"
#include "support/ScriptedPrinterDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <functional>

namespace {

// Puts the test printer back to its defaults: A4, upper tray, portrait.
void resetTestPrinter()
{
    ASSERT_TRUE(CupsTestPrinter::selectInSystemPrinter());
    ASSERT_EQ(SystemPrinter::instance().devMode().paperSize(), DevMode::PaperA4);
}

struct SystemState {
    QString printer;
    int paper, source, orientation;
};

SystemState systemState()
{
    const DevMode m = SystemPrinter::instance().devMode();
    return {SystemPrinter::instance().printerName(), m.paperSize(), m.defaultSource(), m.orientation()};
}

void choose(QComboBox* box, int data)
{
    const int row = box->findData(data);
    ASSERT_GE(row, 0) << "no item " << data;
    box->setCurrentIndex(row);
}

void press(QDialog* dialog, QDialogButtonBox::StandardButton which)
{
    dialog->findChild<QDialogButtonBox*>()->button(which)->click();
}

// Runs action on the modal dialog that the next call opens.
template <typename Dialog>
void onNextDialog(std::function<void(Dialog*)> action)
{
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the expected dialog did not open";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        action(dialog);
    });
}

} // namespace

TEST(PrinterChoice, EditsACopyAndTouchesTheSystemPrinterOnlyOnApply)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    resetTestPrinter();
    PrinterChoice choice;
    EXPECT_EQ(choice.printerName(), CupsTestPrinter::name());
    EXPECT_TRUE(choice.setPaper(DevMode::PaperJapanesePostcard));
    EXPECT_TRUE(choice.setSource(DevMode::BinLower));
    EXPECT_TRUE(choice.setOrientation(DevMode::OrientationLandscape));
    // What the printer does not offer is refused and changes nothing.
    EXPECT_FALSE(choice.setPaper(70));
    EXPECT_FALSE(choice.setSource(DevMode::BinTractor));
    EXPECT_FALSE(choice.setOrientation(3));
    EXPECT_FALSE(choice.setPrinterName(QStringLiteral("no such printer")));
    EXPECT_EQ(choice.paper(), DevMode::PaperJapanesePostcard);
    EXPECT_EQ(choice.source(), DevMode::BinLower);
    EXPECT_EQ(choice.orientation(), DevMode::OrientationLandscape);
    EXPECT_EQ(systemState().paper, DevMode::PaperA4);

    choice.apply();
    const SystemState s = systemState();
    EXPECT_EQ(s.paper, DevMode::PaperJapanesePostcard);
    EXPECT_EQ(s.source, DevMode::BinLower);
    EXPECT_EQ(s.orientation, DevMode::OrientationLandscape);
    EXPECT_EQ(SystemPrinter::instance().deviceValues().physicalWidth, 3496);
}

TEST(ScriptedPrinterDialogs, AnswersActOnTheSystemPrinterLikeAUser)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    const QString printer = CupsTestPrinter::name();
    struct Case {
        const char* what;
        ScriptedPrinterDialogs::Setup answer;
        bool result;
        SystemState expected;
    };
    const Case cases[] = {
        {"postcard from the lower tray", {true, printer, 43, 2, 1}, true, {printer, 43, 2, 1}},
        {"landscape only", {true, QString(), 0, 0, 2}, true, {printer, 9, 1, 2}},
        {"cancel", {false, printer, 43, 2, 2}, false, {printer, 9, 1, 1}},
    };
    for (const Case& c : cases) {
        resetTestPrinter();
        ScriptedPrinterDialogs dialogs;
        dialogs.answerPrinterSetup(c.answer);
        EXPECT_EQ(PrinterDialogs::current().printerSetup(nullptr), c.result) << c.what;
        const SystemState s = systemState();
        EXPECT_EQ(s.printer, c.expected.printer) << c.what;
        EXPECT_EQ(s.paper, c.expected.paper) << c.what;
        EXPECT_EQ(s.source, c.expected.source) << c.what;
        EXPECT_EQ(s.orientation, c.expected.orientation) << c.what;
        EXPECT_EQ(dialogs.requests().size(), 1) << c.what;
    }
}

TEST(ScriptedPrinterDialogs, PrintDialogReturnsTheRangeAndReportsWhatNobodyScripted)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    resetTestPrinter();
    QStringList problems;
    setScriptFailureHandler([&problems](const QString& what) { problems << what; });
    {
        ScriptedPrinterDialogs dialogs;
        ScriptedPrinterDialogs::Print pages;
        pages.allPages = false;
        pages.fromPage = 2;
        pages.toPage = 4;
        pages.printer.paper = DevMode::PaperJapanesePostcard;
        dialogs.answerPrint(pages);
        PrintRange range;
        range.fromPage = range.toPage = 3;
        range.maxPage = 5;
        EXPECT_TRUE(dialogs.print(range, nullptr));
        EXPECT_FALSE(range.allPages);
        EXPECT_EQ(range.fromPage, 2);
        EXPECT_EQ(range.toPage, 4);
        EXPECT_EQ(systemState().paper, DevMode::PaperJapanesePostcard);
        EXPECT_EQ(dialogs.requests().at(0).range.fromPage, 3);

        // Outside the limits the real dialog would not allow it: a script error.
        ScriptedPrinterDialogs::Print beyond = pages;
        beyond.toPage = 9;
        dialogs.answerPrint(beyond);
        EXPECT_FALSE(dialogs.print(range, nullptr));
        EXPECT_EQ(problems.size(), 1);
        // A dialog with no answer queued.
        EXPECT_FALSE(dialogs.printerSetup(nullptr));
        EXPECT_EQ(problems.size(), 2);
        dialogs.answerPrinterSetup({});
    }
    // The unused answer is reported when the script ends.
    EXPECT_EQ(problems.size(), 3);
    setScriptFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
}

TEST(QtPrinterDialogs, SetupDialogPutsTheChoiceIntoTheSystemPrinterOnOk)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    QtPrinterDialogs dialogs;
    for (bool ok : {false, true}) {
        resetTestPrinter();
        onNextDialog<PrinterSetupDialog>([ok](PrinterSetupDialog* d) {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("プリンタの設定"));
            EXPECT_EQ(d->printerBox()->currentText(), CupsTestPrinter::name());
            EXPECT_EQ(d->paperBox()->currentText(), QStringLiteral("A4"));
            choose(d->paperBox(), DevMode::PaperJapanesePostcard);
            choose(d->sourceBox(), DevMode::BinLower);
            d->landscapeButton()->click();
            EXPECT_EQ(d->choice().paper(), DevMode::PaperJapanesePostcard);
            EXPECT_EQ(d->sourceBox()->currentText(), QStringLiteral("Lower Tray"));
            press(d, ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        });
        EXPECT_EQ(dialogs.printerSetup(nullptr), ok);
        const SystemState s = systemState();
        EXPECT_EQ(s.paper, ok ? 43 : 9);
        EXPECT_EQ(s.source, ok ? 2 : 1);
        EXPECT_EQ(s.orientation, ok ? 2 : 1);
    }
}

TEST(QtPrinterDialogs, PrintDialogOffersTheRangeWithinItsLimitsAndThePrintersSetup)
{
    TOVALIN_REQUIRE_TEST_PRINTER();
    resetTestPrinter();
    QtPrinterDialogs dialogs;
    PrintRange range;
    range.allPages = false;
    range.fromPage = range.toPage = 2;
    range.minPage = 1;
    range.maxPage = 5;
    onNextDialog<PrintDialog>([](PrintDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("印刷"));
        EXPECT_TRUE(d->pagesButton()->isChecked());
        EXPECT_EQ(d->fromBox()->value(), 2);
        EXPECT_EQ(d->fromBox()->minimum(), 1);
        EXPECT_EQ(d->toBox()->maximum(), 5);
        d->toBox()->setValue(9);   // the box keeps it within the pages there are
        EXPECT_EQ(d->toBox()->value(), 5);
        d->toBox()->setValue(4);
        EXPECT_TRUE(d->paperLabel()->text().startsWith(QStringLiteral("A4")));
        // The properties button opens the printer setup for the printer in the dialog.
        onNextDialog<PrinterSetupDialog>([](PrinterSetupDialog* setup) {
            choose(setup->paperBox(), DevMode::PaperJapanesePostcard);
            press(setup, QDialogButtonBox::Ok);
        });
        d->propertiesButton()->click();
        EXPECT_TRUE(d->paperLabel()->text().startsWith(QStringLiteral("Postcard")));
        EXPECT_EQ(systemState().paper, DevMode::PaperA4);   // nothing applied before OK
        press(d, QDialogButtonBox::Ok);
    });
    ASSERT_TRUE(dialogs.print(range, nullptr));
    EXPECT_FALSE(range.allPages);
    EXPECT_EQ(range.fromPage, 2);
    EXPECT_EQ(range.toPage, 4);
    EXPECT_EQ(systemState().paper, DevMode::PaperJapanesePostcard);

    // Cancel: neither the range nor the printer changes; "all" is taken as chosen.
    resetTestPrinter();
    PrintRange untouched = range;
    onNextDialog<PrintDialog>([](PrintDialog* d) {
        choose(d->printerBox(), CupsTestPrinter::indexInSystemPrinter());
        d->allButton()->click();
        press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_FALSE(dialogs.print(untouched, nullptr));
    EXPECT_EQ(untouched.toPage, 4);
    EXPECT_FALSE(untouched.allPages);
    onNextDialog<PrintDialog>([](PrintDialog* d) {
        d->allButton()->click();
        EXPECT_FALSE(d->fromBox()->isEnabled());
        press(d, QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(dialogs.print(untouched, nullptr));
    EXPECT_TRUE(untouched.allPages);
}

TEST(QtPrinterDialogs, WithoutPrintersTheUserIsToldAndNothingOpens)
{
    ScopedCupsServer none(QStringLiteral("127.0.0.1:1"));
    ScriptedMessages messages;
    QtPrinterDialogs dialogs;
    PrintRange range;
    EXPECT_FALSE(dialogs.printerSetup(nullptr));
    EXPECT_FALSE(dialogs.print(range, nullptr));
    ASSERT_EQ(messages.asked().size(), 2);
    EXPECT_EQ(messages.asked().at(0).kind, ScriptedMessages::Kind::Warning);
    EXPECT_EQ(messages.asked().at(0).text, QStringLiteral("プリンタがインストールされていません。"));
}
