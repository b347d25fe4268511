#pragma once
// A civilian waiting to be rescued.
#include <vector>

#include "game/Velkor_SpawnObject.h"

class CivilianClass : public SpawnObject {
 public:
  CivilianClass() = default;
  explicit CivilianClass(const std::vector<Quillon::SpriteAnimation*>& animations) : SpawnObject(animations) {}
  CivilianClass(const CivilianClass& other) = default;
  VELKOR_DECLARE_CLASS(CivilianClass);
};
