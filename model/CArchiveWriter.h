#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

// Writes the object archive byte stream: little-endian primitives, counts and strings with
// their escapes, and object tags that number classes and objects with one counter.
class CArchiveWriter {
public:
    void writeByte(std::uint8_t value);
    void writeWord(std::uint16_t value);
    void writeInt32(std::int32_t value);
    void writeDword(std::uint32_t value);
    void writeDouble(double value);
    void writeCount(std::uint32_t count);
    void writeString(const std::string& text);
    // The tag of a new object of the class; the class record comes first on its first use.
    void beginObject(std::string_view className, std::uint16_t schema);
    // Room for this many bytes in all (or a piece, when streaming), so that a large plan is
    // not copied while it grows.
    void reserve(std::size_t bytes);

    // From now on the bytes go to the sink a piece at a time instead of staying here; a sink
    // that returns false (a failed write) gets nothing more.
    void streamTo(std::function<bool(std::string_view)> sink);
    // Hands the last piece to the sink; false when any piece could not be handed over.
    bool finishStream();

    const std::string& bytes() const { return m_bytes; }
    std::string takeBytes() { return std::move(m_bytes); }

private:
    template <typename Unsigned> void writeLittleEndian(Unsigned value);
    void handOver();

    std::string m_bytes;
    std::function<bool(std::string_view)> m_sink;
    bool m_sinkFailed = false;
    std::map<std::string, std::uint32_t, std::less<>> m_classIndex;
    std::uint32_t m_nextIndex = 1;
};
