#include "platform/AppPaths.h"

#include "platform/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString g_programDir;
QString g_settingsDir;

const QString kIniName = QStringLiteral("POSTCSV.INI");

bool directoryWritable(const QString& dir)
{
    // A probe file name inside the directory: IniFile's rule for a new file is the
    // directory's own write permission.
    return !IniFile::isReadOnlyPlace(dir + QStringLiteral(".tovalin-probe"));
}

} // namespace

namespace AppPaths {

QString withTrailingSeparator(const QString& dir)
{
    if (dir.isEmpty() || dir.endsWith(QLatin1Char('/')))
        return dir;
    return dir + QLatin1Char('/');
}

QString programDirectory()
{
    if (!g_programDir.isEmpty())
        return g_programDir;
    QString dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty())
        dir = QDir::currentPath();
    return withTrailingSeparator(dir);
}

void setProgramDirectory(const QString& dir)
{
    g_programDir = withTrailingSeparator(dir.isEmpty() ? QString() : QDir(dir).absolutePath());
}

QString userConfigDirectory()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return withTrailingSeparator(QDir::cleanPath(base + QStringLiteral("/Tovalin")));
}

bool isInstalledCopy()
{
    return QFileInfo(programDirectory() + QStringLiteral("../share/tovalin")).isDir();
}

QString settingsDirectory()
{
    if (!g_settingsDir.isEmpty())
        return g_settingsDir;
    const QString prog = programDirectory();
    // An installed copy keeps each user's settings apart, even where root could write /usr/bin.
    if (!isInstalledCopy() && directoryWritable(prog))
        return prog;

    const QString cfg = userConfigDirectory();
    QDir().mkpath(cfg);
    // An installed copy may come with a prepared settings file: start from it.
    const QString seed = prog + kIniName;
    if (!QFileInfo::exists(cfg + kIniName) && QFileInfo::exists(seed)) {
        if (QFile::copy(seed, cfg + kIniName)) {
            // The copy is the user's own file now, even when the original was read-only.
            QFile copy(cfg + kIniName);
            copy.setPermissions(copy.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
        }
    }
    return cfg;
}

void setSettingsDirectory(const QString& dir)
{
    g_settingsDir = withTrailingSeparator(dir.isEmpty() ? QString() : QDir(dir).absolutePath());
}

QString settingsFilePath()
{
    return settingsDirectory() + kIniName;
}

} // namespace AppPaths
