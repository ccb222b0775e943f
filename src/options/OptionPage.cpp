#include "options/OptionPage.h"

#include "link/ErrorFlags.h"
#include "link/LinkPort.h"

namespace vantrel::options {

namespace {
constexpr int kIdentityCharacters = 4;

void blank(ui::Control& control) {
    if (auto* list = dynamic_cast<ui::ComboBox*>(&control)) list->clear();
    if (auto* edit = dynamic_cast<ui::Edit*>(&control)) edit->text.clear();
    control.enabled = false;
}
}  // namespace

OptionPage::OptionPage(shell::Context& context, std::string title)
    : ConfigPage(
          context, std::move(title),
          pages::PageRules{
              .defaultView = false, .sendLevel = shell::kUser, .checksums = pages::kNoChecksum}) {}

void OptionPage::markShown() {
    for (const auto& field : fields()) {
        field->active = context_.image.holds(field->bits().offset, field->bits().bytes);
        if (!field->active) blank(field->control());
    }
}

void OptionPage::setUp() {
    markShown();
    ConfigPage::setUp();
}

void OptionPage::broughtToFront() {
    markShown();
    ConfigPage::broughtToFront();
}

image::FrameSequence OptionPage::shownFrames(const image::FrameSequence& run) const {
    auto shown = [&](int offset) {
        for (const auto& field : fields()) {
            const Bits& bits = field->bits();
            if (field->active && offset >= bits.offset && offset < bits.offset + bits.bytes)
                return true;
        }
        return false;
    };
    image::FrameSequence kept;
    for (const image::FrameStep& step : run) {
        bool all = true;
        if (step.kind == image::FrameStep::Kind::FromImage)
            for (int i = 0; i < step.count; ++i)
                all = all && shown(step.imageOffset + i);
        if (all) kept.push_back(step);
    }
    return kept;
}

bool OptionPage::sendFrames(link::LinkPort& link) {
    const image::FrameSequence run = shownFrames(frames());
    return image::runFrames(link, context_.image, run) == run.size();
}

ListField& OptionPage::byteList(std::string label, int offset, std::vector<std::string> entries,
                                uint32_t mask) {
    return list(std::move(label), Bits{offset, mask, 1}, std::nullopt, std::move(entries));
}

pages::ShownField& OptionPage::versionBox(int offset) {
    section(kVersion);
    auto& box = addEdit("", kVersion);
    return field<pages::ShownField>(
        box, offset, kIdentityCharacters, [offset](const image::ConfigImage& image) {
            return pages::charactersOf(image, offset, kIdentityCharacters);
        });
}

bool OptionPage::loggedIn() {
    if (context_.loginLevel != shell::kNotLoggedIn) return true;
    report(link::kIncorrectPassword);
    return false;
}

}  // namespace vantrel::options
