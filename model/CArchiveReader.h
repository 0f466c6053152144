#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Thrown for any byte sequence that is not a well-formed archive of the expected objects.
class CArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the object archive byte stream without trusting it: every read is bounds-checked,
// counts larger than the bytes left are refused, and object tags are checked against the
// classes and objects read so far.
class CArchiveReader {
public:
    // A class the reader accepts: its name and the only schema allowed for it.
    struct KnownClass {
        std::string_view name;
        std::uint16_t schema;
    };

    struct Tag {
        enum class Kind { Null, NewObject, Reference };
        Kind kind = Kind::Null;
        int classId = -1; // NewObject, Reference: the object's class, an index of the known classes
        std::uint32_t objectIndex = 0;
    };

    // At most 127 known classes: the object table keeps a class in seven bits.
    CArchiveReader(std::string_view bytes, std::vector<KnownClass> known)
        : m_bytes(bytes), m_known(std::move(known)) {}

    // Inline: a plan's days are read a few bytes at a time, millions of them.
    std::uint8_t readByte() {
        need(1);
        return static_cast<std::uint8_t>(m_bytes[m_pos++]);
    }
    std::uint16_t readWord() { return static_cast<std::uint16_t>(readLittleEndian(2)); }
    std::uint32_t readDword() { return static_cast<std::uint32_t>(readLittleEndian(4)); }
    std::int32_t readInt32() { return static_cast<std::int32_t>(readDword()); }
    double readDouble() {
        const std::uint64_t bits = readLittleEndian(8);
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // A count of entries, each taking at least minBytesEach more bytes.
    std::uint32_t readCount(std::size_t minBytesEach = 1);
    std::string readString();

    // Reads an object tag. A class record of an unknown class or with another schema is damage.
    Tag readTag() {
        const std::uint16_t word = readWord();
        // By far the most common: a new object of a class already read, with a short tag, or
        // with a long one once the archive holds more objects than a short tag can number.
        std::uint32_t classIndex = word & ~kClassTag;
        if (word == kBigObjectTag) {
            const std::uint32_t big = readDword();
            if ((big & kBigClassTag) == 0)
                return reference(big);
            classIndex = big & ~kBigClassTag;
        } else if ((word & kClassTag) == 0 || word == kNewClassTag) {
            return readOtherTag(word);
        }
        Tag tag;
        newObject(classIndex, tag);
        return tag;
    }

    std::size_t remaining() const { return m_bytes.size() - m_pos; }
    bool atEnd() const { return m_pos == m_bytes.size(); }

private:
    // The next count bytes, least significant first; compilers make this one load.
    std::uint64_t readLittleEndian(std::size_t count) {
        need(count);
        std::uint64_t value = 0;
        for (std::size_t i = count; i-- > 0;)
            value = (value << 8) | static_cast<std::uint8_t>(m_bytes[m_pos + i]);
        m_pos += count;
        return value;
    }
    void need(std::size_t count) const {
        if (count > remaining())
            throw CArchiveError("unexpected end of archive");
    }
    static constexpr std::uint16_t kNewClassTag = 0xFFFF;
    static constexpr std::uint16_t kClassTag = 0x8000;
    static constexpr std::uint16_t kBigObjectTag = 0x7FFF;
    static constexpr std::uint32_t kBigClassTag = 0x80000000u;
    // A null tag, a class record or a short reference.
    Tag readOtherTag(std::uint16_t word);
    Tag reference(std::uint32_t index) const;
    std::uint32_t newObject(std::uint32_t classIndex, Tag& tag) {
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

    static constexpr std::uint8_t kClassFlag = 0x80;
    bool isClassEntry(std::uint32_t index) const {
        return index < m_entries.size() && (m_entries[index] & kClassFlag) != 0;
    }
    int classIdOf(std::uint32_t classIndex) const {
        return static_cast<int>(m_entries[classIndex] & ~kClassFlag);
    }

    std::string_view m_bytes;
    std::size_t m_pos = 0;
    std::vector<KnownClass> m_known;
    // One byte per index (0 is null): a class record holds kClassFlag with its known-class id,
    // an object its known-class id. Small, since a plan holds hundreds of thousands of objects
    // and a damaged file may hold one in every second byte.
    std::vector<std::uint8_t> m_entries{0};
};
