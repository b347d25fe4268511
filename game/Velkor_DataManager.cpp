#include "game/Velkor_DataManager.h"

#include <climits>
#include <cstdio>
#include <iostream>

#include "platform/PAL_FileSystem.h"
#include "platform/PAL_Path.h"

VELKOR_IMPLEMENT_CLASS(PlayerData, "PlayerData");
VELKOR_IMPLEMENT_FRESH_CLONE_CLASS(DataManager, "DataManager");

namespace {

struct ItemDefaults {
  const char* name;
  int32_t itemId;
  int32_t cost;
  int32_t distanceRequired;
  int32_t first;
  int32_t second;
};

constexpr ItemDefaults kEmptySlot = {"RandomArmour 1", -1, 0, 0, 0, 0};

constexpr ItemDefaults kArmourDefaults[DataManager::kItemCount] = {
    {"Toy Armour", 0, 1, 100, 1, 70},
    {"Novice Armour", 1, 500, 2500, 2, 80},
    {"Elite Armour", 2, 1000, 5000, 3, 90},
    kEmptySlot,
    kEmptySlot,
};
constexpr ItemDefaults kGunDefaults[DataManager::kItemCount] = {
    {"Toy Gun", 0, 1, 100, 30, 3},
    {"Novice Gun", 1, 150, 500, 20, 5},
    {"Elite Gun", 2, 200, 800, 10, 7},
    kEmptySlot,
    kEmptySlot,
};
constexpr ItemDefaults kSpecialDefaults[DataManager::kItemCount] = {
    {"Rocket", 0, 300, 3000, 50, 40},
    {"Laser", 1, 500, 500, 150, 40},
    {"Nothing", 2, 1000, 1000, 300, 100},
    kEmptySlot,
    kEmptySlot,
};
constexpr ItemDefaults kAiDefaults[DataManager::kItemCount] = {
    {"AI Friend 1", 0, 1000, 10000, 100, 200},
    {"Nothing", 1, 3000, 5000, 200, 150},
    {"Nothing", 2, 5000, 10000, 300, 200},
    kEmptySlot,
    kEmptySlot,
};

template <typename Item>
void ApplyDefaults(Item (&items)[DataManager::kItemCount], const ItemDefaults (&defaults)[DataManager::kItemCount]) {
  for (int32_t i = 0; i < DataManager::kItemCount; ++i) {
    const ItemDefaults& d = defaults[i];
    items[i].SetStats(ItemStatsRecord{d.name, d.itemId, d.cost, d.distanceRequired});
    items[i].SetSecondaryStats(d.first, d.second);
    items[i].SetState(0, 0);
  }
}

std::string RecordLine(int32_t a, int32_t b, int32_t c) {
  return std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) + " **\n";
}

template <typename Item>
std::string FormatSet(const char* header, const Item (&items)[DataManager::kItemCount]) {
  std::string text = std::string(header) + "\n";
  for (const Item& item : items) text += RecordLine(item.itemId, item.purchased, item.equipped);
  return text + "**End\n";
}

bool IsIndex(int32_t index) { return index >= 0 && index < DataManager::kItemCount; }

void SetItemField(ItemDataHolder& item, int32_t field, int32_t value) {
  if (field == 0) item.itemId = value;
  else if (field == 1) item.purchased = value;
  else if (field == 2) item.equipped = value;
}

// A whole token of an optional sign and decimal digits within the 32-bit range; nothing else.
// The files this game writes hold nothing else, so a partial or oversized number is damage.
bool ParseInteger(const std::string& token, int32_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '-' || token[i] == '+')) negative = token[i++] == '-';
  if (i == token.size()) return false;
  long long magnitude = 0;
  for (; i < token.size(); ++i) {
    if (token[i] < '0' || token[i] > '9') return false;
    magnitude = magnitude * 10 + (token[i] - '0');
    if (magnitude > 2147483648LL) return false;
  }
  const long long signedValue = negative ? -magnitude : magnitude;
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return false;
  value = static_cast<int32_t>(signedValue);
  return true;
}

// One set's equipment made consistent; what changed is added to the note.
template <typename Item>
void MakeSetConsistent(Item (&items)[DataManager::kItemCount], const char* set, bool alwaysOneEquipped,
                       std::string& note) {
  const auto add = [&note, set](const std::string& what) {
    note += (note.empty() ? "" : "; ") + what + " in " + set;
  };
  if (alwaysOneEquipped && items[0].itemId < 0) {
    // The first armour and gun are always owned and are what the set falls back to: never empty.
    items[0].itemId = 0;
    add("an empty first item");
  }
  int32_t equippedCount = 0;
  for (int32_t i = 0; i < DataManager::kItemCount; ++i) {
    Item& item = items[i];
    if (item.purchased != 0 && item.purchased != 1) item.purchased = 1;
    if (item.equipped != 0 && item.equipped != 1) item.equipped = 1;
    if (item.equipped == 1 && (item.purchased == 0 || item.itemId < 0)) {
      item.equipped = 0;
      add(std::string(item.itemId < 0 ? "an empty slot" : "an item not owned") + " equipped");
    }
    equippedCount += item.equipped;
  }
  if (alwaysOneEquipped ? equippedCount == 1 : equippedCount <= 1) return;
  if (equippedCount > 1) add(std::to_string(equippedCount) + " items equipped");
  for (Item& item : items) item.equipped = 0;
  if (alwaysOneEquipped) items[0].equipped = 1;
}

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

enum class Section { None, Player, Armour, Gun, Special, Ai };
constexpr int kSectionCount = 5;

Section SectionOfHeader(const std::string& token) {
  if (token == DataManager::kPlayerHeader) return Section::Player;
  if (token == DataManager::kArmourSet) return Section::Armour;
  if (token == DataManager::kGunSet) return Section::Gun;
  if (token == DataManager::kSpecialSet) return Section::Special;
  if (token == DataManager::kAiSet) return Section::Ai;
  return Section::None;
}

const char* SectionName(Section section) {
  switch (section) {
    case Section::Player: return DataManager::kPlayerHeader;
    case Section::Armour: return DataManager::kArmourSet;
    case Section::Gun: return DataManager::kGunSet;
    case Section::Special: return DataManager::kSpecialSet;
    case Section::Ai: return DataManager::kAiSet;
    case Section::None: break;
  }
  return "outside any section";
}

// Whether a value may stand in a field: the range is what the game itself can ever write.
bool IsPossible(Section section, int32_t field, int32_t value) {
  if (section == Section::Player) return value >= 0;
  if (field == 0) return value >= -1 && value < DataManager::kItemCount;
  return value == 0 || value == 1;
}

// The reader's state while it walks the tokens of one file.
class SaveReader {
 public:
  explicit SaveReader(DataManager& data) : m_data(data) {}

  void Token(const std::string& token) {
    ++m_tokenCount;
    const Section header = SectionOfHeader(token);
    if (header != Section::None) {
      // A header inside a section means the section lost its "**End": end it here rather than
      // read the next section's numbers into it.
      if (m_section != Section::None) {
        Damage("a section without \"**End\" before " + token);
        CloseSection();
      }
      m_section = header;
      return;
    }
    if (m_section == Section::None) {
      Damage("\"" + Shorten(token) + "\" outside any section");
      return;
    }
    if (token == "**") {
      CommitRecord();
      return;
    }
    if (token == "**End") {
      if (HasPendingValues()) Damage("a record without \"**\" in " + std::string(SectionName(m_section)));
      CloseSection();
      return;
    }
    if (m_field > 2) {
      Damage("more than three numbers in a record of " + std::string(SectionName(m_section)));
    } else {
      int32_t value = 0;
      if (ParseInteger(token, value) && IsPossible(m_section, m_field, value)) {
        m_pending[m_field] = value;
        m_hasPending[m_field] = true;
      } else {
        Damage("impossible value \"" + Shorten(token) + "\" in " + SectionName(m_section));
      }
    }
    ++m_field;
  }

  // The file is over: a cut file ends its open section here, keeping every whole record.
  void Finish() {
    if (m_tokenCount == 0) return;  // an empty file: nothing was there to damage
    if (m_section != Section::None) {
      Damage(std::string(SectionName(m_section)) + " is cut short");
      if (HasPendingValues()) Damage("a record without \"**\"");
      CloseSection();
    }
    for (int i = 0; i < kSectionCount; ++i) {
      if (!m_seen[i]) Damage(std::string("no ") + SectionName(static_cast<Section>(i + 1)) + " section");
    }
  }

  bool IsDamaged() const { return m_problemCount > 0; }
  std::string Describe() const {
    return m_firstProblem + (m_problemCount > 1 ? " (and " + std::to_string(m_problemCount - 1) + " more)" : "");
  }

 private:
  static std::string Shorten(const std::string& token) {
    std::string shown = token.size() > 24 ? token.substr(0, 24) + "..." : token;
    for (char& c : shown) {
      if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) c = '?';
    }
    return shown;
  }

  void Damage(const std::string& problem) {
    if (m_problemCount++ == 0) m_firstProblem = problem;
  }

  bool HasPendingValues() const { return m_hasPending[0] || m_hasPending[1] || m_hasPending[2]; }

  void SetField(int32_t index, int32_t field, int32_t value) {
    switch (m_section) {
      case Section::Armour: m_data.SetArmourField(index, field, value); break;
      case Section::Gun: m_data.SetGunField(index, field, value); break;
      case Section::Special: m_data.SetSpecialField(index, field, value); break;
      case Section::Ai: m_data.SetAiField(index, field, value); break;
      default: break;
    }
  }

  // A record's numbers count only once its "**" has arrived: a cut record never half applies.
  void CommitRecord() {
    if (m_section == Section::Player) {
      if (m_record > 0) Damage("more than one record in " + std::string(DataManager::kPlayerHeader));
      PlayerData& player = m_data.player;
      if (m_hasPending[0]) player.totalGears = m_pending[0];
      if (m_hasPending[1]) player.bestDistance = m_pending[1];
      if (m_hasPending[2]) player.bestScore = m_pending[2];
    } else if (m_record >= DataManager::kItemCount) {
      Damage("more than five records in " + std::string(SectionName(m_section)));
    } else {
      for (int32_t field = 0; field < 3; ++field) {
        if (!m_hasPending[field]) continue;
        if (field == 2 && m_pending[field] == 1) m_equippedSeen = true;
        SetField(m_record, field, m_pending[field]);
      }
    }
    if (m_field < 3) Damage("a record with fewer than three numbers in " + std::string(SectionName(m_section)));
    ++m_record;
    ResetRecord();
  }

  void CloseSection() {
    if (m_section == Section::Armour && !m_equippedSeen) m_data.SetArmourField(0, 2, 1);
    if (m_section == Section::Gun && !m_equippedSeen) m_data.SetGunField(0, 2, 1);
    const int32_t expected = m_section == Section::Player ? 1 : DataManager::kItemCount;
    if (m_record < expected) Damage("too few records in " + std::string(SectionName(m_section)));
    m_seen[static_cast<int>(m_section) - 1] = true;
    m_section = Section::None;
    m_record = 0;
    m_equippedSeen = false;
    ResetRecord();
  }

  void ResetRecord() {
    m_field = 0;
    m_hasPending[0] = m_hasPending[1] = m_hasPending[2] = false;
  }

  DataManager& m_data;
  Section m_section = Section::None;
  int32_t m_field = 0;
  int32_t m_record = 0;
  bool m_equippedSeen = false;
  int32_t m_pending[3] = {};
  bool m_hasPending[3] = {};
  bool m_seen[kSectionCount] = {};
  std::size_t m_tokenCount = 0;
  std::size_t m_problemCount = 0;
  std::string m_firstProblem;
};

}  // namespace

void DataManager::SetDefaults() {
  ApplyDefaults(armours, kArmourDefaults);
  ApplyDefaults(guns, kGunDefaults);
  ApplyDefaults(specials, kSpecialDefaults);
  ApplyDefaults(aiFriends, kAiDefaults);
  armours[0].SetState(1, 1);
  guns[0].SetState(1, 1);
  player.totalGears = 0;
  player.bestDistance = 0;
  player.bestScore = 0;
}

std::string DataManager::GetSaveDirectory() { return PAL::UserDataDirectory(kDataFolder); }

std::string DataManager::GetSavePath() {
  const std::string directory = GetSaveDirectory();
  return directory.empty() ? std::string() : directory + "/" + kFileName;
}

bool DataManager::Load() {
  const std::string path = GetSavePath();
  if (path.empty()) {
    // Without a home there is nowhere to keep progress: play on with what is in memory.
    m_lastError = "no home folder to keep the save in (set HOME or XDG_DATA_HOME)";
    std::cerr << "Could not read the save: " << m_lastError << "\n";
    return false;
  }
  std::string bytes;
  std::string error;
  switch (PAL::ReadWholeFile(path, bytes, error, kMaxFileSize)) {
    case PAL::FileReadResult::Missing:
      std::cout << "Write file from no read\n" << std::flush;
      return Save();
    case PAL::FileReadResult::Failed:
      // Something is there that may hold the player's progress: never write over it unseen.
      m_damagedSave = true;
      m_lastError = error;
      std::cerr << "Could not read the save: " << error << "\n";
      return false;
    case PAL::FileReadResult::TooLarge:
      // No save is this large, but its beginning may still be one grown a tail: whole records
      // there are kept, the file itself is set aside at the next save.
      LoadFromText(bytes);
      m_damagedSave = true;
      m_lastError = error + "; only its first " + std::to_string(kMaxFileSize) + " bytes were read";
      std::cerr << "The save is damaged: " << m_lastError << "; it is kept as \"" << kDamagedCopyName
                << "\" at the next save\n";
      return false;
    case PAL::FileReadResult::Read:
      break;
  }
  if (LoadFromText(bytes)) return true;
  std::cerr << "The save is damaged: " << m_lastError << "; it is kept as \"" << kDamagedCopyName
            << "\" at the next save\n";
  return false;
}

bool DataManager::LoadFromText(const std::string& text) {
  SaveReader reader(*this);
  std::size_t position = 0;
  while (position < text.size()) {
    while (position < text.size() && IsWhiteSpace(text[position])) ++position;
    const std::size_t start = position;
    while (position < text.size() && !IsWhiteSpace(text[position])) ++position;
    if (position > start) reader.Token(text.substr(start, position - start));
  }
  reader.Finish();
  const std::string corrected = MakeEquipmentConsistent();
  if (!reader.IsDamaged() && corrected.empty()) return true;
  m_damagedSave = true;
  m_lastError = std::string("\"") + kFileName + "\": " + (reader.IsDamaged() ? reader.Describe() : corrected);
  return false;
}

bool DataManager::Save() {
  const std::string text = FormatPlayerData() + "\n" + FormatArmourSet() + "\n" + FormatGunSet() + "\n" +
                           FormatSpecialSet() + "\n" + FormatAiSet();
  const std::string directory = GetSaveDirectory();
  std::string error;
  if (directory.empty() || !PAL::CreateDirectories(directory, error)) {
    m_lastError = directory.empty() ? "no home folder to keep the save in (set HOME or XDG_DATA_HOME)" : error;
    std::cerr << "Could not save: " << m_lastError << "\n";
    return false;
  }
  const std::string path = directory + "/" + kFileName;
  if (m_damagedSave) {
    if (!PAL::KeepCopyOfFile(path, directory + "/" + kDamagedCopyName, error)) {
      m_lastError = "the damaged save could not be set aside, so it is not replaced: " + error;
      std::cerr << "Could not save: " << m_lastError << "\n";
      return false;
    }
    m_damagedSave = false;
  }
  if (!PAL::ReplaceFileAtomically(path, text, error)) {
    m_lastError = error;
    std::cerr << "Could not save: " << error << "\n";
    return false;
  }
  return true;
}

void DataManager::RecordRun(int32_t gears, int32_t distance, int32_t score) {
  long long total = static_cast<long long>(player.totalGears) + gears;
  if (total < 0) total = 0;
  if (total > INT32_MAX) total = INT32_MAX;
  player.totalGears = static_cast<int32_t>(total);
  player.lastGears = gears;
  player.lastDistance = distance;
  if (distance > player.bestDistance) player.bestDistance = distance;
  player.lastScore = score;
  player.newHighScore = score > player.bestScore ? 1 : 0;
  if (score > player.bestScore) player.bestScore = score;
  Save();
}

void DataManager::SetItemState(std::string set, int32_t index, int32_t equippedValue, int32_t purchasedValue) {
  // Only 0 and 1 are states; anything else (the -1 of "unchanged" included) leaves the field.
  const auto isState = [](int32_t value) { return value == 0 || value == 1; };
  if (IsIndex(index)) {
    if (set == kArmourSet) {
      if (isState(purchasedValue)) SetArmourField(index, 1, purchasedValue);
      if (isState(equippedValue)) SetArmourField(index, 2, equippedValue);
    } else if (set == kGunSet) {
      if (isState(purchasedValue)) SetGunField(index, 1, purchasedValue);
      if (isState(equippedValue)) SetGunField(index, 2, equippedValue);
    } else if (ItemDataHolder* item = FindItem(set, index)) {
      if (isState(purchasedValue)) item->purchased = purchasedValue;
      if (isState(equippedValue)) item->equipped = equippedValue;
    }
  }
  Save();
}

DataManager::PurchaseResult DataManager::PurchaseItem(const std::string& set, int32_t index) {
  ItemDataHolder* item = FindItem(set, index);
  if (item == nullptr || item->itemId < 0) return PurchaseResult::NoSuchItem;
  if (item->purchased == 1) return PurchaseResult::AlreadyOwned;
  // Signed comparisons: a requirement of 0 or less is no requirement.
  if (player.totalGears < item->cost || player.bestDistance < item->distanceRequired) {
    return PurchaseResult::NotEnoughResources;
  }
  // A negative price would hand out gears; a price is never that.
  if (item->cost > 0) player.totalGears -= item->cost;
  item->purchased = 1;
  Save();
  return PurchaseResult::Purchased;
}

bool DataManager::EquipItem(const std::string& set, int32_t index) {
  ItemDataHolder* chosen = FindItem(set, index);
  if (chosen == nullptr || chosen->purchased != 1 || chosen->itemId < 0) return false;
  for (int32_t i = 0; i < kItemCount; ++i) {
    ItemDataHolder* item = FindItem(set, i);
    item->equipped = item == chosen ? 1 : 0;
  }
  Save();
  return true;
}

std::string DataManager::MakeEquipmentConsistent() {
  std::string note;
  MakeSetConsistent(armours, kArmourSet, true, note);
  MakeSetConsistent(guns, kGunSet, true, note);
  MakeSetConsistent(specials, kSpecialSet, false, note);
  MakeSetConsistent(aiFriends, kAiSet, false, note);
  return note;
}

std::string DataManager::GetItemDescription(std::string set, int32_t index) const {
  if (!IsIndex(index)) return "";
  if (set == kArmourSet) return armours[index].GetDescription();
  if (set == kGunSet) return guns[index].GetDescription();
  if (set == kSpecialSet) return specials[index].GetDescription();
  if (set == kAiSet) return aiFriends[index].GetDescription();
  return "";
}

std::string DataManager::GetItemName(std::string set, int32_t index) const {
  const ItemDataHolder* item = FindItem(set, index);
  return item ? item->name : std::string();
}

void DataManager::GetItemInfo(std::string set, int32_t index, int32_t& itemId, int32_t& cost,
                              int32_t& distanceRequired, int32_t& purchased, int32_t& equipped) const {
  const ItemDataHolder* item = FindItem(set, index);
  itemId = item ? item->itemId : 0;
  cost = item ? item->cost : 0;
  distanceRequired = item ? item->distanceRequired : 0;
  purchased = item ? item->purchased : 0;
  equipped = item ? item->equipped : 0;
}

void DataManager::SetArmourField(int32_t index, int32_t field, int32_t value) {
  if (!IsIndex(index)) return;
  // The first armour is always owned.
  if (index == 0 && field == 1) value = 1;
  SetItemField(armours[index], field, value);
}

void DataManager::SetGunField(int32_t index, int32_t field, int32_t value) {
  if (!IsIndex(index)) return;
  // The first gun is always owned.
  if (index == 0 && field == 1) value = 1;
  SetItemField(guns[index], field, value);
}

void DataManager::SetSpecialField(int32_t index, int32_t field, int32_t value) {
  if (IsIndex(index)) SetItemField(specials[index], field, value);
}

void DataManager::SetAiField(int32_t index, int32_t field, int32_t value) {
  if (IsIndex(index)) SetItemField(aiFriends[index], field, value);
}

std::string DataManager::FormatPlayerData() const {
  return std::string(kPlayerHeader) + "\n" +
         RecordLine(player.totalGears, player.bestDistance, player.bestScore) + "**End\n";
}

std::string DataManager::FormatArmourSet() const { return FormatSet(kArmourSet, armours); }
std::string DataManager::FormatGunSet() const { return FormatSet(kGunSet, guns); }
std::string DataManager::FormatSpecialSet() const { return FormatSet(kSpecialSet, specials); }
std::string DataManager::FormatAiSet() const { return FormatSet(kAiSet, aiFriends); }

ItemDataHolder* DataManager::FindItem(const std::string& set, int32_t index) {
  return const_cast<ItemDataHolder*>(static_cast<const DataManager*>(this)->FindItem(set, index));
}

const ItemDataHolder* DataManager::FindItem(const std::string& set, int32_t index) const {
  if (!IsIndex(index)) return nullptr;
  if (set == kArmourSet) return &armours[index];
  if (set == kGunSet) return &guns[index];
  if (set == kSpecialSet) return &specials[index];
  if (set == kAiSet) return &aiFriends[index];
  return nullptr;
}
