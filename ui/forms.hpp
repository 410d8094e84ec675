#pragma once

#include <QPointer>
#include <QWidget>

// The program's windows follow one life cycle: each window has one global
// instance, created (and so loaded) the first time it is referred to; hiding
// keeps it loaded with everything in it; unloading destroys it, and the next
// reference creates a fresh one. The close box unloads. The program ends when
// no window is loaded any more, visible or not.
namespace forms {

// Number of windows loaded right now.
int loadedCount();

class InstanceBase {
public:
    InstanceBase() = default;
    InstanceBase(const InstanceBase&) = delete;
    InstanceBase& operator=(const InstanceBase&) = delete;

    bool isLoaded() const { return !window_.isNull(); }

    // True when `window` is the one this instance holds now.
    bool holds(const QObject* window) const { return window_ == window; }

    // Destroys the window (after the current event, so a window may unload
    // itself from its own handler); does nothing when it is not loaded.
    void unload();

protected:
    void adopt(QWidget* window);
    QWidget* window() const { return window_; }

private:
    QPointer<QWidget> window_;
};

template <class Window> class Instance : public InstanceBase {
public:
    // The window, created and loaded if it is not.
    Window& get() {
        if (!isLoaded())
            adopt(new Window);
        return static_cast<Window&>(*window());
    }
    Window* operator->() { return &get(); }

    // Shows the window modeless and without an owner, in the state it was left in.
    void show() {
        Window& w = get();
        w.show();
        w.raise();
        w.activateWindow();
    }
};

} // namespace forms
