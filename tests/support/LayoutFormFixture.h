#pragma once
// A layout form (the postcard or the label form) on a settings directory of its own: an
// address list in Shift-JIS, a POSTCSV.INI written from the settings image the test shapes,
// scripted messages and file dialogs, and helpers that drive the editor with mouse and key
// events as a user would. The postcard and label fixtures derive from it and fill the
// settings image in their SetUp.

#include "app/AppSettings.h"
#include "layout/ui/TPaintBoxEL.h"
#include "platform/AppPaths.h"
#include "platform/CommonDialogs.h"
#include "support/ScriptedMessages.h"
#include "support/QtValuePrinters.h"
#include "support/SampleAddresses.h"
#include "support/TestFiles.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

template <class Form>
class LayoutFormFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        AppPaths::setSettingsDirectory(tmp.path());
        AppPaths::setProgramDirectory(tmp.path());
        AppSettings::instance() = AppSettings();
        iniPath = tmp.filePath(QStringLiteral("POSTCSV.INI"));
        csvPath = tmp.filePath(QStringLiteral("address.csv"));
    }

    void TearDown() override
    {
        form.reset();
        AppPaths::setSettingsDirectory(QString());
        AppPaths::setProgramDirectory(QString());
        AppSettings::instance() = AppSettings();
    }

    // The address list: a header line, then these records.
    void writeCsv(const QStringList& records)
    {
        ASSERT_TRUE(TestFiles::write(csvPath, testaddresses::fileBytes(records)));
    }

    // Writes the settings image to POSTCSV.INI (every group).
    void writeSettings()
    {
        AppSettings& s = AppSettings::instance();
        ASSERT_TRUE(WriteDefaultSettingsFile(iniPath));
        ASSERT_TRUE(SaveCsvSettings(s, iniPath));
        for (SettingsGroup g : {SettingsGroup::Postcard, SettingsGroup::Sender, SettingsGroup::Label})
            ASSERT_TRUE(SaveLayoutSettings(s, g, iniPath));
    }

    // Writes the settings image to POSTCSV.INI, reads it back and opens the form on it.
    void open()
    {
        writeSettings();
        ASSERT_TRUE(LoadSettings(AppSettings::instance(), iniPath));
        openAsIs();
    }

    // Opens the form on the settings image as it is.
    void openAsIs()
    {
        form = std::make_unique<Form>();
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
    std::unique_ptr<Form> form;
};
