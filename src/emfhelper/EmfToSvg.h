#pragma once
// Converts an enhanced metafile (EMF) into SVG text with libemf2svg. The library has crashes
// and endless loops on hostile files, so the programs never call this themselves: it runs in
// the helper process tovalin-emf2svg (main.cpp), under time and memory limits.

#include <cstddef>
#include <string>

namespace EmfToSvg {

// True and the SVG text in *svg when the library converted the data.
bool convert(const char* data, std::size_t size, std::string* svg);

} // namespace EmfToSvg
