#include "optics/continuous_psf.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "optics/plane_fft.h"
#include "optics/settings.h"

namespace {

constexpr double TWO_PI = 2 * std::numbers::pi;
constexpr double PUPIL_CENTRE = 64.5;  // between samples 64 and 65 along i and j

// exp(2 pi i (first + k - 64.5) t / 128) for k = 0 .. count - 1, by a rotation per step.
void phase_factors(int first, int count, double t, std::vector<double> &c, std::vector<double> &s)
{
    c.resize(count);
    s.resize(count);
    const double step = TWO_PI * t / GRID;
    double cr = std::cos((first - PUPIL_CENTRE) * step),
           ci = std::sin((first - PUPIL_CENTRE) * step);
    const double dr = std::cos(step), di = std::sin(step);
    for (int k = 0; k < count; k++) {
        c[k] = cr;
        s[k] = ci;
        const double next = cr * dr - ci * di;
        ci = cr * di + ci * dr;
        cr = next;
    }
}

// Angular frequency, in radians per sample, of pupil sample `index` along its axis.
double frequency(int index) { return TWO_PI * (index - PUPIL_CENTRE) / GRID; }

}  // namespace

void ContinuousPsf::read_pupil(double phase_scale)
{
    int i1 = 0, j1 = 0;
    i0_ = j0_ = GRID + 1;
    ni_ = nj_ = 0;
    transmission_sum_ = 0;
    brightest_ = {};
    autocorrelation_.nu = autocorrelation_.nv = 0;
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++)
            if (r_input[i][j] != 0) {
                i0_ = std::min(i0_, i), i1 = std::max(i1, i);
                j0_ = std::min(j0_, j), j1 = std::max(j1, j);
            }
    if (i1 == 0) return;  // no light at all
    ni_ = i1 - i0_ + 1;
    nj_ = j1 - j0_ + 1;
    re_.resize(std::size_t(ni_) * nj_);
    im_.resize(re_.size());
    for (int p = 0; p < ni_; p++)
        for (int q = 0; q < nj_; q++) {
            const double t = r_input[i0_ + p][j0_ + q],
                         angle = TWO_PI * phase_input[i0_ + p][j0_ + q] * phase_scale;
            re_[p * nj_ + q] = t * std::cos(angle);
            im_[p * nj_ + q] = t * std::sin(angle);
            transmission_sum_ += t;
        }
    if (!dark()) transform_to_grid();
}

// The FFT of the lit box, zero-padded to N = 128 or 256 per side, samples E at x = m 128 / N
// (whole samples, or half samples for a box wider than 64); the inverse FFT of those
// intensities gives the autocorrelation without wrap-around, since it spans 2 n - 1 <= N lags
// per axis.
void ContinuousPsf::transform_to_grid()
{
    const int n = (ni_ <= GRID / 2 && nj_ <= GRID / 2) ? GRID : 2 * GRID;
    // Working planes kept from one call to the next, like the other arrays. across: j down the
    // rows; along: i down the rows.
    thread_local Plane across, along;
    across.resize(n);
    along.resize(n);
    for (int q = 0; q < nj_; q++)
        for (int p = 0; p < ni_; p++) {
            across.r(q, p) = re_[p * nj_ + q];
            across.i(q, p) = im_[p * nj_ + q];
        }
    for (int k = nj_; k < n; k++)
        for (int p = 0; p < ni_; p++) across.r(k, p) = across.i(k, p) = 0.0;
    transform_columns(across, ni_, +1);
    transpose(across, along, n, ni_);
    along.clear_rows(ni_, n);
    transform_columns(along, n, +1);

    // The intensities are real: columns k and k + n/2 travel as the real and imaginary parts of
    // one column through the inverse transform, and are told apart after it.
    const int half = n / 2;
    const double scale = double(GRID) / n;  // samples per grid step
    for (int m = 0; m < n; m++)
        for (int k = 0; k < half; k++) {
            const double low = along.r(m, k) * along.r(m, k) + along.i(m, k) * along.i(m, k);
            const double high = along.r(m, k + half) * along.r(m, k + half) +
                                along.i(m, k + half) * along.i(m, k + half);
            if (low > brightest_.intensity) brightest_ = {m * scale, k * scale, low};
            if (high > brightest_.intensity) brightest_ = {m * scale, (k + half) * scale, high};
            along.r(m, k) = low;
            along.i(m, k) = high;
        }
    if (brightest_.x >= GRID / 2) brightest_.x -= GRID;  // the period centred on the centre sample
    if (brightest_.y >= GRID / 2) brightest_.y -= GRID;

    transform_columns(along, half, -1);
    // With Z = X + i Y for the transforms X, Y of real columns, X[u] = (Z[u] + conj Z[-u]) / 2
    // and Y[u] = (Z[u] - conj Z[-u]) / 2i. Only the lags u < ni are needed; they are written
    // across, to be transformed along j.
    for (int k = 0; k < half; k++)
        for (int u = 0; u < ni_; u++) {
            const int w = (n - u) % n;
            const double zr = along.r(u, k), zi = along.i(u, k);
            const double wr = along.r(w, k), wi = along.i(w, k);
            across.r(k, u) = 0.5 * (zr + wr);
            across.i(k, u) = 0.5 * (zi - wi);
            across.r(k + half, u) = 0.5 * (zi + wi);
            across.i(k + half, u) = -0.5 * (zr - wr);
        }
    transform_columns(across, ni_, -1);

    PupilAutocorrelation &c = autocorrelation_;
    c.nu = ni_;
    c.nv = nj_;
    c.values.resize(std::size_t(ni_) * (2 * nj_ - 1));
    const double norm = 1.0 / (double(n) * n);
    for (int v = 1 - nj_; v < nj_; v++) {
        const int row = (v + n) % n;
        for (int u = 0; u < ni_; u++)
            c.values[(v + nj_ - 1) * ni_ + u] = {across.r(row, u) * norm, across.i(row, u) * norm};
    }
}

double ContinuousPsf::intensity(double x, double y) const
{
    if (dark()) return 0;
    std::vector<double> xc, xs, yc, ys;
    phase_factors(i0_, ni_, x, xc, xs);
    phase_factors(j0_, nj_, y, yc, ys);
    double er = 0, ei = 0;
    for (int p = 0; p < ni_; p++) {
        const double *ar = &re_[p * nj_], *ai = &im_[p * nj_];
        double rr = 0, ri = 0;
        for (int q = 0; q < nj_; q++) {
            rr += ar[q] * yc[q] - ai[q] * ys[q];
            ri += ar[q] * ys[q] + ai[q] * yc[q];
        }
        er += rr * xc[p] - ri * xs[p];
        ei += rr * xs[p] + ri * xc[p];
    }
    return er * er + ei * ei;
}

// With E = sum over p of ex_p R_p and R_p = sum over q of a ey_q, each derivative brings down a
// factor i k for its axis: Ex = i sum k_p ex_p R_p, Eyy = -sum ex_p sum k_q^2 a ey_q, ...; then
// Ix = 2 Re(E* Ex) and Ixx = 2 (|Ex|^2 + Re(E* Exx)), and likewise for y and the cross term.
IntensityDerivatives ContinuousPsf::derivatives(double x, double y) const
{
    std::vector<double> xc, xs, yc, ys;
    phase_factors(i0_, ni_, x, xc, xs);
    phase_factors(j0_, nj_, y, yc, ys);
    std::complex<double> s0, s1, s2, t0, t1, u0;  // see the sums below
    for (int p = 0; p < ni_; p++) {
        const double *ar = &re_[p * nj_], *ai = &im_[p * nj_];
        double r0r = 0, r0i = 0, r1r = 0, r1i = 0, r2r = 0, r2i = 0;
        for (int q = 0; q < nj_; q++) {
            const double k = frequency(j0_ + q);
            const double tr = ar[q] * yc[q] - ai[q] * ys[q], ti = ar[q] * ys[q] + ai[q] * yc[q];
            r0r += tr, r0i += ti;
            r1r += k * tr, r1i += k * ti;
            r2r += k * k * tr, r2i += k * k * ti;
        }
        const std::complex<double> ex(xc[p], xs[p]), e0 = ex * std::complex(r0r, r0i);
        const std::complex<double> e1 = ex * std::complex(r1r, r1i),
                                   e2 = ex * std::complex(r2r, r2i);
        const double k = frequency(i0_ + p);
        s0 += e0, s1 += k * e0, s2 += k * k * e0;  // E, -i Ex, -Exx
        t0 += e1, t1 += k * e1;                    // -i Ey, -Exy
        u0 += e2;                                  // -Eyy
    }
    const auto dot = [](std::complex<double> a, std::complex<double> b) {
        return (std::conj(a) * b).real();
    };
    const auto cross = [](std::complex<double> a, std::complex<double> b) {
        return (std::conj(a) * b).imag();
    };
    return {std::norm(s0),
            -2 * cross(s0, s1),
            -2 * cross(s0, t0),
            2 * (std::norm(s1) - dot(s0, s2)),
            2 * (dot(s1, t0) - dot(s0, t1)),
            2 * (std::norm(t0) - dot(s0, u0))};
}

PsfPoint climb_to_peak(PsfPoint at, double most_step,
                       const std::function<IntensityDerivatives(double, double)> &derivatives,
                       const std::function<double(double, double)> &intensity)
{
    for (int iteration = 0; iteration < 100; iteration++) {
        const IntensityDerivatives d = derivatives(at.x, at.y);
        at.intensity = d.value;
        const double det = d.dxx * d.dyy - d.dxy * d.dxy;
        double dx, dy;
        if (d.dxx < 0 && det > 0) {
            dx = -(d.dyy * d.dx - d.dxy * d.dy) / det;
            dy = -(d.dxx * d.dy - d.dxy * d.dx) / det;
        } else {
            const double slope = std::hypot(d.dx, d.dy);
            if (slope == 0) break;
            dx = 0.25 * d.dx / slope;
            dy = 0.25 * d.dy / slope;
        }
        const double length = std::hypot(dx, dy);
        if (length > most_step) dx *= most_step / length, dy *= most_step / length;
        bool gained = false;
        for (int halving = 0; halving < 40 && !gained; halving++) {
            const double value = intensity(at.x + dx, at.y + dy);
            if (value >= d.value) {
                at = {at.x + dx, at.y + dy, value};
                gained = true;
            } else {
                dx /= 2, dy /= 2;
            }
        }
        if (!gained || std::hypot(dx, dy) < 1e-9) break;
    }
    return at;
}

std::optional<double> width_between_crossings(double centre, double step,
                                              const std::function<bool(double)> &above_half)
{
    constexpr double REACH = GRID / 2;
    const auto crossing = [&](double side) -> std::optional<double> {
        double inside = centre;
        for (int k = 1; k * step <= REACH; k++) {
            double outside = centre + side * k * step;
            if (above_half(outside)) {
                inside = outside;
                continue;
            }
            while (std::fabs(outside - inside) > 1e-8) {
                const double middle = 0.5 * (inside + outside);
                (above_half(middle) ? inside : outside) = middle;
            }
            return 0.5 * (inside + outside);
        }
        return std::nullopt;
    };
    const std::optional<double> right = crossing(+1), left = crossing(-1);
    if (!right || !left) return std::nullopt;
    return *right - *left;
}

// Newton steps on |E|^2 from the brightest sample, at most half a sample long.
PsfPoint ContinuousPsf::peak() const
{
    if (dark()) return brightest_;
    return climb_to_peak(
        brightest_, 0.5, [this](double x, double y) { return derivatives(x, y); },
        [this](double x, double y) { return intensity(x, y); });
}

std::vector<std::complex<double>> ContinuousPsf::line(const PsfPoint &peak, bool along_x) const
{
    std::vector<double> c, s;
    std::vector<std::complex<double>> coefficients(along_x ? ni_ : nj_);
    if (along_x) {  // sum over j at the peak's y, per pupil row i
        phase_factors(j0_, nj_, peak.y, c, s);
        for (int p = 0; p < ni_; p++)
            for (int q = 0; q < nj_; q++)
                coefficients[p] +=
                    std::complex(re_[p * nj_ + q], im_[p * nj_ + q]) * std::complex(c[q], s[q]);
    } else {  // sum over i at the peak's x, per pupil column j
        phase_factors(i0_, ni_, peak.x, c, s);
        for (int p = 0; p < ni_; p++)
            for (int q = 0; q < nj_; q++)
                coefficients[q] +=
                    std::complex(re_[p * nj_ + q], im_[p * nj_ + q]) * std::complex(c[p], s[p]);
    }
    return coefficients;
}

// The crossings are stepped to in sixteenths of a sample from the peak (the intensity, whose
// frequencies stay below one cycle per sample, cannot dip under half and back up within one
// such step) and then halved down to 1e-8 sample.
std::optional<double> ContinuousPsf::width_at_half(const PsfPoint &peak, bool along_x) const
{
    if (dark()) return std::nullopt;
    const std::vector<std::complex<double>> coefficients = line(peak, along_x);
    const int first = along_x ? i0_ : j0_;
    const double centre = along_x ? peak.x : peak.y, half = peak.intensity / 2;
    std::vector<double> c, s;
    const auto above_half = [&](double t) {
        phase_factors(first, int(coefficients.size()), t, c, s);
        double er = 0, ei = 0;
        for (std::size_t k = 0; k < coefficients.size(); k++) {
            er += coefficients[k].real() * c[k] - coefficients[k].imag() * s[k];
            ei += coefficients[k].real() * s[k] + coefficients[k].imag() * c[k];
        }
        return er * er + ei * ei > half;
    };
    return width_between_crossings(centre, 1.0 / 16, above_half);
}
