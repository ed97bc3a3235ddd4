#pragma once
// A postcard form on a settings directory of its own: an address list in Shift-JIS, a
// POSTCSV.INI written from a settings image the test shapes, scripted messages and file
// dialogs, and helpers that drive the editor with mouse and key events as a user would.

#include "app/AppSettings.h"
#include "layout/ui/TImageEL.h"
#include "layout/ui/TPaintBoxEL.h"
#include "platform/AppPaths.h"
#include "platform/CommonDialogs.h"
#include "platform/ScriptedMessages.h"
#include "postcard/ui/TFrmCsvPostSet.h"
#include "support/QStringPrinter.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>
#include <ostream>

inline void PrintTo(const QRect& r, std::ostream* os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}

namespace postcardtest {

inline QByteArray sjis(const QString& s)
{
    QStringEncoder enc("windows-31j");
    return enc(s);
}

// One invented recipient per line: postal code, address 1, address 2, name 1, name 2,
// customer barcode, honorific.
inline QString recordLine(int i)
{
    return QStringLiteral("\"〒%1-%2\",\"東京都千代田区飯田橋%3－１０－８\",\"サンライズビル%4号室\",\"山田　太郎%5\",\"山田　花子\",\"C-%6\",\"様\"")
        .arg(100 + i, 3, 10, QLatin1Char('0'))
        .arg(i, 4, 10, QLatin1Char('0'))
        .arg(i)
        .arg(i)
        .arg(i)
        .arg(i);
}

// A field placed as the test wants it.
inline FieldStyle field(int left, int top, int length, bool tate = false, bool visible = true,
                        const QString& face = QStringLiteral("ＭＳ 明朝"), int size = 12)
{
    FieldStyle f;
    f.fontName = face;
    f.fontSize = size;
    f.tate = tate;
    f.left = left;
    f.top = top;
    f.width = length;
    f.visible = visible;
    return f;
}

class PostcardForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        AppPaths::setSettingsDirectory(tmp.path());
        AppPaths::setProgramDirectory(tmp.path());
        AppSettings::instance() = AppSettings();
        iniPath = tmp.filePath(QStringLiteral("POSTCSV.INI"));
        csvPath = tmp.filePath(QStringLiteral("address.csv"));
        writeRecords(25);
        AppSettings& s = AppSettings::instance();
        s.csv.fileName = csvPath;
        s.csv.textDelimiter = QStringLiteral("\"");
        s.csv.hasHeader = true;
        s.csv.postNo = 1;
        s.csv.adr1No = 2;
        s.csv.adr2No = 3;
        s.csv.mei1No = 4;
        s.csv.mei2No = 5;
        s.csv.cbarNo = 6;
        s.csv.keisNo = 7;
        s.sender.postalCode = QStringLiteral("〒530-0001");
        s.sender.address1 = QStringLiteral("大阪府大阪市北区梅田１－２－３");
        s.sender.name1 = QStringLiteral("鈴木　一郎");
        FieldStyles& f = s.postcardFields;
        f[0] = field(10, 10, 80);
        f[0].post = true;
        f[1] = field(20, 120, 200);                 // address 1, horizontal
        f[2] = field(300, 100, 200, true);          // address 2, vertical
        f[3] = field(60, 260, 180, false, true, QStringLiteral("ＭＳ 明朝"), 18); // name 1
        f[4] = field(60, 300, 180);                 // name 2
        for (int n = 6; n <= 15; ++n)
            f[n - 1] = field(20, 400 + n, 120, false, false);
    }

    void TearDown() override
    {
        form.reset();
        AppPaths::setSettingsDirectory(QString());
        AppPaths::setProgramDirectory(QString());
        AppSettings::instance() = AppSettings();
    }

    void writeRecords(int count)
    {
        QString text = QStringLiteral("郵便番号,住所1,住所2,名前1,名前2,バーコード,敬称\r\n");
        for (int i = 1; i <= count; ++i)
            text += recordLine(i) + QStringLiteral("\r\n");
        ASSERT_TRUE(TestFiles::write(csvPath, sjis(text)));
    }

    // Writes the settings image to POSTCSV.INI (every group) and opens the form on it.
    void open()
    {
        AppSettings& s = AppSettings::instance();
        ASSERT_TRUE(WriteDefaultSettingsFile(iniPath));
        ASSERT_TRUE(SaveCsvSettings(s, iniPath));
        for (SettingsGroup g : {SettingsGroup::Postcard, SettingsGroup::Sender, SettingsGroup::Label})
            ASSERT_TRUE(SaveLayoutSettings(s, g, iniPath));
        ASSERT_TRUE(LoadSettings(s, iniPath));
        openAsIs();
    }

    // Opens the form on the settings image as it is.
    void openAsIs()
    {
        form = std::make_unique<TFrmCsvPostSet>();
        form->show();
        QApplication::processEvents();
    }

    TPaintBoxEL* box(int n) const { return form->box(n); }

    // A mouse event as the window system delivers it: local and screen position, the
    // button that changed and the buttons held.
    static void mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held)
    {
        const QPoint global = w->mapToGlobal(local);
        QMouseEvent ev(type, QPointF(local), QPointF(global), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &ev);
    }

    // Presses the left button at `local` of w, then moves the pointer by each step (screen
    // pixels, relative to where it is), without releasing.
    void press(QWidget* w, QPoint local)
    {
        QCursor::setPos(w->mapToGlobal(local));
        mouse(w, QEvent::MouseButtonPress, local, Qt::LeftButton, Qt::LeftButton);
    }
    void moveBy(QWidget* w, QPoint step)
    {
        const QPoint target = QCursor::pos() + step;
        QCursor::setPos(target); // the user moves the pointer; the form may put it back
        mouse(w, QEvent::MouseMove, w->mapFromGlobal(target), Qt::NoButton, Qt::LeftButton);
    }
    void release(QWidget* w)
    {
        mouse(w, QEvent::MouseButtonRelease, w->mapFromGlobal(QCursor::pos()), Qt::LeftButton, Qt::NoButton);
    }

    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(form.get(), Qt::Key(k), mods);
    }

    QTemporaryDir tmp;
    QString iniPath;
    QString csvPath;
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFrmCsvPostSet> form;
};

} // namespace postcardtest
