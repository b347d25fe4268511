// The game's contact rules: three fixed rule sets of object names, chosen by the current level.
// Names are compared whole and case-sensitively; archetypes carry plain names, run-time clones the
// archetype's name followed by "Clone", and the tutorial's objects lower-case names.
#include <string>

#include "framework/Quillon_CollisionBridge.h"
#include "framework/Quillon_GameObject.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_PlayerClass.h"

namespace {

constexpr uint32_t kTutorialLevel = 5;
constexpr uint32_t kGameLevel = 7;
constexpr uint32_t kLastLevel = 8;

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

struct NamePair {
  const char* first;
  const char* second;
};

struct NamePairValue {
  const char* first;
  const char* second;
  float value;
};

// What the car drives through without a push (it still notices them for game logic).
const char* const kCarPassesThrough[] = {"CivilianClone", "ShieldClone", "PowerConsuClone", "LaserA", "UFO3_hand"};

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

const char* const kTutorialPlatforms[] = {"platform4", "platform2", "platform3", "platform1"};
const char* const kTutorialPassThrough[] = {"health", "save", "pup", "alienbullet"};

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

const NamePair kGameFrictionless[] = {{"Alien", "Platform"},   {"Platform", "HealthPot"}, {"Platform", "Civilian"},
                                      {"Platform", "Player"},  {"UFO", "charBullet"},     {"UFO2", "charBullet"},
                                      {"UFO3", "charBullet"},  {"UFO3_hand", "charBullet"}};

const NamePairValue kGameRestitution[] = {
    {"Alien", "Platform", 0.0f},  {"Alien", "Player", 0.0f},      {"HealthPot", "Platform", 0.0f},
    {"HealthPot", "Player", 0.0f}, {"Civilian", "Platform", 1.0f}, {"Civilian", "Player", 0.0f},
    {"UFO", "charBullet", 0.0f},  {"UFO2", "charBullet", 1.0f},   {"UFO3", "charBullet", 1.0f},
    {"Bullet", "Player", 0.0f},   {"UFO3_hand", "charBullet", 1.0f}, {"Player", "Platform", 0.0f}};

const NamePair kGamePassThrough[] = {
    {"Alien", "Player"},      {"Alien", "Bullet"},     {"Alien", "UFO"},         {"HealthPot", "Player"},
    {"HealthPot", "UFO"},     {"HealthPot", "Bullet"}, {"Civilian", "Player"},   {"charBullet", "UFO"},
    {"charBullet", "Bullet"}, {"UFO", "Bullet"},       {"UFO2", "Bullet"},       {"UFO3", "charBullet"},
    {"Bullet", "Player"},     {"UFO3_hand", "Bullet"}};

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

// The mouse cursor of each screen and level. It is there to report what it touches (buttons, the
// aim) and has a body only for that: it never pushes, stops or holds anything, or a player who
// leaves the mouse on the road would stop whatever rolls into it.
const char* const kMouseCursors[] = {"pointer", "MousePt", "MousePointer", "mouse"};

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
