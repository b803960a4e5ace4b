// Writing an output file (the data file, and any other file the program writes) by one rule
// that never replaces what it must not:
// - a regular file, or a link to one, is replaced whole: the bytes go to a new file in the
//   same folder that then takes the file's place, keeping its mode and, where the process
//   may, its owner; a failure leaves the old file as it was;
// - a name that does not exist, or a dangling link, gets a new file (the link's target);
// - a device or a FIFO is opened and written directly, never replaced;
// - /dev/stdout, /dev/stderr, /dev/fd/N and /proc/self/fd/N (named directly or through a
//   link) are written through the descriptor the process already holds, after standard
//   output has been flushed;
// - a regular file the process may not write (a write-protected one, for anyone but the
//   superuser) is a failed write that leaves it as it was;
// - "-" is standard output, written as /dev/stdout is;
// - a directory, a socket or anything else is a failed write that leaves nothing behind.
#pragma once

#include <string>
#include <string_view>

enum class FifoWait {
    ForReader,  // a FIFO nobody reads yet is waited for, as command-line tools do
    Never,      // a FIFO without a reader is a failed write (a window must not hang)
};

// Writes bytes to path by the rule above. On failure returns false and error holds the step,
// the path and the system's reason, for example "cannot write /tmp/x: Is a directory".
bool write_output_file(const std::string &path, std::string_view bytes, std::string &error,
                       FifoWait wait = FifoWait::ForReader);

// An output file written piece by piece by the same rule, for a writer whose bytes do not all
// fit in memory: a file to be replaced is written into the new file beside it, which takes
// its place only on commit(); abort(), or the stream's end without commit(), removes it and
// leaves the old file as it was. A device, a FIFO or a descriptor is written as the pieces come.
class OutputStream {
public:
    OutputStream() = default;
    OutputStream(const OutputStream &) = delete;
    OutputStream &operator=(const OutputStream &) = delete;
    ~OutputStream() { abort(); }

    // Opens name for writing; a FIFO is waited for as write_output_file waits for it.
    bool open(const std::string &name, std::string &error, FifoWait wait = FifoWait::ForReader);
    bool write(std::string_view bytes, std::string &error);
    // The file takes its place (or a device is closed); false with the reason on failure, and
    // then nothing is left behind.
    bool commit(std::string &error);
    void abort();

private:
    int fd_ = -1;
    bool owned_ = false;  // a descriptor the stream opened (not one the process held)
    std::string label_;   // the name in messages
    std::string path_;    // the file that is replaced
    std::string temp_;    // the new file beside it, "" when writing directly
};

// Flushes standard output. False, with "cannot write standard output: REASON" in error, when
// that or any earlier write to it failed (a closed pipe, a full disk, a file-size limit).
bool flush_standard_output(std::string &error);

// The folder of a path: "." for a bare name, "/" for a name in the root.
std::string folder_of(const std::string &path);

// True when the name of path ends in `ending` (".fits", ".svg"), in any case: an ending names a
// type of file, "UPPER.PNG" is a PNG picture.
bool has_ending(const std::string &path, const std::string &ending);
