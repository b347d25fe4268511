#pragma once
// An alien that shoots and rams.
#include <vector>

#include "game/Velkor_SpawnObject.h"

class AlienClass : public SpawnObject {
 public:
  AlienClass() = default;
  explicit AlienClass(const std::vector<Quillon::SpriteAnimation*>& animations) : SpawnObject(animations) {}
  AlienClass(const AlienClass& other) = default;
  VELKOR_DECLARE_CLASS(AlienClass);
};
