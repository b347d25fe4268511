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

// The folder where a program keeps its player's own data (saves, records), never the working
// directory or the installed program's folder: $XDG_DATA_HOME/<application>, else
// $HOME/.local/share/<application>. An XDG_DATA_HOME that is empty or relative does not count,
// as the XDG base-directory rules say. Empty when no home folder can be found at all.
std::string UserDataDirectory(const std::string& application);

// Creates the folder (and any missing parents, owner-only) when it does not exist yet. False with
// the cause in error when it cannot be made or something other than a folder stands in its way.
bool CreateDirectories(const std::string& directory, std::string& error);

}  // namespace PAL
