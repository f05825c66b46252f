#include "ui/editor/SectionPlace.h"

#include "store/profile/ProfileText.h"

namespace quarvel {

SectionPlace SectionPlace::of(const std::vector<std::string_view>& names, std::size_t index) {
    SectionPlace place{std::string(names.at(index)), 0};
    for (std::size_t earlier = 0; earlier < index; ++earlier)
        place.occurrence += profile_text::namesEqual(names[earlier], place.name) ? 1 : 0;
    return place;
}

std::optional<std::size_t> SectionPlace::indexIn(const std::vector<std::string_view>& names) const {
    int seen = 0;
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (profile_text::namesEqual(names[index], name) && seen++ == occurrence)
            return index;
    }
    return std::nullopt;
}

} // namespace quarvel
