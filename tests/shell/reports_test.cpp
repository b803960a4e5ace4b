// The report texts, byte for byte (Review Domains is checked through the program). Expected numbers are worked out by hand (and checked with
// a separate calculator), never taken from the functions under test.
#include <gtest/gtest.h>

#include <string>

#include "shell/reports.h"

namespace {

SYSTEMTIME at(WORD hour, WORD minute, WORD second, WORD milliseconds)
{
    return SYSTEMTIME{0, 0, 0, 0, hour, minute, second, milliseconds};
}

TEST(Reports, GeneralNumberFormatKeepsNSignificantDigits)
{
    struct Row { double value; int digits; const char *text; } rows[] = {
        {6.832, 6, "6.832"},               // trailing zeros go
        {128, 6, "128"},                   // and the decimal point with them
        {10.0 / 39.0, 6, "0.25641"},       // 0.2564102... rounds to 0.256410 -> 0.25641
        {1234567.0, 6, "1.23457e+06"},     // exponent 6 >= N: exponent form
        {0.0001234, 6, "0.0001234"},       // exponent -4: still fixed
        {0.00001234, 6, "1.234e-05"},      // exponent -5: exponent form
        {0.75, 7, "0.75"}, {3600.0, 7, "3600"},
    };
    for (const Row &row : rows) EXPECT_EQ(gN(row.value, row.digits), row.text) << "value=" << row.value;
}

TEST(Reports, FFTStatisticsTextFormatsBothTimesAndTheElapsedSeconds)
{
    struct Row { const char *name; SYSTEMTIME start, end; const char *text; } rows[] = {
        {"same second", at(9, 5, 7, 30), at(9, 5, 7, 90),
         "Start time:    9:05:07.03\nEnd time:     9:05:07.09\n\nEllapsed time:  0.06 seconds."},
        {"across a minute", at(14, 59, 58, 500), at(15, 0, 1, 250),
         // 14:59:58.50 to 15:00:01.25 is 2.75 s
         "Start time:   14:59:58.50\nEnd time:    15:00:01.25\n\nEllapsed time:  2.75 seconds."},
        {"past midnight", at(23, 59, 59, 500), at(0, 0, 0, 250),
         // 0.50 s to midnight, then 0.25 s: 0.75 s, not a negative day
         "Start time:   23:59:59.50\nEnd time:     0:00:00.25\n\nEllapsed time:  0.75 seconds."},
        {"a whole hour", at(10, 0, 0, 0), at(11, 0, 0, 0),
         "Start time:   10:00:00.00\nEnd time:    11:00:00.00\n\nEllapsed time:  3600 seconds."},
        {"milliseconds truncate to hundredths", at(8, 0, 0, 19), at(8, 0, 0, 999),
         // 0.01 s to 0.99 s
         "Start time:    8:00:00.01\nEnd time:     8:00:00.99\n\nEllapsed time:  0.98 seconds."},
    };
    for (const Row &row : rows) EXPECT_EQ(FFTStatisticsText(row.start, row.end), row.text) << row.name;
}

}  // namespace
