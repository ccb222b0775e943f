#include "shell/ScreenLoop.h"

namespace vantrel::shell {

void runScreenLoop(Context& context, const ScreenFactory& makeScreen) {
    context.loginLevel = kNotLoggedIn;
    context.nextScreen = kMainMenu;
    while (context.nextScreen != kExit) {
        auto screen = makeScreen(context, context.nextScreen);
        if (!screen) {
            // A code without a screen would otherwise be tested again for ever;
            // the main menu is always there to go back to.
            context.nextScreen = kMainMenu;
            continue;
        }
        context.ui.run(*screen);
    }
}

}  // namespace vantrel::shell
