#pragma once

#include <cstddef>
#include <string>

namespace quarvel {

// One section of a file by name and by which of the sections of that name it is (0 for the first), so
// that the second of two equal sections can be read and changed. Names compare as the store compares
// them: trimmed and regardless of case.
struct SectionRef {
    std::string name;
    std::size_t occurrence = 0;
};

} // namespace quarvel
