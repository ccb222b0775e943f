#include "CliUi.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <iterator>
#include <utility>

#include "link/ErrorFlags.h"
#include "link/Report.h"
#include "ui/Screen.h"
#include "ui/Sheet.h"

namespace vantrel::cli {

void CliUi::message(ui::MessageKind kind, const std::string& text, const std::string&, ui::Icon) {
    if (kind == ui::MessageKind::Refusal) ++refusals_;
    std::cerr << text << std::endl;
}

void CliUi::script(std::vector<ScriptedAnswer> answers) {
    script_.assign(std::make_move_iterator(answers.begin()),
                   std::make_move_iterator(answers.end()));
    askedInScript_.clear();
    scripting_ = true;
}

bool CliUi::endScript() {
    const bool used = script_.empty() && !fileAnswer_;
    scripting_ = false;
    askedInScript_.clear();
    script_.clear();
    fileAnswer_.reset();
    return used;
}

bool CliUi::answeredBySteps(ui::QuestionId question) {
    using enum ui::QuestionId;
    return question == SendPage || question == KeepChanges || question == SaveToFile ||
           question == Extract;
}

// The prompt answers No on an empty line whatever the default: a terminal never
// guesses Yes.
bool CliUi::question(const ui::Question& question) {
    const bool yes = answer(question);
    if (!yes) {
        ++declined_;
        lastDeclined_ = question.text;
    }
    return yes;
}

bool CliUi::answer(const ui::Question& question) {
    const std::string& text = question.text;
    std::cerr << text << " [y/N] ";
    if (scripting_) askedInScript_.push_back(text);
    if (!script_.empty() && script_.front().question == question.id) {
        const bool yes = script_.front().yes;
        script_.pop_front();
        std::cerr << (yes ? "y" : "n") << std::endl;
        return yes;
    }
    if (declineUnscripted_) {
        std::cerr << "n" << std::endl;
        return false;
    }
    if (assumeYes_ && !answeredBySteps(question.id)) {
        if (++yesAnswers_[text] > kMaxRepeatedYes) {
            std::cerr << "n (--yes answered it " << kMaxRepeatedYes << " times already)"
                      << std::endl;
            return false;
        }
        std::cerr << "y" << std::endl;
        return true;
    }
    if (!::isatty(STDIN_FILENO)) {
        std::cerr << "n" << std::endl;
        return false;
    }
    std::string answer;
    if (!std::getline(std::cin, answer)) return false;
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

void CliUi::error(const std::string& text) {
    ++errors_;
    std::cerr << text << std::endl;
    if (text == link::errorMessage(link::kPortNotOpen) && portErrorReason) {
        const std::string reason = portErrorReason();
        if (!reason.empty()) std::cerr << reason << std::endl;
    }
}

std::string withDefaultExtension(const std::string& name, std::string_view extension) {
    if (extension.empty() || std::filesystem::path(name).has_extension()) return name;
    return name + "." + std::string(extension);
}

bool isOutputFileName(const std::string& name, std::string_view extension) {
    if (name.empty()) {
        std::cerr << "vantrel-cli: -o needs a file name\n";
        return false;
    }
    std::error_code ec;
    for (const std::string& path : {name, withDefaultExtension(name, extension)}) {
        if (path.back() == '/' || std::filesystem::is_directory(path, ec)) {
            std::cerr << "vantrel-cli: -o takes a file name, not a folder: " << path << '\n';
            return false;
        }
    }
    return true;
}

std::optional<std::string> CliUi::saveFile(const ui::FileDialog& dialog) {
    auto answer = std::exchange(fileAnswer_, std::nullopt);
    if (answer) *answer = withDefaultExtension(*answer, dialog.extension);
    return answer;
}

std::optional<std::string> CliUi::openFile(const ui::FileDialog&) {
    return std::exchange(fileAnswer_, std::nullopt);
}

void CliUi::refresh() {
    if (onRefresh) onRefresh();
}

void CliUi::run(ui::Screen& screen) {
    screen.setUp();
    if (onRunScreen) onRunScreen(screen);
}

void CliUi::run(ui::Sheet& sheet) {
    if (sheet.pageCount() > 0) sheet.show(0);
    if (onRunSheet) onRunSheet(sheet);
}

}  // namespace vantrel::cli
