// The data file commands: the open and save dialogs, the writer and the reader.
#include "shell/popfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "optics/datafile.h"
#include "optics/settings.h"
#include "platform/filedlg.h"
#include "shell/globals.h"

namespace {

// Both dialogs share one description; each call supplies the buffers and its own option.
OPENFILENAMEA ofn;

const char szFilter[] =
    "Text Files (*.TXT)\0*.txt\0"
    "ASCII Files (*.ASC)\0*.asc\0"
    "All Files (*.*)\0*.*\0"
    "FFT Files (*.FFT)\0*.FFT\0";  // the literal's own NUL ends the list

void PrepareDialog(HWND window, char *pstrFileName, char *pstrTitleName, DWORD flags)
{
    ofn.hwndOwner = window;
    ofn.lpstrFile = pstrFileName;
    ofn.lpstrFileTitle = pstrTitleName;
    ofn.Flags = flags;
}

// Whether the file can be opened for writing, as it would be to replace its contents; a file
// that did not exist is created (empty) on the way, and created says so.
bool CanOpenForWriting(const char *path, bool &created)
{
    created = false;
    // Non-blocking, so that a pipe nobody reads refuses at once instead of hanging the window.
    int fd = ::open(path, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_NONBLOCK | O_CLOEXEC, 0666);
        created = fd >= 0;
    }
    if (fd < 0) return false;
    // Only an ordinary file is replaced; a device or a pipe is not a data file.
    struct stat st;
    const bool ordinary = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return ordinary;
}

}  // namespace

void PopFileInitialize(HWND window)
{
    ofn = OPENFILENAMEA{};
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
    PrepareDialog(window, pstrFileName, pstrTitleName, OFN_CREATEPROMPT);
    return GetOpenFileNameA(&ofn);
}

BOOL PopFileSaveDlg(HWND window, char *pstrFileName, char *pstrTitleName)
{
    PrepareDialog(window, pstrFileName, pstrTitleName, OFN_OVERWRITEPROMPT);
    return GetSaveFileNameA(&ofn);
}

BOOL PopFileWrite(HWND window, const char *pstrFileName)
{
    SetCursor(hDataSaveCursor);
    ShowCursor(TRUE);

    bool created = false;
    if (!CanOpenForWriting(pstrFileName, created)) {
        MessageBoxA(window, "File Open failed", "File Open failed", MB_OK);
    } else {
        // The new text goes to a fresh file that replaces the old one only once it is whole,
        // so a full disk or an I/O error leaves the previous data in place.
        std::string error;
        if (!write_file_atomically(pstrFileName, format_data_file(data_save_array()), error)) {
            if (created) ::unlink(pstrFileName);
            const std::string text = "The data file could not be written:\n" + error +
                                     (created ? "" : "\nThe file keeps its previous contents.");
            MessageBoxA(window, text.c_str(), "File Write failed", MB_OK | MB_ICONEXCLAMATION);
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
    return read_data_file(pstrFileName ? pstrFileName : "", r_output, why) ? 1 : 0;
}
