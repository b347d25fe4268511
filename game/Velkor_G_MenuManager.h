#pragma once
// The garage shop's logic: which item set is on show, the five item labels, the player's record,
// the previews of what is equipped, and the confirmation dialog that buys or equips the item a
// label names.
//
// The dialog acts on the item it named: the set, the index and the name are taken when it opens,
// and a change of set closes it, so "Yes" can never buy or equip an item the dialog did not show.
#include <cstdint>
#include <string>

#include "core/Core_Object.h"

namespace Quillon {
class Layer;
}
class G_MenuLabel;

class G_MenuManager : public Core::Object {
 public:
  static constexpr int32_t kSetCount = 4;
  static constexpr int32_t kLabelCount = 5;
  enum PendingAction : int32_t { kNoAction = 0, kSelect = 1, kPurchase = 2 };

  G_MenuManager();
  G_MenuManager(const G_MenuManager& other) = default;
  VELKOR_DECLARE_CLASS(G_MenuManager);

  // Closes the dialog and makes the five hidden labels in the layer, on the armour set.
  void Initialise(Quillon::Layer* layer);
  // 1: the next set, 2: the previous one. Refused (false) while every label is still sliding;
  // true when the labels were sent to refill. The set title is refreshed in every other case.
  bool ChangeSet(int32_t direction);
  // A click that is not on an arrow or the back button; true when it did something.
  bool HandleClick();
  void ShowDialog(const std::string& text, bool visible, bool okOnly);
  // Whether the sprite of that name is shown and touches the sprite of the other name this frame.
  bool IsTouching(const std::string& name, const std::string& otherName) const;
  void RefreshPlayerInfo();
  void ShowEquippedDemo(int32_t set, int32_t index);

  std::string GetItemName(const std::string& setHeader, int32_t index) const;
  std::string GetItemDescription(const std::string& setHeader, int32_t index) const;

  int32_t GetSetIndex() const { return m_setIndex; }
  const std::string& GetSetHeader(int32_t set) const { return m_setHeaders[set < 0 || set >= kSetCount ? 0 : set]; }
  const std::string& GetSetTitle(int32_t set) const { return m_setTitles[set < 0 || set >= kSetCount ? 0 : set]; }
  bool IsDialogOpen() const { return m_dialogOpen != 0; }
  int32_t GetPendingAction() const { return m_pendingAction; }
  int32_t GetDialogSet() const { return m_dialogSet; }
  int32_t GetChosenIndex() const { return m_chosenIndex; }
  const std::string& GetDialogItemName() const { return m_dialogItemName; }
  bool IsStarted() const { return m_started != 0; }
  void SetStarted(bool started) { m_started = started ? 1 : 0; }

 private:
  // The dialog's "Yes".
  void EquipSelected();
  void PurchaseSelected();
  // The label of that index among the clones, when it shows that set.
  G_MenuLabel* FindLabel(int32_t set, int32_t index) const;

  int32_t m_setIndex = 0;
  int32_t m_pendingAction = kNoAction;
  int32_t m_chosenIndex = 0;
  std::string m_setHeaders[kSetCount];
  std::string m_setTitles[kSetCount];
  uint8_t m_started = 0;
  uint8_t m_dialogOpen = 0;
  // What the open dialog is about, taken when it opened.
  int32_t m_dialogSet = 0;
  std::string m_dialogItemName;
};
