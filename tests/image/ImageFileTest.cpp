#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "SimFixture.h"
#include "image/ImageFile.h"
#include "image/ImageFileFormat.h"

namespace vantrel::image {
namespace {

constexpr const char* kStamp = "Sun 07 Dec 2025 07:14:00";

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// An image whose every byte differs from a fresh one, with the identity that the
// given option card reports.
ConfigImage sampleImage(uint8_t type, uint8_t flags, char letter, char variant) {
    ConfigImage image;
    std::mt19937 random(type * 7 + flags);
    for (auto& b : image.bytes)
        b = static_cast<uint8_t>(random());
    image.optionType = type;
    image.optionFlags = flags;
    uint8_t* software = image.at(area::OPT_SW_3);
    software[0] = static_cast<uint8_t>(letter);
    software[1] = static_cast<uint8_t>(variant);
    if (image.isMk2Bus())
        image.at(area::MK2BUS_3)[70] = type == kModbusMk2 ? 1 : type == kProfibusMk2 ? 2 : 3;
    return image;
}

void expectSameBytes(const ConfigImage& a, const ConfigImage& b, const Area& area, int length) {
    for (int i = 0; i < length; ++i)
        ASSERT_EQ(a.at(area)[i], b.at(area)[i]) << area.key << " byte " << i;
}

struct Variant {
    const char* name;
    uint8_t type;
    uint8_t flags;
    char letter;
    char variant;
    Area card;
    int cardBytes;
};

// Test listings name a variant by its name rather than by its bytes.
void PrintTo(const Variant& variant, std::ostream* out) {
    *out << variant.name;
}

class RoundTrip : public ::testing::TestWithParam<Variant> {};

TEST_P(RoundTrip, LoadsBackWhatWasSaved) {
    const Variant& v = GetParam();
    ConfigImage saved = sampleImage(v.type, v.flags, v.letter, v.variant);
    std::string file = formatImageFile(saved, kStamp);

    ConfigImage loaded;
    loaded.bytes.fill(0x5A);
    ASSERT_TRUE(parseImageFile(loaded, bytesOf(file)));
    EXPECT_EQ(loaded.optionType, v.type);
    EXPECT_EQ(loaded.optionFlags, v.flags);
    expectSameBytes(saved, loaded, {"EEPROM", 0, kEepromBytes}, kEepromBytes);
    expectSameBytes(saved, loaded, area::MAIN_SW, 4);
    if (v.type != kNoOption) {
        expectSameBytes(saved, loaded, area::OPT_SW_3, 4);
        expectSameBytes(saved, loaded, v.card, v.cardBytes);
    }
    if (v.flags & kPartTurnFlag) {
        expectSameBytes(saved, loaded, area::ZRT_5, area::ZRT_5.length);
        EXPECT_EQ(file.substr(file.size() - 28, 6), "ZRT_5\t");
        EXPECT_NE(file.back(), '\r');
    } else {
        EXPECT_EQ(file.back(), '\r');
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryVariant, RoundTrip,
    ::testing::Values(
        Variant{"NoCard", kNoOption, 0, 0, 0, area::MAIN_SW, 0},
        Variant{"Positioner", kPositioner, 0, 'F', '1', area::TRACKLIN_3, 6},
        Variant{"LoopNetwork", kLoopNetwork, 0, 'P', '1', area::VEXLINK_DIG_3, 15},
        Variant{"Modbus", kModbus, 0, 'M', '1', area::MODBUS_3, 10},
        Variant{"Profibus", kProfibus, 0, 'N', '1', area::PROFIBUS_3, 10},
        Variant{"DeviceNet", kDeviceNet, 0, 'K', '1', area::DEVICENET_3, 24},
        Variant{"ModbusMk2", kModbusMk2, 0, 'M', '2', area::MK2BUS_3, 105},
        Variant{"ProfibusMk2", kProfibusMk2, 0, 'M', '3', area::MK2BUS_3, 105},
        Variant{"FieldbusMk2", kFieldbusMk2, 0, 'M', '2', area::MK2BUS_3, 105},
        Variant{"MultiportModbus", kModbusMk2, kMultiportFlag, 'M', 'P', area::MK2BUS_3, 178},
        Variant{"MultiportProfibus", kProfibusMk2, kMultiportFlag, 'M', 'P', area::MK2BUS_3, 178},
        Variant{"PartTurnOnly", kNoOption, kPartTurnFlag, 0, 0, area::MAIN_SW, 0},
        Variant{"MultiportAndPartTurn", kFieldbusMk2, kMultiportFlag | kPartTurnFlag, 'M', 'P',
                area::MK2BUS_3, 178}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImageFileFormat, LayoutOfAFileWithoutOptions) {
    ConfigImage image;
    image.bytes[0] = 0x0A;
    image.bytes[1] = 0xBF;
    const uint8_t version[4] = {'V', '1', 0x00, 0x0D};
    std::copy_n(version, 4, image.at(area::MAIN_SW));
    std::string file = formatImageFile(image, "Mon 01 Jan 2024 01:02:03 and more");

    EXPECT_EQ(file.substr(0, 31), std::string("DATIM\tMon 01 Jan 2024 01:02:03\r"));
    EXPECT_EQ(file.substr(31, 23), "CUR_SLEEP\t0ABF00000000\r");
    // The identity goes out raw, even a zero byte or a CR, and the file ends there.
    EXPECT_EQ(file.substr(file.size() - 13), std::string("MAIN_SW\tV1\0\r\r", 13));
    EXPECT_EQ(file.find("OPT_SW_3"), std::string::npos);
    EXPECT_EQ(file.find("ZRT_5"), std::string::npos);

    // The raw zero byte does not hide what follows it from the loader.
    ConfigImage loaded;
    ASSERT_TRUE(parseImageFile(loaded, bytesOf(file)));
    EXPECT_EQ(loaded.bytes, image.bytes);
}

TEST(ImageFileFormat, DatimIsAlwaysTwentyFourCharacters) {
    EXPECT_EQ(formatDatim(0).size(), 24u);
    EXPECT_EQ(formatDatim(4102444800).size(), 24u);  // 2100
    ConfigImage image;
    EXPECT_EQ(formatImageFile(image, "short").substr(0, 31), "DATIM\tshort                   \r");
}

TEST(ImageFileFormat, LongestFileFitsTheReadLimit) {
    ConfigImage image = sampleImage(kProfibusMk2, kMultiportFlag | kPartTurnFlag, 'M', 'P');
    EXPECT_EQ(formatImageFile(image, kStamp).size(), 1708u);
}

TEST(ImageFileLoader, MissingAreasKeepTheirContentButUnused2IsRequired) {
    ConfigImage saved = sampleImage(kNoOption, 0, 0, 0);
    std::string file = formatImageFile(saved, kStamp);

    ConfigImage loaded;
    loaded.bytes.fill(0x11);
    std::string withoutNotes = file;
    withoutNotes.replace(withoutNotes.find("NOTES\t"), 5, "NOTEZ");
    ASSERT_TRUE(parseImageFile(loaded, bytesOf(withoutNotes)));
    for (int i = 0; i < area::NOTES.length; ++i)
        ASSERT_EQ(loaded.at(area::NOTES)[i], 0x11);
    expectSameBytes(saved, loaded, area::ID_CSUM, 1);

    ConfigImage partial;
    std::string withoutUnused2 = file;
    withoutUnused2.replace(withoutUnused2.find("UNUSED2\t"), 7, "UNUSED3");
    EXPECT_FALSE(parseImageFile(partial, bytesOf(withoutUnused2)));
    expectSameBytes(saved, partial, area::UNUSED1, area::UNUSED1.length);
}

TEST(ImageFileLoader, AcceptsLowerCaseHexAndResetsOptionState) {
    ConfigImage saved;
    saved.at(area::CUR_SLEEP)[0] = 0xAB;
    std::string file = formatImageFile(saved, kStamp);
    file.replace(file.find("CUR_SLEEP\tAB"), 12, "CUR_SLEEP\tab");
    ConfigImage loaded;
    loaded.optionType = kProfibus;
    loaded.optionFlags = kPartTurnFlag | kMultiportFlag;
    ASSERT_TRUE(parseImageFile(loaded, bytesOf(file)));
    EXPECT_EQ(loaded.bytes[0], 0xAB);
    EXPECT_EQ(loaded.optionType, kNoOption);
    EXPECT_EQ(loaded.optionFlags, 0);
}

TEST(ImageFileLoader, ValuesCutShortStopAtTheEndOfTheData) {
    ConfigImage saved = sampleImage(kFieldbusMk2, kMultiportFlag | kPartTurnFlag, 'M', 'P');
    std::string file = formatImageFile(saved, kStamp);
    // Every prefix loads without reading past it, and counts as a file only once it
    // holds the UNUSED2 key; the cut value takes only the pairs that are whole.
    const size_t unused2Whole = file.find("UNUSED2\t") + 8;
    for (size_t size = 0; size <= file.size(); ++size) {
        ConfigImage loaded;
        loaded.bytes.fill(0xEE);
        EXPECT_EQ(parseImageFile(loaded, bytesOf(file.substr(0, size))), size >= unused2Whole)
            << size;
    }
    ConfigImage loaded;
    loaded.bytes.fill(0xEE);
    ASSERT_TRUE(parseImageFile(loaded, bytesOf(file.substr(0, file.size() - 5))));
    const uint8_t* zrt = loaded.at(area::ZRT_5);
    EXPECT_EQ(zrt[7], saved.at(area::ZRT_5)[7]);  // 17 digits left: 8 whole pairs
    EXPECT_EQ(zrt[8], 0xEE);
    EXPECT_EQ(zrt[10], 0xEE);
    EXPECT_EQ(loaded.optionFlags, kMultiportFlag | kPartTurnFlag);
}

TEST(ImageFileLoader, AValueCutShortByItsLineEndTakesNothingFromTheNextLine) {
    ConfigImage saved = sampleImage(kLoopNetwork, 0, 'P', '1');
    std::string file = formatImageFile(saved, kStamp);
    const auto value = file.find("VEXLINK_DIG_3\t") + 14;
    file.erase(value + 26, 4);  // 13 of the 15 bytes
    ConfigImage loaded;
    loaded.bytes.fill(0xEE);
    ASSERT_TRUE(parseImageFile(loaded, bytesOf(file)));
    const int area = area::VEXLINK_DIG_3.offset;
    EXPECT_EQ(loaded.bytes[area + 12], saved.bytes[area + 12]);
    EXPECT_EQ(loaded.bytes[area + 13], 0xEE);
    EXPECT_EQ(loaded.bytes[area + 14], 0xEE);
    EXPECT_TRUE(loaded.holds(area, 13));
    EXPECT_FALSE(loaded.holds(area + 13));
    EXPECT_TRUE(loaded.holds(area::OPT_SW_3.offset, 4));
    // The next load of a whole file holds everything again.
    ASSERT_TRUE(parseImageFile(loaded, bytesOf(formatImageFile(saved, kStamp))));
    EXPECT_TRUE(loaded.holds(area, 15));
}

TEST(ImageFileLoader, WhatAFileLacksIsNeitherHeldNorSavedAgain) {
    // Only UNUSED2 and part of CUST_CFIG: every other byte keeps what it held, not held.
    const std::string file = "CUST_CFIG\t0102\rUNUSED2\t" + std::string(128, 'A') + "\r";
    ConfigImage loaded = sampleImage(kLoopNetwork, kPartTurnFlag, 'P', '1');
    loaded.bytes.fill(0xEE);
    ASSERT_TRUE(parseImageFile(loaded, bytesOf(file)));
    EXPECT_TRUE(loaded.holds(area::CUST_CFIG.offset, 2));
    EXPECT_FALSE(loaded.holds(area::CUST_CFIG.offset + 2));
    EXPECT_FALSE(loaded.holds(area::CUR_SLEEP.offset));
    EXPECT_FALSE(loaded.holds(area::MAIN_SW.offset));
    EXPECT_TRUE(loaded.holds(area::UNUSED2.offset, area::UNUSED2.length));
    EXPECT_EQ(loaded.bytes[area::CUR_SLEEP.offset], 0xEE);

    // The save carries what was read and nothing of what was not.
    const std::string saved = formatImageFile(loaded, kStamp);
    EXPECT_NE(saved.find("\rCUR_SLEEP\t\r"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\rCUST_CFIG\t0102\r"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("MAIN_SW"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("EEEE"), std::string::npos) << saved;  // no byte not read
    ConfigImage again;
    ASSERT_TRUE(parseImageFile(again, bytesOf(saved)));
    EXPECT_EQ(again.missing, loaded.missing);
}

TEST(ImageFileLoader, MultiportLengthNeverOverrunsAnotherArea) {
    // A multiport identity followed by a positioner line: the long read belongs to
    // the bus area only, so the areas after TRACKLIN_3 stay as they were.
    ConfigImage loaded;
    loaded.bytes.fill(0x33);
    std::string file = formatImageFile(ConfigImage{}, kStamp);
    file += "OPT_SW_3\tMP01\rTRACKLIN_3\t" + std::string(356, 'F') + "\r";
    ASSERT_TRUE(parseImageFile(loaded, bytesOf(file)));
    EXPECT_EQ(loaded.optionType, kPositioner);
    EXPECT_EQ(loaded.at(area::TRACKLIN_3)[5], 0xFF);
    EXPECT_EQ(loaded.at(area::ZRT_5)[0], 0x33);
}

// Save and load through the dialogs, against real files.
class ImageFileDialogs : public ::testing::Test {
protected:
    test::SimRig rig;
    std::string path(const std::string& name) { return rig.folder + "/" + name; }
    std::string read(const std::string& name) {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(path(name), std::ios::binary) << text;
    }
};

TEST_F(ImageFileDialogs, SaveAndLoadRoundTrip) {
    rig.context.image = sampleImage(kLoopNetwork, kPartTurnFlag, 'P', '1');
    ConfigImage saved = rig.context.image;
    rig.ui.files.push_back(path("a.ucf"));
    ASSERT_TRUE(saveImageFile(rig.context));
    EXPECT_EQ(rig.ui.shown.front(), "save: Eeprom");

    rig.context.image = ConfigImage{};
    rig.ui.files.push_back(path("a.ucf"));
    ASSERT_TRUE(loadImageFile(rig.context));
    EXPECT_EQ(rig.ui.shown.back(), "open: EepromData");
    EXPECT_EQ(rig.ui.sounds, std::vector{ui::Sound::Menu});
    EXPECT_EQ(rig.context.image.optionType, kLoopNetwork);
    expectSameBytes(saved, rig.context.image, area::VEXLINK_DIG_3, 15);
    EXPECT_TRUE(rig.ui.errors.empty());
}

TEST_F(ImageFileDialogs, CancelledDialogsChangeNothing) {
    rig.context.image = sampleImage(kModbusMk2, kPartTurnFlag, 'M', '2');
    ConfigImage before = rig.context.image;
    EXPECT_FALSE(saveImageFile(rig.context));
    EXPECT_FALSE(loadImageFile(rig.context));
    EXPECT_EQ(rig.ui.messages, (std::vector<std::string>{"No File Selected", "No File Selected"}));
    EXPECT_EQ(rig.context.image.bytes, before.bytes);
    EXPECT_EQ(rig.context.image.optionType, kModbusMk2);
    EXPECT_EQ(rig.context.image.optionFlags, kPartTurnFlag);
}

TEST_F(ImageFileDialogs, FailedSaveLeavesNoTraceAndReportsIt) {
    // The target is a folder, so the rename into place fails after the data is written.
    std::filesystem::create_directory(path("taken.ucf"));
    rig.ui.files.push_back(path("taken.ucf"));
    EXPECT_FALSE(saveImageFile(rig.context));
    EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"Could Not Open File"});
    EXPECT_EQ(rig.context.errorFlags, 0u);
    for (const auto& entry : std::filesystem::directory_iterator(rig.folder))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);

    rig.ui.files.push_back(path("missing/folder.ucf"));
    EXPECT_FALSE(saveImageFile(rig.context));
    EXPECT_EQ(rig.ui.errors.size(), 2u);
}

TEST_F(ImageFileDialogs, SaveReplacesAnExistingFile) {
    write("old.ucf", "old content");
    rig.ui.files.push_back(path("old.ucf"));
    ASSERT_TRUE(saveImageFile(rig.context));
    EXPECT_EQ(read("old.ucf").substr(0, 6), "DATIM\t");
}

TEST_F(ImageFileDialogs, LoadFailuresAreReported) {
    rig.ui.files.push_back(path("none.ucf"));
    EXPECT_FALSE(loadImageFile(rig.context));
    write("empty.ucf", "");
    rig.ui.files.push_back(path("empty.ucf"));
    EXPECT_FALSE(loadImageFile(rig.context));
    EXPECT_EQ(rig.ui.errors,
              (std::vector<std::string>{"Could Not Open File", "EEPROM file not complete"}));
}

TEST_F(ImageFileDialogs, OnlyTheFirst2000BytesAreRead) {
    ConfigImage saved = sampleImage(kNoOption, kPartTurnFlag, 0, 0);
    std::string file = formatImageFile(saved, kStamp);
    // Padding after MAIN_SW pushes the part-turn line past the read limit.
    size_t zrt = file.find("ZRT_5\t");
    file.insert(zrt, 2000 - zrt, ' ');
    write("long.ucf", file);
    rig.ui.files.push_back(path("long.ucf"));
    ASSERT_TRUE(loadImageFile(rig.context));
    EXPECT_EQ(rig.context.image.optionFlags, 0);

    file.erase(1990, 10);  // now the key lies within the limit
    write("long.ucf", file);
    rig.ui.files.push_back(path("long.ucf"));
    ASSERT_TRUE(loadImageFile(rig.context));
    EXPECT_EQ(rig.context.image.optionFlags, kPartTurnFlag);
}

}  // namespace
}  // namespace vantrel::image
