// Pictures of the forms for a person to look at: written only when
// TOVALIN_SCREENSHOT_DIR names a directory (run under xvfb-run for a real X server).

#include "app/AppSettings.h"
#include "app/ui/TFrmAtenaMemu.h"
#include "app/ui/TFrmInpTri.h"
#include "platform/AppPaths.h"
#include "platform/JapaneseFonts.h"
#include "support/ScriptedMessages.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QPixmap>
#include <QStringEncoder>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(Screenshots, MainMenuAndSetUpDialog)
{
    const QString out = qEnvironmentVariable("TOVALIN_SCREENSHOT_DIR");
    if (out.isEmpty())
        GTEST_SKIP() << "set TOVALIN_SCREENSHOT_DIR to write the pictures";
    QDir().mkpath(out);
    JapaneseFonts::install();
    QTemporaryDir tmp;
    AppPaths::setSettingsDirectory(tmp.path());
    AppSettings::instance() = AppSettings();
    ScriptedMessages messages;

    TFrmAtenaMemu menu;
    menu.show();
    QTest::qWait(50);
    ASSERT_TRUE(menu.grab().save(out + "/main-menu.png"));

    const QString csv = tmp.filePath("address.csv");
    QStringEncoder enc("windows-31j");
    ASSERT_TRUE(TestFiles::write(csv, enc(QStringLiteral("郵便番号,住所１,住所２,氏名,敬称\r\n"
                                                         "100-0001,東京都千代田区,千代田1-1,山田太郎,様\r\n"))));
    AppSettings::instance().csv.fileName = csv;
    AppSettings::instance().csv.postNo = 1;
    AppSettings::instance().csv.adr1No = 2;
    AppSettings::instance().csv.adr2No = 3;
    AppSettings::instance().csv.mei1No = 4;
    AppSettings::instance().csv.mei2No = 0;
    AppSettings::instance().csv.cbarNo = 0;
    AppSettings::instance().csv.keisNo = 5;
    AppSettings::instance().csv.hasHeader = true;
    TFrmInpTri dlg;
    dlg.show();
    QTest::qWait(50);
    ASSERT_TRUE(dlg.grab().save(out + "/csv-setup.png"));
    auto* pages = dlg.findChild<QTabWidget*>(QStringLiteral("pgcTri"));
    pages->setCurrentWidget(dlg.findChild<QWidget*>(QStringLiteral("tabJoint")));
    QTest::qWait(50);
    ASSERT_TRUE(dlg.grab().save(out + "/csv-setup-joint.png"));
    pages->setCurrentWidget(dlg.findChild<QWidget*>(QStringLiteral("tabFormat")));
    QTest::qWait(50);
    ASSERT_TRUE(dlg.grab().save(out + "/csv-setup-format.png"));
    AppPaths::setSettingsDirectory(QString());
    AppSettings::instance() = AppSettings();
}
