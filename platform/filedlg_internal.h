// What a file dialog was asked to show, and the hook through which the test support answers
// file dialogs in place of the user. Qt-free.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/filedlg.h"

struct FileDialogFilter {
    std::string description;  // what the list shows
    std::string patterns;     // as given: "*.txt", "*.txt;*.asc"
};

struct FileDialogRequest {
    bool save = false;  // GetSaveFileNameA (else GetOpenFileNameA)
    HWND owner = nullptr;
    std::string title;                      // the dialog's caption
    std::vector<FileDialogFilter> filters;  // in their order
    int filterShown = 0;        // 1-based position of the filter shown first, 0 when there are none
    std::string initialName;    // the text offered in the name field
    std::string initialFolder;  // where the dialog starts ("" for the current folder)
    std::string defaultExtension;
    DWORD flags = 0;
};

// One moment at which the user acts in an open dialog: types or picks a name and confirms it,
// or cancels. A name of a folder opens that folder and the dialog waits again.
struct FileDialogAnswer {
    bool cancel = true;
    std::string path;
    int filter = 0;  // 1-based filter chosen at the same time; 0 keeps the one shown
};

// The icons and type names of the dialogs' file lists, from the names alone: listing a folder
// never opens a file (a pseudo file or a FIFO can block whoever reads it).
class QAbstractFileIconProvider;
QAbstractFileIconProvider *filedlg_icon_provider();

// The filters of a Win32 filter list (pairs of NUL-ended texts ended by an empty text).
std::vector<FileDialogFilter> filedlg_parse_filters(LPCSTR list);
// The ending a name typed without one receives when type number `filter` (1-based) is chosen:
// the type's own when its first pattern names one ("*.svg" gives "svg"), else the default
// extension; nothing when the request has no default extension.
std::string filedlg_type_ending(const FileDialogRequest &request, int filter);
// The name with ".ext" added when its last part (after the last '/') has no dot.
std::string filedlg_with_default_extension(const std::string &path, const char *extension);

// Every request goes to onRequest while it is set. While next is set, no dialog is shown: each
// time the dialog waits for the user, next() answers for them. The prompts (replace, create,
// errors) are ordinary message boxes.
void filedlg_set_script(std::function<void(const FileDialogRequest &)> onRequest,
                        std::function<FileDialogAnswer()> next);
// While set (and next is not), the toolkit's dialog is shown and, once it waits for its user,
// user(dialog) works it as a person would; a dialog still open afterwards is cancelled.
class QFileDialog;
void filedlg_set_toolkit_user(std::function<void(QFileDialog &)> user);
