#include "collision/Collision_ContactScript.h"

#include <cstdint>

#include <lua.hpp>

#include "collision/Collision_Contacts.h"
#include "collision/Collision_Utilities.h"
#include "script/Lua_Script.h"
#include "script/Lua_ScriptEngine.h"

namespace Collision2D {

namespace {

// The script side of the contact tables: one constructor per record kind and the two array fillers.
const Lua::BootstrapChunk g_contactTables("collision contact tables", R"lua(
function CreateBRECT_C() return { className = "BRECT_C" } end
function CreateCIR_C() return { className = "CIR_C" } end
function CreateLNS_C() return { className = "LNS_C" } end
function CreateDGEO_C() return { className = "DGEO_C" } end
function CreateTMAP_C() return { className = "TMAP_C" } end
function CreateTMAP_DATA_BASE() return { className = "TMAP_DATA_BASE" } end
function CreateTMAP_DATA() return { className = "TMAP_DATA" } end

function CreateArrayTable(array, first, second, third, fourth)
  array[1] = first
  array[2] = second
  array[3] = third
  array[4] = fourth
end

function CreateArrayTableVar(array, ...)
  local count = select("#", ...)
  local values = { ... }
  for i = 1, count do array[i] = values[i] end
end
)lua");

// Stack slots a builder may need beyond what it leaves behind.
constexpr int kWorkingSlots = 16;

// Calls the constructor global; anything but a table from it (missing, failing, wrong result) is
// replaced by a new table so that the fields can always be set. Returns the table's index.
int NewRecordTable(lua_State* state, const char* constructor) {
  const int base = lua_gettop(state);
  lua_getglobal(state, constructor);
  if (lua_isfunction(state, -1)) {
    lua_pcall(state, 0, 1, 0);
  }
  if (!lua_istable(state, -1)) {
    lua_settop(state, base);
    lua_newtable(state);
  }
  lua_settop(state, base + 1);
  return base + 1;
}

void SetNumber(lua_State* state, int table, const char* key, lua_Number value) {
  lua_pushnumber(state, value);
  lua_setfield(state, table, key);
}

void SetInteger(lua_State* state, int table, const char* key, lua_Integer value) {
  lua_pushinteger(state, value);
  lua_setfield(state, table, key);
}

void SetPoint(lua_State* state, int table, const char* key, const Math::Vector2D& point) {
  LuaScript::PushPoint2D(state, point.x, point.y);
  lua_setfield(state, table, key);
}

void SetVector(lua_State* state, int table, const char* key, const Math::Vector2D& vector) {
  LuaScript::PushVector2D(state, vector.x, vector.y);
  lua_setfield(state, table, key);
}

// Calls the array filler with the array at arrayIndex followed by the count values on top of the
// stack (which it pops); a filler that is missing or fails leaves the array filled directly.
void FillArray(lua_State* state, const char* filler, int arrayIndex, int count) {
  const int firstValue = lua_gettop(state) - count + 1;
  lua_getglobal(state, filler);
  bool filled = false;
  if (lua_isfunction(state, -1)) {
    lua_insert(state, firstValue);
    lua_pushvalue(state, arrayIndex);
    lua_insert(state, firstValue + 1);
    filled = lua_pcall(state, count + 1, 0, 0) == 0;
    if (!filled) lua_pop(state, 1);  // the error message; the values went with the call
  } else {
    lua_pop(state, 1);
    for (int i = count; i >= 1; --i) lua_rawseti(state, arrayIndex, i);
  }
}

void SetFourVectors(lua_State* state, int table, const char* key, const Math::Vector2D* values, bool points) {
  lua_newtable(state);
  const int array = lua_gettop(state);
  for (int k = 0; k < 4; ++k) {
    if (points)
      LuaScript::PushPoint2D(state, values[k].x, values[k].y);
    else
      LuaScript::PushVector2D(state, values[k].x, values[k].y);
  }
  FillArray(state, "CreateArrayTable", array, 4);
  lua_settop(state, array);
  lua_setfield(state, table, key);
}

void SetFourIntegers(lua_State* state, int table, const char* key, const uint32_t* values) {
  lua_newtable(state);
  const int array = lua_gettop(state);
  for (int k = 0; k < 4; ++k) lua_pushinteger(state, static_cast<lua_Integer>(values[k]));
  FillArray(state, "CreateArrayTable", array, 4);
  lua_settop(state, array);
  lua_setfield(state, table, key);
}

// One table per record of the whole array (spare records included), handed to "CreateArrayTableVar".
template <typename Record, typename Builder>
void SetRecordArray(lua_State* state, int table, const char* key, const std::vector<Record>& records,
                    Builder build) {
  lua_newtable(state);
  const int array = lua_gettop(state);
  const int count = static_cast<int>(records.size());
  if (lua_checkstack(state, count + kWorkingSlots)) {
    for (const Record& record : records) {
      if (build(state, &record) < 0) lua_pushnil(state);
    }
    FillArray(state, "CreateArrayTableVar", array, count);
  } else {
    // Too many entries to pass as arguments: fill the array one entry at a time.
    for (int i = 0; i < count; ++i) {
      if (build(state, &records[static_cast<size_t>(i)]) < 0) lua_pushnil(state);
      lua_rawseti(state, array, i + 1);
    }
  }
  lua_settop(state, array);
  lua_setfield(state, table, key);
}

int PushShapeContact(lua_State* state, const ShapeContact* record, const char* constructor) {
  if (!record || !lua_checkstack(state, kWorkingSlots)) return -1;
  const int table = NewRecordTable(state, constructor);
  SetInteger(state, table, "id", static_cast<int32_t>(record->id));
  SetPoint(state, table, "contactPosition", record->contactPosition);
  SetNumber(state, table, "contactOrientation", record->contactOrientation);
  SetNumber(state, table, "penetrationDistance", record->penetrationDistance);
  SetFourVectors(state, table, "contactPoint", record->contactPoint, true);
  SetFourVectors(state, table, "normal", record->normal, false);
  SetInteger(state, table, "numberOfIntersectedPoints", record->numberOfIntersectedPoints);
  SetInteger(state, table, "userId", static_cast<lua_Integer>(record->userId));
  SetFourIntegers(state, table, "myLineSegmentUserId", record->myLineSegmentUserId);
  SetFourIntegers(state, table, "myCircleUserId", record->myCircleUserId);
  lua_settop(state, table);
  return table;
}

void SetTileEntryBase(lua_State* state, int table, const TMAP_DATA_BASE& record) {
  SetInteger(state, table, "id", record.id);
  SetInteger(state, table, "cellX", static_cast<lua_Integer>(record.cellX));
  SetInteger(state, table, "cellY", static_cast<lua_Integer>(record.cellY));
  SetInteger(state, table, "collisionSide", static_cast<lua_Integer>(record.collisionSide));
  SetInteger(state, table, "hotSpotIndex", static_cast<lua_Integer>(record.hotSpotIndex));
}

}  // namespace

int PushBRECT_C(lua_State* state, const BRECT_C* record) {
  if (!record || !lua_checkstack(state, kWorkingSlots)) return -1;
  const int table = NewRecordTable(state, "CreateBRECT_C");
  SetInteger(state, table, "id", static_cast<int32_t>(record->id));
  PushRectangleTable(state, record->rectangleIntersection);
  lua_setfield(state, table, "rectangleIntersection");
  SetPoint(state, table, "contactPosition", record->contactPosition);
  SetNumber(state, table, "contactOrientation", record->contactOrientation);
  lua_settop(state, table);
  return table;
}

int PushCIR_C(lua_State* state, const CIR_C* record) { return PushShapeContact(state, record, "CreateCIR_C"); }

int PushLNS_C(lua_State* state, const LNS_C* record) { return PushShapeContact(state, record, "CreateLNS_C"); }

int PushDGEO_C(lua_State* state, const DGEO_C* record) {
  if (!record || !lua_checkstack(state, kWorkingSlots)) return -1;
  const int table = NewRecordTable(state, "CreateDGEO_C");
  SetInteger(state, table, "id", static_cast<int32_t>(record->id));
  SetPoint(state, table, "contactPosition", record->contactPosition);
  SetNumber(state, table, "contactOrientation", record->contactOrientation);
  SetNumber(state, table, "penetrationDistance", record->penetrationDistance);
  SetRecordArray(state, table, "lineSegments", record->lineSegments, &PushLNS_C);
  SetRecordArray(state, table, "circles", record->circles, &PushCIR_C);
  SetInteger(state, table, "currentLineSegmentsNumber", record->currentLineSegmentsNumber);
  SetInteger(state, table, "currentCirclesNumber", record->currentCirclesNumber);
  SetInteger(state, table, "deltaBuffer", record->deltaBuffer);
  SetInteger(state, table, "buffer_LineSegments", record->buffer_LineSegments);
  SetInteger(state, table, "buffer_Circles", record->buffer_Circles);
  lua_settop(state, table);
  return table;
}

int PushTMAP_C(lua_State* state, const TMAP_C* record) {
  if (!record || !lua_checkstack(state, kWorkingSlots)) return -1;
  const int table = NewRecordTable(state, "CreateTMAP_C");
  SetInteger(state, table, "id", static_cast<int32_t>(record->id));
  SetPoint(state, table, "contactPosition", record->contactPosition);
  SetNumber(state, table, "contactOrientation", record->contactOrientation);
  SetNumber(state, table, "penetrationDistance", record->penetrationDistance);
  SetInteger(state, table, "deltaBuffer", record->deltaBuffer);
  SetInteger(state, table, "currentNewIdsNumber", static_cast<lua_Integer>(record->currentNewIdsNumber));
  SetInteger(state, table, "currentStaticIdsNumber", static_cast<lua_Integer>(record->currentStaticIdsNumber));
  SetInteger(state, table, "buffer_NewIds", static_cast<lua_Integer>(record->buffer_NewIds));
  SetInteger(state, table, "buffer_StaticIds", static_cast<lua_Integer>(record->buffer_StaticIds));
  SetRecordArray(state, table, "newEntries", record->newEntries, &PushTMAP_DATA);
  SetRecordArray(state, table, "staticEntries", record->staticEntries, &PushTMAP_DATA_BASE);
  lua_settop(state, table);
  return table;
}

int PushTMAP_DATA_BASE(lua_State* state, const TMAP_DATA_BASE* record) {
  if (!record || !lua_checkstack(state, kWorkingSlots)) return -1;
  const int table = NewRecordTable(state, "CreateTMAP_DATA_BASE");
  SetTileEntryBase(state, table, *record);
  lua_settop(state, table);
  return table;
}

int PushTMAP_DATA(lua_State* state, const TMAP_DATA* record) {
  if (!record || !lua_checkstack(state, kWorkingSlots)) return -1;
  const int table = NewRecordTable(state, "CreateTMAP_DATA");
  SetTileEntryBase(state, table, *record);
  SetPoint(state, table, "position", record->position);
  SetVector(state, table, "normal", record->normal);
  SetNumber(state, table, "zAngle", record->zAngle);
  lua_settop(state, table);
  return table;
}

}  // namespace Collision2D
