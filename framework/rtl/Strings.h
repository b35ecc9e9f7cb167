// Strings: TStrings (abstract list of ANSI strings with associated objects)
// and TStringList (its stored implementation, optionally sorted).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/Delegate.h"
#include "framework/rtl/Object.h"

class TStream;
class TReader;
class TWriter;

// TStrings: the list interface every string list shares (memo lines, list
// items, string lists). Derived classes store the strings; TStrings gives
// text, name=value, file and stream services on top.
class TStrings : public TPersistent {
    QUIRN_CLASS(TStrings, TPersistent)
public:
    virtual int32_t Count() const = 0;
    // Index outside 0..Count()-1: EListError.
    std::string Strings(int32_t index) const { return Get(index); }
    std::string operator[](int32_t index) const { return Get(index); }
    void SetString(int32_t index, std::string_view value) { Put(index, value); }
    TObject* Objects(int32_t index) const { return GetItemObject(index); }
    void SetObject(int32_t index, TObject* object) { PutItemObject(index, object); }

    // Appends (or, in a sorted list, inserts in order); the new index.
    virtual int32_t Add(std::string_view s);
    int32_t AddObject(std::string_view s, TObject* object);
    virtual void Insert(int32_t index, std::string_view s) = 0;
    void InsertObject(int32_t index, std::string_view s, TObject* object);
    virtual void Delete(int32_t index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int32_t index1, int32_t index2);
    void Move(int32_t curIndex, int32_t newIndex);
    void AddStrings(const TStrings& strings);

    // First index of s compared without letter case (ASCII); -1 if absent.
    virtual int32_t IndexOf(std::string_view s) const;
    int32_t IndexOfObject(const TObject* object) const;

    // "Name=Value" lines. Names(i) is the text before the first "=" (empty
    // when there is none); Values(name) the text after it for the first line
    // whose name matches without letter case.
    std::string Names(int32_t index) const;
    std::string ValueFromIndex(int32_t index) const;
    std::string Values(std::string_view name) const;
    // Sets the value of name; an empty value deletes the line.
    void SetValue(std::string_view name, std::string_view value);
    int32_t IndexOfName(std::string_view name) const;

    // Every line followed by CR LF.
    std::string Text() const;
    // Replaces the lines; splits at CR, LF or CR LF; a final line break does
    // not start an empty last line.
    virtual void SetText(std::string_view text);

    bool Equals(const TStrings& other) const;
    void Assign(const TPersistent* source) override;

    // Batched changes: derived classes see one update instead of many.
    void BeginUpdate();
    void EndUpdate();
    int32_t UpdateCount() const { return FUpdateCount; }

    // Loading reads from the stream's position to its end.
    virtual void LoadFromStream(TStream& stream);
    virtual void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    // Stores the lines as the list property "Strings" of component streaming.
    void DefineProperties(TFiler& filer) override;

protected:
    virtual std::string Get(int32_t index) const = 0;
    virtual void Put(int32_t index, std::string_view s);
    virtual TObject* GetItemObject(int32_t index) const;
    virtual void PutItemObject(int32_t index, TObject* object);
    // Called with true when the first BeginUpdate starts and false when the last EndUpdate ends.
    virtual void SetUpdateState(bool updating);
    [[noreturn]] void Error(std::string_view message, int32_t index) const;

private:
    void ReadData(TReader& reader);
    void WriteData(TWriter& writer) const;

    int32_t FUpdateCount = 0;
};

// What a sorted TStringList does with a string it already holds: drop it,
// add it again, or raise EListError.
enum class TDuplicates { dupIgnore, dupAccept, dupError };

// TStringList: strings and objects stored in order; optionally kept sorted.
// The objects are not owned.
class TStringList : public TStrings {
    QUIRN_CLASS(TStringList, TStrings)
public:
    using TStringListSortCompare = int (*)(const TStringList& list, int32_t index1, int32_t index2);

    TStringList() = default;

    int32_t Count() const override { return static_cast<int32_t>(FItems.size()); }
    int32_t Add(std::string_view s) override;
    void Insert(int32_t index, std::string_view s) override;
    void Delete(int32_t index) override;
    void Clear() override;
    void Exchange(int32_t index1, int32_t index2) override;
    int32_t IndexOf(std::string_view s) const override;

    // Sorted lists: binary search; true and the index when found, else false
    // and the index where s would go.
    bool Find(std::string_view s, int32_t& index) const;
    virtual void Sort();
    void CustomSort(TStringListSortCompare compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value);

    // Raised before and after every change (not during BeginUpdate/EndUpdate).
    TNotifyEvent OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = handler; }
    TNotifyEvent OnChanging() const { return FOnChanging; }
    void SetOnChanging(TNotifyEvent handler) { FOnChanging = handler; }

protected:
    std::string Get(int32_t index) const override;
    void Put(int32_t index, std::string_view s) override;
    TObject* GetItemObject(int32_t index) const override;
    void PutItemObject(int32_t index, TObject* object) override;
    void SetUpdateState(bool updating) override;
    virtual void Changed();
    virtual void Changing();
    int CompareStrings(std::string_view a, std::string_view b) const;

private:
    struct TItem {
        std::string FString;
        TObject* FObject = nullptr;
    };
    void CheckIndex(int32_t index) const;
    void InsertItem(int32_t index, std::string_view s);

    std::vector<TItem> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = TDuplicates::dupIgnore;
    TNotifyEvent FOnChange;
    TNotifyEvent FOnChanging;
};
