// Send of the Stop Settings page against the simulated actuator paced at 115200
// baud: as a ratio to a bare loop that sends the same frames over the same line, and
// to the wire time of the frames and replies.
#include <algorithm>
#include <vector>

#include "BenchRig.h"
#include "pages/StopSettings.h"

namespace {

using namespace vantrel;

constexpr double kTarget = 1.03;
constexpr int kRounds = 15;

}  // namespace

int main() {
    sim::Options options;
    options.pace = true;
    bench::Rig rig(options, "ucf");
    if (!rig.started) return 1;
    rig.context.loginLevel = shell::kUser;
    pages::CConfTab1 page(rig.context);
    page.setUp();

    // Alternate the two so that both see the same line and scheduler.
    std::vector<double> sends, bares, wires;
    for (int round = 0; round < kRounds; ++round) {
        rig.actuator.clearLog();
        const auto start = bench::Clock::now();
        page.send();
        sends.push_back(bench::Seconds(bench::Clock::now() - start).count());
        wires.push_back(rig.wireTime(0).count());
        bares.push_back(rig.bareLoop().count());
    }
    if (rig.ui.errors) return 1;
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double send = median(sends), bare = median(bares), wire = median(wires);
    std::printf("Stop Settings Send  %zu frames  wire %.4f s  bare loop %.4f s  send %.4f s\n",
                rig.actuator.frames().size(), wire, bare, send);
    std::printf("  send / bare loop %.3f (target %.2f: %s)  send / wire %.3f  bare / wire %.3f\n",
                send / bare, kTarget, send / bare <= kTarget ? "met" : "NOT met", send / wire,
                bare / wire);
    return 0;
}
