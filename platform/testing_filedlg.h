// Headless test support for the file dialogs: they are answered from a script instead of by
// a user, and every request is recorded. Qt-free.
#pragma once

#include <string>
#include <vector>

#include "platform/filedlg_internal.h"

using TestFileDialogRequest = FileDialogRequest;
using TestFileDialogAnswer = FileDialogAnswer;

// The user confirms this name (typed or picked; a relative name is taken in the dialog's
// folder), optionally choosing filter number `filter` (1-based) at the same time.
TestFileDialogAnswer testing_file_choice(const std::string &path, int filter = 0);
// The user presses Cancel.
TestFileDialogAnswer testing_file_cancel();

// From now on file dialogs are not shown: each waits for the next answer of the script (Cancel
// once the script is used up). A name still gets the default extension and goes through the
// dialog's questions, which are message boxes (see testing_begin); when one of them keeps the
// dialog open, the next answer of the script is used.
void testing_filedlg_begin(std::vector<TestFileDialogAnswer> answers);
// From now on the toolkit's own dialogs are shown and worked from the keyboard, one answer each
// time a dialog waits: the user picks the answer's type in the list with the arrow keys (when
// it names one), types its name into the name field and presses Enter, or presses Escape for a
// cancel answer (and once the script is used up). The dialog itself adds the ending and asks
// its questions; when one keeps it open, the next answer is used.
void testing_filedlg_keyboard(std::vector<TestFileDialogAnswer> answers);
// Shows dialogs again and forgets the script and the records.
void testing_filedlg_end();
// Every dialog opened since testing_filedlg_begin, in order.
const std::vector<TestFileDialogRequest> &testing_filedlg_requests();
// Answers of the script not used yet.
std::size_t testing_filedlg_answers_left();
