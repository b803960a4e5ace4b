// Rows per second of a sweep job: the real program computing 1,000 rows with every figure
// (the centroid error analysis off, as at start-up), with one and with two worker processes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

constexpr int ROWS = 1000;

void BM_SweepRows(benchmark::State &state)
{
    const std::string command = std::string(ORVINTA_EXE) +
                                " --batch --sweep defocus=-1:1:" + std::to_string(ROWS) +
                                " --jobs " + std::to_string(state.range(0)) + " --csv -";
    for (auto _ : state) {
        FILE *pipe = popen(command.c_str(), "r");
        if (!pipe) {
            state.SkipWithError("cannot start the program");
            return;
        }
        char buffer[65536];
        std::size_t lines = 0, n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            for (std::size_t k = 0; k < n; k++) lines += buffer[k] == '\n';
        if (pclose(pipe) != 0 || lines != ROWS + 1) {
            state.SkipWithError("the sweep job failed");
            return;
        }
    }
    state.counters["rows_per_s"] = benchmark::Counter(
        static_cast<double>(ROWS) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SweepRows)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
