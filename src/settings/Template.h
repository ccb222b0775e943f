#pragma once
// Applying a template of settings by name: the plan (what will change, what is
// already as wanted), checked against the pages before anything is sent, then each
// changed page driven by name and sent through its own Send, in sheet order.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/NamedSettings.h"
#include "ui/Screen.h"

namespace vantrel::settings {

// Page title, then the settings of that page by name with the values wanted.
using Template =
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>;

struct Change {
    std::string page;
    int view = 0;
    std::string name;
    std::string now;  // as printed: "?" when the control shows nothing
    std::string wanted;
    std::string key() const { return page + " / " + name; }
};

struct Plan {
    std::vector<Change> changes;       // in sheet order
    std::vector<Setting> asWanted;     // named in the template and already as wanted
    std::vector<std::string> leftOut;  // identity settings not taken from the template
    int pageCount() const;             // the pages the changes are on
};

// Why a template cannot be applied: a name the pages do not have (usage) or a value
// or setting the pages refuse (failed).
struct Problem {
    bool usage = false;
    std::string text;
};

struct Planned {
    Plan plan;
    std::optional<Problem> problem;
};

// Plans the template against the settings read from the context's image and tries
// every change on copies of the pages (on a copy of the image, with no link): sets
// the controls and presses Send, which stops where it would open the link. So a
// name, entry or value the pages refuse, or a page the login level may not send,
// is found before anything is sent.
// Identity settings are taken only with withIdentity.
Planned planTemplate(shell::Context& context, const Template& wanted, bool withIdentity);

// The outcome of one page view sent.
struct SentPage {
    std::string page;
    int view = 0;
    int changes = 0;
    int frames = 0;  // frames exchanged with the actuator
    bool sent = false;
};

// Presses the page's Send, answering its question Yes; true when the Send went
// through (no error or message was shown).
using SendPage = std::function<bool(ui::Screen& page)>;

// Drives each page view with changes, in sheet order, and sends it; stops at the
// first that fails. Each page view is reported to sent as it finishes. Returns the
// page views tried, the last one failed when it did not go through.
std::vector<SentPage> applyPlan(shell::Context& context, const Plan& plan, const SendPage& send,
                                const std::function<void(const SentPage&)>& sent);

}  // namespace vantrel::settings
