#include "shell/PortPicker.h"

#include <filesystem>

namespace vantrel::shell {

namespace {

// Whether the entry stands for the named port, by its path, by its device or by
// the device either of them resolves to.
bool isPort(const link::PortEntry& entry, const std::string& portName) {
    if (entry.path == portName || entry.device == portName) return true;
    std::error_code error;
    const auto chosen = std::filesystem::canonical(portName, error);
    if (error) return false;
    const auto device = std::filesystem::canonical(entry.path, error);
    return !error && device == chosen;
}

}  // namespace

CPortPicker::CPortPicker(Context& context, link::PortRoots roots)
    : NavigationScreen(context, kPortPickerTitle), roots_(std::move(roots)) {
    section();
    addComboBox(kPortListLabel);
    addLabel(kNoPortsFound, "none").visible = false;
    auto& ok = addButton("OK", [this] { choose(); });
    ok.isDefault = true;
    auto& cancel = addButton("Cancel", [this] { close(); });
    cancel.isExit = true;
}

void CPortPicker::setUp() {
    ports_ = link::listPorts(roots_);
    auto& list = get<ui::ComboBox>(kPortListLabel);
    list.clear();
    for (const link::PortEntry& port : ports_) {
        const bool current = isPort(port, context_.portName);
        list.add(link::describePort(port) + (current ? kInUseNowMark : ""));
        if (current) list.selected = list.count() - 1;
    }
    if (list.selected < 0 && !ports_.empty()) list.selected = 0;
    get<ui::Label>("none").visible = ports_.empty();
    get<ui::Button>("OK").enabled = !ports_.empty();
}

void CPortPicker::choose() {
    const int index = get<ui::ComboBox>(kPortListLabel).selected;
    if (index < 0 || index >= static_cast<int>(ports_.size())) return;
    const std::string& path = ports_[index].path;
    context_.portName = path;
    // The store refuses to rewrite a file it could not read; the choice then lasts
    // for this run only, and the user is told why.
    if (!context_.settings.write(kSettingsSection, kPortSettingName, path))
        context_.ui.message(ui::MessageKind::Note, kPortNotStored + context_.settings.path(), "",
                            ui::Icon::Exclamation);
    close();
}

}  // namespace vantrel::shell
