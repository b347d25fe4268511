#pragma once
// The garage shop's items: armours, guns, special attacks and AI friends. Plain data plus the
// description text the shop shows; they have no behaviour in play and are persisted only
// through the save file (DataManager), never through Core::File.
#include <cstdint>
#include <string>

#include "core/Core_Object.h"

struct ItemStatsRecord {
  std::string name;
  int32_t itemId = 0;
  int32_t cost = 0;
  int32_t distanceRequired = 0;
};

class ItemDataHolder : public Core::Object {
 public:
  VELKOR_DECLARE_CLASS(ItemDataHolder);

  void SetStats(ItemStatsRecord stats);
  void SetState(int32_t purchasedValue, int32_t equippedValue);

  int32_t itemId = 0;            // number in its set (0, 1, 2), -1 for an empty slot
  int32_t cost = 0;              // price in gears
  int32_t distanceRequired = 0;  // best distance needed to buy it; 0 or less: none
  int32_t purchased = 0;         // 1 when owned
  int32_t equipped = 0;          // 1 when the one in use in its set
  std::string name;

 protected:
  // The three pieces every description shares; armours put an empty line before the last two.
  std::string Describe(const char* firstLabel, int32_t first, const char* secondLabel, int32_t second,
                       const char* purchasedNote, const char* costLabel) const;
};

class ArmourData : public ItemDataHolder {
 public:
  VELKOR_DECLARE_CLASS(ArmourData);
  void SetSecondaryStats(int32_t first, int32_t second);
  std::string GetDescription() const;

  int32_t defense = 0;
  int32_t hoverTime = 0;
};

class GunData : public ItemDataHolder {
 public:
  VELKOR_DECLARE_CLASS(GunData);
  void SetSecondaryStats(int32_t first, int32_t second);
  std::string GetDescription() const;

  int32_t delay = 0;
  int32_t multi = 0;
};

// Special attacks describe themselves exactly as AI friends do.
class SpecialData : public ItemDataHolder {
 public:
  VELKOR_DECLARE_CLASS(SpecialData);
  void SetSecondaryStats(int32_t first, int32_t second);
  std::string GetDescription() const;

  int32_t damage = 0;
  int32_t delay = 0;
};

class AiData : public ItemDataHolder {
 public:
  VELKOR_DECLARE_CLASS(AiData);
  void SetSecondaryStats(int32_t first, int32_t second);
  std::string GetDescription() const;

  int32_t damage = 0;
  int32_t delay = 0;
};

// Registers a game class whose Clone gives a new object in its constructed state, not a copy.
#define VELKOR_IMPLEMENT_FRESH_CLONE_CLASS(ClassType, name)                                       \
  ::Core::Object* ClassType::Create() { return new (__FILE__, __LINE__) ClassType(); }          \
  ::Core::Object* ClassType::Clone() const { return new (__FILE__, __LINE__) ClassType(); }     \
  const char* ClassType::GetClassName() const { return name; }                                  \
  uint32_t ClassType::GetSize() const { return static_cast<uint32_t>(sizeof(ClassType)); }      \
  static const ::Core::ClassRegistration VELKOR_REGISTRATION_NAME(__LINE__)(name, &ClassType::Create)
