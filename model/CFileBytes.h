#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// The whole content of a file, for reading a plan or an input. A regular file goes into one
// buffer of its size whose pages are populated in a single call: growing a string piece by
// piece copied the bytes again and again, and taking a page fault for every page of fresh
// memory costs more than the read itself. A file that grows while read is read on, in pieces,
// up to the size limit. Anything but a regular file is refused: a FIFO without a writer would
// hang the reader, and a device such as /dev/zero never ends.
class CFileBytes {
public:
    // Far above the largest plan (65,535 items with a year of hours each).
    static constexpr std::size_t kMostBytes = std::size_t{1} << 30;
    enum class Links { Follow, Refuse };

    // A small file of a known kind is read with a limit of its own; a file at a name that
    // others may plant refuses a symbolic link there.
    explicit CFileBytes(std::size_t most = kMostBytes, Links links = Links::Follow)
        : m_most(most), m_links(links) {}

    // False when the file cannot be opened or read, is not a regular file or is larger than
    // the limit; the content is then empty and error() says why.
    bool read(const std::string& path);
    std::string_view view() const;
    const std::string& error() const { return m_error; }

private:
    void clear();
    bool readSized(int fd, std::size_t size);
    bool readRest(int fd);
    std::string tooLarge() const;

    std::unique_ptr<char[]> m_buffer;
    std::size_t m_size = 0;
    std::string m_text;
    std::string m_error;
    std::size_t m_most;
    Links m_links;
};
