#pragma once

#include "store/profile/ProfileDocument.h"
#include "store/profile/ProfileEditor.h"
#include "store/profile/ProfileStore.h"

#include <optional>
#include <span>

namespace quarvel {

// The document after ProfileEditor::setValue of each setting in turn, as one splice of the whole file;
// nothing when the bytes come out as they were. A set changes only the first section of its name, or adds
// a section at the end of the file, and the first section of a name stays the first; so where the file
// ends with a line break, the sets are worked out section by section on that section's bytes alone,
// which costs a parse of one section each instead of one of the whole file.
std::optional<ProfileEditor::Splice> setInTurn(const ProfileDocument& original,
                                               std::span<const ProfileStore::Setting> settings);

} // namespace quarvel
