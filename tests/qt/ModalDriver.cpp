#include "ModalDriver.h"

#include <QDialog>
#include <algorithm>

namespace vantrel::test {
namespace {
constexpr int kPollMs = 15;
}

ModalDriver::ModalDriver(std::vector<Step> steps, int timeoutMs) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    timer_.start(kPollMs);
    deadline_.setSingleShot(true);
    QObject::connect(&deadline_, &QTimer::timeout, [this] { timedOut_ = true; });
    deadline_.start(timeoutMs);
}

ModalDriver::~ModalDriver() {
    timer_.stop();
    deadline_.stop();
}

void ModalDriver::tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    bool known = std::any_of(handled_.begin(), handled_.end(),
                             [modal](const QPointer<QWidget>& w) { return w == modal; });
    if (timedOut_ || (!known && next_ >= steps_.size())) {
        // Out of time or out of script: leave as a user would, by closing.
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (!timedOut_) timedOut_ = true;
        return;
    }
    if (known) return;
    handled_.emplace_back(modal);
    seen_ << modal->windowTitle();
    // Run the step after this tick returns: a timer does not fire again while its
    // own slot runs, and the step may open nested dialogs that need driving too.
    QPointer<QWidget> target(modal);
    Step& step = steps_[next_++];
    QTimer::singleShot(0, modal, [&step, target] {
        if (target) step(target);
    });
}

}  // namespace vantrel::test
