#pragma once
// The results screen.
#include "framework/Quillon_Level.h"

class GameOverLevel : public Quillon::Level {
 public:
  GameOverLevel() = default;
  static Core::Object* Create();
  const char* GetClassName() const override { return "GameOverLevel"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(GameOverLevel)); }
};
