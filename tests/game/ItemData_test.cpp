#include <gtest/gtest.h>

#include <memory>

#include "core/Core_Object.h"
#include "game/Velkor_ItemData.h"

namespace {

template <typename Item>
Item MakeItem(int32_t cost, int32_t distance, int32_t first, int32_t second, int32_t purchased) {
  Item item;
  item.SetStats(ItemStatsRecord{"Item", 1, cost, distance});
  item.SetSecondaryStats(first, second);
  item.SetState(purchased, 0);
  return item;
}

// Unowned items show their price and, when one is asked, the distance; owned ones only the note.
TEST(ItemData, DescriptionsShowPriceAndDistanceUntilOwned) {
  EXPECT_EQ(MakeItem<GunData>(150, 500, 20, 5, 0).GetDescription(),
            "Delay: 20 Multi: 5\nCost: 150Gears\nDistance Required: 500");
  EXPECT_EQ(MakeItem<ArmourData>(500, 2500, 2, 80, 0).GetDescription(),
            "Defense: 2 Hover Time: 80\n\nGear Cost: 500Gears\nDistance Required: 2500");
  EXPECT_EQ(MakeItem<AiData>(3000, 5000, 200, 150, 0).GetDescription(),
            "Dmg: 200 Delay: 150\nCost: 3000Gears\nDistance Required: 5000");
  // Special attacks read like AI friends.
  EXPECT_EQ(MakeItem<SpecialData>(500, 500, 150, 40, 0).GetDescription(),
            "Dmg: 150 Delay: 40\nCost: 500Gears\nDistance Required: 500");
  EXPECT_EQ(MakeItem<GunData>(7, 0, 1, 2, 0).GetDescription(), "Delay: 1 Multi: 2\nCost: 7Gears");
  EXPECT_EQ(MakeItem<GunData>(7, -3, 1, 2, 0).GetDescription(), "Delay: 1 Multi: 2\nCost: 7Gears");
  EXPECT_EQ(MakeItem<ArmourData>(-5, 0, -1, 0, 0).GetDescription(),
            "Defense: -1 Hover Time: 0\n\nGear Cost: -5Gears");

  EXPECT_EQ(MakeItem<ArmourData>(500, 2500, 2, 80, 1).GetDescription(), "Defense: 2 Hover Time: 80\n\nPurchased");
  EXPECT_EQ(MakeItem<GunData>(150, 500, 20, 5, 1).GetDescription(), "Delay: 20 Multi: 5\nPurchased");
  EXPECT_EQ(MakeItem<SpecialData>(1, 9, 3, 4, 2).GetDescription(), "Dmg: 3 Delay: 4\nPurchased");
  EXPECT_EQ(MakeItem<AiData>(1, 9, 3, 4, -1).GetDescription(), "Dmg: 3 Delay: 4\nPurchased");
}

// Every item class is made by its registered name, and its clone is a new object of the same class
// in its constructed state, not a copy.
TEST(ItemData, RegisteredByNameAndClonedFresh) {
  for (const char* name : {"ItemDataHolder", "ArmourData", "GunData", "SpecialData", "AiData"}) {
    Core::SmartPointer<Core::Object> made(Core::CreateObject(name));
    ASSERT_TRUE(made) << name;
    EXPECT_STREQ(made->GetClassName(), name);
    auto* item = dynamic_cast<ItemDataHolder*>(made.Get());
    ASSERT_NE(item, nullptr) << name;
    item->SetStats(ItemStatsRecord{"Novice Gun", 1, 150, 500});
    item->SetState(1, 1);
    Core::SmartPointer<Core::Object> clone(made->Clone());
    auto* cloned = dynamic_cast<ItemDataHolder*>(clone.Get());
    ASSERT_NE(cloned, nullptr) << name;
    EXPECT_NE(cloned, item) << name;
    EXPECT_STREQ(cloned->GetClassName(), name);
    EXPECT_EQ(cloned->name, "") << name;
    EXPECT_EQ(cloned->cost, 0) << name;
    EXPECT_EQ(cloned->purchased, 0) << name;
  }
  Core::SmartPointer<GunData> gun(new GunData());
  gun->SetSecondaryStats(20, 5);
  Core::SmartPointer<Core::Object> clone(gun->Clone());
  EXPECT_EQ(dynamic_cast<GunData*>(clone.Get())->delay, 0);
}

}  // namespace
