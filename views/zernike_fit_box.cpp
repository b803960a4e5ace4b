#include "views/zernike_fit_box.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "optics/zernike.h"
#include "platform/clipboard.h"
#include "views/command_ids.h"
#include "views/registry.h"

namespace {

const char kCaption[] = "Zernike Fit";

// The table's columns: index in the ordering, radial and azimuthal order, coefficient.
constexpr char kRowFormat[] = "%5d%5d%5d%16.6f";
constexpr char kHeaderFormat[] = "%5s%5s%5s%16s";

// The fit the table shows, for Copy.
ZernikeFit shownFit;

ZernikeOrdering ChosenOrdering(HWND hDlg)
{
    if (IsDlgButtonChecked(hDlg, FIT_NOLL) == BST_CHECKED) return ZernikeOrdering::Noll;
    if (IsDlgButtonChecked(hDlg, FIT_ANSI) == BST_CHECKED) return ZernikeOrdering::Ansi;
    return ZernikeOrdering::Fringe;
}

ZernikeNormalisation ChosenNormalisation(HWND hDlg)
{
    return IsDlgButtonChecked(hDlg, FIT_RMS) == BST_CHECKED ? ZernikeNormalisation::Rms
                                                            : ZernikeNormalisation::Peak;
}

// The number of terms from its field, worded as the settings' refusals: "" and count, or why
// not. The Fringe ordering holds 37 terms, the others 231.
std::string ReadTermCount(HWND hDlg, ZernikeOrdering ordering, int &count)
{
    char text[20];
    GetDlgItemTextA(hDlg, FIT_TERMS, text, sizeof text);
    BOOL whole = FALSE;
    count = static_cast<int>(GetDlgItemInt(hDlg, FIT_TERMS, &whole, TRUE));
    const int most = ordering == ZernikeOrdering::Fringe ? 37 : 231;
    if (!whole)
        return text[0] ? std::string("Terms must be a whole number, not ") + text + "."
                       : "Terms must be a number.";
    if (count < 1) return "Terms must be at least 1, not " + std::to_string(count) + ".";
    if (count > most)
        return "Terms must be at most " + std::to_string(most) + ", not " + std::to_string(count) +
               ".";
    return "";
}

// An empty table, no residuals, nothing to copy.
void ClearFit(HWND hDlg)
{
    shownFit = ZernikeFit{};
    SendDlgItemMessageA(hDlg, FIT_TABLE, LB_RESETCONTENT, 0, 0);
    SetDlgItemTextA(hDlg, FIT_RESIDUAL_RMS, "RMS:");
    SetDlgItemTextA(hDlg, FIT_RESIDUAL_PV, "P-V:");
    EnableWindow(GetDlgItem(hDlg, FIT_COPY), FALSE);
}

void ShowFit(HWND hDlg, const ZernikeFit &fit)
{
    shownFit = fit;
    char row[80];
    for (const auto &[index, value] : fit.set.terms) {
        const ZernikeMode mode = zernike_mode(fit.set.ordering, index).value_or(ZernikeMode{0, 0});
        // A coefficient that rounds to zero shows without a sign.
        const double shown = std::fabs(value) < 5e-7 ? 0.0 : value;
        std::snprintf(row, sizeof row, kRowFormat, index, mode.n, mode.m, shown);
        SendDlgItemMessageA(hDlg, FIT_TABLE, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    }
    std::snprintf(row, sizeof row, "RMS: %.6f waves", fit.residual_rms);
    SetDlgItemTextA(hDlg, FIT_RESIDUAL_RMS, row);
    std::snprintf(row, sizeof row, "P-V: %.6f waves", fit.residual_pv);
    SetDlgItemTextA(hDlg, FIT_RESIDUAL_PV, row);
    EnableWindow(GetDlgItem(hDlg, FIT_COPY), TRUE);
}

void OnFit(HWND hDlg)
{
    ClearFit(hDlg);
    const ZernikeOrdering ordering = ChosenOrdering(hDlg);
    int count = 0;
    std::string problem = ReadTermCount(hDlg, ordering, count);
    if (!problem.empty()) {
        MessageBoxA(hDlg, problem.c_str(), kCaption, MB_ICONEXCLAMATION | MB_OK);
        SetFocus(GetDlgItem(hDlg, FIT_TERMS));
        return;
    }
    const ZernikeFit fit = fit_zernikes(ordering, ChosenNormalisation(hDlg), count, problem);
    if (!problem.empty()) {
        MessageBoxA(hDlg, problem.c_str(), kCaption, MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    ShowFit(hDlg, fit);
}

// The fit as the text of a coefficient file, which the Zernike file loaders read back.
void OnCopy(HWND hDlg)
{
    const std::string text = format_zernike_file(shownFit.set);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (char *bytes = static_cast<char *>(GlobalLock(block))) {
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(block);
    }
    if (!OpenClipboard(hDlg)) {
        GlobalFree(block);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
    CloseClipboard();
}

void OnInitFitBox(HWND hDlg)
{
    CheckRadioButton(hDlg, FIT_FRINGE, FIT_ANSI, FIT_FRINGE);
    CheckRadioButton(hDlg, FIT_PEAK, FIT_RMS, FIT_PEAK);
    // Fixed-pitch characters keep the table's columns under their headings.
    const auto fixed = reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT));
    SendDlgItemMessageA(hDlg, FIT_HEADER, WM_SETFONT, fixed, FALSE);
    SendDlgItemMessageA(hDlg, FIT_TABLE, WM_SETFONT, fixed, FALSE);
    char header[80];
    std::snprintf(header, sizeof header, kHeaderFormat, "Index", "n", "m", "Value (waves)");
    SetDlgItemTextA(hDlg, FIT_HEADER, header);
    ClearFit(hDlg);
    // The box opens on the fit of its first choices; a pupil that cannot be fitted leaves the
    // table empty until Fit says why.
    std::string problem;
    const ZernikeFit fit =
        fit_zernikes(ZernikeOrdering::Fringe, ZernikeNormalisation::Peak, 37, problem);
    if (problem.empty()) ShowFit(hDlg, fit);
}

INT_PTR CALLBACK ZernikeFitDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: OnInitFitBox(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: OnFit(hDlg); return TRUE;
        case FIT_COPY: OnCopy(hDlg); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

bool ShowsZernikeFit(int kind)
{
    const ViewEntry *view = ViewForKind(kind);
    return view && (view->commandId == IDM_TABLE_PHASE || view->plot.source == PlotSource::Phase);
}

void ShowZernikeFitBox(HWND window)
{
    DialogBoxParamA(GetModuleHandleA(nullptr), "ZernikeFitBox", window, ZernikeFitDlgProc, 0);
    shownFit = ZernikeFit{};
}
