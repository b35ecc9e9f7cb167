#include "framework/controls/FormResource.h"

#include "framework/controls/WinApi.h"

#include "framework/controls/WindowClass.h"
#if __has_include("framework/core/Streaming.h")
#include "framework/core/Streaming.h"
#define QUIRN_HAVE_STREAMING 1
#endif
#include "framework/rtl/Streams.h"

void LoadFormResource(TComponent& root, const std::string& className) {
    HINSTANCE instance = FrameworkInstance();
    HRSRC resource = FindResourceA(instance, className.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!resource) throw EResNotFound("Resource " + className + " not found");
    HGLOBAL loaded = LoadResource(instance, resource);
    const DWORD size = SizeofResource(instance, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0) throw EResNotFound("Resource " + className + " not found");
    TReadOnlyMemoryStream stream(data, static_cast<int64_t>(size));
#ifdef QUIRN_HAVE_STREAMING
    ReadComponentRes(stream, &root);
#else
    (void)root;
    throw EInvalidOperation("Component streaming is not available to read " + className);
#endif
}
