#pragma once
// The instruction pages: three pages turned with the previous and next buttons, and a way home.
#include <cstdint>

#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"

class InstructionLevel : public Quillon::Level {
 public:
  static constexpr int32_t kPageCount = 3;

  VELKOR_DECLARE_LEVEL(InstructionLevel);

  void OnStart() override;
  void OnEnd() override {}
  void Update(float dt) override;

  int32_t GetPage() const { return m_page; }
  // What a click on the named button does (a button this screen does not have does nothing).
  void Press(const std::string& button);

 private:
  void ShowPage();

  int32_t m_page = 0;
  Quillon::Sprite* m_cursor = nullptr;
};
