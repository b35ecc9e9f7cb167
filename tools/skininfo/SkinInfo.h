// SkinInfo: a text description of a loaded skin — every element with its
// section, class, bitmap size, frame count, margins, flags and colours, the
// colour table and the caption buttons — for skin designers and tests.
#pragma once

#include <string>

class TSkinData;

std::string DescribeSkin(const TSkinData& Data);
