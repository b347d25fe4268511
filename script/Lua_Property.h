#pragma once
// The generic field handlers through which script property tables read and write plain fields of
// objects. A getter pushes the field and returns 1; a setter takes the value at stack index 3 (the
// value of a property assignment: object, key, value) and returns 0.
#include <cstdint>

struct lua_State;

namespace Lua {

using FieldSetter = int (*)(lua_State* state, void* field);
using FieldGetter = int (*)(lua_State* state, void* field);

// One property of a scriptable class; a record of zeros ends a table.
struct PropertyRecord {
  const char* name;
  FieldSetter setter;
  FieldGetter getter;
  std::uint32_t offset;  // of the field inside the object
};

int GetFloatField(lua_State* state, void* field);
int SetFloatField(lua_State* state, void* field);  // narrowed to a 32-bit float
int GetBoolField(lua_State* state, void* field);   // the field is one byte, 0 or 1
int SetBoolField(lua_State* state, void* field);
int GetIntegerField(lua_State* state, void* field);  // int32_t
int SetIntegerField(lua_State* state, void* field);
int GetUnsignedField(lua_State* state, void* field);  // uint32_t
int SetUnsignedField(lua_State* state, void* field);

}  // namespace Lua
