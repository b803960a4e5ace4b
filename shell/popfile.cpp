// The data file commands: the open and save dialogs, the writer and the reader.
#include "shell/popfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "optics/datafile.h"
#include "optics/output_file.h"
#include "optics/settings.h"
#include "platform/filedlg.h"
#include "shell/globals.h"

namespace {

// Both dialogs share one description; each call supplies the buffers and its own option.
OPENFILENAMEA ofn;

const char szFilter[] = "Text Files (*.TXT)\0*.txt\0"
                        "ASCII Files (*.ASC)\0*.asc\0"
                        "All Files (*.*)\0*.*\0"
                        "FFT Files (*.FFT)\0*.FFT\0";  // the literal's own NUL ends the list

// Where the dialogs start after a save failed: the folder of the last file read or written
// well ("" for the current folder). The failed folder may be one the dialog must not list
// (a pseudo file system), and it is no place to offer the next save.
bool lastSaveFailed = false;
std::string lastGoodFolder;

std::string FolderOf(const char *path)
{
    const char *slash = std::strrchr(path, '/');
    if (!slash) return "";
    return slash == path ? "/" : std::string(path, slash);
}

BOOL RunDialog(HWND window, char *pstrFileName, char *pstrTitleName, DWORD flags, bool save)
{
    ofn.hwndOwner = window;
    ofn.lpstrFile = pstrFileName;
    ofn.lpstrFileTitle = pstrTitleName;
    ofn.Flags = flags;
    ofn.lpstrInitialDir = nullptr;
    const std::string kept = pstrFileName;
    if (lastSaveFailed) {
        // The name alone, in the last good folder.
        const char *slash = std::strrchr(pstrFileName, '/');
        if (slash) std::memmove(pstrFileName, slash + 1, std::strlen(slash + 1) + 1);
        ofn.lpstrInitialDir = lastGoodFolder.empty() ? nullptr : lastGoodFolder.c_str();
    }
    const BOOL chosen = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!chosen) std::memcpy(pstrFileName, kept.c_str(), kept.size() + 1);
    ofn.lpstrInitialDir = nullptr;
    return chosen;
}

// Whether the file can be opened for writing, as it would be to replace its contents; a file
// that did not exist is created (empty) on the way, and created says so.
bool CanOpenForWriting(const char *path, bool &created)
{
    created = false;
    // A FIFO is not opened to try it: a reader would take that open and close for the end of
    // its data. The writer opens it once, without waiting for a reader.
    struct stat st;
    if (::stat(path, &st) == 0 && S_ISFIFO(st.st_mode)) return true;
    // Non-blocking, so that a device that waits refuses at once instead of hanging the window.
    int fd = ::open(path, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        // Not there, or a link to a file not there yet: the link's target is created.
        fd = ::open(path, O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
        created = fd >= 0;
    }
    if (fd < 0) return false;
    // A folder or a socket cannot take a data file; a device is written directly.
    const bool writable = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode) && !S_ISSOCK(st.st_mode);
    ::close(fd);
    return writable;
}

}  // namespace

void PopFileInitialize(HWND window)
{
    ofn = OPENFILENAMEA{};
    lastSaveFailed = false;
    lastGoodFolder.clear();
    ofn.lStructSize = sizeof(OPENFILENAMEA);
    ofn.hwndOwner = window;
    ofn.lpstrFilter = szFilter;
    ofn.nFilterIndex = 1;
    ofn.nMaxFile = FILE_NAME_SIZE;
    ofn.nMaxFileTitle = FILE_TITLE_SIZE;
    ofn.lpstrDefExt = "txt";
}

BOOL PopFileOpenDlg(HWND window, char *pstrFileName, char *pstrTitleName)
{
    return RunDialog(window, pstrFileName, pstrTitleName, OFN_CREATEPROMPT, false);
}

BOOL PopFileSaveDlg(HWND window, char *pstrFileName, char *pstrTitleName)
{
    return RunDialog(window, pstrFileName, pstrTitleName, OFN_OVERWRITEPROMPT, true);
}

BOOL PopFileWrite(HWND window, const char *pstrFileName)
{
    SetCursor(hDataSaveCursor);
    ShowCursor(TRUE);

    bool created = false;
    lastSaveFailed = true;
    if (!CanOpenForWriting(pstrFileName, created)) {
        MessageBoxA(window, "File Open failed", "File Open failed", MB_OK);
    } else {
        // The new text goes to a fresh file that replaces the old one only once it is whole,
        // so a full disk or an I/O error leaves the previous data in place.
        std::string error;
        if (!write_output_file(pstrFileName, format_data_file(data_save_array()), error,
                               FifoWait::Never)) {
            if (created) ::unlink(pstrFileName);
            const std::string text = "The data file could not be written:\n" + error +
                                     (created ? "" : "\nThe file keeps its previous contents.");
            MessageBoxA(window, text.c_str(), "File Write failed", MB_OK | MB_ICONEXCLAMATION);
        } else {
            lastSaveFailed = false;
            lastGoodFolder = FolderOf(pstrFileName);
        }
    }

    ShowCursor(FALSE);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
}

BOOL PopFileRead(HWND, const char *pstrFileName)
{
    // Only a whole file of the reader's layout reaches r_output; anything else leaves it as
    // it was.
    std::string why;
    if (!read_data_file(pstrFileName ? pstrFileName : "", r_output, why)) return 0;
    lastGoodFolder = FolderOf(pstrFileName);
    lastSaveFailed = false;
    return 1;
}
