// The tool's own screens through the Qt front end: each renders as its model says,
// and the login flow works through real widgets from the main menu.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "CErrorDlg.h"
#include "ModalDriver.h"
#include "QtUi.h"
#include "ScreenView.h"
#include "SheetView.h"
#include "SimFixture.h"
#include "StatusBar.h"
#include "TextCodec.h"
#include "pages/ConfigSheet.h"
#include "pages/Limits.h"
#include "registry/ScreenRegistry.h"
#include "registry/SheetPages.h"
#include "shell/LoginMenu.h"
#include "shell/NewPassword.h"

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
    QString afterWrong, afterRight, errorText, loginOutcome;
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
            loginOutcome = fromLatin1(tool.context.status);
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
    EXPECT_EQ(loginOutcome, "Logged in: User") << "not the earlier failure";
    EXPECT_EQ(tool.context.loginLevel, shell::kUser);
    EXPECT_EQ(vxchatShown, false);
    EXPECT_EQ(tool.context.nextScreen, shell::kExit);
}

// Picks a file in the tool's file dialog, as a user types its name.
test::ModalDriver::Step pickFile(const QString& path) {
    return [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_TRUE(dialog);
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

std::unique_ptr<ui::Screen> openScreen(QtTool& tool, uint16_t code) {
    auto screen = registry::makeScreen(tool.context, code);
    screen->setUp();
    return screen;
}

// Each operation says in the status bar how it ended; the bar also names the port
// and who is logged in. Update's question keeps No as the Enter answer.
TEST(ShellScreens, StatusBarTellsTheOutcomeOfEachOperation) {
    QtTool tool;
    showStatusOf(tool.context);
    tool.context.loginLevel = shell::kService;
    const QString file = tool.folder.filePath("unit7.ucf");

    auto downloads = openScreen(tool, shell::kDownloads);
    ScreenView view(*downloads);
    view.show();
    EXPECT_EQ(view.statusBar().portText(), fromLatin1(tool.context.portName));
    EXPECT_EQ(view.statusBar().loginText(), "Service");
    EXPECT_EQ(view.statusBar().outcomeText(), "");
    {
        ModalDriver driver({pickFile(file)});
        QTest::mouseClick(findByText<QPushButton>(&view, "Extract EEPROM"), Qt::LeftButton);
        EXPECT_TRUE(driver.finished());
    }
    const auto bytes = QFileInfo(file).size();
    EXPECT_EQ(view.statusBar().outcomeText(),
              QStringLiteral("Extract complete: %1 bytes saved to unit7.ucf").arg(bytes));
    {
        QString defaultAnswer;
        ModalDriver driver({[&](QWidget* modal) {
                                auto* box = qobject_cast<QMessageBox*>(modal);
                                ASSERT_TRUE(box);
                                defaultAnswer = box->defaultButton()->text();
                                box->button(QMessageBox::Yes)->click();
                            },
                            pickFile(file)});
        QTest::mouseClick(findByText<QPushButton>(&view, "Update EEPROM"), Qt::LeftButton);
        EXPECT_TRUE(driver.finished());
        EXPECT_EQ(defaultAnswer, "&No");
    }
    EXPECT_EQ(view.statusBar().outcomeText(), "Update complete: 241 frames");
    EXPECT_FALSE(view.panel().widgetFor("transfer")->isVisibleTo(&view))
        << "the progress bar shows only while a transfer runs";

    auto diagnostics = openScreen(tool, shell::kDiagnostics);
    ScreenView diagnosticsView(*diagnostics);
    diagnosticsView.show();
    QTest::mouseClick(findByText<QPushButton>(&diagnosticsView, "Update"), Qt::LeftButton);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Diagnostics read at \\d\\d:\\d\\d:\\d\\d$"))
                    .match(diagnosticsView.statusBar().outcomeText())
                    .hasMatch())
        << diagnosticsView.statusBar().outcomeText().toStdString();
    EXPECT_EQ(view.statusBar().outcomeText(), diagnosticsView.statusBar().outcomeText())
        << "every open bar shows the same line";
    StatusBar::setSource({});
}

// A port that does not open is one message: no dialog for each of the reads after it.
TEST(ShellScreens, DiagnosticsWithoutAPortShowsOneMessage) {
    QtTool tool;
    showStatusOf(tool.context);
    tool.context.portName = tool.folder.filePath("no-such-port").toStdString();
    tool.ui.portErrorReason = [&tool] { return tool.context.port.errorText(); };
    auto diagnostics = openScreen(tool, shell::kDiagnostics);
    ScreenView view(*diagnostics);
    view.show();
    QString shown;
    ModalDriver driver({[&](QWidget* modal) {
                           shown = qobject_cast<CErrorDlg*>(modal)->textLabel().text();
                           static_cast<QDialog*>(modal)->accept();
                       }},
                       3000);
    QTest::mouseClick(findByText<QPushButton>(&view, "Update"), Qt::LeftButton);
    EXPECT_EQ(driver.seen(), QStringList{"Error"});
    EXPECT_TRUE(shown.startsWith("Port did not open\n")) << shown.toStdString();
    EXPECT_GT(shown.size(), QString("Port did not open\n").size()) << "with the reason";
    EXPECT_EQ(view.statusBar().outcomeText(), "Port did not open");
    StatusBar::setSource({});
}

// The configuration sheet through real widgets: every Send says how it ended, a page
// brought to the front shows the sheet's view, and Escape asks what Done asks.
TEST(ShellScreens, SheetSaysWhatHappenedAndClosesThroughDone) {
    QtTool tool;
    showStatusOf(tool.context);
    tool.context.loginLevel = shell::kService;
    tool.context.status = "Incorrect Password entered";  // an older line
    ui::ProgressBar progress;
    auto sheet = pages::buildSheet(tool.context, registry::makePage, progress);
    SheetView view(*sheet);
    view.show();
    auto* bar = view.findChild<StatusBar*>();
    ASSERT_TRUE(bar);
    auto button = [&](int page, const char* caption) {
        return findByText<QPushButton>(view.panel(page), caption);
    };
    auto answer = [](QMessageBox::StandardButton which) {
        return [which](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_TRUE(box);
            box->button(which)->click();
        };
    };
    {
        ModalDriver driver({answer(QMessageBox::Yes)});
        QTest::mouseClick(button(0, "Send"), Qt::LeftButton);
        EXPECT_TRUE(driver.finished());
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Stop Settings sent \\(\\d+ frames\\)$"))
                    .match(bar->outcomeText())
                    .hasMatch())
        << bar->outcomeText().toStdString();
    {
        ModalDriver driver({answer(QMessageBox::No), answer(QMessageBox::Yes)});
        QTest::mouseClick(button(0, "Send"), Qt::LeftButton);  // No, then keep
        EXPECT_TRUE(driver.finished());
    }
    EXPECT_EQ(bar->outcomeText(), "Changes kept, not sent");

    // Service Notes shows its serial numbers; Stop Settings comes back in that view.
    const int notes = 5;
    view.tabs().setCurrentIndex(notes);
    QTest::mouseClick(button(notes, "Notes"), Qt::LeftButton);
    view.tabs().setCurrentIndex(0);
    ASSERT_TRUE(button(0, "Default")) << "the page shows the sheet's view";
    {
        ModalDriver driver({[](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); }});
        QTest::mouseClick(button(0, "Send"), Qt::LeftButton);
        EXPECT_EQ(driver.seen(), QStringList{"Error"});
    }
    EXPECT_EQ(bar->outcomeText(), "Send stopped: Unable to update, access denied");
    QTest::mouseClick(button(0, "Default"), Qt::LeftButton);  // one press flips it
    EXPECT_TRUE(button(0, "Current"));

    // Escape asks Done's question; No closes the sheet without a file.
    {
        QString asked;
        ModalDriver driver({[&](QWidget* modal) {
            asked = qobject_cast<QMessageBox*>(modal)->text();
            answer(QMessageBox::No)(modal);
        }});
        QTest::keyClick(&view, Qt::Key_Escape);
        EXPECT_TRUE(driver.finished());
        EXPECT_EQ(asked, "Do you want to Save to file?");
    }
    EXPECT_TRUE(sheet->closed());
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(bar->outcomeText(), "Not saved");
    StatusBar::setSource({});
}

// A long outcome is cut in the middle, its whole text in the tooltip; of two
// screens one over the other only the top one shows the bar.
TEST(ShellScreens, OneStatusBarCutInTheMiddle) {
    QtTool tool;
    showStatusOf(tool.context);
    tool.context.status =
        "Extract complete: 4096 bytes saved to Eeprom-of-the-pump-house-unit-7.ucf";
    auto lower = openScreen(tool, shell::kDownloads);
    ScreenView below(*lower);
    below.show();
    auto upper = openScreen(tool, shell::kDiagnostics);
    auto above = std::make_unique<ScreenView>(*upper, &below);
    above->resize(kSmallScreenWidth - 100, above->height());
    above->show();
    StatusBar::syncAll();
    EXPECT_FALSE(below.statusBar().isVisible());
    EXPECT_TRUE(above->statusBar().isVisible());
    const QString shown = above->statusBar().shownOutcome();
    EXPECT_TRUE(shown.startsWith("Extract comp")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("unit-7.ucf")) << shown.toStdString();
    EXPECT_LT(shown.size(), above->statusBar().outcomeText().size());
    EXPECT_EQ(above->statusBar().findChildren<QLabel*>().last()->toolTip(),
              fromLatin1(tool.context.status));
    above.reset();
    EXPECT_TRUE(below.statusBar().isVisible()) << "back when the screen above closes";
    StatusBar::setSource({});
}

// Refusals that stop before anything is stored or sent, through the widgets: Enter
// on an empty new password, and Send on a Set Limits box that holds no number.
TEST(ShellScreens, RefusalsStoreAndSendNothing) {
    QtTool tool;
    tool.context.loginLevel = shell::kUser;
    QString said;
    auto readMessage = [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_TRUE(box);
        said = box->text();
        box->accept();
    };
    {
        shell::CnewPassword screen(tool.context);
        ScreenView view(screen);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        ModalDriver driver({readMessage});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(driver.finished());
        EXPECT_EQ(said, shell::kPasswordEmptyText);
        EXPECT_FALSE(screen.closed());
        EXPECT_EQ(tool.settings.read(shell::kSettingsSection, shell::kUserPasswordName, "<absent>"),
                  "<absent>");
    }
    {
        pages::CConfTab2 screen(tool.context);
        screen.setUp();
        ScreenView view(screen);
        view.show();
        QTest::keyClicks(lineEdit(&view, "Position"), "please get");
        ModalDriver driver({readMessage});
        QTest::mouseClick(qobject_cast<QPushButton*>(view.panel().widgetFor("positionSend")),
                          Qt::LeftButton);
        EXPECT_TRUE(driver.finished());
        EXPECT_EQ(said, "Position is not a number.");
        EXPECT_TRUE(tool.actuator.frames().empty());
    }
}

}  // namespace
}  // namespace vantrel::qt
