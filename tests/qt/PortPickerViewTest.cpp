// The port chooser through real widgets: the list shows the ports, OK makes the
// choice the tool's port, and the status bar names it at once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "ModalDriver.h"
#include "QtUi.h"
#include "ScreenView.h"
#include "StatusBar.h"
#include "TextCodec.h"
#include "shell/PortPicker.h"

namespace vantrel::qt {
namespace {

TEST(PortPickerView, OkMakesTheChoiceThePortAndTheStatusBarShowsIt) {
    QTemporaryDir folder;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string dev = folder.filePath("dev").toStdString();
    std::filesystem::create_directories(dev);
    std::filesystem::create_symlink(::ptsname(master), dev + "/ttyACM3");

    shell::Settings settings(folder.filePath("settings.ini").toStdString());
    QtUi ui;
    shell::Context context(ui, settings);
    context.portName = "/dev/ttyUSB0";
    showStatusOf(context);

    shell::CPortPicker picker(context, {dev + "/by-id", dev, dev + "/class"});
    picker.setUp();
    ScreenView view(picker);
    view.show();
    EXPECT_EQ(view.statusBar().portText(), "/dev/ttyUSB0");
    auto* list = qobject_cast<QComboBox*>(view.panel().widgetFor(shell::kPortListLabel));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->itemText(0), fromLatin1(dev + "/ttyACM3: free"));
    QTest::mouseClick(test::findByText<QPushButton>(&view, "OK"), Qt::LeftButton);

    EXPECT_EQ(context.portName, dev + "/ttyACM3");
    EXPECT_EQ(view.statusBar().portText(), fromLatin1(dev + "/ttyACM3"));
    EXPECT_EQ(settings.read(shell::kSettingsSection, "Port", ""), dev + "/ttyACM3");
    StatusBar::setSource({});
    ::close(master);
}

}  // namespace
}  // namespace vantrel::qt
