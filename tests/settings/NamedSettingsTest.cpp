// Settings by name over every image file the tests hold: read, compared with the
// pages, applied to a simulated actuator holding another image, and compared.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "SimFixture.h"
#include "image/ImageFileFormat.h"
#include "image/ImageTransfer.h"
#include "pages/ConfigPage.h"
#include "pages/ConfigSheet.h"
#include "registry/SheetPages.h"
#include "settings/NamedSettings.h"
#include "settings/SettingsDiff.h"
#include "settings/Template.h"
#include "ui/ScreenDriver.h"

namespace vantrel::settings {
namespace {

using test::SimRig;

std::vector<std::filesystem::path> imageFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(VANTREL_UCF_CORPUS))
        if (entry.path().extension() == ".ucf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The image a file holds; nothing for a file the loader does not take whole.
std::optional<image::ConfigImage> loadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), {});
    if (data.size() > static_cast<std::size_t>(image::kImageFileReadLimit))
        data.resize(image::kImageFileReadLimit);
    image::ConfigImage loaded;
    if (!image::parseImageFile(loaded, data)) return std::nullopt;
    return loaded;
}

// A simulated actuator with the option card and units the image was read from.
sim::Options optionsFor(const image::ConfigImage& image) {
    sim::Options options;
    sim::OptionCard& card = options.card;
    switch (image.optionType) {
        case image::kLoopNetwork:
            card.letter = 'P';
            break;
        case image::kPositioner:
            card.letter = 'F';
            break;
        case image::kModbus:
            card.letter = 'M';
            card.variant = '1';
            break;
        case image::kProfibus:
            card.letter = 'N';
            break;
        case image::kDeviceNet:
            card.letter = 'K';
            break;
        case image::kModbusMk2:
        case image::kProfibusMk2:
        case image::kFieldbusMk2:
            card.letter = 'M';
            card.variant = image.optionFlags & image::kMultiportFlag ? 'P' : '2';
            card.busKind = image.optionType == image::kModbusMk2     ? 1
                           : image.optionType == image::kProfibusMk2 ? 2
                                                                     : 3;
            break;
        default:
            break;
    }
    options.partTurn = image.optionFlags & image::kPartTurnFlag;
    return options;
}

sim::Options withCard(char letter, char variant = '1', bool partTurn = false) {
    sim::Options options;
    options.card.letter = letter;
    options.card.variant = variant;
    options.partTurn = partTurn;
    return options;
}

// Presses the page's Send with its question answered Yes, any later question No.
bool pressSend(SimRig& rig, ui::Screen& page) {
    const std::size_t errors = rig.ui.errors.size();
    rig.ui.answers = {true};
    const bool pressed = ui::pressButton(page, "Send").ok();
    rig.ui.answers.clear();
    return pressed && rig.ui.errors.size() == errors;
}

// A port position stored beyond what its box takes (random bytes of a damaged file)
// is kept while untouched but cannot be typed, so a template cannot carry it.
constexpr int kLargestTypedPosition = 1000;
bool typeable(const Setting& setting) {
    if (setting.page != "Multiport" || setting.name.find("Port ") == std::string::npos)
        return true;
    return std::stoi(setting.value) <= kLargestTypedPosition;
}

Template templateOf(const std::vector<Setting>& settings) {
    Template wanted;
    for (const Setting& setting : settings) {
        if (!setting.changeable || !setting.known || setting.identity || !typeable(setting))
            continue;
        if (wanted.empty() || wanted.back().first != setting.page)
            wanted.push_back({setting.page, {}});
        wanted.back().second.emplace_back(setting.name, setting.value);
    }
    return wanted;
}

// Settings whose text does not determine their bits: a list entry that stands for
// several stored values ("Profile" keeps the torque bits beside it, "2 Wire
// Priority" and "Signal Range" show more than one value as one entry), and the ESD
// action, whose value of no choice shows the fallback choice. Their text agrees
// after a round trip, their bytes need not.
const std::set<std::string> kTextOfManyValues = {"Stop Settings / Open Torque %",
                                                 "Stop Settings / Close Torque %",
                                                 "Control / 2 Wire Priority",
                                                 "Option - Tracklin / Signal Range",
                                                 "ESD / Open",
                                                 "ESD / Close",
                                                 "ESD / Stay put"};
// The travel coefficients are shown cut to five characters and taken back cut
// toward zero: their text holds the stored value to its last digit shown (0.01 at
// worst) and one step of the byte. By key, the scale of the byte.
const std::map<std::string, double> kCutText = {{"Misc / Open Quadratic", 512},
                                                {"Misc / Open linear", 16},
                                                {"Misc / Close Quadratic", 512},
                                                {"Misc / Close linear", 16}};
constexpr double kCutTextDigit = 0.01;

constexpr int kNumberPortsRegister = 64;  // bus register of the multiport unit

const Setting* find(const std::vector<Setting>& settings, const std::string& key) {
    for (const Setting& setting : settings)
        if (setting.key() == key) return &setting;
    return nullptr;
}

// Every image file: its settings are what the sheet's pages show, and applied to
// an actuator holding another image they leave it with the same settings and the
// same bytes under every setting applied.
TEST(NamedSettings, RoundTripOverEveryImageFile) {
    int filesApplied = 0;
    for (const auto& path : imageFiles()) {
        SCOPED_TRACE(path.filename().string());
        const std::optional<image::ConfigImage> file = loadFile(path);
        if (!file) continue;
        SimRig rig(optionsFor(*file));
        rig.context.loginLevel = shell::kService;
        rig.context.image = *file;
        const std::vector<Setting> fromFile = readSettings(rig.context);
        ASSERT_FALSE(fromFile.empty());
        EXPECT_EQ(rig.context.image.bytes, file->bytes) << "reading changed the image";

        // The pages of the sheet, as the sheet builds them, show the same values.
        ui::ProgressBar progress;
        auto sheet = pages::buildSheet(rig.context, registry::makePage, progress);
        std::set<std::string> lines;
        for (const Setting& setting : fromFile)
            lines.insert(setting.key() + ": " + setting.value);
        for (int i = 0; i < sheet->pageCount(); ++i) {
            sheet->show(i);
            for (const ui::ShownValue& shown : ui::shownValues(sheet->page(i))) {
                if (shown.control->kind == ui::ControlKind::Button) continue;
                EXPECT_TRUE(
                    lines.count(sheet->page(i).title() + " / " + shown.name + ": " + shown.value))
                    << sheet->page(i).title() << " / " << shown.name;
            }
        }

        // Port rows follow the number of ports; a number the list cannot show ("?")
        // cannot be applied, so the actuator is given the file's own.
        if (const Setting* ports = find(fromFile, "Multiport / Number Ports");
            ports && !ports->known)
            rig.actuator.setBusRegister(kNumberPortsRegister, std::stoi(ports->raw));
        ASSERT_TRUE(image::extractImage(rig.context));
        const image::ConfigImage before = rig.context.image;
        const Planned planned = planTemplate(rig.context, templateOf(fromFile), false);
        ASSERT_FALSE(planned.problem) << planned.problem->text;
        const std::vector<SentPage> sent = applyPlan(
            rig.context, planned.plan, [&rig](ui::Screen& page) { return pressSend(rig, page); },
            nullptr);
        for (const SentPage& page : sent)
            EXPECT_TRUE(page.sent) << page.page << " view " << page.view;

        ASSERT_TRUE(image::extractImage(rig.context));
        const std::vector<Setting> applied = readSettings(rig.context);
        for (const auto& [page, values] : templateOf(fromFile))
            for (const auto& [name, value] : values) {
                const Setting* now = find(applied, page + " / " + name);
                ASSERT_TRUE(now) << page << " / " << name;
                if (const auto cut = kCutText.find(now->key()); cut != kCutText.end()) {
                    const int byte = now->bytes.front().offset;
                    const double moved =
                        std::abs(static_cast<int8_t>(rig.context.image.bytes[byte]) -
                                 static_cast<int8_t>(file->bytes[byte]));
                    EXPECT_LE(moved / cut->second, kCutTextDigit + 1 / cut->second) << now->key();
                    continue;
                }
                EXPECT_EQ(now->shown(), value) << now->key();
                if (kTextOfManyValues.count(now->key())) continue;
                for (const auto& byte : now->bytes)
                    EXPECT_EQ(rig.context.image.bytes[byte.offset] & byte.mask,
                              file->bytes[byte.offset] & byte.mask)
                        << now->key() << " byte " << byte.offset;
            }
        // A file that carries no setting (only an unused area) plans nothing.
        if (planned.plan.changes.empty()) continue;
        ++filesApplied;
        EXPECT_NE(before.bytes, rig.context.image.bytes);
    }
    EXPECT_GE(filesApplied, 10);
}

// Every view of a page is read: both contact groups, the notes and the serial
// numbers, each multiport view.
TEST(NamedSettings, ReadsEveryViewOfEveryPage) {
    SimRig rig(withCard('M', 'P', true));
    rig.context.loginLevel = shell::kUser;
    ASSERT_TRUE(image::extractImage(rig.context));
    const std::vector<Setting> all = readSettings(rig.context);
    for (const char* key : {"Contacts S1 to S8 / S1 function", "Contacts S1 to S8 / S8 value",
                            "Service Notes / Service Notes", "Service Notes / Option4 PCB",
                            "Multiport / Number Ports", "Multiport / Clockwise Port 2",
                            "Multiport / A/Clockwise Port 2", "ZRT / Type"})
        EXPECT_TRUE(find(all, key)) << key;
    EXPECT_FALSE(find(all, "Contacts S1 to S8 / S1-S4")) << "the group button is no setting";
    EXPECT_FALSE(find(all, "Single Phase / Single Phase")) << "a Service level page";
    const Setting* serial = find(all, "Service Notes / Main PCB");
    ASSERT_TRUE(serial);
    EXPECT_TRUE(serial->identity);
    ASSERT_EQ(serial->bytes.size(), static_cast<std::size_t>(image::area::ID_MAIN.length));
    EXPECT_EQ(serial->bytes.front().offset, image::area::ID_MAIN.offset);
}

struct OneBit {
    const char* key;
    sim::Options options;
};

// One bit of one field changed: the difference names exactly that setting, and
// nothing when a file is compared with itself.
TEST(NamedSettings, DiffOfOneBitNamesThatSetting) {
    const std::vector<OneBit> rows = {
        {"Stop Settings / Fetterolf", {}},
        {"Contacts S1 to S8 / S6 NO/NC", {}},
        {"ESD / Thermostat Bypass", {}},
        {"Service Notes / Option2 PCB", {}},
        {"Multiport / A/Clockwise Port 3", withCard('M', 'P')},
        {"Option - Vexlink 1 / Baud Rate", withCard('P')},
    };
    for (const OneBit& row : rows) {
        SCOPED_TRACE(row.key);
        SimRig rig(row.options);
        rig.context.loginLevel = shell::kUser;
        ASSERT_TRUE(image::extractImage(rig.context));
        const image::ConfigImage a = rig.context.image;
        const std::vector<Setting> settingsA = readSettings(rig.context);
        EXPECT_TRUE(compare(a, settingsA, a, settingsA).empty());

        const Setting* setting = find(settingsA, row.key);
        ASSERT_TRUE(setting);
        ASSERT_FALSE(setting->bytes.empty());
        const auto& byte = setting->bytes.front();
        rig.context.image.bytes[byte.offset] ^= byte.mask & -byte.mask;  // its lowest bit
        const std::vector<Setting> settingsB = readSettings(rig.context);
        const Difference difference = compare(a, settingsA, rig.context.image, settingsB);
        ASSERT_EQ(difference.settings.size(), 1u) << differenceLines(difference).front();
        EXPECT_EQ(difference.settings[0].key, row.key);
        EXPECT_TRUE(difference.bytes.empty());
    }
}

// A stored value that shows the same text as another (the ESD action's fallback
// choice) still differs, with the stored values beside the text.
TEST(NamedSettings, DiffTellsEqualTextsOfDifferentValuesApart) {
    SimRig rig;
    rig.context.loginLevel = shell::kUser;
    ASSERT_TRUE(image::extractImage(rig.context));
    const std::vector<Setting> settingsA = readSettings(rig.context);
    const Setting* torque = find(settingsA, "Stop Settings / Close Torque %");
    ASSERT_TRUE(torque);
    rig.context.image.bytes[torque->bytes.front().offset] = 0x80 | 0x11;  // Profile
    const std::vector<Setting> profileA = readSettings(rig.context);
    const image::ConfigImage withProfile = rig.context.image;
    rig.context.image.bytes[torque->bytes.front().offset] = 0x80 | 0x22;
    const std::vector<Setting> profileB = readSettings(rig.context);
    ASSERT_EQ(find(profileA, torque->key())->value, find(profileB, torque->key())->value);
    const Difference difference = compare(withProfile, profileA, rig.context.image, profileB);
    ASSERT_EQ(difference.settings.size(), 1u);
    EXPECT_EQ(differenceLines(difference)[0],
              "Stop Settings / Close Torque %: Profile (raw 145) -> Profile (raw 162)");
}

TEST(NamedSettings, DiffNamesBytesNoPageShowsByAreaAndOffset) {
    SimRig rig;
    rig.context.loginLevel = shell::kUser;
    ASSERT_TRUE(image::extractImage(rig.context));
    const image::ConfigImage a = rig.context.image;
    const std::vector<Setting> settings = readSettings(rig.context);
    image::ConfigImage b = a;
    b.bytes[image::area::CUST_CSUM.offset] ^= 0x10;
    b.bytes[image::area::UNUSED1.offset + 7] ^= 0x01;
    const Difference difference = compare(a, settings, b, settings);
    EXPECT_TRUE(difference.settings.empty());
    const std::vector<std::string> lines = differenceLines(difference);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, lines[0].find(':')), "CUST_CSUM +0");
    EXPECT_EQ(lines[1].substr(0, lines[1].find(':')), "UNUSED1 +7");
}

// The frames an actuator logged, as command and address.
std::vector<std::pair<uint8_t, uint8_t>> logged(const sim::Actuator& actuator) {
    std::vector<std::pair<uint8_t, uint8_t>> frames;
    for (const auto& frame : actuator.frames())
        frames.emplace_back(frame[5], frame[6]);
    return frames;
}

const Template kThreePages = {
    {"Stop Settings", {{"Close Torque %", "60"}}},
    {"Contacts S1 to S8", {{"S6 NO/NC", "NO"}}},
    {"Protection", {{"Interlocks", "on"}}},
};

struct Applied {
    std::vector<SentPage> sent;
    std::vector<std::pair<uint8_t, uint8_t>> frames;
};

Applied applyTo(SimRig& rig, const Template& wanted) {
    rig.context.loginLevel = shell::kUser;
    EXPECT_TRUE(image::extractImage(rig.context));
    rig.actuator.clearLog();
    const Planned planned = planTemplate(rig.context, wanted, false);
    EXPECT_FALSE(planned.problem) << planned.problem->text;
    Applied applied;
    applied.sent = applyPlan(
        rig.context, planned.plan, [&rig](ui::Screen& page) { return pressSend(rig, page); },
        nullptr);
    applied.frames = logged(rig.actuator);
    return applied;
}

TEST(NamedSettings, ApplyStopsAtTheFirstRefusedPage) {
    // The frames the third page sends that the first two do not: refusing one of
    // them refuses the third page's Send.
    SimRig first;
    const Applied whole = applyTo(first, kThreePages);
    ASSERT_EQ(whole.sent.size(), 3u);
    SimRig firstTwo;
    const Applied two = applyTo(firstTwo, {kThreePages[0], kThreePages[1]});
    std::optional<std::pair<uint8_t, uint8_t>> onlyThird;
    for (auto frame : std::vector(whole.frames.begin() + two.frames.size(), whole.frames.end()))
        if (std::find(two.frames.begin(), two.frames.end(), frame) == two.frames.end()) {
            onlyThird = frame;
            break;
        }
    ASSERT_TRUE(onlyThird);

    sim::Options options;
    options.faults.refusals.push_back({onlyThird->first, onlyThird->second, 'E', -1});
    SimRig rig(options);
    const std::array<uint8_t, 512> before = rig.actuator.eeprom();
    const Applied refused = applyTo(rig, kThreePages);
    ASSERT_EQ(refused.sent.size(), 3u);
    EXPECT_TRUE(refused.sent[0].sent);
    EXPECT_TRUE(refused.sent[1].sent);
    EXPECT_FALSE(refused.sent[2].sent);
    EXPECT_EQ(refused.sent[2].page, "Protection");
    // Pages one and two reached the actuator.
    rig.context.loginLevel = shell::kUser;
    ASSERT_TRUE(image::extractImage(rig.context));
    const std::vector<Setting> now = readSettings(rig.context);
    EXPECT_EQ(find(now, "Stop Settings / Close Torque %")->value, "60");
    EXPECT_EQ(find(now, "Contacts S1 to S8 / S6 NO/NC")->value, "NO");
    EXPECT_NE(rig.actuator.eeprom(), before);
}

TEST(NamedSettings, TemplateFaultsAreFoundBeforeAnythingIsSent) {
    struct Row {
        const char* name;
        Template wanted;
        bool usage;
        const char* says;
    };
    const std::vector<Row> rows = {
        {"unknown page", {{"Stop Setting", {{"Close Torque %", "60"}}}}, true, "no page"},
        {"unknown setting",
         {{"Stop Settings", {{"Close Torque %", "60"}}}, {"ESD", {{"Mke", "on"}}}},
         true,
         "no setting \"Mke\""},
        {"unknown entry",
         {{"Stop Settings", {{"Close Torque %", "60"}}},
          {"Contacts S1 to S8", {{"S6 function", "XX:Nowhere"}}}},
         true,
         "no entry"},
        {"a text the page refuses",
         {{"Service Notes", {{"Service Notes", std::string("a\0b", 3)}}}},
         false,
         "zero byte"},
        {"a read-only box", {{"Misc", {{"Power Supply", "Single Phase"}}}}, false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SimRig rig;
        rig.context.loginLevel = shell::kUser;
        ASSERT_TRUE(image::extractImage(rig.context));
        rig.actuator.clearLog();
        const Planned planned = planTemplate(rig.context, row.wanted, true);
        ASSERT_TRUE(planned.problem);
        EXPECT_EQ(planned.problem->usage, row.usage) << planned.problem->text;
        EXPECT_NE(planned.problem->text.find(row.says), std::string::npos) << planned.problem->text;
        EXPECT_TRUE(rig.actuator.frames().empty()) << "a trial sent a frame";
    }
}

TEST(NamedSettings, IdentityIsTakenOnlyWhenAsked) {
    SimRig rig;
    rig.context.loginLevel = shell::kUser;
    ASSERT_TRUE(image::extractImage(rig.context));
    const Template wanted = {{"Service Notes", {{"Main PCB", "SN-1234"}}}};
    const Planned without = planTemplate(rig.context, wanted, false);
    ASSERT_FALSE(without.problem);
    EXPECT_TRUE(without.plan.changes.empty());
    ASSERT_EQ(without.plan.leftOut.size(), 1u);
    const Planned with = planTemplate(rig.context, wanted, true);
    ASSERT_FALSE(with.problem) << with.problem->text;
    ASSERT_EQ(with.plan.changes.size(), 1u);
    EXPECT_EQ(with.plan.changes[0].view, 1);
}

}  // namespace
}  // namespace vantrel::settings
