#include "cli/CliConsole.h"

#include <cstdio>
#include <unistd.h>

void CliConsole::error(const QString& text)
{
    endProgress();
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "%s\n", lines.toUtf8().constData());
    std::fflush(stderr);
}

bool CliConsole::terminal() const
{
    return isatty(STDERR_FILENO) == 1;
}

void CliConsole::progress(int page, int pages)
{
    if (!terminal())
        return;
    std::fprintf(stderr, "\r%s", QStringLiteral("印刷中: %1 / %2 ページ").arg(page).arg(pages).toUtf8().constData());
    std::fflush(stderr);
    m_progressShown = true;
}

void CliConsole::endProgress()
{
    if (!m_progressShown)
        return;
    std::fprintf(stderr, "\n");
    std::fflush(stderr);
    m_progressShown = false;
}
