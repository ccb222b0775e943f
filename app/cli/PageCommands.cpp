// page and config: the configuration sheet opened as "View Configuration" opens it,
// then driven step by step by what a person sees on its pages; and the two copy
// buttons of the Configuration menu.
#include <array>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "CliUi.h"
#include "Command.h"
#include "DeviceText.h"
#include "WriteWatch.h"
#include "image/ImageTransfer.h"
#include "pages/ConfigMenu.h"
#include "pages/ConfigPage.h"
#include "pages/ConfigSheet.h"
#include "registry/SheetPages.h"
#include "ui/ScreenDriver.h"
#include "ui/Sheet.h"

namespace vantrel::cli {

namespace {

constexpr const char* kSendCaption = "Send";
constexpr const char* kDoneCaption = "Done";
constexpr std::string_view kImageExtension = "ucf";

struct Step {
    std::string verb;
    std::string argument;  // NAME=VALUE, CAPTION, TITLE or the -o file; may be empty
    std::string text() const { return argument.empty() ? verb : verb + " " + argument; }
};

struct PageArgs {
    std::string title;
    std::optional<std::string> from;
    std::vector<Step> steps;
};

// Reads TITLE [--from FILE.ucf] STEP...; nothing when the words do not form steps.
// "done" closes the sheet, so it can only be the last step.
std::optional<PageArgs> parsePageArgs(std::span<const std::string> args) {
    PageArgs parsed;
    std::size_t i = 0;
    if (i >= args.size()) return std::nullopt;
    parsed.title = args[i++];
    if (i < args.size() && args[i] == "--from") {
        if (i + 1 >= args.size() || args[i + 1].empty()) return std::nullopt;
        parsed.from = args[i + 1];
        i += 2;
    }
    while (i < args.size()) {
        Step step{args[i++], {}};
        const std::string& verb = step.verb;
        if (verb == "set" || verb == "press" || verb == "goto") {
            if (i >= args.size()) return std::nullopt;
            step.argument = args[i++];
            if (verb == "set" && step.argument.find('=') == std::string::npos) return std::nullopt;
        } else if (verb == "done") {
            if (i < args.size() && args[i] == "-o") {
                if (i + 1 >= args.size() || !isOutputFileName(args[i + 1], kImageExtension))
                    return std::nullopt;
                step.argument = args[i + 1];
                i += 2;
            }
            if (i != args.size()) return std::nullopt;
        } else if (verb != "show" && verb != "send" && verb != "keep" && verb != "discard") {
            return std::nullopt;
        }
        parsed.steps.push_back(std::move(step));
    }
    if (parsed.steps.empty()) return std::nullopt;
    return parsed;
}

int usageProblem(const std::string& problem) {
    std::cerr << "vantrel-cli: " << problem << '\n';
    return kUsage;
}

std::optional<int> pageIndex(const ui::Sheet& sheet, const std::string& title) {
    for (int i = 0; i < sheet.pageCount(); ++i)
        if (sheet.page(i).title() == title) return i;
    return std::nullopt;
}

std::string pageList(const ui::Sheet& sheet) {
    std::string text;
    for (int i = 0; i < sheet.pageCount(); ++i)
        text += (i ? ", \"" : "\"") + sheet.page(i).title() + "\"";
    return text;
}

// Runs the steps on the sheet once "View Configuration" shows it.
class SheetScript {
public:
    SheetScript(Session& session, const PageArgs& args)
        : session_(session), ui_(session.ui), args_(args) {}

    void run(ui::Sheet& sheet) {
        shown_ = true;
        if ((status_ = checkSends(sheet)) != kSuccess) return;
        status_ = bringToFront(sheet, args_.title);
        for (const Step& step : args_.steps) {
            if (status_ != kSuccess) return;
            if (sheet.closed()) {
                status_ = usageProblem("the sheet is closed, \"" + step.text() + "\" cannot run");
                return;
            }
            const int failuresBefore = ui_.failureCount();
            std::optional<WriteWatch> watch;
            if (writes(step)) watch.emplace(session_);
            step_ = &step;
            status_ = runStep(sheet, step);
            // A step that ended in an Error dialog or a refusal stops the run; a note
            // informs while the work goes on. A step there to write that wrote nothing
            // (a question on the way answered No) stops it too.
            if (status_ == kSuccess && ui_.failureCount() != failuresBefore) status_ = kFailed;
            if (status_ == kSuccess && watch && watch->nothingSent(step.text())) status_ = kFailed;
        }
    }

    // kFailed when the sheet was never shown (the extract or the file failed).
    int status() const { return shown_ ? status_ : kFailed; }

private:
    // send, and press of a button that writes to the actuator.
    bool writes(const Step& step) const {
        if (step.verb == "send") return true;
        if (step.verb != "press" || !page_) return false;
        const ui::Button* button = ui::buttonFor(*page_, step.argument);
        return button && button->writes;
    }

    // keep and discard answer the questions of a Send that asks first; on a page
    // whose Send sends at once they are the script's mistake, found before any step
    // has pressed anything.
    int checkSends(const ui::Sheet& sheet) const {
        std::string title = args_.title;
        for (const Step& step : args_.steps) {
            if (step.verb == "goto") title = step.argument;
            if (step.verb != "keep" && step.verb != "discard") continue;
            const std::optional<int> index = pageIndex(sheet, title);
            if (!index) return kSuccess;  // the step that brings it to the front says so
            const auto* page = dynamic_cast<const pages::ConfigPage*>(&sheet.page(*index));
            if (page && !page->sendAsks())
                return usageProblem(step.verb + ": the Send of \"" + title +
                                    "\" asks nothing and sends at once; only send can press it");
        }
        return kSuccess;
    }

    int bringToFront(ui::Sheet& sheet, const std::string& title) {
        const std::optional<int> index = pageIndex(sheet, title);
        if (!index)
            return usageProblem("no page \"" + title + "\" in the sheet; it has " +
                                pageList(sheet));
        sheet.show(*index);
        page_ = &sheet.page(*index);
        return kSuccess;
    }

    int runStep(ui::Sheet& sheet, const Step& step) {
        const std::string& verb = step.verb;
        if (verb == "set") {
            const auto cut = step.argument.find('=');
            const std::optional<std::string> name = toDeviceText(step.argument.substr(0, cut));
            const std::optional<std::string> value = toDeviceText(step.argument.substr(cut + 1));
            if (!name || !value) {
                std::cerr << "vantrel-cli: " << step.text() << ": \""
                          << step.argument.substr(0, cut)
                          << "\" takes only characters with a one-byte form (ISO-8859-1),"
                             " nothing done\n";
                return kFailed;
            }
            return drive(ui::setControl(*page_, *name, *value));
        }
        if (verb == "press") return drive(ui::pressButton(*page_, step.argument));
        if (verb == "show") {
            for (const std::string& line : ui::showControls(*page_))
                std::cout << fromDeviceText(line) << '\n';
            std::cout.flush();
            return kSuccess;
        }
        if (verb == "send" || verb == "keep" || verb == "discard") return pressSend(verb);
        if (verb == "goto") return bringToFront(sheet, step.argument);
        return done(sheet, step.argument);
    }

    // A step that could not act on the screen: an unknown name is the script's
    // mistake (usage), a disabled control is refused as the screen refuses it.
    int drive(const ui::DriveResult& result) {
        if (result.ok()) return kSuccess;
        const std::string problem = step_->text() + ": " + result.problem;
        if (result.outcome == ui::DriveResult::Outcome::Unknown) return usageProblem(problem);
        std::cerr << "vantrel-cli: " << problem << ", nothing done\n";
        return kFailed;
    }

    // Send answered as the step says: Yes to sending; or No, then Yes or No to keeping
    // the changes. A Send that asks nothing is pressed only by send (checkSends).
    int pressSend(const std::string& verb) {
        using enum ui::QuestionId;
        const auto* page = dynamic_cast<const pages::ConfigPage*>(page_);
        if (page && !page->sendAsks()) return drive(ui::pressButton(*page_, kSendCaption));
        std::vector<CliUi::ScriptedAnswer> answers = {{SendPage, verb == "send"}};
        if (verb != "send") answers.push_back({KeepChanges, verb == "keep"});
        ui_.script(std::move(answers));
        const int failuresBefore = ui_.failureCount();
        const int status = drive(ui::pressButton(*page_, kSendCaption));
        const std::vector<std::string> asked = ui_.askedInScript();
        // A Send refused with a message or an Error dialog has said why already.
        const bool refused = ui_.failureCount() != failuresBefore;
        if (!ui_.endScript() && status == kSuccess && !refused) {
            std::cerr << "vantrel-cli: " << verb << ": Send did not ask whether to send the page"
                      << (verb == "send" ? "" : ", then whether to keep the changes");
            if (asked.empty()) std::cerr << "; it asked nothing";
            for (const std::string& text : asked)
                std::cerr << (&text == &asked.front() ? "; it asked \"" : ", \"") << text << '"';
            std::cerr << ", nothing more done\n";
            return kFailed;
        }
        return status;
    }

    // "Done" of the page in front, or the sheet's Done: Stop Settings's, brought
    // to the front first.
    int done(ui::Sheet& sheet, const std::string& file) {
        if (!page_->find<ui::Button>(kDoneCaption)) {
            if (int status = bringToFront(sheet, pages::kStopSettings); status != kSuccess)
                return status;
        }
        ui_.script({{ui::QuestionId::SaveToFile, !file.empty()}});
        if (!file.empty()) ui_.setFileAnswer(file);
        const int status = drive(ui::pressButton(*page_, kDoneCaption));
        if (!ui_.endScript() && status == kSuccess && !file.empty()) {
            // Done asks to save only with a login; without one nothing is written.
            std::cerr << "vantrel-cli: nothing saved to " << file << ": Done saves with --login\n";
            return kFailed;
        }
        return status;
    }

    Session& session_;
    CliUi& ui_;
    const PageArgs& args_;
    ui::Screen* page_ = nullptr;
    const Step* step_ = nullptr;
    bool shown_ = false;
    int status_ = kSuccess;
};

// page TITLE [--from FILE.ucf] STEP...
int runPage(Session& session, std::span<const std::string> args) {
    const std::optional<PageArgs> parsed = parsePageArgs(args);
    if (!parsed) return kUsage;

    pages::CConfigMenu menu(session.context, registry::makePage);
    session.ui.run(menu);
    SheetScript script(session, *parsed);
    session.ui.onRunSheet = [&script](ui::Sheet& sheet) { script.run(sheet); };
    // Extract from the actuator, or answer No and open the file instead.
    session.ui.script({{ui::QuestionId::Extract, !parsed->from}});
    if (parsed->from) session.ui.setFileAnswer(*parsed->from);
    menu.viewConfiguration();
    session.ui.endScript();
    session.ui.onRunSheet = nullptr;
    return script.status();
}

// config copy-defaults | copy-to-defaults: the copy buttons with their questions.
int runConfig(Session& session, std::span<const std::string> args) {
    if (args.size() != 1) return kUsage;
    const char* caption = nullptr;
    if (args[0] == "copy-defaults") caption = pages::kCopyToCurrent;
    if (args[0] == "copy-to-defaults") caption = pages::kCopyToDefaults;
    if (!caption) return kUsage;

    pages::CConfigMenu menu(session.context, registry::makePage);
    session.ui.run(menu);
    const int failuresBefore = session.ui.failureCount();
    const WriteWatch watch(session);
    const ui::DriveResult pressed = ui::pressButton(menu, caption);
    if (pressed.outcome == ui::DriveResult::Outcome::Disabled) {
        std::cerr << "vantrel-cli: \"" << caption << "\" is disabled below the Service level"
                  << " (--login service)\n";
        return kFailed;
    }
    if (!pressed.ok()) {
        std::cerr << "vantrel-cli: " << pressed.problem << '\n';
        return kFailed;
    }
    if (session.ui.failureCount() != failuresBefore) return kFailed;
    return watch.nothingSent("config " + args[0]) ? kFailed : kSuccess;
}

constexpr std::array<Command, 2> kCommands = {{
    {"page",
     "TITLE [--from FILE.ucf] STEP...\n"
     "      steps: set NAME=VALUE | press CAPTION | show | send | keep | discard |"
     " goto TITLE | done [-o FILE.ucf]",
     runPage},
    {"config", "copy-defaults | copy-to-defaults", runConfig},
}};

}  // namespace

std::span<const Command> pageCommands() {
    return kCommands;
}

}  // namespace vantrel::cli
