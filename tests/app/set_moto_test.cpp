// The sender dialog, driven as a user drives it, with scripted message boxes.
#include "app/AppSettings.h"
#include "app/ui/TFrmSetMoto.h"
#include "platform/AppPaths.h"
#include "support/ScriptedMessages.h"
#include "support/TestFiles.h"

#include "support/QtValuePrinters.h"

#include <QApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kConfirm = QStringLiteral("差出人情報を更新します。\r\nよろしいですか？");
const QString kSaveFailed = QStringLiteral("更新に失敗しました。\r\n再処理してください。");

class SenderDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = AppSettings::instance();
        ASSERT_TRUE(m_dir.isValid());
        AppPaths::setSettingsDirectory(m_dir.path());
        AppSettings::instance().sender = SenderInfo();
    }
    void TearDown() override
    {
        AppPaths::setSettingsDirectory(QString());
        AppSettings::instance() = m_saved;
    }
    QString iniPath() const { return QDir(m_dir.path()).filePath(QStringLiteral("POSTCSV.INI")); }

    // Shows the dialog in an active window so that focus and keys behave as on a desktop.
    static void showActive(TFrmSetMoto& d)
    {
        d.show();
        QApplication::setActiveWindow(&d);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    }

    // ASCII arrives as key presses; Japanese as the input method's committed text.
    static void type(QLineEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QString run;
        auto commit = [&] {
            if (run.isEmpty())
                return;
            QInputMethodEvent event;
            event.setCommitString(run);
            QApplication::sendEvent(e, &event);
            run.clear();
        };
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                commit();
                QTest::keyClick(e, c.toLatin1());
            } else {
                run += c;
            }
        }
        commit();
    }

    QTemporaryDir m_dir;
    AppSettings m_saved;
};

TEST_F(SenderDialog, LooksAsDesigned)
{
    TFrmSetMoto d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("発行元編集"));
    EXPECT_EQ(d.size(), QSize(472, 308)); // one row for the two joint names
    EXPECT_EQ(d.minimumSize(), d.maximumSize()); // not resizable
    EXPECT_EQ(d.pnlTitle->text(), QStringLiteral("差出人編集"));
    EXPECT_EQ(d.bbtnUpdate->text(), QStringLiteral("　更　　新"));
    EXPECT_EQ(d.bbtnCancel->text(), QStringLiteral("キャンセル"));

    QStringList captions;
    for (QLabel* l : d.pnlBody->findChildren<QLabel*>())
        captions << l->text();
    for (const char* c : {"郵便番号", "(000-0000)", "住　所　１", "住　所　２", "名　称　１", "連名１", "連名２",
                          "名　称　２", "電話番号", "ＦＡＸ番号", "Ｅメール", "U R L"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(c))) << c;

    struct Box {
        QLineEdit* edit;
        int width; // 0: full width
        bool inputMethod;
    };
    const Box boxes[] = {
        {d.edtPost, 78, false}, {d.edtAdr1, 0, true},   {d.edtAdr2, 0, true},
        {d.edtMei1, 0, true},   {d.edtRen1, 143, true}, {d.edtRen2, 143, true},
        {d.edtMei2, 0, true},   {d.edtTel, 143, false},
        {d.edtFax, 143, false}, {d.edtMail, 0, false},  {d.edtUrl, 0, false},
    };
    for (const Box& b : boxes) {
        const char* name = qPrintable(b.edit->objectName());
        if (b.width)
            EXPECT_EQ(b.edit->width(), b.width) << name;
        else
            EXPECT_EQ(b.edit->width(), d.edtAdr1->width()) << name;
        EXPECT_EQ(b.edit->testAttribute(Qt::WA_InputMethodEnabled), b.inputMethod) << name;
        EXPECT_EQ(b.edit->maxLength(), 32767) << name; // no limit beyond QLineEdit's own
        // Every box lies inside the lowered panel.
        EXPECT_TRUE(d.pnlBody->rect().contains(b.edit->geometry())) << name;
    }
    EXPECT_GT(d.edtAdr1->width(), 2 * 143);
    EXPECT_EQ(d.edtTel->y(), d.edtFax->y()); // same row
    EXPECT_EQ(d.edtRen1->y(), d.edtRen2->y());
    EXPECT_GT(d.edtRen1->y(), d.edtMei1->y()); // under name 1, above name 2
    EXPECT_LT(d.edtRen1->y(), d.edtMei2->y());
    EXPECT_GT(d.edtFax->x(), d.edtTel->x() + d.edtTel->width());
    EXPECT_TRUE(d.rect().contains(d.bbtnCancel->geometry()));
    EXPECT_GT(d.bbtnCancel->x(), d.bbtnUpdate->x());
}

TEST_F(SenderDialog, TabOrderFollowsTheRows)
{
    TFrmSetMoto d;
    const QWidget* expected[] = {d.edtPost, d.edtAdr1, d.edtAdr2, d.edtMei1, d.edtRen1,    d.edtRen2,   d.edtMei2,
                                 d.edtTel,  d.edtFax,  d.edtMail, d.edtUrl,  d.bbtnUpdate, d.bbtnCancel};
    QWidget* w = d.edtPost;
    for (size_t i = 1; i < std::size(expected); ++i) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled());
        EXPECT_EQ(w, expected[i]) << "after " << qPrintable(expected[i - 1]->objectName());
    }
}

TEST_F(SenderDialog, OpensWithTheStoredValues)
{
    SenderInfo& s = AppSettings::instance().sender;
    s = {QStringLiteral("123-4567"), QStringLiteral("東京都千代田区"), QStringLiteral("一丁目"),
         QStringLiteral("山田太郎"), QStringLiteral("山田花子"), QStringLiteral("03-1234-5678"),
         QStringLiteral("03-1234-5679"), QStringLiteral("a@b.jp"), QStringLiteral("https://b.jp/"),
         {QStringLiteral("花子"), QStringLiteral("一郎")}};
    TFrmSetMoto d;
    EXPECT_EQ(d.edtPost->text(), s.postalCode);
    EXPECT_EQ(d.edtAdr1->text(), s.address1);
    EXPECT_EQ(d.edtAdr2->text(), s.address2);
    EXPECT_EQ(d.edtMei1->text(), s.name1);
    EXPECT_EQ(d.edtRen1->text(), s.jointNames[0]);
    EXPECT_EQ(d.edtRen2->text(), s.jointNames[1]);
    EXPECT_EQ(d.edtMei2->text(), s.name2);
    EXPECT_EQ(d.edtTel->text(), s.tel);
    EXPECT_EQ(d.edtFax->text(), s.fax);
    EXPECT_EQ(d.edtMail->text(), s.mail);
    EXPECT_EQ(d.edtUrl->text(), s.url);
}

TEST_F(SenderDialog, EnterMovesToTheNextControlAndIsDiscarded)
{
    TFrmSetMoto d;
    showActive(d);
    QLineEdit* edits[] = {d.edtPost, d.edtAdr1, d.edtAdr2, d.edtMei1, d.edtRen1, d.edtRen2,
                          d.edtMei2, d.edtTel,  d.edtFax,  d.edtMail, d.edtUrl};
    const QWidget* next[] = {d.edtAdr1, d.edtAdr2, d.edtMei1, d.edtRen1, d.edtRen2,   d.edtMei2,
                             d.edtTel,  d.edtFax,  d.edtMail, d.edtUrl,  d.bbtnUpdate};
    for (size_t i = 0; i < std::size(edits); ++i) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            edits[i]->setFocus();
            const QString before = edits[i]->text();
            QTest::keyClick(edits[i], key);
            EXPECT_EQ(QApplication::focusWidget(), next[i]) << qPrintable(edits[i]->objectName());
            EXPECT_EQ(edits[i]->text(), before);
        }
    }
    EXPECT_TRUE(d.isVisible()); // Enter never closed the dialog
    EXPECT_EQ(d.result(), 0);
}

TEST_F(SenderDialog, NoKeepsTheDialogOpenAndLaterCancelDiscards)
{
    const SenderInfo before = AppSettings::instance().sender;
    ScriptedMessages messages;
    TFrmSetMoto d;
    showActive(d);
    type(d.edtTel, QStringLiteral("03,1234"));
    messages.answerYesNo(false);
    QTest::mouseClick(d.bbtnUpdate, Qt::LeftButton);
    ASSERT_EQ(messages.asked().size(), 1);
    EXPECT_EQ(messages.asked()[0].kind, ScriptedMessages::Kind::YesNo);
    EXPECT_EQ(messages.asked()[0].text, kConfirm);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.edtTel->text(), QStringLiteral("03,1234")); // typed values stay
    EXPECT_EQ(AppSettings::instance().sender, before);
    EXPECT_FALSE(QFile::exists(iniPath()));

    QTest::mouseClick(d.bbtnCancel, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(AppSettings::instance().sender, before);
    EXPECT_EQ(messages.asked().size(), 1);
    EXPECT_TRUE(messages.problems().isEmpty());
}

TEST_F(SenderDialog, CloseBoxAndEscapeAreCancel)
{
    const SenderInfo before = AppSettings::instance().sender;
    ScriptedMessages messages;
    for (int how = 0; how < 2; ++how) {
        TFrmSetMoto d;
        showActive(d);
        type(d.edtMei1, QStringLiteral("変更"));
        if (how == 0)
            d.close();
        else
            QTest::keyClick(d.edtMei1, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible()) << how;
        EXPECT_EQ(d.result(), QDialog::Rejected) << how;
        EXPECT_EQ(AppSettings::instance().sender, before) << how;
    }
    EXPECT_TRUE(messages.asked().isEmpty());
}

TEST_F(SenderDialog, YesStoresAndSavesWithoutCommasInTheSeven)
{
    ScriptedMessages messages;
    TFrmSetMoto d;
    showActive(d);
    struct Entry {
        QLineEdit* edit;
        QString typed;
        QString stored;
    };
    const Entry entries[] = {
        {d.edtPost, "123,-4567", "123-4567"},
        {d.edtAdr1, "東京都,千代田区", "東京都千代田区"},
        {d.edtAdr2, " 一丁目 ", " 一丁目 "}, // blanks stay in memory as typed
        {d.edtMei1, "山田,太郎", "山田太郎"},
        {d.edtRen1, "花,子", "花子"},
        {d.edtRen2, "", ""},
        {d.edtMei2, ",,", ""},
        {d.edtTel, "03,1234,5678", "0312345678"},
        {d.edtFax, "03-1234-5679,", "03-1234-5679"},
        {d.edtMail, "a,b@example.jp", "a,b@example.jp"},
        {d.edtUrl, "https://example.jp/?a=1,2", "https://example.jp/?a=1,2"},
    };
    for (const Entry& e : entries)
        type(e.edit, e.typed);
    messages.answerYesNo(true);
    QTest::mouseClick(d.bbtnUpdate, Qt::LeftButton);

    EXPECT_EQ(messages.texts(), QStringList{kConfirm}); // no failure message
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    const SenderInfo& s = AppSettings::instance().sender;
    const QString stored[] = {s.postalCode, s.address1, s.address2, s.name1, s.jointNames[0], s.jointNames[1],
                              s.name2,      s.tel,      s.fax,      s.mail,  s.url};
    for (size_t i = 0; i < std::size(entries); ++i)
        EXPECT_EQ(stored[i], entries[i].stored) << qPrintable(entries[i].edit->objectName());

    // The file holds the same values (read back trimmed).
    AppSettings reread;
    ASSERT_TRUE(LoadSettings(reread, iniPath()));
    EXPECT_EQ(reread.sender.tel, QStringLiteral("0312345678"));
    EXPECT_EQ(reread.sender.address1, QStringLiteral("東京都千代田区"));
    EXPECT_EQ(reread.sender.address2, QStringLiteral("一丁目"));
    EXPECT_EQ(reread.sender.mail, QStringLiteral("a,b@example.jp"));
    EXPECT_EQ(reread.sender.url, QStringLiteral("https://example.jp/?a=1,2"));
    EXPECT_EQ(reread.sender.jointNames, (std::array<QString, kSenderJointNames>{QStringLiteral("花子"), QString()}));
    EXPECT_FALSE(TestFiles::read(iniPath()).contains("REN2")); // a blank joint name writes no key
}

TEST_F(SenderDialog, WaveDashAndMinusSaveAndReopenAsTheWindowsCharacters)
{
    // What an input method gives for "から" and what an address copied from a web page holds.
    ScriptedMessages messages;
    {
        TFrmSetMoto d;
        showActive(d);
        type(d.edtAdr1, QStringLiteral("大阪市北区梅田１−２−３"));
        type(d.edtMei2, QStringLiteral("受付 9時〜17時"));
        type(d.edtTel, QStringLiteral("06−1234−5678"));
        messages.answerYesNo(true);
        QTest::mouseClick(d.bbtnUpdate, Qt::LeftButton);
        EXPECT_EQ(messages.texts(), QStringList{kConfirm}); // saved: no failure message
    }
    const QByteArray file = [&] {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    EXPECT_TRUE(file.contains(QByteArray::fromHex("8250817c8251817c8252"))) << file.toHex().toStdString();
    EXPECT_TRUE(file.contains(QByteArray::fromHex("398e9e816031378e9e")));

    // The next start reads the file and the dialog shows what Windows shows.
    AppSettings::instance() = AppSettings();
    ASSERT_TRUE(LoadSettings(AppSettings::instance(), iniPath()));
    TFrmSetMoto again;
    EXPECT_EQ(again.edtAdr1->text(), QStringLiteral("大阪市北区梅田１－２－３"));
    EXPECT_EQ(again.edtMei2->text(), QStringLiteral("受付 9時～17時"));
    EXPECT_EQ(again.edtTel->text(), QStringLiteral("06－1234－5678"));
    const QString shots = qEnvironmentVariable("TOVALIN_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        again.grab().save(shots + QStringLiteral("/sender-reopened.png"));
}

TEST_F(SenderDialog, SaveFailureIsReportedAndTheDialogStillCloses)
{
    struct Case {
        const char* name;
        bool unwritablePlace;
        QString tel;
    };
    const Case cases[] = {
        // A settings "directory" below a plain file cannot be written, even by root.
        {"UnwritablePlace", true, QStringLiteral("03-1111-2222")},
        // A character that code page 932 cannot hold.
        {"NotInCodePage932", false, QStringLiteral("03-1111-2222 \U0001F600")},
    };
    for (const Case& c : cases) {
        if (c.unwritablePlace) {
            QFile blocker(QDir(m_dir.path()).filePath(QStringLiteral("blocker")));
            ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
            blocker.close();
            AppPaths::setSettingsDirectory(blocker.fileName() + QStringLiteral("/sub"));
        } else {
            AppPaths::setSettingsDirectory(m_dir.path());
        }
        ScriptedMessages messages;
        TFrmSetMoto d;
        showActive(d);
        type(d.edtTel, c.tel);
        messages.answerYesNo(true);
        QTest::mouseClick(d.bbtnUpdate, Qt::LeftButton);
        ASSERT_EQ(messages.asked().size(), 2) << c.name;
        EXPECT_EQ(messages.asked()[1].kind, ScriptedMessages::Kind::Warning) << c.name;
        EXPECT_EQ(messages.asked()[1].text, kSaveFailed) << c.name;
        EXPECT_EQ(d.result(), QDialog::Accepted) << c.name;
        EXPECT_FALSE(d.isVisible()) << c.name;
        // The new value stays in memory for the rest of the run.
        EXPECT_EQ(AppSettings::instance().sender.tel, c.tel) << c.name;
    }
}

TEST(SenderDialogPlacement, CentredOverTheCaller)
{
    struct Case {
        QRect caller;
        QSize dialog;
        QPoint expected;
    };
    const Case cases[] = {
        {QRect(100, 50, 800, 600), QSize(472, 283), QPoint(100 + 164, 50 + 158)},
        {QRect(0, 0, 473, 284), QSize(472, 283), QPoint(0, 0)},           // half of 1 is 0
        {QRect(10, 20, 300, 200), QSize(472, 283), QPoint(10 - 86, 20 - 41)}, // -83/2 = -41
        {QRect(-500, -30, 671, 621), QSize(472, 283), QPoint(-500 + 99, -30 + 169)},
        {QRect(0, 0, 471, 282), QSize(472, 283), QPoint(0, 0)},           // -1/2 cuts to 0
    };
    for (const Case& c : cases)
        EXPECT_EQ(TFrmSetMoto::centredPosition(c.caller, c.dialog), c.expected)
            << c.caller.x() << "," << c.caller.y() << " " << c.caller.width() << "x"
            << c.caller.height();
}

TEST(SenderDialogPlacement, ExecOverPlacesTheDialogAndReportsCancel)
{
    ScriptedMessages messages;
    QWidget caller;
    caller.setGeometry(120, 80, 700, 620);
    caller.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&caller));
    QRect seen;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<TFrmSetMoto*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        seen = d->frameGeometry();
        d->bbtnCancel->click();
    });
    EXPECT_FALSE(TFrmSetMoto::execOver(&caller));
    // Outer frames, as the window system sees them.
    const QRect frame = caller.frameGeometry();
    EXPECT_EQ(seen.topLeft(), QPoint(frame.x() + (frame.width() - seen.width()) / 2,
                                     frame.y() + (frame.height() - seen.height()) / 2));
    EXPECT_EQ(seen.size() - QSize(472, 308), frame.size() - caller.size()); // client 472 x 308
}

} // namespace
