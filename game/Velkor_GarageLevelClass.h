#pragma once
// The garage shop between runs.
#include "framework/Quillon_Level.h"

class GarageLevelClass : public Quillon::Level {
 public:
  GarageLevelClass() = default;
  static Core::Object* Create();
  const char* GetClassName() const override { return "GarageLevelClass"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(GarageLevelClass)); }
};
