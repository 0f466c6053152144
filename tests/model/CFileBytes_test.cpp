// Reading a whole file for a load: regular files into one populated buffer, pipes the ordinary
// way, and every byte as it is on disk.

#include "model/CAtomicFile.h"
#include "model/CFileBytes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string randomBytes(std::size_t size) {
    std::mt19937 random{size};
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

TEST(CFileBytesTest, FilesOfEverySizeAreReadExactly) {
    TempDir dir;
    CFileBytes bytes;
    for (const std::size_t size :
         {0u, 1u, 4096u, 256u * 1024 - 1, 256u * 1024, 3u * 1024 * 1024 + 7}) {
        const std::string content = randomBytes(size);
        ASSERT_TRUE(CAtomicFile::write(dir.file("plan.qln"), content));
        ASSERT_TRUE(bytes.read(dir.file("plan.qln"))) << size;
        EXPECT_EQ(bytes.view(), content) << size;
    }
    // A second read replaces the first, large or small.
    ASSERT_TRUE(CAtomicFile::write(dir.file("small.qln"), "small"));
    ASSERT_TRUE(bytes.read(dir.file("small.qln")));
    EXPECT_EQ(bytes.view(), "small");
}

// A FIFO without a writer hung every reader, and /dev/zero grew memory until killed: what is
// not a regular file is refused at once, with the reason.
TEST(CFileBytesTest, OnlyRegularFilesAreReadAndAMissingFileIsNothing) {
    TempDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CFileBytes bytes;
    EXPECT_FALSE(bytes.read(fifo));
    EXPECT_EQ(bytes.error(), "not a regular file");
    EXPECT_FALSE(bytes.read("/dev/zero"));
    EXPECT_EQ(bytes.error(), "not a regular file");
    EXPECT_FALSE(bytes.read(dir.path()));
    EXPECT_TRUE(bytes.view().empty());
    EXPECT_FALSE(bytes.read(dir.file("missing.qln")));
    EXPECT_TRUE(bytes.view().empty());
    EXPECT_FALSE(bytes.error().empty());
}

} // namespace
