#include "emfhelper/EmfToSvg.h"

#include <cstdlib>
#include <vector>

extern "C" {
#include <emf2svg.h>
}

namespace EmfToSvg {

bool convert(const char* data, std::size_t size, std::string* svg)
{
    generatorOptions options {};
    options.nameSpace = const_cast<char*>("svg");
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    options.imgWidth = 0;
    options.imgHeight = 0;
    // The library takes a mutable buffer.
    std::vector<char> copy(data, data + size);
    char* out = nullptr;
    size_t length = 0;
    const int ok = emf2svg(copy.data(), copy.size(), &out, &length, &options);
    if (out) {
        svg->assign(out, length);
        std::free(out);
    }
    return ok && !svg->empty();
}

} // namespace EmfToSvg
