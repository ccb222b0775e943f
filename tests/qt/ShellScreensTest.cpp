// The tool's own screens through the Qt front end: each renders as its model says,
// and the login flow works through real widgets from the main menu.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "CErrorDlg.h"
#include "ModalDriver.h"
#include "QtUi.h"
#include "ScreenView.h"
#include "SimFixture.h"
#include "TextCodec.h"
#include "registry/ScreenRegistry.h"

namespace vantrel::qt {
namespace {

using test::findByText;
using test::ModalDriver;

// Compares what a widget shows with the control it renders.
void expectShows(const ScreenView& view, const ui::Control& control, const char* screen) {
    SCOPED_TRACE(std::string(screen) + ": " + control.name() + " / " + control.id);
    QWidget* widget = view.panel().widgetFor(&control);
    ASSERT_TRUE(widget);
    EXPECT_EQ(widget->isVisibleTo(&view), control.visible);
    EXPECT_EQ(widget->isEnabled(), control.enabled);
    switch (control.kind) {
        case ui::ControlKind::Button: {
            auto* button = qobject_cast<QPushButton*>(widget);
            ASSERT_TRUE(button);
            EXPECT_EQ(test::shownText(button->text()),
                      fromLatin1(static_cast<const ui::Button&>(control).caption));
            break;
        }
        case ui::ControlKind::Label:
            EXPECT_EQ(qobject_cast<QLabel*>(widget)->text(),
                      fromLatin1(static_cast<const ui::Label&>(control).text));
            break;
        case ui::ControlKind::ComboBox: {
            auto& model = static_cast<const ui::ComboBox&>(control);
            auto* combo = qobject_cast<QComboBox*>(widget);
            ASSERT_TRUE(combo);
            EXPECT_EQ(combo->count(), static_cast<int>(model.entries().size()));
            EXPECT_EQ(combo->currentText(), fromLatin1(model.selectedText()));
            break;
        }
        case ui::ControlKind::Edit: {
            auto& model = static_cast<const ui::Edit&>(control);
            if (auto* line = qobject_cast<QLineEdit*>(widget)) {
                EXPECT_EQ(line->text(), fromLatin1(model.text));
                EXPECT_EQ(line->isReadOnly(), model.readOnly);
                EXPECT_EQ(line->echoMode() == QLineEdit::Password, model.masked);
            } else {
                EXPECT_TRUE(model.multiLine);
            }
            break;
        }
        default:
            break;
    }
}

constexpr int kSmallScreenWidth = 480;

TEST(ShellScreens, EveryScreenOfTheLoopRendersItsModel) {
    constexpr uint16_t kLastCode = 11;
    std::vector<uint16_t> rendered;
    for (uint16_t code = 0; code <= kLastCode; ++code) {
        test::SimRig rig;
        auto screen = registry::makeScreen(rig.context, code);
        if (!screen) continue;
        screen->setUp();
        ScreenView view(*screen);
        view.show();
        EXPECT_EQ(view.windowTitle(), fromLatin1(screen->title()));
        for (const auto& control : screen->controls())
            expectShows(view, *control, screen->className());
        // The tool was made for a small screen: no window should outgrow one, and
        // every screen fits one 480 pixels wide.
        EXPECT_LE(view.width(), 640) << screen->className();
        EXPECT_LE(view.height(), 720) << screen->className();
        EXPECT_LE(view.minimumSizeHint().width(), kSmallScreenWidth) << screen->className();
        rendered.push_back(code);
    }
    for (uint16_t code : {shell::kMainMenu, shell::kDownloads, shell::kLogin})
        EXPECT_NE(std::find(rendered.begin(), rendered.end(), code), rendered.end()) << code;
}

// The tool as the vantrel program builds it: Qt dialogs on a simulated actuator.
struct QtTool {
    QtTool()
        : server(actuator),
          settings(folder.filePath("settings.ini").toStdString()),
          context(ui, settings) {
        EXPECT_TRUE(server.start());
        context.portName = server.path();
    }
    sim::Actuator actuator;
    sim::PtyServer server;
    QTemporaryDir folder;
    shell::Settings settings;
    QtUi ui;
    shell::Context context;
};

ScreenView* screenView(QWidget* modal) {
    auto* view = qobject_cast<ScreenView*>(modal);
    EXPECT_TRUE(view) << modal->windowTitle().toStdString();
    return view;
}

QLineEdit* lineEdit(ScreenView* view, std::string_view key) {
    return qobject_cast<QLineEdit*>(view->panel().widgetFor(key));
}

TEST(ShellScreens, LoginFromTheMainMenuThroughRealWidgets) {
    QtTool tool;
    QString afterWrong, afterRight, errorText;
    std::optional<bool> vxchatShown;
    ModalDriver driver({
        [](QWidget* modal) {
            QTest::mouseClick(findByText<QPushButton>(modal, "LOGIN"), Qt::LeftButton);
        },
        [&](QWidget* modal) {
            ScreenView* login = screenView(modal);
            ASSERT_TRUE(login);
            QLineEdit* password = lineEdit(login, "Password");
            QLineEdit* status = lineEdit(login, "status");
            ASSERT_TRUE(password && status);
            QTest::keyClicks(password, "Qmzv");  // wrong: passwords are case-sensitive
            QTest::mouseClick(findByText<QPushButton>(modal, "ENTER"), Qt::LeftButton);
            afterWrong = status->text();
            password->clear();
            QTest::keyClicks(password, "qmzv");
            QTest::keyClick(password, Qt::Key_Return);  // Enter in the box logs in
            afterRight = status->text();
            EXPECT_TRUE(findByText<QPushButton>(modal, "Change password?")->isEnabled());
            QTest::mouseClick(findByText<QPushButton>(modal, "BACK"), Qt::LeftButton);
        },
        [&](QWidget* modal) {  // the Error dialog, shown while ENTER runs
            errorText = qobject_cast<CErrorDlg*>(modal)->textLabel().text();
            QTest::mouseClick(findByText<QPushButton>(modal, "OK"), Qt::LeftButton);
        },
        [&](QWidget* modal) {
            ScreenView* menu = screenView(modal);
            ASSERT_TRUE(menu);
            vxchatShown = menu->panel().widgetFor("vxchat")->isVisibleTo(menu);
            QTest::keyClick(menu, Qt::Key_Escape);  // a stray Escape does not end the tool
            QTest::keyClick(menu, Qt::Key_Escape);
            EXPECT_TRUE(menu->isVisible());
            modal->close();  // the window's X leaves as EXIT does
        },
    });
    registry::runProgram(tool.context);

    EXPECT_TRUE(driver.finished());
    EXPECT_EQ(driver.seen(), (QStringList{"Main Menu", "Login", "Error", "Main Menu"}));
    EXPECT_EQ(errorText, "Incorrect Password entered");
    EXPECT_EQ(afterWrong, "**Not logged in**");
    EXPECT_EQ(afterRight, "**Logged in as User**");
    EXPECT_EQ(tool.context.loginLevel, shell::kUser);
    EXPECT_EQ(vxchatShown, false);
    EXPECT_EQ(tool.context.nextScreen, shell::kExit);
}

}  // namespace
}  // namespace vantrel::qt
