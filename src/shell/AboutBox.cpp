#include "shell/AboutBox.h"

namespace vantrel::shell {

CAboutBox::CAboutBox() : ui::Screen("About Rudozi Vantrel") {
    section();
    addPicture(ui::PictureKind::AppIcon, "icon");
    for (const char* line : {"Rudozi Vantrel", "Version 2.5", "External ActiSys IrDA"})
        addLabel(line).centred = true;
    auto& ok = addButton("OK", [this] { close(); });
    ok.isDefault = true;
    ok.isExit = true;
}

}  // namespace vantrel::shell
