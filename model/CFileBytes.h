#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The whole content of a file, for reading a plan. A large regular file goes into a private
// mapping populated in one call: taking a page fault for every page of a heap buffer costs
// more than the read itself. Anything else (small, not regular, or growing while read) is
// read into a string as usual.
class CFileBytes {
public:
    CFileBytes() = default;
    ~CFileBytes();
    CFileBytes(const CFileBytes&) = delete;
    CFileBytes& operator=(const CFileBytes&) = delete;

    // False when the file cannot be opened or read; the content is then empty.
    bool read(const std::string& path);
    std::string_view view() const;

private:
    bool readMapped(int fd, std::size_t size);
    void release();

    char* m_mapped = nullptr;
    std::size_t m_mappedBytes = 0;
    std::size_t m_size = 0;
    std::string m_text;
};
