// Fuzzes the binary form reader: component reading into a form of test
// classes (every property kind, collections, binary and list properties) and
// the binary -> text conversion. Any crash, leak or sanitizer report is a fault;
// EReadError (and the other framework exceptions) are the expected answers.
#include <cstddef>
#include <cstdint>

#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"
#include "tests/core/TestClasses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        TReadOnlyMemoryStream stream(data, static_cast<int64_t>(size));
        TTestForm form(nullptr);
        try {
            ReadComponentRes(stream, &form);
            // What was read must write back out.
            TMemoryStream copy;
            WriteComponent(copy, &form);
        } catch (const Exception&) {
        }
    }
    {
        TReadOnlyMemoryStream stream(data, static_cast<int64_t>(size));
        try {
            ObjectBinaryToText(stream);
        } catch (const Exception&) {
        }
    }
    return 0;
}
