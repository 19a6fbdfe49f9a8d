// Whole simulated 999-player events of 20 rounds paired by the FIDE Dubov
// and Swiss Quon engine, seeded: the time per round past the first (median
// and max, in milliseconds) and the rounds paired. Run by hand from the
// build tree.
#include "bench/scratch_folder.h"
#include "pairing/dubov_engine.h"
#include "support/recording_message_box.h"
#include "support/tournament_simulator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

void DubovEvent(benchmark::State& state) {
    SimulationOptions options;
    options.system = static_cast<int>(state.range(0));
    options.players = static_cast<int>(state.range(1));
    options.rounds = 20;
    const std::string& folder = RunScratchFolder("tm_bench_dubov");
    if (folder.empty()) {
        state.SkipWithError("no scratch folder can be made");
        return;
    }
    options.dataFolder = folder;
    RegisterDubovEngine();
    RecordingMessageBox boxes;
    std::vector<double> times;
    int rounds = 0;
    std::uint32_t seed = 11;
    for (auto _ : state) {
        options.seed = seed++;
        SetUpSimulatedTournament(options);
        for (rounds = 0; rounds < Settings.PlannedRounds;) {
            const auto start = std::chrono::steady_clock::now();
            if (PairNextRound(PlayerCount) == 0 || !CheckPairedRound(rounds + 1, PlayerCount).ok) break;
            if (++rounds > 1)
                times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            PlaySimulatedRound(options, rounds);
            CloseSimulatedRound(options, rounds);
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["rounds"] = rounds;
    state.counters["round_median_ms"] = times.empty() ? 0.0 : times[times.size() / 2];
    state.counters["round_max_ms"] = times.empty() ? 0.0 : times.back();
}

BENCHMARK(DubovEvent)
    ->Args({FideDubovSystem, 999})
    ->Args({SwissQuonSystem, 999})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
