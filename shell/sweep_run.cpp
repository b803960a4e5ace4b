// Running a sweep job: worker processes compute blocks of rows (the computation keeps its
// state in globals, so one process computes one PSF at a time), send their CSV lines back
// through pipes, and the parent puts the blocks together in row order and writes the file.
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "optics/figures.h"
#include "optics/hooks.h"
#include "optics/image_quality.h"
#include "optics/number_text.h"
#include "optics/output_file.h"
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

// One row, computed as a single batch run of its settings computes its PSF.
std::string compute_row(const SweepJob &job, const SweepPlan &plan, long row)
{
    // The start-up state: the settings, and the pattern generator as a new process holds it.
    // The arrays need no clearing, as the pupil synthesis clears every field array itself,
    // and start-up's own pupil (a pattern-free one) draws nothing from the generator.
    reset_settings();
    reset_pattern_random();
    for (const auto &[name, value] : job.settings) apply_setting(name, value);
    const std::vector<std::string> values = row_values(job, plan, row);
    const std::vector<double> numbers = row_numbers(job, plan, row);
    for (std::size_t c = 0; c < numbers.size(); c++) set_setting(plan.columns[c], numbers[c]);
    const PsfReport report = compute_psf();

    std::string line = std::to_string(row + 1);
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
    return line;
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

[[noreturn]] void worker(const SweepJob &job, const SweepPlan &plan, long first, long last, int fd)
{
    std::signal(SIGINT, SIG_DFL);
    std::string lines;
    for (long row = first; row < last; row++) {
        lines += compute_row(job, plan, row);
        if (lines.size() >= 4096) {  // a few dozen rows: the progress line moves smoothly
            if (!write_all(fd, lines)) _exit(1);
            lines.clear();
        }
    }
    _exit(write_all(fd, lines) ? 0 : 1);
}

struct Worker {
    pid_t pid = -1;
    int fd = -1;
    std::string lines;
};

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

// Computes every row; returns 0 with the rows in order in body, or the exit status.
int run_rows(const SweepJob &job, const SweepPlan &plan, std::string &body)
{
    long count = job.jobs > 0 ? job.jobs : sysconf(_SC_NPROCESSORS_ONLN);
    if (count < 1) count = 1;
    if (count > plan.rows) count = plan.rows;

    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigaction(SIGINT, &action, nullptr);

    std::fflush(stdout);
    std::fflush(stderr);
    std::vector<Worker> workers(static_cast<std::size_t>(count));
    for (long w = 0; w < count; w++) {
        int ends[2];
        if (pipe(ends) != 0) {
            std::fprintf(stderr, "orvinta: cannot start the workers: %s\n", std::strerror(errno));
            stop_workers(workers);
            return 1;
        }
        const long first = plan.rows * w / count, last = plan.rows * (w + 1) / count;
        const pid_t pid = fork();
        if (pid == 0) {
            close(ends[0]);
            for (long v = 0; v < w; v++) close(workers[v].fd);
            worker(job, plan, first, last, ends[1]);
        }
        close(ends[1]);
        workers[w].pid = pid;
        workers[w].fd = ends[0];
        if (pid < 0) {
            std::fprintf(stderr, "orvinta: cannot start the workers: %s\n", std::strerror(errno));
            stop_workers(workers);
            return 1;
        }
    }

    const bool terminal = isatty(STDERR_FILENO);
    const auto start = std::chrono::steady_clock::now();
    bool shown = false;
    double shown_at = 0;
    long done = 0, open = count;
    std::vector<pollfd> polls(workers.size());
    while (open > 0 && !interrupted) {
        for (std::size_t w = 0; w < workers.size(); w++) polls[w] = {workers[w].fd, POLLIN, 0};
        if (poll(polls.data(), polls.size(), 200) > 0) {
            for (std::size_t w = 0; w < workers.size(); w++) {
                if (workers[w].fd < 0 || !(polls[w].revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                char buffer[65536];
                const ssize_t n = read(workers[w].fd, buffer, sizeof buffer);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) {
                    close(workers[w].fd);
                    workers[w].fd = -1;
                    open--;
                    continue;
                }
                workers[w].lines.append(buffer, static_cast<std::size_t>(n));
                for (ssize_t k = 0; k < n; k++) done += buffer[k] == '\n';
            }
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (terminal && seconds > 1.0 && seconds - shown_at >= 0.25) {
            show_progress(done, plan.rows, seconds);
            shown = true;
            shown_at = seconds;
        }
    }
    if (shown) std::fprintf(stderr, "\r\033[K");
    if (interrupted) stop_workers(workers);

    int status = 0;
    for (Worker &w : workers) {
        if (w.fd >= 0) close(w.fd);
        int result = 0;
        while (waitpid(w.pid, &result, 0) < 0 && errno == EINTR) {}
        if (!interrupted && !(WIFEXITED(result) && WEXITSTATUS(result) == 0) && status == 0) {
            if (WIFSIGNALED(result))
                std::fprintf(stderr, "orvinta: a worker stopped on signal %d\n", WTERMSIG(result));
            else
                std::fprintf(stderr, "orvinta: a worker failed\n");
            status = 1;
        }
    }
    if (interrupted) return 130;
    if (status) return status;
    for (const Worker &w : workers) body += w.lines;
    return 0;
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
    }
    SweepPlan plan;
    if (problem.empty()) problem = plan_sweep(job, plan);
    if (!problem.empty()) {
        std::fprintf(stderr, "orvinta: %s\n", problem.c_str());
        optics_shutdown();
        return 2;
    }

    std::string bytes = header(plan);
    int status = run_rows(job, plan, bytes);
    if (status == 0) {
        if (!job.randoms.empty()) bytes += "# redrawn: " + std::to_string(plan.redrawn) + "\n";
        std::string error;
        // Ctrl-C while the file waits for its reader (a FIFO) is an interrupt, not a failure.
        if (interrupted || !write_output_file(job.csv, bytes, error)) {
            if (!interrupted) std::fprintf(stderr, "orvinta: %s\n", error.c_str());
            status = interrupted ? 130 : 1;
        }
    }
    optics_shutdown();
    return status;
}
