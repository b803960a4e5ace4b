// Decimal numbers in text, read the same way whatever the locale: a point is always the
// decimal separator.
#pragma once

#include <cstddef>
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
