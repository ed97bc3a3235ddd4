#include "preview/EmfConverter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

namespace {

const QString kHelperName = QStringLiteral("tovalin-emf2svg");

QString& overridden()
{
    static QString path;
    return path;
}

// A hostile file can make the converter write without end; a real stamp is far smaller.
constexpr qsizetype kMaxSvgBytes = 128 * 1024 * 1024;

int& timeout()
{
    static int ms = 10000;
    return ms;
}

QString programDirectory()
{
    // Before a QCoreApplication exists (and in programs that have none) the executable's own
    // link still names the folder.
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

} // namespace

namespace EmfConverter {

QStringList helperCandidates()
{
    if (!overridden().isEmpty())
        return { overridden() };
    const QDir dir(programDirectory());
    return {
        dir.filePath(kHelperName),
        QDir::cleanPath(dir.filePath(QStringLiteral(TOVALIN_HELPER_RELATIVE_DIR "/") + kHelperName)),
        QStringLiteral(TOVALIN_HELPER_INSTALL_DIR "/") + kHelperName,
    };
}

QString helperPath()
{
    for (const QString& candidate : helperCandidates()) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return QString();
}

void setHelperPath(const QString& path)
{
    overridden() = path;
}

int timeoutMilliseconds()
{
    return timeout();
}

void setTimeoutMilliseconds(int milliseconds)
{
    timeout() = milliseconds;
}

EmfConversion convert(const QByteArray& emf)
{
    EmfConversion result;
    const QString helper = helperPath();
    if (helper.isEmpty())
        return result;
    QProcess process;
    process.setProgram(helper);
    // What the helper says on standard error (a sanitizer's report, the library's chatter)
    // is of no use to the user.
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QIODevice::ReadWrite);
    if (!process.waitForStarted(timeout()))
        return result;
    process.write(emf);
    process.closeWriteChannel();
    QElapsedTimer clock;
    clock.start();
    QByteArray svg;
    while (process.state() != QProcess::NotRunning) {
        const qint64 left = timeout() - clock.elapsed();
        if (left <= 0 || svg.size() > kMaxSvgBytes) {
            process.kill();
            process.waitForFinished(-1);
            result.status = left <= 0 ? EmfConversion::TimedOut : EmfConversion::Refused;
            return result;
        }
        process.waitForReadyRead(int(qMin<qint64>(left, 100)));
        svg += process.readAllStandardOutput();
    }
    svg += process.readAllStandardOutput();
    // Sanitized builds report an error with their own exit status instead of a signal.
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() > 1) {
        result.status = EmfConversion::Crashed;
        return result;
    }
    if (process.exitCode() != 0 || svg.isEmpty() || svg.size() > kMaxSvgBytes) {
        result.status = EmfConversion::Refused;
        return result;
    }
    result.status = EmfConversion::Converted;
    result.svg = std::move(svg);
    return result;
}

} // namespace EmfConverter
