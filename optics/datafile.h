// The data file: one 128 x 128 array as text, 128 lines of 128 "%12.6f" values, line i holding
// array[i][1..128], each line ended by a line feed.
#pragma once

#include <cstddef>
#include <string>

constexpr int GRID_FIELDS_PER_RECORD = 128;

// The array nCurrentDataSave chooses: r_input (540), phase_input (541), m_output (542), or
// nullptr for any other value (the file is then written empty).
float **data_save_array();

// The file text of an array (empty text for nullptr). A line in which a value would fill or
// overflow its 12 characters after the first column (or overflow them in the first) has its
// values set apart by one blank instead, so that no value runs into its neighbour.
std::string format_data_file(float **array);

// Writes text to path by the output file rule of optics/output_file.h (a regular file is
// replaced whole, a device or FIFO written directly, a folder refused).
bool write_file_atomically(const std::string &path, const std::string &text, std::string &error);

// The layout the reader takes: 128 records, one per array row, each of 127 fields of 9 bytes
// and one of 10 (the last value and the line end). A field is a decimal number after optional
// blanks; reading stops at the first character that cannot continue it; no number gives 0.
constexpr int READ_FIELD = 9;
constexpr int READ_LAST_FIELD = 10;
constexpr int READ_RECORD = (GRID_FIELDS_PER_RECORD - 1) * READ_FIELD + READ_LAST_FIELD;

// Reads a file of that layout into target[1..128][1..128]. Line ends may be LF or CR LF
// throughout; the last record may lack its line end, and one extra line end may follow it.
// Anything shorter or longer is refused. On failure target is left untouched and why says
// what was wrong.
bool read_data_file(const std::string &path, float **target, std::string &why);

// The same for the bytes of a file already read; name is the file's name in the messages.
bool parse_data_file(const std::string &bytes, const std::string &name, float **target,
                     std::string &why);

// The number at the start of a field's text, as the reader converts it.
double read_field_number(const char *text, std::size_t length);
