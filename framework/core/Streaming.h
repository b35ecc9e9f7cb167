// Streaming: reading and writing components in the binary form format (see
// framework/rtl/Filer.h) — a form and everything on it, with published
// properties, nested objects, collections, events bound by name and the data
// each class adds through DefineProperties.
//
// Reading a form into an existing form object (the form's constructor does this
// with the bytes of its RCDATA resource):
//
//     TReadOnlyMemoryStream stream(resourceData, resourceSize);
//     ReadComponentRes(stream, this);
//
// Components inside are created through the class registry by class name
// (classes published with QUIRN_PUBLISH are registered), owned by the root
// (or what GetChildOwner answers) and attached with SetParentComponent.
// Every component read is in csLoading until the whole stream is read and
// component references are resolved; then Loaded is called on each, root
// first. Malformed data raises EReadError naming the component and property.
#pragma once

#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/PropInfo.h"
#include "framework/rtl/Filer.h"

// TComponentReader: reads components and their properties from a stream.
class TComponentReader : public TReader {
public:
    explicit TComponentReader(TStream& stream);
    ~TComponentReader() override;

    // Reads signature and root component into root; when root is nullptr the
    // root is created from its stored class name with the given owner.
    TComponent* ReadRootComponent(TComponent* root, TComponent* owner = nullptr);

    void DefineProperty(std::string_view name, TReaderProc readData, TWriterProc writeData, bool hasData) override;
    void DefineBinaryProperty(std::string_view name, TStreamProc readData, TStreamProc writeData,
                              bool hasData) override;

private:
    struct TFixup {
        TComponent* Component;  // whose property it is (for messages)
        TObject* Instance;
        const TPropInfo* Prop;
        std::string PropPath;
        std::string TargetName;
    };

    void ReadComponentInto(TComponent* component, int depth);
    TComponent* ReadChildComponent(TComponent* parent, int depth);
    void ReadProperties(TComponent* component, TObject* instance, int depth);
    void ReadProperty(TComponent* component, TObject* instance, int depth);
    void ReadPropValue(TComponent* component, TObject* instance, const TPropInfo& prop, const std::string& path,
                       int depth);
    void ReadCollection(TComponent* component, class TCollection& collection, int depth);
    void ResolveFixups();
    TComponent* FindReferenced(const std::string& name) const;
    void Abandon();

    std::vector<TComponent*> FLoaded;
    std::vector<TFixup> FFixups;
    // The defined property being looked for while DefineProperties runs.
    std::string FDefinedName;
    bool FDefinedHandled = false;
};

// TComponentWriter: writes components and their properties to a stream.
class TComponentWriter : public TWriter {
public:
    explicit TComponentWriter(TStream& stream) : TWriter(stream) {}

    // Writes signature and root with everything GetChildren lists.
    void WriteRootComponent(TComponent* root);

    void DefineProperty(std::string_view name, TReaderProc readData, TWriterProc writeData, bool hasData) override;
    void DefineBinaryProperty(std::string_view name, TStreamProc readData, TStreamProc writeData,
                              bool hasData) override;

private:
    void WriteComponent(TComponent* component, int depth);
    void WriteProperties(TObject* instance, const std::string& prefix, int depth);
    void WriteProperty(TObject* instance, const TPropInfo& prop, const std::string& prefix, int depth);
    void WriteCollection(const class TCollection& collection, int depth);
    void WritePropName(const std::string& name) { WriteStr(name); }
    std::string ReferenceName(TComponent* target) const;

    std::string FPrefix;  // path of the object whose DefineProperties runs
};

// Reads a form stream (signature + root component) into instance; returns it.
TComponent* ReadComponentRes(TStream& stream, TComponent* instance);
// Reads a form stream, creating the root from its class name (owned by owner).
TComponent* ReadComponent(TStream& stream, TComponent* owner = nullptr);
// Writes root and everything it lists as children.
void WriteComponent(TStream& stream, TComponent* root);
