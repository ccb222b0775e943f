#pragma once
// The About box ("About Rudozi Vantrel"): the application icon and three lines.
#include "ui/Screen.h"

namespace vantrel::shell {

class CAboutBox : public ui::Screen {
public:
    CAboutBox();
    const char* className() const override { return "CAboutBox"; }
};

}  // namespace vantrel::shell
