#pragma once
// How physics objects appear in scripts: a userdata holding the object's pointer with the metatable
// of its script class.
struct lua_State;

namespace Physics2D {

class MassProperties;
class Forces;

// Pushes a userdata borrowing object (its owner keeps it alive) with scriptName's metatable.
int PushPointerToLua(lua_State* state, void* object, const char* scriptName);
int PushMassPropertiesToLua(lua_State* state, MassProperties* massProperties);
int PushForcesToLua(lua_State* state, Forces* forces);

}  // namespace Physics2D
