// The game's contact rules: three fixed rule sets of object names, chosen by the current level.
// Names are compared whole and case-sensitively; archetypes carry plain names, run-time clones the
// archetype's name followed by "Clone", and the tutorial's objects lower-case names.
#include <string>

#include "framework/Quillon_CollisionBridge.h"
#include "framework/Quillon_GameObject.h"
#include "game/Velkor_ContactTables.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_PlayerClass.h"

namespace {

using namespace ContactTables;

// One touching pair as the rules see it; a missing second object has no name that any rule
// names, so every test that needs it fails.
struct Pair {
  Quillon::GameObject* a;
  Quillon::GameObject* b;

  bool AIs(const char* name) const { return a != nullptr && a->GetName() == name; }
  bool BIs(const char* name) const { return b != nullptr && b->GetName() == name; }
  // The first object named x and the second y, in that order.
  bool Is(const char* x, const char* y) const { return AIs(x) && BIs(y); }
  bool EitherOrder(const char* x, const char* y) const { return Is(x, y) || Is(y, x); }
};

// The car's drop-through flag; an object named "Player" of another class counts as a car that
// does not drop through.
bool DropsThrough(Quillon::GameObject* object) {
  const auto* car = dynamic_cast<PlayerClass*>(object);
  return car != nullptr && car->IsDroppingThrough();
}

bool CommonRules(const Pair& pair, float& restitution, float& friction) {
  for (const char* name : kCarPassesThrough) {
    if (pair.Is("Player", name)) {
      restitution = friction = 0.0f;
      return false;
    }
  }
  for (const char* name : kCarPassesThrough) {
    if (pair.Is(name, "Player")) {
      restitution = friction = 0.0f;
      return false;
    }
  }
  if (pair.Is("Player", "Platform")) return !DropsThrough(pair.a);
  if (pair.Is("Platform", "Player")) return !DropsThrough(pair.b);
  if (pair.EitherOrder("charBulletClone", "AlienClone")) return false;
  return true;
}

bool TutorialRules(const Pair& pair, float& restitution, float& friction) {
  if (pair.b == nullptr) return CommonRules(pair, restitution, friction);
  for (const char* platform : kTutorialPlatforms) {
    if (pair.EitherOrder(platform, "player")) restitution = 0.0f;
  }
  for (const char* name : kTutorialPassThrough) {
    if (pair.EitherOrder(name, "player")) return false;
  }
  if (pair.EitherOrder("player", "alien")) return false;
  if (pair.Is("alien", "charbullet")) return false;
  if (pair.Is("charbullet", "alien")) {
    Quillon::SetOneSidedContact(true);
    return true;
  }
  return CommonRules(pair, restitution, friction);
}

bool GameLevelRules(const Pair& pair, float& restitution, float& friction) {
  if (pair.b == nullptr) {
    if (pair.AIs("Player")) restitution = 0.0f;
    return CommonRules(pair, restitution, friction);
  }
  for (const NamePair& rule : kGameFrictionless) {
    if (pair.EitherOrder(rule.first, rule.second)) friction = 0.0f;
  }
  for (const NamePairValue& rule : kGameRestitution) {
    if (pair.EitherOrder(rule.first, rule.second)) restitution = rule.value;
  }
  for (const NamePair& rule : kGamePassThrough) {
    if (pair.EitherOrder(rule.first, rule.second)) return false;
  }
  if (pair.Is("pShieldImg", "Player")) return false;
  if (pair.Is("Player", "pShieldImg")) {
    Quillon::SetOneSidedContact(true);
    return true;
  }
  return CommonRules(pair, restitution, friction);
}

bool IsMouseCursor(const Quillon::GameObject* object) {
  if (object == nullptr) return false;
  for (const char* name : kMouseCursors) {
    if (object->GetName() == name) return true;
  }
  return false;
}

}  // namespace

bool DecideContact(uint32_t levelIndex, Quillon::GameObject* a, Quillon::GameObject* b, float& restitution,
                   float& friction) {
  const Pair pair{a, b};
  if (IsMouseCursor(pair.a) || IsMouseCursor(pair.b)) return false;
  if (levelIndex > kLastLevel) return true;
  if (levelIndex == kTutorialLevel) return TutorialRules(pair, restitution, friction);
  if (levelIndex == kGameLevel) return GameLevelRules(pair, restitution, friction);
  return CommonRules(pair, restitution, friction);
}
