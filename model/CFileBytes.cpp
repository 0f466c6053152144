#include "model/CFileBytes.h"

#include "model/CAtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Below this a plain read is as fast.
constexpr std::size_t kMapFrom = 256 * 1024;

} // namespace

CFileBytes::~CFileBytes() {
    release();
}

bool CFileBytes::read(const std::string& path) {
    release();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    const bool large = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                       static_cast<std::size_t>(info.st_size) >= kMapFrom;
    const bool mapped = large && readMapped(fd, static_cast<std::size_t>(info.st_size));
    ::close(fd);
    if (mapped)
        return true;
    release();
    if (CAtomicFile::readAll(path, m_text))
        return true;
    m_text.clear();
    return false;
}

std::string_view CFileBytes::view() const {
    return m_mapped ? std::string_view{m_mapped, m_size} : std::string_view{m_text};
}

// Reads up to one byte more than the size the file had: getting it means the file grew, and
// the caller reads it again the ordinary way.
bool CFileBytes::readMapped(int fd, std::size_t size) {
    m_mappedBytes = size + 1;
    void* memory = ::mmap(nullptr, m_mappedBytes, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (memory == MAP_FAILED) {
        m_mappedBytes = 0;
        return false;
    }
    m_mapped = static_cast<char*>(memory);
    while (m_size < m_mappedBytes) {
        const ssize_t n = ::read(fd, m_mapped + m_size, m_mappedBytes - m_size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        m_size += static_cast<std::size_t>(n);
    }
    return m_size <= size;
}

void CFileBytes::release() {
    if (m_mapped)
        ::munmap(m_mapped, m_mappedBytes);
    m_mapped = nullptr;
    m_mappedBytes = 0;
    m_size = 0;
    m_text.clear();
}
