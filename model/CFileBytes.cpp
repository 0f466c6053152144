#include "model/CFileBytes.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Faults in the whole pages inside the range at once. Best effort: older kernels refuse,
// and the pages then fault in one by one as before.
void populate(char* data, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) / page * page;
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)size;
#endif
}

// One read, retried when a signal interrupts it.
ssize_t readSome(int fd, char* into, std::size_t size) {
    ssize_t n = 0;
    do
        n = ::read(fd, into, size);
    while (n < 0 && errno == EINTR);
    return n;
}

} // namespace

bool CFileBytes::read(const std::string& path) {
    clear();
    m_error.clear();
    // Not blocking: opening a FIFO that has no writer would wait for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK |
                                            (m_links == Links::Refuse ? O_NOFOLLOW : 0));
    if (fd < 0) {
        m_error = std::strerror(errno);
        return false;
    }
    struct stat info {};
    bool done = false;
    if (::fstat(fd, &info) != 0)
        m_error = std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        m_error = "not a regular file";
    else if (static_cast<std::uint64_t>(info.st_size) > m_most)
        m_error = tooLarge();
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0)
        done = readSized(fd, static_cast<std::size_t>(info.st_size));
    ::close(fd);
    if (!done)
        clear();
    return done;
}

std::string CFileBytes::tooLarge() const {
    return m_most == kMostBytes ? "larger than 1 GiB"
                                : "larger than " + std::to_string(m_most) + " bytes";
}

std::string_view CFileBytes::view() const {
    return m_buffer ? std::string_view{m_buffer.get(), m_size} : std::string_view{m_text};
}

void CFileBytes::clear() {
    m_buffer.reset();
    m_size = 0;
    m_text.clear();
}

// Reads up to one byte more than the size the file had: getting it means the file grew, and
// the rest is read as from a pipe.
bool CFileBytes::readSized(int fd, std::size_t size) {
    const std::size_t capacity = size + 1;
    m_buffer = std::make_unique_for_overwrite<char[]>(capacity);
    populate(m_buffer.get(), capacity);
    while (m_size < capacity) {
        const ssize_t n = readSome(fd, m_buffer.get() + m_size, capacity - m_size);
        if (n < 0)
            m_error = std::strerror(errno);
        if (n <= 0)
            return n == 0;
        m_size += static_cast<std::size_t>(n);
    }
    m_text.assign(m_buffer.get(), m_size);
    m_buffer.reset();
    m_size = 0;
    return readRest(fd);
}

// Appends everything up to the end of the stream to the text.
bool CFileBytes::readRest(int fd) {
    char chunk[65536];
    for (;;) {
        const ssize_t n = readSome(fd, chunk, sizeof chunk);
        if (n < 0)
            m_error = std::strerror(errno);
        if (n <= 0)
            return n == 0;
        if (m_text.size() + static_cast<std::size_t>(n) > m_most) {
            m_error = tooLarge();
            return false;
        }
        m_text.append(chunk, static_cast<std::size_t>(n));
    }
}
