// Reading a whole file for a load: regular files into one populated buffer, pipes the ordinary
// way, and every byte as it is on disk.

#include "model/CAtomicFile.h"
#include "model/CFileBytes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <thread>
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

TEST(CFileBytesTest, APipeIsReadToItsEndAndAMissingFileIsNothing) {
    TempDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string content = randomBytes(700 * 1024);
    std::thread writer{[&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        for (std::size_t done = 0; fd >= 0 && done < content.size();) {
            const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
    }};
    CFileBytes bytes;
    EXPECT_TRUE(bytes.read(fifo));
    writer.join();
    EXPECT_EQ(bytes.view(), content);

    EXPECT_FALSE(bytes.read(dir.file("missing.qln")));
    EXPECT_TRUE(bytes.view().empty());
}

} // namespace
