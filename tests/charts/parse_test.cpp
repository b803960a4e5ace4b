#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
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

TEST(FormulaValues, OperatorsFunctionsLiteralsAndVariables)
{
    // Expected values are written as the C++ expression the formula stands for, or worked by
    // hand in the comment.
    struct Row {
        const char *text;
        double x, y;
        double expected;
    };
    const double inf = HUGE_VAL;
    const Row rows[] = {
        // Precedence and grouping: left to right for - and /, right to left for ^.
        {"x*y", 2, 3, 6},
        {"1+2*3", 0, 0, 7},
        {"(1+2)*3", 0, 0, 9},
        {"2-3-4", 0, 0, -5},
        {"8/4/2", 0, 0, 1},
        {"2-3+4", 0, 0, 3},
        {"8/4*2", 0, 0, 4},
        {"2^3^2", 0, 0, 512},
        {"(2^3)^2", 0, 0, 64},
        {"2*3^2", 0, 0, 18},
        {"2^3*2", 0, 0, 16},
        {"10-2^2", 0, 0, 6},
        {"1+6/3-2*2", 0, 0, -1},
        // Unary minus: on one operand, tighter than ^.
        {"-2*3", 0, 0, -6},
        {"-6/3", 0, 0, -2},
        {"-2+3", 0, 0, 1},
        {"-2-3", 0, 0, -5},
        {"-3^2", 0, 0, 9},
        {"-2^2", 0, 0, 4},
        {"2*-3", 0, 0, -6},
        {"-(-2)", 0, 0, 2},
        {"2^-1", 0, 0, 0.5},
        {"1--2", 0, 0, 3},
        {"-x", 4, 0, -4},
        {"-ABS(-3)", 0, 0, -3},
        {"2^3^-1", 0, 0, std::pow(2.0, 1.0 / 3.0)},  // 2^(3^-1)
        {"x-y", 5, 7, -2},
        {"y^2", 0, 3, 9},
        {"X/Y", 1, 4, 0.25},
        {"X*X+Y*Y", 3, 4, 25},
        // Division by zero gives HUGE_VAL whatever the sign of the dividend.
        {"1/0", 0, 0, inf},
        {"-1/0", 0, 0, inf},
        {"0/0", 0, 0, inf},
        {"X/(Y-Y)", -2, 7, inf},
        // Literals and exponents.
        {"2E3", 0, 0, 2000},
        {"1E+2", 0, 0, 100},
        {"1.5E-2", 0, 0, 1.5e-2},
        {"2.5e1", 0, 0, 25},
        {"2E", 0, 0, 2},
        {"2E+", 0, 0, 2},
        {"5.", 0, 0, 5},
        {".5", 0, 0, 0.5},
        {"5.E3", 0, 0, 5000},
        {"007", 0, 0, 7},
        {"1E999", 0, 0, inf},
        {"1E-999", 0, 0, 0},
        {"1E308*10", 0, 0, inf},
        {" 1 +  2 ", 0, 0, 3},
        // Every function, each in the order the scanner tries them.
        {"ABS(-2.5)", 0, 0, 2.5},
        {"ACOS(0.5)", 0, 0, std::acos(0.5)},
        {"ASIN(0.5)", 0, 0, std::asin(0.5)},
        {"ATAN(1)", 0, 0, std::atan(1.0)},
        {"COSH(1)", 0, 0, std::cosh(1.0)},
        {"COS(1)", 0, 0, std::cos(1.0)},
        {"EXP(1)", 0, 0, std::exp(1.0)},
        {"LOG10(1000)", 0, 0, 3},
        {"LOG(X)", 2, 0, std::log(2.0)},
        {"POW10(2)", 0, 0, 100},
        {"ROUND(2.5)", 0, 0, 3},
        {"ROUND(-2.5)", 0, 0, -2} /* -2.5 + 0.5 */,
        {"ROUND(-1.7)", 0, 0, -1} /* -1.2 cut toward zero */,
        {"ROUND(2.4)", 0, 0, 2},
        {"SINH(1)", 0, 0, std::sinh(1.0)},
        {"SIN(X)", 0.5, 0, std::sin(0.5)},
        {"SQRT(9)", 0, 0, 3},
        {"SQR(3)", 0, 0, 9},
        {"TANH(0.5)", 0, 0, std::tanh(0.5)},
        {"TAN(0.5)", 0, 0, std::tan(0.5)},
        {"TRUNC(-2.7)", 0, 0, -2},
        {"TRUNC(2.7)", 0, 0, 2},
        // Beyond 32 bits the conversion gives the x86 "integer indefinite" value.
        {"TRUNC(1E10)", 0, 0, static_cast<double>(INT_MIN)},
        {"ROUND(-1E10)", 0, 0, static_cast<double>(INT_MIN)},
        {"TRUNC(-2147483648.5)", 0, 0, -2147483648.0},
        {"TRUNC(2147483647.9)", 0, 0, 2147483647.0},
        // Functions compose and take expressions.
        {"SIN(COS(X))", 1, 0, std::sin(std::cos(1.0))},
        {"ABS(-3)^2", 0, 0, 9},
        {"EXP(X+Y)/2", 1, 2, std::exp(3.0) / 2},
        {"-SQR(-2)", 0, 0, -4},
        {"POW10(-X)", 3, 0, std::pow(10.0, -3.0)},
    };
    for (const Row &row : rows) {
        const Evaluation e = evaluate(row.text, row.x, row.y);
        EXPECT_EQ(e.ok, 1) << "expr=" << row.text;
        EXPECT_DOUBLE_EQ(e.value, row.expected) << "expr=" << row.text;
    }
}

TEST(FormulaValues, DomainErrorsFollowTheMathLibrary)
{
    const char *const texts[] = {"SQRT(-1)", "LOG(-1)", "ACOS(2)", "ASIN(-2)", "(-8)^0.5"};
    for (const char *text : texts) {
        const Evaluation e = evaluate(text);
        EXPECT_EQ(e.ok, 1) << "expr=" << text;
        EXPECT_TRUE(std::isnan(e.value)) << "expr=" << text << " gave " << e.value;
    }
    const Evaluation log0 = evaluate("LOG(0)");
    EXPECT_EQ(log0.ok, 1);
    EXPECT_EQ(log0.value, -HUGE_VAL);
}

TEST(FormulaText, IsUpperCasedOnSuccessOnly)
{
    struct Row {
        const char *text;
        int ok;
        const char *after;
    };
    const Row rows[] = {
        {"x*y", 1, "X*Y"},           {"sqr(3)", 1, "SQR(3)"}, {"sin(x) + 2e3", 1, "SIN(X) + 2E3"},
        {"Log10(y)", 1, "LOG10(Y)"}, {"sin x", 0, "sin x"},   {"cos(x", 0, "cos(x"},
        {"x::y", 0, "x::y"},
    };
    for (const Row &row : rows) {
        const Evaluation e = evaluate(row.text, 1, 1);
        EXPECT_EQ(e.ok, row.ok) << "expr=" << row.text;
        EXPECT_EQ(e.text, row.after) << "expr=" << row.text;
    }
}

TEST(FormulaErrors, AreRefusedWithZeroAndTheTextUnchanged)
{
    const std::string rows[] = {
        "--2",  // a unary minus may not follow another
        "SIN X",
        "SINX",
        "COS",  // a function needs its parenthesis
        "XY",
        "2 3",
        "2(3)",
        "SIN(1)(2)",  // two operands need an operator
        "1.5.3",
        "1..2",
        ".",
        ".E5",     // 1.5 then .3; 1. then a lone point
        "1E1234",  // 1E123 followed by 4
        "3:4",
        "2 # 3",
        "1,5",
        "1\t+2",  // only the blank is skipped
        "",
        "   ",
        "(1+2",
        "1+2)",
        "()",
        "SIN()",
        "SIN(1",
        "ABC",
        "Z",
        "1+",
        "*2",
        "2^",
        "-",
        "(-)",
        "2**3",
        nested(18, "5"),
        nested(30, "5"),          // the closing parenthesis finds the stack full
        "1^1^1^1^1^1^1^1^1^1^1",  // 10 pending "Signed ^" pairs overflow the stack
    };
    for (const std::string &row : rows) {
        const Evaluation e = evaluate(row, 1, 2);
        EXPECT_EQ(e.ok, 0) << "expr=" << row;
        EXPECT_EQ(e.value, 0.0) << "expr=" << row;
        EXPECT_EQ(e.text, row) << "expr=" << row;
    }
}

// The evaluation stack: the start entry, 17 "(" and the inner expression fill indices 0..18 and
// the first ")" takes index 19, the last one; 9 pending (Signed, ^) pairs fill 1..18 and the
// last number 19. Texts beyond the buffers are refused.
TEST(FormulaLimits, DeepestStackAndLongestTextsEvaluateOneMoreIsRefused)
{
    struct Row {
        const char *name;
        std::string text;
        int ok;
        double expected;
        double x = 0;
    };
    std::string sum_191 = "1";
    for (int k = 0; k < 95; k++) sum_191 += "+1";  // 1 + 95 * 2 = 191 characters, value 96
    const Row rows[] = {
        {"17 nested parentheses", nested(17, "5"), 1, 5},
        {"17 nested around -x", nested(17, "-x"), 1, -2.5, 2.5},
        {"9 pending powers", "1^1^1^1^1^1^1^1^1^1", 1, 1},
        {"18 nested parentheses", nested(18, "5"), 0, 0},
        {"a fresh stack after a refusal", "1+1", 1, 2},
        {"191-character text", sum_191, 1, 96},
        {"192-character text", sum_191 + " ", 0, 0},
        {"1 and 190 blanks", "1" + std::string(190, ' '), 1, 1},
        {"1 and 191 blanks", "1" + std::string(191, ' '), 0, 0},
        {"500-character text", std::string(500, '1'), 0, 0},
        {"183-digit literal", "1" + std::string(182, '0'), 1, 1e182},
        {"184-digit literal", "1" + std::string(183, '0'), 0, 0},
        {"183-character literal with exponent", "1" + std::string(179, '0') + "E-5", 1, 1e174},
        {"184-character literal with exponent", "1" + std::string(180, '0') + "E-5", 0, 0},
        {"183-digit literal after an operator", "2*" + std::string(182, '0') + "3", 1, 6},
    };
    for (const Row &row : rows) {
        const Evaluation e = evaluate(row.text, row.x);
        EXPECT_EQ(e.ok, row.ok) << row.name;
        EXPECT_DOUBLE_EQ(e.value, row.expected) << row.name;
    }
}

}  // namespace
