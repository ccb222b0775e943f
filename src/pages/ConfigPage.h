#pragma once
// The behaviour every page of the configuration sheet shares: set-up, loading the
// controls from the image, taking the edits on confirmation only, the Current and
// Default views, Send with its two questions and the page's frames, keeping changes
// with the page's checksums. A page declares its controls, fields and frames; the
// few rules that only one page has stay in that page. A field whose bytes the image
// does not hold (an image file that lacked them) shows nothing and is disabled
// whatever a page's own rules say, and the frames runner leaves its bytes out.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/ConfigImage.h"
#include "image/FrameSequence.h"
#include "pages/Field.h"
#include "shell/Context.h"
#include "ui/Screen.h"

namespace vantrel::link {
class LinkPort;
}

namespace vantrel::pages {

// Checksums that "keep changes" recomputes.
enum Checksum : uint8_t {
    kNoChecksum = 0,
    kCurrentChecksum = 1,
    kManufactureChecksum = 2,
    kIdentificationChecksum = 4,
};

struct PageRules {
    bool defaultView = true;  // a "Current" button and the Default view
    uint8_t sendLevel = shell::kUser;
    uint8_t checksums = kCurrentChecksum;
    // Send asks first (send the page? then keep the changes?); a page whose Send
    // sends at once says not.
    bool sendAsks = true;
};

inline constexpr const char* kCurrentCaption = "Current";
inline constexpr const char* kDefaultCaption = "Default";
inline constexpr const char* kSendQuestion = "Do you want to send data on this page to Actuator?";
inline constexpr const char* kKeepQuestion = "Do you want to keep changes?";
inline constexpr const char* kUpdateCaption = "Update";
inline constexpr const char* kChangesKept = "Changes kept, not sent";
inline constexpr const char* kChangesNotKept = "Changes not kept";

class ConfigPage : public ui::Screen {
public:
    ConfigPage(shell::Context& context, std::string title, PageRules rules);

    void setUp() override;
    // Brought to the front again: shows the image as it is now, if it changed.
    void broughtToFront() override;

    // The view this page's controls show.
    bool showsDefault() const { return showsDefault_; }
    bool acceptEdits() const { return acceptEdits_; }
    bool sendAsks() const { return rules_.sendAsks; }

    const PageRules& rules() const { return rules_; }
    // The active field a control shows; nullptr for a control of the page's own rules.
    const Field* fieldOf(const ui::Control& control) const;
    // The views a page shows one at a time, each with controls of its own (contact
    // groups, notes and serial numbers, ...): how many, and showing one as the
    // page's view button does. The Current and Default views are not among them.
    virtual int viewCount() const { return 1; }
    virtual void showView(int view) { (void)view; }

    // The page operations, as their buttons run them.
    void load();
    void switchView();
    void send();

    // The page's fields in declaration order, with the controls that show them.
    const std::vector<std::unique_ptr<Field>>& fields() const { return fields_; }

protected:
    // Declares a field; the page keeps it for load, take, fill and enabling.
    template <class F, class... Args>
    F& field(Args&&... args) {
        auto owned = std::make_unique<F>(std::forward<Args>(args)...);
        F& ref = *owned;
        fields_.push_back(std::move(owned));
        return ref;
    }
    // Controls bound to fields, declared in one line each.
    ToggleField& toggle(std::string first, std::string second, Bits bits,
                        std::optional<int> defaultOffset);
    CheckField& check(std::string text, Bits bits, std::optional<int> defaultOffset);
    ListField& list(std::string label, Bits bits, std::optional<int> defaultOffset,
                    std::vector<std::string> entries);
    // The "Send" and "Current" buttons.
    void addSendButton();
    void addViewButton();
    // Removes every control and field, for a page that replaces its controls.
    void clearPage();

    // The page's frames between the link opening and closing.
    virtual image::FrameSequence frames() const = 0;
    // Runs the frames; pages whose chain has a rule beyond "stop at the first
    // failure" replace it. True when every frame went through.
    virtual bool sendFrames(link::LinkPort& link);
    // Page rules run after the fields: before the lists are filled, after the
    // controls are loaded or enabled, and after the edits are taken.
    virtual void afterFill() {}
    virtual void afterLoad() {}
    virtual void afterEnable() {}
    virtual void afterTake() {}
    // Refuses Send or keep changes for a page of its own rules ("Incorrect Password
    // entered" etc.); true when it refused (and reported).
    virtual bool refuse() { return false; }
    // The question Send asks first.
    virtual std::string sendQuestion() const { return kSendQuestion; }
    // Asked after Send was confirmed, before anything is taken: false stops Send.
    virtual bool confirmSend() { return true; }

    // Checked after a confirmed Send has taken the edits: false stops the Send before
    // the link is opened (a page whose taking found a setting it must not send).
    virtual bool readyToSend() { return true; }

    // Takes the edits into the image when acceptEdits is set, and clears it.
    void takeEdits();
    // Sets acceptEdits and takes the edits, unless a field refuses what was typed in
    // it (its message shown in the Error dialog); false then, with nothing taken.
    bool acceptAndTake();
    void fillLists();
    void enableControls();
    // Reports an error flag through the Error dialog.
    void report(uint32_t flag);

    shell::Context& context_;
    const PageRules rules_;
    ui::Button* viewButton_ = nullptr;

private:
    void keepOrDiscard();
    // Shows the Default view or the Current one, and makes it the sheet's view.
    void showDefaults(bool defaults);
    void updateChecksums();
    bool mayTake();
    // Works out which fields the image holds for the view shown; a field it does not
    // hold is blanked, and its bytes count as not held from then on.
    void markHeld();
    void blankUnheld();

    std::vector<std::unique_ptr<Field>> fields_;
    bool acceptEdits_ = false;
    bool showsDefault_ = false;
    image::ConfigImage loaded_{};  // the image as the controls were last loaded from it
};

}  // namespace vantrel::pages
