#pragma once
// "Option - Modbus": the Modbus Mk2 card's slave address, baud rate and parity, and
// the card's identity.
#include "options/OptionPage.h"

namespace vantrel::options {

class CModbusTab : public OptionPage {
public:
    explicit CModbusTab(shell::Context& context);
    const char* className() const override { return "CModbusTab"; }

protected:
    image::FrameSequence frames() const override;
};

}  // namespace vantrel::options
