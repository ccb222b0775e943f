#include <array>
#include <stdexcept>
#include <utility>

#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

using Factory = std::unique_ptr<ControlBinder> (*)(ui::Control&, BinderHost&);

constexpr std::array<std::pair<ui::ControlKind, Factory>, 9> kBinders = {{
    {ui::ControlKind::Label, bindLabel},
    {ui::ControlKind::Button, bindButton},
    {ui::ControlKind::CheckBox, bindCheckBox},
    {ui::ControlKind::RadioButton, bindRadioButton},
    {ui::ControlKind::ComboBox, bindComboBox},
    {ui::ControlKind::Edit, bindEdit},
    {ui::ControlKind::Lamp, bindLamp},
    {ui::ControlKind::ProgressBar, bindProgressBar},
    {ui::ControlKind::Picture, bindPicture},
}};

}  // namespace

std::unique_ptr<ControlBinder> bindControl(ui::Control& control, BinderHost& host) {
    for (const auto& [kind, factory] : kBinders)
        if (kind == control.kind) return factory(control, host);
    throw std::logic_error("no binder for a control kind");
}

}  // namespace vantrel::qt
