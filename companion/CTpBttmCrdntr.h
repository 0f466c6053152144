#pragma once

#include "companion/CNamedMutex.h"
#include "companion/CTpBttmCrdntrDtchd.h"
#include "companion/CTpBttmShrdFlgs.h"

#include <memory>
#include <stdexcept>
#include <string>

// The coordinator attached to the companion's shared block: it maps the block it was handed,
// reads the offsets of the three bytes, and answers from them. Construction fails with
// CTpBttmCrdntr::Failure; the reason is internal and never shown.
class CTpBttmCrdntr : public CTpBttmCrdntrDtchd {
public:
    struct Failure : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    static constexpr int kAttachWaitMs = 10000;

    CTpBttmCrdntr(int blockDescriptor, bool ownIsProgram = true,
                  const char* mutexName = CNamedMutex::kName);
    ~CTpBttmCrdntr() override;

    void setOwnOff() override;
    void setOwnOn() override;
    void announceTakeover() override;
    bool shouldTakeTop() override;
    int phase() const override { return kRunning; }
    bool shouldFinish() override;
    bool pollTakeover() override;
    bool partnerOn() override;
    bool takeoverSeen() override;

    // The process-wide take-over-seen flag that the keyboard hook sets (Alt+Tab, Alt+Esc
    // while a hook is installed) and pollTakeover reads.
    static bool processTakeoverSeen() { return s_takeoverSeen; }
    static bool hookInstalled() { return s_hooks > 0; }
    // The keyboard hook's report of a key: sets the flag for Alt+Tab and Alt+Esc.
    static void keyEvent(bool tab, bool escape, bool altDown);
    // Only for a fresh start in tests: the flag is never cleared in a run.
    static void resetProcessState() { s_takeoverSeen = false; }

private:
    std::string mapAndCopyText();
    [[noreturn]] void fail(const char* reason);
    void removeHook();

    int m_descriptor;
    unsigned char* m_base = nullptr;
    std::size_t m_size = 0;
    std::unique_ptr<CNamedMutex> m_mutex;
    bool m_ownOn = true;
    bool m_hook = false;
    std::unique_ptr<CTpBttmShrdFlgs> m_flags;

    static inline bool s_takeoverSeen = false;
    static inline int s_hooks = 0;
};
