#include "script/Lua_Bootstrap.h"

namespace Lua {
namespace Detail {

namespace {

// The constructors of the value tables the engine exchanges with scripts. The engine calls them
// with no arguments and sets the fields itself; "className" tells the tables apart when values are
// copied between scripts.
const char* const kEngineBootstrap = R"lua(
function CreatePoint()
  return { className = "Point2D", X = 0, Y = 0 }
end

function CreateVector()
  return { className = "Vector2D", X = 0, Y = 0 }
end

function CreateColor()
  return { className = "Color", R = 0, G = 0, B = 0, A = 1 }
end
)lua";

}  // namespace

const char* GetEngineBootstrapSource() { return kEngineBootstrap; }

void LinkScriptBindings() {
  LinkLineSegment2DBindings();
  LinkCircle2DBindings();
  LinkRay2DBindings();
  LinkLine2DBindings();
}

}  // namespace Detail
}  // namespace Lua
