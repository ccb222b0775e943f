// Send of configuration pages (Stop Settings; Service Notes in the serial numbers
// view: unlock, 64 text pairs, the checksum frame, lock) and of an option page (the
// first bus Mk2 page) against the simulated actuator paced at 115200 baud: as a ratio to a
// bare loop that sends the same frames over the same line, and to the wire time of
// the frames and replies.
#include <algorithm>
#include <functional>
#include <vector>

#include "BenchRig.h"
#include "options/BusMk2Page1.h"
#include "pages/ServiceNotes.h"
#include "pages/StopSettings.h"

namespace {

using namespace vantrel;

constexpr double kTarget = 1.03;
constexpr int kRounds = 31;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Alternates the page's Send and the bare loop, so that both see the same line and
// scheduler, and prints the medians.
// prepare runs after the page's set-up (a view to switch to).
void measure(bench::Rig& rig, pages::ConfigPage& page, const char* name,
             const std::function<void()>& prepare = {}) {
    page.setUp();
    if (prepare) prepare();
    std::vector<double> sends, bares, wires;
    for (int round = 0; round < kRounds; ++round) {
        rig.actuator.clearLog();
        const auto start = bench::Clock::now();
        page.send();
        sends.push_back(bench::Seconds(bench::Clock::now() - start).count());
        wires.push_back(rig.wireTime(0).count());
        bares.push_back(rig.bareLoop().count());
    }
    const double send = median(sends), bare = median(bares), wire = median(wires);
    std::printf("%s Send  %zu frames  wire %.4f s  bare loop %.4f s  send %.4f s\n", name,
                rig.actuator.frames().size(), wire, bare, send);
    std::printf("  send / bare loop %.3f (target %.2f: %s)  send / wire %.3f  bare / wire %.3f\n",
                send / bare, kTarget, send / bare <= kTarget ? "met" : "NOT met", send / wire,
                bare / wire);
}

}  // namespace

int main() {
    sim::Options options;
    options.pace = true;
    options.card.letter = 'M';
    options.card.variant = '2';
    options.card.busKind = 1;
    bench::Rig rig(options, "ucf");
    if (!rig.started) return 1;
    rig.context.loginLevel = shell::kUser;
    rig.context.image.optionType = image::kModbusMk2;

    pages::CConfTab1 stopSettings(rig.context);
    measure(rig, stopSettings, "Stop Settings");
    pages::CConfTab6 notes(rig.context);
    measure(rig, notes, "Service Notes (S/Nos)", [&] { notes.click(pages::kNotesCaption); });
    options::COptTabBus1 busPage1(rig.context);
    measure(rig, busPage1, "Option - BUS mk2 page 1");
    return rig.ui.errors ? 1 : 0;
}
