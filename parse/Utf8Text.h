#pragma once

#include <string>
#include <string_view>

// Plan texts are bytes. Old files hold Latin-1, newer ones UTF-8; a text that is not valid
// UTF-8 is taken as Latin-1 wherever it must become UTF-8 (on screen, in JSON).
namespace utf8text {

bool isValidUtf8(std::string_view bytes);

// The bytes themselves when they are valid UTF-8, else their Latin-1 reading in UTF-8.
std::string asUtf8(const std::string& bytes);

// The text in UTF-8 with its letter case folded the Unicode way and composed, so that names
// compare alike whatever their case: "Ärger" and "ärger", "STRASSE" and "straße".
std::string caseFolded(const std::string& bytes);

} // namespace utf8text
