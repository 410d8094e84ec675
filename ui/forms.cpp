#include "ui/forms.hpp"

#include <QCloseEvent>
#include <QCoreApplication>

namespace forms {
namespace {

int loaded = 0;

// Ends the program once no window is loaded. Checked again after the current
// event, since a handler may unload one window and load another.
void quitIfNoneLoaded() {
    if (loaded > 0 || QCoreApplication::instance() == nullptr)
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            if (loaded == 0)
                QCoreApplication::quit();
        },
        Qt::QueuedConnection);
}

// Turns the window's close box into an unload.
class CloseBoxUnloads : public QObject {
public:
    CloseBoxUnloads(QWidget* window, InstanceBase* instance)
        : QObject(window)
        , instance_(instance) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A window already unloaded, waiting to be deleted, is no longer the
        // instance's: closing it must not unload its successor.
        if (event->type() == QEvent::Close && instance_->holds(watched)) {
            instance_->unload();
            event->accept();
        }
        return false;
    }

private:
    InstanceBase* instance_;
};

} // namespace

int loadedCount() {
    return loaded;
}

void InstanceBase::adopt(QWidget* window) {
    window_ = window;
    ++loaded;
    new CloseBoxUnloads(window, this);
}

void InstanceBase::unload() {
    if (window_.isNull())
        return;
    QWidget* window = window_;
    window_.clear();
    --loaded;
    window->hide();
    window->deleteLater();
    quitIfNoneLoaded();
}

} // namespace forms
