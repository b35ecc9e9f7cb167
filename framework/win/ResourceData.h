// ResourceData: the bytes of a module's RCDATA resource (a skin package, a form, a test picture linked
// into the program). Resources are mapped with their module and need no release.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace win {

// The resource's bytes as the module holds them (valid while the module is loaded); empty when the
// module has no RCDATA resource of that name.
std::span<const uint8_t> RcDataResource(HMODULE module, const wchar_t* name);
std::span<const uint8_t> RcDataResource(HMODULE module, const char* name);

// A copy of the bytes of an RCDATA resource of this program; empty when it has none of that name.
std::vector<uint8_t> RcDataBytes(const wchar_t* name);
std::vector<uint8_t> RcDataBytes(const char* name);

}  // namespace win
