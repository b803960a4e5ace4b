// Feeds arbitrary bytes to the formula evaluator and checks what a caller relies on: ok is 0
// or 1; a refused text comes back unchanged with the value 0.0; an accepted one comes back in
// upper case; whether a text is accepted does not depend on X and Y; and the upper-cased text
// evaluates to the same value again.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "charts/parse.h"

namespace {

std::string upper_case(const std::string &text)
{
    std::string out = text;
    for (char &c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool same_value(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

void check(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The text ends at the first zero byte, as a C string would.
    const char *bytes = reinterpret_cast<const char *>(data);
    const std::string original(bytes, strnlen(bytes, size));
    const std::string upper = upper_case(original);

    // Values that exercise division by zero, negative bases and non-finite arithmetic.
    static const double points[][2] = {
        {0.0, 0.0}, {1.5, -2.25}, {-1e300, 1e-300}, {HUGE_VAL, -HUGE_VAL}};
    int first_ok = -1;
    for (const auto &p : points) {
        // A heap buffer of exactly the text and its terminator, so that the address sanitizer
        // sees any access beyond it.
        std::unique_ptr<char[]> buffer(new char[original.size() + 1]);
        std::memcpy(buffer.get(), original.c_str(), original.size() + 1);
        int ok = -1;
        const double value = parse(buffer.get(), &ok, p[0], p[1]);
        const std::string text = buffer.get();
        check(ok == 0 || ok == 1);
        if (first_ok < 0) first_ok = ok;
        check(ok == first_ok);
        if (!ok) {
            check(value == 0.0 && !std::signbit(value));
            check(text == original);
            continue;
        }
        check(text == upper);
        int again_ok = -1;
        const double again = parse(buffer.get(), &again_ok, p[0], p[1]);
        check(again_ok == 1 && same_value(again, value) && buffer.get() == upper);
    }
    return 0;
}
