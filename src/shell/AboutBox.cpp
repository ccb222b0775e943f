#include "shell/AboutBox.h"

namespace vantrel::shell {

CAboutBox::CAboutBox() : ui::Screen("About Rudozi Vantrel") {
    section();
    addPicture(ui::PictureKind::AppIcon, "icon");
    addLabel("Rudozi Vantrel");
    addLabel("Version 2.5");
    addLabel("External ActiSys IrDA");
    addButton("OK", [this] { close(); });
}

}  // namespace vantrel::shell
