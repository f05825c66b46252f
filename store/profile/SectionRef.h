#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quarvel {

// What a view showed of a section: how many sections of its name the file held, this one included, and
// the key and value of each of its lines as the section read returns them (see profile_text::splitKeyLine).
struct ShownSection {
    struct Line {
        std::string key;
        std::string value;
    };
    std::size_t namesakes = 1;
    std::vector<Line> lines;
};

// One section of a file by name and by which of the sections of that name it is (0 for the first), so
// that the second of two equal sections can be read and changed. Names compare as the store compares
// them: trimmed and regardless of case.
//
// An edit that carries what was shown of the section goes ahead only while the file still holds as many
// sections of that name and this one still reads as shown: a namesake added or removed elsewhere would
// make "the second of that name" another section.
struct SectionRef {
    std::string name;
    std::size_t occurrence = 0;
    std::optional<ShownSection> shown;
};

} // namespace quarvel
