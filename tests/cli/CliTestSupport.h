#pragma once
// The batch printer's tests: a copy of the example settings to change at will, the program
// run as a user runs it, and a console that keeps what an in-process run said.

#include "cli/CliConsole.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace clitest {

inline QString examplesDir()
{
    return QStringLiteral(TOVALIN_SOURCE_DIR "/examples");
}

inline QString program()
{
    return QStringLiteral(TOVALIN_BINARY_DIR "/src/tovalin-print");
}

// examples/ copied into a temporary folder: <root>/addresses.csv, <root>/postcard/... (or the
// example folder named, such as "label", whose settings may use the postcard's picture).
class ExampleCopy {
public:
    explicit ExampleCopy(const QString& example = QStringLiteral("postcard")) : m_example(example)
    {
        QFile::copy(examplesDir() + QStringLiteral("/addresses.csv"), csv());
        for (const QString& folder : { QStringLiteral("postcard"), example }) {
            QDir(m_dir.path()).mkdir(folder);
            const QDir from(examplesDir() + QLatin1Char('/') + folder);
            for (const QString& f : from.entryList(QDir::Files))
                QFile::copy(from.filePath(f), m_dir.filePath(folder) + QLatin1Char('/') + f);
        }
    }
    QString root() const { return m_dir.path(); }
    QString settingsDir() const { return m_dir.filePath(m_example); }
    QString ini() const { return settingsDir() + QStringLiteral("/POSTCSV.INI"); }
    QString csv() const { return m_dir.filePath(QStringLiteral("addresses.csv")); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    bool set(const QString& section, const QString& key, const QString& value) const
    {
        IniFile f(ini());
        return f.load() && f.writeString(section, key, value) && f.save();
    }
    // The examples map joint names to columns 8-13 of their list; a test's own list of seven
    // columns maps none (else the readiness check refuses it).
    bool withoutJointNames() const
    {
        IniFile f(ini());
        if (!f.load())
            return false;
        for (const char* key : { "REN1NO", "REN2NO", "REN3NO", "REN1KEISNO", "REN2KEISNO", "REN3KEISNO" })
            f.deleteKey(QStringLiteral("POSTCSV"), QLatin1String(key));
        return f.save();
    }
    bool writeCsv(const QByteArray& bytes) const
    {
        QFile f(csv());
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    }
    bool appendCsv(const QByteArray& bytes) const
    {
        QFile f(csv());
        return f.open(QIODevice::Append) && f.write(bytes) == bytes.size();
    }

private:
    QTemporaryDir m_dir;
    QString m_example;
};

struct ProgramRun {
    int exitCode = -1;
    bool finished = false;
    QString out;
    QString err;
};

inline ProgramRun runProgram(const QStringList& arguments, int timeoutMs = 120000,
                             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                             const QString& executable = program())
{
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(executable, arguments);
    ProgramRun r;
    if (!p.waitForStarted(10000))
        return r;
    r.finished = p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The text of PDF pages in reading order with all white space taken out (vertical columns
// come out one character per word).
inline QString pdfCompactText(const QString& pdf, int first = 0, int last = 0)
{
    QStringList args { QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8") };
    if (first > 0)
        args << QStringLiteral("-f") << QString::number(first);
    if (last > 0)
        args << QStringLiteral("-l") << QString::number(last);
    args << pdf << QStringLiteral("-");
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    if (!p.waitForFinished(60000))
        return QString();
    QString text = QString::fromUtf8(p.readAllStandardOutput());
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

// Keeps what an in-process run says.
class RecordingConsole final : public CliConsole {
public:
    void error(const QString& text) override { lines << text; }
    bool terminal() const override { return false; }
    QString all() const { return lines.join(QLatin1Char('\n')); }
    QStringList lines;
};

} // namespace clitest
