#include "framework/win/ObjectInstance.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"

namespace {

enum class TSlotState : uint8_t { Free, Live, Forwarding };

// One thunk's entry in the read-write table: what its calls reach.
struct TSlotData {
    TWndMethod Method;
    WNDPROC Previous = nullptr;  // where a forwarding thunk sends its calls
    TSlotData* NextFree = nullptr;
    const uint8_t* Code = nullptr;  // the thunk this entry belongs to
    TSlotState State = TSlotState::Free;
    bool Unicode = true;  // a forwarding thunk calls Previous through CallWindowProcW
};

LRESULT DispatchSlot(TSlotData* slot, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// The thunk puts the address of its table entry where the dispatcher expects
// an extra argument and jumps; the window procedure's own four arguments stay
// where the caller put them, so the dispatcher sees the window handle too.
#if defined(_M_X64) || defined(__x86_64__)
// mov r10, imm64 (entry) ; mov rax, imm64 (ThunkEntry) ; jmp rax. R10 is free at
// a call under the x64 convention; ThunkEntry passes it on as a fifth argument.
constexpr uint8_t kMovR10[] = {0x49, 0xBA};
constexpr uint8_t kMovRax[] = {0x48, 0xB8};
constexpr uint8_t kJmpRax[] = {0xFF, 0xE0};
constexpr size_t kCodeSize = sizeof kMovR10 + 8 + sizeof kMovRax + 8 + sizeof kJmpRax;
constexpr size_t kSlotCodeSize = 32;

[[gnu::used]] LRESULT DispatchFromEntry(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                        TSlotData* slot) __asm__("quirn_thunk_dispatch");
LRESULT DispatchFromEntry(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, TSlotData* slot) {
    return DispatchSlot(slot, window, msg, wParam, lParam);
}

// Makes room for the four register arguments' home area and the fifth
// argument (R10), keeping the stack 16-byte aligned at the call; the unwind
// directives describe the frame to the system's unwinder.
__asm__(
    ".text\n"
    ".p2align 4\n"
    ".def quirn_thunk_entry; .scl 3; .type 32; .endef\n"
    ".seh_proc quirn_thunk_entry\n"
    "quirn_thunk_entry:\n"
    "    subq $56, %rsp\n"
    "    .seh_stackalloc 56\n"
    "    .seh_endprologue\n"
    "    movq %r10, 32(%rsp)\n"
    "    call quirn_thunk_dispatch\n"
    "    nop\n"
    "    addq $56, %rsp\n"
    "    ret\n"
    ".seh_endproc\n");
extern "C" void quirn_thunk_entry();

#elif defined(_M_IX86) || defined(__i386__)
// mov ecx, imm32 (entry) ; jmp rel32 (DispatchFromEntry). A fastcall function
// takes its first two arguments in ECX and EDX and the rest from the stack,
// which the caller left as the window procedure's four arguments, and pops
// them as a stdcall window procedure must.
constexpr uint8_t kMovEcx[] = {0xB9};
constexpr uint8_t kJmpRel[] = {0xE9};
constexpr size_t kCodeSize = sizeof kMovEcx + 4 + sizeof kJmpRel + 4;
constexpr size_t kSlotCodeSize = 16;

LRESULT __fastcall DispatchFromEntry(TSlotData* slot, uintptr_t /*edx*/, HWND window, UINT msg, WPARAM wParam,
                                     LPARAM lParam) {
    return DispatchSlot(slot, window, msg, wParam, lParam);
}
#else
#error "object instances need an i686 or x86_64 target"
#endif
static_assert(kCodeSize <= kSlotCodeSize);
constexpr uint8_t kBreakpoint = 0xCC;  // fills the rest of each slot

// A page of thunk code followed, in the same allocation, by the table of its entries.
struct TBlock {
    uint8_t* Code;
    TSlotData* Data;
    size_t Count;
};

struct TAllocator {
    SRWLOCK Lock = SRWLOCK_INIT;
    std::vector<TBlock> Blocks;
    TSlotData* FreeHead = nullptr;  // reused first
    TSlotData* FreeTail = nullptr;  // freed slots join here
    int NotFree = 0;
};

// Never destroyed: windows destroyed during the program's exit still call
// their thunks, and the pages live as long as the process.
TAllocator& Allocator() {
    static TAllocator* allocator = new TAllocator;
    return *allocator;
}

class TExclusive {
public:
    explicit TExclusive(SRWLOCK& lock) : FLock(lock) { AcquireSRWLockExclusive(&FLock); }
    TExclusive(const TExclusive&) = delete;
    TExclusive& operator=(const TExclusive&) = delete;
    ~TExclusive() { ReleaseSRWLockExclusive(&FLock); }

private:
    SRWLOCK& FLock;
};

TWindowProcExceptionHandler gExceptionHandler = nullptr;
#ifdef NDEBUG
bool gStrict = false;
#else
bool gStrict = true;
#endif

std::string MessageNumber(UINT msg) { return "0x" + IntToHex(msg, 4); }

// Called inside the thunk's catch block: the exception is the current one.
void ReportEscapedException(const TSlotData& slot, UINT msg) noexcept {
    try {
        if (trace::Enabled(TTraceChannel::Thunk)) {
            std::string what = "an exception of unknown type";
            try {
                throw;
            } catch (const std::exception& error) {
                what = error.what();
            } catch (...) {
            }
            trace::Write(TTraceChannel::Thunk,
                         trace::Text("exception escaped the method of thunk ", trace::Address(slot.Code),
                                     " at message ", MessageNumber(msg), ": ", what));
        }
        if (TWindowProcExceptionHandler handler = gExceptionHandler) handler();
    } catch (...) {
        // The handler failed as well: still nothing may leave the window procedure.
    }
}

LRESULT DispatchSlot(TSlotData* slot, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (slot->State) {
    case TSlotState::Live: {
        // A copy: the method may free its own thunk, which may then be reused.
        const TWndMethod method = slot->Method;
        TMessage message{msg, wParam, lParam, 0};
        try {
            method(message);
        } catch (...) {
            ReportEscapedException(*slot, msg);
        }
        return message.Result;
    }
    case TSlotState::Forwarding:
        return slot->Unicode ? CallWindowProcW(slot->Previous, window, msg, wParam, lParam)
                             : CallWindowProcA(slot->Previous, window, msg, wParam, lParam);
    case TSlotState::Free: break;
    }
    QUIRN_TRACE(TTraceChannel::Thunk, "call through free thunk ", trace::Address(slot->Code), " (window ",
                trace::Address(window), ", message ", MessageNumber(msg), ") goes to DefWindowProc");
    return IsWindowUnicode(window) ? DefWindowProcW(window, msg, wParam, lParam)
                                   : DefWindowProcA(window, msg, wParam, lParam);
}

void WriteThunk(uint8_t* code, const TSlotData* entry) {
    std::memset(code, kBreakpoint, kSlotCodeSize);
    uint8_t* p = code;
    auto put = [&p](const void* bytes, size_t count) {
        std::memcpy(p, bytes, count);
        p += count;
    };
#if defined(_M_X64) || defined(__x86_64__)
    const uint64_t data = reinterpret_cast<uint64_t>(entry);
    const uint64_t target = reinterpret_cast<uint64_t>(&quirn_thunk_entry);
    put(kMovR10, sizeof kMovR10);
    put(&data, sizeof data);
    put(kMovRax, sizeof kMovRax);
    put(&target, sizeof target);
    put(kJmpRax, sizeof kJmpRax);
#else
    const uint32_t data = reinterpret_cast<uint32_t>(entry);
    put(kMovEcx, sizeof kMovEcx);
    put(&data, sizeof data);
    put(kJmpRel, sizeof kJmpRel);
    const int32_t relative =
        static_cast<int32_t>(reinterpret_cast<intptr_t>(&DispatchFromEntry) - reinterpret_cast<intptr_t>(p + 4));
    put(&relative, sizeof relative);
#endif
}

void AppendFree(TAllocator& allocator, TSlotData* slot) {
    slot->NextFree = nullptr;
    if (allocator.FreeTail)
        allocator.FreeTail->NextFree = slot;
    else
        allocator.FreeHead = slot;
    allocator.FreeTail = slot;
}

// One page of code, written here and then made execute-read only, and the
// read-write pages of its table right after it.
void AddBlock(TAllocator& allocator) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    const size_t count = page / kSlotCodeSize;
    const size_t dataBytes = (count * sizeof(TSlotData) + page - 1) / page * page;
    allocator.Blocks.reserve(allocator.Blocks.size() + 1);

    auto* base =
        static_cast<uint8_t*>(VirtualAlloc(nullptr, page + dataBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!base) RaiseLastOSError("VirtualAlloc");
    auto* data = reinterpret_cast<TSlotData*>(base + page);
    for (size_t i = 0; i < count; ++i) {
        new (&data[i]) TSlotData{};
        data[i].Code = base + i * kSlotCodeSize;
        WriteThunk(base + i * kSlotCodeSize, &data[i]);
    }
    DWORD previous = 0;
    if (!VirtualProtect(base, page, PAGE_EXECUTE_READ, &previous)) {
        const uint32_t error = LastOSError();
        VirtualFree(base, 0, MEM_RELEASE);
        RaiseOSError("VirtualProtect", error);
    }
    FlushInstructionCache(GetCurrentProcess(), base, page);
    allocator.Blocks.push_back(TBlock{base, data, count});
    for (size_t i = 0; i < count; ++i) AppendFree(allocator, &data[i]);
    QUIRN_TRACE(TTraceChannel::Thunk, "new page of ", count, " thunks: code ", trace::Address(base),
                " execute-read, table ", trace::Address(data), " read-write");
}

// The table entry of a thunk pointer, or nullptr when it points at no thunk's start.
TSlotData* FindSlot(const TAllocator& allocator, const void* pointer) {
    const auto address = reinterpret_cast<uintptr_t>(pointer);
    for (const TBlock& block : allocator.Blocks) {
        const auto start = reinterpret_cast<uintptr_t>(block.Code);
        if (address < start || address >= start + block.Count * kSlotCodeSize) continue;
        if ((address - start) % kSlotCodeSize != 0) return nullptr;
        return &block.Data[(address - start) / kSlotCodeSize];
    }
    return nullptr;
}

// A refused operation: traced, and in strict mode the end of the program.
void Refuse(const std::string& text) {
    QUIRN_TRACE(TTraceChannel::Thunk, text);
    if (!gStrict) return;
    const std::string line = "Assertion failed: " + text + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    OutputDebugStringA(line.c_str());
    std::abort();
}

std::string RefusalText(std::string_view call, const void* instance, const TSlotData* slot) {
    if (!slot) return OSErrorText(call, ERROR_INVALID_ADDRESS) + ": " + trace::Address(instance) + " is not a thunk";
    return OSErrorText(call, ERROR_INVALID_HANDLE) + ": thunk " + trace::Address(instance) + " is free";
}

// Applies change to the entry of a live or forwarding thunk under the lock.
// A pointer that is no such thunk, or a refusal text answered by change, is
// refused. Answers whether the change was made.
template <typename Change>
bool ChangeSlot(std::string_view call, WNDPROC instance, Change change) {
    const void* pointer = reinterpret_cast<const void*>(instance);
    TAllocator& allocator = Allocator();
    std::string refusal;
    {
        TExclusive lock(allocator.Lock);
        TSlotData* slot = FindSlot(allocator, pointer);
        if (!slot || slot->State == TSlotState::Free)
            refusal = RefusalText(call, pointer, slot);
        else
            refusal = change(allocator, *slot);
    }
    if (refusal.empty()) return true;
    Refuse(refusal);
    return false;
}

}  // namespace

WNDPROC MakeObjectInstance(TWndMethod method) {
    if (!method) throw EInvalidOperation("A window-procedure thunk needs a method");
    TAllocator& allocator = Allocator();
    TSlotData* slot = nullptr;
    {
        TExclusive lock(allocator.Lock);
        if (!allocator.FreeHead) AddBlock(allocator);
        slot = allocator.FreeHead;
        allocator.FreeHead = slot->NextFree;
        if (!allocator.FreeHead) allocator.FreeTail = nullptr;
        slot->NextFree = nullptr;
        slot->Method = method;
        slot->Previous = nullptr;
        slot->State = TSlotState::Live;
        ++allocator.NotFree;
    }
    QUIRN_TRACE(TTraceChannel::Thunk, "made ", trace::Address(slot->Code), " for object ",
                trace::Address(method.Data()));
    return reinterpret_cast<WNDPROC>(reinterpret_cast<uintptr_t>(slot->Code));
}

bool FreeObjectInstance(WNDPROC instance) {
    if (!instance) return true;
    const bool freed = ChangeSlot("FreeObjectInstance", instance, [](TAllocator& allocator, TSlotData& slot) {
        slot.State = TSlotState::Free;
        slot.Method = TWndMethod();
        slot.Previous = nullptr;
        AppendFree(allocator, &slot);
        --allocator.NotFree;
        return std::string();
    });
    if (freed) QUIRN_TRACE(TTraceChannel::Thunk, "freed ", trace::Address(reinterpret_cast<const void*>(instance)));
    return freed;
}

bool ForwardObjectInstance(WNDPROC instance, WNDPROC previous, bool unicode) {
    const bool forwarding = ChangeSlot("ForwardObjectInstance", instance, [&](TAllocator&, TSlotData& slot) {
        if (!previous || previous == instance)
            return OSErrorText("ForwardObjectInstance", ERROR_INVALID_PARAMETER) + ": thunk " +
                   trace::Address(slot.Code) + " cannot forward to " +
                   trace::Address(reinterpret_cast<const void*>(previous));
        // The target first: a call arriving meanwhile sees either state whole.
        slot.Previous = previous;
        slot.Unicode = unicode;
        slot.State = TSlotState::Forwarding;
        slot.Method = TWndMethod();
        return std::string();
    });
    if (forwarding)
        QUIRN_TRACE(TTraceChannel::Thunk, "thunk ", trace::Address(reinterpret_cast<const void*>(instance)),
                    " now forwards to ", trace::Address(reinterpret_cast<const void*>(previous)),
                    unicode ? " (wide)" : " (ANSI)");
    return forwarding;
}

TObjectInstanceState ObjectInstanceState(WNDPROC instance) {
    TAllocator& allocator = Allocator();
    TExclusive lock(allocator.Lock);
    const TSlotData* slot = FindSlot(allocator, reinterpret_cast<const void*>(instance));
    if (!slot) return TObjectInstanceState::NotAThunk;
    switch (slot->State) {
    case TSlotState::Live: return TObjectInstanceState::Live;
    case TSlotState::Forwarding: return TObjectInstanceState::Forwarding;
    case TSlotState::Free: break;
    }
    return TObjectInstanceState::Free;
}

const void* ObjectInstanceData(WNDPROC instance) {
    TAllocator& allocator = Allocator();
    TExclusive lock(allocator.Lock);
    return FindSlot(allocator, reinterpret_cast<const void*>(instance));
}

int ObjectInstanceCount() {
    TAllocator& allocator = Allocator();
    TExclusive lock(allocator.Lock);
    return allocator.NotFree;
}

void SetObjectInstanceStrict(bool strict) { gStrict = strict; }
bool ObjectInstanceStrict() { return gStrict; }

TWindowProcExceptionHandler SetWindowProcExceptionHandler(TWindowProcExceptionHandler handler) {
    const TWindowProcExceptionHandler previous = gExceptionHandler;
    gExceptionHandler = handler;
    return previous;
}
