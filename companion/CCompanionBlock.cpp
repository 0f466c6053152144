#include "companion/CCompanionBlock.h"

#include "companion/CNamedMutex.h"

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

CCompanionBlock::CCompanionBlock(const std::string& text) {
    const std::string tags = text.empty() ? "<qlnPos/>64<ecnPos/>65<AltTab/>66<" : text;
    if (tags.size() >= static_cast<std::size_t>(kProgramOffset))
        return;
    m_descriptor = memfd_create("qln-ecn-coordination", 0); // inherited by the program on purpose
    if (m_descriptor < 0)
        return;
    void* mapped = MAP_FAILED;
    if (ftruncate(m_descriptor, kSize) == 0)
        mapped = mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_SHARED, m_descriptor, 0);
    if (mapped == MAP_FAILED) {
        close(m_descriptor);
        m_descriptor = -1;
        return;
    }
    m_base = static_cast<unsigned char*>(mapped);
    std::memcpy(m_base, tags.c_str(), tags.size() + 1);
    m_base[kProgramOffset] = m_base[kCompanionOffset] = m_base[kTakeoverOffset] = '0';
    CNamedMutex::remove(); // a holder that died may have left it taken
    CNamedMutex created;
}

CCompanionBlock::~CCompanionBlock() {
    if (m_base)
        munmap(m_base, kSize);
    if (m_descriptor >= 0)
        close(m_descriptor);
}

int CCompanionBlock::duplicate() const {
    return m_descriptor < 0 ? -1 : dup(m_descriptor);
}

char CCompanionBlock::byteAt(int offset) const {
    CNamedMutex mutex;
    return mutex.accessWithin(kAccessWaitMs, [&] { return static_cast<char>(m_base[offset]); });
}

void CCompanionBlock::setByte(int offset, char value) {
    CNamedMutex mutex;
    mutex.accessWithin(kAccessWaitMs, [&] { m_base[offset] = static_cast<unsigned char>(value); });
}
