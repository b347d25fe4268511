#pragma once
// The save data: the four item sets of the garage shop and the player's record, kept from one
// run to the next in the text file "scoreData.txt" in the player's data folder
// ($XDG_DATA_HOME/velkor, else ~/.local/share/velkor; created when missing), never in the working
// directory.
//
// File layout (every save writes it whole; existing saves keep loading):
//   -PlayerData-              record line: totalGears bestDistance bestScore
//   _____Armour_Set_____      five record lines: itemId purchased equipped
//   ______Gun_Set______       (same)
//   _____Special_Set____      (same)
//   _______AI_Set_______      (same)
// A record line is "a b c **\n"; each section ends with "**End\n"; a blank line between sections.
//
// The file is the player's progress, so the reader treats it as hostile and fragile:
// - A missing file gives the values in memory (the defaults at game start) and is created.
//   An empty file (no tokens) changes nothing and is not rewritten.
// - A record's numbers are taken only when the record's "**" arrives: a file cut anywhere
//   leaves each record either whole or untouched, never half read (a cut "1234" is not "12").
// - A value must be a whole decimal integer in range: the player's three numbers 0 or more,
//   itemId -1 to 4, purchased and equipped 0 or 1. Anything else (text, "12a", overflow,
//   negative gears) is rejected and the field keeps its value; the rest of the record is kept.
// - A header always starts its section, even where the previous section lost its "**End", and
//   the end of the file ends an open section, so a lost terminator never shifts one section's
//   numbers into another. Sections may come in any order; a repeated section reads again.
// - Records past the fifth of an item set, and numbers past the third of a record, are ignored.
// - The first armour and the first gun are always owned; an armour or gun section without an
//   equipped item equips its first item.
// - The equipment read is made consistent, since the run trusts it: nothing is equipped that is
//   not owned or is an empty slot (itemId below 0); exactly one armour and one gun are equipped
//   (the first of the set when the file has none or several); at most one special attack and one
//   AI friend (none when the file has several).
// Whenever something had to be rejected, ignored, set right or was missing (or the file existed
// but could not be read), the load is "damaged": the file is left as it is, and the next real
// save first keeps it as "scoreData.txt.bad" before replacing it, so a damaged save is never lost.
// Saving writes a temporary file beside the save, flushes it to the device and renames it over
// "scoreData.txt": a crash at any moment leaves the old file or the new one, never half of one.
// A purchase or an equip changes memory and then writes the file once, so no crash can take the
// gears without granting the item.
#include <cstdint>
#include <string>

#include "core/Core_Object.h"
#include "game/Velkor_ItemData.h"

class PlayerData : public Core::Object {
 public:
  VELKOR_DECLARE_CLASS(PlayerData);

  int32_t totalGears = 0;    // saved: gears of every recorded run less the prices paid
  int32_t bestDistance = 0;  // saved
  int32_t lastGears = 0;
  int32_t lastDistance = 0;
  int32_t lastScore = 0;
  int32_t bestScore = 0;     // saved
  uint8_t newHighScore = 0;  // the last recorded score beat the best before it
};

class DataManager : public Core::Object {
 public:
  VELKOR_DECLARE_CLASS(DataManager);

  static constexpr int32_t kItemCount = 5;
  static constexpr const char* kFileName = "scoreData.txt";
  // The folder under the user's data directory.
  static constexpr const char* kDataFolder = "velkor";
  // Where a damaged save is kept before the first save replaces it.
  static constexpr const char* kDamagedCopyName = "scoreData.txt.bad";
  // Far above any real save (about 400 bytes); of a larger file only this much is read.
  static constexpr std::size_t kMaxFileSize = 1 << 20;

  static constexpr const char* kPlayerHeader = "-PlayerData-";
  static constexpr const char* kArmourSet = "_____Armour_Set_____";
  static constexpr const char* kGunSet = "______Gun_Set______";
  static constexpr const char* kSpecialSet = "_____Special_Set____";
  static constexpr const char* kAiSet = "_______AI_Set_______";

  DataManager() = default;

  // The save file's folder and full path, resolved from the environment at each call.
  static std::string GetSaveDirectory();
  static std::string GetSavePath();

  void SetDefaults();

  // The Core::File slots keep the object's empty defaults: the save file below is separate.
  using Core::Object::Load;
  using Core::Object::Save;

  // Reads the save file over the current values (see above). True when the file was missing
  // (and has been created), empty, or read without damage; false with GetLastError otherwise.
  bool Load();
  // The reader itself, over the text of a save file; true when nothing was damaged.
  bool LoadFromText(const std::string& text);
  // Writes the whole file; false with GetLastError when the file could not be replaced (the old
  // file is then untouched and the values stay in memory for the next save).
  bool Save();

  // Records a finished run (or, with negative gears and score -1, a purchase) and saves.
  // totalGears stays within 0 .. INT32_MAX instead of wrapping.
  void RecordRun(int32_t gears, int32_t distance, int32_t score);
  // Sets an item's flags (-1 leaves one unchanged; only 0 and 1 are stored) and saves, in every
  // case. The first armour and the first gun stay owned.
  void SetItemState(std::string set, int32_t index, int32_t equippedValue, int32_t purchasedValue);

  enum class PurchaseResult {
    Purchased,           // gears paid, item owned (not equipped), file written once
    NotEnoughResources,  // too few gears or too short a best distance: nothing changed
    AlreadyOwned,        // nothing changed
    NoSuchItem,          // unknown set, index outside 0..4 or an empty slot: nothing changed
  };
  // Buys the item: its cost leaves totalGears and it becomes owned, in one write of the file.
  PurchaseResult PurchaseItem(const std::string& set, int32_t index);
  // Makes the item the one in use in its set (every other item of the set is put away), in one
  // write of the file. Refuses (false, nothing changed) an item not owned or an empty slot.
  bool EquipItem(const std::string& set, int32_t index);

  // Sets the equipment right as described above; returns what had to change ("" when nothing).
  std::string MakeEquipmentConsistent();

  // Unknown set names and indices outside 0..4 give "" and zeros.
  std::string GetItemDescription(std::string set, int32_t index) const;
  std::string GetItemName(std::string set, int32_t index) const;
  void GetItemInfo(std::string set, int32_t index, int32_t& itemId, int32_t& cost, int32_t& distanceRequired,
                   int32_t& purchased, int32_t& equipped) const;

  // Field 0 itemId, 1 purchased, 2 equipped; other fields and indices outside 0..4 change nothing.
  void SetArmourField(int32_t index, int32_t field, int32_t value);
  void SetGunField(int32_t index, int32_t field, int32_t value);
  void SetSpecialField(int32_t index, int32_t field, int32_t value);
  void SetAiField(int32_t index, int32_t field, int32_t value);

  std::string FormatPlayerData() const;
  std::string FormatArmourSet() const;
  std::string FormatGunSet() const;
  std::string FormatSpecialSet() const;
  std::string FormatAiSet() const;

  // True while the last load found damage that no save has yet set aside.
  bool HasDamagedSave() const { return m_damagedSave; }
  const std::string& GetLastError() const { return m_lastError; }

  ArmourData armours[kItemCount];
  GunData guns[kItemCount];
  SpecialData specials[kItemCount];
  PlayerData player;
  AiData aiFriends[kItemCount];

 private:
  ItemDataHolder* FindItem(const std::string& set, int32_t index);
  const ItemDataHolder* FindItem(const std::string& set, int32_t index) const;

  bool m_damagedSave = false;
  std::string m_lastError;
};
