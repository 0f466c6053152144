#include "companion/CNamedMutex.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>

CNamedMutex::CNamedMutex(const char* name) : m_semaphore(sem_open(name, O_CREAT, 0600, 1)) {}

CNamedMutex::~CNamedMutex() {
    if (isOpen())
        sem_close(m_semaphore);
}

bool CNamedMutex::lock(int milliseconds) {
    if (!isOpen())
        return false;
    timespec deadline{};
    clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    while (sem_timedwait(m_semaphore, &deadline) != 0)
        if (errno != EINTR)
            return false;
    return true;
}

void CNamedMutex::unlock() {
    if (isOpen())
        sem_post(m_semaphore);
}

void CNamedMutex::remove(const char* name) {
    sem_unlink(name);
}
