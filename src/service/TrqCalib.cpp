#include "service/TrqCalib.h"

#include "pages/UnsignedField.h"
#include "service/TorqueCalibration.h"
#include "shell/NavigationScreen.h"

namespace vantrel::service {

namespace {
constexpr uint32_t kWordMask = 0xFFFF;
constexpr int kWordBytes = 2;
}  // namespace

CTrqCalib::CTrqCalib(shell::Context& context)
    : ConfigPage(
          context, "Torque calibration data",
          pages::PageRules{.sendLevel = shell::kService,
                           .checksums = pages::kCurrentChecksum | pages::kManufactureChecksum}) {
    using pages::Bits, pages::UnsignedField, pages::reg, pages::regBits;
    section();
    field<UnsignedField>(addEdit(kClockwiseOffset),
                         Bits{reg(kClockwiseOffsetRegister), kWordMask, kWordBytes}, std::nullopt);
    field<UnsignedField>(addEdit(kAntiClockwiseOffset),
                         Bits{reg(kAntiClockwiseOffsetRegister), kWordMask, kWordBytes},
                         std::nullopt);
    field<UnsignedField>(addEdit(kClockwiseScaling), regBits(kClockwiseScalingRegister),
                         std::nullopt);
    field<UnsignedField>(addEdit(kAntiClockwiseScaling), regBits(kAntiClockwiseScalingRegister),
                         std::nullopt);
    field<UnsignedField>(addEdit(kGain), regBits(kGainRegister), std::nullopt);

    section({}, 2);
    addButton("Send", [this] {
        setFocus("Send");
        send();
    }).writes = true;
    addButton("Exit", [this] { shell::navigateTo(context_, *this, shell::kCalibration); });
}

image::FrameSequence CTrqCalib::frames() const {
    return calibrationFrames(false);
}

}  // namespace vantrel::service
