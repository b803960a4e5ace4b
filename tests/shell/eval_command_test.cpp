#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/entry.h"

namespace {

TEST(EvalCommand, PrintsTheValueOrASyntaxErrorOrAUsageError)
{
    struct Row {
        std::vector<std::string> args;  // what follows --eval
        int status;
        const char *out;
        const char *err_start;
    };
    const Row rows[] = {
        {{"x*y", "2", "3"}, 0, "6\n", ""},
        {{"x/y", "1", "4"}, 0, "0.25\n", ""},
        {{"0.1", "0", "0"}, 0, "0.10000000000000001\n", ""},  // 17 digits of the double nearest 0.1
        {{"-x", "-1.5e2", "0"}, 0, "150\n", ""},
        {{"1/0", "0", "0"}, 0, "inf\n", ""},
        {{"sqrt(-1)", "0", "0"}, 0, "nan\n", ""},
        {{"SIN X", "1", "1"}, 1, "", "Syntax Error in F(X,Y)...\n"},
        {{"", "1", "1"}, 1, "", "Syntax Error in F(X,Y)...\n"},
        {{"1"}, 2, "", "orvinta: --eval takes 3 arguments"},
        {{}, 2, "", "orvinta: --eval takes 3 arguments"},
        {{"1", "2", "3", "4"}, 2, "", "orvinta: --eval takes 3 arguments"},
        {{"1", "a", "2"}, 2, "", "orvinta: --eval: X and Y must be numbers"},
        {{"1", "2", "3x"}, 2, "", "orvinta: --eval: X and Y must be numbers"},
        {{"1", "", "2"}, 2, "", "orvinta: --eval: X and Y must be numbers"},
    };
    for (const Row &row : rows) {
        std::vector<std::string> storage = row.args;
        std::vector<char *> argv;
        for (std::string &a : storage) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::string name;
        for (const std::string &a : row.args) name += " [" + a + "]";
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int status = eval_main(static_cast<int>(row.args.size()), argv.data());
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, row.status) << "args=" << name;
        EXPECT_EQ(out, row.out) << "args=" << name;
        EXPECT_EQ(err.rfind(row.err_start, 0), 0u) << "args=" << name << " stderr=" << err;
        if (row.status == 2) {
            EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line; args=" << name;
        }
        // The argument itself is left as given.
        EXPECT_EQ(storage, row.args) << "args=" << name;
    }
}

}  // namespace
