#pragma once

#include <cstdint>
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

    std::uint8_t readByte();
    std::uint16_t readWord();
    std::uint32_t readDword();
    std::int32_t readInt32();
    double readDouble();
    // A count of entries, each taking at least minBytesEach more bytes.
    std::uint32_t readCount(std::size_t minBytesEach = 1);
    std::string readString();

    // Reads an object tag. A class record of an unknown class or with another schema is damage.
    Tag readTag();

    std::size_t remaining() const { return m_bytes.size() - m_pos; }
    bool atEnd() const { return m_pos == m_bytes.size(); }

private:
    void need(std::size_t count) const;
    std::uint32_t newObject(std::uint32_t classIndex, Tag& tag);

    static constexpr std::uint8_t kClassFlag = 0x80;
    bool isClassEntry(std::uint32_t index) const;
    int classIdOf(std::uint32_t classIndex) const;

    std::string_view m_bytes;
    std::size_t m_pos = 0;
    std::vector<KnownClass> m_known;
    // One byte per index (0 is null): a class record holds kClassFlag with its known-class id,
    // an object its known-class id. Small, since a plan holds hundreds of thousands of objects
    // and a damaged file may hold one in every second byte.
    std::vector<std::uint8_t> m_entries{0};
};
