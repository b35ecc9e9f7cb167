// The property routines of the control skinners: published properties of any object read and
// written by name through the framework's run-time type information, so one skinner serves every
// control class that publishes "Caption", "Font", "Default" and the like. Every routine accepts a
// nil object and a missing property, and answers -1, empty text or nil where the object, the
// property or the expected kind is missing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TClass;
class TObject;

// The value of an integer property; -1 otherwise.
int32_t GetIntProp(TObject* object, std::string_view name);
// The value's name of an enumeration property ("True"/"False" for booleans); empty otherwise.
std::string GetEnumPropText(TObject* object, std::string_view name);
// A wide-string property as it is; any other read as text (ANSI) and widened; empty when absent.
std::wstring GetTextProp(TObject* object, std::string_view name);
// The object a class property holds when it is of Class or a descendant; nil otherwise.
TObject* GetObjectPropOf(TObject* object, std::string_view name, const TClass& className);
template <class T>
T* GetObjectPropOf(TObject* object, std::string_view name) {
    return static_cast<T*>(GetObjectPropOf(object, name, T::StaticClass()));
}
// Writes Value by the property's kind: integer through StrToInt (EConvertError for a text that is
// no number), enumeration by value name, strings as they are; other kinds are left alone.
void SetPropText(TObject* object, std::string_view name, std::string_view value);
// The enumeration text in lower case is "true" (the skinners' test of a boolean property).
bool IsPropTrue(TObject* object, std::string_view name);
