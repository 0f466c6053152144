#pragma once

// The windows' side of the helper library's start-up (see WindowLibrary.cpp).
namespace helperlib {

// The splash window of the interactive program, once per run; nothing in a host without
// widgets or with QLN_NO_SPLASH set.
void openSplashOnce();

} // namespace helperlib
