// Fuzzes the skin package reader: the input once as a package and once as
// an unpacked archive (packed here, so the directory parse sees arbitrary
// headers, name lists and size tables). Every member the reader calls
// intact must extract with its stated size, and its bytes in place must be
// the bytes extracted; nothing may crash, hang or read out of bounds.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinRead.h"

namespace {

void Exercise(const std::vector<uint8_t>& package) {
    TMemoryStream stream;
    if (!package.empty()) stream.WriteBuffer(package.data(), static_cast<int32_t>(package.size()));
    TSkinReader reader;
    if (!reader.ReadPackage(stream)) {
        if (reader.Count() != 0) std::abort();
        return;
    }
    TMemoryStream target;
    for (int32_t i = 0; i < reader.Count(); ++i) {
        const std::string name = reader.Names().Strings(i);
        reader.ExtractFile(name, target);
        if (target.Position() != 0) std::abort();
        // Duplicates extract the first of their name; only check first occurrences.
        if (reader.Names().IndexOf(name) == i && reader.Intact(i) && target.Size() != reader.Sizes(i)) std::abort();
        // The bytes in place are the bytes extracted.
        const std::span<const uint8_t> inPlace = reader.FileData(name);
        if (static_cast<int64_t>(inPlace.size()) != target.Size() ||
            !std::equal(inPlace.begin(), inPlace.end(), target.Memory()))
            std::abort();
    }
    std::string found;
    reader.ExtractFirstMatch(".ini", target, found);
    reader.ExtractFirstMatch("", target, found);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    TSkinReader::SetMessageProc([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    Exercise(bytes);
    Exercise(LzhCompressFramed(bytes));
    return 0;
}
