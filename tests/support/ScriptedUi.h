#pragma once
// A Ui for tests: answers questions and file dialogs from queues, records every
// message, error, sound and question shown, and runs screens by calling a script.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Screen.h"
#include "ui/Sheet.h"
#include "ui/Ui.h"

namespace vantrel::test {

class ScriptedUi : public ui::Ui {
public:
    // Everything shown, in order, one line each: "message: text", "error: text",
    // "question: caption: text", "save: name", "open: name".
    std::vector<std::string> shown;
    std::vector<std::string> messages;
    std::vector<std::string> notes;  // the messages that inform while the work goes on
    std::vector<std::string> errors;
    std::vector<std::string> questions;
    std::vector<ui::QuestionId> questionIds;  // what each question asks, in order
    std::vector<std::string> noByDefault;     // the questions whose default answer is No
    std::vector<ui::Sound> sounds;

    // Answers, taken from the front; an empty queue answers No / cancels.
    std::deque<bool> answers;
    std::deque<std::optional<std::string>> files;

    // Called for each screen or sheet that is run modally; the default closes it.
    std::function<void(ui::Screen&)> onRunScreen;
    std::function<void(ui::Sheet&)> onRunSheet;

    bool busy = false;
    int refreshes = 0;
    int busyCount = 0;  // times the busy cursor was switched on

    void message(ui::MessageKind kind, const std::string& text, const std::string& caption,
                 ui::Icon icon) override;
    bool question(const ui::Question& question) override;
    void error(const std::string& text) override;
    std::optional<std::string> saveFile(const ui::FileDialog& dialog) override;
    std::optional<std::string> openFile(const ui::FileDialog& dialog) override;
    void play(ui::Sound sound) override { sounds.push_back(sound); }
    void setBusy(bool on) override;
    void refresh() override { ++refreshes; }
    void run(ui::Screen& screen) override;
    void run(ui::Sheet& sheet) override;

    // Drops everything recorded so far (answers stay).
    void clearRecord();

private:
    // Records a file dialog and answers it from the queue.
    std::optional<std::string> takeFile(const std::string& shownAs);
};

}  // namespace vantrel::test
