// Running a sweep job: worker processes compute chunks of rows (the computation keeps its
// state in globals, so one process computes one PSF at a time) and send their CSV lines back
// through pipes; the parent writes the chunks in row order as they complete, holding at most
// a few chunks per worker, so a job of any length runs in the same memory.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/mman.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "optics/figures.h"
#include "optics/hooks.h"
#include "optics/image_quality.h"
#include "optics/number_text.h"
#include "optics/output_file.h"
#include "optics/phase_map.h"
#include "optics/psf_pipeline.h"
#include "optics/pupil.h"
#include "optics/settings.h"
#include "optics/settings_rules.h"
#include "shell/sweep.h"

namespace {

volatile std::sig_atomic_t interrupted = 0;

void on_interrupt(int) { interrupted = 1; }

// Messages (a dark pupil, the centroid result) have no place in a row.
void quiet_notify(const char *, const char *, bool) {}

void add_number(std::string &line, double value)
{
    line += ',';
    line += gN(value, 9);
}

void add_figure(std::string &line, const std::optional<double> &value)
{
    if (value)
        add_number(line, *value);
    else
        line += ',';
}

std::string header(const SweepPlan &plan)
{
    std::string line = "row";
    for (const std::string &column : plan.columns) line += "," + column;
    line += ",wavesrms";
    for (const Figure &figure : figure_table())
        if (figure.inCsv) {
            line += ',';
            line += figure.name;
            line += figure_csv_suffix(figure);
        }
    line += ",xpsfcent,ypsfcent,peak_i,peak_j,rmsx,rmsy,undersampled,aliased\n";
    return line;
}

// One row, computed as a single batch run of its settings computes its PSF; its redraws are
// added to redrawn. Returns "" or the one-line refusal of its random values.
std::string compute_row(const SweepJob &job, const SweepPlan &plan, long row, std::string &line,
                        long &redrawn)
{
    std::vector<float> drawn;
    const std::string problem = draw_row(job, plan, row, drawn, redrawn);
    if (!problem.empty()) return problem;
    // The start-up state: the settings, and the pattern generator as a new process holds it.
    // The arrays need no clearing, as the pupil synthesis clears every field array itself,
    // and start-up's own pupil (a pattern-free one) draws nothing from the generator.
    reset_settings();
    reset_pattern_random();
    for (const auto &[name, value] : job.settings) apply_setting(name, value);
    if (job.zernikes) apply_zernike_set(*job.zernikes);
    const std::vector<std::string> values = row_values(job, plan, row, drawn);
    const std::vector<double> numbers = row_numbers(job, plan, row, drawn);
    for (std::size_t c = 0; c < numbers.size(); c++) set_setting(plan.columns[c], numbers[c]);
    const PsfReport report = compute_psf();

    line += std::to_string(row + 1);
    for (const std::string &value : values) {
        line += ',';
        line += value;
    }
    add_number(line, report.wavesrms);
    for (const Figure &figure : figure_table())
        if (figure.inCsv) add_figure(line, figure.value(report.quality));
    add_number(line, report.xpsfcent);
    add_number(line, report.ypsfcent);
    char peak_text[32];
    std::snprintf(peak_text, sizeof peak_text, ",%d,%d", report.peak.i, report.peak.j);
    line += peak_text;
    if (report.centroid_error) {
        add_number(line, report.centroid_error->rmsx);
        add_number(line, report.centroid_error->rmsy);
    } else {
        line += ",,";
    }
    line += report.quality.undersampled ? ",1" : ",0";
    line += report.quality.aliased ? ",1\n" : ",0\n";
    return "";
}

bool write_all(int fd, const std::string &bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The shard's rows cut into chunks; chunk c goes to worker c mod workers. About four chunks a
// worker, so that one slow stretch of rows does not leave the others idle, and at most 256 rows
// (a fraction of a second), so that the parent holds little while a chunk waits its turn.
struct Chunks {
    long first = 0, end = 0, size = 1;
    long workers = 1;

    Chunks(const SweepPlan &plan, long count) : first(plan.first), end(plan.end), workers(count)
    {
        const long per = (end - first + 4 * workers - 1) / (4 * workers);
        size = per < 1 ? 1 : per > 256 ? 256 : per;
    }
    long count() const { return (end - first + size - 1) / size; }
    long begin(long c) const { return first + c * size; }
    long rows(long c) const { return std::min(end, begin(c) + size) - begin(c); }
};

// A worker's exit status when a row's random values stay out of range.
constexpr int REFUSED = 3;

// What a worker leaves for the parent in memory they share: its count of redraws and, when a
// row's random values stay out of range, that row and the refusal (the parent prints the one
// of the first such row, once).
struct WorkerReport {
    long redrawn = 0;
    long refused_row = -1;
    char problem[512] = {};
};

[[noreturn]] void worker(const SweepJob &job, const SweepPlan &plan, const Chunks &chunks, long w,
                         int fd, WorkerReport *report)
{
    std::signal(SIGINT, SIG_DFL);
    std::string lines;
    for (long c = w; c < chunks.count(); c += chunks.workers) {
        for (long row = chunks.begin(c); row < chunks.begin(c) + chunks.rows(c); row++) {
            const std::string problem = compute_row(job, plan, row, lines, report->redrawn);
            if (!problem.empty()) {
                report->refused_row = row;
                std::snprintf(report->problem, sizeof report->problem, "%s", problem.c_str());
                _exit(REFUSED);
            }
            if (lines.size() >= 4096) {  // a few dozen rows: the progress line moves smoothly
                if (!write_all(fd, lines)) _exit(1);
                lines.clear();
            }
        }
        if (!write_all(fd, lines)) _exit(1);
        lines.clear();
    }
    _exit(0);
}

struct Worker {
    pid_t pid = -1;
    int fd = -1;
    std::string lines;  // received, not yet written: the chunk being written, then later ones
};

// A worker's lines held beyond the chunk being written; past this the parent stops reading
// from it and the pipe holds the worker back.
constexpr std::size_t HELD_BYTES = 256 * 1024;

// One updating line on a terminal: rows done, rows per second and the time left.
void show_progress(long done, long rows, double seconds)
{
    const double rate = done / seconds;
    const double left = rate > 0 ? (rows - done) / rate : 0;
    std::fprintf(stderr, "\r%ld of %ld rows, %.0f rows/s, %.0f s left\033[K", done, rows, rate,
                 left);
    std::fflush(stderr);
}

void stop_workers(std::vector<Worker> &workers)
{
    for (Worker &w : workers)
        if (w.pid > 0) kill(w.pid, SIGTERM);
}

// Writes in order what has come of the chunks: the leading whole lines of the worker whose
// chunk is next, up to that chunk's end, chunk after chunk. False on a failed write.
bool write_ready(const Chunks &chunks, std::vector<Worker> &workers, long &chunk, long &lines_left,
                 OutputStream &out, std::string &error)
{
    while (chunk < chunks.count()) {
        std::string &lines = workers[static_cast<std::size_t>(chunk % chunks.workers)].lines;
        std::size_t end = 0;
        while (lines_left > 0) {
            const std::size_t newline = lines.find('\n', end);
            if (newline == std::string::npos) break;
            end = newline + 1;
            lines_left--;
        }
        if (end > 0 && !out.write(std::string_view(lines).substr(0, end), error)) return false;
        lines.erase(0, end);
        if (lines_left > 0) return true;
        if (++chunk < chunks.count()) lines_left = chunks.rows(chunk);
    }
    return true;
}

// Starts the workers; false (with a message) when one cannot be started.
bool start_workers(const SweepJob &job, const SweepPlan &plan, const Chunks &chunks,
                   std::vector<Worker> &workers, WorkerReport *reports)
{
    std::fflush(stdout);
    std::fflush(stderr);
    for (long w = 0; w < chunks.workers; w++) {
        int ends[2];
        if (pipe(ends) != 0) {
            std::fprintf(stderr, "orvinta: cannot start the workers: %s\n", std::strerror(errno));
            return false;
        }
        const pid_t pid = fork();
        if (pid == 0) {
            close(ends[0]);
            for (long v = 0; v < w; v++) close(workers[v].fd);
            worker(job, plan, chunks, w, ends[1], reports + w);
        }
        close(ends[1]);
        workers[w].pid = pid;
        workers[w].fd = ends[0];
        if (pid < 0) {
            std::fprintf(stderr, "orvinta: cannot start the workers: %s\n", std::strerror(errno));
            return false;
        }
    }
    return true;
}

// The status of the workers once they end: 0 when all computed their rows. Those the parent
// stopped (stopped true) end on SIGTERM, which is not their failure.
int wait_for_workers(std::vector<Worker> &workers, bool stopped)
{
    int status = 0;
    for (Worker &w : workers) {
        if (w.fd >= 0) close(w.fd);
        int result = 0;
        while (w.pid > 0 && waitpid(w.pid, &result, 0) < 0 && errno == EINTR) {}
        if (w.pid <= 0 || interrupted || (WIFEXITED(result) && WEXITSTATUS(result) == 0) ||
            (stopped && WIFSIGNALED(result) && WTERMSIG(result) == SIGTERM) || status != 0)
            continue;
        if (WIFEXITED(result) && WEXITSTATUS(result) == REFUSED) {
            status = 2;
        } else {
            if (WIFSIGNALED(result))
                std::fprintf(stderr, "orvinta: a worker stopped on signal %d\n", WTERMSIG(result));
            else
                std::fprintf(stderr, "orvinta: a worker failed\n");
            status = 1;
        }
    }
    return status;
}

// Counts, in the last shard, the redraws of the rows before it: the trailer gives the whole
// job's count, so that the shards' files put together are the unsharded file. Drawing a row's
// values takes microseconds, a row's PSF a millisecond; the count goes on while the workers
// compute, a slice at a time. Returns "" or the refusal of a row's values.
struct EarlierRedraws {
    long next = 0, end = 0;
    long redrawn = 0;

    std::string count_slice(const SweepJob &job, const SweepPlan &plan)
    {
        std::vector<float> drawn;
        for (const long stop = std::min(end, next + 2000); next < stop; next++) {
            const std::string problem = draw_row(job, plan, next, drawn, redrawn);
            if (!problem.empty()) return problem;
        }
        return "";
    }
};

// Adds the workers' redraws to redrawn; returns the refusal of the first row refused, or "".
std::string collect_reports(const WorkerReport *reports, long count, long &redrawn)
{
    const WorkerReport *first = nullptr;
    for (const WorkerReport *report = reports; report < reports + count; report++) {
        redrawn += report->redrawn;
        if (report->refused_row >= 0 && (!first || report->refused_row < first->refused_row))
            first = report;
    }
    return first ? first->problem : "";
}

// Computes the shard's rows and writes them to out in order; returns the exit status, with
// the redraws of the job's rows (all of them in the last shard) added to redrawn.
int run_rows(const SweepJob &job, const SweepPlan &plan, OutputStream &out, long &redrawn)
{
    long count = job.jobs > 0 ? job.jobs : sysconf(_SC_NPROCESSORS_ONLN);
    count = std::max(1L, std::min(count, plan.end - plan.first));
    const Chunks chunks(plan, count);
    EarlierRedraws earlier;
    if (!job.randoms.empty() && job.shard == job.shards) earlier.end = plan.first;

    const std::size_t shared_size = sizeof(WorkerReport) * static_cast<std::size_t>(count);
    void *shared =
        mmap(nullptr, shared_size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) {
        std::fprintf(stderr, "orvinta: cannot start the workers: %s\n", std::strerror(errno));
        return 1;
    }
    WorkerReport *reports = static_cast<WorkerReport *>(shared);
    for (long w = 0; w < count; w++) reports[w] = WorkerReport{};
    std::vector<Worker> workers(plan.end > plan.first ? static_cast<std::size_t>(count) : 0);
    int status = 0;
    if (!workers.empty() && !start_workers(job, plan, chunks, workers, reports)) status = 1;

    const bool terminal = isatty(STDERR_FILENO);
    const auto start = std::chrono::steady_clock::now();
    bool shown = false;
    double shown_at = 0;
    long done = 0, chunk = 0, lines_left = chunks.count() > 0 ? chunks.rows(0) : 0;
    std::string error, problem;
    std::vector<pollfd> polls(workers.size());
    while (status == 0 && !interrupted && (chunk < chunks.count() || earlier.next < earlier.end)) {
        if (earlier.next < earlier.end) {
            problem = earlier.count_slice(job, plan);
            if (!problem.empty()) break;
        }
        for (std::size_t w = 0; w < workers.size(); w++) {
            // The worker whose chunk is next is always read; the others until they are ahead.
            const bool next = chunk < chunks.count() && chunk % count == static_cast<long>(w);
            const bool wanted =
                workers[w].fd >= 0 && (next || workers[w].lines.size() < HELD_BYTES);
            polls[w] = {wanted ? workers[w].fd : -1, POLLIN, 0};
        }
        const int timeout = earlier.next < earlier.end ? 0 : 200;
        if (!polls.empty() && poll(polls.data(), polls.size(), timeout) > 0) {
            for (std::size_t w = 0; w < workers.size(); w++) {
                if (polls[w].fd < 0 || !(polls[w].revents & (POLLIN | POLLHUP | POLLERR))) continue;
                char buffer[65536];
                const ssize_t n = read(workers[w].fd, buffer, sizeof buffer);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) {
                    close(workers[w].fd);
                    workers[w].fd = -1;
                    continue;
                }
                workers[w].lines.append(buffer, static_cast<std::size_t>(n));
                for (ssize_t k = 0; k < n; k++) done += buffer[k] == '\n';
            }
        }
        if (!write_ready(chunks, workers, chunk, lines_left, out, error)) break;
        // A worker that ended owing rows failed: its status says how.
        if (chunk < chunks.count() && workers[chunk % count].fd < 0) break;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (terminal && seconds > 1.0 && seconds - shown_at >= 0.25) {
            show_progress(done, plan.end - plan.first, seconds);
            shown = true;
            shown_at = seconds;
        }
    }
    if (shown) std::fprintf(stderr, "\r\033[K");
    const bool finished = chunk >= chunks.count() && earlier.next >= earlier.end;
    if (!finished) stop_workers(workers);
    const int ended = wait_for_workers(workers, !finished);
    if (status == 0) status = ended;
    redrawn += earlier.redrawn;
    const std::string refused =
        collect_reports(reports, static_cast<long>(workers.size()), redrawn);
    if (problem.empty()) problem = refused;
    munmap(shared, shared_size);
    if (interrupted) return 130;
    if (!error.empty()) {
        std::fprintf(stderr, "orvinta: %s\n", error.c_str());
        return 1;
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "orvinta: %s\n", problem.c_str());
        return 2;
    }
    if (status == 0 && !finished) {
        std::fprintf(stderr, "orvinta: a worker failed\n");
        return 1;
    }
    return status;
}

}  // namespace

int sweep_main(int argc, char **argv)
{
    SweepJob job;
    std::string problem = parse_sweep_job(argc, argv, job);
    if (problem.empty()) {
        set_mtf_report_frequencies(job.mtf_at);
        set_optics_hooks({nullptr, quiet_notify});
        optics_startup();
        for (const auto &[name, value] : job.settings) {
            problem = apply_setting(name, value);
            if (!problem.empty()) break;
        }
        // The coefficient file's terms are part of every row's base, before the swept and
        // random values.
        ZernikeSet set;
        if (problem.empty() && !job.zernike_file.empty())
            problem = read_zernike_file(job.zernike_file, set);
        if (problem.empty() && !job.zernike_file.empty()) {
            apply_zernike_set(set);
            job.zernikes = set;
        }
    }
    if (problem.empty()) problem = phase_map_problem();
    SweepPlan plan;
    if (problem.empty()) problem = plan_sweep(job, plan);
    if (!problem.empty()) {
        std::fprintf(stderr, "orvinta: %s\n", problem.c_str());
        optics_shutdown();
        return 2;
    }

    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigaction(SIGINT, &action, nullptr);

    // The file is opened before any row: a name that cannot be written costs no computing, and
    // Ctrl-C while a FIFO waits for its reader is an interrupt, not a failure. The header goes
    // in the first shard, the count of redraws in the last, so the shards' files put together
    // in order are the file of one run.
    OutputStream out;
    std::string error;
    long redrawn = 0;
    int status = 0;
    if (!out.open(job.csv, error) || (job.shard == 1 && !out.write(header(plan), error)))
        status = 1;
    if (status == 0) status = run_rows(job, plan, out, redrawn);
    if (status == 0 && !job.randoms.empty() && job.shard == job.shards &&
        !out.write("# redrawn: " + std::to_string(redrawn) + "\n", error))
        status = 1;
    if (status == 0 && (interrupted || !out.commit(error))) status = 1;
    if (interrupted) status = 130;
    if (status != 0) {
        if (status == 1 && !error.empty()) std::fprintf(stderr, "orvinta: %s\n", error.c_str());
        out.abort();
    }
    optics_shutdown();
    return status;
}
