#include "framework/controls/ObjectInstance.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Each instance is one slot: the thunk code followed by the bound method. The
// thunk replaces the window-handle argument by the slot's address and jumps to
// SlotWndProc, which finds the method there (the method knows its own window).
#if defined(_M_X64) || defined(__x86_64__)
// mov rcx, imm64 (slot) ; mov rax, imm64 (SlotWndProc) ; jmp rax
constexpr uint8_t kMovRcx[] = {0x48, 0xB9};
constexpr uint8_t kMovRax[] = {0x48, 0xB8};
constexpr uint8_t kJmpRax[] = {0xFF, 0xE0};
constexpr size_t kCodeSize = sizeof kMovRcx + 8 + sizeof kMovRax + 8 + sizeof kJmpRax;
#elif defined(_M_IX86) || defined(__i386__)
// mov dword [esp+4], imm32 (slot) ; jmp rel32 (SlotWndProc)
constexpr uint8_t kMovArg0[] = {0xC7, 0x44, 0x24, 0x04};
constexpr uint8_t kJmpRel[] = {0xE9};
constexpr size_t kCodeSize = sizeof kMovArg0 + 4 + sizeof kJmpRel + 4;
#else
#error "object instances need an i686 or x86_64 target"
#endif

constexpr size_t kCodeAreaSize = 32;
static_assert(kCodeSize <= kCodeAreaSize);
constexpr size_t kBlockSize = 4096;

struct Slot {
    uint8_t Code[kCodeAreaSize];
    TWndMethod Method;
    Slot* NextFree;
};

constexpr size_t kSlotsPerBlock = kBlockSize / sizeof(Slot);

Slot* gFreeSlots = nullptr;
int gLiveCount = 0;

LRESULT CALLBACK SlotWndProc(HWND slotAddress, UINT msg, WPARAM wParam, LPARAM lParam) {
    Slot* slot = reinterpret_cast<Slot*>(slotAddress);
    TMessage message{msg, wParam, lParam, 0};
    try {
        slot->Method(message);
    } catch (...) {
        // Last resort: unwinding through the system's frames is undefined.
    }
    return message.Result;
}

void WriteCode(Slot& slot) {
    uint8_t* p = slot.Code;
    auto put = [&p](const void* bytes, size_t count) {
        std::memcpy(p, bytes, count);
        p += count;
    };
#if defined(_M_X64) || defined(__x86_64__)
    const uint64_t self = reinterpret_cast<uint64_t>(&slot);
    const uint64_t target = reinterpret_cast<uint64_t>(&SlotWndProc);
    put(kMovRcx, sizeof kMovRcx);
    put(&self, sizeof self);
    put(kMovRax, sizeof kMovRax);
    put(&target, sizeof target);
    put(kJmpRax, sizeof kJmpRax);
#else
    const uint32_t self = reinterpret_cast<uint32_t>(&slot);
    put(kMovArg0, sizeof kMovArg0);
    put(&self, sizeof self);
    put(kJmpRel, sizeof kJmpRel);
    const int32_t relative =
        static_cast<int32_t>(reinterpret_cast<intptr_t>(&SlotWndProc) - reinterpret_cast<intptr_t>(p + 4));
    put(&relative, sizeof relative);
#endif
}

bool AddBlock() {
    void* block = VirtualAlloc(nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    if (!block) return false;
    Slot* slots = static_cast<Slot*>(block);
    for (size_t i = 0; i < kSlotsPerBlock; ++i) {
        new (&slots[i]) Slot{};
        slots[i].NextFree = gFreeSlots;
        gFreeSlots = &slots[i];
    }
    return true;
}

}  // namespace

WNDPROC MakeObjectInstance(TWndMethod method) {
    if (!gFreeSlots && !AddBlock()) return nullptr;
    Slot* slot = gFreeSlots;
    gFreeSlots = slot->NextFree;
    slot->NextFree = nullptr;
    slot->Method = method;
    WriteCode(*slot);
    FlushInstructionCache(GetCurrentProcess(), slot->Code, kCodeAreaSize);
    ++gLiveCount;
    return reinterpret_cast<WNDPROC>(static_cast<void*>(slot->Code));
}

void FreeObjectInstance(WNDPROC instance) {
    if (!instance) return;
    Slot* slot = reinterpret_cast<Slot*>(reinterpret_cast<void*>(instance));
    slot->Method = nullptr;
    slot->NextFree = gFreeSlots;
    gFreeSlots = slot;
    --gLiveCount;
}

int ObjectInstanceCount() { return gLiveCount; }
