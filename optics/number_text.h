// Decimal numbers in text, read the same way whatever the locale: a point is always the
// decimal separator.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct NumberText {
    bool found = false;    // false when the text does not start with a number
    double value = 0.0;    // a magnitude beyond double gives +-infinity, one below it +-4.9e-324
    std::size_t used = 0;  // characters taken, blanks before the number included
};

// The number at the start of text: optional blanks, then [sign] digits [. digits]
// [(e|E) [sign] digits], at least one digit before the exponent. An exponent without digits
// is not taken ("2e" gives 2, used 1). Nothing else is a number: no "inf", "nan" or hex.
NumberText leading_number(std::string_view text);

// The general number format gN: n significant digits (held to 1 ... 17, as more add nothing to
// a double), fixed notation while the decimal exponent lies between -4 and n - 1, exponent form
// otherwise, trailing zeros and point dropped: the "%.*g" conversion, as gcvt writes it. Used
// by the reports, the plot titles, the dialogs and every figure printed with 9 digits.
std::string gN(double value, int n);
// The same into buffer (cut to size - 1 characters); returns buffer.
char *gN_into(double value, int n, char *buffer, std::size_t size);
