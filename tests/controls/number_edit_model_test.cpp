#include "controls/NumberEditModel.h"

#include <QStringList>

#include "support/QtValuePrinters.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <limits>
#include <optional>

namespace {

using Configure = std::function<void(NumberEditModel&)>;

// Records what the model reports.
struct Probe {
    int changes = 0;
    QStringList errors;
    void attach(NumberEditModel& m)
    {
        m.onChange = [this] { ++changes; };
        m.onConversionError = [this](const QString& t) { errors << t; };
    }
};

struct DisplayCase {
    const char* name;
    Configure setup;
    double value;
    QString text;
    double shown;
};

void PrintTo(const DisplayCase& c, std::ostream* os) { *os << c.name; }

class NumberDisplay : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(NumberDisplay, ShowsTextAndKeepsTheShownValue)
{
    const DisplayCase& c = GetParam();
    NumberEditModel m;
    if (c.setup)
        c.setup(m);
    m.setValue(c.value);
    EXPECT_EQ(m.text(), c.text);
    EXPECT_DOUBLE_EQ(m.value(), c.shown);
}

const Configure fig1Fixed = [](NumberEditModel& m) {
    m.setFigure(1);
    m.setFixed(true);
};
Configure figure(int f, TRoundMode mode, bool fixed = false)
{
    return [=](NumberEditModel& m) {
        m.setRoundMode(mode);
        m.setFigure(f);
        m.setFixed(fixed);
    };
}
Configure hex(int fig, bool validMinus = false, TRoundMode mode = rmDown)
{
    return [=](NumberEditModel& m) {
        m.setRoundMode(mode);
        m.setFigure(fig);
        m.setValidMinus(validMinus);
        m.setNumberType(ntHex);
    };
}

const DisplayCase kDisplayCases[] = {
    // The documented edge cases.
    {"Fixed1_Two", fig1Fixed, 2, "2.0", 2},
    {"Fixed1_MinusHalf", fig1Fixed, -0.5, "-0.5", -0.5},
    {"ZeroInvisible", [](NumberEditModel& m) { m.setZeroVisible(false); }, 0, "", 0},
    {"Down_1_29", figure(1, rmDown), 1.29, "1.2", 1.2},
    {"Round_1_25", figure(1, rmRound), 1.25, "1.3", 1.3},
    {"Round_1_24", figure(1, rmRound), 1.24, "1.2", 1.2},
    {"Up_1_21", figure(1, rmUp), 1.21, "1.3", 1.3},
    {"Round_Minus1_96", figure(1, rmRound), -1.96, "-2.0", -2},
    {"Fig0FixedRound_2_5", figure(0, rmRound, true), 2.5, "3", 3},
    {"Comma", [](NumberEditModel& m) { m.setComma(true); }, 1234567.5, "1,234,567.5", 1234567.5},
    {"LimitMax",
     [](NumberEditModel& m) {
         fig1Fixed(m);
         m.setMax(10);
         m.setMin(-10);
         m.setLimit(true);
     },
     12.3, "10.0", 10},
    {"Hex4_255", hex(4), 255, "00FF", 255},
    {"HexMinusOne", hex(4), -1, "FFFFFFFF", -1},
    {"HexValidMinus", hex(1, true), -255, "-FF", -255},
    // General notation: 15 significant digits, never an exponent.
    {"Default", nullptr, 1.5, "1.5", 1.5},
    {"BinaryNoise", nullptr, 0.1 + 0.2, "0.3", 0.3},
    {"Large", nullptr, 1e20, "100000000000000000000", 1e20},
    {"Small", nullptr, 1.5e-7, "0.00000015", 1.5e-7},
    {"FifteenDigits", nullptr, 123456789.123456789, "123456789.123457", 123456789.123457},
    {"TinyFixed", fig1Fixed, 1.4e-17, "0.0", 0},
    // Rounding works on the magnitude.
    {"DownNegative", figure(1, rmDown), -1.29, "-1.2", -1.2},
    {"UpNegative", figure(1, rmUp), -1.21, "-1.3", -1.3},
    {"UpExact", figure(1, rmUp), 1.2, "1.2", 1.2},
    {"RoundCarryIntoInteger", figure(1, rmRound), 9.96, "10.0", 10},
    {"UpCarryChain", figure(2, rmUp), 0.991, "1.00", 1},
    {"RoundCarryAddsDigit", figure(1, rmRound), 99.95, "100.0", 100},
    {"Fig0Down", figure(0, rmDown), 2.7, "2", 2},
    {"Fig0NegativeZero", figure(0, rmDown), -0.4, "0", 0},
    {"Fig2FixedPads", figure(2, rmDown, true), 1, "1.00", 1},
    {"Fig2FixedCuts", figure(2, rmDown, true), 1.234, "1.23", 1.23},
    {"Fig1NotFixed", figure(1, rmDown), 2, "2", 2},
    {"Fig3FixedPadsFromOne", figure(3, rmDown, true), 1.5, "1.500", 1.5},
    {"FixedNegativeSmallCut", figure(1, rmDown, true), -0.04, "0.0", 0},
    // Thousands.
    {"CommaNegative", [](NumberEditModel& m) { m.setComma(true); }, -1234.5, "-1,234.5", -1234.5},
    {"CommaFixed",
     [](NumberEditModel& m) {
         m.setComma(true);
         figure(2, rmDown, true)(m);
     },
     1234, "1,234.00", 1234},
    {"CommaShort", [](NumberEditModel& m) { m.setComma(true); }, 999, "999", 999},
    {"CommaNegativeFraction", [](NumberEditModel& m) { m.setComma(true); }, -0.5, "-0.5", -0.5},
    {"CommaSixDigits", [](NumberEditModel& m) { m.setComma(true); }, 123456, "123,456", 123456},
    // Bounds.
    {"LimitMin",
     [](NumberEditModel& m) {
         m.setMax(10);
         m.setMin(-10);
         m.setLimit(true);
     },
     -12, "-10", -10},
    {"LimitMinOnlyIgnoresMax",
     [](NumberEditModel& m) {
         m.setMax(10);
         m.setMin(-10);
         m.setLimitOptions(loMin);
         m.setLimit(true);
     },
     12, "12", 12},
    {"LimitOff",
     [](NumberEditModel& m) {
         m.setMax(10);
         m.setMin(-10);
     },
     12, "12", 12},
    // Hexadecimal.
    {"HexRound", hex(1, false, rmRound), 2.5, "3", 3},
    {"HexDown", hex(1, false, rmDown), 2.9, "2", 2},
    {"HexUpNegative", hex(1, true, rmUp), -2.1, "-3", -3},
    {"HexSaturatesHigh", hex(1), 1e12, "7FFFFFFF", 2147483647},
    {"HexSaturatesLow", hex(1), -1e12, "80000000", -2147483648.0},
    {"HexValidMinus64", hex(1, true), 1e12, "E8D4A51000", 1e12},
    {"HexZeroInvisible",
     [](NumberEditModel& m) {
         hex(4)(m);
         m.setZeroVisible(false);
     },
     0, "", 0},
    {"HexDefaultFigure", hex(-1), 10, "A", 10},
};

INSTANTIATE_TEST_SUITE_P(Table, NumberDisplay, ::testing::ValuesIn(kDisplayCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct RoundCase {
    QString in;
    int figure;
    TRoundMode mode;
    QString out;
};

TEST(NumberRoundText, Table)
{
    const RoundCase cases[] = {
        {"1.25", 1, rmRound, "1.3"},     {"1.24", 1, rmRound, "1.2"},
        {"1.201", 1, rmUp, "1.3"},       {"1.200", 1, rmUp, "1.2"},
        {"1.29", 1, rmDown, "1.2"},      {"-1.96", 1, rmRound, "-2.0"},
        {"9.99", 1, rmUp, "10.0"},       {"2.5", 0, rmRound, "3."},
        {"2.4", 0, rmRound, "2."},       {"1,234.56", 1, rmDown, "1234.5"},
        {"12", 1, rmUp, "12"},           {"12.", 1, rmUp, "12."},
        {"1.2", -1, rmUp, "1.2"},        {"1.23", 2, rmUp, "1.23"},
        {"99.95", 1, rmRound, "100.0"},  {".96", 1, rmRound, "1.0"},
        {"-.96", 1, rmRound, "-1.0"},    {"+9.5", 0, rmUp, "+10."},
        {"0.0001", 2, rmUp, "0.01"},     {"0.0001", 2, rmRound, "0.00"},
        {"1\t.5", 0, rmRound, "2."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberEditModel::roundText(c.in, c.figure, c.mode), c.out)
            << c.in.toStdString() << " figure " << c.figure << " mode " << c.mode;
}

struct ParseCase {
    QString text;
    TNumberType type;
    bool validMinus;
    std::optional<double> value;
};

TEST(NumberParse, Table)
{
    const std::optional<double> fails;
    const ParseCase cases[] = {
        {"", ntDecimal, false, 0},
        {"-", ntDecimal, false, 0},
        {"+", ntDecimal, false, 0},
        {"1,234", ntDecimal, false, 1234},
        {"1.5", ntDecimal, false, 1.5},
        {"-1.5", ntDecimal, false, -1.5},
        {"1.5E", ntDecimal, false, 1.5},   // one trailing letter is dropped
        {"5.", ntDecimal, false, 5},
        {".5", ntDecimal, false, 0.5},
        {"+7", ntDecimal, false, 7},
        {"99999999999999999999", ntDecimal, false, 1e20},
        {".", ntDecimal, false, fails},
        {"-.", ntDecimal, false, fails},
        {"12a", ntDecimal, false, fails}, // no separator: read as an integer
        {"1.2.3", ntDecimal, false, fails},
        {"+-5", ntDecimal, false, fails},
        {"FF", ntHex, false, 255},
        {"ff", ntHex, false, 255},
        {"FFFFFFFF", ntHex, false, -1},
        {"7FFFFFFF", ntHex, false, 2147483647},
        {"100000000", ntHex, false, fails},
        {"-FF", ntHex, false, fails},
        {"-FF", ntHex, true, -255},
        {"100000000", ntHex, true, 4294967296.0},
        {"FFFFFFFFFFFFFFFF", ntHex, true, -1},
        {"10000000000000000", ntHex, true, fails},
        {"G", ntHex, false, fails},
        {"-", ntHex, true, 0},
    };
    for (const auto& c : cases) {
        const auto v = NumberEditModel::parse(c.text, c.type, c.validMinus);
        ASSERT_EQ(v.has_value(), c.value.has_value()) << c.text.toStdString();
        if (v) {
            EXPECT_DOUBLE_EQ(*v, *c.value) << c.text.toStdString();
        }
    }
}

TEST(NumberGroupThousands, Table)
{
    const std::pair<QString, QString> cases[] = {
        {"1234", "1,234"},       {"1,2345", "12,345"},      {"-1234567.891", "-1,234,567.891"},
        {"007", "7"},            {"0", "0"},                {"000.5", "0.5"},
        {".5", ".5"},            {"+1000", "+1,000"},       {"12a4", "12a4"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(NumberEditModel::groupThousands(in), out) << in.toStdString();
}

// Change handling: what a text typed into the box does to the value.
struct EditCase {
    const char* name;
    Configure setup;
    QString text;
    int cursor;
    QString expectText;
    int expectCursor;
    double expectValue;
    int expectChanges;
    bool expectError;
};

TEST(NumberTextEdited, Table)
{
    const Configure comma = [](NumberEditModel& m) { m.setComma(true); };
    const EditCase cases[] = {
        {"Integer", nullptr, "12", 2, "12", 2, 12, 1, false},
        {"Empty", nullptr, "", 0, "", 0, 0, 0, false},
        {"MinusAlone", nullptr, "-", 1, "-", 1, 0, 0, false},
        {"LoneSeparator", nullptr, ".", 1, ".", 1, 7, 0, true},
        {"Rounded", figure(1, rmDown), "1.29", 4, "1.29", 4, 1.2, 1, false},
        {"CommaGrows", comma, "1234", 4, "1,234", 5, 1234, 1, false},
        {"CommaMoves", comma, "1,2345", 6, "12,345", 6, 12345, 1, false},
        {"CommaMiddleCaret", comma, "12345", 2, "12,345", 3, 12345, 1, false},
        {"CommaShrinks", comma, "1,23", 4, "123", 3, 123, 1, false},
        {"CommaLeadingZero", comma, "05", 1, "5", 0, 5, 1, false},
        {"LimitKeepsText",
         [](NumberEditModel& m) {
             m.setMax(10);
             m.setLimit(true);
         },
         "25", 2, "25", 2, 10, 1, false},
        {"Hex", [](NumberEditModel& m) { m.setNumberType(ntHex); }, "ff", 2, "ff", 2, 255, 1, false},
        {"HexTooLong", [](NumberEditModel& m) { m.setNumberType(ntHex); }, "1FFFFFFFF", 9,
         "1FFFFFFFF", 9, 7, 0, true},
    };
    for (const auto& c : cases) {
        NumberEditModel m;
        if (c.setup)
            c.setup(m);
        m.setValue(7);
        Probe probe;
        probe.attach(m);
        m.textEdited(c.text, c.cursor);
        EXPECT_EQ(m.text(), c.expectText) << c.name;
        EXPECT_EQ(m.cursor(), c.expectCursor) << c.name;
        EXPECT_DOUBLE_EQ(m.value(), c.expectValue) << c.name;
        EXPECT_EQ(probe.changes, c.expectChanges) << c.name;
        EXPECT_EQ(probe.errors.size(), c.expectError ? 1 : 0) << c.name;
    }
}

TEST(NumberSetters, BoundsFollowEachOther)
{
    NumberEditModel m;
    m.setMax(5);
    m.setMin(8); // above Max: Max follows
    EXPECT_EQ(m.max(), 8);
    m.setMax(-3); // below Min: Min follows
    EXPECT_EQ(m.min(), -3);
    EXPECT_EQ(m.max(), -3);
}

TEST(NumberSetters, BoundChangesClampOnlyWhenLimited)
{
    struct Case {
        const char* name;
        bool limit;
        TLimitOptions options;
        std::optional<double> newMax;
        std::optional<double> newMin;
        QString text;
        double value;
    };
    const TLimitOptions both = TLimitOptions(loMax) | loMin;
    const Case cases[] = {
        {"MaxBelowValue", true, both, 5, {}, "5", 5},
        {"MinAboveValue", true, both, {}, 9, "9", 9},
        {"MaxAboveValue", true, both, 8, {}, "7", 7},
        {"Unlimited", false, both, 5, {}, "7", 7},
        {"MaxNotEnforced", true, TLimitOptions(loMin), 5, {}, "7", 7},
        {"MinNotEnforced", true, TLimitOptions(loMax), {}, 9, "7", 7},
    };
    for (const auto& c : cases) {
        NumberEditModel m;
        m.setMax(1000);
        m.setMin(-1000);
        m.setLimitOptions(c.options);
        m.setLimit(c.limit);
        m.setValue(7);
        if (c.newMax)
            m.setMax(*c.newMax);
        if (c.newMin)
            m.setMin(*c.newMin);
        EXPECT_EQ(m.text(), c.text) << c.name;
        EXPECT_DOUBLE_EQ(m.value(), c.value) << c.name;
    }
}

TEST(NumberSetters, TurningLimitOnClampsAtOnce)
{
    NumberEditModel m;
    m.setMax(10);
    m.setValue(20);
    EXPECT_EQ(m.text(), "20");
    m.setLimit(true);
    EXPECT_EQ(m.text(), "10");
    EXPECT_DOUBLE_EQ(m.value(), 10);
}

TEST(NumberSetters, NumberTypeConvertsBothWays)
{
    NumberEditModel m;
    m.setValue(255.6);
    m.setNumberType(ntHex);
    EXPECT_EQ(m.text(), "FF");
    EXPECT_DOUBLE_EQ(m.value(), 255);
    m.setNumberType(ntDecimal);
    EXPECT_EQ(m.text(), "255");

    m.setValue(1e12);
    m.setNumberType(ntHex); // saturated, not wrapped
    EXPECT_EQ(m.text(), "7FFFFFFF");
}

TEST(NumberSetters, ValidMinusReshowsOnlyInHex)
{
    NumberEditModel m;
    m.setValue(-1);
    m.setNumberType(ntHex);
    EXPECT_EQ(m.text(), "FFFFFFFF");
    m.setValidMinus(true);
    EXPECT_EQ(m.text(), "-1");
}

TEST(NumberSetters, ZeroVisibleAffectsOnlyZero)
{
    NumberEditModel m;
    m.setValue(5);
    m.setZeroVisible(false);
    EXPECT_EQ(m.text(), "5");
    m.setValue(0);
    EXPECT_EQ(m.text(), "");
    m.setZeroVisible(true);
    EXPECT_EQ(m.text(), "0");
}

TEST(NumberSetters, NotificationsFollowTextChanges)
{
    NumberEditModel m;
    Probe probe;
    probe.attach(m);
    m.setValue(1234);
    EXPECT_EQ(probe.changes, 1);
    m.setValue(1234); // same text: nothing happens
    EXPECT_EQ(probe.changes, 1);
    m.setComma(true); // rewrites without the change handling
    EXPECT_EQ(m.text(), "1,234");
    EXPECT_EQ(probe.changes, 1);
    m.setFigure(2);
    m.setFixed(true);
    EXPECT_EQ(m.text(), "1,234.00");
    EXPECT_EQ(probe.changes, 2);
}

TEST(NumberSetters, PlusSignIsKeptForPositiveValuesOnly)
{
    NumberEditModel m;
    m.textEdited("+5", 2);
    m.setValue(7);
    EXPECT_EQ(m.text(), "+7");
    m.setValue(-7);
    EXPECT_EQ(m.text(), "-7");
}

TEST(NumberSetters, NonFiniteValuesAreIgnored)
{
    NumberEditModel m;
    m.setValue(3);
    m.setValue(std::numeric_limits<double>::quiet_NaN());
    m.setValue(std::numeric_limits<double>::infinity());
    EXPECT_EQ(m.text(), "3");
    EXPECT_DOUBLE_EQ(m.value(), 3);
}

// Key filter decisions (the editor inserts what passes; the widget tests type for real).
struct KeyCase {
    const char* name;
    Configure setup;
    QString start;
    int selStart;
    int selLength;
    QChar key;
    NumberEditModel::KeyAction action;
    QString after; // for Done: the text the model made
    int cursor;
};

TEST(NumberKeyFilter, Table)
{
    using A = NumberEditModel::KeyAction;
    const Configure hexSetup = [](NumberEditModel& m) { m.setNumberType(ntHex); };
    const Configure hexMinus = [](NumberEditModel& m) {
        m.setValidMinus(true);
        m.setNumberType(ntHex);
    };
    const Configure maxInt3 = [](NumberEditModel& m) { m.setMaxIntLength(3); };
    const KeyCase cases[] = {
        {"Digit", nullptr, "5", 1, 0, '7', A::Pass, "", 0},
        {"Letter", nullptr, "5", 1, 0, 'a', A::Refuse, "", 0},
        {"FullWidthDigit", nullptr, "5", 1, 0, QChar(0xFF17), A::Refuse, "", 0},
        {"Separator", nullptr, "5", 1, 0, '.', A::Pass, "", 0},
        {"SecondSeparator", nullptr, "5.1", 3, 0, '.', A::Refuse, "", 0},
        {"SeparatorOverSelectedSeparator", nullptr, "5.1", 1, 1, '.', A::Pass, "", 0},
        {"CommaKey", nullptr, "5", 1, 0, ',', A::Refuse, "", 0},
        {"Backspace", nullptr, "5", 1, 0, '\b', A::Pass, "", 0},
        {"MinusPrepends", nullptr, "5", 1, 0, '-', A::Done, "-5", 2},
        {"MinusRemoves", nullptr, "-5", 2, 0, '-', A::Done, "5", 1},
        {"MinusReplacesPlus", nullptr, "+5", 2, 0, '-', A::Done, "-5", 2},
        {"PlusReplacesMinus", nullptr, "-5", 0, 0, '+', A::Done, "+5", 0},
        {"PlusRemovesPlusCaretStaysAtZero", nullptr, "+5", 0, 0, '+', A::Done, "5", 0},
        {"MinusDeletesSelectionAtStart", nullptr, "123", 0, 2, '-', A::Done, "-3", 1},
        {"MinusKeepsSelectionElsewhere", nullptr, "123", 1, 2, '-', A::Done, "-123", 2},
        {"MaxIntFull", maxInt3, "123", 3, 0, '4', A::Refuse, "", 0},
        {"MaxIntAfterSeparator", maxInt3, "123.", 4, 0, '4', A::Pass, "", 0},
        {"MaxIntBeforeSeparator", maxInt3, "123.4", 0, 0, '9', A::Refuse, "", 0},
        {"MaxIntSignNotCounted", maxInt3, "-12", 3, 0, '4', A::Pass, "", 0},
        {"MaxIntOverSelection", maxInt3, "123", 0, 1, '9', A::Pass, "", 0},
        {"MaxIntSeparatorStillAccepted", maxInt3, "123", 3, 0, '.', A::Pass, "", 0},
        {"HexLetter", hexSetup, "1", 1, 0, 'f', A::Pass, "", 0},
        {"HexOtherLetter", hexSetup, "1", 1, 0, 'g', A::Refuse, "", 0},
        {"HexSeparator", hexSetup, "1", 1, 0, '.', A::Refuse, "", 0},
        {"HexMinusRefused", hexSetup, "1", 1, 0, '-', A::Refuse, "", 0},
        {"HexMinusValid", hexMinus, "1F", 2, 0, '-', A::Done, "-1F", 3},
        {"HexPlusWithoutMinus", hexMinus, "1F", 2, 0, '+', A::Refuse, "", 0},
        {"HexPlusRemovesMinus", hexMinus, "-1F", 3, 0, '+', A::Done, "1F", 2},
        {"ReadOnlyDigit", [](NumberEditModel& m) { m.setReadOnly(true); }, "5", 1, 0, '7', A::Refuse,
         "", 0},
        {"ReadOnlySign", [](NumberEditModel& m) { m.setReadOnly(true); }, "5", 1, 0, '-', A::Refuse,
         "", 0},
    };
    for (const auto& c : cases) {
        NumberEditModel m;
        if (c.setup)
            c.setup(m);
        m.textEdited(c.start, c.start.size());
        const QString before = m.text();
        const auto action = m.keyPress(c.key, false, c.selStart, c.selLength);
        EXPECT_EQ(int(action), int(c.action)) << c.name;
        if (c.action == A::Done) {
            EXPECT_EQ(m.text(), c.after) << c.name;
            EXPECT_EQ(m.cursor(), c.cursor) << c.name;
        } else {
            EXPECT_EQ(m.text(), before) << c.name;
        }
        EXPECT_EQ(m.typed(), c.action != A::Refuse) << c.name;
    }
}

TEST(NumberKeyFilter, CtrlPassesEverything)
{
    NumberEditModel m;
    EXPECT_EQ(int(m.keyPress('z', true, 0, 0)), int(NumberEditModel::KeyAction::Pass));
    EXPECT_TRUE(m.typed());
}

struct PasteCase {
    const char* name;
    Configure setup;
    QString start;
    int selStart;
    int selLength;
    QString clip;
    bool done;
    QString after;
    int cursor;
};

TEST(NumberPaste, Table)
{
    const Configure hexMinus = [](NumberEditModel& m) {
        m.setValidMinus(true);
        m.setNumberType(ntHex);
    };
    const PasteCase cases[] = {
        {"DropsLetters", nullptr, "", 0, 0, "12a3", true, "123", 3},
        {"OneSeparator", nullptr, "", 0, 0, "1.2.3", true, "1.23", 4},
        {"SeparatorAlreadyThere", nullptr, "1.5", 1, 0, "2.3", true, "123.5", 3},
        {"LeadingSign", nullptr, "", 0, 0, "-5", true, "-5", 2},
        {"SignNotAtStart", nullptr, "3", 1, 0, "-5", true, "35", 2},
        {"SignNotFirstPasted", nullptr, "", 0, 0, "5-", true, "5", 1},
        {"RefusedBeforeSign", nullptr, "-5", 0, 0, "7", false, "-5", 0},
        {"SelectionWithSignReplaced", nullptr, "-5", 0, 2, "7", true, "7", 1},
        {"InsertsAtCaret", nullptr, "19", 1, 0, "23", true, "1239", 3},
        {"ThousandsDropped", nullptr, "", 0, 0, "1,234", true, "1234", 4},
        {"MaxIntLength", [](NumberEditModel& m) { m.setMaxIntLength(3); }, "", 0, 0, "12345.67", true,
         "123.67", 6},
        {"CommaRegroups", [](NumberEditModel& m) { m.setComma(true); }, "", 0, 0, "1234567", true,
         "1,234,567", 9},
        {"Hex", [](NumberEditModel& m) { m.setNumberType(ntHex); }, "", 0, 0, "0x1F-", true, "01F", 3},
        {"HexSign", hexMinus, "", 0, 0, "-ff", true, "-ff", 3},
        {"ReadOnly", [](NumberEditModel& m) { m.setReadOnly(true); }, "5", 1, 0, "7", false, "5", 1},
        {"EmptyClipboard", nullptr, "5", 1, 0, "", false, "5", 1},
    };
    for (const auto& c : cases) {
        NumberEditModel m;
        if (c.setup)
            c.setup(m);
        m.textEdited(c.start, c.start.size());
        EXPECT_EQ(m.paste(c.clip, c.selStart, c.selLength), c.done) << c.name;
        EXPECT_EQ(m.text(), c.after) << c.name;
        if (c.done) {
            EXPECT_EQ(m.cursor(), c.cursor) << c.name;
        }
    }
}

TEST(NumberEnterLeave, LeavingShowsTheDisplayTextAndReportsTyping)
{
    NumberEditModel m;
    m.setRoundMode(rmRound);
    m.setFigure(1);
    m.setFixed(true);
    Probe probe;
    probe.attach(m);
    m.enter();
    EXPECT_FALSE(m.typed());
    ASSERT_EQ(int(m.keyPress('1', false, 0, 3)), int(NumberEditModel::KeyAction::Pass));
    m.textEdited("1.25", 4);
    const int changesBefore = probe.changes;
    EXPECT_TRUE(m.leave());
    EXPECT_EQ(m.text(), "1.3");
    EXPECT_DOUBLE_EQ(m.value(), 1.3);
    EXPECT_EQ(probe.changes, changesBefore); // rewriting on leaving is silent

    m.enter();
    EXPECT_FALSE(m.leave());
}

TEST(NumberEnterLeave, LeavingAnUnreadableTextRestoresTheValue)
{
    NumberEditModel m;
    m.setValue(4);
    Probe probe;
    probe.attach(m);
    m.textEdited(".", 1);
    EXPECT_EQ(probe.errors.size(), 1);
    m.leave();
    EXPECT_EQ(m.text(), "4");
    EXPECT_DOUBLE_EQ(m.value(), 4);
}

TEST(NumberEnterLeave, EmptyTextBecomesZero)
{
    NumberEditModel m;
    m.setValue(4);
    m.textEdited("", 0);
    m.leave();
    EXPECT_EQ(m.text(), "0");
    EXPECT_DOUBLE_EQ(m.value(), 0);
}

} // namespace
