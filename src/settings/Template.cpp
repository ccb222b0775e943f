#include "settings/Template.h"

#include <map>
#include <memory>

#include "pages/ConfigPage.h"
#include "registry/SheetPages.h"
#include "ui/ScreenDriver.h"
#include "ui/Ui.h"

namespace vantrel::settings {

namespace {

// A template value that names no value: the "?" of a control that shows nothing.
constexpr const char* kNoValue = "?";
constexpr const char* kOff = "off";

// The dialogs of pages driven on a copy of the image: every question is answered
// No and every message is kept, so that a trial acts on nothing and its refusals
// can be told.
class TrialUi : public ui::Ui {
public:
    void message(const std::string& text, const std::string&, ui::Icon) override {
        told.push_back(text);
    }
    bool question(const std::string&, const std::string&, ui::Answer) override { return false; }
    void error(const std::string& text) override { told.push_back(text); }
    std::optional<std::string> saveFile(const ui::FileDialog&) override { return std::nullopt; }
    std::optional<std::string> openFile(const ui::FileDialog&) override { return std::nullopt; }
    void play(ui::Sound) override {}
    void setBusy(bool) override {}
    void refresh() override {}
    void run(ui::Screen& screen) override { screen.setUp(); }
    void run(ui::Sheet&) override {}

    std::vector<std::string> told;
};

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

// Checks every page and name of the template against the settings read; fills
// wanted by key.
std::optional<Problem> checkNames(const Template& wanted, const std::vector<Setting>& settings,
                                  std::map<std::string, std::string>& byKey) {
    for (const auto& [page, values] : wanted) {
        bool pageFound = false;
        for (const Setting& setting : settings)
            pageFound = pageFound || setting.page == page;
        if (!pageFound)
            return Problem{true,
                           "no page \"" + page + "\" in the sheet; it has " + pageList(settings)};
        for (const auto& [name, value] : values) {
            bool nameFound = false;
            for (const Setting& setting : settings)
                nameFound = nameFound || (setting.page == page && setting.name == name);
            if (!nameFound)
                return Problem{true, "no setting \"" + name + "\" on \"" + page + "\"; it has " +
                                         nameList(settings, page)};
            byKey[page + " / " + name] = value;
        }
    }
    return std::nullopt;
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
    std::map<std::string, std::string> byKey;
    if ((planned.problem = checkNames(wanted, settings, byKey))) return planned;

    Plan& plan = planned.plan;
    for (const Setting& setting : settings) {
        const auto it = byKey.find(setting.key());
        if (it == byKey.end()) continue;
        const std::string& value = it->second;
        if (setting.known && setting.value == value) {
            plan.asWanted.push_back(setting);
        } else if (value == kNoValue) {
            plan.leftOut.push_back(setting.key() + ": \"?\" names no value");
        } else if (setting.identity && !withIdentity) {
            plan.leftOut.push_back(setting.key() + ": identity, taken only with --with-identity");
        } else if (!setting.changeable) {
            planned.problem = Problem{false, setting.key() +
                                                 " cannot be changed: the control is read-only "
                                                 "or disabled at this login level"};
            return planned;
        } else {
            plan.changes.push_back(
                {setting.page, setting.view, setting.name, setting.shown(), value});
        }
        byKey.erase(it);  // a name that two views show is set once, in the first
    }

    // Every change is tried on copies of its pages, on a copy of the image.
    TrialUi trialUi;
    shell::Context trial(trialUi, context.settings);
    trial.image = context.image;
    trial.loginLevel = context.loginLevel;
    std::unique_ptr<ui::Screen> page;
    for (const ViewChanges& view : byView(plan)) {
        if (!page || page->title() != view.page) page = openPage(trial, view.page);
        showView(*page, view.view);
        if ((planned.problem = drive(*page, view))) return planned;
    }
    return planned;
}

std::vector<SentPage> applyPlan(shell::Context& context, const Plan& plan, const SendPage& send,
                                const std::function<void(const SentPage&)>& sent) {
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
                outcome.sent = send(*page);
                context.frameDone = previous;
            }
        }
        done.push_back(outcome);
        if (sent) sent(outcome);
        if (!outcome.sent) break;
    }
    return done;
}

}  // namespace vantrel::settings
