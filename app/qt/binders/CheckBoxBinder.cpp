#include <QCheckBox>

#include "TextCodec.h"
#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

class CheckBoxBinder : public ControlBinder {
public:
    CheckBoxBinder(ui::CheckBox& model, QCheckBox* box, BinderHost& host)
        : ControlBinder(box), model_(model), box_(box) {
        QObject::connect(box, &QCheckBox::toggled, host.receiver(),
                         [run = host.runner(BinderHost::After::Discard), &model](bool checked) {
                             run([&] {
                                 model.checked = checked;
                                 if (model.onChange) model.onChange();
                             });
                         });
    }
    void sync() override {
        box_->setText(fromLatin1(model_.text));
        box_->setChecked(model_.checked);
    }

private:
    ui::CheckBox& model_;
    QCheckBox* box_;
};

}  // namespace

std::unique_ptr<ControlBinder> bindCheckBox(ui::Control& control, BinderHost& host) {
    return std::make_unique<CheckBoxBinder>(static_cast<ui::CheckBox&>(control),
                                            new QCheckBox(host.container()), host);
}

}  // namespace vantrel::qt
