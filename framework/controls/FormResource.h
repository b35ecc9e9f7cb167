// FormResource.h: reading a form from its form resource, the binary form
// data stored in the module as RCDATA named after the form's class.
#pragma once

#include <string>

#include "framework/graphics/Graphic.h"  // EResNotFound, shared with pictures loaded from resources

class TComponent;

// Reads the RCDATA resource named className (as resource names go, letter
// case ignored) into root. EResNotFound when the module has no such
// resource; the reader's EReadError for malformed data.
void LoadFormResource(TComponent& root, const std::string& className);
