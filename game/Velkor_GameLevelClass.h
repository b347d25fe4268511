#pragma once
// The playing level.
#include "framework/Quillon_Level.h"

class GameLevelClass : public Quillon::Level {
 public:
  GameLevelClass() = default;
  static Core::Object* Create();
  const char* GetClassName() const override { return "GameLevelClass"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(GameLevelClass)); }
};
