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
    virtual void message(const std::string& text, const std::string& caption = {},
                         Icon icon = Icon::None) = 0;
    // A Yes/No question; true for Yes. byDefault is the answer the Enter key gives.
    virtual bool question(const std::string& text, const std::string& caption,
                          Answer byDefault = Answer::Yes) = 0;
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
