#include <QProgressBar>
#include <algorithm>

#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

class ProgressBarBinder : public ControlBinder {
public:
    ProgressBarBinder(ui::ProgressBar& model, QProgressBar* bar)
        : ControlBinder(bar), model_(model), bar_(bar) {
        // A bar shown only during an operation keeps its place while hidden, so the
        // controls around it never move.
        QSizePolicy policy = bar->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        bar->setSizePolicy(policy);
    }
    void sync() override {
        bar_->setRange(model_.minimum, model_.maximum);
        bar_->setValue(std::clamp(model_.value, model_.minimum, model_.maximum));
    }

private:
    ui::ProgressBar& model_;
    QProgressBar* bar_;
};

}  // namespace

std::unique_ptr<ControlBinder> bindProgressBar(ui::Control& control, BinderHost& host) {
    return std::make_unique<ProgressBarBinder>(static_cast<ui::ProgressBar&>(control),
                                               new QProgressBar(host.container()));
}

}  // namespace vantrel::qt
