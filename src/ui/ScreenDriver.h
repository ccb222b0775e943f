#pragma once
// Drives a screen by what a user sees on it: sets a control named by its label or
// caption, presses a button by its caption, and lists every control with its value.
// The command line and the page tests use it, so both act exactly as a person would.
#include <string>
#include <vector>

#include "ui/Screen.h"

namespace vantrel::ui {

struct DriveResult {
    enum class Outcome { Done, Unknown, Disabled };
    Outcome outcome = Outcome::Done;
    std::string problem;  // what went wrong, with what exists where that helps
    bool ok() const { return outcome == Outcome::Done; }
};

// The name a control is known by: its id where it has one, else its label or text;
// a two-state button by its first caption.
std::string controlName(const Control& control);

// The value a control shows, as "show" prints it: a list's entry text, a two-state
// button's caption, "on"/"off", a box's text.
std::string valueText(const Control& control);

// Sets one control: a list to the entry with this text, a check box or radio button
// to "on"/"off", a two-state button to one of its captions, an edit box to the text.
DriveResult setControl(Screen& screen, const std::string& name, const std::string& value);
// Presses the visible button with this caption (or id), as a click.
DriveResult pressButton(Screen& screen, const std::string& caption);
// A visible control that holds a value, by its name, with the text it shows.
struct ShownValue {
    const Control* control = nullptr;
    std::string name;
    std::string value;
};
// Every visible control that holds a value, in screen order.
std::vector<ShownValue> shownValues(const Screen& screen);
// The button pressButton presses for this caption (or id); nothing when there is none.
const Button* buttonFor(const Screen& screen, const std::string& caption);
// "NAME: VALUE" for every visible control that holds a value, in screen order;
// " (disabled)" follows a disabled one.
std::vector<std::string> showControls(const Screen& screen);

}  // namespace vantrel::ui
