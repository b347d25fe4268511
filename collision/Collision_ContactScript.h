#pragma once
// Contact records as plain Lua tables. Each builder calls the record kind's script constructor
// (defined by the engine's Lua bootstrap: "CreateBRECT_C", "CreateCIR_C", ...), fills the table and
// leaves exactly that one table on the stack, returning its absolute index; a null record pushes
// nothing and answers -1. Arrays go through the script functions "CreateArrayTable" (four values)
// and "CreateArrayTableVar" (any number).
struct lua_State;

namespace Collision2D {

struct BRECT_C;
class CIR_C;
class LNS_C;
class DGEO_C;
class TMAP_C;
struct TMAP_DATA_BASE;
struct TMAP_DATA;

int PushBRECT_C(lua_State* state, const BRECT_C* record);
int PushCIR_C(lua_State* state, const CIR_C* record);
int PushLNS_C(lua_State* state, const LNS_C* record);
int PushDGEO_C(lua_State* state, const DGEO_C* record);
int PushTMAP_C(lua_State* state, const TMAP_C* record);
int PushTMAP_DATA_BASE(lua_State* state, const TMAP_DATA_BASE* record);
int PushTMAP_DATA(lua_State* state, const TMAP_DATA* record);

}  // namespace Collision2D
