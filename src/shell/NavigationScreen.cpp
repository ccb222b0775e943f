#include "shell/NavigationScreen.h"

namespace vantrel::shell {

ui::Button& NavigationScreen::addNavigationButton(std::string caption, uint16_t code,
                                                  std::string id) {
    return addButton(
        std::move(caption), [this, code] { navigate(code); }, std::move(id));
}

void NavigationScreen::navigate(uint16_t code) {
    context_.ui.play(ui::Sound::Menu);
    context_.nextScreen = code;
    close();
}

}  // namespace vantrel::shell
