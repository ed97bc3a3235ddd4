// Look transitions, clicks and groups of TShineBtn, driven by mouse events that go
// through the window system layer (so enter, leave and the implicit mouse grab are
// Qt's own).

#include "controls/Hint.h"
#include "controls/TShineBtn.h"

#include <QAction>
#include <QStatusTipEvent>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Look = TShineBtn::Look;

const char* lookName(Look look)
{
    switch (look) {
    case Look::HoverPressed: return "HoverPressed";
    case Look::Pressed: return "Pressed";
    case Look::Hover: return "Hover";
    case Look::Normal: return "Normal";
    case Look::Disabled: return "Disabled";
    }
    return "?";
}

// A shown top-level widget holding buttons at known places.
struct Host {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();

    Host() { window->resize(200, 100); }

    TShineBtn* add(QPoint at, int groupIndex = 0, bool allowAllUp = false)
    {
        auto* b = new TShineBtn(window.get());
        b->setGeometry(QRect(at, QSize(25, 25)));
        b->setGroupIndex(groupIndex);
        b->setAllowAllUp(allowAllUp);
        return b;
    }
    bool show()
    {
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
    QWindow* handle() const { return window->windowHandle(); }
    // Window coordinates of a point given relative to button b.
    QPoint at(const TShineBtn* b, QPoint local) const { return b->mapTo(window.get(), local); }
};

enum class Act { Move, Press, Release, DoubleClick, Disable, Enable, SetDown, SetUp };

struct Step {
    Act act;
    QPoint pos; // relative to the button (Move, Press, Release)
    Look look;
    bool down;
    bool inside;
    int clicks; // clicks so far
};

struct Script {
    const char* name;
    int groupIndex;
    bool allowAllUp;
    std::vector<Step> steps;
};

const QPoint kIn(12, 12);
const QPoint kIn2(20, 5);
const QPoint kOut(-10, 12);
const QPoint kEdge(0, 12);   // on the left edge: inside for a release, outside for a move
const QPoint kFarOut(60, 12);

void run(const Script& script)
{
    Host host;
    TShineBtn* b = host.add(QPoint(40, 30), script.groupIndex, script.allowAllUp);
    int clicks = 0;
    QObject::connect(b, &TShineBtn::clicked, [&clicks] { ++clicks; });
    ASSERT_TRUE(host.show());
    QTest::mouseMove(host.handle(), QPoint(5, 5)); // start outside every button

    int index = 0;
    for (const Step& s : script.steps) {
        const QPoint p = host.at(b, s.pos);
        switch (s.act) {
        case Act::Move: QTest::mouseMove(host.handle(), p); break;
        case Act::Press: QTest::mousePress(host.handle(), Qt::LeftButton, {}, p); break;
        case Act::Release: QTest::mouseRelease(host.handle(), Qt::LeftButton, {}, p); break;
        case Act::DoubleClick: QTest::mouseDClick(host.handle(), Qt::LeftButton, {}, p); break;
        case Act::Disable: b->setEnabled(false); break;
        case Act::Enable: b->setEnabled(true); break;
        case Act::SetDown: b->setDown(true); break;
        case Act::SetUp: b->setDown(false); break;
        }
        SCOPED_TRACE(testing::Message() << script.name << ", step " << index);
        EXPECT_STREQ(lookName(b->look()), lookName(s.look));
        EXPECT_EQ(b->isDown(), s.down);
        EXPECT_EQ(b->isInside(), s.inside);
        EXPECT_EQ(clicks, s.clicks);
        ++index;
    }
}

} // namespace

TEST(TShineBtnEvents, LookTransitions)
{
    const std::vector<Script> scripts = {
        { "plain: hover and leave", 0, false,
            { { Act::Move, kIn, Look::Hover, false, true, 0 },
                { Act::Move, kIn2, Look::Hover, false, true, 0 },
                { Act::Move, kFarOut, Look::Normal, false, false, 0 },
                { Act::Move, kIn, Look::Hover, false, true, 0 } } },
        { "plain: click", 0, false,
            { { Act::Move, kIn, Look::Hover, false, true, 0 },
                { Act::Press, kIn, Look::HoverPressed, false, true, 0 },
                // released over the button: clicked, and the mouse is found over it again
                { Act::Release, kIn, Look::Hover, false, true, 1 },
                { Act::Move, kFarOut, Look::Normal, false, false, 1 } } },
        { "plain: drag out and back while pressed", 0, false,
            { { Act::Move, kIn, Look::Hover, false, true, 0 },
                { Act::Press, kIn, Look::HoverPressed, false, true, 0 },
                { Act::Move, kOut, Look::Normal, false, true, 0 },
                { Act::Move, kEdge, Look::Normal, false, true, 0 },
                { Act::Move, kIn2, Look::HoverPressed, false, true, 0 },
                { Act::Release, kIn2, Look::Hover, false, true, 1 } } },
        { "plain: released outside does not click", 0, false,
            { { Act::Move, kIn, Look::Hover, false, true, 0 },
                { Act::Press, kIn, Look::HoverPressed, false, true, 0 },
                { Act::Move, kOut, Look::Normal, false, true, 0 },
                { Act::Release, kOut, Look::Normal, false, false, 0 } } },
        { "plain: a release on the edge pixel is a hit", 0, false,
            { { Act::Move, kIn, Look::Hover, false, true, 0 },
                { Act::Press, kIn, Look::HoverPressed, false, true, 0 },
                { Act::Release, kEdge, Look::Hover, false, true, 1 } } },
        { "toggle without AllowAllUp stays down", 1, false,
            { { Act::Move, kIn, Look::Hover, false, true, 0 },
                { Act::Press, kIn, Look::HoverPressed, false, true, 0 },
                { Act::Release, kIn, Look::HoverPressed, true, true, 1 },
                { Act::Move, kFarOut, Look::Pressed, true, false, 1 },
                { Act::Move, kIn, Look::HoverPressed, true, true, 1 },
                { Act::Press, kIn, Look::HoverPressed, true, true, 1 },
                { Act::Release, kIn, Look::HoverPressed, true, true, 2 },
                { Act::SetUp, kIn, Look::HoverPressed, true, true, 2 } } },
        { "toggle with AllowAllUp goes up again", 1, true,
            { { Act::Move, kIn, Look::Hover, false, true, 0 },
                { Act::Press, kIn, Look::HoverPressed, false, true, 0 },
                { Act::Release, kIn, Look::HoverPressed, true, true, 1 },
                { Act::Press, kIn, Look::HoverPressed, true, true, 1 },
                { Act::Release, kIn, Look::Hover, false, true, 2 },
                { Act::Move, kFarOut, Look::Normal, false, false, 2 } } },
        { "toggle: dragged out while pressed keeps Down", 1, true,
            { { Act::Move, kIn, Look::Hover, false, true, 0 },
                { Act::Press, kIn, Look::HoverPressed, false, true, 0 },
                { Act::Release, kIn, Look::HoverPressed, true, true, 1 },
                { Act::Press, kIn, Look::HoverPressed, true, true, 1 },
                { Act::Move, kOut, Look::Pressed, true, true, 1 },
                { Act::Release, kOut, Look::Pressed, true, false, 1 } } },
        { "toggle: up button released outside stays up", 2, true,
            { { Act::Move, kIn, Look::Hover, false, true, 0 },
                { Act::Press, kIn, Look::HoverPressed, false, true, 0 },
                { Act::Move, kOut, Look::Normal, false, true, 0 },
                { Act::Release, kOut, Look::Normal, false, false, 0 } } },
        { "toggle set down from code", 1, true,
            { { Act::SetDown, kIn, Look::Pressed, true, false, 0 },
                { Act::Move, kIn, Look::HoverPressed, true, true, 0 },
                { Act::SetUp, kIn, Look::Hover, false, true, 0 },
                { Act::Move, kFarOut, Look::Normal, false, false, 0 } } },
        { "plain button ignores Down", 0, true,
            { { Act::SetDown, kIn, Look::Normal, false, false, 0 } } },
        { "disabling raises the button", 1, true,
            { { Act::SetDown, kIn, Look::Pressed, true, false, 0 },
                { Act::Disable, kIn, Look::Disabled, false, false, 0 },
                { Act::Move, kIn, Look::Disabled, false, false, 0 },
                { Act::Press, kIn, Look::Disabled, false, false, 0 },
                { Act::Release, kIn, Look::Disabled, false, false, 0 },
                { Act::Move, kFarOut, Look::Disabled, false, false, 0 },
                { Act::Enable, kIn, Look::Normal, false, false, 0 },
                { Act::Move, kIn, Look::Hover, false, true, 0 } } },
    };
    for (const Script& s : scripts)
        run(s);
}

TEST(TShineBtnEvents, DoubleClickIsPassedOnOnlyWhenPressed)
{
    struct Case {
        int groupIndex;
        int expectedDoubleClicks;
    };
    // A plain button is back in Hover when the second press comes; a toggle is down.
    for (const Case& c : { Case { 0, 0 }, Case { 1, 1 } }) {
        Host host;
        TShineBtn* b = host.add(QPoint(40, 30), c.groupIndex, true);
        int doubles = 0;
        int clicks = 0;
        QObject::connect(b, &TShineBtn::doubleClicked, [&doubles] { ++doubles; });
        QObject::connect(b, &TShineBtn::clicked, [&clicks] { ++clicks; });
        ASSERT_TRUE(host.show());
        QTest::mouseMove(host.handle(), host.at(b, kIn));
        QTest::mouseDClick(host.handle(), Qt::LeftButton, {}, host.at(b, kIn));
        EXPECT_EQ(doubles, c.expectedDoubleClicks) << "group " << c.groupIndex;
        EXPECT_EQ(clicks, 2) << "group " << c.groupIndex;
        // The toggle went down and up again.
        EXPECT_FALSE(b->isDown());
    }
}

TEST(TShineBtnEvents, EnterAndLeaveSignalsComeOncePerCrossing)
{
    Host host;
    TShineBtn* b = host.add(QPoint(40, 30));
    int entered = 0;
    int left = 0;
    QObject::connect(b, &TShineBtn::mouseEntered, [&] {
        // fired before the look changes
        EXPECT_EQ(b->look(), Look::Normal);
        ++entered;
    });
    QObject::connect(b, &TShineBtn::mouseLeft, [&] {
        EXPECT_EQ(b->look(), Look::Hover);
        ++left;
    });
    ASSERT_TRUE(host.show());
    QTest::mouseMove(host.handle(), host.at(b, kIn));
    QTest::mouseMove(host.handle(), host.at(b, kIn2));
    QTest::mouseMove(host.handle(), host.at(b, kFarOut));
    QTest::mouseMove(host.handle(), host.at(b, kIn));
    QTest::mouseMove(host.handle(), host.at(b, kFarOut));
    EXPECT_EQ(entered, 2);
    EXPECT_EQ(left, 2);
}

TEST(TShineBtnEvents, ClickDownHookShowsPressedDuringTheHandler)
{
    for (bool hook : { false, true }) {
        Host host;
        TShineBtn* b = host.add(QPoint(40, 30));
        b->setClickDownHook(hook);
        QImage duringClick;
        QObject::connect(b, &TShineBtn::clicked, [&] { duringClick = b->grab().toImage(); });
        ASSERT_TRUE(host.show());
        QTest::mouseMove(host.handle(), host.at(b, kIn));
        QTest::mouseClick(host.handle(), Qt::LeftButton, {}, host.at(b, kIn));
        const QImage pressed = b->renderLook(Look::HoverPressed);
        const QImage normal = b->renderLook(Look::Normal);
        ASSERT_NE(pressed, normal);
        if (hook)
            EXPECT_EQ(duringClick.convertToFormat(QImage::Format_RGB32), pressed);
        else
            EXPECT_EQ(duringClick.convertToFormat(QImage::Format_RGB32), normal);
        // afterwards the mouse is over it again
        EXPECT_EQ(b->look(), Look::Hover);
        EXPECT_EQ(b->grab().toImage().convertToFormat(QImage::Format_RGB32), b->renderLook(Look::Hover));
    }
}

TEST(TShineBtnEvents, AcceleratorClicksAndOptionallyToggles)
{
    struct Case {
        const char* caption;
        bool showAccelChar;
        bool accelCharDown;
        int expectedClicks;
        bool expectedDown;
    };
    const Case cases[] = {
        { "&Print", true, false, 1, false },
        { "&Print", true, true, 1, true },
        { "&Print", false, true, 0, false },
        { "Print", true, true, 0, false },
    };
    for (const Case& c : cases) {
        Host host;
        TShineBtn* b = host.add(QPoint(40, 30), 7, true);
        b->setText(QString::fromLatin1(c.caption));
        b->setShowAccelChar(c.showAccelChar);
        b->setAccelCharDown(c.accelCharDown);
        int clicks = 0;
        QObject::connect(b, &TShineBtn::clicked, [&clicks] { ++clicks; });
        ASSERT_TRUE(host.show());
        host.window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.window.get()));
        QTest::keyClick(host.window.get(), Qt::Key_P, Qt::AltModifier);
        EXPECT_EQ(clicks, c.expectedClicks) << c.caption << " " << c.showAccelChar << c.accelCharDown;
        EXPECT_EQ(b->isDown(), c.expectedDown) << c.caption << " " << c.showAccelChar << c.accelCharDown;
    }
}

TEST(TShineBtnGroups, AnotherButtonOfTheGroupRaisesTheDownOne)
{
    Host host;
    TShineBtn* left = host.add(QPoint(0, 0), 1);
    TShineBtn* centre = host.add(QPoint(30, 0), 1);
    TShineBtn* right = host.add(QPoint(60, 0), 1);
    TShineBtn* otherGroup = host.add(QPoint(90, 0), 2, true);
    QWidget otherParent(host.window.get());
    otherParent.setGeometry(0, 50, 100, 40);
    auto* sameIndexElsewhere = new TShineBtn(&otherParent);
    sameIndexElsewhere->setGroupIndex(1);
    ASSERT_TRUE(host.show());

    otherGroup->setDown(true);
    sameIndexElsewhere->setDown(true);

    struct Step {
        TShineBtn* clicked; // by mouse; nullptr: setDown(false) on `raise`
        TShineBtn* raise;
        bool l, c, r;
    };
    const Step steps[] = {
        { left, nullptr, true, false, false },
        { centre, nullptr, false, true, false },
        { right, nullptr, false, false, true },
        { right, nullptr, false, false, true },     // clicking the down one keeps it down
        { nullptr, right, false, false, true },     // and so does setDown(false)
        { left, nullptr, true, false, false },
    };
    int i = 0;
    for (const Step& s : steps) {
        if (s.clicked) {
            QTest::mouseMove(host.handle(), host.at(s.clicked, kIn));
            QTest::mouseClick(host.handle(), Qt::LeftButton, {}, host.at(s.clicked, kIn));
        } else {
            s.raise->setDown(false);
        }
        SCOPED_TRACE(i++);
        EXPECT_EQ(left->isDown(), s.l);
        EXPECT_EQ(centre->isDown(), s.c);
        EXPECT_EQ(right->isDown(), s.r);
        // other groups and other parents are not touched
        EXPECT_TRUE(otherGroup->isDown());
        EXPECT_TRUE(sameIndexElsewhere->isDown());
    }
    // A raised button shows the Normal look once the mouse is elsewhere.
    QTest::mouseMove(host.handle(), QPoint(150, 90));
    EXPECT_EQ(centre->look(), Look::Normal);
    EXPECT_EQ(left->look(), Look::Pressed);
}

TEST(TShineBtnGroups, ReceiversTakeOverTheSendersAllowAllUp)
{
    Host host;
    TShineBtn* a = host.add(QPoint(0, 0), 3, false);
    TShineBtn* b = host.add(QPoint(30, 0), 3, false);
    TShineBtn* c = host.add(QPoint(60, 0), 3, false);
    a->setDown(true);
    b->setAllowAllUp(true);
    b->setDown(true); // a goes up; a and c now allow all up
    EXPECT_FALSE(a->isDown());
    EXPECT_TRUE(a->allowAllUp());
    EXPECT_TRUE(c->allowAllUp());
    b->setDown(false);
    EXPECT_FALSE(b->isDown());
    c->setDown(true);
    EXPECT_TRUE(c->isDown());
    c->setDown(false);
    EXPECT_FALSE(c->isDown());
}

TEST(TShineBtnGroups, DownChangedReportsEveryChange)
{
    Host host;
    TShineBtn* a = host.add(QPoint(0, 0), 4);
    TShineBtn* b = host.add(QPoint(30, 0), 4);
    std::vector<std::pair<char, bool>> log;
    QObject::connect(a, &TShineBtn::downChanged, [&log](bool d) { log.push_back({ 'a', d }); });
    QObject::connect(b, &TShineBtn::downChanged, [&log](bool d) { log.push_back({ 'b', d }); });
    a->setDown(true);
    a->setDown(true);
    b->setDown(true);
    a->setDown(false); // refused: a is already up
    b->setGroupIndex(0); // leaving the group raises it
    EXPECT_FALSE(b->isDown());
    EXPECT_EQ(b->look(), Look::Normal);
    const std::vector<std::pair<char, bool>> expected = { { 'a', true }, { 'b', true }, { 'a', false }, { 'b', false } };
    EXPECT_EQ(log, expected);
}

namespace {
// Records the status tips that reach a widget (as the base form's status bar gets them).
struct StatusTipLog : QObject {
    QStringList tips;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::StatusTip)
            tips << static_cast<QStatusTipEvent*>(e)->tip();
        return false;
    }
};
} // namespace

TEST(TShineBtnEvents, HintReachesTheStatusBarThroughStatusTips)
{
    Host host;
    TShineBtn* b = host.add(QPoint(40, 30));
    setHint(b, QStringLiteral("ヘルプ|ヘルプを表示します。"));
    EXPECT_EQ(b->toolTip(), QStringLiteral("ヘルプ"));
    StatusTipLog log;
    host.window->installEventFilter(&log);
    ASSERT_TRUE(host.show());
    QTest::mouseMove(host.handle(), QPoint(5, 5));
    QTest::mouseMove(host.handle(), host.at(b, kIn));
    QTest::mouseMove(host.handle(), host.at(b, kFarOut));
    EXPECT_EQ(log.tips, (QStringList { QStringLiteral("ヘルプを表示します。"), QString() }));
}

TEST(TShineBtnEvents, LinkedAction)
{
    Host host;
    TShineBtn* b = host.add(QPoint(40, 30), 5, true);
    QAction action(QStringLiteral("印刷"));
    action.setCheckable(true);
    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&triggered] { ++triggered; });
    b->setActionCheckedDown(true);
    b->setAction(&action);
    EXPECT_EQ(b->text(), QStringLiteral("印刷"));
    ASSERT_TRUE(host.show());

    // A click triggers the action, whose checked state the button follows.
    QTest::mouseMove(host.handle(), host.at(b, kIn));
    QTest::mouseClick(host.handle(), Qt::LeftButton, {}, host.at(b, kIn));
    EXPECT_EQ(triggered, 1);
    action.setChecked(false);
    EXPECT_FALSE(b->isDown());
    action.setChecked(true);
    EXPECT_TRUE(b->isDown());
    action.setEnabled(false);
    EXPECT_FALSE(b->isEnabled());
    action.setEnabled(true);
    action.setText(QStringLiteral("設定"));
    EXPECT_EQ(b->text(), QStringLiteral("設定"));

    // Without ActionCheckedDown the checked state is left alone.
    b->setActionCheckedDown(false);
    const bool before = b->isDown();
    action.setChecked(!action.isChecked());
    EXPECT_EQ(b->isDown(), before);
}
