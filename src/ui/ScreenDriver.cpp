#include "ui/ScreenDriver.h"

#include <charconv>

namespace vantrel::ui {

namespace {

// Names match without a trailing colon, so "Password" finds "Password:".
std::string bare(std::string text) {
    while (!text.empty() && (text.back() == ':' || text.back() == ' '))
        text.pop_back();
    return text;
}

bool holdsValue(const Control& control) {
    switch (control.kind) {
        case ControlKind::Button:
            return static_cast<const Button&>(control).twoState;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::ComboBox:
        case ControlKind::Edit:
            return true;
        default:
            return false;
    }
}

bool matches(const Control& control, const std::string& name) {
    const std::string wanted = bare(name);
    if (!control.id.empty()) return bare(control.id) == wanted;
    if (control.kind == ControlKind::Button) {
        const auto& button = static_cast<const Button&>(control);
        if (button.twoState)
            return bare(button.captions[0]) == wanted || bare(button.captions[1]) == wanted;
    }
    return bare(control.name()) == wanted;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names)
        text += (text.empty() ? "" : ", ") + ("\"" + name + "\"");
    return text;
}

DriveResult unknown(std::string problem) {
    return {DriveResult::Outcome::Unknown, std::move(problem)};
}

DriveResult disabled(const std::string& name) {
    return {DriveResult::Outcome::Disabled, "\"" + name + "\" is disabled"};
}

// Selects the entry with this text; "TEXT#N" the N-th of several entries of the same
// text (a list may offer one text at two positions that store different values).
bool selectEntry(ComboBox& list, const std::string& value) {
    if (list.select(value)) return true;
    const auto mark = value.rfind('#');
    if (mark == std::string::npos) return false;
    int wanted = 0;
    const char* first = value.data() + mark + 1;
    const char* last = value.data() + value.size();
    auto [end, error] = std::from_chars(first, last, wanted);
    if (error != std::errc() || end != last || wanted < 1) return false;
    const std::string text = value.substr(0, mark);
    for (int i = 0; i < list.count(); ++i)
        if (list.entries()[i] == text && --wanted == 0) {
            list.selected = i;
            return true;
        }
    return false;
}

Control* findSettable(const Screen& screen, const std::string& name) {
    for (const auto& control : screen.controls())
        if (control->visible && holdsValue(*control) && matches(*control, name))
            return control.get();
    return nullptr;
}

DriveResult setOnOff(bool& state, const std::string& value) {
    if (value != "on" && value != "off") return unknown("use on or off, not \"" + value + "\"");
    state = value == "on";
    return {};
}

}  // namespace

std::string valueText(const Control& control) {
    switch (control.kind) {
        case ControlKind::Button:
            return static_cast<const Button&>(control).caption;
        case ControlKind::CheckBox:
            return static_cast<const CheckBox&>(control).checked ? "on" : "off";
        case ControlKind::RadioButton:
            return static_cast<const RadioButton&>(control).checked ? "on" : "off";
        case ControlKind::ComboBox:
            return static_cast<const ComboBox&>(control).selectedText();
        case ControlKind::Edit:
            return static_cast<const Edit&>(control).text;
        default:
            return {};
    }
}

std::string controlName(const Control& control) {
    if (!control.id.empty()) return control.id;
    if (control.kind == ControlKind::Button) {
        const auto& button = static_cast<const Button&>(control);
        if (button.twoState) return button.captions[0];
    }
    return bare(control.name());
}

DriveResult setControl(Screen& screen, const std::string& name, const std::string& value) {
    Control* control = findSettable(screen, name);
    if (!control) {
        std::vector<std::string> names;
        for (const auto& c : screen.controls())
            if (c->visible && holdsValue(*c)) names.push_back(controlName(*c));
        return unknown("no control \"" + name + "\" on \"" + screen.title() + "\"; it has " +
                       joined(names));
    }
    if (!control->enabled) return disabled(controlName(*control));
    // A change handler may replace the controls: they live on until it returns.
    Screen::HandlerScope scope(screen);
    switch (control->kind) {
        case ControlKind::Button: {
            auto& button = static_cast<Button&>(*control);
            if (value != button.captions[0] && value != button.captions[1])
                return unknown("\"" + controlName(button) + "\" shows \"" + button.captions[0] +
                               "\" or \"" + button.captions[1] + "\"");
            // Pressed as a person would, so that its handler runs.
            if (button.caption != value)
                screen.click(button.id.empty() ? button.caption : button.id);
            return {};
        }
        case ControlKind::CheckBox: {
            auto& box = static_cast<CheckBox&>(*control);
            const bool before = box.checked;
            DriveResult result = setOnOff(box.checked, value);
            if (result.ok() && box.checked != before && box.onChange) box.onChange();
            return result;
        }
        case ControlKind::RadioButton: {
            auto& radio = static_cast<RadioButton&>(*control);
            if (value != "on")
                return unknown("a choice is set by choosing it: \"" + name + "\"=on");
            for (const auto& c : screen.controls())
                if (auto* other = dynamic_cast<RadioButton*>(c.get());
                    other && other->group == radio.group)
                    other->checked = other == &radio;
            if (radio.onChange) radio.onChange();
            return {};
        }
        case ControlKind::ComboBox: {
            auto& list = static_cast<ComboBox&>(*control);
            if (!selectEntry(list, value))
                return unknown("\"" + controlName(list) + "\" has no entry \"" + value +
                               "\"; it has " + joined(list.entries()));
            if (list.onChange) list.onChange();
            return {};
        }
        case ControlKind::Edit: {
            auto& edit = static_cast<Edit&>(*control);
            if (edit.readOnly) return disabled(controlName(edit));
            edit.text = edit.maxLength > 0 ? value.substr(0, edit.maxLength) : value;
            if (edit.onChange) edit.onChange();
            return {};
        }
        default:
            return unknown("\"" + name + "\" cannot be set");
    }
}

const Button* buttonFor(const Screen& screen, const std::string& caption) {
    for (const auto& control : screen.controls()) {
        const auto* button = dynamic_cast<const Button*>(control.get());
        if (button && button->visible && (button->caption == caption || button->id == caption))
            return button;
    }
    return nullptr;
}

DriveResult pressButton(Screen& screen, const std::string& caption) {
    if (const Button* button = buttonFor(screen, caption)) {
        if (!button->enabled) return disabled(caption);
        screen.click(button->id.empty() ? button->caption : button->id);
        return {};
    }
    std::vector<std::string> captions;
    for (const auto& control : screen.controls())
        if (auto* button = dynamic_cast<Button*>(control.get()); button && button->visible)
            captions.push_back(button->caption);
    return unknown("no button \"" + caption + "\" on \"" + screen.title() + "\"; it has " +
                   joined(captions));
}

std::vector<ShownValue> shownValues(const Screen& screen) {
    std::vector<ShownValue> shown;
    for (const auto& section : screen.sections())
        for (const Control* control : section.controls)
            if (control->visible && holdsValue(*control))
                shown.push_back({control, controlName(*control), valueText(*control)});
    return shown;
}

std::vector<std::string> showControls(const Screen& screen) {
    std::vector<std::string> lines;
    for (const ShownValue& shown : shownValues(screen)) {
        std::string line = shown.name + ": " + shown.value;
        if (!shown.control->enabled) line += " (disabled)";
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace vantrel::ui
