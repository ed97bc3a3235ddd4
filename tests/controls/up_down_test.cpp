#include "controls/TNumberEdit.h"
#include "controls/TUpDown.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QEventLoop>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include "support/QtValuePrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using D = TUpDown::Direction;

// A changing handler that records what it was asked and answers from a script.
struct Veto {
    std::vector<int> asked;
    std::vector<bool> answers; // used in order; true when exhausted
    void attach(TUpDown& ud)
    {
        ud.setOnChangingEx([this](int proposed, D) {
            const bool answer = asked.size() < answers.size() ? answers[asked.size()] : true;
            asked.push_back(proposed);
            return answer;
        });
    }
};

struct StepCase {
    const char* name;
    int min, max, increment, start;
    D direction;
    bool allow;
    std::vector<int> asked;
    int position;
};

TEST(UpDownStep, Table)
{
    const StepCase cases[] = {
        {"UpAllowed", 0, 10, 1, 5, D::Up, true, {6}, 6},
        {"UpRefused", 0, 10, 1, 5, D::Up, false, {6}, 5},
        {"DownAllowed", 0, 10, 1, 5, D::Down, true, {4}, 4},
        {"DownRefused", 0, 10, 1, 5, D::Down, false, {4}, 5},
        {"IncrementClampedToMin", 0, 500, 5, 3, D::Down, true, {0}, 0},
        {"IncrementClampedToMax", 2, 8, 4, 7, D::Up, true, {8}, 8},
        {"AtMaxNotAsked", 2, 8, 1, 8, D::Up, true, {}, 8},
        {"AtMinNotAsked", 2, 8, 1, 2, D::Down, true, {}, 2},
        {"NegativeRange", -100, 100, 1, -100, D::Up, true, {-99}, -99},
    };
    for (const auto& c : cases) {
        TUpDown ud;
        ud.setMin(c.min);
        ud.setMax(c.max);
        ud.setIncrement(c.increment);
        ud.setPosition(c.start);
        Veto veto;
        veto.answers = {c.allow};
        veto.attach(ud);
        QSignalSpy moved(&ud, &TUpDown::positionChanged);
        QSignalSpy clicked(&ud, &TUpDown::clicked);
        const bool stepped = ud.step(c.direction);
        EXPECT_EQ(veto.asked, c.asked) << c.name;
        EXPECT_EQ(ud.position(), c.position) << c.name;
        EXPECT_EQ(stepped, c.position != c.start) << c.name;
        EXPECT_EQ(moved.count(), c.position != c.start ? 1 : 0) << c.name;
        EXPECT_EQ(clicked.count(), c.position != c.start ? 1 : 0) << c.name;
    }
}

TEST(UpDownBounds, SetFromCodeIsClampedAndNeverAsked)
{
    TUpDown ud;
    Veto veto;
    veto.attach(ud);
    ud.setMin(1);
    ud.setMax(6);
    ud.setPosition(6);
    QSignalSpy moved(&ud, &TUpDown::positionChanged);
    ud.setMax(4); // rows lowered below the start row
    EXPECT_EQ(ud.position(), 4);
    EXPECT_EQ(moved.count(), 1);
    ud.setMax(8); // raising the bound leaves the position
    EXPECT_EQ(ud.position(), 4);
    ud.setPosition(20);
    EXPECT_EQ(ud.position(), 8);
    ud.setPosition(-5);
    EXPECT_EQ(ud.position(), 1);
    ud.setMin(10); // above max: max follows, position follows
    EXPECT_EQ(ud.max(), 10);
    EXPECT_EQ(ud.position(), 10);
    EXPECT_TRUE(veto.asked.empty());
}

QToolButton* arrowAt(TUpDown& ud, bool up)
{
    return qobject_cast<QToolButton*>(ud.childAt(ud.width() / 2, up ? 2 : ud.height() - 3));
}

TEST(UpDownInput, ClicksKeysAndWheelTakeTheVetoPath)
{
    struct Case {
        const char* name;
        std::function<void(TUpDown&, QWidget& associate)> act;
        std::vector<bool> answers;
        std::vector<int> asked;
        int position;
    };
    auto wheel = [](QWidget& target, int delta) {
        QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&target, &e);
    };
    const Case cases[] = {
        {"UpArrowClick", [](TUpDown& ud, QWidget&) { QTest::mouseClick(arrowAt(ud, true), Qt::LeftButton); },
         {true}, {6}, 6},
        {"DownArrowClickRefused",
         [](TUpDown& ud, QWidget&) { QTest::mouseClick(arrowAt(ud, false), Qt::LeftButton); }, {false},
         {4}, 5},
        {"KeyUp", [](TUpDown& ud, QWidget&) { QTest::keyClick(&ud, Qt::Key_Up); }, {true}, {6}, 6},
        {"KeyDownRefused", [](TUpDown& ud, QWidget&) { QTest::keyClick(&ud, Qt::Key_Down); }, {false},
         {4}, 5},
        {"WheelUpOneNotch", [&](TUpDown& ud, QWidget&) { wheel(ud, 120); }, {true}, {6}, 6},
        {"WheelDownTwoNotches", [&](TUpDown& ud, QWidget&) { wheel(ud, -240); }, {true, true}, {4, 3}, 3},
        {"WheelStopsAtRefusal", [&](TUpDown& ud, QWidget&) { wheel(ud, 360); }, {true, false}, {6, 7}, 6},
        {"HalfNotchesAddUp",
         [&](TUpDown& ud, QWidget&) {
             wheel(ud, 60);
             wheel(ud, 60);
         },
         {true}, {6}, 6},
        {"AssociateKeyUp", [](TUpDown&, QWidget& a) { QTest::keyClick(&a, Qt::Key_Up); }, {true}, {6}, 6},
        {"AssociateWheelRefused", [&](TUpDown&, QWidget& a) { wheel(a, -120); }, {false}, {4}, 5},
    };
    for (const auto& c : cases) {
        QWidget window;
        auto* edit = new TNumberEdit(&window);
        edit->setReadOnly(true);
        auto* ud = new TUpDown(&window);
        edit->setGeometry(0, 0, 60, 22);
        ud->setGeometry(60, 0, 17, 22);
        ud->setMin(0);
        ud->setMax(10);
        ud->setPosition(5);
        ud->setAssociate(edit);
        Veto veto;
        veto.answers = c.answers;
        veto.attach(*ud);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        c.act(*ud, *edit);
        EXPECT_EQ(veto.asked, c.asked) << c.name;
        EXPECT_EQ(ud->position(), c.position) << c.name;
    }
}

TEST(UpDownInput, DisabledControlDoesNotStep)
{
    TUpDown ud;
    ud.setMax(10);
    Veto veto;
    veto.attach(ud);
    ud.setEnabled(false);
    EXPECT_FALSE(ud.step(D::Up));
    EXPECT_TRUE(veto.asked.empty());
    EXPECT_EQ(ud.position(), 0);
}

} // namespace

TEST(UpDownInput, AHeldArrowAsksNothingMoreWhileARefusalIsShown)
{
    // The handler refuses the fourth step and, as a message box does, keeps an event loop
    // running while the arrow is still held down and its auto-repeat goes on.
    QWidget window;
    auto* ud = new TUpDown(&window);
    ud->setGeometry(0, 0, 17, 22);
    ud->setMax(10);
    int asked = 0;
    QToolButton* up = arrowAt(*ud, true);
    ud->setOnChangingEx([&](int proposed, D) {
        ++asked;
        if (proposed < 4)
            return true;
        if (asked > 8) {
            up->setDown(false); // boxes piling up: end it, the count tells
            return false;
        }
        QEventLoop box;
        QTimer::singleShot(800, &box, &QEventLoop::quit);
        box.exec();
        return false;
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mousePress(up, Qt::LeftButton);
    QTest::qWait(2000);
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(ud->position(), 3);
    EXPECT_FALSE(up->isDown());
}
