// TextConvert.h: conversion between the ANSI strings of the framework's
// properties (bytes of the system code page) and the UTF-16 text of windows.
#pragma once

#include <string>

#include "framework/graphics/AnsiText.h"

// The text of a window as UTF-16 (any length).
std::wstring WindowTextOf(void* window);
