#pragma once
// What a game supplies to build its screens: the framework never builds a level itself, it asks
// the level factory for the level with a number, and knows levels by name only through it.
#include <cstdint>
#include <string>

#include "core/Core_Object.h"

namespace Quillon {

class Level;

class LevelFactory : public Core::Object {
 public:
  const char* GetClassName() const override { return "Quillon::LevelFactory"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(LevelFactory)); }

  virtual uint32_t GetLevelCount() = 0;
  // A new level with every object of that screen; null for a number that names no level.
  virtual Core::SmartPointer<Level> CreateLevel(uint32_t index) = 0;
  // The game's level builders call it last.
  virtual void OnLevelCreated(uint32_t index) { (void)index; }
  // Forgets what the factory kept of the previous level's objects.
  virtual void Reset() {}
  // True, with the index, when the name names a level.
  virtual bool GetLevelIndex(const std::string& name, uint32_t& index) = 0;
};

}  // namespace Quillon
