#pragma once

// The coordinator without a partner: it only knows whether coordination is still starting
// (phase 0) or finished (phase 2). The attached coordinator derives from it and answers the
// same questions from the shared block.
class CTpBttmCrdntrDtchd {
public:
    static constexpr int kStarting = 0;
    static constexpr int kRunning = 1;
    static constexpr int kFinished = 2;

    CTpBttmCrdntrDtchd() = default;
    CTpBttmCrdntrDtchd(const CTpBttmCrdntrDtchd&) = delete;
    CTpBttmCrdntrDtchd& operator=(const CTpBttmCrdntrDtchd&) = delete;

    virtual void setOwnOff() {}
    virtual void setOwnOn() {}
    virtual void announceTakeover() {}
    virtual bool shouldTakeTop() { return false; }
    virtual ~CTpBttmCrdntrDtchd() = default;
    virtual int phase() const { return m_phase; }
    virtual bool shouldFinish() {
        m_phase = kFinished;
        return true;
    }
    virtual bool pollTakeover() {
        m_phase = kFinished;
        return true;
    }
    virtual bool partnerOn() { return false; }
    virtual bool takeoverSeen() { return false; }

    void setPhase(int phase) { m_phase = phase; }

private:
    int m_phase = kStarting;
};
