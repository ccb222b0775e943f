#include "pages/ConfigSheet.h"

#include <array>

#include "image/Checksums.h"
#include "image/ImageFile.h"
#include "link/Report.h"

namespace vantrel::pages {

namespace {

constexpr int kCreatingPages = 70;
constexpr std::array<int, 6> kPageCreated = {73, 76, 79, 82, 85, 87};
constexpr int kBasicPagesAdded = 95;
constexpr int kSheetReady = 100;

constexpr const char* kSaveCaption = "Update";

constexpr std::array<const char*, 7> kBasicPages = {kStopSettings, kContacts,     kProtection, kEsd,
                                                    kControl,      kServiceNotes, kMisc};

void setProgress(shell::Context& context, ui::ProgressBar& progress, int value) {
    progress.value = value;
    context.ui.refresh();
}

}  // namespace

std::vector<std::string> sheetPageTitles(const image::ConfigImage& image, uint8_t loginLevel) {
    std::vector<std::string> titles(kBasicPages.begin(), kBasicPages.end());
    auto add = [&](std::initializer_list<const char*> more) {
        titles.insert(titles.end(), more.begin(), more.end());
    };
    switch (image.optionType) {
        case image::kLoopNetwork:
            add({kVexlink1, kVexlink2});
            break;
        case image::kPositioner:
            add({kTracklin});
            break;
        case image::kModbusMk2:
            add({kModbus, kBusMk2Page1, kBusMk2Page2});
            break;
        case image::kProfibusMk2:
            add({kProfibus, kBusMk2Page1, kBusMk2Page2});
            break;
        case image::kFieldbusMk2:
            add({kBusMk2Page1, kBusMk2Page2});
            break;
        default:
            break;
    }
    if (image.optionFlags & image::kMultiportFlag) add({kMultiport});
    if (image.optionFlags & image::kPartTurnFlag) add({kPartTurn});
    if (loginLevel == shell::kService) add({kSinglePhase});
    return titles;
}

std::unique_ptr<ui::Sheet> buildSheet(shell::Context& context, const PageMaker& makePage,
                                      ui::ProgressBar& progress) {
    setProgress(context, progress, kCreatingPages);
    const std::vector<std::string> titles = sheetPageTitles(context.image, context.loginLevel);
    std::vector<std::unique_ptr<ui::Screen>> pages;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        pages.push_back(makePage(context, titles[i]));
        if (i < kPageCreated.size()) setProgress(context, progress, kPageCreated[i]);
    }
    auto sheet = std::make_unique<ui::Sheet>(kSheetTitle);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (pages[i]) sheet->addPage(std::move(pages[i]));
        if (i + 1 == kBasicPages.size()) setProgress(context, progress, kBasicPagesAdded);
    }
    setProgress(context, progress, kSheetReady);
    return sheet;
}

void doneSheet(shell::Context& context, ui::Screen& page) {
    link::clearOutcome(context);
    if (context.loginLevel != shell::kNotLoggedIn &&
        context.ui.question({ui::QuestionId::SaveToFile, kSaveQuestion, kSaveCaption})) {
        image::ConfigImage& image = context.image;
        image::applyParity(image);
        image::updateCurrentChecksum(image);
        image::updateManufactureChecksum(image);
        if (image.isMk2Bus()) image::updateBusCardChecksum(image);
        image::saveImageFile(context);
    } else {
        context.status = image::kNotSaved;
    }
    context.ui.play(ui::Sound::Menu);
    page.close();
}

}  // namespace vantrel::pages
