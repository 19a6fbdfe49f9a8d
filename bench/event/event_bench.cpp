// Whole simulated events: 100, 300 and 999 players, 20 rounds (9 in the
// USCF system), every Swiss system, seeded, with the automatic colour
// improvement on. One line per system and size, with the time per round
// (median and max, in milliseconds), the rounds paired and the peak memory
// of the process, and what the pairing cost over the whole event: group
// searches, their backtracks, searches stopped at the backtrack limit and
// round restarts. Run by hand from the build tree;
// "--benchmark_filter=/100" gives a smoke-sized run.
#include "bench/scratch_folder.h"
#include "pairing/burstein_engine.h"
#include "pairing/color_improvement.h"
#include "pairing/dubov_engine.h"
#include "pairing/pairing_stats.h"
#include "pairing/uscf_engine.h"
#include "support/recording_message_box.h"
#include "support/tournament_simulator.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

// False once an event could not pair one of its rounds: the program then
// exits with 1, so that a smoke-sized run can gate a build.
bool AllEventsPaired = true;

void WholeEvent(benchmark::State& state) {
    const int system = static_cast<int>(state.range(0));
    const int players = static_cast<int>(state.range(1));
    const std::string& folder = RunScratchFolder("tm_bench_event");
    if (folder.empty()) {
        state.SkipWithError("no scratch folder can be made");
        return;
    }
    RegisterStandInEngines(); // then the real engines take their systems over
    RegisterDubovEngine();
    RegisterUscfEngine();
    RegisterBursteinEngine();
    RegisterColorImprovementPass();
    RecordingMessageBox boxes; // the first round's colour question is answered silently

    std::vector<double> roundMs;
    int paired = 0;
    for (auto _ : state) {
        SimulationOptions options;
        options.system = system;
        options.players = players;
        options.rounds = system == UscfSystem ? 9 : 20;
        options.seed = static_cast<std::uint32_t>(system * 1000 + players);
        options.dataFolder = folder;
        SetUpSimulatedTournament(options);
        ColorImprovementOption = 1; // setting up turned the run options off
        paired = 0;
        ResetPairingStats();
        for (int round = 1; round <= Settings.PlannedRounds; ++round) {
            const auto start = std::chrono::steady_clock::now();
            const int ok = PairNextRound(PlayerCount);
            const auto end = std::chrono::steady_clock::now();
            if (ok == 0 || !CheckPairedRound(round, PlayerCount).ok) break;
            roundMs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            paired = round;
            PlaySimulatedRound(options, round);
            CloseSimulatedRound(options, round);
        }
    }
    if (paired < (system == UscfSystem ? 9 : 20)) {
        AllEventsPaired = false;
        state.SkipWithError("an event did not pair all its rounds");
    }
    std::sort(roundMs.begin(), roundMs.end());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["rounds"] = paired;
    state.counters["round_median_ms"] = roundMs.empty() ? 0.0 : roundMs[roundMs.size() / 2];
    state.counters["round_max_ms"] = roundMs.empty() ? 0.0 : roundMs.back();
    state.counters["searches"] = static_cast<double>(PairingStats.searches);
    state.counters["backtracks"] = static_cast<double>(PairingStats.backtracks);
    state.counters["limit_hits"] = static_cast<double>(PairingStats.limitHits);
    state.counters["restarts"] = static_cast<double>(PairingStats.restarts);
    state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int system : {FideDubovSystem, SwissQuonSystem, UscfSystem, FideBursteinSystem})
        for (int players : {100, 300, 999})
            b->Args({system, players});
}

BENCHMARK(WholeEvent)->Apply(Sizes)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return AllEventsPaired ? 0 : 1;
}
