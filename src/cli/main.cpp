// tovalin-print: the print runs of Tovalin without a window, for batch printing and scripts.

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/LabelCommand.h"
#include "cli/PostcardCommand.h"
#include "cli/BatchJob.h"
#include "platform/Allocator.h"
#include "platform/JapaneseFonts.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

// Each run, by its sub-command (the parser's CliCommands() lists the same names).
struct Command {
    const char* name;
    int (*run)(const CliOptions&, CliConsole&);
};
const Command kCommands[] = {
    { "postcard", RunPostcardCommand },
    { "label", RunLabelCommand },
};

// Qt's own chatter (platform plugin notes and the like) is not for the user of a batch tool;
// TOVALIN_QT_MESSAGES=1 shows it.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg || qEnvironmentVariableIntValue("TOVALIN_QT_MESSAGES") == 1)
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv)
{
    Allocator::keepPageBuffers();
    // No window is ever shown: the offscreen platform needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("tovalin-print"));
    JapaneseFonts::install();

    CliConsole console;
    ConsoleMessages messages(console);
    Messages::setCurrent(&messages);

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const CliParseResult parsed = ParseCliArguments(arguments);
    if (!parsed.ok) {
        console.error(parsed.error);
        std::fprintf(stderr, "\n%s", CliUsage(parsed.options.command).toUtf8().constData());
        return ExitCode::BadInput;
    }
    if (parsed.options.version) {
        std::fprintf(stdout, "%s\n", CliVersion().toUtf8().constData());
        return ExitCode::Ok;
    }
    if (parsed.options.help) {
        std::fprintf(stdout, "%s", CliUsage(parsed.options.command).toUtf8().constData());
        return ExitCode::Ok;
    }
    for (const Command& c : kCommands) {
        if (parsed.options.command == QLatin1String(c.name)) {
            const int status = c.run(parsed.options, console);
            Messages::setCurrent(nullptr);
            return status;
        }
    }
    console.error(QStringLiteral("印刷の種類が不明です: %1").arg(parsed.options.command));
    return ExitCode::BadInput;
}
