#pragma once

#include <cstdint>
#include <string>

namespace quarvel {

// The platform's version record, with the fields and record size that the files' home platform reports;
// which folder holds the user's fs9.cfg depends on the major version.
struct OsVersionInfo {
    std::uint32_t sizeBytes = 148;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;
    std::string servicePack;
};

} // namespace quarvel
