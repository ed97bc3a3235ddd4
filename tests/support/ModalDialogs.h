#pragma once
// Driving a modal dialog that a form opens (it runs its own event loop): what to do once it
// is shown, and a guard that closes a dialog nobody drove, so a test fails instead of hanging.

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

// Drives the next dialog of type D once it is shown.
template <class D>
void whenShown(std::function<void(D*)> drive)
{
    QTimer::singleShot(0, [drive] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<D*>(w); d && d->isVisible()) {
                drive(d);
                return;
            }
        }
        ADD_FAILURE() << "no " << D::staticMetaObject.className() << " was shown";
    });
}

inline void closeStrayDialogsLater()
{
    QTimer::singleShot(5000, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) {
                ADD_FAILURE() << "a dialog was left open: " << d->objectName().toStdString();
                d->reject();
            }
        }
    });
}
