#include "model/CArchiveWriter.h"

#include <algorithm>
#include <bit>

namespace {

// The size of the pieces a stream hands over.
constexpr std::size_t kPieceBytes = 1 << 20;

constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000u;

} // namespace

// The bytes of an unsigned value, lowest first, appended at once.
template <typename Unsigned> void CArchiveWriter::writeLittleEndian(Unsigned value) {
    char bytes[sizeof value];
    for (std::size_t i = 0; i < sizeof value; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    m_bytes.append(bytes, sizeof value);
}

void CArchiveWriter::writeByte(std::uint8_t value) {
    m_bytes.push_back(static_cast<char>(value));
}

void CArchiveWriter::writeWord(std::uint16_t value) {
    writeLittleEndian(value);
}

void CArchiveWriter::writeDword(std::uint32_t value) {
    writeLittleEndian(value);
}

void CArchiveWriter::writeInt32(std::int32_t value) {
    writeDword(static_cast<std::uint32_t>(value));
}

void CArchiveWriter::writeDouble(double value) {
    writeLittleEndian(std::bit_cast<std::uint64_t>(value));
}

void CArchiveWriter::writeCount(std::uint32_t count) {
    if (count < 0xFFFF) {
        writeWord(static_cast<std::uint16_t>(count));
        return;
    }
    writeWord(0xFFFF);
    writeDword(count);
}

void CArchiveWriter::writeString(const std::string& text) {
    const std::size_t length = text.size();
    if (length < 0xFF) {
        writeByte(static_cast<std::uint8_t>(length));
    } else if (length < 0xFFFE) {
        writeByte(0xFF);
        writeWord(static_cast<std::uint16_t>(length));
    } else {
        writeByte(0xFF);
        writeWord(0xFFFF);
        writeDword(static_cast<std::uint32_t>(length));
    }
    m_bytes.append(text);
}

void CArchiveWriter::reserve(std::size_t bytes) {
    m_bytes.reserve(m_sink ? std::min(bytes, kPieceBytes + 4096) : bytes);
}

void CArchiveWriter::streamTo(std::function<bool(std::string_view)> sink) {
    m_sink = std::move(sink);
    handOver();
}

bool CArchiveWriter::finishStream() {
    handOver();
    return !m_sinkFailed;
}

void CArchiveWriter::handOver() {
    if (m_sink && !m_sinkFailed && !m_bytes.empty())
        m_sinkFailed = !m_sink(m_bytes);
    m_bytes.clear();
}

// Objects are small, so each one's start is where a full piece goes out.
void CArchiveWriter::beginObject(std::string_view className, std::uint16_t schema) {
    if (m_sink && m_bytes.size() >= kPieceBytes)
        handOver();
    const auto known = m_classIndex.find(className);
    if (known == m_classIndex.end()) {
        writeWord(kNewClassTag);
        writeWord(schema);
        writeWord(static_cast<std::uint16_t>(className.size()));
        m_bytes.append(className);
        m_classIndex.emplace(std::string(className), m_nextIndex++);
    } else if (known->second < kBigObjectTag) {
        writeWord(static_cast<std::uint16_t>(kClassTag | known->second));
    } else {
        writeWord(kBigObjectTag);
        writeDword(kBigClassTag | known->second);
    }
    ++m_nextIndex; // the object's own index
}
