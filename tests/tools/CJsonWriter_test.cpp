// The streaming JSON writer: the same text a document model prints, and numbers that read back.

#include "tools/CJsonWriter.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

namespace {

using Json = nlohmann::ordered_json;

// Everything the writer put into a temporary stream, and whether finish() succeeded.
template <typename Write> std::string written(Write write, bool* finished = nullptr) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file{std::tmpfile(), std::fclose};
    CJsonWriter out{file.get()};
    write(out);
    const bool ok = out.finish();
    if (finished)
        *finished = ok;
    std::rewind(file.get());
    std::string text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;)
        text.append(chunk, n);
    return text;
}

TEST(CJsonWriterTest, LaysOutNestedContainersAsAPrettyPrinterDoes) {
    const std::string text = written([](CJsonWriter& out) {
        out.beginObject();
        out.key("name");
        out.string("a \"quoted\"\\ line\nwith\ttab and \x01 bell");
        out.key("empty list");
        out.beginArray();
        out.endArray();
        out.key("empty object");
        out.beginObject();
        out.endObject();
        out.key("list");
        out.beginArray();
        out.integer(-3);
        out.boolean(true);
        out.null();
        out.beginObject();
        out.key("inner");
        out.beginArray();
        out.integer(65535);
        out.endArray();
        out.endObject();
        out.endArray();
        out.key("flag");
        out.boolean(false);
        out.endObject();
    });
    const Json expected = {{"name", "a \"quoted\"\\ line\nwith\ttab and \x01 bell"},
                           {"empty list", Json::array()},
                           {"empty object", Json::object()},
                           {"list", {-3, true, nullptr, {{"inner", {65535}}}}},
                           {"flag", false}};
    EXPECT_EQ(text, expected.dump(2) + "\n");
}

TEST(CJsonWriterTest, NumbersReadBackExactlyAndStayFloatingPoint) {
    const double values[] = {0.0,    -0.0,      1.0,        100.0,
                             0.1,    1.0 / 3.0, -2.5e-7,    1e300,
                             5e-324, 1e16,      123456.789, std::numeric_limits<double>::max()};
    const std::string text = written([&](CJsonWriter& out) {
        out.beginArray();
        for (const double value : values)
            out.number(value);
        out.number(std::nan(""));
        out.number(std::numeric_limits<double>::infinity());
        out.endArray();
    });
    const Json read = Json::parse(text);
    ASSERT_EQ(read.size(), std::size(values) + 2);
    for (std::size_t i = 0; i < std::size(values); ++i) {
        EXPECT_TRUE(read[i].is_number_float()) << read[i];
        EXPECT_EQ(read[i].get<double>(), values[i]);
        EXPECT_EQ(std::signbit(read[i].get<double>()), std::signbit(values[i]));
    }
    EXPECT_TRUE(read[std::size(values)].is_null());
    EXPECT_TRUE(read[std::size(values) + 1].is_null());
}

TEST(CJsonWriterTest, ALargeDocumentArrivesWholeAndAFailedStreamIsReported) {
    const std::string text = written([](CJsonWriter& out) {
        out.beginArray();
        for (int i = 0; i < 50000; ++i)
            out.string("item " + std::to_string(i));
        out.endArray();
    });
    const Json read = Json::parse(text);
    ASSERT_EQ(read.size(), 50000u);
    EXPECT_EQ(read.back(), "item 49999");

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> full{std::fopen("/dev/full", "w"), std::fclose};
    ASSERT_TRUE(full);
    CJsonWriter out{full.get()};
    out.beginArray();
    for (int i = 0; i < 20000; ++i)
        out.string("item");
    out.endArray();
    EXPECT_FALSE(out.finish());
}

} // namespace
