#pragma once
// One animation of a sprite: a texture cut into a grid of equal frames, each shown for its delay.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "scene/Engine_Sprite.h"

namespace Quillon {

class SpriteAnimation : public Core::Object {
 public:
  static constexpr const char* ScriptClassName = "SpriteAnimation";

  // One frame per delay, frame i at column i mod columns, row i div columns. A grid without columns
  // or rows gives frames of size 0.
  SpriteAnimation(const std::string& texturePath, uint32_t columns, uint32_t rows, const std::vector<float>& delays);
  SpriteAnimation(const SpriteAnimation&) = delete;
  SpriteAnimation& operator=(const SpriteAnimation&) = delete;
  const char* GetClassName() const override { return "Quillon::SpriteAnimation"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(SpriteAnimation)); }
  int PushToLua(lua_State* state) override;
  // The script that "ObjectFunction" calls into (none by default); not owned: the caller destroys
  // it after handing the animation another or null.
  LuaScript* GetScript() override { return m_ownScript; }
  void SetScript(LuaScript* script) { m_ownScript = script; }

  void SetName(const std::string& name);
  // The engine animation's name when there is one, else the stored one.
  const std::string& GetName() const;
  uint32_t GetFrameWidth() const { return m_frameWidth; }
  uint32_t GetFrameHeight() const { return m_frameHeight; }
  uint32_t GetFramesCount() const;
  // 0 for a frame that does not exist.
  float GetFrameDelay(uint32_t frame) const;
  void SetLoopStartingFrame(uint32_t frame);
  uint32_t GetLoopStartingFrame() const;
  void SetLoopEndingFrame(uint32_t frame);
  uint32_t GetLoopEndingFrame() const;
  const std::string& GetTextureName() const { return m_textureName; }
  const Core::SmartPointer<Engine::SpriteAnimation>& GetEngineAnimation() const { return m_engineAnimation; }

 private:
  Core::SmartPointer<Engine::SpriteAnimation> m_engineAnimation;
  std::vector<Engine::SpriteFrame> m_frames;
  std::string m_textureName;
  std::string m_name;
  uint32_t m_frameWidth = 0;
  uint32_t m_frameHeight = 0;
  uint32_t m_loopStartingFrame = 0;
  uint32_t m_loopEndingFrame = 0;
  LuaScript* m_ownScript = nullptr;
};

}  // namespace Quillon
