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
int32_t GetIntProp(TObject* Object, std::string_view Name);
// The value's name of an enumeration property ("True"/"False" for booleans); empty otherwise.
std::string GetEnumPropText(TObject* Object, std::string_view Name);
// A wide-string property as it is; any other read as text (ANSI) and widened; empty when absent.
std::wstring GetTextProp(TObject* Object, std::string_view Name);
// The object a class property holds when it is of Class or a descendant; nil otherwise.
TObject* GetObjectPropOf(TObject* Object, std::string_view Name, const TClass& Class);
template <class T>
T* GetObjectPropOf(TObject* Object, std::string_view Name) {
    return static_cast<T*>(GetObjectPropOf(Object, Name, T::StaticClass()));
}
// Writes Value by the property's kind: integer through StrToInt (EConvertError for a text that is
// no number), enumeration by value name, strings as they are; other kinds are left alone.
void SetPropText(TObject* Object, std::string_view Name, std::string_view Value);
// The enumeration text in lower case is "true" (the skinners' test of a boolean property).
bool IsPropTrue(TObject* Object, std::string_view Name);
