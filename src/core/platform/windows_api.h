#pragma once

// The Win32 API as QORA's Windows branches use it: without the min/max macros, which break std::min and
// std::numeric_limits, and without the rarely used parts of <windows.h>. Include it inside `#ifdef _WIN32`.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif
