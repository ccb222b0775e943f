// Whole-image extract and update against the simulated actuator paced at 115200
// baud (both directions), as a ratio to the wire time of the bytes exchanged: every
// command frame and its reply, and the configuration records.
#include <functional>

#include "BenchRig.h"
#include "image/ImageFile.h"
#include "image/ImageTransfer.h"

namespace {

using namespace vantrel;

constexpr double kTarget = 1.10;

struct Scenario {
    const char* name;
    sim::Options options;
};

// Runs one operation against a fresh paced actuator and prints its ratio.
bool measure(const Scenario& scenario, const char* operation,
             const std::function<bool(shell::Context&)>& run, int recordBytes) {
    sim::Options options = scenario.options;
    options.pace = true;
    bench::Rig rig(options, "ucf");
    if (!rig.started) return false;
    rig.context.loginLevel = shell::kUser;
    // The update writes the image of a file: make one from the actuator first.
    if (std::string(operation) == "update") {
        if (!image::extractImage(rig.context) || !image::saveImageFile(rig.context)) return false;
        rig.actuator.clearLog();
    }

    const auto start = bench::Clock::now();
    const bool done = run(rig.context);
    const bench::Seconds elapsed = bench::Clock::now() - start;
    if (!done) {
        std::fprintf(stderr, "%s %s did not complete\n", scenario.name, operation);
        return false;
    }
    const bench::Seconds wire = rig.wireTime(recordBytes);
    const double ratio = elapsed / wire;
    std::printf(
        "%-22s %-7s %4zu frames  wire %.3f s  elapsed %.3f s  ratio %.3f (target %.2f: %s)\n",
        scenario.name, operation, rig.actuator.frames().size(), wire.count(), elapsed.count(),
        ratio, kTarget, ratio <= kTarget ? "met" : "NOT met");
    return true;
}

sim::Options options(sim::Generation generation, char letter, char variant, bool partTurn) {
    sim::Options o;
    o.generation = generation;
    o.card.letter = letter;
    o.card.variant = variant;
    o.card.busKind = 2;
    o.partTurn = partTurn;
    return o;
}

}  // namespace

int main() {
    const Scenario scenarios[] = {
        {"Pro, no option card", options(sim::Generation::Pro, 0, '1', false)},
        {"ZR2, multiport, ZRT", options(sim::Generation::ZR2, 'M', 'P', true)},
    };
    bool ok = true;
    for (const auto& scenario : scenarios) {
        const auto extract = [](shell::Context& context) { return image::extractImage(context); };
        ok = measure(scenario, "extract", extract, link::kBurstBytes) && ok;
        auto update = [](shell::Context& context) {
            return image::updateImage(context, context.loginLevel != shell::kNotLoggedIn);
        };
        ok = measure(scenario, "update", update, 0) && ok;
    }
    return ok ? 0 : 1;
}
