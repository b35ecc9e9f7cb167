#include "framework/rtl/Strings.h"

#include <algorithm>

#include "framework/rtl/Filer.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/SysUtils.h"

namespace {

constexpr char NameValueSeparator = '=';
constexpr std::string_view LineBreak = "\r\n";

}  // namespace

// --- TStrings ----------------------------------------------------------------

QUIRN_DEFINE_CLASS(TStrings)

void TStrings::Error(std::string_view message, int32_t index) const {
    throw EListError(FormatString(message, {IntToStr(index)}));
}

void TStrings::Put(int32_t index, std::string_view s) {
    TObject* object = GetItemObject(index);
    BeginUpdate();
    Delete(index);
    InsertObject(index, s, object);
    EndUpdate();
}

TObject* TStrings::GetItemObject(int32_t) const { return nullptr; }

void TStrings::PutItemObject(int32_t, TObject*) {}

void TStrings::SetUpdateState(bool) {}

int32_t TStrings::Add(std::string_view s) {
    const int32_t index = Count();
    Insert(index, s);
    return index;
}

int32_t TStrings::AddObject(std::string_view s, TObject* object) {
    const int32_t index = Add(s);
    PutItemObject(index, object);
    return index;
}

void TStrings::InsertObject(int32_t index, std::string_view s, TObject* object) {
    Insert(index, s);
    PutItemObject(index, object);
}

void TStrings::Exchange(int32_t index1, int32_t index2) {
    BeginUpdate();
    const std::string s1 = Get(index1);
    TObject* o1 = GetItemObject(index1);
    Put(index1, Get(index2));
    PutItemObject(index1, GetItemObject(index2));
    Put(index2, s1);
    PutItemObject(index2, o1);
    EndUpdate();
}

void TStrings::Move(int32_t curIndex, int32_t newIndex) {
    if (curIndex == newIndex) return;
    BeginUpdate();
    const std::string s = Get(curIndex);
    TObject* object = GetItemObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, object);
    EndUpdate();
}

void TStrings::AddStrings(const TStrings& strings) {
    BeginUpdate();
    for (int32_t i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetItemObject(i));
    EndUpdate();
}

int32_t TStrings::IndexOf(std::string_view s) const {
    for (int32_t i = 0; i < Count(); ++i)
        if (SameText(Get(i), s)) return i;
    return -1;
}

int32_t TStrings::IndexOfObject(const TObject* object) const {
    for (int32_t i = 0; i < Count(); ++i)
        if (GetItemObject(i) == object) return i;
    return -1;
}

std::string TStrings::Names(int32_t index) const {
    const std::string line = Get(index);
    const size_t pos = line.find(NameValueSeparator);
    return pos == std::string::npos ? std::string() : line.substr(0, pos);
}

std::string TStrings::ValueFromIndex(int32_t index) const {
    const std::string line = Get(index);
    const size_t pos = line.find(NameValueSeparator);
    return pos == std::string::npos ? std::string() : line.substr(pos + 1);
}

int32_t TStrings::IndexOfName(std::string_view name) const {
    for (int32_t i = 0; i < Count(); ++i) {
        const std::string line = Get(i);
        const size_t pos = line.find(NameValueSeparator);
        if (pos != std::string::npos && SameText(std::string_view(line).substr(0, pos), name)) return i;
    }
    return -1;
}

std::string TStrings::Values(std::string_view name) const {
    const int32_t index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValue(std::string_view name, std::string_view value) {
    const int32_t index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    std::string line(name);
    line += NameValueSeparator;
    line += value;
    if (index >= 0)
        Put(index, line);
    else
        Add(line);
}

std::string TStrings::Text() const {
    std::string text;
    for (int32_t i = 0; i < Count(); ++i) {
        text += Get(i);
        text += LineBreak;
    }
    return text;
}

void TStrings::SetText(std::string_view text) {
    BeginUpdate();
    try {
        Clear();
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find_first_of("\r\n", start);
            if (end == std::string_view::npos) end = text.size();
            Add(text.substr(start, end - start));
            // One line break: CR LF, CR or LF.
            if (end < text.size()) {
                const bool carriageReturn = text[end] == '\r';
                ++end;
                if (carriageReturn && end < text.size() && text[end] == '\n') ++end;
            }
            start = end;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
    if (Count() != other.Count()) return false;
    for (int32_t i = 0; i < Count(); ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

void TStrings::Assign(const TPersistent* source) {
    if (const auto* strings = ObjectAs<TStrings>(source)) {
        if (strings == this) return;
        BeginUpdate();
        try {
            Clear();
            AddStrings(*strings);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

void TStrings::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::LoadFromStream(TStream& stream) {
    const int64_t remaining = stream.Size() - stream.Position();
    if (remaining > TMemoryStream::MaxSize) throw EReadError("Stream too large for a string list");
    std::string text(static_cast<size_t>(std::max<int64_t>(remaining, 0)), '\0');
    if (!text.empty()) stream.ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
    SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
    const std::string text = Text();
    stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TStrings::SaveToFile(const std::string& fileName) const {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

void TStrings::DefineProperties(TFiler& filer) {
    TPersistent::DefineProperties(filer);
    filer.DefineProperty(
        "Strings", [this](TReader& reader) { ReadData(reader); }, [this](TWriter& writer) { WriteData(writer); },
        Count() > 0);
}

void TStrings::ReadData(TReader& reader) {
    reader.ReadListBegin();
    BeginUpdate();
    try {
        Clear();
        while (!reader.EndOfList()) Add(reader.ReadString());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    reader.ReadListEnd();
}

void TStrings::WriteData(TWriter& writer) const {
    writer.WriteListBegin();
    for (int32_t i = 0; i < Count(); ++i) writer.WriteString(Get(i));
    writer.WriteListEnd();
}

// --- TStringList -------------------------------------------------------------

QUIRN_DEFINE_CLASS(TStringList)

namespace {
constexpr std::string_view IndexOutOfBounds = "List index out of bounds (%d)";
}

void TStringList::CheckIndex(int32_t index) const {
    if (index < 0 || index >= Count()) Error(IndexOutOfBounds, index);
}

std::string TStringList::Get(int32_t index) const {
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)].FString;
}

TObject* TStringList::GetItemObject(int32_t index) const {
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)].FObject;
}

void TStringList::Put(int32_t index, std::string_view s) {
    if (FSorted) throw EListError("Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    FItems[static_cast<size_t>(index)].FString = s;
    Changed();
}

void TStringList::PutItemObject(int32_t index, TObject* object) {
    CheckIndex(index);
    Changing();
    FItems[static_cast<size_t>(index)].FObject = object;
    Changed();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
    return FCaseSensitive ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

bool TStringList::Find(std::string_view s, int32_t& index) const {
    int32_t low = 0;
    int32_t high = Count() - 1;
    bool found = false;
    while (low <= high) {
        const int32_t mid = low + (high - low) / 2;
        const int c = CompareStrings(FItems[static_cast<size_t>(mid)].FString, s);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0) {
                found = true;
                // With duplicates accepted, the first of equal strings.
                if (FDuplicates != TDuplicates::dupAccept) low = mid;
            }
        }
    }
    index = low;
    return found;
}

int32_t TStringList::Add(std::string_view s) {
    int32_t index = Count();
    if (FSorted) {
        if (Find(s, index)) {
            if (FDuplicates == TDuplicates::dupIgnore) return index;
            if (FDuplicates == TDuplicates::dupError) throw EListError("String list does not allow duplicates");
        }
    }
    InsertItem(index, s);
    return index;
}

void TStringList::Insert(int32_t index, std::string_view s) {
    if (FSorted) throw EListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count()) Error(IndexOutOfBounds, index);
    InsertItem(index, s);
}

void TStringList::InsertItem(int32_t index, std::string_view s) {
    Changing();
    FItems.insert(FItems.begin() + index, TItem{std::string(s), nullptr});
    Changed();
}

void TStringList::Delete(int32_t index) {
    CheckIndex(index);
    Changing();
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (FItems.empty()) return;
    Changing();
    FItems.clear();
    Changed();
}

void TStringList::Exchange(int32_t index1, int32_t index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
    Changed();
}

int32_t TStringList::IndexOf(std::string_view s) const {
    if (!FSorted) {
        for (int32_t i = 0; i < Count(); ++i)
            if (CompareStrings(FItems[static_cast<size_t>(i)].FString, s) == 0) return i;
        return -1;
    }
    int32_t index = 0;
    return Find(s, index) ? index : -1;
}

void TStringList::Sort() {
    if (FSorted) return;
    Changing();
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const TItem& a, const TItem& b) { return CompareStrings(a.FString, b.FString) < 0; });
    Changed();
}

void TStringList::CustomSort(TStringListSortCompare compare) {
    if (FSorted || Count() < 2) return;
    Changing();
    // Sort a permutation with the caller's index-based comparison, then apply it.
    std::vector<int32_t> order(FItems.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int32_t>(i);
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return compare(*this, a, b) < 0; });
    std::vector<TItem> sorted;
    sorted.reserve(FItems.size());
    for (int32_t i : order) sorted.push_back(FItems[static_cast<size_t>(i)]);
    FItems.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool value) {
    if (FSorted == value) return;
    if (value) {
        std::stable_sort(FItems.begin(), FItems.end(),
                         [this](const TItem& a, const TItem& b) { return CompareStrings(a.FString, b.FString) < 0; });
    }
    FSorted = value;
}

void TStringList::SetCaseSensitive(bool value) {
    if (FCaseSensitive == value) return;
    FCaseSensitive = value;
    if (FSorted) {
        FSorted = false;
        SetSorted(true);
    }
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && FOnChanging) FOnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && FOnChange) FOnChange(this);
}
