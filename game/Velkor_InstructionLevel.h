#pragma once
// The instruction pages: three pages turned with the previous and next buttons, and a way home.
#include <cstdint>
#include <string>

#include "game/Velkor_ButtonScreen.h"

class InstructionLevel : public ButtonScreen {
 public:
  static constexpr int32_t kPageCount = 3;

  InstructionLevel();
  VELKOR_DECLARE_LEVEL(InstructionLevel);

  void OnStart() override;
  void Press(const std::string& button) override;

  int32_t GetPage() const { return m_page; }

 private:
  void ShowPage();

  int32_t m_page = 0;
};
