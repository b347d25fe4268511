// Script forms of tile maps ("CollisionTileMap") and of their tiles ("Tile") and cells ("Cell").
// Methods given too few arguments return nothing.
#include <cstdint>
#include <cstring>
#include <vector>

#include <lua.hpp>

#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_ScriptSupport.h"
#include "collision/Collision_TileMap.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_Script.h"

namespace Collision2D {

namespace {

using namespace Script;

// Truncated toward zero; values no 32-bit integer can hold become 0.
int32_t ToInteger32(lua_Number value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return 0;
  return static_cast<int32_t>(value);
}

bool HasNumbers(lua_State* state, int count) {
  for (int i = 0; i < count; ++i) {
    if (!lua_isnumber(state, kFirstArgument + i)) return false;
  }
  return true;
}

// Scripts hold a cell or a tile by where it is in its map, never by its address: re-reading the
// map's information file replaces the cells and tiles, and a held address would point into freed
// memory. A handle finds its cell or tile again at each use; one whose place the map no longer
// has raises a script error.
struct CellHandle {
  TileMap* map;
  int32_t column;
  int32_t row;
};
struct TileHandle {
  TileMap* map;
  int32_t index;
};

int PushCellHandle(lua_State* state, TileMap* map, int32_t column, int32_t row);
int PushTileHandle(lua_State* state, TileMap* map, int32_t index);

Cell* Resolve(lua_State* state, const CellHandle& handle) {
  Cell* cell = handle.map->GetCell(handle.column, handle.row);
  if (cell == nullptr) luaL_error(state, "the map no longer has the cell (%d, %d)", handle.column, handle.row);
  return cell;
}

Tile* Resolve(lua_State* state, const TileHandle& handle) {
  Tile* tile = handle.map->GetTile(handle.index);
  if (tile == nullptr) luaL_error(state, "the map no longer has the tile %d", handle.index);
  return tile;
}

// --- Tile ------------------------------------------------------------------------------------

int GetTileField(lua_State* state, void* object, const char* key) {
  if (std::strcmp(key, "isActivated") != 0) return 0;
  lua_pushboolean(state, Resolve(state, *static_cast<TileHandle*>(object))->activated);
  return 1;
}

bool SetTileField(lua_State* state, void* object, const char* key, int valueIndex) {
  if (std::strcmp(key, "isActivated") != 0) return false;
  Resolve(state, *static_cast<TileHandle*>(object))->activated = lua_toboolean(state, valueIndex) != 0;
  return true;
}

// Assigning to a method's name ("CurrentId") finds no writable field.
const FieldAccess g_tileAccess{Tile::ScriptClassName, &GetTileField, &SetTileField, "writable field"};

Tile* SelfTile(lua_State* state) {
  return Resolve(state, *Lua::CheckSelf<TileHandle>(state, Tile::ScriptClassName));
}

int TileCurrentId(lua_State* state) {
  lua_pushinteger(state, SelfTile(state)->CurrentId());
  return 1;
}

int TileCurrentImage(lua_State* state) {
  lua_pushnumber(state, static_cast<lua_Number>(SelfTile(state)->CurrentImage()));
  return 1;
}

const Lua::Method kTileMethods[] = {{"CurrentId", &TileCurrentId}, {"CurrentImage", &TileCurrentImage}};

// --- Cell ------------------------------------------------------------------------------------

// "MyTile" is read-only: a cell may only show a tile of its own map, which scripts name by its
// index through "myTileIndex".
int GetCellField(lua_State* state, void* object, const char* key) {
  const auto& handle = *static_cast<CellHandle*>(object);
  Cell* cell = Resolve(state, handle);
  if (std::strcmp(key, "isUsed") == 0) {
    lua_pushboolean(state, cell->used);
    return 1;
  }
  if (std::strcmp(key, "myTileIndex") == 0) {
    lua_pushinteger(state, cell->tileIndex);
    return 1;
  }
  if (std::strcmp(key, "MyTile") == 0) {
    if (cell->tile == nullptr) {
      lua_pushnil(state);
      return 1;
    }
    return PushTileHandle(state, handle.map, cell->tileIndex);
  }
  return 0;
}

bool SetCellField(lua_State* state, void* object, const char* key, int valueIndex) {
  const auto& handle = *static_cast<CellHandle*>(object);
  if (std::strcmp(key, "isUsed") == 0) {
    Resolve(state, handle)->used = lua_toboolean(state, valueIndex) != 0;
    return true;
  }
  if (std::strcmp(key, "myTileIndex") != 0) return false;
  Cell* cell = Resolve(state, handle);
  // Checked before it is narrowed, so that no index wraps onto a tile; the tile follows the index.
  const lua_Number value = luaL_checknumber(state, valueIndex);
  if (!(value > -2.0 && value < static_cast<lua_Number>(handle.map->GetTileCount())))
    luaL_error(state, "the map has no tile %f", value);
  cell->tileIndex = static_cast<int32_t>(value);
  cell->tile = handle.map->GetTile(cell->tileIndex);
  return true;
}

const FieldAccess g_cellAccess{Cell::ScriptClassName, &GetCellField, &SetCellField, "writable field"};

Cell* SelfCell(lua_State* state) {
  return Resolve(state, *Lua::CheckSelf<CellHandle>(state, Cell::ScriptClassName));
}

int CellId(lua_State* state) {
  lua_pushinteger(state, SelfCell(state)->GetCurrentId());
  return 1;
}

int CellImage(lua_State* state) {
  const Cell* cell = SelfCell(state);
  lua_pushnumber(state, cell->tile ? static_cast<lua_Number>(cell->tile->CurrentImage()) : 0.0);
  return 1;
}

const Lua::Method kCellMethods[] = {{"Id", &CellId}, {"MyImage", &CellImage}};

int PushCellHandle(lua_State* state, TileMap* map, int32_t column, int32_t row) {
  Lua::PushCopy(state, CellHandle{map, column, row}, Cell::ScriptClassName);
  EnsureFieldAccess(state, g_cellAccess);
  return 1;
}

int PushTileHandle(lua_State* state, TileMap* map, int32_t index) {
  Lua::PushCopy(state, TileHandle{map, index}, Tile::ScriptClassName);
  EnsureFieldAccess(state, g_tileAccess);
  return 1;
}

// Copying to another script state copies the handle.
int PushCellHandleCopy(lua_State* target, void* object) {
  const auto* handle = static_cast<CellHandle*>(object);
  return PushCellHandle(target, handle->map, handle->column, handle->row);
}

int PushTileHandleCopy(lua_State* target, void* object) {
  const auto* handle = static_cast<TileHandle*>(object);
  return PushTileHandle(target, handle->map, handle->index);
}

// --- Tile map --------------------------------------------------------------------------------

TileMap* SelfMap(lua_State* state) { return Lua::CheckSelf<TileMap>(state, TileMap::ScriptClassName); }

int ReadInformation(lua_State* state) {
  TileMap* self = SelfMap(state);
  if (ArgumentCount(state) < 1 || !lua_isstring(state, kFirstArgument)) return 0;
  // A file that does not parse leaves the map as it was; the script sees the map unchanged.
  self->ReadInformation(lua_tostring(state, kFirstArgument));
  return 0;
}

int SetPosition(lua_State* state) {
  TileMap* self = SelfMap(state);
  if (ArgumentCount(state) < 1 || !lua_istable(state, kFirstArgument)) return 0;
  lua_getfield(state, kFirstArgument, "X");
  lua_getfield(state, kFirstArgument, "Y");
  const Math::Vector2D point(static_cast<float>(lua_tonumber(state, -2)), static_cast<float>(lua_tonumber(state, -1)));
  lua_pop(state, 2);
  self->SetPosition(point);
  return 0;
}

int SetZCollision(lua_State* state) {
  TileMap* self = SelfMap(state);
  if (ArgumentCount(state) >= 1 && lua_isnumber(state, kFirstArgument))
    self->SetZCollision(ToLowByte(lua_tonumber(state, kFirstArgument)));
  return 0;
}

template <int32_t (TileMap::*Getter)() const>
int PushSize(lua_State* state) {
  lua_pushinteger(state, (SelfMap(state)->*Getter)());
  return 1;
}

int SetBoundingRectangle(lua_State* state) {
  TileMap* self = SelfMap(state);
  if (ArgumentCount(state) < 4 || !HasNumbers(state, 4)) return 0;
  self->SetBoundingRectangle(QlnRect(static_cast<float>(lua_tonumber(state, kFirstArgument)),
                                     static_cast<float>(lua_tonumber(state, kFirstArgument + 1)),
                                     static_cast<float>(lua_tonumber(state, kFirstArgument + 2)),
                                     static_cast<float>(lua_tonumber(state, kFirstArgument + 3))));
  return 0;
}

// The rectangle goes out as a copy the script owns, valid after the handler returns.
int GetBoundingRectangle(lua_State* state) {
  QlnRect rectangle = SelfMap(state)->GetBoundingRectangle();
  return rectangle.PushToLua(state);
}

int GetCurrentBoundingRectangle(lua_State* state) {
  QlnRect rectangle = SelfMap(state)->GetCurrentBoundingRectangle();
  return rectangle.PushToLua(state);
}

int GetCell(lua_State* state) {
  TileMap* self = SelfMap(state);
  if (ArgumentCount(state) < 2 || !HasNumbers(state, 2)) return 0;
  const int32_t column = ToInteger32(lua_tonumber(state, kFirstArgument));
  const int32_t row = ToInteger32(lua_tonumber(state, kFirstArgument + 1));
  if (self->GetCell(column, row) == nullptr) return 0;  // outside the grid
  return PushCellHandle(state, self, column, row);
}

int GetCellUsed(lua_State* state) {
  TileMap* self = SelfMap(state);
  if (ArgumentCount(state) < 2 || !HasNumbers(state, 2)) return 0;
  lua_pushboolean(state, self->IsCellUsed(ToInteger32(lua_tonumber(state, kFirstArgument)),
                                          ToInteger32(lua_tonumber(state, kFirstArgument + 1))));
  return 1;
}

int GetCollidedCellId(lua_State* state) {
  TileMap* self = SelfMap(state);
  if (ArgumentCount(state) < 2 || !lua_istable(state, kFirstArgument) || !lua_isnumber(state, kFirstArgument + 1))
    return 0;
  const Math::Vector2D point = LuaScript::ToPoint2D(state, kFirstArgument);
  const int8_t id = self->GetNeighbourCellId(point.x, point.y, ToInteger32(lua_tonumber(state, kFirstArgument + 1)));
  lua_pushinteger(state, static_cast<uint8_t>(id));
  return 1;
}

template <void (TileMap::*Query)(const DynamicObject&, int32_t, std::vector<uint8_t>&) const>
int PushCollidedCells(lua_State* state) {
  TileMap* self = SelfMap(state);
  if (ArgumentCount(state) < 2 || !lua_isnumber(state, kFirstArgument + 1)) return 0;
  auto* object = static_cast<DynamicObject*>(Lua::ToUserdata(state, kFirstArgument, DynamicObject::ScriptClassName));
  if (object == nullptr) return 0;
  std::vector<uint8_t> ids;
  (self->*Query)(*object, ToInteger32(lua_tonumber(state, kFirstArgument + 1)), ids);
  lua_createtable(state, static_cast<int>(ids.size()), 0);
  for (size_t i = 0; i < ids.size(); ++i) {
    lua_pushinteger(state, ids[i]);
    lua_rawseti(state, -2, static_cast<int>(i + 1));
  }
  return 1;
}

const Lua::Method kTileMapMethods[] = {
    {"ReadInformation", &ReadInformation},
    {"SetPosition", &SetPosition},
    {"SetZCollision", &SetZCollision},
    {"Dimension", &PushSize<&TileMap::GetDimension>},
    {"Width", &PushSize<&TileMap::GetWidth>},
    {"Height", &PushSize<&TileMap::GetHeight>},
    {"NumberOfRows", &PushSize<&TileMap::GetNumberOfRows>},
    {"NumberOfColumns", &PushSize<&TileMap::GetNumberOfColumns>},
    {"SetBoundingRectangle", &SetBoundingRectangle},
    {"GetBoundingRectangle", &GetBoundingRectangle},
    {"GetCurrentBoundingRectangle", &GetCurrentBoundingRectangle},
    {"GetCell", &GetCell},
    {"GetCellUsed", &GetCellUsed},
    {"GetCollidedCellId", &GetCollidedCellId},
    {"GetCollidedCellsIDWithBoundingRectangle", &PushCollidedCells<&TileMap::GetCollidedCellsIdWithBoundingRectangle>},
    {"GetCollidedCellsIDWithHotSpots", &PushCollidedCells<&TileMap::GetCollidedCellsIdWithHotSpots>},
};

const Lua::MethodTable g_tileMethods(Tile::ScriptClassName, kTileMethods, &PushTileHandleCopy);
const Lua::MethodTable g_cellMethods(Cell::ScriptClassName, kCellMethods, &PushCellHandleCopy);
const Lua::MethodTable g_tileMapMethods(TileMap::ScriptClassName, kTileMapMethods, &PushBorrowed<TileMap>);

}  // namespace

int TileMap::PushToLua(lua_State* state) { return Lua::PushPointer(state, this, ScriptClassName); }

}  // namespace Collision2D
