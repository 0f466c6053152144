#include "model/CArchiveReader.h"

namespace {

constexpr std::uint16_t kNullTag = 0x0000;

} // namespace

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

CArchiveReader::Tag CArchiveReader::readOtherTag(std::uint16_t word) {
    Tag tag;
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
    return reference(word);
}

CArchiveReader::Tag CArchiveReader::reference(std::uint32_t index) const {
    if (index == 0 || index >= m_entries.size() || isClassEntry(index))
        throw CArchiveError("reference to no earlier object");
    Tag tag;
    tag.kind = Tag::Kind::Reference;
    tag.objectIndex = index;
    tag.classId = m_entries[index];
    return tag;
}
