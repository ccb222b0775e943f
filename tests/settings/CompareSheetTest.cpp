// "Compare with file..." on the Configuration menu: the sheet on the actuator's
// image with the controls whose values differ in the file marked.
#include <gtest/gtest.h>

#include <fstream>

#include "SimFixture.h"
#include "image/ImageFileFormat.h"
#include "image/ImageTransfer.h"
#include "pages/ConfigMenu.h"
#include "registry/SheetPages.h"
#include "settings/SettingsDiff.h"

namespace vantrel::settings {
namespace {

using test::SimRig;

const Setting* find(const std::vector<Setting>& settings, const std::string& key) {
    for (const Setting& setting : settings)
        if (setting.key() == key) return &setting;
    return nullptr;
}

// The actuator's image with the lowest bit of each named setting flipped, saved
// as an image file in the rig's folder.
std::string fileWithFlipped(SimRig& rig, const std::vector<std::string>& keys) {
    const std::vector<Setting> all = readSettings(rig.context);
    image::ConfigImage changed = rig.context.image;
    for (const std::string& key : keys) {
        const Setting* setting = find(all, key);
        EXPECT_TRUE(setting) << key;
        if (!setting) continue;
        const auto& byte = setting->bytes.front();
        changed.bytes[byte.offset] ^= byte.mask & -byte.mask;
    }
    const std::string path = rig.folder + "/other.ucf";
    std::ofstream(path, std::ios::binary) << image::formatImageFile(changed, image::formatDatim(0));
    return path;
}

TEST(CompareSheet, MarksTheDifferingControlsOfTheActuatorsSheet) {
    SimRig rig;
    rig.context.loginLevel = shell::kUser;
    rig.context.markDifferences = [&rig](ui::Sheet& sheet, const image::ConfigImage& other) {
        markDifferences(rig.context, sheet, other);
    };
    ASSERT_TRUE(image::extractImage(rig.context));
    const image::ConfigImage actuator = rig.context.image;
    const std::string file =
        fileWithFlipped(rig, {"Contacts S1 to S8 / S6 NO/NC", "ESD / Thermostat Bypass"});

    pages::CConfigMenu menu(rig.context, registry::makePage);
    rig.ui.onRunScreen = [](ui::Screen&) {};
    rig.ui.run(menu);
    std::map<std::string, std::set<std::string>> marked;
    rig.ui.onRunSheet = [&marked](ui::Sheet& sheet) {
        for (int i = 0; i < sheet.pageCount(); ++i)
            if (!sheet.page(i).markedNames.empty())
                marked[sheet.page(i).title()] = sheet.page(i).markedNames;
    };
    rig.ui.answers = {true};  // extract from the actuator
    rig.ui.files = {file};
    ASSERT_TRUE(menu.click(pages::kCompareWithFile));
    EXPECT_EQ(marked, (std::map<std::string, std::set<std::string>>{
                          {"Contacts S1 to S8", {"S6 NO/NC"}}, {"ESD", {"Thermostat Bypass"}}}));
    EXPECT_EQ(rig.context.image.bytes, actuator.bytes) << "the sheet shows the actuator";
}

TEST(CompareSheet, NeedsTheProgramsMarkingAndAFile) {
    SimRig rig;
    pages::CConfigMenu menu(rig.context, registry::makePage);
    rig.ui.onRunScreen = [](ui::Screen&) {};
    rig.ui.run(menu);
    EXPECT_FALSE(menu.get<ui::Button>(pages::kCompareWithFile).enabled);

    rig.context.markDifferences = [&rig](ui::Sheet& sheet, const image::ConfigImage& other) {
        markDifferences(rig.context, sheet, other);
    };
    rig.ui.run(menu);
    ASSERT_TRUE(menu.get<ui::Button>(pages::kCompareWithFile).enabled);
    bool shown = false;
    rig.ui.onRunSheet = [&shown](ui::Sheet&) { shown = true; };
    rig.ui.answers = {true};
    rig.ui.files = {std::nullopt};  // the file dialog cancelled
    ASSERT_TRUE(menu.click(pages::kCompareWithFile));
    EXPECT_FALSE(shown);
}

}  // namespace
}  // namespace vantrel::settings
