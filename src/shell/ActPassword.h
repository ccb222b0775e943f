#pragma once
// "Actuator Password": reads and writes the actuator's own one-byte password, kept
// in configuration register 72. It talks to the actuator directly and leaves the
// configuration image alone.
#include "shell/Context.h"
#include "ui/Screen.h"

namespace vantrel::shell {

class CActPassword : public ui::Screen {
public:
    explicit CActPassword(Context& context);
    const char* className() const override { return "CActPassword"; }
    void setUp() override;

private:
    void readPassword();
    void updatePassword();
    void back();

    Context& context_;
    ui::ComboBox* password_ = nullptr;
};

}  // namespace vantrel::shell
