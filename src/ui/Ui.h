#pragma once
// The one interface to the platform's dialogs. The Qt front end implements it with
// real dialogs, the command line with standard error and the terminal, the tests
// with a scripted fake.
#include <optional>
#include <string>

namespace vantrel::ui {

class Screen;
class Sheet;

enum class Sound { Menu, End, Critical };

enum class Icon { None, Information, Exclamation };

// The answer Enter gives to a question. A question whose Yes destroys or overwrites
// something takes No, so that a hurried key press never does.
enum class Answer { Yes, No };

// What a question asks, whatever its words. It is declared where the question is
// asked, so that a front end answering on the user's behalf (the command line's
// steps) answers by what is asked, never by the text.
enum class QuestionId {
    SendPage,               // a page's Send: send the page's data to the actuator
    KeepChanges,            // asked after No to SendPage: keep the edits in the image
    SaveToFile,             // the sheet's Done: save the image to a file
    Extract,                // View Configuration: extract (Yes) or open a file (No)
    OverwriteEeprom,        // Update EEPROM: write a file over the whole EEPROM
    CopyDefaultsToCurrent,  // the Configuration menu's two copies
    CopyCurrentToDefaults,
    SendRecalibration,  // Re-calibrate torque sensor: store and send the new values
    ApplyTemplate,      // the command line's apply: send a template's changes
    OnTheWay,           // any other question a screen asks while it works
};

struct Question {
    QuestionId id;
    std::string text;
    std::string caption;
    Answer byDefault = Answer::Yes;  // the answer the Enter key gives
};

// What a message box does to the work that shows it: a note informs while the work
// goes on; a refusal (or an error) means what was asked is refused or went wrong.
enum class MessageKind { Note, Refusal };

// A save or open dialog: default file name, default extension and one filter.
struct FileDialog {
    std::string defaultName;    // "Eeprom"
    std::string extension;      // "ucf"
    std::string filterName;     // "Eeprom Files (*.ucf)"
    std::string filterPattern;  // "*.ucf"
};

class Ui {
public:
    virtual ~Ui() = default;

    // A message box with an OK button; the caption may be empty.
    virtual void message(MessageKind kind, const std::string& text, const std::string& caption = {},
                         Icon icon = Icon::None) = 0;
    // A Yes/No question; true for Yes.
    virtual bool question(const Question& question) = 0;
    // The Error dialog (CErrorDlg, titled "Error") with its OK button.
    virtual void error(const std::string& text) = 0;
    // File dialogs; nothing when the user cancels. The open dialog requires the
    // file to exist; the save dialog adds the default extension when none is typed.
    virtual std::optional<std::string> saveFile(const FileDialog& dialog) = 0;
    virtual std::optional<std::string> openFile(const FileDialog& dialog) = 0;

    // Plays a sound without blocking; silent where there is no audio device.
    virtual void play(Sound sound) = 0;
    // The busy (wait) cursor on or off.
    virtual void setBusy(bool busy) = 0;
    // Repaints the open screens during a long operation (status lines, progress bars).
    virtual void refresh() = 0;

    // Shows a screen modally until it closes; calls its setUp first.
    virtual void run(Screen& screen) = 0;
    // Shows a sheet modally until one of its pages closes it.
    virtual void run(Sheet& sheet) = 0;
};

}  // namespace vantrel::ui
