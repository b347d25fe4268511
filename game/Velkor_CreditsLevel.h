#pragma once
// The credits picture with one button back to the main menu.
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"

class CreditsLevel : public Quillon::Level {
 public:
  CreditsLevel() = default;
  static Core::Object* Create();
  const char* GetClassName() const override { return "CreditsLevel"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(CreditsLevel)); }

  void OnStart() override;
  void OnEnd() override {}
  void Update(float dt) override;

 private:
  Quillon::Sprite* m_cursor = nullptr;
};
