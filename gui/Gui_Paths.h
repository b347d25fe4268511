#pragma once
// Where the GUI finds its files: folders under "Resources" beside the executable, written with the
// system's backslashes (every open maps them through PAL::MapPath).
#include <string>

namespace Core {
class Object;
}
namespace Renderer {
class ITexture;
}

namespace GUI {

std::string GetResourcesFolderName();
std::string GetSkinsFolder();
std::string GetOverlaysFolder();
std::string GetFontsFolder();
std::string GetCursorsFolder();
// <skins>\name\name (the ".gui" and ".png" of a skin share it).
std::string GetSkinPath(const std::string& name);
// <fonts>\name\name.
std::string GetFontPath(const std::string& name);
std::string GetSkinFilePath(const std::string& file);
std::string GetOverlayPath(const std::string& file);
std::string GetCursorPath(const std::string& file);

}  // namespace GUI
