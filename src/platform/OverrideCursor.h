#pragma once
// The application's cursor for the life of the object (a wait cursor while a driver is
// asked or a page is recorded); the previous one comes back however the work ends. Without
// a GUI application (a console run) it does nothing.

#include <Qt>

class OverrideCursor {
public:
    explicit OverrideCursor(Qt::CursorShape shape = Qt::WaitCursor);
    ~OverrideCursor();
    OverrideCursor(const OverrideCursor&) = delete;
    OverrideCursor& operator=(const OverrideCursor&) = delete;

private:
    bool m_active = false;
};
