// Send of "Service Notes" in the serial numbers view (unlock, 64 text pairs, the
// checksum frame, lock) against the simulator paced at 115200 baud, as a ratio to a
// bare loop that sends the same frames over the same paced simulator (what the page
// machinery costs), and to the wire time of the frames and replies.
#include <algorithm>
#include <vector>

#include "BenchRig.h"
#include "link/LinkPort.h"
#include "pages/ServiceNotes.h"

namespace {

using namespace vantrel;

constexpr double kTarget = 1.03;
constexpr int kRuns = 15;
constexpr std::size_t kFrames = 67;  // unlock, 64 pairs, the checksum frame, lock
constexpr bool kReport = true;

struct Frame {
    uint8_t command, address, data1, data2;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double fastest(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

}  // namespace

int main() {
    sim::Options options;
    options.pace = true;
    bench::Rig rig(options, "ucf");
    if (!rig.started) return 1;
    rig.context.loginLevel = shell::kUser;

    pages::CConfTab6 notes(rig.context);
    notes.setUp();
    notes.click(pages::kNotesCaption);  // the serial numbers view

    std::vector<double> pageTimes, bareTimes;
    std::vector<Frame> sent;
    bench::Seconds wire{};
    for (int run = 0; run < kRuns; ++run) {
        rig.actuator.clearLog();
        auto start = bench::Clock::now();
        notes.send();
        pageTimes.push_back(bench::Seconds(bench::Clock::now() - start).count());
        wire = rig.wireTime(0);

        // The same frames, as the page sent them, from a plain loop.
        sent.clear();
        for (const auto& frame : rig.actuator.frames())
            sent.push_back({frame[5], frame[6], frame[7], frame[8]});
        rig.actuator.clearLog();
        start = bench::Clock::now();
        {
            link::LinkPort link(rig.context);
            for (const Frame& frame : sent)
                if (!link.sendCommand(frame.command, frame.address, frame.data1, frame.data2, 0,
                                      kReport))
                    return 1;
        }
        bareTimes.push_back(bench::Seconds(bench::Clock::now() - start).count());
    }
    if (rig.ui.errors > 0 || sent.size() != kFrames) {
        std::fprintf(stderr, "the send did not complete (%zu frames)\n", sent.size());
        return 1;
    }
    // The fastest run of each is the least disturbed by other work on the machine;
    // the medians are printed beside it.
    const double page = fastest(pageTimes);
    const double bare = fastest(bareTimes);
    const double ratio = page / bare;
    std::printf("Service Notes send, serial numbers view: %zu frames, %d runs each, interleaved\n",
                sent.size(), kRuns);
    std::printf("  fastest: page %.4f s  bare loop %.4f s  wire %.4f s\n", page, bare,
                wire.count());
    std::printf("  page / bare loop %.4f (target %.2f: %s)  page / wire %.3f  bare / wire %.3f\n",
                ratio, kTarget, ratio <= kTarget ? "met" : "NOT met", page / wire.count(),
                bare / wire.count());
    std::printf("  medians: page %.4f s  bare loop %.4f s  ratio %.4f\n", median(pageTimes),
                median(bareTimes), median(pageTimes) / median(bareTimes));
    return 0;
}
