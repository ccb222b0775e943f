// Frame round trips per second over a pseudo-terminal without pacing, against the
// simulated actuator: how much of a frame's time the software itself takes.
// With --trace FILE every frame and reply is traced to FILE, as vantrel --trace does.
#include <cstring>

#include "BenchRig.h"
#include "link/LinkPort.h"
#include "link/LinkTrace.h"

namespace {

using namespace vantrel;

constexpr int kWarmUpFrames = 200;
constexpr std::chrono::seconds kRunFor{2};
constexpr double kTarget = 10000.0;  // round trips a second
// Frames whose two trace lines are written alone, to time the trace apart from the line.
constexpr int kTraceOnlyFrames = 20000;
// A command frame and its reply on the wire: 23 bytes of 10 bits at 115200 baud.
constexpr double kWireSecondsPerFrame =
    (link::kCommandFrameBytes + link::kReplyFrameBytes) * 10.0 / 115200.0;

bool readRegister(link::LinkPort& port, long frame) {
    return port.sendCommand(link::READ_REGISTER, static_cast<uint8_t>(frame % 64), 0, 0, 0, true);
}

}  // namespace

int main(int argc, char** argv) {
    bench::Rig rig(sim::Options{}, "none");
    if (!rig.started) return 1;
    link::LinkTrace trace;
    if (argc == 3 && std::strcmp(argv[1], "--trace") == 0) {
        if (!trace.open(argv[2])) {
            std::fprintf(stderr, "%s\n", trace.errorText().c_str());
            return 1;
        }
        rig.context.trace = &trace;
        std::printf("tracing to %s\n", argv[2]);
    }

    link::LinkPort port(rig.context);
    for (int i = 0; i < kWarmUpFrames; ++i)
        if (!readRegister(port, i)) return 1;

    long frames = 0;
    const auto start = bench::Clock::now();
    auto elapsed = bench::Clock::duration{};
    while (elapsed < kRunFor) {
        if (!readRegister(port, frames)) return 1;
        ++frames;
        elapsed = bench::Clock::now() - start;
    }
    const double seconds = bench::Seconds(elapsed).count();
    const double perSecond = frames / seconds;
    const double perFrame = seconds / frames;
    std::printf("frame round trips: %ld in %.2f s = %.0f per second (target %.0f): %s\n", frames,
                seconds, perSecond, kTarget, perSecond >= kTarget ? "met" : "NOT met");
    std::printf("time per frame: %.1f us = %.4f of the %.3f ms wire time of a frame\n",
                perFrame * 1e6, perFrame / kWireSecondsPerFrame, kWireSecondsPerFrame * 1e3);
    if (rig.context.trace) {
        // The trace's own cost: the two lines of the last exchange, written again and again.
        const auto traceStart = bench::Clock::now();
        for (int i = 0; i < kTraceOnlyFrames; ++i) {
            trace.frameSent(port.buffer().data() + 1, true, 0);
            trace.replyReceived(link::READ_REGISTER, port.buffer().data(), link::kReplyFrameBytes,
                                0);
        }
        const double traceSeconds = bench::Seconds(bench::Clock::now() - traceStart).count();
        std::printf("trace of one frame and its reply: %.2f us\n",
                    traceSeconds / kTraceOnlyFrames * 1e6);
    }
    return rig.ui.errors == 0 ? 0 : 1;
}
