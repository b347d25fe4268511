#pragma once
// Start-up registrations of the engine layer. The node, sprite and text classes register themselves
// with the class registry; the physics engine's force classes get their script method table here.
#include <cstddef>
#include <memory>
#include <vector>

#include "script/Lua_MethodTable.h"

namespace Engine {

constexpr size_t kForceScriptMethodCount = 12;
// The force classes' script methods, in table order.
extern const char* const kForceScriptMethodNames[kForceScriptMethodCount];

// Builds the method table of a force script class from one handler per name above, in that order.
// Called once per script class by the physics engine's start-up; false (nothing registered) for a
// missing handler or a script class that already has its table.
bool RegisterForceScriptHandlers(const char* scriptName, const lua_CFunction (&handlers)[kForceScriptMethodCount]);

}  // namespace Engine
