#include <benchmark/benchmark.h>

#include <vector>

#include "optics/grid_fft.h"
#include "optics/nrutil.h"
#include "optics/pupil.h"
#include "optics/settings.h"

namespace {

void BM_fourn_128x128(benchmark::State &state)
{
    std::vector<float> data(DATA_LENGTH + 1);
    for (std::size_t k = 1; k < data.size(); k++)
        data[k] = static_cast<float>((k * 7919) % 1000) * 0.001f;
    unsigned long dims[3] = {0, 128, 128};
    for (auto _ : state) {
        fourn(data.data(), dims, 2, 1);
        benchmark::DoNotOptimize(data.data());
    }
}
BENCHMARK(BM_fourn_128x128)->Unit(benchmark::kMicrosecond);

// The transform do_FFT uses, on the same values in separate real and imaginary planes.
void BM_grid_fft_128x128(benchmark::State &state)
{
    std::vector<float> planes(2 * DATA_LENGTH);
    for (std::size_t k = 0; k < planes.size(); k++)
        planes[k] = static_cast<float>((k * 7919) % 1000) * 0.001f;
    float *const re = planes.data(), *const im = re + GRID_VALUES;
    for (auto _ : state) {
        grid_fft(re, im, im + GRID_VALUES, im + 2 * GRID_VALUES, 1);
        benchmark::DoNotOptimize(planes.data());
    }
}
BENCHMARK(BM_grid_fft_128x128)->Unit(benchmark::kMicrosecond);

void BM_pillbox_input_startup(benchmark::State &state)
{
    optics_startup();
    for (auto _ : state) pillbox_input();
    optics_shutdown();
}
BENCHMARK(BM_pillbox_input_startup)->Unit(benchmark::kMicrosecond);

}  // namespace

#include "optics/centroid.h"
#include "optics/farfield.h"

namespace {

// Radius 64 with every third-order and Zernike term on: the most work a rebuild can do.
void worst_case_settings()
{
    pupilradius = 64;
    ncenter = 63.5f;
    HasSpherical = HasComa = HasAstigmatism = HasDefocus = 1;
    spherical = astigmatism = defocus = 0.1f;
    for (int k = 1; k <= 37; k++) HasZern[k] = 1;
}

void BM_pillbox_input_worst_case(benchmark::State &state)
{
    optics_startup();
    worst_case_settings();
    for (auto _ : state) pillbox_input();
    optics_shutdown();
}
BENCHMARK(BM_pillbox_input_worst_case)->Unit(benchmark::kMicrosecond);

void BM_do_FFT(benchmark::State &state)
{
    optics_startup();
    for (auto _ : state) do_FFT();
    optics_shutdown();
}
BENCHMARK(BM_do_FFT)->Unit(benchmark::kMicrosecond);

void BM_rebuild_and_transform_startup(benchmark::State &state)
{
    optics_startup();
    for (auto _ : state) {
        pillbox_input();
        do_FFT();
    }
    optics_shutdown();
}
BENCHMARK(BM_rebuild_and_transform_startup)->Unit(benchmark::kMicrosecond);

void BM_rebuild_and_transform_worst_case(benchmark::State &state)
{
    optics_startup();
    worst_case_settings();
    for (auto _ : state) {
        pillbox_input();
        do_FFT();
    }
    optics_shutdown();
}
BENCHMARK(BM_rebuild_and_transform_worst_case)->Unit(benchmark::kMicrosecond);

void BM_centroid_error(benchmark::State &state)
{
    optics_startup();
    do_FFT();
    NumPixels = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(centroid_error_analysis());
    optics_shutdown();
}
BENCHMARK(BM_centroid_error)->Arg(3)->Arg(4)->Unit(benchmark::kMicrosecond);

}  // namespace

#include "optics/image_quality.h"

namespace {

// Every figure of merit (peak Strehl, both widths through the peak, both encircled-energy
// radii, sampling) of the start-up PSF, whose 40-sample pupil takes the 128-point transforms.
void BM_all_figures_startup(benchmark::State &state)
{
    optics_startup();
    do_FFT();
    for (auto _ : state) benchmark::DoNotOptimize(image_quality());
    optics_shutdown();
}
BENCHMARK(BM_all_figures_startup)->Name("all figures/startup")->Unit(benchmark::kMicrosecond);

// The same at radius 64: the pupil fills the grid, so the autocorrelation needs 256-point
// transforms and every lag of the plane carries a ring.
void BM_all_figures_worst_case(benchmark::State &state)
{
    optics_startup();
    worst_case_settings();
    pillbox_input();
    do_FFT();
    for (auto _ : state) benchmark::DoNotOptimize(image_quality());
    optics_shutdown();
}
BENCHMARK(BM_all_figures_worst_case)->Name("all figures/worst case")->Unit(benchmark::kMicrosecond);

}  // namespace

#include "optics/transfer_function.h"

namespace {

// The whole OTF map of the start-up PSF (a 128 x 128 transform in double), and the two MTF
// curves every report reads its MTF figures from.
void BM_otf_map(benchmark::State &state)
{
    optics_startup();
    do_FFT();
    for (auto _ : state) benchmark::DoNotOptimize(otf_map(m_output));
    optics_shutdown();
}
BENCHMARK(BM_otf_map)->Unit(benchmark::kMicrosecond);

void BM_mtf_curves(benchmark::State &state)
{
    optics_startup();
    do_FFT();
    for (auto _ : state) {
        benchmark::DoNotOptimize(mtf_curve(m_output, true));
        benchmark::DoNotOptimize(mtf_curve(m_output, false));
    }
    optics_shutdown();
}
BENCHMARK(BM_mtf_curves)->Unit(benchmark::kMicrosecond);

}  // namespace

#include "optics/settings_rules.h"

namespace {

// The start-up PSF over a 20 % band in 11 wavelengths, blurred by half a micron of jitter
// along each axis: the transform, the band's intensity and the blur (do_FFT), and every
// figure read on the band's continuous PSF.
void BM_band_and_jitter(benchmark::State &state)
{
    optics_startup();
    for (const char *setting :
         {"bandwidth=20", "nwavelengths=11", "jitter_x=0.5", "jitter_y=0.5"}) {
        const std::string text = setting;
        const std::size_t eq = text.find('=');
        apply_setting(text.substr(0, eq), text.substr(eq + 1));
    }
    pillbox_input();
    for (auto _ : state) {
        do_FFT();
        benchmark::DoNotOptimize(image_quality());
    }
    optics_shutdown();
}
BENCHMARK(BM_band_and_jitter)->Unit(benchmark::kMillisecond);

}  // namespace

#include "optics/zernike.h"

namespace {

// A 37-term least-squares fit of the start-up pupil's phase (about 1,250 samples with light).
void BM_zernike_fit_37(benchmark::State &state)
{
    optics_startup();
    std::string problem;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            fit_zernikes(ZernikeOrdering::Noll, ZernikeNormalisation::Rms, 37, problem));
    optics_shutdown();
}
BENCHMARK(BM_zernike_fit_37)->Unit(benchmark::kMillisecond);

}  // namespace

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "optics/fits_file.h"
#include "optics/phase_map.h"

namespace {

// A 1024 x 1024 map of astigmatism in nm, as a FITS float image and as a text grid, in a
// folder of its own removed afterwards.
class MapFiles {
public:
    MapFiles()
    {
        std::string name =
            (std::filesystem::temp_directory_path() / "orvinta-bench-XXXXXX").string();
        if (mkdtemp(name.data())) folder_ = name;
        std::string fits_data, text;
        for (int r = 0; r < SIDE; r++) {
            for (int c = 0; c < SIDE; c++) {
                const double x = -1 + 2.0 * c / (SIDE - 1), y = -1 + 2.0 * r / (SIDE - 1);
                const float value = static_cast<float>(40 * (x * x - y * y));
                std::uint32_t bits;
                std::memcpy(&bits, &value, 4);
                for (int shift = 24; shift >= 0; shift -= 8) fits_data += char(bits >> shift);
                text += std::to_string(value) + (c + 1 < SIDE ? " " : "\n");
            }
        }
        std::string header;
        for (const char *card : {"SIMPLE  =                    T", "BITPIX  =                  -32",
                                 "NAXIS   =                    2", "NAXIS1  =                 1024",
                                 "NAXIS2  =                 1024", "BUNIT   = 'nm      '", "END"})
            header += card + std::string(80 - std::strlen(card), ' ');
        header.resize(2880, ' ');
        fits_data.resize((fits_data.size() + 2879) / 2880 * 2880, '\0');
        std::ofstream(fits_path(), std::ios::binary) << header << fits_data;
        std::ofstream(text_path(), std::ios::binary) << "# unit: nm\n" << text;
    }
    ~MapFiles()
    {
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }
    std::string fits_path() const { return folder_ + "/map.fits"; }
    std::string text_path() const { return folder_ + "/map.txt"; }

private:
    static constexpr int SIDE = 1024;
    std::string folder_;
};

void load_and_resample(benchmark::State &state, bool fits)
{
    optics_startup();
    set_fits_image_reader(read_fits_image);
    const MapFiles files;
    for (auto _ : state) {
        const std::string problem = load_phase_map(fits ? files.fits_path() : files.text_path());
        if (!problem.empty()) state.SkipWithError(problem.c_str());
        benchmark::DoNotOptimize(resampled_phase_map());
    }
    optics_shutdown();
}

void BM_phase_map_fits_1024(benchmark::State &state) { load_and_resample(state, true); }
void BM_phase_map_text_1024(benchmark::State &state) { load_and_resample(state, false); }
BENCHMARK(BM_phase_map_fits_1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_phase_map_text_1024)->Unit(benchmark::kMillisecond);

}  // namespace
