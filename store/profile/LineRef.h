#pragma once

#include "store/profile/SectionRef.h"

#include <cstddef>
#include <string>

namespace quarvel {

// One line of a section by its index among the lines the section read returns, with the key and value it
// had when it was shown: a write to it goes ahead only while it still reads the same. A line without "="
// has an empty key and the whole line as its value.
struct LineRef {
    SectionRef section;
    std::size_t index = 0;
    std::string key;
    std::string value;
};

} // namespace quarvel
