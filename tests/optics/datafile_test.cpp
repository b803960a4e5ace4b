// The data file reader, and the one rule by which output files are written.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "optics/datafile.h"
#include "optics/output_file.h"
#include "tests/optics/optics_test.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class DataFile : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        optics_startup();
        mark();
    }
    ~DataFile() override { optics_shutdown(); }
    static void mark()
    {
        std::fill(&r_output[1][1], &r_output[GRID][GRID] + 1, -7.0f);  // "unchanged"
    }
    bool read(const std::string &bytes)
    {
        mark();
        std::ofstream(dir + "/data.txt", std::ios::binary) << bytes;
        why.clear();
        return read_data_file(dir + "/data.txt", r_output, why);
    }
    static bool untouched() { return count_where(r_output, -7.0f) == GRID_VALUES; }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
    }
    std::string why, error;
};

// A file in the reader's layout, written here field by field: value (i, j) = i + j / 1000,
// each field right-justified in 9 bytes ("%9.3f"), the last one followed by the line end.
std::string reader_layout(const std::string &line_end = "\n")
{
    std::string text;
    char field[32];
    for (int i = 1; i <= 128; i++) {
        for (int j = 1; j <= 128; j++)
            text.append(field, std::snprintf(field, sizeof field, "%9.3f", i + j / 1000.0));
        text += line_end;
    }
    return text;
}

TEST_F(DataFile, FieldsAreReadAsTheirLeadingNumber)
{
    const struct {
        const char *field;
        double expected;
    } rows[] = {
        {"   -2.250", -2.25}, {"  +3.000", 3.0},  {"   1.5e2 ", 150.0}, {"  2.5E-1 ", 0.25},
        {"   12abc ", 12.0},  {"   1.2.3 ", 1.2}, {"         ", 0.0},   {"   .5    ", 0.5},
        {"   5.    ", 5.0},   {"  1e+    ", 1.0}, {"- 1      ", 0.0},   {"inf      ", 0.0},
    };
    for (const auto &[field, expected] : rows)
        EXPECT_DOUBLE_EQ(read_field_number(field, 9), expected) << field;
    EXPECT_DOUBLE_EQ(read_field_number("123456789", 4), 1234.0);  // only the field's own bytes
}

TEST_F(DataFile, CompleteFilesAreRead)
{
    const std::string lf = reader_layout(), crlf = reader_layout("\r\n");
    const std::pair<const char *, std::string> rows[] = {
        {"LF", lf},
        {"CR LF", crlf},
        {"extra final line end", lf + "\n"},
        {"last line end missing", lf.substr(0, lf.size() - 1)},
    };
    const auto holds_layout = [](int i, int j) {
        return r_output[i][j] == static_cast<float>(i + j / 1000.0);
    };
    for (const auto &[name, bytes] : rows) {
        EXPECT_TRUE(read(bytes)) << name << ": " << why;
        EXPECT_EQ(first_sample_failing(holds_layout), "") << name;
    }
}

TEST_F(DataFile, WrongFilesAreRefusedChangingNothing)
{
    const std::string lf = reader_layout(), crlf = reader_layout("\r\n");
    // 128 records of 1153 bytes (128 fields of 9 and the line end); here the first end a blank.
    const std::string misaligned = lf.substr(0, 1152) + " " + lf.substr(1153);
    std::vector<std::tuple<std::string, std::string, const char *>> rows = {
        {"empty", "", "ends before"},
        {"cut in the last field", lf.substr(0, lf.size() - 5), "ends before"},
        {"two extra line ends", lf + "\n\n", "longer"},
        {"writer's layout", std::string(196736, ' '), "longer"},
        {"misaligned", misaligned, "layout"},
        {"too large a value", "1e99     " + lf.substr(9), "too large"},
        {"CR LF, the last CR without its LF", crlf.substr(0, crlf.size() - 1), "layout"},
    };
    // CR LF records of 1154 bytes, one of which has another byte in place of its LF.
    for (const auto &[record, by] :
         {std::pair{1, '7'}, {2, '7'}, {2, 'X'}, {64, '\r'}, {127, ' '}, {128, '7'}}) {
        std::string bytes = crlf;
        bytes[record * 1154 - 1] = by;
        rows.emplace_back("CR LF, record " + std::to_string(record) + " ends in CR " + by, bytes,
                          "layout");
    }
    for (const auto &[name, bytes, reason] : rows) {
        EXPECT_FALSE(read(bytes)) << name;
        EXPECT_NE(why.find(reason), std::string::npos) << name << ": " << why;
        EXPECT_TRUE(untouched()) << name;
    }
}

TEST_F(DataFile, OnlyAnExistingRegularFileIsRead)
{
    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0);
    EXPECT_FALSE(read_data_file(dir + "/fifo", r_output, why)) << "returns at once, with no writer";
    EXPECT_EQ(why, dir + "/fifo is not a regular file");
    EXPECT_FALSE(read_data_file(dir + "/missing", r_output, why));
    EXPECT_EQ(why, "cannot open " + dir + "/missing: No such file or directory");
    EXPECT_TRUE(untouched());
}

TEST_F(DataFile, NewOutputFileGetsTheModeTheMaskAllows)
{
    const mode_t old_mask = umask(022);
    EXPECT_TRUE(write_file_atomically(dir + "/data.txt", std::string(500, 'a'), error)) << error;
    umask(old_mask);
    EXPECT_EQ(fs::status(dir + "/data.txt").permissions(), fs::perms(0644));  // 0666 less the mask
}

TEST_F(DataFile, ReplacedOutputFileKeepsItsModeAndOwner)
{
    const std::string file = dir + "/data.txt";
    std::ofstream(file) << "old\n";
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    // Where the process may give files away, the file belongs to someone else first.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(file.c_str(), 4321, 4322), 0);
    }
    struct stat before, after;
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    EXPECT_TRUE(write_output_file(file, "first\n", error)) << error;
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(file_text(file), "first\n");
    EXPECT_EQ(std::tuple(after.st_mode & 07777, after.st_uid, after.st_gid),
              std::tuple(0640u, before.st_uid, before.st_gid));
    EXPECT_NE(after.st_ino, before.st_ino) << "a new file took the old one's place";
    EXPECT_EQ(entries(), 1u) << "no temporary file is left";
}

// A stream's pieces go to the new file beside the old one, which stays until the commit; an
// abort leaves it as it was.
TEST_F(DataFile, StreamReplacesTheFileOnlyWhenCommitted)
{
    const std::string file = dir + "/data.txt";
    for (const bool commit : {false, true}) {
        SCOPED_TRACE(commit ? "commit" : "abort");
        std::ofstream(file) << "old\n";
        OutputStream stream;
        ASSERT_TRUE(stream.open(file, error)) << error;
        EXPECT_TRUE(stream.write("first\n", error)) << error;
        EXPECT_TRUE(stream.write("second\n", error)) << error;
        EXPECT_EQ(file_text(file), "old\n");
        EXPECT_EQ(entries(), 2u) << "the old file and the new one";
        if (commit)
            EXPECT_TRUE(stream.commit(error)) << error;
        else
            stream.abort();
        EXPECT_EQ(file_text(file), commit ? "first\nsecond\n" : "old\n");
        EXPECT_EQ(entries(), 1u) << "no temporary file is left";
    }
}

TEST_F(DataFile, WritingThroughALinkReplacesItsTarget)
{
    std::ofstream(dir + "/data.txt") << "old\n";
    fs::create_directory(dir + "/sub");
    // A dangling link gets its target created.
    const struct {
        const char *link, *target;
    } rows[] = {{"link.txt", "data.txt"}, {"dangling", "sub/target.txt"}};
    for (const auto &row : rows) {
        fs::create_symlink(row.target, dir + "/" + row.link);
        EXPECT_TRUE(write_output_file(dir + "/" + row.link, "new\n", error)) << error;
        EXPECT_TRUE(fs::is_symlink(dir + "/" + row.link)) << row.link;
        EXPECT_EQ(file_text(dir + "/" + row.target), "new\n") << row.link;
    }
}

TEST_F(DataFile, LongNameTakesAShorterTemporaryName)
{
    const std::string long_name = dir + "/" + std::string(250, 'n');
    EXPECT_TRUE(write_output_file(long_name, "long\n", error)) << error;
    EXPECT_EQ(file_text(long_name), "long\n");
    EXPECT_EQ(entries(), 1u) << "no temporary file is left";
}

// The name of an open descriptor is written through it.
TEST_F(DataFile, DescriptorNamesAreWrittenThroughTheDescriptor)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    EXPECT_TRUE(write_output_file("/proc/self/fd/" + std::to_string(ends[1]), "piped\n", error))
        << error;
    ::close(ends[1]);
    EXPECT_EQ(file_text("/proc/self/fd/" + std::to_string(ends[0])), "piped\n");
    ::close(ends[0]);
}

// Not waiting, a FIFO without a reader is refused like the other paths no file can replace.
TEST_F(DataFile, UnwritablePathsFailLeavingNothing)
{
    fs::create_directory(dir + "/folder");
    const std::string socket_path = dir + "/socket";
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket_path.c_str());
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0);
    const struct {
        std::string path, error;
    } rows[] = {
        {dir + "/folder", "cannot write " + dir + "/folder: Is a directory"},
        {socket_path, "cannot write " + socket_path + ": it is a socket"},
        {dir + "/fifo", "cannot write " + dir + "/fifo: no program is reading it"},
        {dir + "/missing/x.txt",
         "cannot create a file beside " + dir + "/missing/x.txt: No such file or directory"},
    };
    for (const auto &row : rows) {
        EXPECT_FALSE(write_output_file(row.path, "x", error, FifoWait::Never)) << row.path;
        EXPECT_EQ(error, row.error);
        EXPECT_EQ(entries(), 3u) << row.path;
        EXPECT_TRUE(fs::is_empty(dir + "/folder")) << row.path;
    }
    ::close(s);
}

}  // namespace
