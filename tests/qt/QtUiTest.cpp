// The Qt Ui: its dialogs answer as the user does, and file dialogs hand back usable
// paths. Dialogs are answered by a ModalDriver so that nothing waits for a person.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "CErrorDlg.h"
#include "ModalDriver.h"
#include "QtUi.h"
#include "SheetView.h"
#include "SoundPlayer.h"
#include "ui/Sheet.h"

namespace vantrel::qt {
namespace {

using test::ModalDriver;

void pressMessageButton(QWidget* modal, QMessageBox::StandardButton which) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_TRUE(box);
    box->button(which)->click();
}

TEST(QtUi, QuestionAnswersYesOrNo) {
    QtUi ui;
    QString text;
    ModalDriver driver({[&](QWidget* modal) {
                            text = qobject_cast<QMessageBox*>(modal)->text();
                            pressMessageButton(modal, QMessageBox::Yes);
                        },
                        [](QWidget* modal) { pressMessageButton(modal, QMessageBox::No); },
                        [](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); }});
    EXPECT_TRUE(
        ui.question({ui::QuestionId::SaveToFile, "Do you want to Save to file?", "Update"}));
    EXPECT_FALSE(
        ui.question({ui::QuestionId::SaveToFile, "Do you want to Save to file?", "Update"}));
    EXPECT_FALSE(ui.question({ui::QuestionId::OnTheWay, "Closed without an answer", "Update"}));
    EXPECT_TRUE(driver.finished());
    EXPECT_EQ(driver.seen(), (QStringList{"Update", "Update", "Update"}));
    EXPECT_EQ(text, "Do you want to Save to file?");
}

TEST(QtUi, EnterOnAnOverwriteQuestionAnswersNo) {
    QtUi ui;
    std::vector<QString> defaults;
    auto enter = [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_TRUE(box);
        defaults.push_back(box->defaultButton()->text());
        QTest::keyClick(box, Qt::Key_Return);
    };
    ModalDriver driver({enter, enter});
    EXPECT_FALSE(
        ui.question({ui::QuestionId::OverwriteEeprom,
                     "This will over write the WHOLE of the EEPROM", "Extract", ui::Answer::No}));
    EXPECT_TRUE(
        ui.question({ui::QuestionId::Extract, "Do you want to extract from Actuator?", "Extract"}));
    EXPECT_TRUE(driver.finished());
    EXPECT_EQ(defaults, (std::vector<QString>{"&No", "&Yes"}));
}

// The title is the caption or the program's name, never cut however short the text;
// every box carries an icon for its kind and no minimise or maximise button.
TEST(QtUi, MessageBoxesShowTheirKindAndTheirWholeTitle) {
    QtUi ui;
    std::vector<QMessageBox::Icon> icons;
    auto look = [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_TRUE(box);
        icons.push_back(box->icon());
        EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(box->windowTitle()))
            << box->windowTitle().toStdString();
        EXPECT_FALSE(box->windowFlags() &
                     (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        box->button(box->buttons().constFirst() == box->button(QMessageBox::Ok) ? QMessageBox::Ok
                                                                                : QMessageBox::No)
            ->click();
    };
    ModalDriver driver({look, look, look, look});
    ui.message(ui::MessageKind::Note, "DONE!!", "Extract", ui::Icon::Information);
    ui.message(ui::MessageKind::Refusal, "CRC wrong", "", ui::Icon::None);
    ui.message(ui::MessageKind::Note, "Saved",
               "The datalogger file could not be found where it was saved", ui::Icon::Exclamation);
    ui.question({ui::QuestionId::OnTheWay, "OK?",
                 "Have you applied the low value signal, to tracklin input"});
    EXPECT_TRUE(driver.finished());
    EXPECT_EQ(driver.seen().mid(0, 2), (QStringList{"Extract", "Rudozi Vantrel"}));
    EXPECT_EQ(icons,
              (std::vector<QMessageBox::Icon>{QMessageBox::Information, QMessageBox::Information,
                                              QMessageBox::Warning, QMessageBox::Question}));
}

TEST(QtUi, ErrorDialogShowsTheMessageUntilOk) {
    QtUi ui;
    QString shown;
    ModalDriver driver({[&](QWidget* modal) {
        auto* dialog = qobject_cast<CErrorDlg*>(modal);
        ASSERT_TRUE(dialog);
        shown = dialog->textLabel().text();
        EXPECT_EQ(dialog->okButton().text(), "OK");
        QTest::mouseClick(&dialog->okButton(), Qt::LeftButton);
    }});
    ui.error("Incorrect Password entered");
    EXPECT_TRUE(driver.finished());
    EXPECT_EQ(driver.seen(), QStringList{"Error"});
    EXPECT_EQ(shown, "Incorrect Password entered");
}

TEST(QtUi, FileDialogsAddTheExtensionAndRequireExistingFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QtUi ui;
    ui::FileDialog eeprom{"Eeprom", "ucf", "Eeprom Files (*.ucf)", "*.ucf"};
    QStringList filters;
    auto typeAndAccept = [&](const QString& name) {
        return [&, name](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_TRUE(dialog);
            filters = dialog->nameFilters();
            // Typed into the name box, as a user does.
            auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_TRUE(nameBox);
            nameBox->setText(dir.filePath(name));
            QMetaObject::invokeMethod(dialog, "accept");
        };
    };
    {
        ModalDriver driver({typeAndAccept("first")});
        auto saved = ui.saveFile(eeprom);
        ASSERT_TRUE(saved);
        EXPECT_EQ(*saved, dir.filePath("first.ucf").toStdString());
        EXPECT_EQ(filters, QStringList{"Eeprom Files (*.ucf)"});
    }
    {
        // A name typed with its own extension keeps it.
        ModalDriver driver({typeAndAccept("copy.txt")});
        EXPECT_EQ(ui.saveFile(eeprom), dir.filePath("copy.txt").toStdString());
    }
    {
        // Opening a file that is not there gives nothing.
        QPointer<QWidget> fileDialog;
        ModalDriver driver({[&](QWidget* modal) {
                                fileDialog = modal;
                                typeAndAccept("missing.ucf")(modal);
                            },
                            [&](QWidget* modal) {  // the dialog's own "not found" warning
                                EXPECT_TRUE(qobject_cast<QMessageBox*>(modal));
                                static_cast<QDialog*>(modal)->reject();
                                QTimer::singleShot(0, fileDialog, [&] {
                                    static_cast<QDialog*>(fileDialog.data())->reject();
                                });
                            }});
        EXPECT_FALSE(ui.openFile(eeprom));
        EXPECT_TRUE(driver.finished());
    }
    std::ofstream(dir.filePath("there.ucf").toStdString()) << "CUST_CFIG\t00\n";
    {
        ModalDriver driver({typeAndAccept("there.ucf")});
        EXPECT_EQ(ui.openFile(eeprom), dir.filePath("there.ucf").toStdString());
    }
    {
        ModalDriver driver({[](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); }});
        EXPECT_FALSE(ui.saveFile(eeprom));
    }
}

TEST(QtUi, FilterAndExtensionHelpers) {
    EXPECT_EQ(fileFilter({"", "dfg", "Datalog Files", "*.dfg"}), "Datalog Files (*.dfg)");
    EXPECT_EQ(fileFilter({"", "ucf", "Eeprom Files (*.ucf)", "*.ucf"}), "Eeprom Files (*.ucf)");
    EXPECT_EQ(withDefaultExtension("/tmp/a", "ucf"), "/tmp/a.ucf");
    EXPECT_EQ(withDefaultExtension("/tmp/a.dfg", "ucf"), "/tmp/a.dfg");
    EXPECT_EQ(withDefaultExtension("/tmp/v1.2/a", "ucf"), "/tmp/v1.2/a.ucf");
}

TEST(QtUi, SoundsAndBusyCursorNeverBlock) {
    QtUi ui;
    for (auto sound : {ui::Sound::Menu, ui::Sound::End, ui::Sound::Critical}) {
        EXPECT_TRUE(QFile::exists(SoundPlayer::resourcePath(sound)));
        ui.play(sound);
    }
    ui.setBusy(true);
    ui.setBusy(true);
    ASSERT_TRUE(QApplication::overrideCursor());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.setBusy(false);
    // Switched on twice, off once: the cursor is back to normal all the same.
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST(QtUi, DialogsShownWhileBusyShowTheNormalCursor) {
    QtUi ui;
    ui.setBusy(true);
    std::vector<bool> overridden;
    auto note = [&overridden] { overridden.push_back(QApplication::overrideCursor() != nullptr); };
    ModalDriver driver({[&](QWidget* modal) {
                            note();
                            pressMessageButton(modal, QMessageBox::Ok);
                        },
                        [&](QWidget* modal) {
                            note();
                            pressMessageButton(modal, QMessageBox::No);
                        },
                        [&](QWidget* modal) {
                            note();
                            static_cast<QDialog*>(modal)->accept();
                        }});
    ui.message(ui::MessageKind::Refusal, "Timeout receiving datalog", "", ui::Icon::None);
    ui.question({ui::QuestionId::SaveToFile, "Do you want to Save to file?", "Update"});
    ui.error("Block CRC wrong");
    EXPECT_TRUE(driver.finished());
    EXPECT_EQ(overridden, (std::vector<bool>{false, false, false}));
    // The operation is still busy once the dialogs have gone.
    ASSERT_TRUE(QApplication::overrideCursor());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.setBusy(false);
    EXPECT_FALSE(QApplication::overrideCursor());
}

class Page : public ui::Screen {
public:
    Page(std::string title, int& setUps, ui::Sheet* sheet = nullptr)
        : ui::Screen(std::move(title)), setUps_(setUps), sheet_(sheet) {}
    const char* className() const override { return "Page"; }
    void setUp() override {
        ++setUps_;
        addButton("Done", [this] { close(); });
        if (sheet_) addButton("To Contacts", [this] { sheet_->show("Contacts"); });
    }

private:
    int& setUps_;
    ui::Sheet* sheet_;
};

// Three pages that count their set-ups; with a sheet, a handler brings Contacts forward.
void addThreePages(ui::Sheet& sheet, int& setUps, ui::Sheet* bringsForward = nullptr) {
    for (const char* title : {"Stop Settings", "Limits", "Contacts"})
        sheet.addPage(std::make_unique<Page>(title, setUps, bringsForward));
}

TEST(QtUi, SheetSetsUpPagesWhenFirstShownAndClosesWithAnyPage) {
    int setUps = 0;
    ui::Sheet sheet("Configuration");
    addThreePages(sheet, setUps);
    SheetView view(sheet);
    view.show();
    EXPECT_EQ(setUps, 1);
    EXPECT_EQ(view.tabs().count(), 3);
    EXPECT_EQ(view.tabs().tabText(1), "Limits");
    EXPECT_FALSE(view.panel(1));

    view.tabs().setCurrentIndex(2);
    view.tabs().setCurrentIndex(0);
    view.tabs().setCurrentIndex(2);
    EXPECT_EQ(setUps, 2);  // pages are set up once, the first time they show
    ASSERT_TRUE(view.panel(2));

    QTest::mouseClick(qobject_cast<QPushButton*>(view.panel(2)->widgetFor("Done")), Qt::LeftButton);
    EXPECT_TRUE(sheet.closed());
    EXPECT_FALSE(view.isVisible());
}

TEST(QtUi, SheetShowsThePageAHandlerBringsToTheFront) {
    int setUps = 0;
    ui::Sheet sheet("Configuration");
    addThreePages(sheet, setUps, &sheet);
    SheetView view(sheet);
    view.show();
    QTest::mouseClick(qobject_cast<QPushButton*>(view.panel(0)->widgetFor("To Contacts")),
                      Qt::LeftButton);
    EXPECT_EQ(view.tabs().currentIndex(), 2);
    ASSERT_TRUE(view.panel(2));
    EXPECT_TRUE(view.panel(2)->widgetFor("Done"));
    EXPECT_EQ(setUps, 2);
}

TEST(QtUi, SheetWindowCloseCancelsWithoutPressingButtons) {
    int setUps = 0;
    ui::Sheet sheet("Configuration");
    sheet.addPage(std::make_unique<Page>("Stop Settings", setUps));
    QtUi ui;
    ModalDriver driver({[](QWidget* modal) { modal->close(); }});
    ui.run(sheet);
    EXPECT_TRUE(driver.finished());
    EXPECT_TRUE(sheet.closed());
}

// The pages are turned from the keyboard wherever the focus is, a list included.
TEST(QtUi, SheetPagesTurnByKeyboard) {
    int setUps = 0;
    ui::Sheet sheet("Configuration");
    addThreePages(sheet, setUps);
    SheetView view(sheet);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    struct Row {
        QKeyCombination keys;
        int page;
    };
    for (const Row& row : {Row{Qt::CTRL | Qt::Key_PageDown, 1}, Row{Qt::CTRL | Qt::Key_Tab, 2},
                           Row{Qt::CTRL | Qt::Key_Tab, 0}, Row{Qt::CTRL | Qt::Key_PageUp, 2},
                           Row{Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, 1}}) {
        QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : &view;
        QTest::keyClick(focused, row.keys.key(), row.keys.keyboardModifiers());
        // The shortcut may be delivered through the event loop.
        EXPECT_TRUE(QTest::qWaitFor([&] { return view.tabs().currentIndex() == row.page; }, 1000))
            << "page " << view.tabs().currentIndex() << ", wanted " << row.page;
    }
    EXPECT_EQ(setUps, 3);
}

// The sheet opens as wide as its tab bar needs, so every title shows whole.
TEST(QtUi, SheetOpensWideEnoughForItsTabs) {
    int setUps = 0;
    ui::Sheet sheet("Configuration");
    for (const char* title :
         {"Stop Settings", "Contacts S1 to S8", "Protection", "ESD", "Control", "Service Notes"})
        sheet.addPage(std::make_unique<Page>(title, setUps));
    SheetView view(sheet);
    view.show();
    const int needed = view.tabs().tabBar()->sizeHint().width();
    ASSERT_LT(needed, view.screen()->availableGeometry().width()) << "fits the test screen";
    EXPECT_GE(view.tabs().width(), needed);
}

}  // namespace
}  // namespace vantrel::qt
