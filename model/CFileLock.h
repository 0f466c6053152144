#pragma once

#include <string>
#include <utility>

// The exclusive hold of one process on a data file. The lock sits on a sidecar file beside the
// data file ("NAME.qln.lock", never deleted), so it survives the atomic replacement of the data
// file by a save; the kernel releases it when the holder dies.
class CFileLock {
public:
    enum class Result { Held, HeldByOther, DirectoryMissing, Failed };

    CFileLock() = default;
    ~CFileLock() { release(); }
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;

    Result acquire(const std::string& dataFilePath);
    void swap(CFileLock& other) noexcept {
        std::swap(m_fd, other.m_fd);
        m_path.swap(other.m_path);
    }
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
    std::string m_path;
    std::string m_error;
};
