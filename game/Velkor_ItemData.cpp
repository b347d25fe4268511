#include "game/Velkor_ItemData.h"

#include <utility>

#include "core/Core_String.h"

VELKOR_IMPLEMENT_FRESH_CLONE_CLASS(ItemDataHolder, "ItemDataHolder");
VELKOR_IMPLEMENT_FRESH_CLONE_CLASS(ArmourData, "ArmourData");
VELKOR_IMPLEMENT_FRESH_CLONE_CLASS(GunData, "GunData");
VELKOR_IMPLEMENT_FRESH_CLONE_CLASS(SpecialData, "SpecialData");
VELKOR_IMPLEMENT_FRESH_CLONE_CLASS(AiData, "AiData");

void ItemDataHolder::SetStats(ItemStatsRecord stats) {
  name = std::move(stats.name);
  itemId = stats.itemId;
  cost = stats.cost;
  distanceRequired = stats.distanceRequired;
}

void ItemDataHolder::SetState(int32_t purchasedValue, int32_t equippedValue) {
  purchased = purchasedValue;
  equipped = equippedValue;
}

std::string ItemDataHolder::Describe(const char* firstLabel, int32_t first, const char* secondLabel,
                                     int32_t second, const char* purchasedNote,
                                     const char* costLabel) const {
  std::string text = firstLabel + Core::ToString(first) + secondLabel + Core::ToString(second);
  if (purchased != 0) return text + purchasedNote;
  text += costLabel + Core::ToString(cost) + "Gears";
  if (distanceRequired > 0) text += "\nDistance Required: " + Core::ToString(distanceRequired);
  return text;
}

void ArmourData::SetSecondaryStats(int32_t first, int32_t second) {
  defense = first;
  hoverTime = second;
}

std::string ArmourData::GetDescription() const {
  return Describe("Defense: ", defense, " Hover Time: ", hoverTime, "\n\nPurchased", "\n\nGear Cost: ");
}

void GunData::SetSecondaryStats(int32_t first, int32_t second) {
  delay = first;
  multi = second;
}

std::string GunData::GetDescription() const {
  return Describe("Delay: ", delay, " Multi: ", multi, "\nPurchased", "\nCost: ");
}

void SpecialData::SetSecondaryStats(int32_t first, int32_t second) {
  damage = first;
  delay = second;
}

std::string SpecialData::GetDescription() const {
  return Describe("Dmg: ", damage, " Delay: ", delay, "\nPurchased", "\nCost: ");
}

void AiData::SetSecondaryStats(int32_t first, int32_t second) {
  damage = first;
  delay = second;
}

std::string AiData::GetDescription() const {
  return Describe("Dmg: ", damage, " Delay: ", delay, "\nPurchased", "\nCost: ");
}
