// The sweep job's options and its plan: which rows, in which order, with which values.
#include "shell/sweep.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "optics/input_file.h"
#include "optics/number_text.h"
#include "optics/settings.h"
#include "optics/settings_rules.h"
#include "optics/spectrum.h"

namespace {

const char *const SWEEP_OPTIONS[] = {"--sweep", "--random", "--trials", "--seed",
                                     "--jobs",  "--csv",    "--shard"};

bool is_option(const char *arg, const char *name) { return !std::strcmp(arg, name); }

// A number that is the whole text, blanks around it allowed, as a setting's value is read.
bool read_double(const std::string &text, double &value)
{
    const NumberText number = leading_number(text);
    value = number.value;
    return number.found && text.find_first_not_of(" \t", number.used) == std::string::npos;
}

// A count from low to high that is the whole text: digits, blanks around them allowed.
bool read_count(const std::string &text, unsigned long long low, unsigned long long high,
                unsigned long long &value)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    const std::size_t last = text.find_last_not_of(" \t");
    value = 0;
    for (std::size_t k = first; k <= last; k++) {
        const char c = text[k];
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (c < '0' || c > '9' || value > (high - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return value >= low;
}

std::string float_text(float v) { return gN(v, 9); }

std::string whole_text(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", v);
    return text;
}

// The k-th of the axis's values, before a float setting rounds it.
double axis_number(const SweepAxis &axis, long k)
{
    if (axis.steps == 1) return axis.from;
    if (k == axis.steps - 1) return axis.to;
    return axis.from + (axis.to - axis.from) * static_cast<double>(k) / (axis.steps - 1);
}

// The k-th of the axis's values as the CSV shows it.
std::string axis_value(const SweepAxis &axis, long k)
{
    const double v = axis_number(axis, k);
    return axis.integer ? whole_text(v) : float_text(static_cast<float>(v));
}

// The point of sweep axis a in row: the sweep point is row / trials, its last axis varying
// fastest.
long axis_point(const SweepJob &job, long row, int a)
{
    long point = row / job.trials;
    for (int later = static_cast<int>(job.sweeps.size()) - 1; later > a; later--)
        point /= job.sweeps[later].steps;
    return point % job.sweeps[a].steps;
}

std::string swept_value(const SweepJob &job, long row, int a)
{
    return axis_value(job.sweeps[a], axis_point(job, row, a));
}

// Splits NAME=VALUE; the name is given back in the setting's own spelling.
std::string split_named(const std::string &option, const char *arg, std::string &name,
                        std::string &value)
{
    const char *eq = std::strchr(arg, '=');
    if (!eq || eq == arg)
        return option + " needs NAME=" + (option == "--sweep" ? "FROM:TO:STEPS" : "SIGMA");
    const std::string problem = find_setting(std::string(arg, eq), name);
    if (!problem.empty()) return problem;
    value = eq + 1;
    return "";
}

std::string parse_sweep(const char *arg, SweepAxis &axis)
{
    std::string text;
    std::string problem = split_named("--sweep", arg, axis.name, text);
    if (!problem.empty()) return problem;
    if (axis.name == "nCurrentPSFUnits")
        return "nCurrentPSFUnits cannot be swept: it sets the unit of the columns";
    const std::size_t c1 = text.find(':'),
                      c2 = c1 == std::string::npos ? c1 : text.find(':', c1 + 1);
    unsigned long long steps = 0;
    if (c2 == std::string::npos || !read_double(text.substr(0, c1), axis.from) ||
        !read_double(text.substr(c1 + 1, c2 - c1 - 1), axis.to) ||
        !read_count(text.substr(c2 + 1), 1, 1'000'000'000'000'000'000ULL, steps))
        return "--sweep " + axis.name +
               " needs FROM:TO:STEPS (two numbers and a count from 1), not " + text;
    axis.steps = static_cast<long>(steps);
    // The ends are values the user typed: each is read as NAME=VALUE reads it.
    for (const std::string &end : {text.substr(0, c1), text.substr(c1 + 1, c2 - c1 - 1)}) {
        double value = 0;
        problem = read_setting(axis.name, end, NumberReading::Whole, value, MessageStyle::Batch);
        if (!problem.empty()) return problem;
    }
    if (axis.steps == 1 && axis.from != axis.to)
        return "--sweep " + axis.name + " from " + text.substr(0, c1) + " to " +
               text.substr(c1 + 1, c2 - c1 - 1) + " needs at least 2 steps";
    axis.integer = setting_is_integer(axis.name);
    if (axis.integer) {
        // Whole ends and a whole step: (TO - FROM) divides into STEPS - 1 equal whole parts.
        const double span = axis.to - axis.from;
        const bool whole =
            axis.from == std::trunc(axis.from) && axis.to == std::trunc(axis.to) &&
            (axis.steps == 1 || std::fmod(span, static_cast<double>(axis.steps - 1)) == 0);
        if (!whole)
            return "--sweep " + axis.name + "=" + text + " needs values between whole numbers; " +
                   axis.name + " takes whole numbers only";
    }
    return "";
}

std::string parse_random(const char *arg, RandomSetting &random)
{
    std::string text;
    std::string problem = split_named("--random", arg, random.name, text);
    if (!problem.empty()) return problem;
    if (setting_is_integer(random.name))
        return "--random needs a float setting; " + random.name + " takes whole numbers only";
    if (!read_double(text, random.sigma) || !(random.sigma >= 0 && std::isfinite(random.sigma)))
        return "--random " + random.name + " needs a standard deviation of at least 0, not " + text;
    random.sigma_text = text;
    return "";
}

// A standard normal deviate by Box-Muller in double, from two 53-bit uniforms of the
// generator; u1 lies in (0, 1] so its logarithm is finite.
double normal_deviate(std::mt19937_64 &generator)
{
    const double u1 = (static_cast<double>(generator() >> 11) + 1.0) * 0x1p-53;
    const double u2 = static_cast<double>(generator() >> 11) * 0x1p-53;
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
}

// The rows' random values come from one generator seeded by --seed, drawn row after row (a
// value the setting refuses drawn again), as one pass over the whole job draws them. Each
// process keeps its place in that stream and reaches a later row by drawing the rows between:
// a value costs about a microsecond where a row's PSF costs most of a millisecond, so a worker
// or a shard may start at any row, and a row's values depend on the seed and its number only.
struct Stream {
    const SweepJob *job = nullptr;
    std::uint64_t seed = 0;
    std::mt19937_64 generator;
    long next = -1;  // the row the generator stands at; -1 before the first
};
Stream stream;
// --shard K/N: two counts with 1 <= K <= N.
bool read_shard(const std::string &text, long &shard, long &shards)
{
    const std::size_t slash = text.find('/');
    unsigned long long k = 0, n = 0;
    if (slash == std::string::npos ||
        !read_count(text.substr(0, slash), 1, 1'000'000'000'000'000'000ULL, k) ||
        !read_count(text.substr(slash + 1), 1, 1'000'000'000'000'000'000ULL, n) || k > n)
        return false;
    shard = static_cast<long>(k);
    shards = static_cast<long>(n);
    return true;
}

// Row floor(k R / N) (from 0): where the k-th of N blocks of R rows ends.
long block_end(long k, long rows, long n)
{
    return static_cast<long>(static_cast<unsigned __int128>(k) * static_cast<unsigned long>(rows) /
                             static_cast<unsigned long>(n));
}

double current_value(const std::string &name)
{
    for (const auto &[setting, value] : setting_values())
        if (setting == name) return value;
    return 0;
}

}  // namespace

std::string read_mtf_frequency(const std::string &text, std::vector<double> &frequencies)
{
    double frequency = 0;
    if (!read_double(text, frequency) || !(frequency >= 0 && std::isfinite(frequency)))
        return "--mtf-at needs a frequency of at least 0, not " + text;
    for (double given : frequencies)
        if (given == frequency) return "--mtf-at " + text + " is given twice";
    frequencies.push_back(frequency);
    return "";
}

std::string read_text_file(const std::string &path, std::string &text)
{
    const std::string reason = read_input_file(path, text);
    return reason.empty() ? "" : "cannot read " + path + ": " + reason;
}

std::string read_zernike_file(const std::string &path, ZernikeSet &set)
{
    std::string text;
    std::string problem = read_text_file(path, text);
    if (!problem.empty()) return problem;
    problem = parse_zernike_file(text, wavelength, set);
    return problem.empty() ? "" : path + ": " + problem;
}

std::string load_spectrum_file(const std::string &path)
{
    std::string text;
    std::string problem = read_text_file(path, text);
    if (!problem.empty()) return problem;
    std::vector<SpectrumSample> samples;
    problem = parse_spectrum(text, samples);
    if (!problem.empty()) return path + ": " + problem;
    set_spectrum(std::move(samples));
    return "";
}

bool is_sweep_job(int argc, char **argv)
{
    for (int k = 0; k < argc; k++)
        for (const char *option : SWEEP_OPTIONS)
            if (is_option(argv[k], option)) return true;
    return false;
}

std::string parse_sweep_job(int argc, char **argv, SweepJob &job)
{
    for (int k = 0; k < argc; k++) {
        const std::string arg = argv[k];
        const bool has_value = k + 1 < argc;
        if (arg == "--out" || arg == "--plot" || arg == "--mtf" || arg == "--zernike-fit" ||
            arg == "--zernike-csv")
            return arg + " cannot be used with --sweep or --random";
        if (arg == "--zernikes") {
            if (!has_value || !*argv[k + 1]) return arg + " needs a file name";
            job.zernike_file = argv[++k];
            continue;
        }
        if (arg == "--spectrum") {
            if (!has_value || !*argv[k + 1]) return arg + " needs a file name";
            const std::string problem = load_spectrum_file(argv[++k]);
            if (!problem.empty()) return problem;
            continue;
        }
        if (arg == "--mtf-at") {
            if (!has_value || !*argv[k + 1]) return arg + " needs a value";
            const std::string problem = read_mtf_frequency(argv[++k], job.mtf_at);
            if (!problem.empty()) return problem;
            continue;
        }
        if (arg.rfind("--", 0) == 0) {
            bool known = false;
            for (const char *option : SWEEP_OPTIONS) known = known || arg == option;
            if (!known) return "unknown option " + arg;
            if (!has_value || !*argv[k + 1]) return arg + " needs a value";
            const char *value = argv[++k];
            unsigned long long n = 0;
            if (arg == "--sweep") {
                SweepAxis axis;
                const std::string problem = parse_sweep(value, axis);
                if (!problem.empty()) return problem;
                for (const SweepAxis &other : job.sweeps)
                    if (other.name == axis.name) return axis.name + " is swept twice";
                job.sweeps.push_back(axis);
            } else if (arg == "--random") {
                RandomSetting random;
                const std::string problem = parse_random(value, random);
                if (!problem.empty()) return problem;
                for (const RandomSetting &other : job.randoms)
                    if (other.name == random.name) return random.name + " is randomised twice";
                job.randoms.push_back(random);
            } else if (arg == "--trials") {
                if (!read_count(value, 1, 1'000'000'000'000'000'000ULL, n))
                    return "--trials needs a count from 1, not " + std::string(value);
                job.trials = static_cast<long>(n);
                job.has_trials = true;
            } else if (arg == "--seed") {
                if (!read_count(value, 0, UINT64_MAX, n))
                    return "--seed needs a whole number from 0, not " + std::string(value);
                job.seed = n;
            } else if (arg == "--jobs") {
                if (!read_count(value, 1, 1024, n))
                    return "--jobs needs a count from 1 to 1024, not " + std::string(value);
                job.jobs = static_cast<int>(n);
            } else if (arg == "--shard") {
                if (!read_shard(value, job.shard, job.shards))
                    return "--shard needs K/N, two whole numbers with 1 <= K <= N, not " +
                           std::string(value);
            } else {
                job.csv = value;
            }
            continue;
        }
        const std::size_t eq = arg.find('=');
        if (eq == std::string::npos || eq == 0) return "'" + arg + "' is not NAME=VALUE";
        job.settings.emplace_back(arg.substr(0, eq), arg.substr(eq + 1));
    }
    if (job.has_trials && job.randoms.empty()) return "--trials needs --random";
    return "";
}

std::string plan_sweep(const SweepJob &job, SweepPlan &plan)
{
    // The row count first, without overflow: nothing is drawn or allocated for a refused job.
    long double rows = job.trials;
    for (const SweepAxis &axis : job.sweeps) rows *= axis.steps;
    if (rows > MOST_ROWS) return "the job has more than " + std::to_string(MOST_ROWS) + " rows";
    plan.rows = static_cast<long>(rows);
    plan.points = plan.rows / job.trials;

    plan.columns.clear();
    for (const SweepAxis &axis : job.sweeps) plan.columns.push_back(axis.name);
    for (const RandomSetting &random : job.randoms) {
        int column = 0;
        while (column < static_cast<int>(plan.columns.size()) &&
               plan.columns[column] != random.name)
            column++;
        if (column == static_cast<int>(plan.columns.size())) plan.columns.push_back(random.name);
        plan.random_column.push_back(column);
    }

    // Every swept value must be one the setting takes; the first one refused names the range.
    // The ends were read as typed; a float setting takes an interval, so the values between
    // need no more checks, an integer one may take a list of codes.
    for (const SweepAxis &axis : job.sweeps) {
        for (long k = 1; axis.integer && k + 1 < axis.steps; k++) {
            const double value = axis_number(axis, k);
            const std::string problem = check_setting(axis.name, value, MessageStyle::Batch);
            if (!problem.empty()) return problem;
        }
    }

    plan.first = block_end(job.shard - 1, plan.rows, job.shards);
    plan.end = block_end(job.shard, plan.rows, job.shards);
    for (const RandomSetting &random : job.randoms) plan.base.push_back(current_value(random.name));
    // The first row's values, drawn in every shard alike: a SIGMA that never lands in range is
    // refused before any row.
    std::vector<float> drawn;
    long redrawn = 0;
    return draw_row(job, plan, 0, drawn, redrawn);
}

namespace {

// One row's values from the generator where it stands; its redraws are added to redrawn.
std::string draw_values(const SweepJob &job, const SweepPlan &plan, long row,
                        std::vector<float> &drawn, long &redrawn)
{
    drawn.clear();
    for (std::size_t k = 0; k < job.randoms.size(); k++) {
        // A swept setting scatters about the row's swept value, the others about their base.
        const int column = plan.random_column[k];
        const double around = column < static_cast<int>(job.sweeps.size())
                                  ? std::atof(swept_value(job, row, column).c_str())
                                  : plan.base[k];
        const RandomSetting &random = job.randoms[k];
        for (int draws = 1;; draws++) {
            // The value as the CSV shows it must be one NAME=VALUE takes; one beyond a
            // float is refused as the number drawn.
            const double value = around + random.sigma * normal_deviate(stream.generator);
            const float v = static_cast<float>(value);
            double accepted = 0;
            const std::string problem =
                std::isfinite(v) ? read_setting(random.name, float_text(v), NumberReading::Whole,
                                                accepted, MessageStyle::Batch)
                                 : check_setting(random.name, value, MessageStyle::Batch);
            if (problem.empty()) {
                drawn.push_back(v);
                break;
            }
            redrawn++;
            if (draws >= MOST_REDRAWS)
                return random.name + " stays out of range after " + std::to_string(MOST_REDRAWS) +
                       " draws with SIGMA " + random.sigma_text + ": " + problem;
        }
    }
    return "";
}

}  // namespace

std::string draw_row(const SweepJob &job, const SweepPlan &plan, long row,
                     std::vector<float> &drawn, long &redrawn)
{
    if (stream.job != &job || stream.seed != job.seed || stream.next < 0 || row < stream.next) {
        stream.job = &job;
        stream.seed = job.seed;
        stream.generator.seed(job.seed);
        stream.next = 0;
    }
    long between = 0;  // the redraws of rows passed over are counted where they are computed
    for (; stream.next < row; stream.next++) {
        const std::string problem = draw_values(job, plan, stream.next, drawn, between);
        if (!problem.empty()) return problem;
    }
    stream.next = row + 1;
    return draw_values(job, plan, row, drawn, redrawn);
}

std::vector<std::string> row_values(const SweepJob &job, const SweepPlan &plan, long row,
                                    const std::vector<float> &drawn)
{
    std::vector<std::string> values(plan.columns.size());
    for (std::size_t a = 0; a < job.sweeps.size(); a++)
        values[a] = swept_value(job, row, static_cast<int>(a));
    for (std::size_t k = 0; k < drawn.size(); k++)
        values[plan.random_column[k]] = float_text(drawn[k]);
    return values;
}

std::vector<double> row_numbers(const SweepJob &job, const SweepPlan &plan, long row,
                                const std::vector<float> &drawn)
{
    std::vector<double> numbers(plan.columns.size());
    for (std::size_t a = 0; a < job.sweeps.size(); a++)
        numbers[a] = axis_number(job.sweeps[a], axis_point(job, row, static_cast<int>(a)));
    for (std::size_t k = 0; k < drawn.size(); k++) numbers[plan.random_column[k]] = drawn[k];
    return numbers;
}
