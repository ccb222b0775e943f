// Option cards, bus cards and the part-turn unit as the simulator presents them.
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "SimLine.h"
#include "link/Commands.h"

namespace vantrel::test {
namespace {

using namespace link;

sim::Options withCard(char letter, char variant = '1', uint8_t busKind = 1) {
    sim::Options options;
    options.card.letter = letter;
    options.card.variant = variant;
    options.card.busKind = busKind;
    return options;
}

TEST(SimOptionUnits, NothingFittedAnswersT) {
    SimRig rig;
    SimLine line(rig.server.path());
    for (uint8_t command : {READ_OPTION_TYPE, READ_OPTION_REGISTER, WRITE_OPTION_BYTE,
                            READ_BUS_REGISTER, COMMIT_BUS_SETTINGS, OPTION_CONTROL,
                            READ_PART_TURN_TYPE, READ_PART_TURN, WRITE_PART_TURN})
        EXPECT_EQ(line.exchange(command, 54).at(5), 'T') << "command " << int(command);
}

TEST(SimOptionUnits, EachCardReportsItsLetterVariantAndRegisters) {
    struct Case {
        char letter, variant;
        bool busCard;
    };
    for (const Case c : {Case{'P', '1', false}, Case{'F', '1', false}, Case{'M', '1', false},
                         Case{'N', '1', false}, Case{'K', '1', true}, Case{'M', '2', true},
                         Case{'M', '3', true}, Case{'M', 'P', true}}) {
        SCOPED_TRACE((std::string{c.letter, c.variant}));
        SimRig rig(withCard(c.letter, c.variant));
        rig.actuator.setOptionRegister(112, 0x12);
        rig.actuator.setOptionRegister(113, 0x13);
        SimLine line(rig.server.path());
        const auto type = line.exchange(READ_OPTION_TYPE);
        EXPECT_EQ(type.at(5), 'Y');
        EXPECT_EQ(type.at(7), c.letter);
        EXPECT_EQ(type.at(8), c.variant);
        const auto reg = line.exchange(READ_OPTION_REGISTER, 112);
        EXPECT_EQ(reg.at(8), 0x12);
        EXPECT_EQ(reg.at(9), 0x13);
        EXPECT_EQ(line.exchange(READ_OPTION_BYTE, 113).at(8), 0x13);
        EXPECT_EQ(line.exchange(READ_BUS_REGISTER, 21).at(5), c.busCard ? 'Y' : 'T');
    }
}

TEST(SimOptionUnits, BusKindAndMk2WriteAddresses) {
    for (uint8_t kind : {1, 2, 3}) {
        SimRig rig(withCard('M', 'P', kind));
        SimLine line(rig.server.path());
        EXPECT_EQ(line.exchange(READ_BUS_REGISTER, 47).at(8), kind);
    }
    SimRig rig(withCard('M', '2', 2));
    SimLine line(rig.server.path());
    // One-byte registers at 48 + n; the partial stroke pair at 97 (high) and 98 (low).
    EXPECT_EQ(line.exchange(WRITE_OPTION_BYTE, 54, 0x21).at(5), 'Y');
    EXPECT_EQ(line.exchange(WRITE_OPTION_BYTE, 97, 0x81).at(5), 'Y');
    EXPECT_EQ(line.exchange(WRITE_OPTION_BYTE, 98, 44).at(5), 'Y');
    EXPECT_EQ(rig.actuator.busRegister(6) & 0xFF, 0x21);
    EXPECT_EQ(rig.actuator.busRegister(49), 0x8100 | 44);
    // A two-byte write, read back low byte first.
    EXPECT_EQ(line.exchange(WRITE_BUS_REGISTER, 80, 0x34, 0x12).at(5), 'Y');
    const auto r = line.exchange(READ_BUS_REGISTER, 80);
    EXPECT_EQ(r.at(8), 0x34);
    EXPECT_EQ(r.at(9), 0x12);
    EXPECT_EQ(line.exchange(COMMIT_BUS_SETTINGS).at(5), 'Y');
    EXPECT_EQ(rig.actuator.busCommits(), 1);
    // Sampling the analogue input changes bus register 19.
    const uint16_t before = rig.actuator.busRegister(19);
    line.exchange(WRITE_OPTION_BYTE, 67, 232);
    EXPECT_NE(rig.actuator.busRegister(19), before);
}

TEST(SimOptionUnits, OptionControlDefaultsTheCard) {
    SimRig rig(withCard('P'));
    SimLine line(rig.server.path());
    line.exchange(WRITE_OPTION_BYTE, 50, 0x77);
    EXPECT_EQ(rig.actuator.optionRegister(50), 0x77);
    EXPECT_EQ(line.exchange(OPTION_CONTROL, 0, 0, 0, 0).at(5), 'Y');
    EXPECT_EQ(rig.actuator.optionRegister(50), 0x77) << "not the default-all data";
    line.exchange(OPTION_CONTROL, 0, 222, 192, 238);
    EXPECT_NE(rig.actuator.optionRegister(50), 0x77);
}

TEST(SimOptionUnits, ProfibusWritesAndTheAnalogueReadingReadBack) {
    sim::Options options = withCard('M', '2', 2);
    options.card.analogueReading = 10000;
    SimRig rig(options);
    SimLine line(rig.server.path());
    // The lock byte of a current card at 99, of an early card as bus register 51.
    line.exchange(WRITE_OPTION_BYTE, 99, 0x07);
    EXPECT_EQ(line.exchange(READ_BUS_REGISTER, 51).at(8), 0x07);
    line.exchange(WRITE_BUS_REGISTER, 51, 0x03, 0x00);
    EXPECT_EQ(line.exchange(READ_BUS_REGISTER, 51).at(8), 0x03);
    line.exchange(WRITE_BUS_REGISTER, 54, 0x45, 0x08);
    EXPECT_EQ(rig.actuator.busRegister(54), 0x0845);
    line.exchange(WRITE_OPTION_BYTE, 67, 232);
    const auto reading = line.exchange(READ_BUS_REGISTER, 19);
    EXPECT_EQ(reading.at(8), 0x10);
    EXPECT_EQ(reading.at(9), 0x27);
}

TEST(SimOptionUnits, PartTurnUnit) {
    sim::Options options;
    options.partTurn = true;
    SimRig rig(options);
    SimLine line(rig.server.path());
    EXPECT_EQ(line.exchange(READ_PART_TURN_TYPE).at(7), 'Q');
    EXPECT_EQ(line.exchange(WRITE_PART_TURN, 57, 0x3C).at(5), 'Y');
    EXPECT_EQ(line.exchange(READ_PART_TURN, 57).at(8), 0x3C);
    EXPECT_EQ(rig.actuator.partTurnRegister(57), 0x3C);
}

}  // namespace
}  // namespace vantrel::test
