// Cursors.h: TCursor, the framework's standard cursor numbers and CursorIdents, their
// identifiers for forms and property text. Portable (no Win32): TScreen maps the numbers to
// the system's cursors.
#pragma once

#include <cstdint>

#include "framework/core/IdentMap.h"

// Cursor numbers: 0 and below are the framework's standard cursors (mapped to
// the system's), positive numbers are an application's own (TScreen::SetCursors).
using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// Identifiers of the standard cursors, as forms store them ("Cursor = crHandPoint").
inline constexpr TIdentMapEntry CursorIdentEntries[] = {
    {crDefault, "crDefault"},   {crNone, "crNone"},         {crArrow, "crArrow"},         {crCross, "crCross"},
    {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},     {crUpArrow, "crUpArrow"},   {crHourGlass, "crHourGlass"}, {crNo, "crNo"},
    {crAppStart, "crAppStart"}, {crHelp, "crHelp"},         {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"},
};
inline constexpr TIdentMap CursorIdents{"TCursor", CursorIdentEntries};
