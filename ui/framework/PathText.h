#pragma once

#include <QString>

#include <string>

namespace quarvel {

// A path or file name as the window shows it. Paths are the file system's own bytes, not Windows-1252
// like the content of the files.
QString pathText(const std::string& path);

} // namespace quarvel
