#include "framework/controls/FormResource.h"

#include "framework/controls/WinApi.h"

#include "framework/controls/WindowClass.h"
#if __has_include("framework/core/Streaming.h")
#include "framework/core/Streaming.h"
#define QUIRN_HAVE_STREAMING 1
#endif
#include "framework/rtl/Streams.h"
#include "framework/win/ResourceData.h"

void LoadFormResource(TComponent& root, const std::string& className) {
    const std::span<const uint8_t> data = win::RcDataResource(FrameworkInstance(), className.c_str());
    if (data.empty()) throw EResNotFound("Resource " + className + " not found");
    TReadOnlyMemoryStream stream(data.data(), static_cast<int64_t>(data.size()));
#ifdef QUIRN_HAVE_STREAMING
    ReadComponentRes(stream, &root);
#else
    (void)root;
    throw EInvalidOperation("Component streaming is not available to read " + className);
#endif
}
