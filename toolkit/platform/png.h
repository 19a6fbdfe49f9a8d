// PNG files of surfaces: screenshots for tests and golden images to compare
// them against.
//
// SavePng writes the colours a surface shows (a palette surface through its
// palette as it is now) as an 8-bit RGB PNG. LoadPng reads any PNG libpng
// understands into a true-colour surface (alpha is dropped).
#pragma once

#include "toolkit/platform/surface.h"

#include <string>

namespace plat {

// Writes the surface to path; false, with a message in *error if given, when
// the file cannot be written or the surface is empty.
bool SavePng(const Surface& surface, const std::string& path, std::string* error = nullptr);

// Reads path into a true-colour surface; false, with a message naming the file
// in *error if given, when the file is missing or not a valid PNG.
bool LoadPng(const std::string& path, Surface& out, std::string* error = nullptr);

} // namespace plat
