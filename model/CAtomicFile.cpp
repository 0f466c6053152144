#include "model/CAtomicFile.h"

#include "model/CFileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const kTemporarySuffix = ".saving-";
// Why the last write of this thread failed.
thread_local std::string t_lastError;
thread_local bool t_nameTaken = false;

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeFully(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file at the path: the link itself when a link stands for the file.
int statAt(const std::string& path, bool linkIsTheFile, struct stat& info) {
    return linkIsTheFile ? ::lstat(path.c_str(), &info) : ::stat(path.c_str(), &info);
}

// A new file gets the usual permissions, a replaced one keeps its own.
mode_t modeFor(const std::string& path, bool linkIsTheFile) {
    struct stat info {};
    if (statAt(path, linkIsTheFile, info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A file that exists but may not be written is not replaced behind its owner's back: the
// rename would succeed in a writable folder whatever the file's own mode says.
bool mayReplace(const std::string& path, bool linkIsTheFile) {
    struct stat info {};
    if (statAt(path, linkIsTheFile, info) != 0 || S_ISLNK(info.st_mode))
        return true;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

// Takes the name only while it is free, racing writers included: a rename that never replaces,
// or where the file system has none, a link.
bool placeAsNew(const std::string& temporary, const std::string& path) {
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (::link(temporary.c_str(), path.c_str()) != 0)
        return false;
    ::unlink(temporary.c_str());
    return true;
}

} // namespace

void CAtomicFile::removeLeftovers(const std::string& path) {
    namespace fs = std::filesystem;
    const std::string prefix = fs::path(path).filename().string() + kTemporarySuffix;
    std::error_code error;
    for (fs::directory_iterator it(directoryOf(path), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + 6 && name.rfind(prefix, 0) == 0)
            fs::remove(it->path(), error);
    }
}

std::string CAtomicFile::finalPath(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path at = path;
    // Bounded as the system bounds it, so a loop of links ends.
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(at, error)); ++hops) {
        const fs::path target = fs::read_symlink(at, error);
        if (error)
            break;
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    const fs::path real = fs::weakly_canonical(at, error);
    return error ? path : real.string();
}

bool CAtomicFile::write(const std::string& path, std::string_view bytes) {
    return write(path, [bytes](const Append& append) { return append(bytes); });
}

std::string CAtomicFile::lastError() {
    return t_lastError;
}

bool CAtomicFile::write(const std::string& givenPath,
                        const std::function<bool(const Append&)>& produce) {
    return writeAt(finalPath(givenPath), false, produce);
}

bool CAtomicFile::writeHere(const std::string& path, std::string_view bytes) {
    return writeAt(path, true, [bytes](const Append& append) { return append(bytes); });
}

bool CAtomicFile::writeNew(const std::string& path,
                           const std::function<bool(const Append&)>& produce) {
    return writeAt(path, true, produce, Finish::New);
}

bool CAtomicFile::lastWriteFoundName() {
    return t_nameTaken;
}

bool CAtomicFile::writeAt(const std::string& path, bool linkIsTheFile,
                          const std::function<bool(const Append&)>& produce, Finish finish) {
    t_lastError.clear();
    t_nameTaken = false;
    if (!mayReplace(path, linkIsTheFile)) {
        t_lastError = std::strerror(EACCES);
        return false;
    }
    const std::string dir = directoryOf(path);
    std::string name = path + kTemporarySuffix + "XXXXXX";
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0) {
        t_lastError = std::strerror(errno);
        return false;
    }
    const std::string temporary(buffer.data());
    bool appended = true;
    const Append append = [fd, &appended](std::string_view piece) {
        appended = appended && writeFully(fd, piece);
        return appended;
    };
    errno = 0;
    const bool written = ::fchmod(fd, modeFor(path, linkIsTheFile)) == 0 && produce(append) &&
                         appended && ::fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    const auto place = [&] {
        return finish == Finish::New ? placeAsNew(temporary, path)
                                     : ::rename(temporary.c_str(), path.c_str()) == 0;
    };
    if (!written || !closed || !place()) {
        const int cause = !written ? writeError : errno;
        t_lastError = cause != 0 ? std::strerror(cause) : "the content could not be made";
        t_nameTaken = written && closed && cause == EEXIST;
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool CAtomicFile::readAll(const std::string& path, std::string& bytes, std::string* error) {
    CFileBytes file;
    const bool read = file.read(path);
    bytes.assign(file.view());
    if (error)
        *error = file.error();
    return read;
}
