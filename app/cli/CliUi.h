#pragma once
// The Ui of vantrel-cli: messages and errors go to standard error as the same
// texts the GUI shows; questions a command step answers on the user's behalf are
// answered by its script, matched by what they ask; the others by --yes, by the
// person at the terminal, or No; file dialogs are answered by the path a command
// sets first.
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Ui.h"

namespace vantrel::cli {

// The path a save dialog answered with this name gives: the name with the default
// extension when it has none, as the GUI's save dialog does.
std::string withDefaultExtension(const std::string& name, std::string_view extension);

// Whether a name given with -o can name the file to write: not empty, not ending in
// '/', and neither it nor the name with the default extension an existing folder.
// Says why on standard error when it cannot.
bool isOutputFileName(const std::string& name, std::string_view extension);

class CliUi : public ui::Ui {
public:
    // --yes answers the same question Yes at most this many times, then No: a
    // question that asks whether to go on retrying would otherwise keep an
    // unattended run going for ever.
    static constexpr int kMaxRepeatedYes = 10;

    explicit CliUi(bool assumeYes) : assumeYes_(assumeYes) {}

    void message(ui::MessageKind kind, const std::string& text, const std::string& caption,
                 ui::Icon icon) override;
    bool question(const ui::Question& question) override;
    void error(const std::string& text) override;
    std::optional<std::string> saveFile(const ui::FileDialog& dialog) override;
    std::optional<std::string> openFile(const ui::FileDialog& dialog) override;
    void play(ui::Sound) override {}
    void setBusy(bool) override {}
    void refresh() override;
    void run(ui::Screen& screen) override;
    void run(ui::Sheet& sheet) override;

    // Answers the next save or open dialog with this path (once); without an
    // answer a dialog is cancelled. A save answer without an extension gets the
    // dialog's default extension, as the GUI's save dialog does.
    void setFileAnswer(std::string path) { fileAnswer_ = std::move(path); }

    // A question a command step answers itself, such as the Yes of "send".
    struct ScriptedAnswer {
        ui::QuestionId question;
        bool yes;
    };
    // Answers the next questions in this order: a question asking what the first
    // answer left answers takes it; any other question is answered as usual.
    void script(std::vector<ScriptedAnswer> answers);
    // Drops the answers and the file answer left unused; true when none was left.
    bool endScript();
    // The texts of the questions asked since the script began, in order.
    const std::vector<std::string>& askedInScript() const { return askedInScript_; }

    // Whether a question is one that a step of a command answers (send, keep,
    // discard, done, the choice between extracting and opening a file): --yes never
    // answers those, so that only the step that is there to answer them does.
    static bool answeredBySteps(ui::QuestionId question);

    // While set, a question the script does not answer is answered No, whatever
    // --yes says: a step that answers its own question changes nothing more.
    void declineUnscripted(bool decline) { declineUnscripted_ = decline; }

    // Called on every refresh (a long operation's status changed).
    std::function<void()> onRefresh;
    // Called after a screen's or sheet's set-up when it is run modally.
    std::function<void(ui::Screen&)> onRunScreen;
    std::function<void(ui::Sheet&)> onRunSheet;
    // The cause of a failed port opening, printed on the line after "Port did not open".
    std::function<std::string()> portErrorReason;

    // Error dialogs shown so far: a command that showed one has failed.
    int errorCount() const { return errors_; }
    // Error dialogs and refusing message boxes shown so far: a step that showed one
    // has failed. A note informs while the work goes on and fails nothing.
    int failureCount() const { return errors_ + refusals_; }
    // Questions answered No so far, however they were answered.
    int declinedCount() const { return declined_; }
    // The text of the question last answered No; empty before any.
    const std::string& lastDeclined() const { return lastDeclined_; }

private:
    bool answer(const ui::Question& question);

    bool assumeYes_;
    bool declineUnscripted_ = false;
    std::optional<std::string> fileAnswer_;
    std::deque<ScriptedAnswer> script_;
    std::vector<std::string> askedInScript_;
    bool scripting_ = false;
    std::map<std::string, int> yesAnswers_;  // by question text, under --yes
    int errors_ = 0;
    int refusals_ = 0;
    int declined_ = 0;
    std::string lastDeclined_;
};

}  // namespace vantrel::cli
