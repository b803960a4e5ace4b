#include "platform/testing_filedlg.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <deque>

namespace {

struct Script {
    std::deque<TestFileDialogAnswer> answers;
    std::vector<TestFileDialogRequest> requests;
};
Script script;

void record_request(const FileDialogRequest &r) { script.requests.push_back(r); }

TestFileDialogAnswer next_answer()
{
    if (script.answers.empty()) return testing_file_cancel();
    const TestFileDialogAnswer a = script.answers.front();
    script.answers.pop_front();
    return a;
}

void press(QWidget *target, int key)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
}

// One person at the toolkit's dialog, answer after answer while it stays open.
void work_dialog(QFileDialog &dialog)
{
    auto *types = dialog.findChild<QComboBox *>("fileTypeCombo");
    auto *name = dialog.findChild<QLineEdit *>("fileNameEdit");
    while (dialog.isVisible() && name) {
        const TestFileDialogAnswer a = next_answer();
        if (a.cancel) return press(&dialog, Qt::Key_Escape);
        if (types && a.filter > 0) {
            types->setFocus(Qt::TabFocusReason);
            const int wanted = a.filter - 1;
            for (int k = 0; types->currentIndex() != wanted && k < types->count(); ++k)
                press(types, types->currentIndex() < wanted ? Qt::Key_Down : Qt::Key_Up);
        }
        name->setFocus(Qt::TabFocusReason);
        name->setText(QFile::decodeName(QByteArray::fromStdString(a.path)));
        press(name, Qt::Key_Return);
    }
}

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
    filedlg_set_toolkit_user(nullptr);
    filedlg_set_script(record_request, next_answer);
}

void testing_filedlg_keyboard(std::vector<TestFileDialogAnswer> answers)
{
    script = Script{};
    script.answers.assign(answers.begin(), answers.end());
    filedlg_set_script(record_request, nullptr);
    filedlg_set_toolkit_user(work_dialog);
}

void testing_filedlg_end()
{
    filedlg_set_script(nullptr, nullptr);
    filedlg_set_toolkit_user(nullptr);
    script = Script{};
}

const std::vector<TestFileDialogRequest> &testing_filedlg_requests() { return script.requests; }

std::size_t testing_filedlg_answers_left() { return script.answers.size(); }
