#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Writes one JSON document as it goes, two spaces an indent, so that a large report never
// exists in memory as a whole. Strings must already be UTF-8. The caller pairs the begins
// and ends and puts a key before each value inside an object; nothing checks that.
class CJsonWriter {
public:
    explicit CJsonWriter(std::FILE* out);
    CJsonWriter(const CJsonWriter&) = delete;
    CJsonWriter& operator=(const CJsonWriter&) = delete;

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view name);

    void string(std::string_view text);
    // Shortest text that reads back to the same double, always with a fraction or an
    // exponent; null when not finite.
    void number(double value);
    void integer(std::int64_t value);
    void boolean(bool value);
    void null();

    // Ends the document with a line break and writes out what is buffered; false when the
    // stream has failed at any point.
    bool finish();

private:
    void beforeValue();
    void open(char bracket);
    void close(char bracket);
    void lineBreak();
    void quoted(std::string_view text);
    void flushIfFull();

    std::FILE* m_out;
    std::string m_buffer;
    std::vector<std::uint32_t> m_counts; // values written so far in each open container
    bool m_afterKey = false;
};
