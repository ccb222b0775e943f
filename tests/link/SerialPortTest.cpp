// The serial port on its own: exclusive use, devices that are not terminals,
// reopening after a close.
#include <gtest/gtest.h>

#include "FarEnd.h"
#include "link/SerialPort.h"

namespace vantrel::test {
namespace {

using link::SerialPort;
using namespace std::chrono_literals;

TEST(SerialPort, ExclusiveUntilClosed) {
    FarEnd farEnd;
    ASSERT_TRUE(farEnd.ok());
    SerialPort first;
    ASSERT_TRUE(first.open(farEnd.path()));
    EXPECT_TRUE(first.readSettings());
    EXPECT_TRUE(first.applySettings()) << "a pseudo-terminal has no modem lines: not an error";

    SerialPort second;
    EXPECT_FALSE(second.open(farEnd.path()));
    EXPECT_EQ(second.error(), SerialPort::Error::Busy);
    EXPECT_EQ(second.errorText(), farEnd.path() + ": in use by another program");

    first.close();
    EXPECT_TRUE(second.open(farEnd.path()));
}

TEST(SerialPort, RefusesWhatIsNotASerialDevice) {
    SerialPort port;
    EXPECT_FALSE(port.open("/dev/null"));
    EXPECT_EQ(port.error(), SerialPort::Error::NotATerminal);
    EXPECT_FALSE(port.open("/nonexistent/ttyUSB9"));
    EXPECT_EQ(port.error(), SerialPort::Error::NotFound);
    EXPECT_EQ(port.errorText(), "/nonexistent/ttyUSB9: no such device");
    EXPECT_FALSE(port.isOpen());
    uint8_t byte = 0;
    EXPECT_FALSE(port.readByte(byte, 10ms));
    EXPECT_EQ(port.wait(10ms), SerialPort::Event::LineError);
    EXPECT_EQ(port.error(), SerialPort::Error::Closed);
}

}  // namespace
}  // namespace vantrel::test
