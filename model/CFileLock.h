#pragma once

#include <string>
#include <utility>

// The exclusive hold of one process on a data file. The lock sits on a sidecar file beside the
// data file ("NAME.qln.lock", never deleted), so it survives the atomic replacement of the data
// file by a save; the kernel releases it when the holder dies. The data file itself is locked
// too, so that another name for it (a hard link) cannot be held at the same time. The path is
// the file's final one (see CAtomicFile::finalPath), so that a symbolic link shares the hold.
class CFileLock {
public:
    enum class Result { Held, HeldByOther, DirectoryMissing, Failed };

    CFileLock() = default;
    ~CFileLock() { release(); }
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;

    Result acquire(const std::string& dataFilePath);
    // After a save replaced the data file: the hold moves to the new file, so that a name
    // still linked to the old one is a file of its own.
    void followReplacement();
    void swap(CFileLock& other) noexcept {
        std::swap(m_fd, other.m_fd);
        std::swap(m_dataFd, other.m_dataFd);
        m_path.swap(other.m_path);
    }
    // A sync engine that brings another computer's lock file or plan replaces them by a rename:
    // the hold moves to the files now at the names, so that a second program here is still
    // kept away. False when another holder here took the new lock file first.
    bool refresh();
    void release();
    bool isHeld() const { return m_fd >= 0; }
    // Why the last acquire failed, as the system says it; "" after success.
    const std::string& error() const { return m_error; }
    const std::string& path() const { return m_path; }

    static std::string lockPathFor(const std::string& dataFilePath) {
        return dataFilePath + ".lock";
    }

private:
    int m_fd = -1;
    int m_dataFd = -1; // the data file's own lock; -1 while the file does not exist
    std::string m_path;
    std::string m_error;
};
