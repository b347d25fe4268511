#pragma once
// One item label of the garage shop: a plate whose frame shows the item's state (0 not owned,
// 1 owned, 2 equipped), carrying its own clones of the item picture, the name and the description.
// An arrow click slides every label out of the shop window and back in from the other side,
// refilled with the new set's item on the way.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "math/Math_Vector2D.h"

class G_MenuLabel : public Quillon::Sprite {
 public:
  static constexpr int32_t kSlideOut = 1;
  static constexpr int32_t kSlideIn = 2;
  // Where a label slides out to (either side) and where it stands in the shop window.
  static constexpr float kOutsideX = 1000.0f;
  static constexpr float kShownX = -320.0f;
  // The texts' depth over the plate's.
  static constexpr float kTextAbovePlate = 1.5f;

  G_MenuLabel() = default;
  explicit G_MenuLabel(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  // A copy is the sprite only: the label's own state starts afresh (it makes its own parts at start).
  G_MenuLabel(const G_MenuLabel& other) : Quillon::Sprite(other) {}
  VELKOR_DECLARE_CLASS(G_MenuLabel);

  // Takes the picture and the two texts away with the label.
  void Destroy() override;
  // Makes the label's picture and texts from "ItemImage", "ItemText" and "ItemText2".
  void OnStart() override;
  // Slides, carries the parts along and shows them exactly while the label is shown.
  void Update(float dt) override;

  // Starts a slide after `delay` seconds, dx units per frame: out of the window, or in from the
  // side it left.
  void StartSlide(int32_t mode, float delay, float dx);

  void SetPurchased(bool purchased);
  void SetEquipped(bool equipped);
  // The stored flags without touching the frame: the next slide-in shows them.
  void StorePurchased(bool purchased) { m_purchased = purchased ? 1 : 0; }
  void StoreEquipped(bool equipped) { m_equipped = equipped ? 1 : 0; }
  void SetIndex(int32_t index) { m_index = index; }
  void SetShown(bool shown) { m_shown = shown ? 1 : 0; }
  // Shown with the next slide-in.
  void SetNameText(const std::string& text) { m_pendingName = text; }
  void SetDescriptionText(const std::string& text) { m_pendingDescription = text; }
  void SetSetHeader(const std::string& header) { m_setHeader = header; }
  void SetImageOffset(const Math::Vector2D& offset) { m_imageOffset = offset; }
  void SetNameOffset(const Math::Vector2D& offset) { m_nameOffset = offset; }
  void SetDescriptionOffset(const Math::Vector2D& offset) { m_descriptionOffset = offset; }

  int32_t GetIndex() const { return m_index; }
  bool IsShown() const { return m_shown != 0; }
  bool HasArrived() const { return m_arrived != 0; }
  bool IsPurchased() const { return m_purchased != 0; }
  bool IsEquipped() const { return m_equipped != 0; }
  int32_t GetSlideMode() const { return m_slideMode; }
  const std::string& GetSetHeader() const { return m_setHeader; }
  const std::string& GetPendingName() const { return m_pendingName; }
  const std::string& GetPendingDescription() const { return m_pendingDescription; }
  Quillon::Sprite* GetImage() const { return m_image.Get(); }
  Quillon::Text* GetNameText() const { return m_nameText.Get(); }
  Quillon::Text* GetDescriptionText() const { return m_descriptionText.Get(); }

 private:
  void Slide(float dt);
  // The label reached the far side: refill it and come back in.
  void TurnAround();

  Core::SmartPointer<Quillon::Sprite> m_image;
  Math::Vector2D m_imageOffset{-180.0f, -10.0f};
  Math::Vector2D m_nameOffset{-110.0f, 20.0f};
  Math::Vector2D m_descriptionOffset{-110.0f, 0.0f};
  Core::SmartPointer<Quillon::Text> m_nameText;
  Core::SmartPointer<Quillon::Text> m_descriptionText;
  int32_t m_index = 0;
  int32_t m_slideMode = 0;
  int32_t m_arrived = 0;
  float m_delay = 0.0f;
  Math::Vector2D m_target;
  Math::Vector2D m_velocity;
  std::string m_setHeader;
  std::string m_pendingName;
  std::string m_pendingDescription;
  uint8_t m_shown = 0;
  uint8_t m_purchased = 0;
  uint8_t m_equipped = 0;
};
