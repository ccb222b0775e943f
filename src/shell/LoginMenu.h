#pragma once
// The login screen ("Login", Cloginmenu): sets loginLevel from a password check
// against the settings store, and opens the new-password screen.
#include "shell/NavigationScreen.h"

namespace vantrel::shell {

// Settings values holding the two passwords, and their defaults when absent.
inline constexpr const char* kUserPasswordName = "User Password";
inline constexpr const char* kServicePasswordName = "Tarvek Password";
inline constexpr const char* kDefaultUserPassword = "qmzv";
inline constexpr const char* kDefaultServicePassword = "w4";

// Entries of the "Login Level" list, in order.
inline constexpr const char* kUserLevelEntry = "user";
inline constexpr const char* kServiceLevelEntry = "Tarvek Service";

inline constexpr const char* kNotLoggedInText = "**Not logged in**";
inline constexpr const char* kUserLoggedInText = "**Logged in as User**";
inline constexpr const char* kServiceLoggedInText = "**Logged in as Tarvek Service**";

class Cloginmenu : public NavigationScreen {
public:
    explicit Cloginmenu(Context& context);
    const char* className() const override { return "Cloginmenu"; }
    void setUp() override;

private:
    void enter();
    void changePassword();
    void showStatus();

    ui::Edit& status_;
    ui::ComboBox& level_;
    ui::Edit& password_;
    ui::Button& enter_;
    ui::Button& change_;
};

}  // namespace vantrel::shell
