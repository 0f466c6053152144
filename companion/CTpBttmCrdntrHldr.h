#pragma once

#include <functional>
#include <memory>

class CTpBttmCrdntrDtchd;

// Keeps this program's window above or below the companion's while both start: it owns the
// current coordinator (detached while starting or finished, attached while running), the one
// still waiting to take over, and the detached one parked meanwhile. It decides; the main
// frame moves the window.
class CTpBttmCrdntrHldr {
public:
    // launcherOrder: this program was named first and starts in front; enabled: both switches
    // were given; blockDescriptor: the shared block's descriptor (0 for none).
    CTpBttmCrdntrHldr(bool launcherOrder, bool enabled, long long blockDescriptor);
    ~CTpBttmCrdntrHldr();
    CTpBttmCrdntrHldr(const CTpBttmCrdntrHldr&) = delete;
    CTpBttmCrdntrHldr& operator=(const CTpBttmCrdntrHldr&) = delete;

    CTpBttmCrdntrDtchd& current() { return *m_current; }
    bool hasAttached() const { return m_attached != nullptr; }
    bool disabled() const { return m_disabled; }
    bool ownFirst() const { return m_ownFirst; }
    int phase() const;

    bool startupCheck() const;
    // 1 when the window should go on top.
    int step();
    int activateCheck();
    bool timerCheck();

    // Told of every phase change, for tracing.
    std::function<void(int phase)> phaseChanged;

private:
    void reportPhase(int before);

    std::unique_ptr<CTpBttmCrdntrDtchd> m_current;
    std::unique_ptr<CTpBttmCrdntrDtchd> m_attached;
    std::unique_ptr<CTpBttmCrdntrDtchd> m_parked;
    bool m_disabled;
    bool m_ownIsProgram = true;
    bool m_ownFirst;
};
