// Reads arbitrary text as a save file, then checks that what was kept is a possible save and
// that writing it out and reading it back gives the same numbers.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/Velkor_DataManager.h"

namespace {

std::vector<int32_t> SavedFields(const DataManager& data) {
  std::vector<int32_t> fields = {data.player.totalGears, data.player.bestDistance, data.player.bestScore};
  const auto add = [&fields](const ItemDataHolder& item) {
    fields.push_back(item.itemId);
    fields.push_back(item.purchased);
    fields.push_back(item.equipped);
  };
  for (const auto& item : data.armours) add(item);
  for (const auto& item : data.guns) add(item);
  for (const auto& item : data.specials) add(item);
  for (const auto& item : data.aiFriends) add(item);
  return fields;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DataManager manager;
  manager.SetDefaults();
  manager.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));

  Require(manager.player.totalGears >= 0 && manager.player.bestDistance >= 0 && manager.player.bestScore >= 0);
  const std::vector<int32_t> fields = SavedFields(manager);
  for (std::size_t i = 3; i < fields.size(); i += 3) {
    Require(fields[i] >= -1 && fields[i] < DataManager::kItemCount);
    Require(fields[i + 1] == 0 || fields[i + 1] == 1);
    Require(fields[i + 2] == 0 || fields[i + 2] == 1);
  }
  Require(manager.armours[0].purchased == 1 && manager.guns[0].purchased == 1);
  // The run trusts the equipment: one armour and one gun, at most one of the others, all owned.
  for (int set = 0; set < 4; ++set) {
    int equipped = 0;
    for (int i = 0; i < DataManager::kItemCount; ++i) {
      const std::size_t at = 3 + static_cast<std::size_t>(set * DataManager::kItemCount + i) * 3;
      if (fields[at + 2] == 0) continue;
      ++equipped;
      Require(fields[at + 1] == 1 && fields[at] >= 0);
    }
    Require(set < 2 ? equipped == 1 : equipped <= 1);
  }

  const std::string text = manager.FormatPlayerData() + "\n" + manager.FormatArmourSet() + "\n" +
                           manager.FormatGunSet() + "\n" + manager.FormatSpecialSet() + "\n" + manager.FormatAiSet();
  DataManager again;
  again.SetDefaults();
  Require(again.LoadFromText(text));
  Require(SavedFields(again) == fields);
  return 0;
}
