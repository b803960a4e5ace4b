// The one rule by which output files are written. FIFOs, sockets and links are made in the
// test's own folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "optics/datafile.h"
#include "optics/output_file.h"
#include "tests/optics/optics_test.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class OutputFile : public TempFolderTest {
protected:
    std::size_t entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {})); }
    std::string error;
};

TEST_F(OutputFile, NewFilesGetTheUsualPermissionsAndAreReplacedWhole)
{
    const mode_t old_mask = umask(022);
    const std::string file = dir + "/p.txt";
    ASSERT_TRUE(write_file_atomically(file, std::string(500, 'a'), error)) << error;
    umask(old_mask);
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    ASSERT_TRUE(write_file_atomically(file, "short\n", error)) << error;
    EXPECT_EQ(file_text(file), "short\n");
    EXPECT_EQ(entries(), 1u) << "no temporary left";
}

TEST_F(OutputFile, RegularFilesAndLinksToThemAreReplacedWholeKeepingModeAndLink)
{
    const std::string file = dir + "/data.txt", link = dir + "/link.txt";
    std::ofstream(file) << "old text that is longer than the new";
    ::chmod(file.c_str(), 0640);
    fs::create_symlink("data.txt", link);
    // Where the process may give files away, the file belongs to someone else first.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(file.c_str(), 4321, 4322), 0);
    }
    struct stat before, after;
    ::stat(file.c_str(), &before);
    ASSERT_TRUE(write_output_file(file, "first\n", error)) << error;
    ::stat(file.c_str(), &after);
    EXPECT_EQ(file_text(file), "first\n");
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_NE(after.st_ino, before.st_ino) << "a new file took the old one's place";
    ASSERT_TRUE(write_output_file(link, "second\n", error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(file_text(file), "second\n");
    EXPECT_EQ(entries(), 2u) << "no temporary file is left";
}

TEST_F(OutputFile, ADanglingLinkCreatesItsTargetAndALongNameUsesAShortTemporaryName)
{
    fs::create_directory(dir + "/sub");
    fs::create_symlink("sub/target.txt", dir + "/dangling");
    ASSERT_TRUE(write_output_file(dir + "/dangling", "made\n", error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir + "/dangling"));
    EXPECT_EQ(file_text(dir + "/sub/target.txt"), "made\n");
    // 250 characters: the name with ".XXXXXX" would exceed the 255 a folder allows.
    const std::string long_name = dir + "/" + std::string(250, 'n');
    ASSERT_TRUE(write_output_file(long_name, "long\n", error)) << error;
    EXPECT_EQ(file_text(long_name), "long\n");
    EXPECT_EQ(entries(), 3u);
}

TEST_F(OutputFile, AFifoIsWrittenDirectlyAndStaysAFifo)
{
    const std::string fifo = dir + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(write_output_file(fifo, "x", error, FifoWait::Never));
    EXPECT_EQ(error, "cannot write " + fifo + ": no program is reading it");
    const std::string bytes(200000, 'b');  // more than a pipe holds at once
    std::string received;
    std::thread reader([&] { received = file_text(fifo); });
    const bool written = write_output_file(fifo, bytes, error);
    reader.join();
    EXPECT_TRUE(written) << error;
    EXPECT_EQ(received, bytes);
    struct stat st;
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(OutputFile, ADescriptorNameIsWrittenThroughTheOpenDescriptor)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string link = dir + "/to-descriptor";
    fs::create_symlink("/dev/fd/" + std::to_string(ends[1]), link);  // read as text, never opened
    ASSERT_TRUE(write_output_file(link, "through the pipe\n", error)) << error;
    ASSERT_TRUE(write_output_file("/proc/self/fd/" + std::to_string(ends[1]), "again\n", error)) << error;
    ::close(ends[1]);
    char buffer[64] = {};
    const ssize_t n = ::read(ends[0], buffer, sizeof buffer - 1);
    ::close(ends[0]);
    EXPECT_EQ(std::string(buffer, n > 0 ? n : 0), "through the pipe\nagain\n");
    EXPECT_TRUE(fs::is_symlink(link));
}

TEST_F(OutputFile, FoldersSocketsAndMissingFoldersFailAndLeaveNothing)
{
    fs::create_directory(dir + "/folder");
    const std::string socket_path = dir + "/socket";
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket_path.c_str());
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const struct { std::string path, error; } rows[] = {
        {dir + "/folder", "cannot write " + dir + "/folder: Is a directory"},
        {socket_path, "cannot write " + socket_path + ": it is a socket"},
        {dir + "/missing/x.txt", "cannot create a file beside " + dir + "/missing/x.txt: No such file or directory"},
    };
    for (const auto &row : rows) {
        EXPECT_FALSE(write_output_file(row.path, "x", error)) << row.path;
        EXPECT_EQ(error, row.error);
        EXPECT_EQ(entries(), 2u) << row.path;
        EXPECT_TRUE(fs::is_empty(dir + "/folder")) << row.path;
    }
    ::close(s);
}

}  // namespace
