#include <QPushButton>

#include "TextCodec.h"
#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

constexpr int kButtonMinimumHeight = 30;

// A caption for a push button: '&' would otherwise mark a shortcut letter.
QString buttonText(const std::string& caption) {
    return fromLatin1(caption).replace(QLatin1Char('&'), QLatin1String("&&"));
}

class ButtonBinder : public ControlBinder {
public:
    ButtonBinder(ui::Button& model, QPushButton* button, BinderHost& host)
        : ControlBinder(button), model_(model), button_(button) {
        // Not auto-default, so that Enter in a box never presses the first button of
        // a screen; the host's key filter lets Enter press the focused one.
        button->setAutoDefault(false);
        button->setDefault(model.isDefault);
        button->setMinimumHeight(kButtonMinimumHeight);
        button->installEventFilter(host.keyFilter());
        QObject::connect(button, &QPushButton::clicked, host.receiver(),
                         [run = host.runner(true), &model] { run([&] { model.press(); }); });
    }
    void sync() override { button_->setText(buttonText(model_.caption)); }

private:
    ui::Button& model_;
    QPushButton* button_;
};

}  // namespace

std::unique_ptr<ControlBinder> bindButton(ui::Control& control, BinderHost& host) {
    return std::make_unique<ButtonBinder>(static_cast<ui::Button&>(control),
                                          new QPushButton(host.container()), host);
}

}  // namespace vantrel::qt
