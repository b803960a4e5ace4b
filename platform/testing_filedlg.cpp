#include "platform/testing_filedlg.h"

#include <deque>

namespace {

struct Script {
    std::deque<TestFileDialogAnswer> answers;
    std::vector<TestFileDialogRequest> requests;
};
Script script;

}  // namespace

TestFileDialogAnswer testing_file_choice(const std::string &path, int filter)
{
    TestFileDialogAnswer a;
    a.cancel = false;
    a.path = path;
    a.filter = filter;
    return a;
}

TestFileDialogAnswer testing_file_cancel() { return TestFileDialogAnswer{}; }

void testing_filedlg_begin(std::vector<TestFileDialogAnswer> answers)
{
    script = Script{};
    script.answers.assign(answers.begin(), answers.end());
    filedlg_set_script([](const FileDialogRequest &r) { script.requests.push_back(r); },
                       [] {
                           if (script.answers.empty()) return testing_file_cancel();
                           const TestFileDialogAnswer a = script.answers.front();
                           script.answers.pop_front();
                           return a;
                       });
}

void testing_filedlg_end()
{
    filedlg_set_script(nullptr, nullptr);
    script = Script{};
}

const std::vector<TestFileDialogRequest> &testing_filedlg_requests() { return script.requests; }

std::size_t testing_filedlg_answers_left() { return script.answers.size(); }
