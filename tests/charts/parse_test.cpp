// The formula evaluator: the values of operators, literals and functions, the text written back
// in upper case, the texts it refuses, and the limits of its stack and buffers. Expected values
// are the C++ expression the formula stands for, or worked by hand in a comment.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "charts/parse.h"

namespace {

struct Evaluation {
    double value;
    int ok;
    std::string text;  // the caller's text after the call
};

Evaluation evaluate(const std::string &formula, double x = 0.0, double y = 0.0)
{
    std::vector<char> buffer(formula.begin(), formula.end());
    buffer.push_back('\0');
    Evaluation e;
    e.ok = -1;
    e.value = parse(buffer.data(), &e.ok, x, y);
    e.text = buffer.data();
    return e;
}

std::string nested(int depth, const std::string &inner)
{
    return std::string(depth, '(') + inner + std::string(depth, ')');
}

struct ValueRow {
    const char *text;
    double expected;
    double x = 0.0;
    double y = 0.0;
};

void expect_values(const std::vector<ValueRow> &rows)
{
    for (const ValueRow &row : rows) {
        const Evaluation e = evaluate(row.text, row.x, row.y);
        EXPECT_EQ(e.ok, 1) << row.text;
        EXPECT_DOUBLE_EQ(e.value, row.expected) << row.text;
    }
}

const double inf = HUGE_VAL;

// + and - bind weakest and group from the left, * and / next, ^ tighter and from the right; a
// function takes only what stands in its parentheses.
TEST(Formula, OperatorsBindByPrecedence)
{
    const std::vector<ValueRow> rows = {{"x*y", 6, 2, 3},  {"1+2*3", 7},        {"(1+2)*3", 9},
                                        {"2-3-4", -5},     {"8/4/2", 1},        {"2-3+4", 3},
                                        {"8/4*2", 4},      {"2^3^2", 512},      {"2*3^2", 18},
                                        {"2^3*2", 16},     {"10-2^2", 6},       {"1+6/3-2*2", -1},
                                        {"x-y", -2, 5, 7}, {"X/Y", 0.25, 1, 4}, {"ABS(-2)-3", -1}};
    expect_values(rows);
}

// A unary minus belongs to one operand and binds tighter than ^: -3^2 is (-3)^2,
// 2^3^-1 is 2^(3^-1).
TEST(Formula, UnaryMinusNegatesOneOperand)
{
    const std::vector<ValueRow> rows = {
        {"-2*3", -6},  {"-2+3", 1}, {"-3^2", 9},   {"2*-3", -6},     {"-(-2)", 2},
        {"2^-1", 0.5}, {"1--2", 3}, {"-x", -4, 4}, {"-ABS(-3)", -3}, {"2^3^-1", std::cbrt(2.0)}};
    expect_values(rows);
}

TEST(Formula, DivisionByZeroGivesHugeValWhateverTheDividend)
{
    const std::vector<ValueRow> rows = {{"1/0", inf}, {"-1/0", inf}};
    expect_values(rows);
}

// An E takes one sign and at most three digits (2E and 2E+ are just 2); a lone trailing or
// leading point is part of the number; blanks are skipped.
TEST(Formula, LiteralsReadAsNumbers)
{
    const std::vector<ValueRow> rows = {
        {"2E3", 2000},  {"1E+2", 100}, {"1.5E-2", 1.5e-2}, {"2.5e1", 25},  {"2E", 2},
        {"2E+", 2},     {"5.", 5},     {".5", 0.5},        {"5.E3", 5000}, {"007", 7},
        {"1E999", inf}, {"1E-999", 0}, {"1E308*10", inf},  {" 1 +  2 ", 3}};
    expect_values(rows);
}

// Every function, in the order the scanner tries them. ROUND adds 0.5 and cuts toward zero:
// -2.5 gives -2, -1.7 gives -1.2 cut to -1. Beyond 32 bits ROUND and TRUNC give the x86
// "integer indefinite" value INT_MIN.
TEST(Formula, FunctionsApplyToTheirArgument)
{
    const double indefinite = static_cast<double>(INT_MIN);
    const std::vector<ValueRow> rows = {{"ABS(-2.5)", 2.5},
                                        {"ACOS(0.5)", std::acos(0.5)},
                                        {"ASIN(0.5)", std::asin(0.5)},
                                        {"ATAN(1)", std::atan(1.0)},
                                        {"COSH(1)", std::cosh(1.0)},
                                        {"COS(1)", std::cos(1.0)},
                                        {"EXP(1)", std::exp(1.0)},
                                        {"LOG10(1000)", 3},
                                        {"LOG(X)", std::log(2.0), 2},
                                        {"LOG(0)", -inf},
                                        {"POW10(2)", 100},
                                        {"ROUND(2.5)", 3},
                                        {"ROUND(-2.5)", -2},
                                        {"ROUND(-1.7)", -1},
                                        {"SINH(1)", std::sinh(1.0)},
                                        {"SIN(X)", std::sin(0.5), 0.5},
                                        {"SQRT(9)", 3},
                                        {"SQR(3)", 9},
                                        {"TANH(0.5)", std::tanh(0.5)},
                                        {"TAN(0.5)", std::tan(0.5)},
                                        {"TRUNC(-2.7)", -2},
                                        {"TRUNC(1E10)", indefinite},
                                        {"ROUND(-1E10)", indefinite},
                                        {"TRUNC(-2147483648.5)", -2147483648.0},
                                        {"TRUNC(2147483647.9)", 2147483647.0},
                                        {"SIN(COS(X))", std::sin(std::cos(1.0)), 1}};
    expect_values(rows);
}

TEST(Formula, TextIsUpperCasedOnSuccessOnly)
{
    const struct {
        const char *text;
        int ok;
        const char *after;
    } rows[] = {
        {"x*y", 1, "X*Y"},           {"sqr(3)", 1, "SQR(3)"}, {"sin(x) + 2e3", 1, "SIN(X) + 2E3"},
        {"Log10(y)", 1, "LOG10(Y)"}, {"sin x", 0, "sin x"},   {"cos(x", 0, "cos(x"},
        {"x::y", 0, "x::y"}};
    for (const auto &row : rows) {
        const Evaluation e = evaluate(row.text, 1, 1);
        EXPECT_EQ(e.ok, row.ok) << row.text;
        EXPECT_EQ(e.text, row.after) << row.text;
    }
}

// A unary minus may not follow another (--2); a function needs its parenthesis; two operands
// need an operator; 1.5.3 is 1.5 then .3 and 1E1234 is 1E123 then 4; only the blank is
// skipped; 30 nested parentheses overflow the stack.
TEST(Formula, SyntaxErrorGivesZeroWithTheTextUnchanged)
{
    const std::string rows[] = {
        "--2",  "SIN X", "SINX", "COS",    "XY",    "2 3",          "2(3)", "SIN(1)(2)", "1.5.3",
        "1..2", ".",     ".E5",  "1E1234", "3:4",   "2 # 3",        "1,5",  "1\t+2",     "",
        "   ",  "(1+2",  "1+2)", "()",     "SIN()", "SIN(1",        "ABC",  "Z",         "1+",
        "*2",   "2^",    "-",    "(-)",    "2**3",  nested(30, "5")};
    for (const std::string &row : rows) {
        const Evaluation e = evaluate(row, 1, 2);
        EXPECT_EQ(e.ok, 0) << row;
        EXPECT_EQ(e.value, 0.0) << row;
        EXPECT_EQ(e.text, row) << row;
    }
}

// The stack: the start entry, 17 "(" and the inner expression fill indices 0..18 and the first
// ")" takes index 19, the last one; 9 pending (Signed, ^) pairs fill 1..18 and the last number
// 19. The text holds 191 characters and a literal 183; one more is refused.
TEST(Formula, OneBeyondTheStackOrBufferLimitsIsRefused)
{
    std::string sum191 = "1";
    for (int k = 0; k < 95; k++) sum191 += "+1";  // 1 + 95 x 2 = 191 characters, value 96
    const struct {
        const char *name;
        std::string text;
        int ok;
        double expected;
        double x = 0;
    } rows[] = {
        {"17 nested parentheses", nested(17, "5"), 1, 5},
        {"17 nested around -x", nested(17, "-x"), 1, -2.5, 2.5},
        {"9 pending powers", "1^1^1^1^1^1^1^1^1^1", 1, 1},
        {"18 nested parentheses", nested(18, "5"), 0, 0},
        {"10 pending powers", "1^1^1^1^1^1^1^1^1^1^1", 0, 0},
        {"a fresh stack after a refusal", "1+1", 1, 2},
        {"191-character text", sum191, 1, 96},
        {"192-character text", sum191 + " ", 0, 0},
        {"1 and 190 blanks", "1" + std::string(190, ' '), 1, 1},
        {"1 and 191 blanks", "1" + std::string(191, ' '), 0, 0},
        {"183-digit literal", "1" + std::string(182, '0'), 1, 1e182},
        {"184-digit literal", "1" + std::string(183, '0'), 0, 0},
        {"183-character literal with exponent", "1" + std::string(179, '0') + "E-5", 1, 1e174},
        {"184-character literal with exponent", "1" + std::string(180, '0') + "E-5", 0, 0},
        {"183-digit literal after an operator", "2*" + std::string(182, '0') + "3", 1, 6},
    };
    for (const auto &row : rows) {
        const Evaluation e = evaluate(row.text, row.x);
        EXPECT_EQ(e.ok, row.ok) << row.name;
        EXPECT_DOUBLE_EQ(e.value, row.expected) << row.name;
    }
}

}  // namespace
