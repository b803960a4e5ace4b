// The data file: one 128 x 128 array as text, 128 lines of 128 "%12.6f" values, line i holding
// array[i][1..128], each line ended by a line feed.
#pragma once

#include <string>

// The array nCurrentDataSave chooses: r_input (540), phase_input (541), m_output (542), or
// nullptr for any other value (the file is then written empty).
float **data_save_array();

// The file text of an array (empty text for nullptr).
std::string format_data_file(float **array);

// Writes text to path so that the old file survives any failure: the text goes to a new file
// in the same folder, which then replaces path. On failure returns false and says why in
// error (the step that failed, the path and the system's reason).
bool write_file_atomically(const std::string &path, const std::string &text, std::string &error);
