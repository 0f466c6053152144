#include "model/CArchiveReader.h"

#include <bit>
#include <cstring>

namespace {

constexpr std::uint16_t kNullTag = 0x0000;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000u;

} // namespace

void CArchiveReader::need(std::size_t count) const {
    if (count > remaining())
        throw CArchiveError("unexpected end of archive");
}

std::uint8_t CArchiveReader::readByte() {
    need(1);
    return static_cast<std::uint8_t>(m_bytes[m_pos++]);
}

std::uint16_t CArchiveReader::readWord() {
    need(2);
    const auto lo = static_cast<std::uint8_t>(m_bytes[m_pos]);
    const auto hi = static_cast<std::uint8_t>(m_bytes[m_pos + 1]);
    m_pos += 2;
    return static_cast<std::uint16_t>(lo | (hi << 8));
}

std::uint32_t CArchiveReader::readDword() {
    if constexpr (std::endian::native == std::endian::little) {
        need(4);
        std::uint32_t value = 0;
        std::memcpy(&value, m_bytes.data() + m_pos, 4);
        m_pos += 4;
        return value;
    }
    const std::uint32_t lo = readWord();
    const std::uint32_t hi = readWord();
    return lo | (hi << 16);
}

std::int32_t CArchiveReader::readInt32() {
    return static_cast<std::int32_t>(readDword());
}

double CArchiveReader::readDouble() {
    if constexpr (std::endian::native == std::endian::little) {
        need(8);
        double value = 0;
        std::memcpy(&value, m_bytes.data() + m_pos, 8);
        m_pos += 8;
        return value;
    }
    const std::uint64_t lo = readDword();
    const std::uint64_t hi = readDword();
    const std::uint64_t bits = lo | (hi << 32);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint32_t CArchiveReader::readCount(std::size_t minBytesEach) {
    std::uint32_t count = readWord();
    if (count == 0xFFFF)
        count = readDword();
    // A count the rest of the file cannot hold is damage, not a reason to allocate.
    if (minBytesEach > 0 && count > remaining() / minBytesEach)
        throw CArchiveError("count exceeds the archive");
    return count;
}

std::string CArchiveReader::readString() {
    std::uint32_t length = readByte();
    if (length == 0xFF) {
        length = readWord();
        if (length == 0xFFFE)
            throw CArchiveError("wide strings are not used by plan files");
        if (length == 0xFFFF)
            length = readDword();
    }
    need(length);
    std::string text(m_bytes.substr(m_pos, length));
    m_pos += length;
    return text;
}

bool CArchiveReader::isClassEntry(std::uint32_t index) const {
    return index < m_entries.size() && (m_entries[index] & kClassFlag) != 0;
}

int CArchiveReader::classIdOf(std::uint32_t classIndex) const {
    return static_cast<int>(m_entries[classIndex] & ~kClassFlag);
}

std::uint32_t CArchiveReader::newObject(std::uint32_t classIndex, Tag& tag) {
    if (!isClassEntry(classIndex))
        throw CArchiveError("object of an unknown class");
    if (m_entries.size() >= 0x7FFFFFFFu)
        throw CArchiveError("too many objects");
    tag.kind = Tag::Kind::NewObject;
    tag.classId = classIdOf(classIndex);
    tag.objectIndex = static_cast<std::uint32_t>(m_entries.size());
    m_entries.push_back(static_cast<std::uint8_t>(tag.classId));
    return tag.objectIndex;
}

CArchiveReader::Tag CArchiveReader::readTag() {
    Tag tag;
    const std::uint16_t word = readWord();
    if (word == kNullTag)
        return tag;
    if (word == kNewClassTag) {
        const std::uint16_t schema = readWord();
        const std::uint16_t nameLength = readWord();
        need(nameLength);
        const std::string_view name = m_bytes.substr(m_pos, nameLength);
        m_pos += nameLength;
        std::uint32_t id = 0;
        while (id < m_known.size() && m_known[id].name != name)
            ++id;
        if (id == m_known.size() || m_known[id].schema != schema)
            throw CArchiveError("unknown class or wrong schema");
        const auto classIndex = static_cast<std::uint32_t>(m_entries.size());
        m_entries.push_back(static_cast<std::uint8_t>(kClassFlag | id));
        newObject(classIndex, tag);
        return tag;
    }
    std::uint32_t index = word;
    bool isClass = (word & kClassTag) != 0;
    if (isClass) {
        index = word & ~kClassTag;
    } else if (word == kBigObjectTag) {
        const std::uint32_t big = readDword();
        isClass = (big & kBigClassTag) != 0;
        index = big & ~kBigClassTag;
    }
    if (isClass) {
        newObject(index, tag);
        return tag;
    }
    if (index == 0 || index >= m_entries.size() || isClassEntry(index))
        throw CArchiveError("reference to no earlier object");
    tag.kind = Tag::Kind::Reference;
    tag.objectIndex = index;
    tag.classId = m_entries[index];
    return tag;
}
