#include "companion/CTpBttmCrdntr.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The tag text is short; a block without a NUL near its start holds no text of ours.
constexpr std::size_t kLongestText = 64 * 1024;

} // namespace

CTpBttmCrdntr::CTpBttmCrdntr(int blockDescriptor, bool ownIsProgram, const char* mutexName)
    : m_descriptor(blockDescriptor), m_mutex(std::make_unique<CNamedMutex>(mutexName)) {
    if (!m_mutex->isOpen())
        fail("Failed to find buddy mutex");
    if (!m_mutex->lock(kAttachWaitMs))
        fail("Timeout waiting for the mutex release");
    const std::string text = mapAndCopyText();
    m_mutex->unlock();
    CTpBttmShrdFlgs::Offsets offsets;
    if (!CTpBttmShrdFlgs::parseTags(text, m_size, offsets))
        fail("Bad formatted file map string");
    m_flags = std::make_unique<CTpBttmShrdFlgs>(offsets, ownIsProgram, m_base, *m_mutex);
    m_hook = true;
    ++s_hooks;
}

// Called with the mutex held; releases it on failure.
std::string CTpBttmCrdntr::mapAndCopyText() {
    struct stat status {};
    void* mapped = MAP_FAILED;
    if (fstat(m_descriptor, &status) == 0 && status.st_size > 0) {
        m_size = static_cast<std::size_t>(status.st_size);
        mapped = mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_SHARED, m_descriptor, 0);
    }
    if (mapped == MAP_FAILED) {
        m_mutex->unlock();
        fail("Failed to map on view");
    }
    m_base = static_cast<unsigned char*>(mapped);
    const char* text = static_cast<const char*>(mapped);
    return std::string(text, strnlen(text, std::min(m_size, kLongestText)));
}

// A failed attach lets go of everything it was handed, the block's descriptor included.
void CTpBttmCrdntr::fail(const char* reason) {
    if (m_base)
        munmap(m_base, m_size);
    if (m_descriptor >= 0)
        close(m_descriptor);
    throw Failure(reason);
}

CTpBttmCrdntr::~CTpBttmCrdntr() {
    removeHook();
    m_flags.reset();
    m_mutex.reset();
    munmap(m_base, m_size);
    close(m_descriptor);
}

void CTpBttmCrdntr::removeHook() {
    if (!m_hook)
        return;
    m_hook = false;
    --s_hooks;
}

void CTpBttmCrdntr::keyEvent(bool tab, bool escape, bool altDown) {
    if (hookInstalled() && !s_takeoverSeen && altDown && (tab || escape))
        s_takeoverSeen = true;
}

void CTpBttmCrdntr::setOwnOff() {
    m_flags->writeOwn(false);
    m_ownOn = false;
}

void CTpBttmCrdntr::setOwnOn() {
    m_flags->writeOwn(true);
    m_ownOn = true;
}

void CTpBttmCrdntr::announceTakeover() {
    if (m_flags->latch)
        return;
    m_flags->latch = true;
    m_flags->writeTakeover();
}

bool CTpBttmCrdntr::shouldTakeTop() {
    return !m_ownOn && m_flags->partnerOn();
}

bool CTpBttmCrdntr::shouldFinish() {
    return !m_ownOn && !m_flags->partnerOn();
}

bool CTpBttmCrdntr::pollTakeover() {
    if (s_takeoverSeen) {
        removeHook();
        announceTakeover();
    } else if (takeoverSeen()) {
        s_takeoverSeen = true;
        removeHook();
    }
    return s_takeoverSeen;
}

bool CTpBttmCrdntr::partnerOn() {
    return m_flags->partnerOn();
}

bool CTpBttmCrdntr::takeoverSeen() {
    if (m_flags->latch)
        return true;
    m_flags->latch = m_flags->takeoverOn();
    return m_flags->latch;
}
