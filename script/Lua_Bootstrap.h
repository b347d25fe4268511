#pragma once
// Internal to the script library: the engine's own Lua bootstrap and the anchors that keep the
// binding files (which only register method tables at static initialisation) in every link.

namespace Lua {
namespace Detail {

// The Lua source Initialize runs first in the main state.
const char* GetEngineBootstrapSource();

// Calls every anchor below; a static library drops an object file nobody references, and with it
// that file's method-table registrations.
void LinkScriptBindings();
void LinkLineSegment2DBindings();
void LinkCircle2DBindings();
void LinkRay2DBindings();
void LinkLine2DBindings();

}  // namespace Detail
}  // namespace Lua
