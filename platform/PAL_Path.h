#pragma once
// The one place where the system's backslash paths become Linux paths. Every file open maps
// its path through here.
#include <string>

namespace PAL {

// Turns every '\' into '/' and collapses runs of separators into one. Nothing else changes:
// a leading separator stays (the path is absolute), and names keep their case. Mapping an
// already mapped path changes nothing.
std::string MapPath(const std::string& path);

// The executable's directory followed by the mapped relative path, e.g.
// ResourcePath("\\Resources\\Fonts\\DefaultFont\\DefaultFont.png") or
// ResourcePath("Resources\\Animations\\Car.png"); a leading separator is optional.
std::string ResourcePath(const std::string& relative);

}  // namespace PAL
