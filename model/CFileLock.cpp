#include "model/CFileLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

CFileLock::Result CFileLock::acquire(const std::string& dataFilePath) {
    release();
    m_error.clear();
    const int fd = ::open(lockPathFor(dataFilePath).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_error = std::strerror(errno);
        return errno == ENOENT ? Result::DirectoryMissing : Result::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int cause = errno;
        ::close(fd);
        m_error = std::strerror(cause);
        return cause == EWOULDBLOCK ? Result::HeldByOther : Result::Failed;
    }
    m_fd = fd;
    m_path = dataFilePath;
    return Result::Held;
}

void CFileLock::release() {
    if (m_fd < 0)
        return;
    ::close(m_fd); // closing the descriptor drops the lock
    m_fd = -1;
    m_path.clear();
}
