#pragma once

#include <QString>

#include <string>

// Plan texts are bytes: shown as UTF-8 when they are valid UTF-8, else as Latin-1, so that no
// byte of an old file turns into a replacement character.
namespace plantext {

QString toDisplay(const std::string& bytes);
std::string fromDisplay(const QString& text);

} // namespace plantext
