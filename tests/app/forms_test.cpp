#include "app/AppSettings.h"
#include "app/ui/TFrmAtenaMemu.h"
#include "app/ui/TFrmBase1.h"
#include "app/ui/TFrmInpTri.h"
#include "controls/Glyphs.h"
#include "controls/TShineBtn.h"
#include "platform/AppPaths.h"
#include "platform/CommonDialogs.h"
#include "support/ScriptedMessages.h"
#include "platform/ui/HelpWindow.h"
#include "support/TestFiles.h"
#include "support/TestText.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using testtext::sjis;

// Each test gets its own settings directory and a fresh settings image.
class Forms : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        AppPaths::setSettingsDirectory(tmp.path());
        AppPaths::setProgramDirectory(tmp.path());
        AppSettings::instance() = AppSettings();
        iniPath = tmp.filePath("POSTCSV.INI");
    }
    void TearDown() override
    {
        AppPaths::setSettingsDirectory(QString());
        AppPaths::setProgramDirectory(QString());
        AppSettings::instance() = AppSettings();
        TFrmBase1::setClock({});
    }
    QString writeCsv(const QString& name, const QByteArray& bytes)
    {
        const QString path = tmp.filePath(name);
        EXPECT_TRUE(TestFiles::write(path, bytes));
        return path;
    }
    template <class T>
    static T* child(QWidget* w, const char* name)
    {
        T* c = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static QStringList entries(QComboBox* box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    QTemporaryDir tmp;
    QString iniPath;
};

const char* const kMappingBoxes[] = { "cmbTriPost",   "cmbTriAdr1",       "cmbTriAdr2",   "cmbTriName1",
                                      "cmbTriName2",  "cmbTriCBar",       "cmbTriKeisho", "cmbTriRen1",
                                      "cmbTriRen1Keisho", "cmbTriRen2",   "cmbTriRen2Keisho", "cmbTriRen3",
                                      "cmbTriRen3Keisho" };

} // namespace

TEST_F(Forms, ClockTexts)
{
    struct Case {
        QDateTime t;
        const char* date;
        const char* time;
    } cases[] = {
        { QDateTime(QDate(2024, 1, 5), QTime(7, 3)), "2024/01/05", "7:03" },
        { QDateTime(QDate(2023, 12, 31), QTime(0, 0)), "2023/12/31", "0:00" },
        { QDateTime(QDate(2025, 11, 9), QTime(23, 59, 59)), "2025/11/09", "23:59" },
        { QDateTime(QDate(1999, 9, 30), QTime(12, 10)), "1999/09/30", "12:10" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TFrmBase1::dateText(c.t), QString::fromLatin1(c.date));
        EXPECT_EQ(TFrmBase1::timeText(c.t), QString::fromLatin1(c.time));
    }
}

TEST_F(Forms, ClockFillsAtOnceThenEveryTenSeconds)
{
    QDateTime fake(QDate(2024, 1, 1), QTime(9, 5));
    TFrmBase1::setClock([&] { return fake; });
    TFrmBase1 form;
    auto* timer = form.findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.panelText(0).isEmpty(); }, 1000));
    EXPECT_EQ(form.panelText(0), QStringLiteral("2024/01/01"));
    EXPECT_EQ(form.panelText(1), QStringLiteral("9:05"));
    EXPECT_EQ(timer->interval(), 10000);
    EXPECT_TRUE(timer->isActive());
    // The next tick shows the time of that tick.
    fake = QDateTime(QDate(2024, 1, 2), QTime(10, 0));
    timer->setInterval(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.panelText(1) == QStringLiteral("10:00"); }, 1000));
    EXPECT_EQ(form.panelText(0), QStringLiteral("2024/01/02"));
}

TEST_F(Forms, MainMenuLooksAsDesigned)
{
    ScriptedMessages messages;
    TFrmAtenaMemu menu;
    menu.show();
    EXPECT_EQ(menu.windowTitle(), QStringLiteral("Tovalin"));
    EXPECT_EQ(menu.size(), QSize(426, 329));
    EXPECT_EQ(menu.minimumSize(), menu.maximumSize());
    EXPECT_FALSE(menu.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(menu.panelText(2), QStringLiteral("宛名印刷"));
    EXPECT_EQ(menu.programDirectory(), tmp.path() + '/');
    // Centred on the screen.
    const QRect screen = menu.screen()->geometry();
    EXPECT_EQ(menu.frameGeometry().left(), screen.left() + (screen.width() - menu.frameGeometry().width()) / 2);
    EXPECT_EQ(menu.frameGeometry().top(), screen.top() + (screen.height() - menu.frameGeometry().height()) / 2);

    struct Caption {
        const char* name;
        const char16_t* text;
    } captions[] = {
        { "bbtnCsvLst", u" Tovalin初期設定" },
        { "BitBtn1", u" CSVハガキ宛名印刷" },
        { "BitBtn2", u" CSVA4ラベル宛名印刷" },
        { "bbtnClose", u"終　了" },
    };
    for (const auto& c : captions)
        EXPECT_EQ(child<QPushButton>(&menu, c.name)->text(), QString::fromUtf16(c.text));
    EXPECT_EQ(child<QLabel>(&menu, "Panel3")->text(), QStringLiteral("Tovalinメニュー"));
    EXPECT_EQ(child<QLabel>(&menu, "lblBitBtn1")->text(),
              QStringLiteral("初期設定後、CSVファイルよりハガキに宛名を印刷します。"));

    // Status bar: four panels, date and time, centred but the last.
    auto* bar = child<QStatusBar>(&menu, "stsbMsg");
    EXPECT_EQ(bar->geometry().bottom(), menu.height() - 1);
    EXPECT_EQ(bar->width(), menu.width());
    const int widths[] = { 80, 50, 90 };
    for (int i = 0; i < 3; ++i) {
        auto* p = child<QLabel>(&menu, QStringLiteral("stsbMsgPanel%1").arg(i).toLatin1().constData());
        EXPECT_EQ(p->width(), widths[i]);
        EXPECT_TRUE(p->alignment() & Qt::AlignHCenter);
    }
    EXPECT_TRUE(child<QLabel>(&menu, "stsbMsgPanel3")->alignment() & Qt::AlignLeft);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !menu.panelText(0).isEmpty(); }, 1000));
    EXPECT_EQ(menu.panelText(0), TFrmBase1::dateText(QDateTime::currentDateTime()));

    // The controls are inside the client area, above the status bar.
    for (const char* name : { "bbtnCsvLst", "BitBtn1", "BitBtn2", "bbtnClose", "ssbHelp" }) {
        QWidget* w = child<QWidget>(&menu, name);
        const QRect r(w->mapTo(&menu, QPoint(0, 0)), w->size());
        EXPECT_TRUE(QRect(0, 0, 426, 329 - bar->height()).contains(r)) << name;
    }
    EXPECT_TRUE(messages.asked().isEmpty());
}

TEST_F(Forms, MainMenuHintsReachTheStatusBar)
{
    ScriptedMessages messages;
    TFrmAtenaMemu menu;
    menu.show();
    struct Case {
        const char* name;
        const char16_t* statusText;
        const char16_t* tooltip;
    } cases[] = {
        { "ssbHelp", u"ヘルプを表示します。", u"ヘルプ" },
        { "bbtnCsvLst", u"まず最初に初期設定を行ってください。", u"" },
        { "BitBtn1", u"ハガキに宛名を印刷します。", u"" },
        { "BitBtn2", u"Ａ４ラベルに宛名を印刷します。", u"" },
        { "bbtnClose", u"宛名印刷を終了します。", u"終了" },
    };
    for (const auto& c : cases) {
        QWidget* w = child<QWidget>(&menu, c.name);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(w, &enter);
        EXPECT_EQ(menu.panelText(3), QString::fromUtf16(c.statusText)) << c.name;
        EXPECT_EQ(w->toolTip(), QString::fromUtf16(c.tooltip)) << c.name;
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(w, &leave);
        EXPECT_EQ(menu.panelText(3), QString()) << c.name;
    }

    // A form without a status bar (the set-up dialog) is left alone, and so is the menu.
    menu.setPanelText(3, QStringLiteral("unchanged"));
    TFrmInpTri dlg;
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(child<QWidget>(&dlg, "ssbHelp"), &enter);
    EXPECT_EQ(menu.panelText(3), QStringLiteral("unchanged"));
}

TEST_F(Forms, MainMenuCreatesTheSettingsFileAndReadsItBack)
{
    ScriptedMessages messages;
    {
        TFrmAtenaMemu menu;
        menu.show();
        EXPECT_FALSE(menu.settingsFailed());
    }
    EXPECT_EQ(TestFiles::read(iniPath), TestFiles::read(TestFiles::dataPath("POSTCSV.default.ini")));
    EXPECT_EQ(AppSettings::instance().postcardFields[4].top, 50);

    // A changed file is read on the next start.
    ASSERT_TRUE(TestFiles::write(iniPath, "[POSTCSV]\r\nCSVNAME=/x.csv\r\nPOSTNO=4\r\n"));
    TFrmAtenaMemu menu;
    menu.show();
    EXPECT_EQ(AppSettings::instance().csv.postNo, 4);
    EXPECT_EQ(AppSettings::instance().csv.fileName, QStringLiteral("/x.csv"));
    EXPECT_TRUE(messages.asked().isEmpty());
}

TEST_F(Forms, MainMenuEndsWhenTheSettingsCannotBeRead)
{
    ScriptedMessages messages;
    // No file and no way to create one.
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::ExeOwner);
    TFrmAtenaMemu menu;
    menu.show();
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(messages.texts(), QStringList { QStringLiteral("INIファイルの読込に失敗しました。") });
    EXPECT_EQ(messages.asked().first().kind, ScriptedMessages::Kind::Warning);
    EXPECT_TRUE(menu.settingsFailed());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !menu.isVisible(); }, 1000));
}

TEST_F(Forms, PrintButtonsRunTheReadinessCheckFirst)
{
    ScriptedMessages messages;
    TFrmAtenaMemu menu;
    menu.show();
    const QString missing = QStringLiteral("CSVファイルが指定されていないか存在しません。\r\n再設定してから実行して下さい。");
    for (const char* name : { "BitBtn1", "BitBtn2" }) {
        messages.clear();
        child<QPushButton>(&menu, name)->click();
        EXPECT_EQ(messages.texts(), QStringList { missing }) << name;
    }

    AppSettings::instance().csv.fileName = writeCsv("ok.csv", "a,b\r\n");
    AppSettings::instance().csv.postNo = 3;
    messages.clear();
    child<QPushButton>(&menu, "BitBtn1")->click();
    EXPECT_EQ(messages.texts(), QStringList { QStringLiteral("設定された郵便番号項目位置が不正です。\r\n再設定してから実行して下さい。") });

    // Passing: nothing is said and the menu stays.
    AppSettings::instance().csv.postNo = 2;
    messages.clear();
    child<QPushButton>(&menu, "BitBtn2")->click();
    EXPECT_TRUE(messages.asked().isEmpty());
    EXPECT_TRUE(menu.isVisible());
}

TEST_F(Forms, SetUpButtonOpensTheDialogAtTheMenusCorner)
{
    ScriptedMessages messages;
    TFrmAtenaMemu menu;
    menu.show();
    menu.move(40, 30);
    QPoint seen(-1, -1);
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<TFrmInpTri*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        seen = dlg->pos();
        title = dlg->windowTitle();
        dlg->findChild<QPushButton*>("bbtnEnd")->click();
    });
    child<QPushButton>(&menu, "bbtnCsvLst")->click();
    EXPECT_EQ(seen, menu.pos());
    EXPECT_EQ(title, QStringLiteral("Tovalin初期設定"));
    EXPECT_TRUE(messages.asked().isEmpty());
}

TEST_F(Forms, HelpButtonsOpenTheirPages)
{
    ScriptedMessages messages;
    TFrmAtenaMemu menu;
    menu.show();
    // the styled glyph buttons of both forms
    EXPECT_EQ(child<TShineBtn>(&menu, "ssbHelp")->glyph(), Glyphs::get(QStringLiteral("help")));
    child<TShineBtn>(&menu, "ssbHelp")->click();
    auto* help = QApplication::topLevelWidgets().isEmpty() ? nullptr : menu.findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->currentPage().toString().endsWith("menu.html"));

    TFrmInpTri dlg(&menu);
    dlg.show();
    EXPECT_EQ(child<TShineBtn>(&dlg, "ssbHelp")->glyph(), Glyphs::get(QStringLiteral("help")));
    EXPECT_EQ(child<TShineBtn>(&dlg, "ssbCsvOpen")->glyph(), Glyphs::get(QStringLiteral("open")));
    child<TShineBtn>(&dlg, "ssbHelp")->click();
    help = dlg.findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->currentPage().toString().endsWith("csv-setup.html"));
    EXPECT_TRUE(messages.asked().isEmpty());
}

TEST_F(Forms, SetUpDialogWithoutAConfiguredFile)
{
    ScriptedMessages messages;
    AppSettings::instance().csv.fileName = tmp.filePath("gone.csv"); // no such file
    TFrmInpTri dlg;
    dlg.show();
    EXPECT_EQ(dlg.size(), QSize(426, 368));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Tovalin初期設定"));
    for (const char* name : kMappingBoxes) {
        EXPECT_EQ(child<QComboBox>(&dlg, name)->count(), 0) << name;
        EXPECT_EQ(child<QComboBox>(&dlg, name)->currentIndex(), -1) << name;
    }
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbText")->count(), 0);
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbText")->currentText(), QString());
    EXPECT_FALSE(child<QCheckBox>(&dlg, "cbHead")->isChecked());
    EXPECT_TRUE(child<QLineEdit>(&dlg, "edtCsvPath")->text().isEmpty());
    EXPECT_TRUE(child<QLineEdit>(&dlg, "edtCsvPath")->isReadOnly());
    EXPECT_EQ(dlg.opdCsv().initialDir, tmp.path() + '/');
    EXPECT_TRUE(dlg.opdCsv().fileName.isEmpty());
    EXPECT_EQ(dlg.opdCsv().title, QStringLiteral("宛名印刷用ＣＳＶ指定"));
    EXPECT_EQ(dlg.opdCsv().filter, QStringLiteral("宛名印刷用ＣＳＶ (*.csv)|*.csv"));
    EXPECT_TRUE(dlg.opdCsv().mustExist);
    EXPECT_EQ(dlg.focusWidget(), child<QWidget>(&dlg, "bbtnEnd"));
    EXPECT_TRUE(messages.asked().isEmpty());

    // Update without a file: the dialog stays open.
    child<QPushButton>(&dlg, "bbtnUpdate")->click();
    EXPECT_EQ(messages.texts(), QStringList { QStringLiteral("CSVファイルが指定されていません。") });
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(Forms, SetUpDialogPickUpdateAndRestart)
{
    ASSERT_TRUE(WriteDefaultSettingsFile(iniPath));
    const QString csv = writeCsv("住所録.csv", sjis(QStringLiteral("郵便番号,住所,氏名\r\n100-0001,東京都,山田\r\n")));
    {
        ScriptedMessages messages;
        ScriptedDialogs dialogs;
        TFrmInpTri dlg;
        dlg.show();
        child<QCheckBox>(&dlg, "cbHead")->setChecked(true);
        dialogs.answerOpenFile(csv);
        child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
        ASSERT_EQ(dialogs.requests().size(), 1);
        EXPECT_EQ(dialogs.requests().first().request.title, QStringLiteral("宛名印刷用ＣＳＶ指定"));
        EXPECT_EQ(child<QLineEdit>(&dlg, "edtCsvPath")->text(), csv);
        const QStringList expected { QStringLiteral("対象項目無し"), QStringLiteral("郵便番号"),
                                     QStringLiteral("住所"), QStringLiteral("氏名") };
        for (const char* name : kMappingBoxes) {
            EXPECT_EQ(entries(child<QComboBox>(&dlg, name)), expected) << name;
            EXPECT_EQ(child<QComboBox>(&dlg, name)->currentIndex(), 0) << name;
        }
        auto* text = child<QComboBox>(&dlg, "cmbText");
        EXPECT_EQ(entries(text), (QStringList { QString(), "\"", "'" }));
        EXPECT_EQ(text->currentIndex(), -1);
        EXPECT_TRUE(child<QCheckBox>(&dlg, "cbHead")->isChecked()); // the tick stays

        child<QComboBox>(&dlg, "cmbTriPost")->setCurrentIndex(1);
        child<QComboBox>(&dlg, "cmbTriAdr1")->setCurrentIndex(2);
        child<QComboBox>(&dlg, "cmbTriName1")->setCurrentIndex(3);
        text->setCurrentIndex(1);

        // No: nothing happens.
        messages.answerYesNo(false);
        child<QPushButton>(&dlg, "bbtnUpdate")->click();
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(AppSettings::instance().csv, CsvColumnMap());
        EXPECT_EQ(TestFiles::read(iniPath), TestFiles::read(TestFiles::dataPath("POSTCSV.default.ini")));

        messages.answerYesNo(true);
        child<QPushButton>(&dlg, "bbtnUpdate")->click();
        EXPECT_EQ(messages.texts(), (QStringList { QStringLiteral("設定更新します。\r\nよろしいですか？"),
                                                   QStringLiteral("設定更新します。\r\nよろしいですか？"),
                                                   QStringLiteral("更新終了しました。") }));
        EXPECT_EQ(messages.asked().last().kind, ScriptedMessages::Kind::Information);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    const CsvColumnMap& saved = AppSettings::instance().csv;
    EXPECT_EQ(saved.fileName, csv);
    EXPECT_EQ(saved.postNo, 1);
    EXPECT_EQ(saved.adr1No, 2);
    EXPECT_EQ(saved.adr2No, 0);
    EXPECT_EQ(saved.mei1No, 3);
    EXPECT_EQ(saved.keisNo, 0);
    EXPECT_TRUE(saved.hasHeader);
    EXPECT_EQ(saved.textDelimiter, QStringLiteral("\""));
    const QByteArray file = TestFiles::read(iniPath);
    EXPECT_TRUE(file.endsWith("[POSTCSV]\r\nCSVNAME=" + sjis(csv) + "\r\nCSVTEXT=\"\r\nPOSTNO=1\r\nADR1NO=2\r\n"
                              "ADR2NO=0\r\nMEI1NO=3\r\nMEI2NO=0\r\nCBARNO=0\r\nKEISNO=0\r\nCSVHEAD=1\r\n"));

    // After a restart the mapping is read back and shown again.
    AppSettings::instance() = AppSettings();
    ASSERT_TRUE(LoadSettings());
    EXPECT_EQ(AppSettings::instance().csv, saved);
    ScriptedMessages messages;
    TFrmInpTri again;
    again.show();
    EXPECT_EQ(again.opdCsv().fileName, csv);
    EXPECT_EQ(child<QLineEdit>(&again, "edtCsvPath")->text(), csv);
    EXPECT_EQ(child<QComboBox>(&again, "cmbTriPost")->currentIndex(), 1);
    EXPECT_EQ(child<QComboBox>(&again, "cmbTriAdr1")->currentIndex(), 2);
    EXPECT_EQ(child<QComboBox>(&again, "cmbTriName1")->currentIndex(), 3);
    EXPECT_EQ(child<QComboBox>(&again, "cmbTriName1")->currentText(), QStringLiteral("氏名"));
    EXPECT_EQ(child<QComboBox>(&again, "cmbText")->currentText(), QStringLiteral("\""));
    EXPECT_TRUE(child<QCheckBox>(&again, "cbHead")->isChecked());
    EXPECT_TRUE(messages.asked().isEmpty());
}

TEST_F(Forms, SetUpDialogShowsSavedNumbersAndTheSavedDelimiter)
{
    CsvColumnMap& csv = AppSettings::instance().csv;
    // No header, quoted values: the first data line names the columns, without quotes.
    csv.fileName = writeCsv("q.csv", "\"100-0001\",\"tokyo\",\"yamada\"\r\n");
    csv.textDelimiter = QStringLiteral("\"");
    csv.postNo = 1;
    csv.adr1No = 9;  // beyond the list: no selection
    csv.adr2No = -1; // never set: no selection
    csv.mei1No = 0;
    csv.mei2No = 3;
    ScriptedMessages messages;
    TFrmInpTri dlg;
    dlg.show();
    EXPECT_EQ(entries(child<QComboBox>(&dlg, "cmbTriPost")),
              (QStringList { QStringLiteral("対象項目無し"), "100-0001", "tokyo", "yamada" }));
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriPost")->currentIndex(), 1);
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriAdr1")->currentIndex(), -1);
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriAdr2")->currentIndex(), -1);
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriName1")->currentIndex(), 0);
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriName2")->currentIndex(), 3);
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbText")->currentText(), QStringLiteral("\""));
    EXPECT_FALSE(child<QCheckBox>(&dlg, "cbHead")->isChecked());
    EXPECT_EQ(dlg.focusWidget(), child<QWidget>(&dlg, "bbtnEnd"));

    // Cancel: nothing changes, in memory or on disk.
    const CsvColumnMap before = csv;
    child<QComboBox>(&dlg, "cmbTriPost")->setCurrentIndex(2);
    child<QPushButton>(&dlg, "bbtnEnd")->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(AppSettings::instance().csv, before);
    EXPECT_FALSE(QFile::exists(iniPath));
    EXPECT_TRUE(messages.asked().isEmpty());
}

TEST_F(Forms, SetUpDialogRefusesEmptyFiles)
{
    struct Case {
        const char* name;
        QByteArray content;
    } cases[] = {
        { "empty", "" },
        { "first line blank", " \t \r\na,b,c\r\n" },
        { "first line empty", "\r\na,b\r\n" },
        { "NUL first", QByteArray("\0a,b\r\n", 6) },
    };
    for (const auto& c : cases) {
        ScriptedMessages messages;
        ScriptedDialogs dialogs;
        TFrmInpTri dlg;
        dlg.show();
        // A good file first, so that the boxes hold something.
        dialogs.answerOpenFile(writeCsv("good.csv", "a,b\r\n"));
        child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
        child<QComboBox>(&dlg, "cmbTriAdr1")->setCurrentIndex(2);
        dialogs.answerOpenFile(writeCsv("bad.csv", c.content));
        child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
        EXPECT_EQ(messages.texts(), QStringList { QStringLiteral("空データです。") }) << c.name;
        EXPECT_TRUE(child<QLineEdit>(&dlg, "edtCsvPath")->text().isEmpty()) << c.name;
        EXPECT_TRUE(dlg.opdCsv().fileName.isEmpty()) << c.name;
        // The boxes keep what they held.
        EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriAdr1")->count(), 3) << c.name;
        EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriAdr1")->currentIndex(), 2) << c.name;
        // And an update now has no file.
        child<QPushButton>(&dlg, "bbtnUpdate")->click();
        EXPECT_EQ(messages.texts().last(), QStringLiteral("CSVファイルが指定されていません。")) << c.name;
    }

    // Cancelling the file dialog changes nothing.
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    TFrmInpTri dlg;
    dlg.show();
    dialogs.answerOpenFile(QString());
    child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
    EXPECT_TRUE(messages.asked().isEmpty());
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriPost")->count(), 0);
}

TEST_F(Forms, SetUpDialogReportsASaveThatFails)
{
    ASSERT_TRUE(WriteDefaultSettingsFile(iniPath));
    QFile::setPermissions(iniPath, QFile::ReadOwner | QFile::ReadGroup);
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    TFrmInpTri dlg;
    dlg.show();
    dialogs.answerOpenFile(writeCsv("a.csv", "x,y\r\n"));
    child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
    child<QComboBox>(&dlg, "cmbTriPost")->setCurrentIndex(2);
    messages.answerYesNo(true);
    child<QPushButton>(&dlg, "bbtnUpdate")->click();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("更新に失敗しました。\r\nファイル確認後再処理して下さい。"));
    EXPECT_EQ(messages.asked().last().kind, ScriptedMessages::Kind::Warning);
    EXPECT_FALSE(dlg.isVisible());
    QFile::setPermissions(iniPath, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(TestFiles::read(iniPath), TestFiles::read(TestFiles::dataPath("POSTCSV.default.ini")));
}

TEST_F(Forms, SetUpDialogCopesWithAHugeHeaderLine)
{
    // One line of about 1 MB with 20,000 fields.
    QByteArray line;
    for (int i = 0; i < 20000; ++i)
        line += (i ? "," : "") + QByteArray(50, 'a' + char(i % 26));
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    TFrmInpTri dlg;
    dlg.show();
    dialogs.answerOpenFile(writeCsv("wide.csv", line + "\r\n"));
    QElapsedTimer t;
    t.start();
    child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
    EXPECT_LT(t.elapsed(), 20000);
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriKeisho")->count(), 20001);
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriKeisho")->itemText(20000), QString(50, QLatin1Char('a' + 19999 % 26)));
}

TEST_F(Forms, SetUpDialogReadsTheListAsChosenAndSavesTheChoice)
{
    ASSERT_TRUE(WriteDefaultSettingsFile(iniPath));
    const QByteArray defaults = TestFiles::read(iniPath);
    // A UTF-8 list without a byte-order mark, as a contacts service exports it.
    const QString csv = writeCsv("contacts.csv", QStringLiteral("郵便番号,住所,氏名\r\n100-0001,東京都,山田\r\n").toUtf8());
    const QStringList names { QStringLiteral("対象項目無し"), QStringLiteral("郵便番号"), QStringLiteral("住所"),
                              QStringLiteral("氏名") };
    {
        ScriptedMessages messages;
        ScriptedDialogs dialogs;
        TFrmInpTri dlg;
        dlg.show();
        auto* code = child<QComboBox>(&dlg, "cmbCsvCode");
        EXPECT_EQ(entries(code), (QStringList { QStringLiteral("自動判定"), QStringLiteral("Shift-JIS"), QStringLiteral("UTF-8") }));
        EXPECT_EQ(code->currentIndex(), 0);
        EXPECT_FALSE(child<QCheckBox>(&dlg, "cbQuote")->isChecked());
        EXPECT_EQ(child<QCheckBox>(&dlg, "cbQuote")->text(), QStringLiteral("引用符内のカンマを区切りとしない"));
        dialogs.answerOpenFile(csv);
        child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
        EXPECT_EQ(entries(child<QComboBox>(&dlg, "cmbTriName1")), names);
        EXPECT_EQ(child<QLabel>(&dlg, "lblCsvCodeFound")->text(), QStringLiteral("（UTF-8 と判定）"));
        child<QComboBox>(&dlg, "cmbTriName1")->setCurrentIndex(3);
        child<QComboBox>(&dlg, "cmbTriPost")->setCurrentIndex(1);

        // Read as Shift-JIS the names turn into something else; the choices stay where they were.
        code->setCurrentIndex(1);
        EXPECT_NE(entries(child<QComboBox>(&dlg, "cmbTriName1")), names);
        EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriName1")->currentIndex(), 3);
        EXPECT_TRUE(child<QLabel>(&dlg, "lblCsvCodeFound")->text().isEmpty());
        code->setCurrentIndex(2);
        EXPECT_EQ(entries(child<QComboBox>(&dlg, "cmbTriName1")), names);
        child<QCheckBox>(&dlg, "cbQuote")->setChecked(true);
        EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriPost")->currentIndex(), 1);

        messages.answerYesNo(true);
        child<QPushButton>(&dlg, "bbtnUpdate")->click();
        EXPECT_EQ(messages.texts().last(), QStringLiteral("更新終了しました。"));
    }
    EXPECT_EQ(AppSettings::instance().csv.encoding, CsvEncoding::Utf8);
    EXPECT_TRUE(AppSettings::instance().csv.quoted);
    EXPECT_TRUE(TestFiles::read(iniPath).endsWith("CSVHEAD=0\r\nCSVCODE=2\r\nCSVQUOTE=1\r\n"));

    // Read back after a restart; set back to the defaults, the keys go again.
    AppSettings::instance() = AppSettings();
    ASSERT_TRUE(LoadSettings());
    {
        ScriptedMessages messages;
        TFrmInpTri dlg;
        dlg.show();
        EXPECT_EQ(child<QComboBox>(&dlg, "cmbCsvCode")->currentIndex(), 2);
        EXPECT_TRUE(child<QCheckBox>(&dlg, "cbQuote")->isChecked());
        EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriName1")->currentIndex(), 3);
        EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriName1")->currentText(), QStringLiteral("氏名"));
        child<QComboBox>(&dlg, "cmbCsvCode")->setCurrentIndex(0);
        child<QCheckBox>(&dlg, "cbQuote")->setChecked(false);
        messages.answerYesNo(true);
        child<QPushButton>(&dlg, "bbtnUpdate")->click();
    }
    const QByteArray file = TestFiles::read(iniPath);
    EXPECT_FALSE(file.contains("CSVCODE")) << file.toStdString();
    EXPECT_FALSE(file.contains("CSVQUOTE")) << file.toStdString();
    EXPECT_EQ(file.left(file.indexOf("[POSTCSV]")), defaults.left(defaults.indexOf("[POSTCSV]")));
}

TEST_F(Forms, SetUpDialogMapsJointNamesOnAPageOfTheirOwn)
{
    ASSERT_TRUE(WriteDefaultSettingsFile(iniPath));
    const QString csv = writeCsv("family.csv", sjis(QStringLiteral("氏名,連名1,連名2,敬称2\r\n山田　太郎,花子,一郎,くん\r\n")));
    CsvColumnMap& map = AppSettings::instance().csv;
    map.fileName = csv;
    map.hasHeader = true;
    map.mei1No = 1;
    map.renNo = { 2, -1, 9 };     // 9: beyond the list
    map.renKeisNo = { -1, 0, -1 }; // 0: 対象項目無し saved by hand
    const char* const names[] = { "cmbTriRen1", "cmbTriRen1Keisho", "cmbTriRen2", "cmbTriRen2Keisho",
                                  "cmbTriRen3", "cmbTriRen3Keisho" };
    struct Pass {
        std::array<int, 6> shown;  // each box's index as the dialog opens
        std::array<int, 6> chosen; // what the user picks
        QByteArray keys;           // the joint-name keys the file then ends with
    };
    const Pass passes[] = {
        // Never set and 対象項目無し both show 対象項目無し; a column beyond the list shows nothing.
        { { 2, 0, 0, 0, -1, 0 }, { 2, 0, 3, 4, 0, 0 }, "REN1NO=2\r\nREN2NO=3\r\nREN2KEISNO=4\r\n" },
        // Back to 対象項目無し: the keys leave the file.
        { { 2, 0, 3, 4, 0, 0 }, { 0, 0, 0, 0, 0, 0 }, "" },
    };
    for (const Pass& pass : passes) {
        ScriptedMessages messages;
        TFrmInpTri dlg;
        dlg.show();
        auto* pages = child<QTabWidget>(&dlg, "pgcTri");
        ASSERT_EQ(pages->count(), 4);
        EXPECT_EQ(pages->tabText(1), QStringLiteral("連名"));
        for (int i = 0; i < 6; ++i) {
            auto* box = child<QComboBox>(&dlg, names[i]);
            EXPECT_TRUE(pages->widget(1)->isAncestorOf(box)) << names[i];
            EXPECT_EQ(box->currentIndex(), pass.shown[i]) << names[i];
            box->setCurrentIndex(pass.chosen[i]);
        }
        EXPECT_EQ(entries(child<QComboBox>(&dlg, "cmbTriRen2Keisho")),
                  (QStringList { QStringLiteral("対象項目無し"), QStringLiteral("氏名"), QStringLiteral("連名1"),
                                 QStringLiteral("連名2"), QStringLiteral("敬称2") }));
        messages.answerYesNo(true);
        child<QPushButton>(&dlg, "bbtnUpdate")->click();
        EXPECT_EQ(messages.texts().last(), QStringLiteral("更新終了しました。"));
        EXPECT_TRUE(TestFiles::read(iniPath).endsWith("CSVHEAD=1\r\n" + pass.keys)) << TestFiles::read(iniPath).toStdString();
        AppSettings::instance() = AppSettings();
        ASSERT_TRUE(LoadSettings());
    }
    EXPECT_EQ(AppSettings::instance().csv.renNo, (std::array<int, 3> { -1, -1, -1 }));
    EXPECT_EQ(AppSettings::instance().csv.renKeisNo, (std::array<int, 3> { -1, -1, -1 }));
}

TEST_F(Forms, SetUpDialogOffersQuotingOnceForAListWithQuotedCommas)
{
    const QString offer = QStringLiteral("引用符で囲まれた項目の中にカンマがあります。\r\n"
                                         "「引用符内のカンマを区切りとしない」をオンにしますか？");
    const QByteArray quotedComma = testtext::sjis(QStringLiteral("\"郵便番号\",\"会社\",\"氏名\"\r\n"
                                                                 "\"100-0001\",\"株式会社Ａ,Ｂ\",\"山田\"\r\n"));
    const QString yes = writeCsv("yes.csv", quotedComma);
    const QString no = writeCsv("no.csv", quotedComma);
    const QString plain = writeCsv("plain.csv", testtext::sjis(QStringLiteral("\"郵便番号\",\"会社\"\r\n\"100-0001\",\"Ａ社\"\r\n")));
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    TFrmInpTri dlg;
    dlg.show();
    auto* quote = child<QCheckBox>(&dlg, "cbQuote");

    // Yes: quoting goes on and the record's columns are read with it.
    messages.answerYesNo(true);
    dialogs.answerOpenFile(yes);
    child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
    EXPECT_EQ(messages.texts(), QStringList { offer });
    EXPECT_TRUE(quote->isChecked());
    EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriPost")->count(), 4); // the header has three names

    // A list without a quoted comma, or with quoting already on: no question.
    quote->setChecked(false);
    dialogs.answerOpenFile(plain);
    child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
    quote->setChecked(true);
    dialogs.answerOpenFile(no);
    child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
    EXPECT_EQ(messages.texts().size(), 1);

    // No: quoting stays off, and that list is not offered again, not even after reopening.
    quote->setChecked(false);
    messages.answerYesNo(false);
    dialogs.answerOpenFile(no);
    child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
    EXPECT_EQ(messages.texts(), (QStringList { offer, offer }));
    EXPECT_FALSE(quote->isChecked());
    dialogs.answerOpenFile(no);
    child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
    AppSettings::instance().csv.fileName = no;
    TFrmInpTri again;
    again.show();
    EXPECT_EQ(messages.texts().size(), 2);
}

TEST_F(Forms, SetUpDialogMapsASelectionColumnAndWritesItsKeysOnlyWhenSet)
{
    ASSERT_TRUE(WriteDefaultSettingsFile(iniPath));
    const QString csv = writeCsv("mochu.csv", sjis(testtext::u(u"郵便番号,住所,氏名,喪中\r\n"
                                                                 u"100-0001,東京都,山田,\r\n"
                                                                 u"100-0002,東京都,川田,○\r\n"
                                                                 u"100-0003,東京都,田中,×\r\n"
                                                                 u"100-0004,東京都,森,喪中\r\n")));
    const QByteArray before = [&] {
        // The list mapped as before the column existed: the file a user has today.
        ScriptedMessages messages;
        ScriptedDialogs dialogs;
        TFrmInpTri dlg;
        dlg.show();
        child<QCheckBox>(&dlg, "cbHead")->setChecked(true);
        dialogs.answerOpenFile(csv);
        child<TShineBtn>(&dlg, "ssbCsvOpen")->click();
        EXPECT_EQ(child<QComboBox>(&dlg, "cmbTriSel")->currentIndex(), 0);
        EXPECT_FALSE(child<QRadioButton>(&dlg, "rbSelSkip")->isEnabled());
        EXPECT_EQ(child<QLabel>(&dlg, "lblSelCount")->text(), testtext::u(u"すべての宛名を印刷します。"));
        messages.answerYesNo(true);
        child<QPushButton>(&dlg, "bbtnUpdate")->click();
        return TestFiles::read(iniPath);
    }();
    EXPECT_FALSE(before.contains("SELNO"));
    EXPECT_FALSE(before.contains("SELMODE"));

    const struct {
        int column;
        bool skip;
        const char16_t* count;
        const char* keys; // what follows CSVHEAD=1 in the file
    } cases[] = {
        { 4, true, u"宛名 4 件のうち 2 件を印刷します。", "SELNO=4\r\nSELMODE=1\r\n" },
        { 4, false, u"宛名 4 件のうち 2 件を印刷します。", "SELNO=4\r\n" },
        { 3, false, u"宛名 4 件のうち 4 件を印刷します。", "SELNO=3\r\n" },
        { 0, true, u"すべての宛名を印刷します。", "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        {
            ScriptedMessages messages;
            TFrmInpTri dlg;
            dlg.show();
            EXPECT_EQ(entries(child<QComboBox>(&dlg, "cmbTriSel")).last(), testtext::u(u"喪中"));
            child<QComboBox>(&dlg, "cmbTriSel")->setCurrentIndex(c.column);
            child<QRadioButton>(&dlg, c.skip ? "rbSelSkip" : "rbSelPrint")->setChecked(true);
            EXPECT_EQ(child<QLabel>(&dlg, "lblSelCount")->text(), QString::fromUtf16(c.count));
            messages.answerYesNo(true);
            child<QPushButton>(&dlg, "bbtnUpdate")->click();
        }
        const QByteArray file = TestFiles::read(iniPath);
        EXPECT_TRUE(file.endsWith(QByteArray("CSVHEAD=1\r\n") + c.keys)) << file.toStdString();
        // Read back after a restart, the dialog shows the column and its meaning again.
        AppSettings::instance() = AppSettings();
        ASSERT_TRUE(LoadSettings());
        EXPECT_EQ(AppSettings::instance().csv.selNo, c.column > 0 ? c.column : -1);
        ScriptedMessages messages;
        TFrmInpTri again;
        again.show();
        EXPECT_EQ(child<QComboBox>(&again, "cmbTriSel")->currentIndex(), c.column);
        EXPECT_EQ(child<QRadioButton>(&again, "rbSelSkip")->isChecked(), c.column > 0 && c.skip);
    }
    // Back to no column: the file is the one written before.
    EXPECT_EQ(TestFiles::read(iniPath), before);
}
