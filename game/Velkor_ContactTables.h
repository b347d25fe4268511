#pragma once
// The names behind the game's contact rules (DecideContact) and the car's hits, kept here so that
// whatever must agree with them reads the same rows: a name a level renames has to be renamed here
// too, and the content tests hold these names against the levels' rows.
#include <cstdint>

namespace ContactTables {

// The screens with rule sets of their own; every other level up to the last takes the common set.
constexpr uint32_t kTutorialLevel = 5;
constexpr uint32_t kGameLevel = 7;
constexpr uint32_t kLastLevel = 8;

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
inline constexpr const char* kCarPassesThrough[] = {"CivilianClone", "ShieldClone", "PowerConsuClone", "LaserA",
                                                    "UFO3_hand"};

// The tutorial's car keeps no bounce on its platforms and drives through its pick-ups.
inline constexpr const char* kTutorialPlatforms[] = {"platform4", "platform2", "platform3", "platform1"};
inline constexpr const char* kTutorialPassThrough[] = {"health", "save", "pup", "alienbullet"};

// The game level's pairs, in either order: first the coefficients are set, then the pass-through
// pairs answer no.
inline constexpr NamePair kGameFrictionless[] = {
    {"Alien", "Platform"}, {"Platform", "HealthPot"}, {"Platform", "Civilian"}, {"Platform", "Player"},
    {"UFO", "charBullet"}, {"UFO2", "charBullet"},    {"UFO3", "charBullet"},   {"UFO3_hand", "charBullet"}};

inline constexpr NamePairValue kGameRestitution[] = {
    {"Alien", "Platform", 0.0f},  {"Alien", "Player", 0.0f},      {"HealthPot", "Platform", 0.0f},
    {"HealthPot", "Player", 0.0f}, {"Civilian", "Platform", 1.0f}, {"Civilian", "Player", 0.0f},
    {"UFO", "charBullet", 0.0f},  {"UFO2", "charBullet", 1.0f},   {"UFO3", "charBullet", 1.0f},
    {"Bullet", "Player", 0.0f},   {"UFO3_hand", "charBullet", 1.0f}, {"Player", "Platform", 0.0f}};

inline constexpr NamePair kGamePassThrough[] = {
    {"Alien", "Player"},      {"Alien", "Bullet"},     {"Alien", "UFO"},         {"HealthPot", "Player"},
    {"HealthPot", "UFO"},     {"HealthPot", "Bullet"}, {"Civilian", "Player"},   {"charBullet", "UFO"},
    {"charBullet", "Bullet"}, {"UFO", "Bullet"},       {"UFO2", "Bullet"},       {"UFO3", "charBullet"},
    {"Bullet", "Player"},     {"UFO3_hand", "Bullet"}};

// The mouse cursor of each screen and level. It is there to report what it touches (buttons, the
// aim) and has a body only for that: it never pushes, stops or holds anything, or a player who
// leaves the mouse on the road would stop whatever rolls into it.
inline constexpr const char* kMouseCursors[] = {"pointer", "MousePt", "MousePointer", "mouse"};

struct Attacker {
  const char* name;
  int32_t damage;
};
// What hurts the car, before its armour divides the damage. The first of these touching the car
// in a frame is the one hit that counts.
inline constexpr Attacker kCarAttackers[] = {
    {"BulletClone", 15}, {"AlienClone", 10}, {"AlienBulletClone", 5}, {"LaserA", 50}, {"UFO3_hand", 50}};

}  // namespace ContactTables
