#include "preview/PreviewWindow.h"

#include <QVector>

namespace {
QVector<PreviewWindow*>& registry()
{
    static QVector<PreviewWindow*> windows;
    return windows;
}
} // namespace

PreviewWindow::~PreviewWindow()
{
    unregisterWindow(this);
}

void PreviewWindow::registerWindow(PreviewWindow* window)
{
    if (window && !registry().contains(window))
        registry().push_back(window);
}

void PreviewWindow::unregisterWindow(PreviewWindow* window)
{
    registry().removeAll(window);
}

PreviewWindow* PreviewWindow::find(const QString& name)
{
    for (PreviewWindow* w : registry()) {
        if (w->windowName() == name)
            return w;
    }
    return nullptr;
}
