#pragma once
// What the preview engine needs of a preview window, without knowing widgets. The window
// class of the user interface implements it and registers each instance under its name;
// the engine looks the window up by its FormName among the registered windows, in the
// order they were registered.

#include <QString>

class QObject;
class TplPrev;

class PreviewWindow {
public:
    virtual ~PreviewWindow();

    // The window's name, which engines give as their FormName.
    virtual QString windowName() const = 0;
    // The window as the sender of the engine's events.
    virtual QObject* windowObject() = 0;
    // Binds an engine: the window shows that engine's pages from now on. Ignored while visible.
    virtual void Bind(TplPrev* engine) = 0;
    // Shows the window modally and returns when it is closed.
    virtual int ShowModal() = 0;
    virtual bool IsVisible() const = 0;

    // Registry of open preview windows. A window registers itself when created and
    // unregisters when destroyed (the destructor does it in any case).
    static void registerWindow(PreviewWindow* window);
    static void unregisterWindow(PreviewWindow* window);
    // The first registered window with exactly this name, or nullptr.
    static PreviewWindow* find(const QString& name);
};
