#pragma once

#include <semaphore.h>

// The named mutex the program shares with the companion: a POSIX named semaphore with one
// token. Waits are bounded; a wait that runs out reports false and the caller decides.
class CNamedMutex {
public:
    static constexpr const char* kName = "/QLN_ECN_WN_CRDNTN_MTX";

    // Opens the mutex, creating it free when it does not exist yet.
    explicit CNamedMutex(const char* name = kName);
    ~CNamedMutex();
    CNamedMutex(const CNamedMutex&) = delete;
    CNamedMutex& operator=(const CNamedMutex&) = delete;

    bool isOpen() const { return m_semaphore != SEM_FAILED; }
    bool lock(int milliseconds);
    void unlock();
    // Runs the access holding the mutex, or without it once the wait has run out: a partner
    // that died holding it must not stop this side for good.
    template <typename Access> auto accessWithin(int milliseconds, Access access) {
        const bool locked = lock(milliseconds);
        struct Release {
            CNamedMutex* mutex;
            ~Release() {
                if (mutex)
                    mutex->unlock();
            }
        } release{locked ? this : nullptr};
        return access();
    }
    // Removes the name, so the next opener creates it afresh (a holder killed while holding it
    // leaves it taken for good).
    static void remove(const char* name = kName);

private:
    sem_t* m_semaphore = SEM_FAILED;
};
