#include "optics/encircled_energy.h"

#include <algorithm>
#include <cmath>
#include <math.h>  // j0, j1
#include <numbers>

#include "optics/settings.h"

namespace {

constexpr double PI = std::numbers::pi;

// g(s) = J1(2 pi s) / s and h(s) = J0(2 pi s) with their derivatives, every 1/64 of s: a disc
// of radius r holds r^2 g(r rho) of a lag's term and grows at 2 pi r h(r rho) per sample of
// radius. Between nodes a cubic Hermite interpolation errs by less than 1e-7 (g(0) = pi).
// s = r rho stays below 64 sqrt(2) 127 / 128 < 90 for the radii asked for.
struct BesselNode {
    double g, dg, h, dh;
};
constexpr int NODES_PER_UNIT = 64;
constexpr int NODES = 92 * NODES_PER_UNIT;

// The C library's j0 and j1 fill the table in half a millisecond; std::cyl_bessel_j gives the
// same values (to 3e-13) at about 8 us each.
const std::vector<BesselNode> &bessel_table()
{
    static const std::vector<BesselNode> table = [] {
        std::vector<BesselNode> nodes(NODES + 1);
        nodes[0] = {PI, 0, 1, 0};
        for (int k = 1; k <= NODES; k++) {
            const double s = double(k) / NODES_PER_UNIT, x = 2 * PI * s;
            const double j0x = ::j0(x), j1x = ::j1(x), g = j1x / s;
            // d/ds J1(2 pi s)/s = (2 pi J0 - 2 g) / s, from J1'(x) = J0(x) - J1(x)/x; J0' = -J1.
            nodes[k] = {g, (2 * PI * j0x - 2 * g) / s, j0x, -2 * PI * j1x};
        }
        return nodes;
    }();
    return table;
}

}  // namespace

void EncircledEnergy::centre_on(const PupilAutocorrelation &c, double cx, double cy)
{
    centre_on(std::vector<WeightedAutocorrelation>{{&c}}, cx, cy);
}

void EncircledEnergy::centre_on(const std::vector<WeightedAutocorrelation> &lines, double cx,
                                double cy)
{
    rings_.clear();
    zero_lag_ = 0;
    for (const WeightedAutocorrelation &line : lines) {
        const PupilAutocorrelation &c = *line.c;
        if (c.nu == 0) continue;
        zero_lag_ += line.weight * c.at(0, 0).real();
        // The phase ramp exp(2 pi i s (u cx + v cy) / 128) that moves the disc to the centre.
        const double s = line.scale;
        ramp_u_.resize(c.nu);
        ramp_v_.resize(2 * c.nv - 1);
        std::vector<std::complex<double>> &ramp_u = ramp_u_, &ramp_v = ramp_v_;
        for (int u = 0; u < c.nu; u++) ramp_u[u] = std::polar(1.0, 2 * PI * s * u * cx / GRID);
        for (int v = 1 - c.nv; v < c.nv; v++)
            ramp_v[v + c.nv - 1] = std::polar(1.0, 2 * PI * s * v * cy / GRID);

        // Lags k and -k give complex conjugate terms: half the plane, counted twice.
        const int largest = (c.nu - 1) * (c.nu - 1) + (c.nv - 1) * (c.nv - 1);
        std::vector<double> &weight = weight_;
        std::vector<char> &present = present_;
        if (weight.size() < std::size_t(largest) + 1) {
            weight.resize(largest + 1, 0.0);
            present.resize(largest + 1, 0);
        }
        const bool blurred = line.sigma_x > 0 || line.sigma_y > 0;
        const double ax = 2 * PI * PI * line.sigma_x * line.sigma_x * s * s / (GRID * GRID),
                     ay = 2 * PI * PI * line.sigma_y * line.sigma_y * s * s / (GRID * GRID);
        for (int v = 1 - c.nv; v < c.nv; v++)
            for (int u = (v > 0 ? 0 : 1); u < c.nu; u++) {
                const std::complex<double> lag = c.at(u, v),
                                           ramp = ramp_u[u] * ramp_v[v + c.nv - 1];
                double term = 2 * (lag.real() * ramp.real() - lag.imag() * ramp.imag());
                if (blurred) term *= std::exp(-(ax * u * u + ay * v * v));
                weight[u * u + v * v] += term;
                present[u * u + v * v] = 1;
            }
        for (int n = 1; n <= largest; n++)
            if (present[n]) {
                rings_.push_back({s * std::sqrt(double(n)) / GRID, line.weight * weight[n]});
                weight[n] = 0;
                present[n] = 0;
            }
    }
}

EncircledEnergy::Value EncircledEnergy::evaluate(double radius) const
{
    const std::vector<BesselNode> &table = bessel_table();
    constexpr double H = 1.0 / NODES_PER_UNIT;
    double sum_g = PI * zero_lag_, sum_h = zero_lag_;
    for (const Ring &ring : rings_) {
        const double t = radius * ring.rho * NODES_PER_UNIT;
        if (t >= NODES) {
            // Beyond the table (the short wavelengths of a wide band): the functions themselves.
            const double arg = radius * ring.rho, x = 2 * PI * arg;
            sum_g += ring.weight * ::j1(x) / arg;
            sum_h += ring.weight * ::j0(x);
            continue;
        }
        const int k = std::min(int(t), NODES - 1);
        const double f = t - k, a = (1 - f) * (1 - f), b = f * f;
        const BesselNode &lo = table[k], &hi = table[k + 1];
        // Cubic Hermite basis: (1 + 2f)(1 - f)^2, f(1 - f)^2, f^2(3 - 2f), f^2(f - 1).
        const double w00 = (1 + 2 * f) * a, w10 = f * a * H, w01 = b * (3 - 2 * f),
                     w11 = b * (f - 1) * H;
        sum_g += ring.weight * (w00 * lo.g + w10 * lo.dg + w01 * hi.g + w11 * hi.dg);
        sum_h += ring.weight * (w00 * lo.h + w10 * lo.dh + w01 * hi.h + w11 * hi.dh);
    }
    const double period = double(GRID) * GRID * zero_lag_;
    return {radius * radius * sum_g / period, 2 * PI * radius * sum_h / period};
}

double EncircledEnergy::fraction_within(double radius) const
{
    return zero_lag_ > 0 ? evaluate(radius).fraction : 0;
}

// The energy only grows with the radius, so a bracket found by doubling from half a sample
// holds the one answer; Newton steps (the slope is the ring's energy, 2 pi r times the mean
// intensity on it) fall back to halving the bracket when they would leave it or stall.
std::optional<double> EncircledEnergy::radius_holding(double fraction, double max_radius) const
{
    if (!(zero_lag_ > 0)) return std::nullopt;
    double lo = 0, hi = std::min(0.5, max_radius), below = 0, above;
    while ((above = evaluate(hi).fraction) < fraction) {
        if (hi >= max_radius) return std::nullopt;
        lo = hi, below = above;
        hi = std::min(2 * hi, max_radius);
    }
    // The first guess interpolates the bracket's fractions.
    double radius = lo + (hi - lo) * (fraction - below) / (above - below);
    double step_before = hi - lo, step = step_before;
    for (int iteration = 0; iteration < 200; iteration++) {
        const Value v = evaluate(radius);
        (v.fraction < fraction ? lo : hi) = radius;
        const double newton = radius - (v.fraction - fraction) / v.slope;
        const bool take_newton = v.slope > 0 && newton > lo && newton < hi &&
                                 std::fabs(newton - radius) < 0.5 * step_before;
        const double next = take_newton ? newton : 0.5 * (lo + hi);
        step_before = step;
        step = std::fabs(next - radius);
        radius = next;
        if (step < 1e-9) break;
    }
    return radius;
}
