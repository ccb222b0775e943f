#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "PageHarness.h"
#include "SimFixture.h"
#include "image/Checksums.h"
#include "image/ImageFileFormat.h"
#include "link/Commands.h"
#include "pages/ConfigMenu.h"
#include "pages/ConfigPage.h"
#include "registry/SheetPages.h"
#include "ui/ScreenDriver.h"

namespace vantrel::pages {
namespace {

using test::r;

TEST(PageChecksums, AreasAndParity) {
    image::ConfigImage image;
    image::updateCurrentChecksum(image);
    EXPECT_EQ(image.reg(84), 1);  // 42 zero bytes
    for (int a = 6; a <= 40; ++a)
        image.reg(a) = 0xFF;
    image::updateManufactureChecksum(image);
    EXPECT_EQ(image.reg(41), 0xDE);

    EXPECT_EQ(image::withParity(0x01, 0x00), 0x80);
    EXPECT_EQ(image::withParity(0x03, 0x00), 0x00);
    EXPECT_EQ(image::withParity(0x01, 0x81), 0x01);  // a stale parity bit is recounted
}

struct SheetOrder {
    uint8_t optionType;
    uint8_t optionFlags;
    uint8_t login;
    std::vector<std::string> extra;  // after the seven basic pages
};

class SheetPages : public ::testing::TestWithParam<SheetOrder> {};

TEST_P(SheetPages, FollowTheOptionCardAndLogin) {
    image::ConfigImage image;
    image.optionType = GetParam().optionType;
    image.optionFlags = GetParam().optionFlags;
    std::vector<std::string> expected = {kStopSettings, kContacts,     kProtection, kEsd,
                                         kControl,      kServiceNotes, kMisc};
    expected.insert(expected.end(), GetParam().extra.begin(), GetParam().extra.end());
    EXPECT_EQ(sheetPageTitles(image, GetParam().login), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cards, SheetPages,
    ::testing::Values(
        SheetOrder{0, 0, shell::kUser, {}},
        SheetOrder{image::kLoopNetwork, 0, shell::kUser, {kVexlink1, kVexlink2}},
        SheetOrder{image::kPositioner, image::kPartTurnFlag, shell::kUser, {kTracklin, kPartTurn}},
        SheetOrder{image::kModbusMk2, 0, shell::kUser, {kModbus, kBusMk2Page1, kBusMk2Page2}},
        SheetOrder{image::kProfibusMk2,
                   image::kMultiportFlag,
                   shell::kService,
                   {kProfibus, kBusMk2Page1, kBusMk2Page2, kMultiport, kSinglePhase}},
        SheetOrder{image::kFieldbusMk2, 0, shell::kUser, {kBusMk2Page1, kBusMk2Page2}},
        SheetOrder{image::kModbus, image::kPartTurnFlag, shell::kNotLoggedIn, {kPartTurn}},
        SheetOrder{image::kDeviceNet, 0, shell::kService, {kSinglePhase}}));

class ConfigMenuTest : public ::testing::Test {
protected:
    void open(uint8_t login) {
        rig.context.loginLevel = login;
        menu.setUp();
    }
    // The frames the actuator received, as command and address.
    std::vector<std::pair<int, int>> sent() const {
        std::vector<std::pair<int, int>> frames;
        for (const auto& f : rig.actuator.frames())
            frames.push_back({f[5], f[6]});
        return frames;
    }
    std::string folderFile(const char* name) const { return rig.folder + "/" + name; }

    test::SimRig rig;
    CConfigMenu menu{rig.context, registry::makePage};
};

TEST_F(ConfigMenuTest, CopyCommandsAskAndSendWithoutUnlocking) {
    open(shell::kUser);
    EXPECT_FALSE(menu.get<ui::Button>("Copy Current settings to Default").enabled);
    rig.ui.answers = {false};
    menu.click("Copy Default settings to Current");
    EXPECT_TRUE(sent().empty());
    rig.ui.answers = {true};
    menu.click("Copy Default settings to Current");

    open(shell::kService);
    rig.ui.answers = {true};
    EXPECT_TRUE(menu.click("Copy Current settings to Default"));
    EXPECT_EQ(sent(), (std::vector<std::pair<int, int>>{{link::COPY_SETTINGS, 0xD1},
                                                        {link::COPY_SETTINGS, 0xD4}}));
    EXPECT_EQ(rig.ui.questions.front(), "Are you sure you want to update the current settings?");
    EXPECT_EQ(rig.ui.noByDefault, rig.ui.questions) << "Enter must not overwrite the settings";
    EXPECT_EQ(menu.focus(), "BACK");
}

TEST_F(ConfigMenuTest, ActuatorPasswordNeedsALogin) {
    open(shell::kNotLoggedIn);
    menu.click("Actuator Password");
    EXPECT_EQ(rig.ui.messages, std::vector<std::string>{"Not logged on!!"});
}

TEST_F(ConfigMenuTest, NoSheetWithoutAnImage) {
    open(shell::kUser);
    int sheets = 0;
    rig.ui.onRunSheet = [&](ui::Sheet&) { ++sheets; };
    rig.ui.answers = {false};  // from a file: the dialog is cancelled
    menu.click("View Configuration");
    rig.actuator.configure([](sim::Options& o) { o.faults.silentCommand = link::READ_VERSION; });
    rig.ui.answers = {true};  // from the actuator: it does not answer
    menu.click("View Configuration");
    EXPECT_EQ(sheets, 0);
    EXPECT_FALSE(rig.ui.busy);
    EXPECT_FALSE(menu.get<ui::ProgressBar>("progress").visible);

    rig.actuator.configure([](sim::Options& o) { o.faults.silentCommand.reset(); });
    rig.ui.answers = {true};
    rig.ui.onRunSheet = [&](ui::Sheet& sheet) {
        ++sheets;
        EXPECT_EQ(sheet.page(sheet.current()).title(), kStopSettings);
        EXPECT_EQ(menu.get<ui::ProgressBar>("progress").value, 100);
    };
    menu.click("View Configuration");
    EXPECT_EQ(sheets, 1);
}

TEST_F(ConfigMenuTest, DoneSavesWithParityAndChecksumsOnlyWhenLoggedIn) {
    const std::string file = folderFile("saved.ucf");
    auto runDone = [&](uint8_t login, std::deque<bool> answers) {
        open(login);
        rig.ui.answers = {true};  // extract
        rig.ui.onRunSheet = [&](ui::Sheet& sheet) {
            rig.context.image.reg(65) = 0x01;
            rig.context.image.reg(66) = 0x00;
            rig.ui.answers = answers;
            rig.ui.files = {file};
            ui::pressButton(sheet.page(0), "Done");
            EXPECT_TRUE(sheet.closed());
        };
        menu.click("View Configuration");
    };
    runDone(shell::kNotLoggedIn, {});
    EXPECT_FALSE(std::filesystem::exists(file));
    runDone(shell::kUser, {false});
    EXPECT_FALSE(std::filesystem::exists(file));
    runDone(shell::kUser, {true});
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(rig.context.image.reg(66), 0x80);
    EXPECT_EQ(rig.context.image.reg(84),
              image::imageChecksum(rig.context.image.at(image::area::CUST_CFIG), 42));
    EXPECT_EQ(rig.ui.sounds.back(), ui::Sound::Menu);
}

TEST(BusCardChecksum, SumsTheListedBytesAndWords) {
    image::ConfigImage image;
    image.optionType = image::kModbusMk2;
    uint8_t* bus = image.at(image::area::MK2BUS_3);
    bus[0] = 1;
    bus[11] = 0x34;
    bus[12] = 0x12;  // the word at 11
    bus[12 + 0] = 0x12;
    bus[104] = 5;
    bus[138] = 0xFF;  // a multiport term, not counted without the flag
    EXPECT_EQ(image::busCardChecksum(image), 1 + 0x1234 + 5);
    image.optionFlags = image::kMultiportFlag;
    EXPECT_EQ(image::busCardChecksum(image), 1 + 0x1234 + 5 + 0xFF);
    image::updateBusCardChecksum(image);
    EXPECT_EQ(bus[36] | bus[37] << 8, 1 + 0x1234 + 5 + 0xFF);
}

// A page switched to the Default view never sends it, even after another page's
// set-up put the shared flag back.
TEST(PageViews, ThePageRemembersItsOwnView) {
    test::SimRig rig;
    rig.context.loginLevel = shell::kService;
    ui::ProgressBar progress;
    auto sheet = buildSheet(rig.context, registry::makePage, progress);
    sheet->show(0);
    auto& page = static_cast<ConfigPage&>(sheet->page(0));
    ui::pressButton(page, "Current");
    EXPECT_TRUE(page.showsDefault());
    rig.context.defaultView = false;  // as a page set up elsewhere does
    rig.actuator.clearLog();
    rig.ui.answers = {true, true};
    ui::pressButton(page, "Send");
    EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"Unable to update, access denied"});
    EXPECT_TRUE(rig.actuator.frames().empty());
    EXPECT_TRUE(rig.ui.questions.empty());
}

// A page brought to the front shows the view the sheet's shared flag names, and one
// press of its view button flips it.
TEST(PageViews, APageComesToTheFrontInTheSheetsView) {
    test::SimRig rig;
    rig.context.loginLevel = shell::kService;
    ui::ProgressBar progress;
    auto sheet = buildSheet(rig.context, registry::makePage, progress);
    sheet->show(kStopSettings);
    auto& stop = static_cast<ConfigPage&>(*sheet->page(kStopSettings));
    sheet->show(kServiceNotes);
    ui::pressButton(*sheet->page(kServiceNotes), "Notes");  // shows the serial numbers
    ASSERT_TRUE(rig.context.defaultView);
    sheet->show(kStopSettings);
    EXPECT_TRUE(stop.showsDefault());
    EXPECT_TRUE(stop.find<ui::Button>(kDefaultCaption));
    ui::pressButton(stop, kDefaultCaption);  // one press
    EXPECT_FALSE(stop.showsDefault());
    EXPECT_FALSE(rig.context.defaultView);
    EXPECT_TRUE(stop.find<ui::Button>(kCurrentCaption));
    rig.ui.answers = {true};
    ui::pressButton(stop, "Send");
    EXPECT_TRUE(rig.ui.errors.empty());
    EXPECT_FALSE(rig.actuator.frames().empty());
}

// No page opens with the keyboard on a button that writes; those buttons are marked.
TEST(PageViews, NoPageOpensOnAButtonThatWrites) {
    test::SimRig rig;
    rig.context.loginLevel = shell::kService;
    rig.context.image.optionType = image::kProfibusMk2;
    rig.context.image.optionFlags = image::kMultiportFlag | image::kPartTurnFlag;
    ui::ProgressBar progress;
    auto sheet = buildSheet(rig.context, registry::makePage, progress);
    for (int i = 0; i < sheet->pageCount(); ++i) {
        sheet->show(i);
        ui::Screen& page = sheet->page(i);
        SCOPED_TRACE(page.title());
        const auto* start = dynamic_cast<const ui::Button*>(page.openingFocus());
        EXPECT_FALSE(start && start->writes);
        if (auto* send = page.find<ui::Button>("Send")) {
            EXPECT_TRUE(send->writes);
        }
    }
    EXPECT_EQ(sheet->page(kMultiport)->openingFocus()->name(), "Number Ports");
    EXPECT_TRUE(sheet->page(kMultiport)->get<ui::Button>("Set position to 0% (home)").writes);
    EXPECT_EQ(sheet->page(kSinglePhase)->openingFocus()->name(), "Start cap time");
    EXPECT_TRUE(
        sheet->page(kSinglePhase)->get<ui::Button>("Set instant reversal to 2 secs").writes);
}

}  // namespace
}  // namespace vantrel::pages
