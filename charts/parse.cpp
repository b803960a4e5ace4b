#include "charts/parse.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

// The grammar, with the production numbers reduce() uses (11 and 13 are not used):
//
//    1  Expr    -> Expr + Term            9  Signed  -> - Operand
//    2  Expr    -> Expr - Term           10  Signed  -> Operand
//    3  Expr    -> Term                  12  Operand -> Primary
//    4  Term    -> Term * Power          14  Primary -> ( Expr )
//    5  Term    -> Term / Power          15  Primary -> number        (X and Y included)
//    6  Term    -> Power                 16  Primary -> function ( Expr )
//    7  Power   -> Signed ^ Power
//    8  Power   -> Signed
//
// + and - bind weakest and group from the left, * and / next, ^ tighter and from the right
// (2^3^2 = 2^9). A unary minus belongs to one operand and binds tighter than ^ (-2^2 = 4); it
// may not follow another unary minus (--2 is refused, -(-2) is not).
//
// Worked example, "2*-3": shift 2 (state 10), reduce 15, 12, 10, 8, 6 up to a Term in state 2;
// shift * (14); shift - (5); shift 3 (10); reduce 15, 12 to an Operand in state 17; reduce 9
// to a Signed -3 in state 4; reduce 8 to a Power in state 23; reduce 4: Term 2 * -3 = -6 in
// state 2; reduce 3 to an Expr in state 1, which accepts at the end of the text.

namespace {

// ---- Evaluator state, shared by every evaluation -------------------------------------------

TOKENREC stack[PARSE_STACK_SIZE];
int stacktop;           // index of the top entry; -1 when empty
TOKENREC curtoken;      // the latest token scanned, or the result of the latest reduction
int tokentype;          // code of the lookahead token
int error;              // a syntax error or a full stack
const char *input;      // scan position in the working text
double xvalue, yvalue;  // what X and Y stand for

// The upper-case working copy of the caller's text.
char formula[PARSE_MAX_TEXT + 1];
// The text of the number literal being converted.
char literal[PARSE_MAX_LITERAL + 1];

// ---- Functions --------------------------------------------------------------------------

// A double cut toward zero to a 32-bit integer. Values that do not fit, and NaN, give INT_MIN,
// the "integer indefinite" value of the x86 conversion instruction, instead of undefined
// behaviour.
double truncate_to_int32(double v)
{
    if (v > -2147483649.0 && v < 2147483648.0) return static_cast<double>(static_cast<int>(v));
    return static_cast<double>(INT_MIN);
}

double f_abs(double v) { return std::fabs(v); }
double f_acos(double v) { return std::acos(v); }
double f_asin(double v) { return std::asin(v); }
double f_atan(double v) { return std::atan(v); }
double f_cosh(double v) { return std::cosh(v); }
double f_cos(double v) { return std::cos(v); }
double f_exp(double v) { return std::exp(v); }
double f_log10(double v) { return std::log10(v); }
double f_log(double v) { return std::log(v); }
double f_pow10(double v) { return std::pow(10.0, v); }
double f_round(double v) { return truncate_to_int32(v + 0.5); }  // -1.7 gives -1, -2.5 gives -2
double f_sinh(double v) { return std::sinh(v); }
double f_sin(double v) { return std::sin(v); }
double f_sqrt(double v) { return std::sqrt(v); }
double f_sqr(double v) { return v * v; }
double f_tanh(double v) { return std::tanh(v); }
double f_tan(double v) { return std::tan(v); }
double f_trunc(double v) { return truncate_to_int32(v); }

struct FunctionDef {
    const char *name;
    double (*apply)(double);
};

// In the scanner's order of trial: matching is by prefix, so each longer name stands before
// its prefix (COSH before COS, LOG10 before LOG, SINH before SIN, SQRT before SQR, TANH before
// TAN). Angles are in radians.
const FunctionDef functions[] = {
    {"ABS", f_abs},     {"ACOS", f_acos}, {"ASIN", f_asin},   {"ATAN", f_atan}, {"COSH", f_cosh},
    {"COS", f_cos},     {"EXP", f_exp},   {"LOG10", f_log10}, {"LOG", f_log},   {"POW10", f_pow10},
    {"ROUND", f_round}, {"SINH", f_sinh}, {"SIN", f_sin},     {"SQRT", f_sqrt}, {"SQR", f_sqr},
    {"TANH", f_tanh},   {"TAN", f_tan},   {"TRUNC", f_trunc},
};

double apply_function(const char *funcname, double v)
{
    for (const FunctionDef &f : functions)
        if (!std::strcmp(funcname, f.name)) return f.apply(v);
    error = 1;  // a function entry always holds one of the names above
    return 0.0;
}

// ---- The scanner ------------------------------------------------------------------------

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Whether the text at `input` begins with `name`; if so the name is consumed.
int isfunc(const char *name)
{
    const size_t n = std::strlen(name);
    if (std::strncmp(input, name, n)) return 0;
    input += n;
    return 1;
}

// The literal's value, as the C library's atof would give it in the "C" locale (the program's
// locale may use a decimal comma). A literal is at most 183 characters long with an exponent
// of at most 3 digits, so a value out of range is an overflow unless the exponent is negative.
double literal_value(const char *text, size_t length)
{
    double value = 0.0;
    const std::from_chars_result r = std::from_chars(text, text + length, value);
    if (r.ec == std::errc::result_out_of_range) return std::strstr(text, "E-") ? 0.0 : HUGE_VAL;
    if (r.ec != std::errc()) return 0.0;
    return value;
}

// Digits with at most one point (a second point ends the literal), then optionally E, one
// sign and at most 3 digits: 2E gives 2, and 1E1234 is 1E123 followed by the number 4.
int scan_number()
{
    const char *start = input;
    bool seen_point = false;
    while (is_digit(*input) || (*input == '.' && !seen_point)) {
        if (*input == '.') seen_point = true;
        input++;
    }
    if (input - start == 1 && *start == '.') return TOK_BAD;
    if (*input == 'E') {
        input++;
        if (*input == '+' || *input == '-') input++;
        for (int k = 0; k < 3 && is_digit(*input); k++) input++;
    }
    const size_t length = static_cast<size_t>(input - start);
    if (length > static_cast<size_t>(PARSE_MAX_LITERAL)) return TOK_BAD;
    std::memcpy(literal, start, length);
    literal[length] = '\0';
    curtoken.value = literal_value(literal, length);
    return TOK_NUMBER;
}

int nexttoken()
{
    while (*input == ' ') input++;
    if (*input == '\0') return TOK_END;
    if (*input == 'X') {
        input++;
        curtoken.value = xvalue;
        return TOK_NUMBER;
    }
    if (*input == 'Y') {
        input++;
        curtoken.value = yvalue;
        return TOK_NUMBER;
    }
    if (is_digit(*input) || *input == '.') return scan_number();
    if (*input >= 'A' && *input <= 'Z') {
        for (const FunctionDef &f : functions) {
            if (isfunc(f.name)) {
                std::strcpy(curtoken.funcname, f.name);
                return TOK_FUNCTION;
            }
        }
        return TOK_BAD;
    }
    switch (*input++) {
    case '+': return TOK_PLUS;
    case '-': return TOK_MINUS;
    case '*': return TOK_TIMES;
    case '/': return TOK_DIVIDE;
    case '^': return TOK_POWER;
    case ':': return TOK_COLON;
    case '(': return TOK_LPAREN;
    case ')': return TOK_RPAREN;
    default: return TOK_BAD;
    }
}

// ---- The tables -------------------------------------------------------------------------

enum ActionKind : unsigned char { ACT_ERROR, ACT_SHIFT, ACT_REDUCE, ACT_ACCEPT };

struct Action {
    ActionKind kind;
    unsigned char arg;  // the state to shift to, or the production to reduce by
};

constexpr Action S(int state) { return {ACT_SHIFT, static_cast<unsigned char>(state)}; }
constexpr Action R(int production) { return {ACT_REDUCE, static_cast<unsigned char>(production)}; }
constexpr Action ACC{ACT_ACCEPT, 0};
constexpr Action ERR{ACT_ERROR, 0};

constexpr int NUM_STATES = 31;
constexpr int NUM_TOKENS = TOK_BAD + 1;
constexpr int ERROR_STATE = 30;

// The action for each state and lookahead. A state that reduces "otherwise" does so for every
// lookahead it does not shift, valid or not; an invalid one then fails in a later state.
// States 7, 18 and 26 are not used.
const Action action_table[NUM_STATES][NUM_TOKENS] = {
    //         +      -      *      /      ^      :      (      )      num    (9)    func   end bad
    /*  0 */ {ERR, S(5), ERR, ERR, ERR, ERR, S(9), ERR, S(10), ERR, S(11), ERR, ERR},
    /*  1 */ {S(12), S(13), ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ACC, ERR},
    /*  2 */ {R(3), R(3), S(14), S(15), R(3), R(3), R(3), R(3), R(3), R(3), R(3), R(3), R(3)},
    /*  3 */ {R(6), R(6), R(6), R(6), R(6), R(6), R(6), R(6), R(6), R(6), R(6), R(6), R(6)},
    /*  4 */ {R(8), R(8), R(8), R(8), S(16), R(8), R(8), R(8), R(8), R(8), R(8), R(8), R(8)},
    /*  5 */ {ERR, ERR, ERR, ERR, ERR, ERR, S(9), ERR, S(10), ERR, S(11), ERR, ERR},
    /*  6 */
    {R(10), R(10), R(10), R(10), R(10), R(10), R(10), R(10), R(10), R(10), R(10), R(10), R(10)},
    /*  7 */ {ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR},
    /*  8 */
    {R(12), R(12), R(12), R(12), R(12), R(12), R(12), R(12), R(12), R(12), R(12), R(12), R(12)},
    /*  9 */ {ERR, S(5), ERR, ERR, ERR, ERR, S(9), ERR, S(10), ERR, S(11), ERR, ERR},
    /* 10 */
    {R(15), R(15), R(15), R(15), R(15), R(15), R(15), R(15), R(15), R(15), R(15), R(15), R(15)},
    /* 11 */ {ERR, ERR, ERR, ERR, ERR, ERR, S(20), ERR, ERR, ERR, ERR, ERR, ERR},
    /* 12 */ {ERR, S(5), ERR, ERR, ERR, ERR, S(9), ERR, S(10), ERR, S(11), ERR, ERR},
    /* 13 */ {ERR, S(5), ERR, ERR, ERR, ERR, S(9), ERR, S(10), ERR, S(11), ERR, ERR},
    /* 14 */ {ERR, S(5), ERR, ERR, ERR, ERR, S(9), ERR, S(10), ERR, S(11), ERR, ERR},
    /* 15 */ {ERR, S(5), ERR, ERR, ERR, ERR, S(9), ERR, S(10), ERR, S(11), ERR, ERR},
    /* 16 */ {ERR, S(5), ERR, ERR, ERR, ERR, S(9), ERR, S(10), ERR, S(11), ERR, ERR},
    /* 17 */ {R(9), R(9), R(9), R(9), R(9), R(9), R(9), R(9), R(9), R(9), R(9), R(9), R(9)},
    /* 18 */ {ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR},
    /* 19 */ {S(12), S(13), ERR, ERR, ERR, ERR, ERR, S(27), ERR, ERR, ERR, ERR, ERR},
    /* 20 */ {ERR, S(5), ERR, ERR, ERR, ERR, S(9), ERR, S(10), ERR, S(11), ERR, ERR},
    /* 21 */ {R(1), R(1), S(14), S(15), R(1), R(1), R(1), R(1), R(1), R(1), R(1), R(1), R(1)},
    /* 22 */ {R(2), R(2), S(14), S(15), R(2), R(2), R(2), R(2), R(2), R(2), R(2), R(2), R(2)},
    /* 23 */ {R(4), R(4), R(4), R(4), R(4), R(4), R(4), R(4), R(4), R(4), R(4), R(4), R(4)},
    /* 24 */ {R(5), R(5), R(5), R(5), R(5), R(5), R(5), R(5), R(5), R(5), R(5), R(5), R(5)},
    /* 25 */ {R(7), R(7), R(7), R(7), R(7), R(7), R(7), R(7), R(7), R(7), R(7), R(7), R(7)},
    /* 26 */ {ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR},
    /* 27 */
    {R(14), R(14), R(14), R(14), R(14), R(14), R(14), R(14), R(14), R(14), R(14), R(14), R(14)},
    /* 28 */ {S(12), S(13), ERR, ERR, ERR, ERR, ERR, S(29), ERR, ERR, ERR, ERR, ERR},
    /* 29 */
    {R(16), R(16), R(16), R(16), R(16), R(16), R(16), R(16), R(16), R(16), R(16), R(16), R(16)},
    /* 30 */ {ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR, ERR},
};

enum Nonterminal { EXPR, TERM, POWER, SIGNED, OPERAND, PRIMARY };

struct Production {
    Nonterminal left;
    int length;  // symbols on the right side; 0 marks an unused number
};

const Production productions[17] = {
    /*  0 */ {EXPR, 0},
    /*  1 */ {EXPR, 3},    /*  2 */ {EXPR, 3},    /*  3 */ {EXPR, 1},
    /*  4 */ {TERM, 3},    /*  5 */ {TERM, 3},    /*  6 */ {TERM, 1},
    /*  7 */ {POWER, 3},   /*  8 */ {POWER, 1},
    /*  9 */ {SIGNED, 2},  /* 10 */ {SIGNED, 1},
    /* 11 */ {OPERAND, 0}, /* 12 */ {OPERAND, 1},
    /* 13 */ {PRIMARY, 0}, /* 14 */ {PRIMARY, 3}, /* 15 */ {PRIMARY, 1},
    /* 16 */ {PRIMARY, 4},
};

struct GotoEntry {
    int below;  // state on top once the right side has been popped
    int next;   // state of the new entry
};

struct GotoRow {
    Nonterminal left;
    GotoEntry entries[10];  // ends at the first entry with next == 0
};

// The state of the entry a reduction pushes; any pair not listed leads to the error state 30.
const GotoRow goto_table[] = {
    {EXPR, {{0, 1}, {9, 19}, {20, 28}}},
    {TERM, {{0, 2}, {9, 2}, {20, 2}, {12, 21}, {13, 22}}},
    {POWER, {{0, 3}, {9, 3}, {12, 3}, {13, 3}, {20, 3}, {14, 23}, {15, 24}, {16, 25}}},
    {SIGNED, {{0, 4}, {9, 4}, {12, 4}, {13, 4}, {14, 4}, {15, 4}, {16, 4}, {20, 4}}},
    {OPERAND, {{0, 6}, {9, 6}, {12, 6}, {13, 6}, {14, 6}, {15, 6}, {16, 6}, {20, 6}, {5, 17}}},
    {PRIMARY, {{0, 8}, {5, 8}, {9, 8}, {12, 8}, {13, 8}, {14, 8}, {15, 8}, {16, 8}, {20, 8}}},
};

// ---- The parser -------------------------------------------------------------------------

void push(const TOKENREC *entry)
{
    if (stacktop >= PARSE_STACK_SIZE - 1) {
        error = 1;
        return;
    }
    stack[++stacktop] = *entry;
}

void pop(TOKENREC *entry)
{
    if (stacktop < 0) {  // the tables never get here; refuse rather than read before the stack
        error = 1;
        *entry = TOKENREC{};
        return;
    }
    *entry = stack[stacktop--];
}

int gotostate(int production)
{
    if (stacktop < 0) return ERROR_STATE;
    const int below = stack[stacktop].state;
    for (const GotoRow &row : goto_table) {
        if (row.left != productions[production].left) continue;
        for (const GotoEntry &e : row.entries) {
            if (e.next == 0) break;
            if (e.below == below) return e.next;
        }
    }
    return ERROR_STATE;
}

void shift(int state)
{
    curtoken.state = static_cast<signed char>(state);
    push(&curtoken);
    tokentype = nexttoken();
}

double binary_value(int production, double left, double right)
{
    switch (production) {
    case 1: return left + right;
    case 2: return left - right;
    case 4: return left * right;
    case 5: return right == 0.0 ? HUGE_VAL : left / right;  // positive, whatever the sign of left
    default: return std::pow(left, right);                  // 7
    }
}

void reduce(int production)
{
    if (production < 1 || production > 16 || productions[production].length == 0) {
        error = 1;
        return;
    }
    // The right side must lie above the start entry, so that the goto has a state to read.
    if (stacktop - productions[production].length < 0) {
        error = 1;
        return;
    }
    TOKENREC left, op, right, paren, func;
    switch (production) {
    case 1:
    case 2:
    case 4:
    case 5:
    case 7:
        pop(&right);
        pop(&op);
        pop(&left);
        curtoken.value = binary_value(production, left.value, right.value);
        break;
    case 9:
        pop(&right);
        pop(&op);
        curtoken.value = -right.value;
        break;
    case 14:
        pop(&paren);
        pop(&curtoken);
        pop(&paren);
        break;
    case 16:
        pop(&paren);
        pop(&curtoken);
        pop(&paren);
        pop(&func);
        func.funcname[sizeof func.funcname - 1] = '\0';
        curtoken.value = apply_function(func.funcname, curtoken.value);
        break;
    default:  // 3, 6, 8, 10, 12, 15: the value passes through
        pop(&curtoken);
        break;
    }
    curtoken.state = static_cast<signed char>(gotostate(production));
    push(&curtoken);
}

// One step of the parser; returns true once the text is accepted.
bool step()
{
    if (stacktop < 0) {
        error = 1;
        return false;
    }
    const int state = stack[stacktop].state;
    if (state < 0 || state >= NUM_STATES || tokentype < 0 || tokentype >= NUM_TOKENS) {
        error = 1;
        return false;
    }
    const Action action = action_table[state][tokentype];
    switch (action.kind) {
    case ACT_SHIFT: shift(action.arg); return false;
    case ACT_REDUCE: reduce(action.arg); return false;
    case ACT_ACCEPT: return true;
    default: error = 1; return false;
    }
}

}  // namespace

double parse(char *text, int *ok, double x, double y)
{
    int ignored;
    if (!ok) ok = &ignored;
    *ok = 0;
    xvalue = x;
    yvalue = y;
    error = 0;

    // A text too long for the working copy is refused, not cut.
    if (!text) return 0.0;
    size_t length = 0;
    while (length <= static_cast<size_t>(PARSE_MAX_TEXT) && text[length]) length++;
    if (length > static_cast<size_t>(PARSE_MAX_TEXT)) return 0.0;
    for (size_t k = 0; k <= length; k++) {
        const char c = text[k];
        formula[k] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    input = formula;

    stacktop = -1;
    TOKENREC start{};
    start.state = 0;
    start.value = 0.0;
    push(&start);
    tokentype = nexttoken();

    bool accepted = false;
    while (!accepted && !error) accepted = step();
    if (!accepted) return 0.0;

    *ok = 1;
    std::memcpy(text, formula, length + 1);
    return stack[stacktop].value;
}
