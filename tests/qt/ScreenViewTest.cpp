// The generic view: every control kind becomes the right widget, edits reach the
// models, handlers run on clicks and the widgets follow the models afterwards.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <memory>

#include "LampIndicator.h"
#include "ModalDriver.h"
#include "QtUi.h"
#include "ScreenView.h"

namespace vantrel::qt {
namespace {

using test::findByText;

// A screen with one of everything, and handlers that change other controls.
class Everything : public ui::Screen {
public:
    Everything() : ui::Screen("Everything") {
        section("Settings");
        status = &addLabel("idle", "status");
        addButton("Apply", [this] {
            ++applied;
            status->text = "applied";
            hideMe->visible = false;
            extra->enabled = !extra->enabled;
            list->assign({"10", "20", "30"});
            list->selected = 2;
            lamp->lit = true;
            bar->value = 40;
        });
        toggle = &addTwoStateButton("Close on Torque", "Close On Limit", [this] { ++toggled; });
        box = &addCheckBox("5% Boost");
        box->onChange = [this] { status->text = box->checked ? "boost on" : "boost off"; };
        list = &addComboBox("Close Torque %");
        list->assign({"40", "50"});
        list->selected = 0;
        name = &addEdit("Name");
        name->maxLength = 8;
        secret = &addEdit("Password");
        secret->masked = true;
        notes = &addEdit("Notes");
        notes->multiLine = true;
        notes->maxLength = 12;
        notes->text = "one\r\ntwo";
        hideMe = &addButton("Hidden later", nullptr);
        extra = &addButton("Extra", nullptr);

        section("Action", 3);
        for (const char* text : {"Open", "Close", "Stay put"})
            radios.push_back(&addRadioButton(text, "action"));
        radios[1]->checked = true;

        section("Indicators", 2, true);
        for (const char* text : {"A", "B", "C", "D"})
            lamps.push_back(&addLamp(text));
        lamp = lamps[0];
        section();
        bar = &addProgressBar("progress");
        addPicture();
        auto& gone = addButton("Never shown", nullptr);
        gone.visible = false;
    }
    const char* className() const override { return "Everything"; }

    int applied = 0, toggled = 0;
    ui::Label* status;
    ui::Button* toggle;
    ui::CheckBox* box;
    ui::ComboBox* list;
    ui::Edit *name, *secret, *notes;
    ui::Button *hideMe, *extra;
    std::vector<ui::RadioButton*> radios;
    std::vector<ui::Lamp*> lamps;
    ui::Lamp* lamp;
    ui::ProgressBar* bar;
};

template <class T>
T* widget(ScreenView& view, std::string_view key) {
    return qobject_cast<T*>(view.panel().widgetFor(key));
}

TEST(ScreenView, RendersEveryControlKindFromTheModel) {
    Everything screen;
    ScreenView view(screen);
    view.show();

    EXPECT_EQ(view.windowTitle(), "Everything");
    ASSERT_TRUE(widget<QLabel>(view, "status"));
    EXPECT_EQ(widget<QLabel>(view, "status")->text(), "idle");
    EXPECT_EQ(test::shownText(widget<QPushButton>(view, "Close on Torque")->text()),
              "Close on Torque");
    EXPECT_FALSE(widget<QCheckBox>(view, "5% Boost")->isChecked());
    auto* combo = widget<QComboBox>(view, "Close Torque %");
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentText(), "40");
    EXPECT_EQ(widget<QLineEdit>(view, "Password")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(widget<QLineEdit>(view, "Name")->maxLength(), 8);
    // CR LF in the model shows as two lines.
    EXPECT_EQ(widget<QPlainTextEdit>(view, "Notes")->toPlainText(), "one\ntwo");
    EXPECT_TRUE(widget<QRadioButton>(view, "Close")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>(view, "Open")->isChecked());
    ASSERT_TRUE(qobject_cast<LampIndicator*>(view.panel().widgetFor("A")));
    ASSERT_TRUE(widget<QProgressBar>(view, "progress"));
    ASSERT_TRUE(widget<QLabel>(view, "picture"));
    EXPECT_FALSE(widget<QLabel>(view, "picture")->pixmap().isNull());

    // Lists and edits carry their label beside them; titled sections are frames.
    EXPECT_TRUE(findByText<QLabel>(&view, "Close Torque %"));
    EXPECT_TRUE(findByText<QLabel>(&view, "Name"));
    QStringList frames;
    for (auto* frame : view.findChildren<QGroupBox*>())
        frames << frame->title();
    EXPECT_EQ(frames, (QStringList{"Settings", "Action", "Indicators"}));

    // Hidden controls are not shown; the help of a screen is just a hidden button.
    EXPECT_FALSE(view.panel().widgetFor("Never shown")->isVisible());
    EXPECT_TRUE(view.panel().widgetFor("Hidden later")->isVisible());
}

TEST(ScreenView, GridsFillRowByRowOrColumnByColumn) {
    Everything screen;
    ScreenView view(screen);
    view.show();
    auto pos = [&](std::string_view key) { return view.panel().widgetFor(key)->geometry(); };
    // Three radio buttons in three columns: one row.
    EXPECT_EQ(pos("Open").top(), pos("Stay put").top());
    EXPECT_LT(pos("Open").left(), pos("Close").left());
    // Four lamps in two columns, column by column: A above B, C beside A.
    EXPECT_LT(pos("A").top(), pos("B").top());
    EXPECT_EQ(pos("A").top(), pos("C").top());
    EXPECT_LT(pos("A").left(), pos("C").left());
    EXPECT_EQ(pos("C").left(), pos("D").left());
}

TEST(ScreenView, ClickRunsTheHandlerAndResyncsEveryWidget) {
    Everything screen;
    ScreenView view(screen);
    view.show();

    QTest::mouseClick(widget<QPushButton>(view, "Apply"), Qt::LeftButton);
    EXPECT_EQ(screen.applied, 1);
    EXPECT_EQ(widget<QLabel>(view, "status")->text(), "applied");
    EXPECT_FALSE(view.panel().widgetFor("Hidden later")->isVisible());
    EXPECT_FALSE(view.panel().widgetFor("Extra")->isEnabled());
    auto* combo = widget<QComboBox>(view, "Close Torque %");
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "30");
    EXPECT_TRUE(qobject_cast<LampIndicator*>(view.panel().widgetFor("A"))->isLit());
    EXPECT_EQ(widget<QProgressBar>(view, "progress")->value(), 40);
    // Refilling the list from the model must not have been taken as a user's choice.
    EXPECT_EQ(screen.list->selected, 2);

    // A hidden or disabled button's handler never runs, even when asked directly.
    view.panel().press(*screen.extra);
    view.panel().press(*screen.hideMe);
    EXPECT_EQ(screen.applied, 1);
}

TEST(ScreenView, TwoStateButtonShowsItsSetting) {
    Everything screen;
    ScreenView view(screen);
    view.show();
    auto* button = widget<QPushButton>(view, "Close on Torque");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(screen.toggled, 1);
    EXPECT_TRUE(screen.toggle->isSecond());
    EXPECT_EQ(test::shownText(button->text()), "Close On Limit");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(test::shownText(button->text()), "Close on Torque");
}

TEST(ScreenView, WidgetEditsReachTheModels) {
    Everything screen;
    ScreenView view(screen);
    view.show();

    widget<QCheckBox>(view, "5% Boost")->click();
    EXPECT_TRUE(screen.box->checked);
    EXPECT_EQ(widget<QLabel>(view, "status")->text(), "boost on");

    widget<QComboBox>(view, "Close Torque %")->setCurrentIndex(1);
    EXPECT_EQ(screen.list->selectedText(), "50");

    // One choice per group, in the model as on the screen.
    widget<QRadioButton>(view, "Stay put")->click();
    EXPECT_FALSE(screen.radios[0]->checked);
    EXPECT_FALSE(screen.radios[1]->checked);
    EXPECT_TRUE(screen.radios[2]->checked);
    EXPECT_FALSE(widget<QRadioButton>(view, "Close")->isChecked());

    // Typed text is 8-bit; the box stops at the maximum length.
    widget<QLineEdit>(view, "Name")->insert(QString::fromUtf8("Gr\u00FC\u00DFe-valve"));
    EXPECT_EQ(screen.name->text,
              "Gr\xFC\xDF"
              "e-va");

    // A multi-line box keeps the model's CR LF line ends and its maximum length.
    auto* notes = widget<QPlainTextEdit>(view, "Notes");
    notes->setPlainText("a\nb\nc-too-long-for-it");
    EXPECT_EQ(screen.notes->text, "a\r\nb\r\nc-too-lo");
    EXPECT_EQ(notes->toPlainText(), "a\nb\nc-too-lo");
}

TEST(ScreenView, ListsAreRefilledOnlyWhenTheirEntriesChange) {
    Everything screen;
    ScreenView view(screen);
    view.show();
    auto* combo = widget<QComboBox>(view, "Close Torque %");
    int refills = 0;
    QObject::connect(combo->model(), &QAbstractItemModel::rowsInserted, [&] { ++refills; });

    // Typing elsewhere re-syncs every widget but leaves the list alone.
    QTest::keyClicks(widget<QLineEdit>(view, "Name"), "abc");
    EXPECT_EQ(refills, 0);

    // New entries of the same count are shown, and so is the model's choice.
    screen.list->clear();
    screen.list->add("60");
    screen.list->add("70");
    screen.list->selected = 1;
    QtUi().refresh();
    EXPECT_GT(refills, 0);
    EXPECT_EQ(combo->itemText(0), "60");
    EXPECT_EQ(combo->currentText(), "70");
    EXPECT_EQ(screen.list->selected, 1);
}

TEST(ScreenView, NumericBoxTakesOnlyNumbersOfItsRange) {
    class Numbers : public ui::Screen {
    public:
        Numbers() : ui::Screen("Numbers") {
            delay = &addEdit("Delay (s)");
            delay->numeric = ui::NumericRange{0, 25.5, 1};
            delay->setNumber(2);
        }
        const char* className() const override { return "Numbers"; }
        ui::Edit* delay;
    } screen;
    ScreenView view(screen);
    view.show();
    auto* box = widget<QLineEdit>(view, "Delay (s)");
    EXPECT_EQ(box->text(), "2.0");
    EXPECT_TRUE(box->alignment() & Qt::AlignRight);

    box->clear();
    // Letters, a comma, a sign the range cannot take and a second decimal are refused.
    QTest::keyClicks(box, "1a,-2.55");
    EXPECT_EQ(screen.delay->text, "12.5");
    EXPECT_EQ(screen.delay->number(), 12.5);

    // On the way to a number of the range the text is kept, and read as none yet.
    for (const char* typed : {".", "30"}) {
        box->clear();
        QTest::keyClicks(box, typed);
        EXPECT_EQ(screen.delay->text, typed);
        EXPECT_EQ(screen.delay->number(), std::nullopt) << typed;
    }
}

TEST(ScreenView, ModelChangesOutsideHandlersShowOnRefresh) {
    Everything screen;
    QtUi ui;
    ScreenView view(screen);
    view.show();
    // A long operation steps a progress bar and a lamp, then refreshes.
    screen.bar->value = 75;
    screen.lamps[3]->lit = true;
    screen.radios[1]->checked = false;  // a group may show no choice at all
    ui.refresh();
    EXPECT_EQ(widget<QProgressBar>(view, "progress")->value(), 75);
    EXPECT_TRUE(qobject_cast<LampIndicator*>(view.panel().widgetFor("D"))->isLit());
    for (const char* text : {"Open", "Close", "Stay put"})
        EXPECT_FALSE(widget<QRadioButton>(view, text)->isChecked()) << text;
}

TEST(ScreenView, LampsCannotBeChangedByTheUser) {
    Everything screen;
    ScreenView view(screen);
    view.show();
    QWidget* lamp = view.panel().widgetFor("B");
    QTest::mouseClick(lamp, Qt::LeftButton);
    QTest::keyClick(lamp, Qt::Key_Space);
    EXPECT_FALSE(screen.lamps[1]->lit);
    EXPECT_EQ(lamp->focusPolicy(), Qt::NoFocus);
}

// A page that swaps its controls, as the notes page swaps its two views.
class Swapping : public ui::Screen {
public:
    Swapping() : ui::Screen("Swapping") { buildNotes(); }
    const char* className() const override { return "Swapping"; }
    void buildNotes() {
        clearControls();
        addEdit("Service Notes:");
        addTwoStateButton(
            "Notes", "S/Nos", [this] { buildSerials(); }, "view");
    }
    void buildSerials() {
        clearControls();
        for (const char* label : {"Main PCB:", "Power PCB:"})
            addEdit(label);
        auto& view = addTwoStateButton(
            "Notes", "S/Nos", [this] { buildNotes(); }, "view");
        view.caption = "S/Nos";
        setFocus("Power PCB:");
    }
};

TEST(ScreenView, RebuildsWhenTheScreenReplacesItsControls) {
    Swapping screen;
    ScreenView view(screen);
    view.show();
    ASSERT_TRUE(view.panel().widgetFor("Service Notes:"));

    QTest::mouseClick(qobject_cast<QPushButton*>(view.panel().widgetFor("view")), Qt::LeftButton);
    EXPECT_FALSE(view.panel().widgetFor("Service Notes:"));
    auto* power = qobject_cast<QLineEdit*>(view.panel().widgetFor("Power PCB:"));
    ASSERT_TRUE(power);
    EXPECT_EQ(test::shownText(qobject_cast<QPushButton*>(view.panel().widgetFor("view"))->text()),
              "S/Nos");

    // The new widgets are live: typing reaches the new model.
    QTest::keyClicks(power, "P123");
    EXPECT_EQ(screen.get<ui::Edit>("Power PCB:").text, "P123");

    // And back again, twice over, without touching the controls that were removed.
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(qobject_cast<QPushButton*>(view.panel().widgetFor("view")),
                          Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(view.panel().widgetFor("Main PCB:"));
    // The widgets of earlier views are gone, not merely hidden.
    EXPECT_EQ(view.findChildren<QLineEdit*>().size(), 2);
}

// A page whose handlers rebuild the controls they belong to and then go on with
// their captures, as a page's "Current" button or view list does.
class SelfRebuilding : public ui::Screen {
public:
    SelfRebuilding() : ui::Screen("Self") { rebuild(); }
    const char* className() const override { return "SelfRebuilding"; }
    void rebuild() {
        clearControls();
        addButton("Flip", [this, token = std::make_shared<int>()] {
            std::weak_ptr<int> mine = token;
            rebuild();
            aliveAfterRebuild.push_back(!mine.expired());
        });
        auto& list = addComboBox("View");
        list.assign({"One", "Two"});
        list.selected = 0;
        list.onChange = [this, token = std::make_shared<int>()] {
            std::weak_ptr<int> mine = token;
            rebuild();
            aliveAfterRebuild.push_back(!mine.expired());
        };
    }
    std::vector<bool> aliveAfterRebuild;
};

TEST(ScreenView, HandlerThatRebuildsItsOwnControlRunsToTheEnd) {
    SelfRebuilding screen;
    ScreenView view(screen);
    view.show();
    QTest::mouseClick(qobject_cast<QPushButton*>(view.panel().widgetFor("Flip")), Qt::LeftButton);
    qobject_cast<QComboBox*>(view.panel().widgetFor("View"))->setCurrentIndex(1);
    EXPECT_EQ(screen.aliveAfterRebuild, (std::vector<bool>{true, true}));
    // The new widgets show the new controls.
    auto* list = qobject_cast<QComboBox*>(view.panel().widgetFor("View"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_TRUE(view.panel().widgetFor("Flip"));
}

// A menu: a button that opens nothing but moves focus, and an exit button.
class Menu : public ui::Screen {
public:
    explicit Menu(bool withExit) : ui::Screen("Menu") {
        addEdit("Search");
        addButton("About...", [this] { setFocus("EXIT"); });
        if (withExit)
            addButton("EXIT", [this] {
                ++exits;
                close();
            }).isExit = true;
    }
    const char* className() const override { return "Menu"; }
    int exits = 0;
};

TEST(ScreenView, FocusFollowsTheScreen) {
    Menu screen(true);
    ScreenView view(screen);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QTest::mouseClick(qobject_cast<QPushButton*>(view.panel().widgetFor("About...")),
                      Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), view.panel().widgetFor("EXIT"));
}

TEST(ScreenView, EnterPressesTheFocusedButtonButNotFromABox) {
    Menu screen(true);
    ScreenView view(screen);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QWidget* search = view.panel().widgetFor("Search");
    search->setFocus();
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), search);

    auto* about = qobject_cast<QPushButton*>(view.panel().widgetFor("About..."));
    about->setFocus();
    QTest::keyClick(about, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), view.panel().widgetFor("EXIT"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(screen.exits, 1);
    EXPECT_TRUE(screen.closed());
}

TEST(ScreenView, ClosesWhenTheScreenCloses) {
    Menu screen(true);
    ScreenView view(screen);
    view.show();
    QTest::mouseClick(qobject_cast<QPushButton*>(view.panel().widgetFor("EXIT")), Qt::LeftButton);
    EXPECT_TRUE(screen.closed());
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(view.result(), QDialog::Accepted);
}

TEST(ScreenView, WindowCloseButtonLeavesThroughTheExitButton) {
    Menu screen(true);
    ScreenView view(screen);
    view.show();
    view.close();  // the window's X
    EXPECT_EQ(screen.exits, 1);
    EXPECT_TRUE(screen.closed());
    EXPECT_FALSE(view.isVisible());

    // Without an exit button the screen is simply closed.
    Menu bare(false);
    ScreenView bareView(bare);
    bareView.show();
    QTest::keyClick(&bareView, Qt::Key_Escape);
    EXPECT_TRUE(bare.closed());
    EXPECT_FALSE(bareView.isVisible());
}

TEST(ScreenView, RunReturnsAtOnceForAScreenClosedDuringSetUp) {
    class ClosesAtOnce : public ui::Screen {
    public:
        ClosesAtOnce() : ui::Screen("Gone") {}
        const char* className() const override { return "ClosesAtOnce"; }
        void setUp() override { close(); }
    } screen;
    QtUi ui;
    test::ModalDriver driver({}, 2000);
    ui.run(screen);
    EXPECT_TRUE(driver.seen().isEmpty());
}

// While an operation runs the screen's input is shown disabled, its texts are not;
// afterwards exactly what the model enables comes back.
TEST(ScreenView, BusyDisablesTheInputAndRestoresItAfterwards) {
    QtUi ui;
    Everything screen;
    screen.extra->enabled = false;
    ScreenView view(screen);
    view.show();
    const std::vector<std::string> inputs = {"Apply", "5% Boost", "Close Torque %",
                                             "Name",  "Notes",    "Open"};
    ui.setBusy(true);
    for (const std::string& key : inputs)
        EXPECT_FALSE(view.panel().widgetFor(key)->isEnabled()) << key;
    EXPECT_TRUE(view.panel().widgetFor("status")->isEnabled());
    screen.status->text = "working";
    ui.refresh();  // a repaint mid-operation keeps the input disabled
    EXPECT_FALSE(view.panel().widgetFor("Apply")->isEnabled());
    ui.setBusy(false);
    for (const std::string& key : inputs)
        EXPECT_TRUE(view.panel().widgetFor(key)->isEnabled()) << key;
    EXPECT_FALSE(view.panel().widgetFor("Extra")->isEnabled()) << "disabled by its model";
}

// Text boxes take only characters with a one-byte form; the rest are refused.
TEST(ScreenView, TextBoxesRefuseCharactersTheyCannotStore) {
    Everything screen;
    ScreenView view(screen);
    view.show();
    auto* name = widget<QLineEdit>(view, "Name");
    // Typed one key at a time (QTest::keyClicks takes only ASCII).
    for (QChar c : QStringLiteral("ab\u20ACc\u00E9")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(name, &press);
    }
    EXPECT_EQ(screen.name->text, "abc\xE9");
    auto* notes = widget<QPlainTextEdit>(view, "Notes");
    notes->clear();
    notes->insertPlainText(QStringLiteral("x\u0151y"));
    EXPECT_EQ(screen.notes->text, "xy");
    EXPECT_EQ(notes->toPlainText(), "xy");
}

// Every button gets its own Alt shortcut, the model's caption unchanged.
TEST(ScreenView, EveryButtonHasItsOwnAltShortcut) {
    Everything screen;
    ScreenView view(screen);
    view.show();
    QSet<QChar> letters;
    for (QPushButton* button : view.findChildren<QPushButton*>()) {
        const QString text = button->text();
        const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
        ASSERT_GE(at, 0) << text.toStdString();
        EXPECT_FALSE(letters.contains(text[at + 1].toLower())) << text.toStdString();
        letters.insert(text[at + 1].toLower());
    }
    EXPECT_EQ(screen.toggle->caption, "Close on Torque");
    // The marked letter is the button's Alt shortcut.
    auto* apply = widget<QPushButton>(view, "Apply");
    const QChar letter = apply->text()[apply->text().indexOf('&') + 1];
    EXPECT_EQ(apply->shortcut(), QKeySequence(QStringLiteral("Alt+") + letter.toUpper()));
}

}  // namespace
}  // namespace vantrel::qt

namespace vantrel::qt {
namespace {

// A screen whose "Operate" runs an operation during which the user clicks and types.
class BusyScreen : public ui::Screen {
public:
    explicit BusyScreen(QtUi& ui) : ui::Screen("Busy") {
        section();
        level = &addComboBox("Level");
        level->assign({"User", "Service"});
        level->selected = 0;
        addButton("Operate", [this, &ui] {
            ui.setBusy(true);
            ui.refresh();
            // Posted events stand for the window system's queue, which a repaint
            // mid-operation leaves alone: they are posted after the last one.
            if (duringOperation) duringOperation();
            ui.setBusy(false);
        });
        addButton("Read", [this] { ++reads; });
        addButton("Close", [this] { close(); }).isExit = true;
    }
    const char* className() const override { return "Busy"; }
    ui::ComboBox* level;
    std::function<void()> duringOperation;
    int reads = 0;
};

// As the window system queues them: a click, and a key with its shortcut check.
void queueClick(QWidget* target) {
    const QPointF at = QRectF(target->rect()).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            target, new QMouseEvent(type, at, target->mapToGlobal(at), Qt::LeftButton,
                                    Qt::LeftButton, Qt::NoModifier));
}
void queueKey(QWidget* target, int key) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QCoreApplication::postEvent(target, new QKeyEvent(type, key, Qt::NoModifier, " "));
}

TEST(ScreenView, InputQueuedWhileBusyIsDroppedNotRunAfterwards) {
    QtUi ui;
    BusyScreen screen(ui);
    ScreenView view(screen);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    auto* read = widget<QPushButton>(view, "Read");
    QWidget* level = view.panel().widgetFor("Level");
    // A click on the greyed button, Space on it, and a key on the list, all given
    // while the operation runs.
    screen.duringOperation = [&] {
        queueClick(read);
        read->setFocus();
        queueKey(read, Qt::Key_Space);
        queueKey(level, Qt::Key_Down);
    };
    QTest::mouseClick(widget<QPushButton>(view, "Operate"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(screen.reads, 0);
    EXPECT_EQ(screen.level->selected, 0);
    EXPECT_TRUE(read->isEnabled());
    // Input given after the operation works as ever.
    QTest::mouseClick(read, Qt::LeftButton);
    EXPECT_EQ(screen.reads, 1);

    // A question the operation asks does not take an Enter pressed before it showed.
    bool answer = true;
    screen.duringOperation = [&] {
        queueKey(read, Qt::Key_Return);
        answer = ui.question({ui::QuestionId::Extract, "Extract?", "Update"});
    };
    test::ModalDriver driver({[](QWidget* modal) {
        QTest::mouseClick(findByText<QPushButton>(modal, "No"), Qt::LeftButton);
    }});
    QTest::mouseClick(widget<QPushButton>(view, "Operate"), Qt::LeftButton);
    EXPECT_TRUE(driver.finished());
    EXPECT_FALSE(answer);
    EXPECT_EQ(screen.reads, 1);
}

// A screen opening with a button that writes first, a list, and a box.
class WritingScreen : public ui::Screen {
public:
    WritingScreen(bool withList, bool withExit) : ui::Screen("Writing") {
        section();
        auto& home = addButton("Set position to 0% (home)", [this] { ++writes; });
        home.writes = true;
        home.isDefault = true;
        if (withList) {
            auto& list = addComboBox("Number Ports");
            list.assign({"2", "3"});
        }
        addButton("Read", nullptr);
        if (withExit) addButton("BACK", [this] { close(); }).isExit = true;
    }
    const char* className() const override { return "Writing"; }
    int writes = 0;
};

TEST(ScreenView, NoScreenOpensOnAButtonThatWrites) {
    struct Row {
        bool list, exit;
        const char* startsOn;
    };
    for (const Row& row :
         {Row{true, true, "Number Ports"}, Row{false, true, "BACK"}, Row{false, false, "Read"}}) {
        SCOPED_TRACE(row.startsOn);
        WritingScreen screen(row.list, row.exit);
        screen.setFocus("Set position to 0% (home)");  // named, yet it writes
        ScreenView view(screen);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        EXPECT_EQ(QApplication::focusWidget(), view.panel().widgetFor(row.startsOn));
        auto* home = widget<QPushButton>(view, "Set position to 0% (home)");
        EXPECT_FALSE(home->isDefault());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(screen.writes, 0);
    }
}

// Choosing another entry of a list with the keys leaves the focus on the list, even
// where the screen names another control for its buttons.
TEST(ScreenView, AChangeOfSelectionNeverMovesTheFocus) {
    QtUi ui;
    BusyScreen screen(ui);
    screen.setFocus("Read");
    ScreenView view(screen);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QWidget* level = view.panel().widgetFor("Level");
    level->setFocus();
    QTest::keyClick(level, Qt::Key_Down);
    EXPECT_EQ(screen.level->selected, 1);
    EXPECT_EQ(QApplication::focusWidget(), level);
}

}  // namespace
}  // namespace vantrel::qt
