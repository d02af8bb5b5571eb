// Runs the play run's seeded simulation for as many steps as asked, seed after seed, and prints
// the steps per second; a seed that breaks an invariant is shrunk and its steps printed.
//   run_simulation [steps, default 10000000] [first seed, default 1]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "run_world.h"

int main(int argc, char** argv) {
    using namespace tidewell::simulation;
    const unsigned long long wanted = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 10'000'000;
    unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    constexpr std::size_t kSteps = 1'500;
    unsigned long long steps = 0, runs = 0;
    const auto began = std::chrono::steady_clock::now();
    for (; steps < wanted; ++seed, ++runs) {
        Choices choices(seed);
        const Outcome outcome = Simulate(choices, kSteps);
        steps += outcome.lines.size();
        if (!outcome.broken) continue;
        Choices shrunk(Shrink(choices.Drawn(), kSteps));
        std::printf("seed %llu breaks: %s (%s)\nshortest steps that break it:\n", seed,
                    outcome.broken->rule.c_str(), outcome.broken->detail.c_str());
        for (const std::string& line : Simulate(shrunk, kSteps).lines) {
            std::printf("  %s\n", line.c_str());
        }
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("%llu steps in %llu runs, nothing broken: %.0f steps per second\n", steps, runs,
                steps / seconds);
    return 0;
}
