#pragma once
// The raw frame test ("VXCHAT", CVxchat): sends one hand-made command frame and shows
// the reply byte by byte. The tool adds the header and the checksum.
#include <array>
#include <string>

#include "shell/NavigationScreen.h"

namespace vantrel::service {

// Ids of the boxes, for the command line and the tests.
inline constexpr std::array<const char*, 5> kTransmitIds = {"tx-command", "tx-address", "tx-data1",
                                                            "tx-data2", "tx-data3"};
// Reply bytes 6..10 in hexadecimal.
inline constexpr std::array<const char*, 5> kReceiveHexIds = {"rx-6", "rx-7", "rx-8", "rx-9",
                                                              "rx-10"};
// Reply bytes 7..10 as characters.
inline constexpr std::array<const char*, 4> kReceiveCharIds = {"rx-char-7", "rx-char-8",
                                                               "rx-char-9", "rx-char-10"};
inline constexpr const char* kResultId = "result";

// A transmit box's text as exactly two characters: a short text is padded with '0'
// on the left, a long one gives its last two characters.
std::string twoCharacters(const std::string& text);

class CVxchat : public shell::NavigationScreen {
public:
    explicit CVxchat(shell::Context& context);
    const char* className() const override { return "CVxchat"; }

    // Whether the last SEND got a reply; without one the boxes show the request.
    bool replied() const { return replied_; }

private:
    void send();

    std::array<ui::Edit*, 5> transmit_{};
    std::array<ui::Edit*, 5> receiveHex_{};
    std::array<ui::Edit*, 4> receiveChar_{};
    ui::Edit* result_ = nullptr;
    bool replied_ = false;
};

}  // namespace vantrel::service
