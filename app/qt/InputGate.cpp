#include "InputGate.h"

#include <QApplication>
#include <QEvent>

namespace vantrel::qt {
namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
    }
}

class Gate : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isUserInput(event->type())) return QObject::eventFilter(watched, event);
        // An accepted override tells the shortcut map that no shortcut is wanted.
        if (event->type() == QEvent::ShortcutOverride) event->accept();
        return true;
    }
};

}  // namespace

void discardQueuedInput() {
    auto* app = QCoreApplication::instance();
    if (!app) return;
    Gate gate;
    app->installEventFilter(&gate);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::X11ExcludeTimers);
    app->removeEventFilter(&gate);
}

}  // namespace vantrel::qt
