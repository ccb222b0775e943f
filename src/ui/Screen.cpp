#include "ui/Screen.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

namespace vantrel::ui {

void ComboBox::clear() {
    entries_.clear();
    selected = -1;
    ++revision_;
}

void ComboBox::add(std::string entry) {
    entries_.push_back(std::move(entry));
    ++revision_;
}

void ComboBox::assign(std::vector<std::string> entries) {
    entries_ = std::move(entries);
    selected = -1;
    ++revision_;
}

namespace {
// More digits than a double holds are noise; this also bounds the text's length.
constexpr int kMostDecimals = 17;
// Room for the widest double in fixed notation, its sign, point and decimals.
constexpr size_t kNumberRoom = 400;
}  // namespace

std::optional<double> Edit::number() const {
    std::string_view digits = text;
    while (!digits.empty() && digits.front() == ' ')
        digits.remove_prefix(1);
    while (!digits.empty() && digits.back() == ' ')
        digits.remove_suffix(1);
    double value = 0;
    const char* end = digits.data() + digits.size();
    auto [stop, error] = std::from_chars(digits.data(), end, value, std::chars_format::fixed);
    if (digits.empty() || error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    if (!numeric) return value;
    const auto point = digits.find('.');
    const auto decimals = point == std::string_view::npos ? 0 : digits.size() - point - 1;
    if (decimals > static_cast<size_t>(std::max(numeric->decimals, 0))) return std::nullopt;
    if (value < numeric->minimum || value > numeric->maximum) return std::nullopt;
    return value;
}

void Edit::setNumber(double value) {
    const int decimals = numeric ? std::clamp(numeric->decimals, 0, kMostDecimals) : 0;
    char buffer[kNumberRoom];
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return;
    std::string shown(buffer, end);
    // A negative value that rounds to zero shows as zero.
    if (shown.front() == '-' && shown.find_first_not_of("-0.") == std::string::npos)
        shown.erase(0, 1);
    text = std::move(shown);
}

const std::string& ComboBox::selectedText() const {
    static const std::string kNothing;
    if (selected < 0 || selected >= count()) return kNothing;
    return entries_[selected];
}

bool ComboBox::select(const std::string& text) {
    auto it = std::find(entries_.begin(), entries_.end(), text);
    if (it == entries_.end()) return false;
    selected = static_cast<int>(it - entries_.begin());
    return true;
}

Control* Screen::find(std::string_view key) const {
    for (const auto& control : controls_)
        if (!control->id.empty() && control->id == key) return control.get();
    for (const auto& control : controls_)
        if (control->name() == key) return control.get();
    return nullptr;
}

Screen::HandlerScope::HandlerScope(Screen& screen) : screen_(screen) {
    ++screen_.handlerDepth_;
}

Screen::HandlerScope::~HandlerScope() {
    if (--screen_.handlerDepth_ == 0) screen_.retired_.clear();
}

bool Button::press() {
    if (!visible || !enabled) return false;
    if (twoState) toggleCaption();
    if (onClick) onClick();
    return true;
}

bool Screen::click(std::string_view key) {
    auto* button = find<Button>(key);
    if (!button) return false;
    HandlerScope scope(*this);
    return button->press();
}

Button* Screen::exitButton() const {
    for (const auto& control : controls_)
        if (auto* button = dynamic_cast<Button*>(control.get());
            button && button->isExit && button->visible && button->enabled)
            return button;
    return nullptr;
}

Control* Screen::openingFocus() const {
    auto usable = [](const Control* c) { return c && c->visible && c->enabled; };
    auto writes = [](const Control* c) {
        const auto* button = dynamic_cast<const Button*>(c);
        return button && button->writes;
    };
    if (Control* named = focus_.empty() ? nullptr : find(focus_); usable(named) && !writes(named))
        return named;
    auto first = [&](auto&& wanted) -> Control* {
        for (const Section& section : sections_)
            for (Control* control : section.controls)
                if (usable(control) && wanted(*control)) return control;
        return nullptr;
    };
    if (Control* box = first([](const Control& c) {
            if (c.kind == ControlKind::ComboBox) return true;
            return c.kind == ControlKind::Edit && !static_cast<const Edit&>(c).readOnly;
        }))
        return box;
    // A screen whose exit ends the program does not offer it to a hurried Enter.
    if (Button* exit = exitButton(); exit && exitsOnEscape_) return exit;
    return first([&](const Control& c) {
        return c.kind == ControlKind::Button && !writes(&c) &&
               !static_cast<const Button&>(c).isExit;
    });
}

Section& Screen::section(std::string title, int columns, bool columnMajor) {
    sections_.push_back(Section{std::move(title), columns, columnMajor, false, {}});
    return sections_.back();
}

template <class T>
T& Screen::add(std::string id) {
    if (sections_.empty()) section();
    auto control = std::make_unique<T>();
    control->id = std::move(id);
    T& ref = *control;
    sections_.back().controls.push_back(control.get());
    controls_.push_back(std::move(control));
    return ref;
}

Label& Screen::addLabel(std::string text, std::string id) {
    auto& label = add<Label>(std::move(id));
    label.text = std::move(text);
    return label;
}

Button& Screen::addButton(std::string caption, std::function<void()> onClick, std::string id) {
    auto& button = add<Button>(std::move(id));
    button.caption = std::move(caption);
    button.onClick = std::move(onClick);
    return button;
}

Button& Screen::addTwoStateButton(std::string first, std::string second,
                                  std::function<void()> onClick, std::string id) {
    auto& button = addButton(first, std::move(onClick), std::move(id));
    button.twoState = true;
    button.captions[0] = std::move(first);
    button.captions[1] = std::move(second);
    return button;
}

CheckBox& Screen::addCheckBox(std::string text, std::string id) {
    auto& box = add<CheckBox>(std::move(id));
    box.text = std::move(text);
    return box;
}

RadioButton& Screen::addRadioButton(std::string text, std::string group, std::string id) {
    auto& radio = add<RadioButton>(std::move(id));
    radio.text = std::move(text);
    radio.group = std::move(group);
    return radio;
}

ComboBox& Screen::addComboBox(std::string label, std::string id) {
    auto& combo = add<ComboBox>(std::move(id));
    combo.label = std::move(label);
    return combo;
}

Edit& Screen::addEdit(std::string label, std::string id) {
    auto& edit = add<Edit>(std::move(id));
    edit.label = std::move(label);
    return edit;
}

Lamp& Screen::addLamp(std::string text, std::string id) {
    auto& lamp = add<Lamp>(std::move(id));
    lamp.text = std::move(text);
    return lamp;
}

ProgressBar& Screen::addProgressBar(std::string id) {
    return add<ProgressBar>(std::move(id));
}

Picture& Screen::addPicture(PictureKind kind, std::string id) {
    auto& picture = add<Picture>(std::move(id));
    picture.picture = kind;
    return picture;
}

Button& Screen::addHelpButton() {
    auto& help = addButton("QUEST", nullptr, "help");
    help.visible = false;
    return help;
}

void Screen::clearControls() {
    sections_.clear();
    if (handlerDepth_ > 0)
        std::move(controls_.begin(), controls_.end(), std::back_inserter(retired_));
    controls_.clear();
    ++layoutRevision_;
}

}  // namespace vantrel::ui
