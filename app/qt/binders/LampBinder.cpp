#include "LampIndicator.h"
#include "TextCodec.h"
#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

class LampBinder : public ControlBinder {
public:
    LampBinder(ui::Lamp& model, LampIndicator* lamp)
        : ControlBinder(lamp), model_(model), lamp_(lamp) {}
    void sync() override {
        lamp_->setText(fromLatin1(model_.text));
        lamp_->setLit(model_.lit);
    }

private:
    ui::Lamp& model_;
    LampIndicator* lamp_;
};

}  // namespace

std::unique_ptr<ControlBinder> bindLamp(ui::Control& control, BinderHost& host) {
    return std::make_unique<LampBinder>(static_cast<ui::Lamp&>(control),
                                        new LampIndicator(host.container()));
}

}  // namespace vantrel::qt
