// The link trace of a whole extract: every frame the actuator received is a line,
// in order and byte for byte, each followed by its reply; every record is a line.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "SimFixture.h"
#include "image/ImageTransfer.h"
#include "link/LinkTrace.h"

namespace vantrel::image {
namespace {

std::string hex(const std::array<uint8_t, 11>& frame) {
    std::string text;
    char digits[4];
    for (uint8_t b : frame) {
        std::snprintf(digits, sizeof digits, " %02X", b);
        text += digits;
    }
    return text;
}

// The word after the direction: the command's name, or "record".
std::string what(const std::string& line) {
    const size_t start = line.find(' ', line.find(' ') + 1) + 1;
    return line.substr(start, line.find(' ', start) - start);
}

TEST(ExtractTrace, OneLinePerFrameAndRecordWithTheCommandNames) {
    sim::Options options;
    options.faults.badCrcConfigBlock = 2;
    test::SimRig rig(options);
    const std::string path = rig.folder + "/extract.trace";
    link::LinkTrace trace;
    ASSERT_TRUE(trace.open(path));
    rig.context.trace = &trace;
    ASSERT_TRUE(extractImage(rig.context));

    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);

    const auto frames = rig.actuator.frames();
    size_t sent = 0;
    int records = 0, badRecords = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        SCOPED_TRACE(line);
        EXPECT_EQ(line.find("UNKNOWN_"), std::string::npos);
        if (line.find(" > ") != std::string::npos) {
            ASSERT_LT(sent, frames.size());
            EXPECT_EQ(line.substr(line.size() - 33), hex(frames[sent]));
            ++sent;
            ASSERT_LT(i + 1, lines.size());
            EXPECT_NE(lines[i + 1].find(" < " + what(line) + " status="), std::string::npos)
                << lines[i + 1];
        } else if (what(line) == "record") {
            ++records;
            if (line.find(" crc=bad ") != std::string::npos) ++badRecords;
        }
    }
    EXPECT_EQ(sent, frames.size());
    EXPECT_EQ(lines.size(), 2 * frames.size() + records);
    // The burst of four, then block 2 asked for again alone.
    EXPECT_EQ(records, 5);
    EXPECT_EQ(badRecords, 1);
    EXPECT_NE(
        std::find_if(lines.begin(), lines.end(),
                     [](const std::string& line) { return what(line) == "REQUEST_CONFIG_BLOCKS"; }),
        lines.end());
}

}  // namespace
}  // namespace vantrel::image
