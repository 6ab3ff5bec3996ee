// Precompiled header: the Win32 and standard headers nearly every file includes.
// windows.h alone costs over a second per file; compiled once here it costs almost nothing.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>
