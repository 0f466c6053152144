#pragma once

#include "helperlib/initQLN.h"

#include <string>

// Where the library's own messages go: the host's sink when one is installed, stderr otherwise,
// so that no message is ever dropped.
namespace helperlib {

void installMessageSink(QlnMessageSinkFn sink, void* context);
void showMessage(const std::string& text);

} // namespace helperlib
