#include "framework/core/Streaming.h"

#include <algorithm>

#include "framework/core/Collection.h"
#include "framework/core/PropAccess.h"
#include "framework/rtl/SysUtils.h"

namespace {

// Upper bound on the items of one stored collection; beyond it the data is
// taken as malformed rather than allocated.
constexpr int32_t MaxCollectionItems = 1 << 16;
// Attempts at a free name for a root whose stored name is taken ("Form1_2").
constexpr int MaxRootNameAttempts = 1000;

std::string Describe(const TComponent* component) {
    if (component == nullptr) return "(nil)";
    return component->Name().empty() ? "(" + component->ClassName() + ")" : component->Name();
}

bool IsBooleanType(const TTypeInfo& type) { return type.Kind == tkEnumeration && type.Name == "Boolean"; }

// Follows the components being told Loaded, so that one freed by another's
// Loaded is not called.
class TLoadedWatcher : public TComponent {
public:
    TLoadedWatcher() : TComponent(nullptr) {}
    void Watch(TComponent* component) {
        Components.push_back(component);
        component->FreeNotification(this);
    }
    bool IsAlive(TComponent* component) const {
        return std::find(Components.begin(), Components.end(), component) != Components.end();
    }
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove) std::erase(Components, component);
    }
    std::vector<TComponent*> Components;
};

void SetRootName(TComponent* root, const std::string& name) {
    try {
        root->SetName(name);
        return;
    } catch (const EComponentError&) {
    }
    for (int i = 1; i <= MaxRootNameAttempts; ++i) {
        try {
            root->SetName(name + "_" + IntToStr(i));
            return;
        } catch (const EComponentError&) {
        }
    }
}

}  // namespace

// --- TComponentReader ------------------------------------------------------------

TComponentReader::TComponentReader(TStream& stream) : TReader(stream) {}

TComponentReader::~TComponentReader() = default;

TComponent* TComponentReader::ReadRootComponent(TComponent* root, TComponent* owner) {
    ReadSignature();
    const std::string className = ReadStr();
    const std::string name = ReadStr();
    bool created = false;
    if (root == nullptr) {
        const TClass* cls = GetClass(className);
        if (cls == nullptr) ReadError("Class " + className + " not found");
        if (!cls->InheritsFrom(TComponent::StaticClass()))
            ReadError("Class " + className + " is not a component class");
        root = ObjectAs<TComponent>(cls->Create(owner));
        if (root == nullptr) ReadError("Class " + className + " could not be created");
        created = true;
    } else if (!root->InheritsFrom(className)) {
        ReadError("The stream holds a " + className + ", not a " + root->ClassName());
    }
    SetRoot(root);
    try {
        root->SetState(csLoading, true);
        FLoaded.push_back(root);
        if (root->Name().empty() && !name.empty() && TComponent::IsValidIdent(name)) SetRootName(root, name);
        ReadComponentInto(root, 0);
        ResolveFixups();
    } catch (...) {
        Abandon();
        if (created) delete root;
        throw;
    }
    // Every component is complete: each learns it has been loaded, root first.
    // A Loaded may free other components; the watcher drops them from the list.
    TLoadedWatcher watcher;
    for (TComponent* component : FLoaded) watcher.Watch(component);
    FLoaded.clear();
    const std::vector<TComponent*> order = watcher.Components;
    try {
        for (TComponent* component : order)
            if (watcher.IsAlive(component)) component->Loaded();
    } catch (...) {
        for (TComponent* component : watcher.Components) component->SetState(csLoading, false);
        throw;
    }
    return root;
}

void TComponentReader::Abandon() {
    for (TComponent* component : FLoaded) {
        component->SetState(csLoading, false);
        component->SetState(csReading, false);
    }
    FLoaded.clear();
    FFixups.clear();
}

void TComponentReader::ReadComponentInto(TComponent* component, int depth) {
    component->SetState(csReading, true);
    ReadProperties(component, component, depth);
    while (!EndOfList()) ReadChildComponent(component, depth + 1);
    ReadValue();  // end of the children
    component->SetState(csReading, false);
}

TComponent* TComponentReader::ReadChildComponent(TComponent* container, int depth) {
    if (depth > MaxValueNesting) ReadError("Components nested too deeply");
    const std::string className = ReadStr();
    const std::string name = ReadStr();
    TComponent* owner = container->GetChildOwner();
    if (owner == nullptr) owner = Root();
    TComponent* parent = container->GetChildParent();

    // A component the root already made under that name is filled in, not duplicated.
    TComponent* component = owner->FindComponent(name);
    if (component != nullptr && std::find(FLoaded.begin(), FLoaded.end(), component) != FLoaded.end())
        ReadError("Error reading " + className + " " + name + ": A component named " + name + " already exists");
    if (component != nullptr && !component->InheritsFrom(className)) component = nullptr;
    if (component == nullptr) {
        const TClass* cls = GetClass(className);
        if (cls == nullptr) ReadError("Error reading " + Describe(container) + ": class " + className + " not found");
        if (!cls->InheritsFrom(TComponent::StaticClass()))
            ReadError("Error reading " + Describe(container) + ": class " + className + " is not a component class");
        try {
            component = ObjectAs<TComponent>(cls->Create(owner));
        } catch (const Exception& e) {
            ReadError("Error creating " + className + " " + name + ": " + e.Message());
        }
        if (component == nullptr)
            ReadError("Error reading " + Describe(container) + ": class " + className + " could not be created");
        component->SetState(csLoading, true);
        FLoaded.push_back(component);
        try {
            component->SetName(name);
        } catch (const Exception& e) {
            ReadError("Error reading " + className + " " + name + ": " + e.Message());
        }
    } else {
        component->SetState(csLoading, true);
        FLoaded.push_back(component);
    }
    try {
        component->SetParentComponent(parent);
    } catch (const Exception& e) {
        ReadError("Error reading " + Describe(component) + ": " + e.Message());
    }
    ReadComponentInto(component, depth);
    return component;
}

void TComponentReader::ReadProperties(TComponent* component, TObject* instance, int depth) {
    while (!EndOfList()) ReadProperty(component, instance, depth);
    ReadValue();  // end of the properties
}

void TComponentReader::ReadProperty(TComponent* component, TObject* instance, int depth) {
    const std::string path = ReadStr();
    try {
        TObject* target = instance;
        std::string_view rest = path;
        for (size_t dot = rest.find('.'); dot != std::string_view::npos; dot = rest.find('.')) {
            const std::string segment(rest.substr(0, dot));
            const TPropInfo* prop = GetPropInfo(target, segment);
            if (prop == nullptr) ReadError("Property " + segment + " does not exist");
            if (prop->Kind() != tkClass) ReadError("Property " + segment + " is not an object");
            target = GetObjectProp(target, *prop);
            if (target == nullptr) ReadError("Property " + segment + " holds no object");
            rest = rest.substr(dot + 1);
        }
        const std::string last(rest);
        if (const TPropInfo* prop = GetPropInfo(target, last)) {
            ReadPropValue(component, target, *prop, path, depth);
            return;
        }
        auto* persistent = ObjectAs<TPersistent>(target);
        FDefinedName = last;
        FDefinedHandled = false;
        if (persistent != nullptr && !last.empty()) persistent->DefineProperties(*this);
        const bool handled = FDefinedHandled;
        FDefinedName.clear();
        FDefinedHandled = false;
        if (!handled) ReadError("Property " + last + " does not exist");
    } catch (const Exception& e) {
        FDefinedName.clear();
        throw EReadError("Error reading " + Describe(component) + "." + path + ": " + e.Message());
    }
}

void TComponentReader::ReadPropValue(TComponent* component, TObject* instance, const TPropInfo& prop,
                                     const std::string& path, int depth) {
    const TValueType type = NextValue();
    const TTypeInfo& propType = prop.PropType();
    switch (prop.Kind()) {
    case tkInteger:
    case tkInt64:
        // A colour or cursor may come as its identifier ("clBtnFace").
        SetOrdProp(instance, prop, type == TValueType::vaIdent ? IdentToPropValue(prop, ReadIdent()) : ReadInt64());
        return;
    case tkChar:
        if (type == TValueType::vaString || type == TValueType::vaLString || type == TValueType::vaWString)
            SetOrdProp(instance, prop, static_cast<unsigned char>(ReadChar()));
        else
            SetOrdProp(instance, prop, ReadInt64());
        return;
    case tkEnumeration: {
        if (type == TValueType::vaInt8 || type == TValueType::vaInt16 || type == TValueType::vaInt32) {
            SetOrdProp(instance, prop, ReadInt64());
            return;
        }
        const std::string ident = ReadIdent();
        const int64_t value = propType.EnumValue(ident);
        if (value < 0) ReadError("Invalid property value " + ident + " (not a value of " + propType.Name + ")");
        SetOrdProp(instance, prop, value);
        return;
    }
    case tkSet: {
        uint64_t bits = 0;
        for (const std::string& element : ReadSet()) {
            const int64_t value = propType.CompType != nullptr ? propType.CompType->EnumValue(element) : -1;
            if (value < 0 || value >= 64)
                ReadError("Invalid set element " + element + " (not a value of " + propType.CompType->Name + ")");
            bits |= uint64_t{1} << value;
        }
        SetOrdProp(instance, prop, static_cast<int64_t>(bits));
        return;
    }
    case tkString: SetStrProp(instance, prop, ReadString()); return;
    case tkWString: SetWideStrProp(instance, prop, ReadWideString()); return;
    case tkClass:
        if (type == TValueType::vaNil) {
            ReadValue();
            SetObjectProp(instance, prop, nullptr);
        } else if (type == TValueType::vaIdent) {
            FFixups.push_back(TFixup{component, instance, &prop, path, ReadIdent()});
        } else if (type == TValueType::vaCollection) {
            auto* collection = ObjectAs<TCollection>(GetObjectProp(instance, prop));
            if (collection == nullptr) ReadError("Property " + prop.Name() + " is not a collection");
            ReadCollection(component, *collection, depth + 1);
        } else {
            ReadError("Invalid value type $" + IntToHex(static_cast<uint8_t>(type), 2) + " for an object property");
        }
        return;
    case tkMethod: {
        if (type == TValueType::vaNil) {
            ReadValue();
            SetMethodProp(instance, prop, TMethod{});
            return;
        }
        if (type != TValueType::vaIdent)
            ReadError("Invalid value type $" + IntToHex(static_cast<uint8_t>(type), 2) + " for an event");
        const std::string methodName = ReadIdent();
        const TMethod method = MethodAddress(Root(), methodName);
        if (!method.Assigned()) ReadError("Method " + methodName + " is not published by " + Root()->ClassName());
        SetMethodProp(instance, prop, method);
        return;
    }
    case tkUnknown: break;
    }
    ReadError("Property " + prop.Name() + " has an unsupported type");
}

void TComponentReader::ReadCollection(TComponent* component, TCollection& collection, int depth) {
    if (depth > MaxValueNesting) ReadError("Values nested too deeply");
    CheckValue(TValueType::vaCollection);
    collection.BeginUpdate();
    try {
        collection.Clear();
        while (!EndOfList()) {
            if (collection.Count() >= MaxCollectionItems) ReadError("Too many collection items");
            ReadListBegin();
            TCollectionItem* item = collection.Add();
            // Item properties are reported as part of the collection property.
            while (!EndOfList()) {
                const std::string name = ReadStr();
                const TPropInfo* prop = GetPropInfo(item, name);
                if (prop == nullptr) ReadError("Property " + name + " of " + item->ClassName() + " does not exist");
                ReadPropValue(component, item, *prop, name, depth);
            }
            ReadValue();
        }
        ReadValue();
    } catch (...) {
        collection.EndUpdate();
        throw;
    }
    collection.EndUpdate();
}

TComponent* TComponentReader::FindReferenced(const std::string& name) const {
    TComponent* root = Root();
    if (SameText(root->Name(), name)) return root;
    if (TComponent* found = root->FindComponent(name)) return found;
    for (TComponent* component : FLoaded)
        if (SameText(component->Name(), name)) return component;
    return nullptr;
}

void TComponentReader::ResolveFixups() {
    std::vector<TFixup> fixups;
    fixups.swap(FFixups);
    for (const TFixup& fixup : fixups) {
        try {
            TComponent* target = FindReferenced(fixup.TargetName);
            if (target == nullptr) ReadError("No component named " + fixup.TargetName);
            SetObjectProp(fixup.Instance, *fixup.Prop, target);
        } catch (const Exception& e) {
            throw EReadError("Error reading " + Describe(fixup.Component) + "." + fixup.PropPath + ": " + e.Message());
        }
    }
}

void TComponentReader::DefineProperty(std::string_view name, TReaderProc readData, TWriterProc, bool) {
    if (FDefinedHandled || FDefinedName.empty() || !SameText(name, FDefinedName)) return;
    FDefinedHandled = true;
    if (!readData) ReadError("Property " + std::string(name) + " cannot be read");
    readData(*this);
}

void TComponentReader::DefineBinaryProperty(std::string_view name, TStreamProc readData, TStreamProc, bool) {
    if (FDefinedHandled || FDefinedName.empty() || !SameText(name, FDefinedName)) return;
    FDefinedHandled = true;
    if (!readData) ReadError("Property " + std::string(name) + " cannot be read");
    const std::vector<uint8_t> bytes = ReadBinary();
    TReadOnlyMemoryStream data(bytes.data(), static_cast<int64_t>(bytes.size()));
    readData(data);
}

// --- TComponentWriter ------------------------------------------------------------

void TComponentWriter::WriteRootComponent(TComponent* root) {
    SetRoot(root);
    WriteSignature();
    WriteComponent(root, 0);
}

void TComponentWriter::WriteComponent(TComponent* component, int depth) {
    if (depth > MaxValueNesting) throw EWriteError("Components nested too deeply");
    component->SetState(csWriting, true);
    try {
        WriteStr(component->ClassName());
        WriteStr(component->Name());
        WriteProperties(component, "", depth);
        WriteStr("");  // end of the properties
        component->GetChildren([&](TComponent* child) { WriteComponent(child, depth + 1); }, Root());
        WriteValue(TValueType::vaNull);  // end of the children
    } catch (...) {
        component->SetState(csWriting, false);
        throw;
    }
    component->SetState(csWriting, false);
}

void TComponentWriter::WriteProperties(TObject* instance, const std::string& prefix, int depth) {
    if (depth > MaxValueNesting) throw EWriteError("Objects nested too deeply");
    for (const TPropInfo* prop : GetPropList(instance->ClassType()))
        if (prop->IsStored(instance)) WriteProperty(instance, *prop, prefix, depth);
    if (auto* persistent = ObjectAs<TPersistent>(instance)) {
        const std::string saved = FPrefix;
        FPrefix = prefix;
        try {
            persistent->DefineProperties(*this);
        } catch (...) {
            FPrefix = saved;
            throw;
        }
        FPrefix = saved;
    }
}

std::string TComponentWriter::ReferenceName(TComponent* target) const {
    if (target == Root() || target->Owner() == Root()) return target->Name();
    return {};
}

void TComponentWriter::WriteProperty(TObject* instance, const TPropInfo& prop, const std::string& prefix, int depth) {
    // A value that cannot be set back is not stored; objects are filled in place.
    if (!prop.IsWritable() && prop.Kind() != tkClass) return;
    const std::string name = prefix + prop.Name();
    const TTypeInfo& type = prop.PropType();
    switch (prop.Kind()) {
    case tkInteger:
    case tkInt64:
    case tkChar:
    case tkEnumeration:
    case tkSet: {
        if (IsDefaultPropValue(instance, prop)) return;
        const int64_t value = GetOrdProp(instance, prop);
        WritePropName(name);
        if (prop.Kind() == tkChar) {
            WriteChar(static_cast<char>(value));
        } else if (prop.Kind() == tkEnumeration) {
            if (IsBooleanType(type))
                WriteBoolean(value != 0);
            else
                WriteIdent(type.EnumName(value));
        } else if (prop.Kind() == tkSet) {
            std::vector<std::string> names;
            for (int64_t v = 0; type.CompType != nullptr && v <= type.CompType->MaxValue && v < 64; ++v)
                if ((static_cast<uint64_t>(value) >> v) & 1) names.push_back(type.CompType->EnumName(v));
            WriteSet(names);
        } else if (const std::optional<std::string_view> ident =
                       prop.Identifiers() != nullptr ? IntToIdent(value, *prop.Identifiers()) : std::nullopt) {
            WriteIdent(*ident);
        } else {
            WriteInteger(value);
        }
        return;
    }
    case tkString: {
        const std::string value = GetStrProp(instance, prop);
        if (value.empty()) return;
        WritePropName(name);
        WriteString(value);
        return;
    }
    case tkWString: {
        const std::wstring value = GetWideStrProp(instance, prop);
        if (value.empty()) return;
        WritePropName(name);
        WriteWideString(value);
        return;
    }
    case tkMethod: {
        const TMethod method = GetMethodProp(instance, prop);
        if (!method.Assigned()) return;
        // Only handlers the root publishes can be stored by name.
        const std::string methodName = MethodName(Root(), method);
        if (methodName.empty()) return;
        WritePropName(name);
        WriteIdent(methodName);
        return;
    }
    case tkClass: {
        TObject* object = GetObjectProp(instance, prop);
        if (object == nullptr) return;
        if (auto* component = ObjectAs<TComponent>(object)) {
            const std::string reference = ReferenceName(component);
            if (reference.empty() || !prop.IsWritable()) return;
            WritePropName(name);
            WriteIdent(reference);
        } else if (auto* collection = ObjectAs<TCollection>(object)) {
            if (collection->Count() == 0) return;
            WritePropName(name);
            WriteCollection(*collection, depth + 1);
        } else {
            WriteProperties(object, name + ".", depth + 1);
        }
        return;
    }
    case tkUnknown: return;
    }
}

void TComponentWriter::WriteCollection(const TCollection& collection, int depth) {
    WriteValue(TValueType::vaCollection);
    for (int32_t i = 0; i < collection.Count(); ++i) {
        WriteListBegin();
        WriteProperties(collection.Items(i), "", depth + 1);
        WriteStr("");
    }
    WriteListEnd();
}

void TComponentWriter::DefineProperty(std::string_view name, TReaderProc, TWriterProc writeData, bool hasData) {
    if (!hasData || !writeData) return;
    WritePropName(FPrefix + std::string(name));
    writeData(*this);
}

void TComponentWriter::DefineBinaryProperty(std::string_view name, TStreamProc, TStreamProc writeData, bool hasData) {
    if (!hasData || !writeData) return;
    TMemoryStream data;
    writeData(data);
    WritePropName(FPrefix + std::string(name));
    WriteBinary(data.Memory(), data.Size());
}

// --- entry points -------------------------------------------------------------------

TComponent* ReadComponentRes(TStream& stream, TComponent* instance) {
    if (instance == nullptr) throw EReadError("No component to read into");
    TComponentReader reader(stream);
    return reader.ReadRootComponent(instance);
}

TComponent* ReadComponent(TStream& stream, TComponent* owner) {
    TComponentReader reader(stream);
    return reader.ReadRootComponent(nullptr, owner);
}

void WriteComponent(TStream& stream, TComponent* root) {
    TComponentWriter writer(stream);
    writer.WriteRootComponent(root);
}
