// The play run in a world of fakes, driven by seeded choices: every order of answers, saves,
// stops, monitor changes, sleeps and clock changes that the seeds reach keeps every invariant.
#include <gtest/gtest.h>

#include <string>

#include "run_world.h"

namespace tidewell::simulation {
namespace {

std::string Lines(const Outcome& outcome) {
    std::string text;
    for (const std::string& line : outcome.lines) text += "  " + line + "\n";
    return text;
}

// A seed that breaks an invariant is shrunk to the fewest steps that still break it, printed.
TEST(RunSimulation, ManySeeds_EveryInvariantHolds) {
    constexpr std::size_t kSteps = 1'500;
    std::size_t steps = 0;
    for (std::uint64_t seed = 1; seed <= 3'000; ++seed) {
        Choices choices(seed);
        const Outcome outcome = Simulate(choices, kSteps);
        steps += outcome.lines.size();
        if (!outcome.broken) continue;
        Choices shrunk(Shrink(choices.Drawn(), kSteps));
        const Outcome shortest = Simulate(shrunk, kSteps);
        FAIL() << "seed " << seed << ": " << outcome.broken->rule << " ("
               << outcome.broken->detail << ")\nshortest steps that break it:\n"
               << Lines(shortest) << "  which breaks: "
               << (shortest.broken ? shortest.broken->rule + " (" + shortest.broken->detail + ")"
                                   : std::string("nothing"));
    }
    EXPECT_GT(steps, 500'000u) << "the seeds reach far enough";
}

}  // namespace
}  // namespace tidewell::simulation
