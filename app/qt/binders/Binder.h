#pragma once
// One binder per control kind. A binder creates the widget that shows its control,
// feeds the user's changes into the model through the host's handler runner, and
// shows the model again on every sync. The panel keeps the layout, the label beside
// a field, enabling and visibility, focus and the running of handlers; adding a
// kind means one binder file and one row of the table in Binders.cpp.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "ui/Control.h"
#include "ui/Screen.h"

class QButtonGroup;

namespace vantrel::qt {

// What a panel offers the binders of its controls.
class BinderHost {
public:
    // Runs a handler for the user's action on a widget, then re-syncs every open
    // panel; dropped when the widget belongs to an earlier build of the panel.
    using Runner = std::function<void(const std::function<void()>& handler)>;

    virtual ~BinderHost() = default;
    // The parent of the widgets being built.
    virtual QWidget* container() = 0;
    // The context object of the widgets' signal connections.
    virtual QObject* receiver() = 0;
    virtual ui::Screen& screen() = 0;
    // What follows a handler besides the re-sync.
    enum class After {
        Nothing,  // typing into a box: keys typed ahead are kept
        Discard,  // a change of selection: input queued while it ran is dropped
        Focus,    // a button: as Discard, then the focus goes where the screen names
    };
    // A runner for the widgets being built.
    virtual Runner runner(After after) = 0;
    // The exclusive group of the radio buttons with this group name.
    virtual QButtonGroup* radioGroup(const std::string& name) = 0;
    // The event filter that lets Enter press a focused button.
    virtual QObject* keyFilter() = 0;
    // The letter of a button's Alt shortcut, unique on its screen; 0 for none.
    virtual char mnemonic(const ui::Control& control) const = 0;
};

// Shows one control.
class ControlBinder {
public:
    explicit ControlBinder(QWidget* widget) : widget_(widget) {}
    virtual ~ControlBinder() = default;
    ControlBinder(const ControlBinder&) = delete;
    ControlBinder& operator=(const ControlBinder&) = delete;

    QWidget* widget() const { return widget_; }
    // The text shown beside the widget (above it when labelAbove); empty for none.
    virtual std::string labelText() const { return {}; }
    virtual bool labelAbove() const { return false; }
    // How the widget sits in its grid cell.
    virtual Qt::Alignment cellAlignment() const { return {}; }
    // Model to widget, kind-specific part; the widget's signals are blocked meanwhile.
    virtual void sync() = 0;

private:
    QWidget* widget_;
};

// Creates the binder (and its widget) for a control of its kind.
std::unique_ptr<ControlBinder> bindControl(ui::Control& control, BinderHost& host);

// One per kind, each defined in the kind's own file.
std::unique_ptr<ControlBinder> bindLabel(ui::Control& control, BinderHost& host);
std::unique_ptr<ControlBinder> bindButton(ui::Control& control, BinderHost& host);
std::unique_ptr<ControlBinder> bindCheckBox(ui::Control& control, BinderHost& host);
std::unique_ptr<ControlBinder> bindRadioButton(ui::Control& control, BinderHost& host);
std::unique_ptr<ControlBinder> bindComboBox(ui::Control& control, BinderHost& host);
std::unique_ptr<ControlBinder> bindEdit(ui::Control& control, BinderHost& host);
std::unique_ptr<ControlBinder> bindLamp(ui::Control& control, BinderHost& host);
std::unique_ptr<ControlBinder> bindProgressBar(ui::Control& control, BinderHost& host);
std::unique_ptr<ControlBinder> bindPicture(ui::Control& control, BinderHost& host);

}  // namespace vantrel::qt
