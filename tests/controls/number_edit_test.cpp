// TNumberEdit as a user meets it: real key events, the clipboard, focus changes.
#include "controls/TNumberEdit.h"
#include "support/ScriptedMessages.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "support/QtValuePrinters.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Configure = std::function<void(TNumberEdit&)>;

// A window with the box under test and a second box to move the focus to.
struct Window {
    QWidget window;
    TNumberEdit* edit;
    TNumberEdit* other;
    Window()
    {
        auto* layout = new QVBoxLayout(&window);
        edit = new TNumberEdit(&window);
        other = new TNumberEdit(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        window.show();
        QApplication::setActiveWindow(&window);
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&window);
    }
};

struct TypingCase {
    const char* name;
    Configure configure;
    double start;
    bool selectAll; // otherwise the caret stands at the end
    QString keys;
    QString text;
    double value;
};

TEST(NumberEditTyping, Table)
{
    const TypingCase cases[] = {
        {"LetterIgnored", nullptr, 5, false, "a", "5", 5},
        {"MinusInFront", nullptr, 5, false, "-", "-5", -5},
        {"MinusTwiceRemoves", nullptr, 5, false, "--", "5", 5},
        {"PlusReplacesMinus", nullptr, 5, false, "-+", "+5", 5},
        {"MinusThenDigitsAfterCaret", nullptr, 5, false, "-7", "-57", -57},
        {"SecondSeparatorRefused", nullptr, 0, true, "1.2.3", "1.23", 1.23},
        {"MaxIntLength", [](TNumberEdit& e) { e.setMaxIntLength(3); }, 0, true, "12345.67", "123.67",
         123.67},
        {"HexFilter", [](TNumberEdit& e) { e.setNumberType(ntHex); }, 0, true, "1fz.", "1f", 31},
        {"HexMinusRefused", [](TNumberEdit& e) { e.setNumberType(ntHex); }, 0, true, "1f-", "1f", 31},
        {"HexMinus",
         [](TNumberEdit& e) {
             e.setValidMinus(true);
             e.setNumberType(ntHex);
         },
         0, true, "1f-", "-1f", -31},
        {"HexPlusRemovesMinus",
         [](TNumberEdit& e) {
             e.setValidMinus(true);
             e.setNumberType(ntHex);
         },
         0, true, "1f-+", "1f", 31},
        {"CommaRegroupsWhileTyping", [](TNumberEdit& e) { e.setComma(true); }, 0, true, "1234567",
         "1,234,567", 1234567},
        {"RoundedValueWhileTyping",
         [](TNumberEdit& e) {
             e.setFigure(1);
             e.setRoundMode(rmDown);
         },
         0, true, "1.29", "1.29", 1.2},
        {"LimitedValueWhileTyping",
         [](TNumberEdit& e) {
             e.setMax(10);
             e.setLimit(true);
         },
         0, true, "25", "25", 10},
        {"ReadOnlyRefusesAll", [](TNumberEdit& e) { e.setReadOnly(true); }, 5, false, "7-a", "5", 5},
    };
    for (const auto& c : cases) {
        Window w;
        if (c.configure)
            c.configure(*w.edit);
        w.edit->setValue(c.start);
        w.edit->setFocus();
        if (c.selectAll)
            w.edit->selectAll();
        else
            w.edit->end(false);
        QTest::keyClicks(w.edit, c.keys);
        EXPECT_EQ(w.edit->text(), c.text) << c.name;
        EXPECT_DOUBLE_EQ(w.edit->value(), c.value) << c.name;
    }
}

TEST(NumberEditTyping, EditingKeysStillWork)
{
    Window w;
    w.edit->setValue(123);
    w.edit->setFocus();
    w.edit->end(false);
    QTest::keyClick(w.edit, Qt::Key_Backspace);
    EXPECT_EQ(w.edit->text(), "12");
    QTest::keyClick(w.edit, Qt::Key_Home);
    QTest::keyClick(w.edit, Qt::Key_Delete);
    EXPECT_EQ(w.edit->text(), "2");
    QTest::keyClick(w.edit, Qt::Key_A, Qt::ControlModifier); // select all
    QTest::keyClicks(w.edit, "7");
    EXPECT_EQ(w.edit->text(), "7");
    EXPECT_DOUBLE_EQ(w.edit->value(), 7);
}

TEST(NumberEditTyping, ChangedIsRaisedForNumbersOnly)
{
    Window w;
    w.edit->setFocus();
    w.edit->selectAll();
    QSignalSpy spy(w.edit, &TNumberEdit::changed);
    QTest::keyClicks(w.edit, "4");
    EXPECT_EQ(spy.count(), 1);
    QTest::keyClick(w.edit, Qt::Key_Backspace); // empty: value 0, no notification
    EXPECT_EQ(spy.count(), 1);
    EXPECT_DOUBLE_EQ(w.edit->value(), 0);
    w.edit->setValue(9);
    EXPECT_EQ(spy.count(), 2);
}

TEST(NumberEditTyping, EscapeReachesTheDialog)
{
    QDialog dialog;
    auto* edit = new TNumberEdit(&dialog);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

struct PasteCase {
    const char* name;
    Configure configure;
    QString start;
    int selStart;
    int selLength; // 0: caret at selStart
    QString clip;
    QString text;
};

TEST(NumberEditPaste, CtrlVGoesThroughTheFilter)
{
    const PasteCase cases[] = {
        {"DropsLetters", nullptr, "", 0, 0, "12a3", "123"},
        {"RefusedInFrontOfSign", nullptr, "-5", 0, 0, "7", "-5"},
        {"ReplacesSelection", nullptr, "1999", 1, 3, "23", "123"},
        {"Comma", [](TNumberEdit& e) { e.setComma(true); }, "", 0, 0, "1234567", "1,234,567"},
        {"ReadOnly", [](TNumberEdit& e) { e.setReadOnly(true); }, "5", 1, 0, "7", "5"},
    };
    for (const auto& c : cases) {
        Window w;
        if (c.configure)
            c.configure(*w.edit);
        w.edit->setText(c.start);
        w.edit->setFocus();
        if (c.selLength)
            w.edit->setSelection(c.selStart, c.selLength);
        else
            w.edit->setCursorPosition(c.selStart);
        QApplication::clipboard()->setText(c.clip);
        QTest::keyClick(w.edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(w.edit->text(), c.text) << c.name << " (Ctrl+V)";

        // Shift+Insert is the other paste key.
        Window w2;
        if (c.configure)
            c.configure(*w2.edit);
        w2.edit->setText(c.start);
        w2.edit->setFocus();
        if (c.selLength)
            w2.edit->setSelection(c.selStart, c.selLength);
        else
            w2.edit->setCursorPosition(c.selStart);
        QTest::keyClick(w2.edit, Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(w2.edit->text(), c.text) << c.name << " (Shift+Insert)";
    }
}

TEST(NumberEditFocus, LeavingShowsTheDisplayTextAndTheModifiedState)
{
    Window w;
    w.edit->setRoundMode(rmRound);
    w.edit->setFigure(1);
    w.edit->setFixed(true);
    w.other->setFocus(Qt::TabFocusReason);
    w.edit->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.edit->selectedText(), "0.0"); // auto-select on entering
    QTest::keyClicks(w.edit, "1.25");
    EXPECT_EQ(w.edit->text(), "1.25");
    w.other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.edit->text(), "1.3");
    EXPECT_DOUBLE_EQ(w.edit->value(), 1.3);
    EXPECT_TRUE(w.edit->isModified());

    w.edit->setFocus(Qt::TabFocusReason);
    w.other->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(w.edit->isModified());
}

TEST(NumberEditFocus, WithoutAutoSelectTheCaretGoesToTheEnd)
{
    Window w;
    w.edit->setAutoSelect(false);
    w.edit->setValue(1234);
    w.edit->setCursorPosition(0);
    w.other->setFocus(Qt::TabFocusReason);
    w.edit->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(w.edit->hasSelectedText());
    EXPECT_EQ(w.edit->cursorPosition(), 4);
}

TEST(NumberEditFocus, UnreadableTextIsReportedAndTheOldValueStays)
{
    ScriptedMessages messages;
    Window w;
    w.edit->setValue(4);
    w.edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.edit, Qt::Key_Backspace); // "" reads as 0, silently
    EXPECT_TRUE(messages.asked().isEmpty());
    QTest::keyClicks(w.edit, "."); // a lone separator is not a number
    ASSERT_EQ(messages.asked().size(), 1);
    EXPECT_EQ(messages.asked()[0].kind, ScriptedMessages::Kind::Warning);
    EXPECT_TRUE(messages.asked()[0].text.contains(QStringLiteral("「.」")));
    EXPECT_EQ(w.edit->text(), ".");
    EXPECT_DOUBLE_EQ(w.edit->value(), 0);
    QTest::keyClicks(w.edit, "5");
    EXPECT_EQ(w.edit->text(), ".5");
    EXPECT_DOUBLE_EQ(w.edit->value(), 0.5);
    QTest::keyClick(w.edit, Qt::Key_Backspace);
    EXPECT_EQ(messages.asked().size(), 2);
    w.other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.edit->text(), "0.5");
    EXPECT_DOUBLE_EQ(w.edit->value(), 0.5);
}

TEST(NumberEditWidget, DefaultsAndInputMethod)
{
    TNumberEdit edit;
    EXPECT_EQ(edit.text(), "0");
    EXPECT_DOUBLE_EQ(edit.value(), 0);
    EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
    EXPECT_FALSE(edit.testAttribute(Qt::WA_InputMethodEnabled));
    edit.setReadOnly(true);
    edit.setReadOnly(false); // QLineEdit would turn the input method back on
    EXPECT_FALSE(edit.testAttribute(Qt::WA_InputMethodEnabled));
}

TEST(NumberEditWidget, ReadOnlyValueStillChangesFromCode)
{
    TNumberEdit edit;
    edit.setReadOnly(true);
    edit.setFigure(1);
    edit.setFixed(true);
    edit.setMin(-10);
    edit.setMax(10);
    edit.setLimit(true);
    edit.setValue(-0.1);
    EXPECT_EQ(edit.text(), "-0.1");
    edit.setValue(-10.5);
    EXPECT_EQ(edit.text(), "-10.0");
    EXPECT_DOUBLE_EQ(edit.value(), -10);
}

} // namespace
