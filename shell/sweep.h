// Sweeps and random trials in the batch job: many PSFs, one CSV row each. A row is the
// start-up settings, then the NAME=VALUE settings, then the row's swept and random values,
// so every row is what a single batch run of its settings prints.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "optics/zernike.h"

// --sweep NAME=FROM:TO:STEPS: STEPS evenly spaced values from FROM to TO inclusive.
struct SweepAxis {
    std::string name;  // the setting's own spelling
    double from = 0, to = 0;
    long steps = 1;
    bool integer = false;
};

// --random NAME=SIGMA: a normal deviate of standard deviation SIGMA added to the value.
struct RandomSetting {
    std::string name;
    double sigma = 0;
    std::string sigma_text;  // as typed
};

struct SweepJob {
    std::vector<std::pair<std::string, std::string>> settings;  // NAME=VALUE, applied first
    std::vector<SweepAxis> sweeps;                              // the last varies fastest
    std::vector<RandomSetting> randoms;
    long trials = 1;
    bool has_trials = false;
    std::uint64_t seed = 1;
    int jobs = 0;  // 0: one per core
    std::string csv = "-";
    long shard = 1, shards = 1;  // --shard K/N: this run computes the K-th of N blocks of rows
    std::vector<double> mtf_at;  // --mtf-at frequencies, in the order given
    std::string zernike_file;    // --zernikes FILE: read once, after the NAME=VALUE settings
    std::optional<ZernikeSet> zernikes;
};

// A typo in STEPS should not fill a disk.
constexpr long MOST_ROWS = 10'000'000;
// A deviate is drawn again when the setting refuses it; this many refusals in a row for one
// value means the range is out of reach.
constexpr int MOST_REDRAWS = 1000;

// The rows to compute and the setting columns. A row's random values are drawn when the row is
// computed (draw_row), so no memory is kept per row.
struct SweepPlan {
    std::vector<std::string> columns;  // swept settings, then random ones not swept
    std::vector<int> random_column;    // the column of each --random, in option order
    std::vector<double> base;          // each --random's value before its deviate
    long points = 1;                   // sweep points; each has `trials` rows
    long rows = 0;                     // of the whole job
    long first = 0, end = 0;           // this shard's rows: first to end - 1, from 0
};

// --mtf-at F, for a single run and a sweep alike: adds F (a frequency of at least 0, given
// once) to frequencies. Returns "" or the one-line refusal.
std::string read_mtf_frequency(const std::string &text, std::vector<double> &frequencies);

// The whole of a text file the job reads (a spectrum, Zernike coefficients): "" and its bytes
// in text, or "cannot read PATH: REASON".
std::string read_text_file(const std::string &path, std::string &text);

// --zernikes FILE: the coefficient file's terms, in waves at the wavelength set now. Returns ""
// or the one-line refusal naming the file.
std::string read_zernike_file(const std::string &path, ZernikeSet &set);

// --spectrum FILE: reads the file's wavelength_nm,weight rows as the band of every PSF.
// Returns "" or the one-line refusal naming the file.
std::string load_spectrum_file(const std::string &path);

// True when the batch arguments ask for a sweep job (any of its options).
bool is_sweep_job(int argc, char **argv);

// Reads the arguments after --batch. Returns "" or the one-line refusal.
std::string parse_sweep_job(int argc, char **argv, SweepJob &job);

// Plans the rows of job. The optics must hold the start-up state plus job.settings: their
// values are the base of the random deviates. Returns "" or the one-line refusal.
std::string plan_sweep(const SweepJob &job, SweepPlan &plan);

// Draws row's random values (from 0; one per --random, in option order): every row's values
// come in turn from one generator seeded by the job's seed, a value the setting refuses drawn
// again, so a row's values depend on the seed and the row number only; the rows passed over
// to reach row are drawn too. Row's own redraws are added to redrawn. Returns "" or the
// one-line refusal when a value stays out of range.
std::string draw_row(const SweepJob &job, const SweepPlan &plan, long row,
                     std::vector<float> &drawn, long &redrawn);

// The text of each column's value in row (from 0), as the CSV shows it and as the setting
// reads it back: "%.9g" of the float a float setting holds, a whole number for the others;
// drawn holds the row's random values.
std::vector<std::string> row_values(const SweepJob &job, const SweepPlan &plan, long row,
                                    const std::vector<float> &drawn);
// The same values as numbers for the settings: a swept float before it is rounded to a float,
// so that it is checked as its typed ends were.
std::vector<double> row_numbers(const SweepJob &job, const SweepPlan &plan, long row,
                                const std::vector<float> &drawn);

// The whole sweep job; returns the exit status.
int sweep_main(int argc, char **argv);
