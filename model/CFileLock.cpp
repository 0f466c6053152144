#include "model/CFileLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The data file opened and locked; -1 when there is no regular file to lock, with `busy` set
// when another holder has it.
int lockedDataFile(const std::string& path, bool& busy) {
    busy = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        busy = errno == EWOULDBLOCK;
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

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
    bool busy = false;
    const int dataFd = lockedDataFile(dataFilePath, busy);
    if (busy) {
        ::close(fd);
        m_error = std::strerror(EWOULDBLOCK);
        return Result::HeldByOther;
    }
    m_fd = fd;
    m_dataFd = dataFd;
    m_path = dataFilePath;
    return Result::Held;
}

void CFileLock::followReplacement() {
    if (m_fd < 0)
        return;
    bool busy = false;
    const int dataFd = lockedDataFile(m_path, busy);
    if (busy)
        return;
    if (m_dataFd >= 0)
        ::close(m_dataFd);
    m_dataFd = dataFd;
}

bool CFileLock::refresh() {
    if (m_fd < 0)
        return false;
    struct stat held {};
    struct stat named {};
    const std::string lockPath = lockPathFor(m_path);
    if (::fstat(m_fd, &held) == 0 && ::stat(lockPath.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
        followReplacement();
        return true;
    }
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return true; // nothing at the name to hold: the old hold is all there is
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    ::close(m_fd);
    m_fd = fd;
    followReplacement();
    return true;
}

void CFileLock::release() {
    if (m_fd < 0)
        return;
    ::close(m_fd); // closing the descriptors drops the locks
    m_fd = -1;
    if (m_dataFd >= 0)
        ::close(m_dataFd);
    m_dataFd = -1;
    m_path.clear();
}
