#include "platform/AppPaths.h"

#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct PathsGuard {
    QByteArray xdg = qgetenv("XDG_CONFIG_HOME");
    bool hadXdg = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    ~PathsGuard()
    {
        AppPaths::setProgramDirectory(QString());
        AppPaths::setSettingsDirectory(QString());
        if (hadXdg)
            qputenv("XDG_CONFIG_HOME", xdg);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
};

} // namespace

TEST(AppPaths, SettingsLiveBesideTheProgramOrInTheUsersConfig)
{
    PathsGuard guard;
    QTemporaryDir prog;
    QTemporaryDir home;
    ASSERT_TRUE(prog.isValid() && home.isValid());
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());

    // The executable's own directory by default, with a trailing separator.
    EXPECT_TRUE(AppPaths::programDirectory().endsWith('/'));
    EXPECT_EQ(AppPaths::programDirectory(), QCoreApplication::applicationDirPath() + '/');

    // A writable program directory holds POSTCSV.INI.
    AppPaths::setProgramDirectory(prog.path());
    EXPECT_EQ(AppPaths::programDirectory(), prog.path() + '/');
    EXPECT_EQ(AppPaths::settingsFilePath(), prog.path() + "/POSTCSV.INI");

    // A read-only one sends it to $XDG_CONFIG_HOME/Tovalin/, starting from the copy
    // that was there.
    ASSERT_TRUE(TestFiles::write(prog.filePath("POSTCSV.INI"), "[POSTCSV]\r\nPOSTNO=2\r\n"));
    QFile::setPermissions(prog.filePath("POSTCSV.INI"), QFile::ReadOwner | QFile::ReadOther);
    QFile::setPermissions(prog.path(), QFile::ReadOwner | QFile::ExeOwner);
    const QString cfg = home.path() + "/Tovalin/";
    EXPECT_EQ(AppPaths::settingsDirectory(), cfg);
    EXPECT_EQ(TestFiles::read(cfg + "POSTCSV.INI"), QByteArray("[POSTCSV]\r\nPOSTNO=2\r\n"));
    EXPECT_TRUE(QFileInfo(cfg + "POSTCSV.INI").permissions() & QFile::WriteOwner);
    // The user's copy is not replaced later.
    ASSERT_TRUE(TestFiles::write(cfg + "POSTCSV.INI", "[MOTO]\r\n"));
    EXPECT_EQ(AppPaths::settingsFilePath(), cfg + "POSTCSV.INI");
    EXPECT_EQ(TestFiles::read(cfg + "POSTCSV.INI"), QByteArray("[MOTO]\r\n"));
    QFile::setPermissions(prog.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // Without XDG_CONFIG_HOME: ~/.config/Tovalin/.
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(AppPaths::userConfigDirectory(), QDir::homePath() + "/.config/Tovalin/");
    qputenv("XDG_CONFIG_HOME", "relative/path"); // not absolute: ignored
    EXPECT_EQ(AppPaths::userConfigDirectory(), QDir::homePath() + "/.config/Tovalin/");

    // An explicit settings directory wins over both.
    QTemporaryDir other;
    AppPaths::setSettingsDirectory(other.path());
    EXPECT_EQ(AppPaths::settingsFilePath(), other.path() + "/POSTCSV.INI");
    AppPaths::setSettingsDirectory(QString());
    EXPECT_EQ(AppPaths::settingsFilePath(), prog.path() + "/POSTCSV.INI");
}

// <prefix>/bin beside <prefix>/share/tovalin is an installed copy: its settings go to the
// user's folder even where the bin folder can be written (root, or a private prefix).
TEST(AppPaths, InstalledCopyKeepsSettingsInTheUsersConfig)
{
    PathsGuard guard;
    QTemporaryDir prefix;
    QTemporaryDir home;
    ASSERT_TRUE(prefix.isValid() && home.isValid());
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    ASSERT_TRUE(QDir().mkpath(prefix.filePath("bin")));
    AppPaths::setProgramDirectory(prefix.filePath("bin"));
    EXPECT_FALSE(AppPaths::isInstalledCopy());
    EXPECT_EQ(AppPaths::settingsDirectory(), prefix.filePath("bin") + '/');

    ASSERT_TRUE(QDir().mkpath(prefix.filePath("share/tovalin/examples")));
    EXPECT_TRUE(AppPaths::isInstalledCopy());
    EXPECT_EQ(AppPaths::settingsFilePath(), home.path() + "/Tovalin/POSTCSV.INI");
    EXPECT_TRUE(QFileInfo(home.path() + "/Tovalin").isDir());
}
