#include <QButtonGroup>
#include <QRadioButton>

#include "TextCodec.h"
#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

class RadioButtonBinder : public ControlBinder {
public:
    RadioButtonBinder(ui::RadioButton& model, QRadioButton* radio, BinderHost& host)
        : ControlBinder(radio), model_(model), radio_(radio) {
        host.radioGroup(model.group)->addButton(radio);
        ui::Screen& screen = host.screen();
        QObject::connect(
            radio, &QRadioButton::toggled, host.receiver(),
            [run = host.runner(BinderHost::After::Discard), &model, &screen](bool checked) {
                if (!checked) return;  // the newly chosen button reports for the group
                run([&] {
                    for (const auto& control : screen.controls())
                        if (auto* other = dynamic_cast<ui::RadioButton*>(control.get());
                            other && other->group == model.group)
                            other->checked = other == &model;
                    if (model.onChange) model.onChange();
                });
            });
    }
    // The checked state is the group's: the panel syncs the groups as a whole.
    void sync() override { radio_->setText(fromLatin1(model_.text)); }

private:
    ui::RadioButton& model_;
    QRadioButton* radio_;
};

}  // namespace

std::unique_ptr<ControlBinder> bindRadioButton(ui::Control& control, BinderHost& host) {
    return std::make_unique<RadioButtonBinder>(static_cast<ui::RadioButton&>(control),
                                               new QRadioButton(host.container()), host);
}

}  // namespace vantrel::qt
