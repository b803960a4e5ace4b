// The dialog calls themselves, exercised on a live dialog: texts, integers, check marks, and
// what a template-less or procedure-less call gives.
#include <climits>
#include <cstring>

#include "dialogs/gcvt.h"
#include "dialogs/dialog_procs.h"
#include "tests/shell/dialog_test_harness.h"

using namespace dialog_tests;

TEST(DialogMachinery, GetDlgItemIntReadsWholeDecimalNumbersOnly)
{
    const struct { const char *text; BOOL isSigned; BOOL translated; UINT value; } rows[] = {
        {"42", FALSE, TRUE, 42}, {"  17  ", FALSE, TRUE, 17}, {"-5", TRUE, TRUE, static_cast<UINT>(-5)},
        {"-5", FALSE, FALSE, 0}, {"4.5", FALSE, FALSE, 0}, {"12abc", FALSE, FALSE, 0}, {"", FALSE, FALSE, 0},
        {"4294967295", FALSE, TRUE, 4294967295u}, {"4294967296", FALSE, FALSE, 0}, {"2147483648", TRUE, FALSE, 0},
        {"-2147483648", TRUE, TRUE, static_cast<UINT>(INT_MIN)},
    };
    run_program([&] {
        ASSERT_TRUE(open_dialog(102, [&](HWND dlg) {
            for (const auto &row : rows) {
                SetDlgItemTextA(dlg, 116, row.text);
                BOOL translated = 2;
                EXPECT_EQ(GetDlgItemInt(dlg, 116, &translated, row.isSigned), row.value) << '"' << row.text << '"';
                EXPECT_EQ(translated, row.translated) << '"' << row.text << '"';
            }
            BOOL translated = TRUE;
            EXPECT_EQ(GetDlgItemInt(dlg, 999, &translated, FALSE), 0u) << "no such control";
            EXPECT_EQ(translated, FALSE);
        }));
    });
}

namespace {

int commands_seen[8];
int commands_count;

// Records the ids it receives and ends on 2 only.
INT_PTR CALLBACK RecordingProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    if (commands_count < 8) commands_seen[commands_count++] = LOWORD(wParam);
    if (LOWORD(wParam) == IDCANCEL) EndDialog(hDlg, 77);
    return TRUE;
}

}  // namespace

TEST(DialogMachinery, ResultOfEndDialogAndTheCommandsAButtonSends)
{
    run_program([] {
        commands_count = 0;
        testing_dialog_script([](HWND dlg) {
            testing_dialog_click(dlg, 118);
            testing_dialog_click(dlg, IDOK);  // the procedure does not end here
            EXPECT_TRUE(testing_dialog_open(dlg));
            testing_dialog_key(dlg, VK_RETURN);
            testing_dialog_key(dlg, VK_ESCAPE);
            EXPECT_FALSE(testing_dialog_open(dlg));
        });
        EXPECT_EQ(DialogBoxParamA(nullptr, "SystemBox", mainhwnd, RecordingProc, 0), 77);
        // Enter pressed with the focus on OK (it was clicked last) is OK again.
        const int expected[] = {118, IDOK, IDOK, IDCANCEL};
        ASSERT_EQ(commands_count, 4);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(commands_seen[i], expected[i]) << "command " << i;
        EXPECT_EQ(DialogBoxParamA(nullptr, "NoSuchBox", mainhwnd, RecordingProc, 0), -1);
        EXPECT_EQ(DialogBoxParamA(nullptr, "SystemBox", mainhwnd, nullptr, 0), -1);
        EXPECT_EQ(EndDialog(mainhwnd, 0), FALSE) << "the main window is no dialog";
    });
}

TEST(DialogMachinery, GcvtWritesSignificantDigitsLikeTheCLibrary)
{
    const struct { double value; int ndigit; const char *text; } rows[] = {
        {0.01f, 5, "0.01"},                 // the float 0.0099999998 rounds back
        {0.3f, 5, "0.3"},                   // trailing zeros dropped
        {123456.0, 5, "1.2346e+05"},        // exponent once it reaches ndigit
        {99999.0, 5, "99999"}, {100000.0, 5, "1e+05"},
        {0.0001234567, 5, "0.00012346"},    // fixed down to an exponent of -4
        {0.00001234567, 5, "1.2346e-05"}, {3.0, 10, "3"}, {-12.0, 10, "-12"}, {0.0, 5, "0"},
        {2.5, 1, "2"},                      // ties to even, as printf rounds
        {0.5, 0, "0.5"},                    // fewer than one digit means one
        {1.0 / 3.0, 40, "0.33333333333333331"},  // no more than 17
    };
    for (const auto &row : rows) {
        EXPECT_EQ(gcvt_text(row.value, row.ndigit), row.text) << row.value << " / " << row.ndigit;
        char small[5];
        gcvt_into(row.value, row.ndigit, small, sizeof small);
        EXPECT_EQ(std::string(small), std::string(row.text).substr(0, 4)) << "cut to the buffer";
    }
}
