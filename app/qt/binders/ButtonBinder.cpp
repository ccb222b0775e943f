#include <QPushButton>

#include "TextCodec.h"
#include "binders/Binder.h"

namespace vantrel::qt {
namespace {

constexpr int kButtonMinimumHeight = 30;

// A caption for a push button, its shortcut letter marked: a '&' of its own is
// doubled so that it shows as itself.
QString buttonText(const std::string& caption, char letter) {
    QString text = fromLatin1(caption).replace(QLatin1Char('&'), QLatin1String("&&"));
    if (letter == 0) return text;
    for (int i = 0; i < text.size(); ++i)
        if (text[i].toLower() == QLatin1Char(letter) &&
            (i == 0 || text[i - 1] != QLatin1Char('&'))) {
            text.insert(i, QLatin1Char('&'));
            break;
        }
    return text;
}

class ButtonBinder : public ControlBinder {
public:
    ButtonBinder(ui::Button& model, QPushButton* button, BinderHost& host)
        : ControlBinder(button), model_(model), button_(button), letter_(host.mnemonic(model)) {
        // Not auto-default, so that Enter in a box never presses the first button of
        // a screen; the host's key filter lets Enter press the focused one.
        button->setAutoDefault(false);
        // A button that writes never answers Enter from elsewhere.
        button->setDefault(model.isDefault && !model.writes);
        button->setMinimumHeight(kButtonMinimumHeight);
        button->installEventFilter(host.keyFilter());
        QObject::connect(
            button, &QPushButton::clicked, host.receiver(),
            [run = host.runner(BinderHost::After::Focus), &model] { run([&] { model.press(); }); });
    }
    void sync() override { button_->setText(buttonText(model_.caption, letter_)); }

private:
    ui::Button& model_;
    QPushButton* button_;
    char letter_;
};

}  // namespace

std::unique_ptr<ControlBinder> bindButton(ui::Control& control, BinderHost& host) {
    return std::make_unique<ButtonBinder>(static_cast<ui::Button&>(control),
                                          new QPushButton(host.container()), host);
}

}  // namespace vantrel::qt
