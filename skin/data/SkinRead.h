// SkinRead: the skin package unit - the package reader and the LZH decoder
// it expands packages with.
#pragma once

#include "skin/data/Lzh.h"
#include "skin/data/SkinArchive.h"
#include "skin/data/SkinReader.h"
