#include "platform/OverrideCursor.h"

#include <QCursor>
#include <QGuiApplication>

OverrideCursor::OverrideCursor(Qt::CursorShape shape)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(QCursor(shape));
        m_active = true;
    }
}

OverrideCursor::~OverrideCursor()
{
    if (m_active)
        QGuiApplication::restoreOverrideCursor();
}
