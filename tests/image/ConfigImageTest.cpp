#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "image/ConfigImage.h"

namespace vantrel::image {
namespace {

TEST(ConfigImage, ChecksumIsOnePlusTheSumModulo256) {
    const std::vector<uint8_t> zeros(42, 0);
    EXPECT_EQ(imageChecksum(zeros.data(), 42), 1);
    const std::vector<uint8_t> ones(35, 0xFF);
    EXPECT_EQ(imageChecksum(ones.data(), 35), 0xDE);
    EXPECT_EQ(imageChecksum(ones.data(), 0), 1);
}

TEST(ConfigImage, OddBitCountCountsEveryBitOfEveryByte) {
    const uint8_t pair[] = {0x01, 0x80};
    EXPECT_EQ(oddBitCount(pair, 2), 0);
    const uint8_t seven = 0x07;
    EXPECT_EQ(oddBitCount(&seven, 1), 1);
    EXPECT_EQ(oddBitCount(pair, 0), 0);
    const uint8_t parityPair[] = {0x01, 0x00};  // bytes 65, 66: bit 7 of 66 must be set
    EXPECT_EQ(oddBitCount(parityPair, 2), 1);
}

TEST(ConfigImage, HexDigitsBothWays) {
    ConfigImage image;
    for (int value : {0x00, 0x0A, 0x5F, 0xAB, 0xFF}) {
        byteToHex(image, static_cast<uint8_t>(value));
        EXPECT_EQ(hexToByte(image.hex), value);
    }
    byteToHex(image, 0x0A);
    EXPECT_EQ(std::string(image.hex, 2), "0A");
    EXPECT_EQ(hexToByte("AB"), 0xAB);
    EXPECT_EQ(hexToByte("ab"), 0xAB);
    EXPECT_EQ(hexToByte("0a"), 0x0A);
    EXPECT_EQ(hexToByte("9F"), 0x9F);
    // Other characters give some byte; they are neither rejected nor a crash.
    (void)hexToByte("\xff\x01");
}

TEST(ConfigImage, AreasTileTheEepromAndEveryAreaFitsTheImage) {
    int next = 0;
    for (const Area& a : area::kEepromAreas) {
        EXPECT_EQ(a.offset, next) << a.key;
        next = a.offset + a.length;
    }
    EXPECT_EQ(next, kEepromBytes);

    // Only one card is fitted at a time, so card areas may share bytes (DeviceNet's
    // tail lies under the Modbus area); the multiport bus area must not reach the
    // next area, and nothing may reach past the image.
    EXPECT_EQ(area::MK2BUS_3.offset + kMultiportBusBytes, area::VEXLINK_DIG_3.offset);
    for (const Area& a :
         {area::MK2BUS_3, area::VEXLINK_DIG_3, area::DEVICENET_3, area::MODBUS_3, area::PROFIBUS_3,
          area::TRACKLIN_3, area::ZRT_5, area::OPT_SW_3, area::MAIN_SW})
        EXPECT_LE(a.offset + a.length, kImageBytes) << a.key;
    EXPECT_EQ(area::MAIN_SW.offset + area::MAIN_SW.length, kImageBytes);
}

TEST(ConfigImage, RegisterViewSharesBytesWithTheNextRegister) {
    ConfigImage image;
    image.bytes[area::CUST_CSUM.offset] = 0x11;
    image.bytes[area::DEF_CFIG.offset] = 0x22;
    image.bytes[area::DEF_CFIG.offset + 1] = 0x33;
    // Register 84 holds the current-configuration checksum, then the default copy.
    EXPECT_EQ(image.reg(84), 0x11);
    EXPECT_EQ(image.reg(85), 0x22);
    EXPECT_EQ(image.reg(86), 0x33);
    EXPECT_EQ(&image.reg(42), image.at(area::CUST_CFIG));
    EXPECT_EQ(&image.reg(42 + 43), image.at(area::DEF_CFIG));
}

TEST(ConfigImage, BusKindsGiveTheirCardTypes) {
    EXPECT_EQ(optionTypeOfBusKind(1), kModbusMk2);
    EXPECT_EQ(optionTypeOfBusKind(2), kProfibusMk2);
    EXPECT_EQ(optionTypeOfBusKind(3), kFieldbusMk2);
    EXPECT_EQ(optionTypeOfBusKind(0), kNoOption);
    EXPECT_EQ(optionTypeOfBusKind(4), kNoOption);
}

}  // namespace
}  // namespace vantrel::image
