#include <benchmark/benchmark.h>

#include <vector>

#include "optics/nrutil.h"
#include "optics/pupil.h"
#include "optics/settings.h"

namespace {

void BM_fourn_128x128(benchmark::State &state)
{
    std::vector<float> data(DATA_LENGTH + 1);
    for (std::size_t k = 1; k < data.size(); k++) data[k] = static_cast<float>((k * 7919) % 1000) * 0.001f;
    unsigned long dims[3] = {0, 128, 128};
    for (auto _ : state) {
        fourn(data.data(), dims, 2, 1);
        benchmark::DoNotOptimize(data.data());
    }
}
BENCHMARK(BM_fourn_128x128)->Unit(benchmark::kMicrosecond);

void BM_pillbox_input_startup(benchmark::State &state)
{
    optics_startup();
    for (auto _ : state) pillbox_input();
    optics_shutdown();
}
BENCHMARK(BM_pillbox_input_startup)->Unit(benchmark::kMicrosecond);

}  // namespace
