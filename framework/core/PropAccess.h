// PropAccess: reading and writing published properties of any object, through a TPropInfo or by name, as
// typed values or as text (the routines component streaming and the skin engine use).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/PropInfo.h"

// --- typed access through a TPropInfo -----------------------------------------
// Each raises EPropertyError when the property has another kind, is read-only,
// or the value is out of the type's range.

int64_t GetOrdProp(TObject* instance, const TPropInfo& prop);
void SetOrdProp(TObject* instance, const TPropInfo& prop, int64_t value);
std::string GetStrProp(TObject* instance, const TPropInfo& prop);
void SetStrProp(TObject* instance, const TPropInfo& prop, std::string_view value);
std::wstring GetWideStrProp(TObject* instance, const TPropInfo& prop);
void SetWideStrProp(TObject* instance, const TPropInfo& prop, std::wstring_view value);
TObject* GetObjectProp(TObject* instance, const TPropInfo& prop);
void SetObjectProp(TObject* instance, const TPropInfo& prop, TObject* value);
TMethod GetMethodProp(TObject* instance, const TPropInfo& prop);
void SetMethodProp(TObject* instance, const TPropInfo& prop, const TMethod& value);
// Enumerations by value name (booleans "False"/"True").
std::string GetEnumProp(TObject* instance, const TPropInfo& prop);
void SetEnumProp(TObject* instance, const TPropInfo& prop, std::string_view valueName);
// Sets as element names "a,b" (with brackets: "[a,b]"); reading accepts both
// forms and blanks around names.
std::string GetSetProp(TObject* instance, const TPropInfo& prop, bool brackets = false);
void SetSetProp(TObject* instance, const TPropInfo& prop, std::string_view text);
std::string SetToString(const TTypeInfo& setType, uint64_t bits, bool brackets = false);
uint64_t StringToSet(const TTypeInfo& setType, std::string_view text);

// Value of any kind; set checks the alternative and the range.
TPropValue GetPropValue(TObject* instance, const TPropInfo& prop);
void SetPropValue(TObject* instance, const TPropInfo& prop, const TPropValue& value);

// Integers with identifiers (colours, cursors, see TPropertyBuilder::Identifiers):
// the identifier of value in the property's map, else the number in decimal.
std::string IntegerToText(const TPropInfo& prop, int64_t value);
// The value of ident in the property's map; EConvertError naming the property
// and the identifier when the map lacks it or the property has none.
int64_t IdentToPropValue(const TPropInfo& prop, std::string_view ident);

// Value as text: integers in decimal (by identifier where the property has
// one for the value), chars as the character, enumerations
// and sets by name, strings as they are (wide strings in the ANSI code page),
// components by Name (empty for none; a non-component object as "(TClass)"),
// methods by published method name. Setting from text: integers through
// StrToInt or by identifier (EConvertError when neither), enumerations, sets,
// components and methods by name (EPropertyError when unknown); components and
// methods are looked up on the instance's owner chain.
std::string GetPropAsText(TObject* instance, const TPropInfo& prop);
void SetPropAsText(TObject* instance, const TPropInfo& prop, std::string_view text);

// --- by name: a missing property is an answer, not an error ---------------------

// nullopt when the instance is nil or has no such property.
std::optional<TPropValue> GetPropValue(TObject* instance, std::string_view name);
std::optional<std::string> GetPropAsText(TObject* instance, std::string_view name);
// false when the instance is nil or has no such property.
bool SetPropValue(TObject* instance, std::string_view name, const TPropValue& value);
bool SetPropAsText(TObject* instance, std::string_view name, std::string_view text);

// True when the value equals the property's default (the ordinal Default,
// empty text, an unassigned event, no object); streaming leaves it out.
bool IsDefaultPropValue(TObject* instance, const TPropInfo& prop);
