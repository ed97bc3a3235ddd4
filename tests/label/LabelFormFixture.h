#pragma once
// A label form on a settings directory of its own: the address list of LabelTestSupport in
// Shift-JIS, a POSTCSV.INI written from a settings image the test shapes, scripted messages
// and file dialogs, and mouse helpers that drag as a user would.

#include "LabelTestSupport.h"

#include "app/AppSettings.h"
#include "controls/TUpDown.h"
#include "label/ui/TFrmCsvLabelSet.h"
#include "layout/ui/TImageEL.h"
#include "layout/ui/TPaintBoxEL.h"
#include "platform/AppPaths.h"
#include "platform/CommonDialogs.h"
#include "platform/ScriptedMessages.h"
#include "support/QStringPrinter.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
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

namespace labeltest {

class LabelForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        AppPaths::setSettingsDirectory(tmp.path());
        AppPaths::setProgramDirectory(tmp.path());
        iniPath = tmp.filePath(QStringLiteral("POSTCSV.INI"));
        csvPath = tmp.filePath(QStringLiteral("address.csv"));
        writeRecords(25);
        AppSettings& s = AppSettings::instance();
        s = sampleSettings();
        s.csv.fileName = csvPath;
        s.csv.hasHeader = true;
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
        for (const QString& line : records(count))
            text += line + QStringLiteral("\r\n");
        QStringEncoder enc("windows-31j");
        ASSERT_TRUE(TestFiles::write(csvPath, enc(text)));
    }

    // Writes the settings image to POSTCSV.INI (every group) and opens the form on it.
    void open()
    {
        writeSettings();
        ASSERT_TRUE(LoadSettings(AppSettings::instance(), iniPath));
        openAsIs();
    }

    void writeSettings()
    {
        AppSettings& s = AppSettings::instance();
        ASSERT_TRUE(WriteDefaultSettingsFile(iniPath));
        ASSERT_TRUE(SaveCsvSettings(s, iniPath));
        for (SettingsGroup g : {SettingsGroup::Postcard, SettingsGroup::Sender, SettingsGroup::Label})
            ASSERT_TRUE(SaveLayoutSettings(s, g, iniPath));
    }

    void openAsIs()
    {
        form = std::make_unique<TFrmCsvLabelSet>();
        form->show();
        QApplication::processEvents();
    }

    TPaintBoxEL* box(int n) const { return form->box(n); }

    // Clicks an arrow of an up-down `times` times; returns how many steps moved it.
    static int click(TUpDown* upDown, TUpDown::Direction direction, int times = 1)
    {
        int moved = 0;
        for (int i = 0; i < times; ++i)
            moved += upDown->step(direction) ? 1 : 0;
        return moved;
    }

    static void mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held)
    {
        const QPoint global = w->mapToGlobal(local);
        QMouseEvent ev(type, QPointF(local), QPointF(global), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &ev);
    }
    void press(QWidget* w, QPoint local)
    {
        QCursor::setPos(w->mapToGlobal(local));
        mouse(w, QEvent::MouseButtonPress, local, Qt::LeftButton, Qt::LeftButton);
    }
    void moveBy(QWidget* w, QPoint step)
    {
        const QPoint target = QCursor::pos() + step;
        QCursor::setPos(target);
        mouse(w, QEvent::MouseMove, w->mapFromGlobal(target), Qt::NoButton, Qt::LeftButton);
    }
    void release(QWidget* w)
    {
        mouse(w, QEvent::MouseButtonRelease, w->mapFromGlobal(QCursor::pos()), Qt::LeftButton, Qt::NoButton);
    }

    QTemporaryDir tmp;
    QString iniPath;
    QString csvPath;
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFrmCsvLabelSet> form;
};

} // namespace labeltest
