#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class CNamedMutex;

// The three bytes of the shared block this program deals with: its own flag, the partner's
// flag and the take-over byte. Every access holds the named mutex for up to a second and goes
// ahead when the wait runs out.
class CTpBttmShrdFlgs {
public:
    static constexpr char kOn = '1';
    static constexpr char kOff = '0';
    static constexpr int kAccessWaitMs = 1000;

    struct Offsets {
        std::int32_t program = 0;
        std::int32_t companion = 0;
        std::int32_t takeover = 0;
    };

    // Reads the tag text at the block's start. False for a bad text, and for an offset that
    // does not lie inside a block of blockSize bytes: the offsets come from another process
    // and are never trusted.
    static bool parseTags(std::string_view text, std::size_t blockSize, Offsets& offsets);

    CTpBttmShrdFlgs(const Offsets& offsets, bool ownIsProgram, unsigned char* base,
                    CNamedMutex& mutex);

    void writeOwn(bool on) { write(m_ownOffset, on); }
    void writeTakeover() { write(m_takeoverOffset, true); }
    bool partnerOn() const { return read(m_partnerOffset); }
    bool takeoverOn() const { return read(m_takeoverOffset); }

    // The take-over latch: once the take-over is seen or announced, it stays so.
    bool latch = false;

private:
    bool read(std::int32_t offset) const;
    void write(std::int32_t offset, bool on);

    std::int32_t m_ownOffset;
    std::int32_t m_partnerOffset;
    std::int32_t m_takeoverOffset;
    unsigned char* m_base;
    CNamedMutex& m_mutex;
};
