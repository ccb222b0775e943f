#include "settings/Template.h"

#include <map>
#include <memory>

#include "link/ErrorFlags.h"
#include "link/Report.h"
#include "pages/ConfigPage.h"
#include "pages/ConfigSheet.h"
#include "registry/SheetPages.h"
#include "ui/ScreenDriver.h"
#include "ui/Ui.h"

namespace vantrel::settings {

namespace {

// A template value that names no value: the "?" of a control that shows nothing.
constexpr const char* kNoValue = "?";
constexpr const char* kOff = "off";

// The dialogs of pages driven on a copy of the image: every question but the page's
// send question is answered No and every refusal is kept, so that a trial acts on nothing and its
// refusals can be told.
class TrialUi : public ui::Ui {
public:
    void message(ui::MessageKind kind, const std::string& text, const std::string&,
                 ui::Icon) override {
        if (kind == ui::MessageKind::Refusal) told.push_back(text);
    }
    bool question(const ui::Question& question) override {
        asked.push_back(question.text);
        return question.id == ui::QuestionId::SendPage;
    }
    void error(const std::string& text) override {
        // The trial's link never opens: that is where a Send would start sending.
        if (text == link::errorMessage(link::kPortNotOpen))
            reachedLink = true;
        else
            told.push_back(text);
    }
    std::optional<std::string> saveFile(const ui::FileDialog&) override { return std::nullopt; }
    std::optional<std::string> openFile(const ui::FileDialog&) override { return std::nullopt; }
    void play(ui::Sound) override {}
    void setBusy(bool) override {}
    void refresh() override {}
    void run(ui::Screen& screen) override { screen.setUp(); }
    void run(ui::Sheet&) override {}

    std::vector<std::string> asked;
    std::vector<std::string> told;
    bool reachedLink = false;
};

// A path no serial port can have: a trial Send stops where it would open the link.
constexpr const char* kNoPort = "/nonexistent/vantrel-trial";

// The changes of one view of one page.
struct ViewChanges {
    std::string page;
    int view = 0;
    std::vector<const Change*> changes;
};

// Changes are in sheet order, each page's views in order: consecutive changes of
// the same page view form one Send.
std::vector<ViewChanges> byView(const Plan& plan) {
    std::vector<ViewChanges> views;
    for (const Change& change : plan.changes) {
        if (views.empty() || views.back().page != change.page || views.back().view != change.view)
            views.push_back({change.page, change.view, {}});
        views.back().changes.push_back(&change);
    }
    return views;
}

std::unique_ptr<ui::Screen> openPage(shell::Context& context, const std::string& title) {
    std::unique_ptr<ui::Screen> page = registry::makePage(context, title);
    if (page) page->setUp();
    return page;
}

void showView(ui::Screen& page, int view) {
    if (auto* configPage = dynamic_cast<pages::ConfigPage*>(&page)) configPage->showView(view);
}

bool isChoice(const ui::Screen& page, const std::string& name) {
    for (const ui::ShownValue& shown : ui::shownValues(page))
        if (shown.name == name) return shown.control->kind == ui::ControlKind::RadioButton;
    return false;
}

// Sets the view's changed controls in the page's own order (a control's handler
// may refill the lists after it), then checks that the page shows every value
// wanted and that no field refuses its value.
std::optional<Problem> drive(ui::Screen& page, const ViewChanges& view) {
    std::vector<std::string> names;
    for (const ui::ShownValue& shown : ui::shownValues(page))
        names.push_back(shown.name);
    for (const std::string& name : names)
        for (const Change* change : view.changes) {
            if (change->name != name) continue;
            // A choice goes off when another of its group is chosen.
            if (change->wanted == kOff && isChoice(page, name)) continue;
            const ui::DriveResult result = ui::setControl(page, name, change->wanted);
            if (!result.ok())
                return Problem{result.outcome == ui::DriveResult::Outcome::Unknown,
                               change->key() + ": " + result.problem};
        }
    const auto* configPage = dynamic_cast<const pages::ConfigPage*>(&page);
    for (const Change* change : view.changes) {
        bool found = false;
        for (const ui::ShownValue& shown : ui::shownValues(page)) {
            if (shown.name != change->name) continue;
            found = true;
            if (shown.value != change->wanted)
                return Problem{false, change->key() + ": the page shows \"" + shown.value +
                                          "\" after the changes, not \"" + change->wanted + "\""};
            const pages::Field* field = configPage ? configPage->fieldOf(*shown.control) : nullptr;
            if (field)
                if (std::optional<std::string> refusal = field->refusal())
                    return Problem{false, change->key() + ": " + *refusal};
        }
        if (!found)
            return Problem{false,
                           change->key() + ": the page no longer shows it after the changes"};
    }
    return std::nullopt;
}

// Presses Send on the trial page with its question answered Yes. A Send that got as
// far as opening the link would send; one that stopped before it (with a message,
// an error, or no question asked) is what the real Send would refuse. Messages of a
// Send that goes on are notes, not refusals.
std::optional<Problem> trySend(ui::Screen& page, const ViewChanges& view, TrialUi& ui) {
    auto* configPage = dynamic_cast<pages::ConfigPage*>(&page);
    if (!configPage) return Problem{false, "\"" + view.page + "\" has no Send"};
    ui.asked.clear();
    ui.told.clear();
    ui.reachedLink = false;
    configPage->send();
    if (ui.reachedLink) return std::nullopt;
    if (!ui.told.empty())
        return Problem{false, "\"" + view.page + "\" refuses: " + ui.told.front()};
    return Problem{false, "\"" + view.page + "\" does not send at this login level"};
}

std::string pageList(const std::vector<Setting>& settings) {
    std::string text;
    std::string last;
    for (const Setting& setting : settings)
        if (setting.page != last) {
            last = setting.page;
            text += (text.empty() ? "\"" : ", \"") + last + "\"";
        }
    return text;
}

std::string nameList(const std::vector<Setting>& settings, const std::string& page) {
    std::string text;
    for (const Setting& setting : settings)
        if (setting.page == page) text += (text.empty() ? "\"" : ", \"") + setting.name + "\"";
    return text;
}

}  // namespace

int Plan::pageCount() const {
    int pages = 0;
    const std::string* last = nullptr;
    for (const Change& change : changes)
        if (!last || *last != change.page) {
            ++pages;
            last = &change.page;
        }
    return pages;
}

Planned planTemplate(shell::Context& context, const Template& wanted, bool withIdentity) {
    Planned planned;
    const std::vector<Setting> settings = readSettings(context);
    std::map<std::string, std::map<std::string, std::string>> remaining;
    for (const auto& [page, values] : wanted) {
        if (nameList(settings, page).empty()) {
            planned.problem = Problem{
                true, "no page \"" + page + "\" in the sheet; it has " + pageList(settings)};
            return planned;
        }
        for (const auto& [name, value] : values)
            remaining[page][name] = value;
    }

    // Each page the template names is tried on a copy of the image, view by view in
    // the order they would be sent: a view shows what the views sent before it left
    // (the port rows follow the number of ports), so its names and values are
    // checked against that.
    TrialUi trialUi;
    shell::Context trial(trialUi, context.settings);
    trial.image = context.image;
    trial.loginLevel = context.loginLevel;
    trial.portName = kNoPort;
    Plan& plan = planned.plan;
    for (const std::string& title : pages::sheetPageTitles(context.image, context.loginLevel)) {
        const auto names = remaining.find(title);
        if (names == remaining.end()) continue;
        std::unique_ptr<ui::Screen> page = openPage(trial, title);
        auto* configPage = dynamic_cast<pages::ConfigPage*>(page.get());
        const int views = configPage ? configPage->viewCount() : 1;
        for (int view = 0; page && view < views; ++view) {
            showView(*page, view);
            std::vector<Setting> shown;
            readView(*page, view, trial, shown);
            ViewChanges changes{title, view, {}};
            const std::size_t first = plan.changes.size();
            for (const Setting& setting : shown) {
                const auto it = names->second.find(setting.name);
                if (it == names->second.end()) continue;
                const std::string& value = it->second;
                if (setting.known && setting.value == value)
                    plan.asWanted.push_back(setting);
                else if (value == kNoValue)
                    plan.leftOut.push_back(setting.key() + ": \"?\" names no value");
                else if (setting.identity && !withIdentity)
                    plan.leftOut.push_back(setting.key() +
                                           ": identity, taken only with --with-identity");
                else
                    plan.changes.push_back(
                        {setting.page, setting.view, setting.name, setting.shown(), value});
                names->second.erase(it);  // a name two views show is set in the first
            }
            if (plan.changes.size() == first) continue;
            for (std::size_t i = first; i < plan.changes.size(); ++i)
                changes.changes.push_back(&plan.changes[i]);
            if ((planned.problem = drive(*page, changes))) return planned;
            if ((planned.problem = trySend(*page, changes, trialUi))) return planned;
        }
        if (!names->second.empty()) {
            planned.problem =
                Problem{true, "no setting \"" + names->second.begin()->first + "\" on \"" + title +
                                  "\"; it has " + nameList(settings, title)};
            return planned;
        }
    }
    return planned;
}

std::vector<SentPage> applyPlan(shell::Context& context, const Plan& plan, const SendPage& send,
                                const std::function<void(const SentPage&)>& sent) {
    // Pages switch the shared Current/Default flag as they are set up and switched;
    // the caller's view is left as it was.
    const bool defaultView = context.defaultView;
    std::vector<SentPage> done;
    std::unique_ptr<ui::Screen> page;
    for (const ViewChanges& view : byView(plan)) {
        if (!page || page->title() != view.page) page = openPage(context, view.page);
        SentPage outcome{view.page, view.view, static_cast<int>(view.changes.size()), 0, false};
        if (page) {
            showView(*page, view.view);
            if (!drive(*page, view)) {
                auto previous = context.frameDone;
                context.frameDone = [&outcome, &previous] {
                    ++outcome.frames;
                    if (previous) previous();
                };
                // A Send that exchanged no frame sent nothing (a question declined).
                outcome.sent = send(*page) && outcome.frames > 0;
                context.frameDone = previous;
            }
        }
        done.push_back(outcome);
        if (sent) sent(outcome);
        if (!outcome.sent) break;
    }
    context.defaultView = defaultView;
    return done;
}

}  // namespace vantrel::settings
