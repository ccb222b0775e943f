#pragma once
// The new-password screen ("Enter New Password", CnewPassword): stores a new password
// for the level that is logged in.
#include "shell/Context.h"
#include "ui/Screen.h"

namespace vantrel::shell {

// Shown when the settings store cannot be written, so a change is never lost silently.
inline constexpr const char* kPasswordNotStoredText =
    "The new password could not be stored in the settings file.";

// Shown when the new password holds a control character (a carriage return, a tab):
// such a password could not be typed at the login again.
inline constexpr const char* kPasswordControlCharacterText =
    "The password may not contain control characters.";
// An empty password would let anyone in at that level with one Enter.
inline constexpr const char* kPasswordEmptyText = "The new password may not be empty.";

class CnewPassword : public ui::Screen {
public:
    explicit CnewPassword(Context& context);
    const char* className() const override { return "CnewPassword"; }

private:
    void update();

    Context& context_;
    ui::Edit& password_;
};

}  // namespace vantrel::shell
