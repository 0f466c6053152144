#pragma once

#include <string>

// The companion's side of the window coordination, as far as this system needs it: it creates
// the named mutex afresh and the shared block (an inheritable memory file with the tag text and
// the three bytes, all off), and flips or reads the bytes. The launcher stand-in and the tests
// play the companion with it.
class CCompanionBlock {
public:
    static constexpr int kProgramOffset = 64;
    static constexpr int kCompanionOffset = 65;
    static constexpr int kTakeoverOffset = 66;
    static constexpr int kSize = 128;
    static constexpr int kAccessWaitMs = 1000;

    // text: the tag text to write at the block's start; empty for the usual one.
    explicit CCompanionBlock(const std::string& text = std::string());
    ~CCompanionBlock();
    CCompanionBlock(const CCompanionBlock&) = delete;
    CCompanionBlock& operator=(const CCompanionBlock&) = delete;

    bool isValid() const { return m_descriptor >= 0; }
    // The descriptor to hand to the program; it stays open across exec.
    int descriptor() const { return m_descriptor; }
    // A descriptor of its own for a coordinator in this process, which closes it.
    int duplicate() const;
    char byteAt(int offset) const;
    void setByte(int offset, char value);

private:
    int m_descriptor = -1;
    unsigned char* m_base = nullptr;
};
