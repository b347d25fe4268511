#include "game/Velkor_OptionMenu_M.h"

#include <iterator>

VELKOR_IMPLEMENT_CLASS(OptionMenu_M, "OptionMenu_M");

namespace {

const OptionMenu_M::Button kButtons[] = {{"Op_MmBtn", "opBtnTxt2", OptionMenu_M::Action::kClose}};
// The main menu shows it without asking it to follow, yet it stands on the camera while open.
const OptionMenu_M::Layout kLayout{"MousePt", kButtons, std::size(kButtons), true};

}  // namespace

OptionMenu_M::OptionMenu_M() : OptionOverlay(kLayout) {}

OptionMenu_M::OptionMenu_M(const std::vector<Quillon::SpriteAnimation*>& animations)
    : OptionOverlay(kLayout, animations) {}
