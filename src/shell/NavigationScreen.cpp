#include "shell/NavigationScreen.h"

namespace vantrel::shell {

ui::Button& NavigationScreen::addNavigationButton(std::string caption, uint16_t code,
                                                  std::string id) {
    return addButton(
        std::move(caption), [this, code] { navigate(code); }, std::move(id));
}

void navigateTo(Context& context, ui::Screen& screen, uint16_t code) {
    context.ui.play(ui::Sound::Menu);
    context.nextScreen = code;
    screen.close();
}

void NavigationScreen::navigate(uint16_t code) {
    navigateTo(context_, *this, code);
}

}  // namespace vantrel::shell
