// The open and save file dialogs. Qt-free.
#pragma once

#include "platform/win32types.h"

// Dialog options (Flags).
enum : DWORD {
    OFN_READONLY = 0x00000001,
    OFN_OVERWRITEPROMPT = 0x00000002,  // save: ask before replacing a file that exists
    OFN_HIDEREADONLY = 0x00000004,
    OFN_NOCHANGEDIR = 0x00000008,
    OFN_PATHMUSTEXIST = 0x00000800,  // the folder of the chosen name must exist
    OFN_FILEMUSTEXIST = 0x00001000,  // open: only files that exist can be chosen
    OFN_CREATEPROMPT = 0x00002000,   // open: offer to create a file that does not exist
};

// Why the last dialog returned 0 (CommDlgExtendedError); 0 when the user cancelled.
enum : DWORD {
    CDERR_STRUCTSIZE = 0x0001,
    CDERR_INITIALIZATION = 0x0002,
    FNERR_BUFFERTOOSMALL = 0x3003,
};

struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    // Pairs of texts, each ended by a NUL: what the list shows, then its patterns ("*.txt",
    // several separated by ';'); an empty text ends the list.
    LPCSTR lpstrFilter;
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    // 1-based position of the filter shown first (0: the first); on return the one chosen.
    DWORD nFilterIndex;
    // In: the name offered first (may be empty). Out: the full path chosen.
    LPSTR lpstrFile;
    DWORD nMaxFile;
    // Out: the chosen name without its folder (may be null).
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;  // null: "Open" or "Save As"
    DWORD Flags;
    WORD nFileOffset;     // out: where the name starts in lpstrFile
    WORD nFileExtension;  // out: where its extension starts (after the dot)
    // Added, after a dot, to a name typed without an extension (null: nothing is added).
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    void *lpfnHook;
    LPCSTR lpTemplateName;
};

// Runs the dialog modally over its owner. Nonzero when the user chose a file: lpstrFile,
// lpstrFileTitle, nFilterIndex, nFileOffset and nFileExtension then describe it. Zero when
// the user cancelled or the choice does not fit lpstrFile; both buffers are then untouched.
BOOL GetOpenFileNameA(OPENFILENAMEA *lpofn);
BOOL GetSaveFileNameA(OPENFILENAMEA *lpofn);
DWORD CommDlgExtendedError();
