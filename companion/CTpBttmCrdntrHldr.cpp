#include "companion/CTpBttmCrdntrHldr.h"

#include "companion/CTpBttmCrdntr.h"

#include <climits>

CTpBttmCrdntrHldr::CTpBttmCrdntrHldr(bool launcherOrder, bool enabled, long long blockDescriptor)
    : m_current(std::make_unique<CTpBttmCrdntrDtchd>()), m_disabled(!enabled),
      m_ownFirst(launcherOrder) {
    if (enabled && blockDescriptor > 0 && blockDescriptor <= INT_MAX) {
        try {
            m_attached =
                std::make_unique<CTpBttmCrdntr>(static_cast<int>(blockDescriptor), m_ownIsProgram);
        } catch (const CTpBttmCrdntr::Failure&) {
            m_attached.reset(); // silent: the program runs without coordination
        }
    }
    if (!m_attached)
        m_current->setPhase(CTpBttmCrdntrDtchd::kFinished);
}

CTpBttmCrdntrHldr::~CTpBttmCrdntrHldr() = default;

int CTpBttmCrdntrHldr::phase() const {
    return m_current->phase();
}

void CTpBttmCrdntrHldr::reportPhase(int before) {
    if (phaseChanged && phase() != before)
        phaseChanged(phase());
}

bool CTpBttmCrdntrHldr::startupCheck() const {
    return phase() == CTpBttmCrdntrDtchd::kStarting ? m_ownFirst : true;
}

int CTpBttmCrdntrHldr::step() {
    const int before = phase();
    if (phase() == CTpBttmCrdntrDtchd::kStarting) {
        if (!m_attached) {
            m_current->setPhase(CTpBttmCrdntrDtchd::kFinished);
        } else {
            m_parked = std::move(m_current);
            m_current = std::move(m_attached);
            m_current->announceTakeover();
        }
    }
    if (phase() == CTpBttmCrdntrDtchd::kRunning && m_current->shouldFinish() && m_parked) {
        m_attached.reset();
        m_current = std::move(m_parked);
        m_current->setPhase(CTpBttmCrdntrDtchd::kFinished);
    }
    const int top = m_current->shouldTakeTop() ? 1 : 0;
    reportPhase(before);
    return top;
}

int CTpBttmCrdntrHldr::activateCheck() {
    if (phase() != CTpBttmCrdntrDtchd::kStarting)
        return step();
    if (!m_attached) {
        m_current->setPhase(CTpBttmCrdntrDtchd::kFinished);
        reportPhase(CTpBttmCrdntrDtchd::kStarting);
        return 0;
    }
    return m_attached->pollTakeover() ? step() : 0;
}

bool CTpBttmCrdntrHldr::timerCheck() {
    switch (phase()) {
    case CTpBttmCrdntrDtchd::kStarting:
        if (m_attached && m_attached->takeoverSeen()) {
            step();
            return true;
        }
        return false;
    case CTpBttmCrdntrDtchd::kRunning:
        return true;
    case CTpBttmCrdntrDtchd::kFinished:
        return !m_disabled;
    default:
        return false;
    }
}
