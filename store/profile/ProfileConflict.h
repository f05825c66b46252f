#pragma once

#include <stdexcept>
#include <string>

namespace quarvel {

// A write addressed a section or line that no longer reads as it did when it was shown: another program
// changed the file meanwhile. Nothing was written.
class ProfileConflict : public std::runtime_error {
public:
    explicit ProfileConflict(const std::string& what) : std::runtime_error(what) {}
};

} // namespace quarvel
