// Script files read, compiled and run as an object's script is, then run again from the compiled
// chunk as a second object of the same path would be. A script is a program, so its running time
// and memory are capped here (a count hook and a capped allocator): an endless loop is the
// script's own fault, while a crash or a leak in reading, compiling or running it is ours.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <lua.hpp>

#include "platform/PAL_Services.h"
#include "script/Lua_Script.h"
#include "script/Lua_ScriptEngine.h"

namespace {

// Bytes held beyond what the state held when the cap was set (blocks made before then are only
// ever taken off as they are freed, so the count may go below zero).
constexpr long long kMemoryCap = 64ll << 20;
long long g_allocated = 0;

void* CappedAllocate(void*, void* block, std::size_t oldSize, std::size_t newSize) {
  if (newSize == 0) {
    g_allocated -= static_cast<long long>(oldSize);
    std::free(block);
    return nullptr;
  }
  const long long growth = static_cast<long long>(newSize) - static_cast<long long>(oldSize);
  if (growth > 0 && g_allocated + growth > kMemoryCap) return nullptr;
  void* grown = std::realloc(block, newSize);
  if (grown != nullptr) g_allocated += growth;
  return grown;
}

void StopRunaway(lua_State* state, lua_Debug*) { luaL_error(state, "instruction budget spent"); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  PAL::SetMessageBoxHook([](const PAL::MessageBoxRequest&, std::uint32_t& answer) {
    answer = PAL::MessageBoxButton::OK;
    return true;
  });
  if (!Lua::Initialize(nullptr)) std::abort();
  lua_State* main = Lua::GetMainState();
  lua_setallocf(main, &CappedAllocate, nullptr);
  // Threads made later take the main state's hook.
  lua_sethook(main, &StopRunaway, LUA_MASKCOUNT, 200000);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  static const std::string path = "/tmp/velkor_script_fuzz_" + std::to_string(getpid()) + ".lua";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);

  LuaScript* first = LuaScript::Create();
  first->Load(path.c_str());
  LuaScript* second = LuaScript::Create();
  second->LoadCompiled(*first);
  LuaScript::Destroy(second);
  LuaScript::Destroy(first);
  lua_gc(Lua::GetMainState(), LUA_GCCOLLECT, 0);
  return 0;
}
