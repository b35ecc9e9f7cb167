#include "framework/win/ResourceData.h"

namespace win {

namespace {

std::span<const uint8_t> BytesOf(HMODULE module, HRSRC found) {
    if (found == nullptr) return {};
    HGLOBAL loaded = ::LoadResource(module, found);
    const auto* bytes = static_cast<const uint8_t*>(loaded != nullptr ? ::LockResource(loaded) : nullptr);
    if (bytes == nullptr) return {};
    return {bytes, ::SizeofResource(module, found)};
}

std::vector<uint8_t> Copy(std::span<const uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

}  // namespace

std::span<const uint8_t> RcDataResource(HMODULE module, const wchar_t* name) {
    return BytesOf(module, ::FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */));
}

std::span<const uint8_t> RcDataResource(HMODULE module, const char* name) {
    return BytesOf(module, ::FindResourceA(module, name, MAKEINTRESOURCEA(10) /* RT_RCDATA */));
}

std::vector<uint8_t> RcDataBytes(const wchar_t* name) { return Copy(RcDataResource(nullptr, name)); }

std::vector<uint8_t> RcDataBytes(const char* name) { return Copy(RcDataResource(nullptr, name)); }

}  // namespace win
