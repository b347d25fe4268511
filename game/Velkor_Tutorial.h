#pragma once
// The playable tutorial.
#include "framework/Quillon_Level.h"

class Tutorial : public Quillon::Level {
 public:
  Tutorial() = default;
  static Core::Object* Create();
  const char* GetClassName() const override { return "Tutorial"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Tutorial)); }
};
