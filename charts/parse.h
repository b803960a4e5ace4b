// The formula evaluator behind F(X,Y) surfaces: an arithmetic language with the variables X
// and Y, number literals, + - * / ^, parentheses and 18 named functions, evaluated by a
// table-driven shift-reduce parser while it parses. There is no compiled form: each call
// scans and parses the text anew.
#pragma once

// Token codes returned by the scanner. Code 9 is not used.
enum {
    TOK_PLUS = 0,
    TOK_MINUS = 1,
    TOK_TIMES = 2,
    TOK_DIVIDE = 3,
    TOK_POWER = 4,
    TOK_COLON = 5,  // accepted by no state: always a syntax error
    TOK_LPAREN = 6,
    TOK_RPAREN = 7,
    TOK_NUMBER = 8,  // a literal, X or Y
    TOK_FUNCTION = 10,
    TOK_END = 11,
    TOK_BAD = 12,
};

// One parse-stack entry. A function token keeps its name where other entries keep a value.
struct TOKENREC {
    signed char state;
    union {
        double value;
        char funcname[6];  // at most 5 characters and the terminator
    };
};

// The longest formula text accepted; the working copy holds it and its terminator.
constexpr int PARSE_MAX_TEXT = 191;
// The longest number literal the scanner accepts.
constexpr int PARSE_MAX_LITERAL = 183;
// Depth of the parse stack.
constexpr int PARSE_STACK_SIZE = 20;

// Evaluates the formula `text` with X = x and Y = y. On success *ok = 1, the value is returned
// and `text` has been converted to upper case in place. On a syntax error, a full stack or a
// text or literal too long for the buffers, *ok = 0, 0.0 is returned and `text` is unchanged.
// A division by zero is not an error: its quotient is HUGE_VAL. Not reentrant.
double parse(char *text, int *ok, double x, double y);
