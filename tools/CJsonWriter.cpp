#include "tools/CJsonWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;

} // namespace

CJsonWriter::CJsonWriter(std::FILE* out) : m_out(out) {
    m_buffer.reserve(kBufferBytes + 1024);
}

void CJsonWriter::beginObject() {
    open('{');
}

void CJsonWriter::endObject() {
    close('}');
}

void CJsonWriter::beginArray() {
    open('[');
}

void CJsonWriter::endArray() {
    close(']');
}

void CJsonWriter::key(std::string_view name) {
    beforeValue();
    quoted(name);
    m_buffer += ": ";
    m_afterKey = true;
}

void CJsonWriter::string(std::string_view text) {
    beforeValue();
    quoted(text);
}

void CJsonWriter::number(double value) {
    if (!std::isfinite(value)) {
        null();
        return;
    }
    beforeValue();
    char text[32];
    char* end = std::to_chars(text, text + sizeof text, value).ptr;
    m_buffer.append(text, end);
    // An integral value keeps a fraction so that it reads back as a floating-point number.
    if (std::none_of(text, end, [](char c) { return c == '.' || c == 'e'; }))
        m_buffer += ".0";
}

void CJsonWriter::integer(std::int64_t value) {
    beforeValue();
    char text[24];
    m_buffer.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void CJsonWriter::boolean(bool value) {
    beforeValue();
    m_buffer += value ? "true" : "false";
}

void CJsonWriter::null() {
    beforeValue();
    m_buffer += "null";
}

bool CJsonWriter::finish() {
    m_buffer += '\n';
    std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out);
    m_buffer.clear();
    return std::fflush(m_out) == 0 && !std::ferror(m_out);
}

// Every key and value starts here, so this is where a full buffer goes out.
void CJsonWriter::beforeValue() {
    flushIfFull();
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_counts.empty())
        return;
    if (m_counts.back()++ > 0)
        m_buffer += ',';
    lineBreak();
}

void CJsonWriter::open(char bracket) {
    beforeValue();
    m_buffer += bracket;
    m_counts.push_back(0);
}

void CJsonWriter::close(char bracket) {
    const bool empty = m_counts.back() == 0;
    m_counts.pop_back();
    if (!empty)
        lineBreak();
    m_buffer += bracket;
}

void CJsonWriter::lineBreak() {
    m_buffer += '\n';
    m_buffer.append(2 * m_counts.size(), ' ');
}

void CJsonWriter::quoted(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    m_buffer += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            m_buffer += '\\';
            m_buffer += c;
        } else if (byte >= 0x20) {
            m_buffer += c;
        } else if (c == '\n') {
            m_buffer += "\\n";
        } else if (c == '\r') {
            m_buffer += "\\r";
        } else if (c == '\t') {
            m_buffer += "\\t";
        } else {
            m_buffer += "\\u00";
            m_buffer += kHex[byte >> 4];
            m_buffer += kHex[byte & 0xF];
        }
    }
    m_buffer += '"';
}

void CJsonWriter::flushIfFull() {
    if (m_buffer.size() < kBufferBytes)
        return;
    std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out);
    m_buffer.clear();
}
