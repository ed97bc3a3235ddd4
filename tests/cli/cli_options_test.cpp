// The command line of tovalin-print: what is accepted, what is refused and why.

#include "cli/CliOptions.h"

#include <gtest/gtest.h>

namespace {

QStringList args(std::initializer_list<const char*> list)
{
    QStringList l;
    for (const char* a : list)
        l << QString::fromUtf8(a);
    return l;
}

} // namespace

TEST(CliOptions, AcceptedCommandLines)
{
    const struct {
        QStringList arguments;
        QString settings, output, printer;
        int record;
        bool honorificGiven;
        QString honorific;
        bool help;
    } cases[] = {
        { args({ "postcard" }), {}, {}, {}, 0, false, {}, false },
        { args({ "postcard", "--settings", "examples/postcard", "--output", "cards.pdf" }),
          QStringLiteral("examples/postcard"), QStringLiteral("cards.pdf"), {}, 0, false, {}, false },
        { args({ "postcard", "--printer=TovalinTest", "--record", "3" }), {}, {}, QStringLiteral("TovalinTest"), 3, false, {}, false },
        { args({ "postcard", "--honorific", "殿", "--record=12" }), {}, {}, {}, 12, true, QStringLiteral("殿"), false },
        { args({ "postcard", "--honorific=" }), {}, {}, {}, 0, true, QString(), false },
        { args({ "postcard", "--output", "a b.pdf", "--settings=/tmp/x y" }), QStringLiteral("/tmp/x y"),
          QStringLiteral("a b.pdf"), {}, 0, false, {}, false },
        { args({ "--help" }), {}, {}, {}, 0, false, {}, true },
        { args({ "postcard", "-h" }), {}, {}, {}, 0, false, {}, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliParseResult r = ParseCliArguments(c.arguments);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_TRUE(r.error.isEmpty());
        EXPECT_EQ(r.options.settingsDir, c.settings);
        EXPECT_EQ(r.options.output, c.output);
        EXPECT_EQ(r.options.printer, c.printer);
        EXPECT_EQ(r.options.record, c.record);
        EXPECT_EQ(r.options.honorificGiven, c.honorificGiven);
        EXPECT_EQ(r.options.honorific, c.honorific);
        EXPECT_EQ(r.options.help, c.help);
        if (!c.help) {
            EXPECT_EQ(r.options.command, QStringLiteral("postcard"));
        }
    }
}

TEST(CliOptions, RefusedCommandLinesSayWhatIsWrong)
{
    const struct {
        QStringList arguments;
        const char* mentions; // a part of the message
    } cases[] = {
        { args({}), "postcard" },
        { args({ "letter" }), "letter" },
        { args({ "--output", "x.pdf", "postcard" }), "--output" },
        { args({ "postcard", "--colour", "red" }), "--colour" },
        { args({ "postcard", "--output" }), "--output" },
        { args({ "postcard", "--output", "" }), "--output" },
        { args({ "postcard", "--record", "0" }), "--record" },
        { args({ "postcard", "--record", "-2" }), "--record" },
        { args({ "postcard", "--record", "3x" }), "3x" },
        { args({ "postcard", "--record", "1", "--record", "2" }), "--record" },
        { args({ "postcard", "--output", "a.pdf", "--printer", "P" }), "--printer" },
        { args({ "postcard", "--printer", "  " }), "--printer" },
        { args({ "postcard", "cards.pdf" }), "cards.pdf" },
        { args({ "postcard", "--settings=" }), "--settings" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliParseResult r = ParseCliArguments(c.arguments);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.mentions))) << r.error.toStdString();
    }
}

TEST(CliOptions, LabelRunTakesItsStartCellAndPostalMark)
{
    const struct {
        QStringList arguments;
        int startRow, startColumn;
        bool postalMark;
        QString output;
    } accepted[] = {
        { args({ "label" }), 1, 1, true, {} },
        { args({ "label", "--start-row", "3", "--start-column=2", "--output", "l.pdf" }), 3, 2, true, QStringLiteral("l.pdf") },
        { args({ "label", "--no-postal-mark", "--start-row=14" }), 14, 1, false, {} },
    };
    for (const auto& c : accepted) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliParseResult r = ParseCliArguments(c.arguments);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.options.command, QStringLiteral("label"));
        EXPECT_EQ(r.options.startRow, c.startRow);
        EXPECT_EQ(r.options.startColumn, c.startColumn);
        EXPECT_EQ(r.options.postalMark, c.postalMark);
        EXPECT_EQ(r.options.output, c.output);
    }
    const struct {
        QStringList arguments;
        const char* mentions;
    } refused[] = {
        { args({ "label", "--record", "2" }), "--record" },
        { args({ "postcard", "--start-row", "2" }), "--start-row" },
        { args({ "postcard", "--no-postal-mark" }), "--no-postal-mark" },
        { args({ "label", "--start-row", "0" }), "--start-row" },
        { args({ "label", "--start-column", "x" }), "x" },
        { args({ "label", "--start-column" }), "--start-column" },
        { args({ "label", "--no-postal-mark=no" }), "--no-postal-mark" },
        { args({ "label", "--no-postal-mark", "--no-postal-mark" }), "--no-postal-mark" },
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliParseResult r = ParseCliArguments(c.arguments);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.mentions))) << r.error.toStdString();
    }
}

TEST(CliOptions, EncodingOfTheAddressListForOneRun)
{
    const struct {
        QStringList arguments;
        bool ok;
        bool given;
        CsvEncoding encoding;
    } cases[] = {
        { args({ "postcard" }), true, false, CsvEncoding::Auto },
        { args({ "postcard", "--encoding", "utf8" }), true, true, CsvEncoding::Utf8 },
        { args({ "label", "--encoding=sjis" }), true, true, CsvEncoding::ShiftJis },
        { args({ "postcard", "--encoding", "AUTO" }), true, true, CsvEncoding::Auto },
        { args({ "postcard", "--encoding", "utf-8" }), false, false, CsvEncoding::Auto },
        { args({ "postcard", "--encoding", "latin1" }), false, false, CsvEncoding::Auto },
        { args({ "label", "--encoding" }), false, false, CsvEncoding::Auto },
        { args({ "postcard", "--encoding", "utf8", "--encoding", "sjis" }), false, false, CsvEncoding::Auto },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliParseResult r = ParseCliArguments(c.arguments);
        EXPECT_EQ(r.ok, c.ok) << r.error.toStdString();
        if (!c.ok) {
            EXPECT_TRUE(r.error.contains(QStringLiteral("--encoding"))) << r.error.toStdString();
            continue;
        }
        EXPECT_EQ(r.options.encodingGiven, c.given);
        EXPECT_EQ(r.options.encoding, c.encoding);
    }
}

TEST(CliOptions, RecordListsForBothRuns)
{
    const struct {
        QStringList arguments;
        QString records;
        int record;
        bool all;
    } accepted[] = {
        { args({ "postcard", "--records", "1-36, 40, 45-" }), QStringLiteral("1-36, 40, 45-"), 0, false },
        { args({ "label", "--records=５－８", "--all" }), QStringLiteral("５－８"), 0, true },
        { args({ "label", "--all" }), {}, 0, true },
        { args({ "postcard", "--all", "--record", "4" }), {}, 4, true },
    };
    for (const auto& c : accepted) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliParseResult r = ParseCliArguments(c.arguments);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.options.records, c.records);
        EXPECT_EQ(r.options.record, c.record);
        EXPECT_EQ(r.options.all, c.all);
    }
    const struct {
        QStringList arguments;
        const char* mentions;
    } refused[] = {
        { args({ "postcard", "--record", "3", "--records", "4" }), "--records" },
        { args({ "postcard", "--records", "4", "--record", "3" }), "--record " },
        { args({ "label", "--records", "0" }), "1 から" },
        { args({ "label", "--records", "5-3" }), "5-3" },
        { args({ "postcard", "--records", "-" }), "--records" },
        { args({ "postcard", "--records", "abc" }), "abc" },
        { args({ "postcard", "--records", "" }), "--records" },
        { args({ "postcard", "--records" }), "--records" },
        { args({ "postcard", "--all=yes" }), "--all" },
        { args({ "label", "--records", "1", "--records", "2" }), "--records" },
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliParseResult r = ParseCliArguments(c.arguments);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.mentions))) << r.error.toStdString();
    }
}
