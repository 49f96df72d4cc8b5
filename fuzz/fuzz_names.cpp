// Fuzz target: the names parser, reading the input as the names file.
#include "file.h"
#include "testsupport.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>

namespace {
const TraceSilencer quiet;   // the parser echoes every line and name
}

// Parses the input and checks what any names list must satisfy.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream in(input);
    TEXT names;
    read_names(in, names);
    // Every name ends at a comma, so there are never more names than commas ...
    if (names.lines.size() > static_cast<std::size_t>(std::count(input.begin(), input.end(), ',')))
        __builtin_trap();
    // ... and no name holds a separator, a line end or a NUL.
    for (const std::string& name : names.lines)
        if (name.find_first_of(std::string(",\n\0", 3)) != std::string::npos)
            __builtin_trap();
    return 0;
}
