// Datalogger extraction of both generations against the simulated actuator paced
// at 115200 baud (both directions), as a ratio to the wire time of the bytes
// exchanged: every command frame and its reply, and the 155 records. For a ZR2 the
// pauses the actuator puts between its blocks are left out, since no receiver can
// make them shorter.
#include "BenchRig.h"
#include "datalog/DatalogData.h"
#include "datalog/Dataloggermenu.h"

namespace {

using namespace vantrel;

constexpr double kProTarget = 1.05;

// The pauses a ZR2 puts between the blocks of one group.
std::chrono::milliseconds zr2Gaps() {
    int gaps = 0;
    for (const auto& group : datalog::kGroups)
        gaps += group.count - 1;
    return std::chrono::milliseconds(gaps * sim::kRecordGapMs);
}

bool measure(sim::Generation generation, const char* name) {
    sim::Options options;
    options.generation = generation;
    options.pace = true;
    bench::Rig rig(options, "dfg");
    if (!rig.started) return false;
    datalog::CDataloggermenu screen(rig.context);

    const auto start = bench::Clock::now();
    screen.click("Extract");
    const bench::Seconds elapsed = bench::Clock::now() - start;
    if (screen.lastOutcome() != datalog::CDataloggermenu::Outcome::Saved) {
        std::fprintf(stderr, "%s: the extraction did not complete\n", name);
        return false;
    }

    const bench::Seconds wire = rig.wireTime(int64_t{datalog::kSlotCount} * link::kRecordBytes);
    const bench::Seconds gaps =
        generation == sim::Generation::ZR2 ? zr2Gaps() : std::chrono::milliseconds(0);
    const double ratio = (elapsed - gaps) / wire;
    std::printf(
        "%-4s datalog extraction: wire %.3f s, elapsed %.3f s (actuator's gaps %.3f s),"
        " ratio %.3f\n",
        name, wire.count(), elapsed.count(), gaps.count(), ratio);
    if (generation == sim::Generation::Pro)
        std::printf("     target for Pro at most %.2f: %s\n", kProTarget,
                    ratio <= kProTarget ? "met" : "NOT met");
    return true;
}

}  // namespace

int main() {
    const bool pro = measure(sim::Generation::Pro, "Pro");
    const bool zr2 = measure(sim::Generation::ZR2, "ZR2");
    return pro && zr2 ? 0 : 1;
}
