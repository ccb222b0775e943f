#include "options/Modbus.h"

#include "pages/ConfigSheet.h"
#include "pages/Entries.h"

namespace vantrel::options {

namespace {

// Write addresses (48 + bus register) and bytes of the bus card area.
constexpr int kArea = image::area::MK2BUS_3.offset;
constexpr CardByte kAddress{54, kArea + 5};
constexpr CardByte kBaudRate{55, kArea + 6};
constexpr CardByte kParity{57, kArea + 8};

constexpr uint16_t kFirstAddress = 1;
constexpr uint16_t kLastAddress = 247;
constexpr int kFirstBaudRate = 1;  // "300" stores 1

}  // namespace

CModbusTab::CModbusTab(shell::Context& context) : OptionPage(context, pages::kModbus) {
    section();
    byteList("Address", kAddress.offset, pages::numberEntries(kFirstAddress, kLastAddress)).offset =
        kFirstAddress;
    byteList("Baud Rate", kBaudRate.offset,
             {"300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"})
        .offset = kFirstBaudRate;
    // The parity and, in brackets, the number of stop bits.
    byteList("Parity", kParity.offset,
             {"none [1]", "none [2]", "even [1]", "even [2]", "odd [1]", "odd [2]"});

    versionBox(image::area::OPT_SW_3.offset);

    section();
    addSendButton();
}

image::FrameSequence CModbusTab::frames() const {
    image::FrameSequence run;
    for (const CardByte& byte : {kAddress, kBaudRate, kParity})
        run.push_back(image::frames::optionByte(byte.address, byte.offset));
    return run;
}

}  // namespace vantrel::options
