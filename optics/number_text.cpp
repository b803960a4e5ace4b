#include "optics/number_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The decimal exponent of the first nonzero digit of a number text too large or too small
// for a double: positive for huge values, negative for tiny ones.
long magnitude(std::string_view number)
{
    long exponent = 0;
    const std::size_t e = number.find_first_of("eE");
    if (e != std::string_view::npos) {
        const std::string_view digits = number.substr(e + 1);
        const bool negative = !digits.empty() && digits[0] == '-';
        for (char c : digits)
            if (is_digit(c) && exponent < 100000) exponent = exponent * 10 + (c - '0');
        if (negative) exponent = -exponent;
        number = number.substr(0, e);
    }
    const std::size_t point = number.find('.');
    const std::size_t before = point == std::string_view::npos ? number.size() : point;
    for (std::size_t k = 0; k < number.size(); k++) {
        if (!is_digit(number[k]) || number[k] == '0') continue;
        return exponent +
               (k < before ? static_cast<long>(before - k) - 1 : -static_cast<long>(k - before));
    }
    return 0;
}

}  // namespace

NumberText leading_number(std::string_view text)
{
    NumberText result;
    std::size_t k = 0;
    while (k < text.size() && (text[k] == ' ' || text[k] == '\t')) k++;
    bool negative = false;
    if (k < text.size() && (text[k] == '+' || text[k] == '-')) negative = text[k++] == '-';
    const std::size_t unsigned_start = k;
    std::size_t digits = 0;
    while (k < text.size() && is_digit(text[k])) k++, digits++;
    if (k < text.size() && text[k] == '.') {
        k++;
        while (k < text.size() && is_digit(text[k])) k++, digits++;
    }
    if (digits == 0) return result;
    if (k < text.size() && (text[k] == 'e' || text[k] == 'E')) {
        std::size_t e = k + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) e++;
        if (e < text.size() && is_digit(text[e])) {
            while (e < text.size() && is_digit(text[e])) e++;
            k = e;
        }
    }
    // from_chars takes no '+' and no lone leading point, so it reads the unsigned part.
    std::string number(text.substr(unsigned_start, k - unsigned_start));
    if (number[0] == '.') number = "0" + number;
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        value = magnitude(number) > 0 ? std::numeric_limits<double>::infinity()
                                      : std::numeric_limits<double>::denorm_min();
    else if (error != std::errc() || end != number.data() + number.size())
        return result;
    result.found = true;
    result.value = negative ? -value : value;
    result.used = k;
    return result;
}

char *gN_into(double value, int n, char *buffer, std::size_t size)
{
    if (!buffer || size == 0) return buffer;
    std::snprintf(buffer, size, "%.*g", std::clamp(n, 1, 17), value);
    return buffer;
}

std::string gN(double value, int n)
{
    char text[64];
    return gN_into(value, n, text, sizeof text);
}
