// Numbers written with a count of significant digits, choosing fixed or exponent notation by
// themselves, as the C library's gcvt does: the "%.*g" conversion, trailing zeros dropped.
// Used by the setup dialogs and the plot titles.
#pragma once

#include <cstddef>
#include <string>

// More than 17 digits add nothing to a double, so ndigit is held to 1 ... 17.
std::string gcvt_text(double value, int ndigit);
// The same into buffer (cut to size - 1 characters); returns buffer.
char *gcvt_into(double value, int ndigit, char *buffer, std::size_t size);
