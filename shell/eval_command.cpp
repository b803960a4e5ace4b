// orvinta --eval "EXPR" X Y: evaluates F(X,Y) once, as a 3-D surface would at one grid point,
// and prints the value with 17 significant digits.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "charts/parse.h"
#include "shell/entry.h"

namespace {

const char usage[] = "usage: orvinta --eval \"EXPR\" X Y (X and Y are numbers)";

// A whole argument that reads as a number; leading blanks and trailing text are refused.
bool read_number(const char *text, double *value)
{
    if (!text[0] || text[0] == ' ' || text[0] == '\t') return false;
    char *end = nullptr;
    *value = std::strtod(text, &end);
    return end != text && *end == '\0';
}

}  // namespace

int eval_main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "orvinta: --eval takes 3 arguments, not %d; %s\n", argc, usage);
        return 2;
    }
    double x = 0.0, y = 0.0;
    if (!read_number(argv[1], &x) || !read_number(argv[2], &y)) {
        std::fprintf(stderr, "orvinta: --eval: X and Y must be numbers; %s\n", usage);
        return 2;
    }

    // parse() upper-cases the text it is given: work on a copy of the argument.
    std::vector<char> text(argv[0], argv[0] + std::strlen(argv[0]) + 1);
    int ok = 0;
    const double value = parse(text.data(), &ok, x, y);
    if (!ok) {
        std::fprintf(stderr, "Syntax Error in F(X,Y)...\n");
        return 1;
    }
    // The sign of a NaN is an artefact of how it arose (x86 makes negative ones): print "nan".
    std::printf("%.17g\n", std::isnan(value) ? std::fabs(value) : value);
    return 0;
}
