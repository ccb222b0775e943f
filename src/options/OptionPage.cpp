#include "options/OptionPage.h"

#include "link/ErrorFlags.h"

namespace vantrel::options {

namespace {
constexpr int kIdentityCharacters = 4;
}  // namespace

OptionPage::OptionPage(shell::Context& context, std::string title)
    : ConfigPage(
          context, std::move(title),
          pages::PageRules{
              .defaultView = false, .sendLevel = shell::kUser, .checksums = pages::kNoChecksum}) {}

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
