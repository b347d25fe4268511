#include "game/Velkor_OptionMenu.h"

#include <iterator>

VELKOR_IMPLEMENT_CLASS(OptionMenu, "OptionMenu");

namespace {

const OptionMenu::Button kButtons[] = {{"Op_PlayBtn", "opBtnTxt1", OptionMenu::Action::kResume},
                                       {"Op_MmBtn", "opBtnTxt2", OptionMenu::Action::kLeaveToMainMenu}};
// The playing level's cursor is "mouse"; the overlay keeps to the camera only when shown so.
const OptionMenu::Layout kLayout{"mouse", kButtons, std::size(kButtons), false};

}  // namespace

OptionMenu::OptionMenu() : OptionOverlay(kLayout) {}

OptionMenu::OptionMenu(const std::vector<Quillon::SpriteAnimation*>& animations) : OptionOverlay(kLayout, animations) {}
