#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// The whole content of a file, for reading a plan. A regular file goes into one buffer of its
// size whose pages are populated in a single call: growing a string piece by piece copied the
// bytes again and again, and taking a page fault for every page of fresh memory costs more
// than the read itself. A pipe, or a file that grows while read, is read to its end in pieces.
class CFileBytes {
public:
    // False when the file cannot be opened or read; the content is then empty.
    bool read(const std::string& path);
    std::string_view view() const;

private:
    void clear();
    bool readSized(int fd, std::size_t size);
    bool readRest(int fd);

    std::unique_ptr<char[]> m_buffer;
    std::size_t m_size = 0;
    std::string m_text;
};
