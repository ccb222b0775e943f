#include "FarEnd.h"

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "link/Commands.h"
#include "link/Crc16.h"

namespace vantrel::test {

namespace {
constexpr int kPollSliceMs = 20;  // how often the thread looks at its stop flag
}

FarEnd::FarEnd() {
    char name[PATH_MAX] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    path_ = name;
}

FarEnd::~FarEnd() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
}

void FarEnd::serve(Responder responder) {
    responder_ = std::move(responder);
    thread_ = std::thread([this] { run(); });
}

std::vector<Frame> FarEnd::frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

void FarEnd::perform(const Step& step) {
    if (step.delay.count() > 0) std::this_thread::sleep_for(step.delay);
    size_t done = 0;
    while (done < step.bytes.size()) {
        const ssize_t n = ::write(master_, step.bytes.data() + done, step.bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    if (step.hangUp) {
        ::close(master_);
        master_ = -1;
    }
}

void FarEnd::run() {
    Bytes pending;
    while (!stop_ && master_ >= 0) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, kPollSliceMs) <= 0 || !(p.revents & POLLIN)) continue;
        uint8_t chunk[256];
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n <= 0) continue;
        pending.insert(pending.end(), chunk, chunk + n);
        while (pending.size() >= std::tuple_size_v<Frame> && master_ >= 0) {
            Frame frame;
            std::copy_n(pending.begin(), frame.size(), frame.begin());
            pending.erase(pending.begin(), pending.begin() + frame.size());
            {
                std::lock_guard lock(mutex_);
                frames_.push_back(frame);
            }
            for (const Step& step : responder_(frame)) {
                if (stop_ || master_ < 0) break;
                perform(step);
            }
        }
    }
}

Bytes reply(uint8_t status, uint8_t aux, uint8_t d1, uint8_t d2, uint8_t d3) {
    Bytes bytes = {'H', 'H', 'C', '0', '2', status, 0, aux, d1, d2, d3, 0};
    bytes[11] = link::frameChecksum(bytes.data());
    return bytes;
}

std::array<uint8_t, 128> recordData(uint8_t fill) {
    std::array<uint8_t, 128> data;
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(fill + i);
    return data;
}

Bytes record(uint8_t leadIn, uint8_t number, uint8_t fill, const char* header) {
    Bytes bytes(link::kRecordBytes);
    bytes[0] = leadIn;
    std::memcpy(&bytes[1], header, 4);
    bytes[5] = number;
    const auto data = recordData(fill);
    std::copy(data.begin(), data.end(), bytes.begin() + 6);
    const uint16_t crc = link::crc16(&bytes[5], 129, link::kCrcStart);
    bytes[134] = static_cast<uint8_t>(crc & 0xFF);
    bytes[135] = static_cast<uint8_t>(crc >> 8);
    return bytes;
}

}  // namespace vantrel::test
