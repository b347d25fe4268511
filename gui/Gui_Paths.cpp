#include "gui/Gui_Paths.h"

#include "platform/PAL_Services.h"

namespace GUI {

namespace {
std::string ResourcesFolder() { return std::string(PAL::GetExecutableDirectory()) + "\\" + GetResourcesFolderName(); }
}  // namespace

std::string GetResourcesFolderName() { return "Resources"; }
std::string GetSkinsFolder() { return ResourcesFolder() + "\\Skins"; }
std::string GetOverlaysFolder() { return GetSkinsFolder() + "\\Overlays"; }
std::string GetFontsFolder() { return ResourcesFolder() + "\\Fonts"; }
std::string GetCursorsFolder() { return ResourcesFolder() + "\\Cursors"; }
std::string GetSkinPath(const std::string& name) { return GetSkinsFolder() + "\\" + name + "\\" + name; }
std::string GetFontPath(const std::string& name) { return GetFontsFolder() + "\\" + name + "\\" + name; }
std::string GetSkinFilePath(const std::string& file) { return GetSkinsFolder() + "\\" + file; }
std::string GetOverlayPath(const std::string& file) { return GetOverlaysFolder() + "\\" + file; }
std::string GetCursorPath(const std::string& file) { return GetCursorsFolder() + "\\" + file; }

}  // namespace GUI
