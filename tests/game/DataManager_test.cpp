#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/Velkor_DataManager.h"
#include "platform/PAL_FileSystem.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// A save far from the defaults: armour 2 and gun 1 equipped, gears in the thousands.
const char* const kProgressFile =
    "-PlayerData-\n12345 6789 17 **\n**End\n\n"
    "_____Armour_Set_____\n0 1 0 **\n1 1 0 **\n2 1 1 **\n-1 0 0 **\n-1 0 0 **\n**End\n\n"
    "______Gun_Set______\n0 1 0 **\n1 1 1 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n**End\n\n"
    "_____Special_Set____\n0 1 1 **\n1 1 0 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n**End\n\n"
    "_______AI_Set_______\n0 1 0 **\n1 0 0 **\n2 1 1 **\n-1 0 0 **\n-1 0 0 **\n**End\n";

// The saved numbers only, in file order: what a load can change.
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

void Replace(std::string& text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

std::unique_ptr<DataManager> Fresh() {
  auto data = std::make_unique<DataManager>();
  data->SetDefaults();
  return data;
}

// The save of a fresh game, as the game's own formatter writes it (its layout is held against
// kProgressFile).
std::string DefaultFile() {
  auto data = Fresh();
  return data->FormatPlayerData() + "\n" + data->FormatArmourSet() + "\n" + data->FormatGunSet() + "\n" +
         data->FormatSpecialSet() + "\n" + data->FormatAiSet();
}

// Keeps an environment variable as it was and puts it back.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const char* name) : m_name(name) {
    const char* value = std::getenv(name);
    m_had = value != nullptr;
    if (m_had) m_value = value;
  }
  ~ScopedEnvironment() {
    if (m_had) setenv(m_name.c_str(), m_value.c_str(), 1);
    else unsetenv(m_name.c_str());
  }
  void Set(const std::string& value) { setenv(m_name.c_str(), value.c_str(), 1); }
  void Unset() { unsetenv(m_name.c_str()); }

 private:
  std::string m_name;
  std::string m_value;
  bool m_had = false;
};

// Every test has its own user data folder (XDG_DATA_HOME) and works in the save's folder in it.
class SaveFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_previous = fs::current_path();
    m_directory = TestSupport::MakeTempDirectory("velkor_save_");
    m_dataHome.Set(m_directory);
    fs::create_directory(m_directory + "/velkor");
    fs::current_path(m_directory + "/velkor");
  }
  void TearDown() override {
    PAL::SetBeforeReplaceHook(nullptr);
    fs::current_path(m_previous);
    std::error_code ignored;
    fs::permissions(m_directory, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_directory, ignored);
  }

  static std::string SaveBytes() { return TestSupport::ReadWholeFile("scoreData.txt"); }
  static void WriteSave(const std::string& bytes) { ASSERT_TRUE(TestSupport::WriteWholeFile("scoreData.txt", bytes)); }
  // Loads bytes into a fresh manager with the defaults, as the game does at start.
  static std::unique_ptr<DataManager> LoadBytes(const std::string& bytes, bool* intact = nullptr) {
    WriteSave(bytes);
    auto data = Fresh();
    const bool ok = data->Load();
    if (intact) *intact = ok;
    return data;
  }

  // Counts the replacements of the save from now on.
  void CountReplacements() {
    m_replacements = 0;
    PAL::SetBeforeReplaceHook([this](const std::string&) {
      ++m_replacements;
      return true;
    });
  }

  ScopedEnvironment m_dataHome{"XDG_DATA_HOME"};
  ScopedEnvironment m_home{"HOME"};
  fs::path m_previous;
  std::string m_directory;
  int m_replacements = 0;
};

// Each set holds its three items, numbered 0 to 2, named and priced, then empty slots; a fresh game
// owns and uses the first armour and gun and nothing else; every query answers from the item itself.
TEST(DataManagerDefaults, EachSetHoldsThreeItemsThenEmptySlotsAndQueriesAnswerFromTheItems) {
  auto data = Fresh();
  const auto check = [&data](const char* set, const auto& items, bool firstOwned) {
    for (int32_t i = 0; i < DataManager::kItemCount; ++i) {
      SCOPED_TRACE(std::string(set) + " " + std::to_string(i));
      const auto& item = items[i];
      EXPECT_EQ(item.itemId, i < 3 ? i : -1);
      if (i < 3) {
        EXPECT_FALSE(item.name.empty());
        EXPECT_GT(item.cost, 0);
      }
      EXPECT_EQ(item.purchased, firstOwned && i == 0 ? 1 : 0);
      EXPECT_EQ(item.equipped, firstOwned && i == 0 ? 1 : 0);
      EXPECT_EQ(data->GetItemName(set, i), item.name);
      EXPECT_EQ(data->GetItemDescription(set, i), item.GetDescription());
      int32_t id = 9, cost = 9, distance = 9, purchased = 9, equipped = 9;
      data->GetItemInfo(set, i, id, cost, distance, purchased, equipped);
      EXPECT_EQ((std::vector<int32_t>{id, cost, distance, purchased, equipped}),
                (std::vector<int32_t>{item.itemId, item.cost, item.distanceRequired, item.purchased, item.equipped}));
    }
  };
  check(DataManager::kArmourSet, data->armours, true);
  check(DataManager::kGunSet, data->guns, true);
  check(DataManager::kSpecialSet, data->specials, false);
  check(DataManager::kAiSet, data->aiFriends, false);
  // A fresh player has no gears and no bests.
  EXPECT_EQ((std::vector<int32_t>{data->player.totalGears, data->player.bestDistance, data->player.bestScore}),
            (std::vector<int32_t>(3, 0)));

  int32_t id = 9, cost = 9, distance = 9, purchased = 9, equipped = 9;
  // Unknown sets (a near miss included) and indices outside the set give nothing.
  for (const auto& [set, index] : std::vector<std::pair<std::string, int32_t>>{
           {"______Armour_Set_____", 0}, {"", 0}, {DataManager::kGunSet, 5}, {DataManager::kGunSet, -1}}) {
    data->GetItemInfo(set, index, id, cost, distance, purchased, equipped);
    EXPECT_EQ((std::vector<int32_t>{id, cost, distance, purchased, equipped}), (std::vector<int32_t>(5, 0)));
    EXPECT_EQ(data->GetItemName(set, index), "");
    EXPECT_EQ(data->GetItemDescription(set, index), "");
  }
}

TEST_F(SaveFileTest, SavedBytesFollowTheLayoutExactly) {
  auto data = Fresh();
  data->player.totalGears = 12345;
  data->player.bestDistance = 6789;
  data->player.bestScore = 17;
  data->armours[0].equipped = 0;
  data->armours[1].purchased = 1;
  data->armours[2].SetState(1, 1);
  data->guns[0].equipped = 0;
  data->guns[1].SetState(1, 1);
  data->specials[0].SetState(1, 1);
  data->specials[1].purchased = 1;
  data->aiFriends[0].purchased = 1;
  data->aiFriends[2].SetState(1, 1);
  ASSERT_TRUE(data->Save());
  // Byte for byte, the empty slots' negative numbers included.
  EXPECT_EQ(SaveBytes(), kProgressFile);
}

TEST_F(SaveFileTest, EverySavedFieldRoundTrips) {
  auto data = Fresh();
  data->player.totalGears = INT32_MAX;
  data->player.bestDistance = 1;
  data->player.bestScore = 2147483000;
  int32_t n = 0;
  // A different pattern of states in every set, including itemIds the defaults don't have.
  const auto shuffle = [&n](ItemDataHolder& item, int32_t index) {
    item.itemId = (index + n) % 6 - 1;
    item.purchased = (index + n) % 2;
    item.equipped = (index * 3 + n) % 2;
    ++n;
  };
  for (int32_t i = 0; i < 5; ++i) shuffle(data->specials[i], i);
  for (int32_t i = 0; i < 5; ++i) shuffle(data->aiFriends[i], i);
  for (int32_t i = 0; i < 5; ++i) shuffle(data->armours[i], i);
  for (int32_t i = 0; i < 5; ++i) shuffle(data->guns[i], i);
  data->armours[0].purchased = 1;  // always owned
  data->guns[0].purchased = 1;
  data->armours[3].equipped = 1;
  data->guns[4].equipped = 1;
  // What a load would set right is set right first: the rest must come back unchanged.
  data->MakeEquipmentConsistent();
  ASSERT_TRUE(data->Save());

  auto loaded = Fresh();
  EXPECT_TRUE(loaded->Load()) << loaded->GetLastError();
  EXPECT_EQ(SavedFields(*loaded), SavedFields(*data));
  // Names, prices and stats never come from the file.
  EXPECT_EQ(loaded->guns[2].name, data->guns[2].name);
  EXPECT_EQ(loaded->armours[1].cost, data->armours[1].cost);
  EXPECT_EQ(SaveBytes(), data->FormatPlayerData() + "\n" + data->FormatArmourSet() + "\n" + data->FormatGunSet() +
                             "\n" + data->FormatSpecialSet() + "\n" + data->FormatAiSet());
}

TEST_F(SaveFileTest, RecordRunKeepsBestsAndSavesEachRun) {
  auto data = Fresh();
  data->RecordRun(5, 120, 3);
  EXPECT_EQ(data->player.totalGears, 5);
  EXPECT_EQ(data->player.bestDistance, 120);
  EXPECT_EQ(data->player.bestScore, 3);
  EXPECT_EQ(data->player.newHighScore, 1);
  EXPECT_EQ(SaveBytes().substr(0, 24), "-PlayerData-\n5 120 3 **\n");

  data->RecordRun(2, 80, 3);
  EXPECT_EQ(data->player.totalGears, 7);
  EXPECT_EQ(data->player.bestDistance, 120);
  EXPECT_EQ(data->player.bestScore, 3);
  EXPECT_EQ(data->player.newHighScore, 0);
  EXPECT_EQ(data->player.lastDistance, 80);
  EXPECT_EQ(data->player.lastGears, 2);
  EXPECT_EQ(data->player.lastScore, 3);
  EXPECT_EQ(SaveBytes().substr(0, 24), "-PlayerData-\n7 120 3 **\n");

  // A purchase: gears paid, distance unchanged, score -1 is never a high score.
  data->RecordRun(-7, data->player.bestDistance, -1);
  EXPECT_EQ(data->player.totalGears, 0);
  EXPECT_EQ(data->player.bestScore, 3);
  EXPECT_EQ(data->player.newHighScore, 0);

  // The total never wraps or turns negative, so the file never holds an impossible value.
  data->RecordRun(-1, 0, 0);
  EXPECT_EQ(data->player.totalGears, 0);
  data->player.totalGears = INT32_MAX - 1;
  data->RecordRun(10, 0, 0);
  EXPECT_EQ(data->player.totalGears, INT32_MAX);
  auto loaded = Fresh();
  EXPECT_TRUE(loaded->Load());
  EXPECT_EQ(loaded->player.totalGears, INT32_MAX);
}

TEST_F(SaveFileTest, SetItemStateWritesAtOnce) {
  auto data = Fresh();
  data->SetItemState(DataManager::kGunSet, 1, -1, 1);
  EXPECT_EQ(data->guns[1].purchased, 1);
  EXPECT_EQ(data->guns[1].equipped, 0);
  EXPECT_NE(SaveBytes().find("______Gun_Set______\n0 1 1 **\n1 1 0 **\n"), std::string::npos);

  data->SetItemState(DataManager::kGunSet, 1, 1, -1);
  data->SetItemState(DataManager::kGunSet, 0, 0, -1);
  EXPECT_NE(SaveBytes().find("______Gun_Set______\n0 1 0 **\n1 1 1 **\n"), std::string::npos);

  data->SetItemState(DataManager::kAiSet, 2, 1, 1);
  EXPECT_NE(SaveBytes().find("_______AI_Set_______\n0 0 0 **\n1 0 0 **\n2 1 1 **\n"), std::string::npos);

  // The first armour stays owned; values that are no state, and bad indices, change nothing.
  data->SetItemState(DataManager::kArmourSet, 0, -1, 0);
  EXPECT_EQ(data->armours[0].purchased, 1);
  data->SetItemState(DataManager::kSpecialSet, 1, 7, 2);
  EXPECT_EQ(data->specials[1].equipped, 0);
  EXPECT_EQ(data->specials[1].purchased, 0);
  const std::vector<int32_t> before = SavedFields(*data);
  data->SetItemState(DataManager::kSpecialSet, 5, 1, 1);
  data->SetItemState(DataManager::kSpecialSet, -1, 1, 1);
  EXPECT_EQ(SavedFields(*data), before);

  // An unknown set changes nothing but still saves.
  fs::remove("scoreData.txt");
  data->SetItemState("Gun_Set", 1, 0, 0);
  EXPECT_EQ(SavedFields(*data), before);
  auto loaded = Fresh();
  EXPECT_TRUE(loaded->Load());
  EXPECT_EQ(SavedFields(*loaded), before);
}

TEST_F(SaveFileTest, EmptyFileChangesNothingAndIsNotRewritten) {
  for (const std::string bytes : {"", " \n\r\n\t "}) {
    bool intact = false;
    auto data = LoadBytes(bytes, &intact);
    EXPECT_TRUE(intact);
    EXPECT_FALSE(data->HasDamagedSave());
    EXPECT_EQ(SavedFields(*data), SavedFields(*Fresh()));
    EXPECT_EQ(SaveBytes(), bytes);
  }
}

TEST_F(SaveFileTest, HandEditedSpacingLineEndsAndSectionOrderLoadTheSame) {
  auto expected = LoadBytes(kProgressFile);
  const std::string file = kProgressFile;
  std::string crlf;
  for (const char c : file) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::string spaced;
  for (const char c : file) spaced += c == ' ' ? std::string(" \t  ") : std::string(1, c);
  std::vector<std::string> sections;
  for (std::size_t start = 0; start < file.size();) {
    std::size_t end = file.find("**End\n", start) + 6;
    sections.push_back(file.substr(start, end - start));
    start = end + (end < file.size() ? 1 : 0);
  }
  ASSERT_EQ(sections.size(), 5u);
  const std::string reordered = sections[4] + sections[2] + "\n" + sections[0] + sections[3] + sections[1];
  // Without the final line end the file is still whole.
  for (const std::string& bytes :
       {crlf, spaced, "\n\n  " + file + "\n\n\n", reordered, file.substr(0, file.size() - 1)}) {
    bool intact = false;
    auto data = LoadBytes(bytes, &intact);
    EXPECT_TRUE(intact) << data->GetLastError();
    EXPECT_EQ(SavedFields(*data), SavedFields(*expected));
  }
}

TEST_F(SaveFileTest, FirstArmourAndGunAreAlwaysOwnedAndEquippedWhenNothingElseIs) {
  std::string file = DefaultFile();
  file.replace(file.find("_____Armour_Set_____\n0 1 1"), 26, "_____Armour_Set_____\n0 0 0");
  // No gun line has equipped 1, whatever the armours said.
  file.replace(file.find("______Gun_Set______\n0 1 1"), 25, "______Gun_Set______\n0 1 0");
  bool intact = false;
  auto data = LoadBytes(file, &intact);
  EXPECT_TRUE(intact);
  EXPECT_EQ(data->armours[0].purchased, 1);
  EXPECT_EQ(data->armours[0].equipped, 1);
  EXPECT_EQ(data->guns[0].equipped, 1);
  // Another equipped armour leaves the first one as the file says.
  data = LoadBytes(kProgressFile);
  EXPECT_EQ(data->armours[0].equipped, 0);
  EXPECT_EQ(data->armours[2].equipped, 1);
}

TEST_F(SaveFileTest, TruncatedAtEveryByteKeepsWholeRecordsOnly) {
  const std::string full = kProgressFile;
  const std::vector<int32_t> complete = SavedFields(*LoadBytes(full));
  const std::vector<int32_t> defaults = SavedFields(*Fresh());
  for (std::size_t length = 1; length < full.size(); ++length) {
    const std::string prefix = full.substr(0, length);
    bool intact = true;
    auto data = LoadBytes(prefix, &intact);
    const std::vector<int32_t> fields = SavedFields(*data);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      // Each number is either the file's or the default: a cut "12345" never reads as "12".
      EXPECT_TRUE(fields[i] == complete[i] || fields[i] == defaults[i])
          << "length " << length << " field " << i << " = " << fields[i];
    }
    // Something is always equipped, and every cut short of the final line end is noticed.
    EXPECT_TRUE(data->armours[0].equipped || data->armours[1].equipped || data->armours[2].equipped);
    EXPECT_TRUE(data->guns[0].equipped || data->guns[1].equipped || data->guns[2].equipped);
    if (length < full.size() - 1) {
      EXPECT_FALSE(intact) << "length " << length;
    }
    // Loading never writes: the cut file stays for the player to see.
    EXPECT_EQ(SaveBytes(), prefix);
  }
}

TEST_F(SaveFileTest, ImpossibleValuesAreRejectedAndTheRestKept) {
  std::string file = kProgressFile;
  file.replace(file.find("12345 6789 17"), 13, "-5 6789 1x7");
  file.replace(file.find("\n1 1 0 **\n2 1 1 **"), 18, "\n1 2 0 **\n2 1 1 **");    // armour 1 purchased 2
  file.replace(file.find("\n1 1 1 **\n2 0 0"), 9, "\n9 1 1 **");                   // gun 1 itemId 9
  file.replace(file.find("_____Special_Set____\n0 1 1"), 26, "_____Special_Set____\n0 1 99999999999");
  bool intact = true;
  auto data = LoadBytes(file, &intact);
  EXPECT_FALSE(intact);
  EXPECT_TRUE(data->HasDamagedSave());
  EXPECT_NE(data->GetLastError().find("scoreData.txt"), std::string::npos);
  EXPECT_EQ(data->player.totalGears, 0);      // rejected: kept the default
  EXPECT_EQ(data->player.bestDistance, 6789);  // kept from the file
  EXPECT_EQ(data->player.bestScore, 0);
  EXPECT_EQ(data->armours[1].purchased, 0);
  EXPECT_EQ(data->armours[1].itemId, 1);
  EXPECT_EQ(data->guns[1].itemId, 1);
  EXPECT_EQ(data->guns[1].equipped, 1);
  EXPECT_EQ(data->specials[0].purchased, 1);
  EXPECT_EQ(data->specials[0].equipped, 0);
  EXPECT_EQ(SaveBytes(), file);  // not rewritten by the load
}

TEST_F(SaveFileTest, LostSectionEndDoesNotShiftNumbersIntoTheWrongSection) {
  std::string file = kProgressFile;
  file.erase(file.find("**End\n\n_____Armour"), 6);  // the player's record loses its end
  file += "_____Special_Set____\n0 1 1 **\n1 1 0 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n-1 1 1 **\n0 0 0 **\n**End\n";
  file += "stray 12 ** **End\n";
  bool intact = true;
  auto data = LoadBytes(file, &intact);
  EXPECT_FALSE(intact);
  EXPECT_EQ(data->player.totalGears, 12345);
  EXPECT_EQ(data->player.bestDistance, 6789);
  EXPECT_EQ(data->armours[2].equipped, 1);
  // A sixth and seventh record in a set are ignored; the five before them count.
  EXPECT_EQ(data->specials[0].equipped, 1);
  EXPECT_EQ(data->specials[4].equipped, 0);
  EXPECT_EQ(data->specials[4].itemId, -1);
}

TEST_F(SaveFileTest, DamagedSaveIsKeptBeforeTheNextSaveReplacesIt) {
  const std::string damaged = std::string(kProgressFile).substr(0, 40) + "\x01garbage";
  auto data = LoadBytes(damaged);
  EXPECT_TRUE(data->HasDamagedSave());
  EXPECT_FALSE(fs::exists("scoreData.txt.bad"));
  data->RecordRun(1, 1, 1);
  EXPECT_EQ(TestSupport::ReadWholeFile("scoreData.txt.bad"), damaged);
  EXPECT_FALSE(data->HasDamagedSave());
  auto reloaded = Fresh();
  EXPECT_TRUE(reloaded->Load()) << reloaded->GetLastError();
  EXPECT_EQ(SavedFields(*reloaded), SavedFields(*data));
  // Later saves leave the kept copy alone.
  data->RecordRun(1, 1, 1);
  EXPECT_EQ(TestSupport::ReadWholeFile("scoreData.txt.bad"), damaged);
}

TEST_F(SaveFileTest, UnreadableOrOversizedSaveIsNeverReplacedUnseen) {
  // A directory in the save's place: nothing can be read, and nothing may be destroyed.
  fs::create_directory("scoreData.txt");
  TestSupport::WriteWholeFile("scoreData.txt/inside", "progress");
  auto data = Fresh();
  EXPECT_FALSE(data->Load());
  EXPECT_TRUE(data->HasDamagedSave());
  EXPECT_FALSE(data->Save());
  EXPECT_NE(data->GetLastError().find("not replaced"), std::string::npos);
  EXPECT_EQ(TestSupport::ReadWholeFile("scoreData.txt/inside"), "progress");
  fs::remove_all("scoreData.txt");

  // A file far too large to be a save gives nothing, and is kept aside before the next save.
  const std::string huge(DataManager::kMaxFileSize + 1, '7');
  WriteSave(huge);
  data = Fresh();
  EXPECT_FALSE(data->Load());
  EXPECT_EQ(SavedFields(*data), SavedFields(*Fresh()));
  EXPECT_TRUE(data->Save());
  EXPECT_EQ(TestSupport::ReadWholeFile("scoreData.txt.bad"), huge);
  EXPECT_EQ(SaveBytes(), DefaultFile());

  // A save that has grown a tail past that size still holds the player's progress at its
  // beginning: that is read, and the whole file is kept aside before the next save.
  const std::string grown = kProgressFile + std::string(DataManager::kMaxFileSize, ' ') + "tail";
  WriteSave(grown);
  data = Fresh();
  EXPECT_FALSE(data->Load());
  EXPECT_TRUE(data->HasDamagedSave());
  EXPECT_NE(data->GetLastError().find("larger than"), std::string::npos) << data->GetLastError();
  EXPECT_EQ(data->player.totalGears, 12345);
  EXPECT_EQ(SavedFields(*data), SavedFields(*LoadBytes(kProgressFile)));
  WriteSave(grown);
  EXPECT_TRUE(data->Save());
  EXPECT_EQ(TestSupport::ReadWholeFile("scoreData.txt.bad"), grown);
  EXPECT_EQ(SaveBytes(), kProgressFile);
}

TEST_F(SaveFileTest, SaveInterruptedBeforeTheRenameLeavesTheOldFile) {
  WriteSave(kProgressFile);
  auto data = Fresh();
  ASSERT_TRUE(data->Load());
  std::string temporary;
  PAL::SetBeforeReplaceHook([&temporary](const std::string& path) {
    temporary = path;
    return false;
  });
  data->RecordRun(1000, 99999, 99);
  EXPECT_EQ(SaveBytes(), kProgressFile);
  EXPECT_FALSE(data->Save());
  // The abandoned temporary file is whole, beside the save, and ignored by the next load.
  ASSERT_FALSE(temporary.empty());
  EXPECT_EQ(fs::path(temporary).parent_path(), fs::current_path());
  EXPECT_EQ(TestSupport::ReadWholeFile(temporary).substr(0, 30), "-PlayerData-\n13345 99999 99 **");
  PAL::SetBeforeReplaceHook(nullptr);
  auto reloaded = Fresh();
  EXPECT_TRUE(reloaded->Load());
  EXPECT_EQ(reloaded->player.totalGears, 12345);

  // Once the save goes through, only the new file is there.
  EXPECT_TRUE(data->Save());
  reloaded = Fresh();
  EXPECT_TRUE(reloaded->Load());
  EXPECT_EQ(reloaded->player.totalGears, 13345);
}

TEST_F(SaveFileTest, TheSaveIsWrittenFromTheDefaultsInTheUserDataFolderWhichIsCreatedWhenMissing) {
  // A data home that does not exist yet, folders and all.
  const std::string nested = m_directory + "/deep/er";
  m_dataHome.Set(nested);
  EXPECT_EQ(DataManager::GetSavePath(), nested + "/velkor/scoreData.txt");
  // A missing save is written from the defaults.
  auto data = Fresh();
  testing::internal::CaptureStdout();
  EXPECT_TRUE(data->Load()) << data->GetLastError();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Write file from no read\n");
  EXPECT_FALSE(data->HasDamagedSave());
  EXPECT_EQ(TestSupport::ReadWholeFile(nested + "/velkor/scoreData.txt"), DefaultFile());
  EXPECT_EQ((fs::status(nested + "/velkor").permissions() & fs::perms::others_all), fs::perms::none);

  // Without XDG_DATA_HOME (or with a relative one, which does not count) the home's share folder.
  m_home.Set(m_directory + "/home");
  m_dataHome.Unset();
  EXPECT_EQ(DataManager::GetSavePath(), m_directory + "/home/.local/share/velkor/scoreData.txt");
  m_dataHome.Set("relative/place");
  EXPECT_EQ(DataManager::GetSavePath(), m_directory + "/home/.local/share/velkor/scoreData.txt");
  m_dataHome.Set("");
  data->RecordRun(3, 4, 5);
  auto reloaded = Fresh();
  EXPECT_TRUE(reloaded->Load());
  EXPECT_EQ(reloaded->player.totalGears, 3);
  EXPECT_FALSE(fs::exists(m_previous / "scoreData.txt"));

  // A file where the folder should be: the save fails with the cause and nothing is destroyed.
  m_dataHome.Set(m_directory + "/blocked");
  ASSERT_TRUE(TestSupport::WriteWholeFile(m_directory + "/blocked", "not a folder"));
  EXPECT_FALSE(data->Save());
  EXPECT_NE(data->GetLastError().find("not a folder"), std::string::npos) << data->GetLastError();
  EXPECT_EQ(TestSupport::ReadWholeFile(m_directory + "/blocked"), "not a folder");
}

TEST_F(SaveFileTest, CraftedEquipmentLoadsConsistent) {
  struct Case {
    const char* what;
    const char* from;
    const char* to;
  };
  // Each case changes the progress save (armour 2, gun 1, special 0 and AI 2 equipped).
  const Case cases[] = {
      {"an equipped empty armour slot", "_____Armour_Set_____\n0 1 0 **\n1 1 0 **\n2 1 1 **\n-1 0 0",
       "_____Armour_Set_____\n0 1 0 **\n1 1 0 **\n2 1 0 **\n-1 1 1"},
      {"an equipped unowned gun", "______Gun_Set______\n0 1 0 **\n1 1 1 **\n2 0 0",
       "______Gun_Set______\n0 1 0 **\n1 1 0 **\n2 0 1"},
      {"three equipped guns", "______Gun_Set______\n0 1 0 **\n1 1 1 **\n2 0 0",
       "______Gun_Set______\n0 1 1 **\n1 1 1 **\n2 1 1"},
      {"two equipped specials and an unowned AI friend", "_____Special_Set____\n0 1 1 **\n1 1 0",
       "_____Special_Set____\n0 1 1 **\n1 1 1"},
      {"an equipped empty first gun", "______Gun_Set______\n0 1 0 **\n1 1 1",
       "______Gun_Set______\n-1 1 1 **\n1 1 0"},
  };
  for (const Case& c : cases) {
    std::string file = kProgressFile;
    Replace(file, c.from, c.to);
    if (std::string(c.what).find("AI") != std::string::npos) {
      Replace(file, "_______AI_Set_______\n0 1 0 **\n1 0 0", "_______AI_Set_______\n0 1 0 **\n1 0 1");
    }
    bool intact = true;
    auto data = LoadBytes(file, &intact);
    EXPECT_FALSE(intact) << c.what;
    EXPECT_TRUE(data->HasDamagedSave()) << c.what;
    // Exactly one armour and one gun, at most one special and AI friend, each owned and real.
    const auto check = [&c](const auto& items, bool exactlyOne) {
      int equipped = 0;
      for (const auto& item : items) {
        EXPECT_TRUE(item.equipped == 0 || item.equipped == 1) << c.what;
        if (item.equipped == 1) {
          ++equipped;
          EXPECT_EQ(item.purchased, 1) << c.what;
          EXPECT_GE(item.itemId, 0) << c.what;
        }
      }
      if (exactlyOne) EXPECT_EQ(equipped, 1) << c.what;
      else EXPECT_LE(equipped, 1) << c.what;
    };
    check(data->armours, true);
    check(data->guns, true);
    check(data->specials, false);
    check(data->aiFriends, false);
    EXPECT_EQ(SaveBytes(), file) << "loading never writes";
  }
  // What falls back where: the first of the set for armours and guns, nothing for the others.
  std::string file = kProgressFile;
  Replace(file, "______Gun_Set______\n0 1 0 **\n1 1 1 **\n2 0 0", "______Gun_Set______\n0 1 0 **\n1 1 1 **\n2 1 1");
  Replace(file, "_____Special_Set____\n0 1 1 **\n1 1 0", "_____Special_Set____\n0 1 1 **\n1 1 1");
  auto data = LoadBytes(file);
  EXPECT_EQ(data->guns[0].equipped, 1);
  EXPECT_EQ(data->guns[1].equipped + data->guns[2].equipped, 0);
  EXPECT_EQ(data->guns[2].purchased, 1) << "only what is equipped changes";
  EXPECT_EQ(data->specials[0].equipped + data->specials[1].equipped, 0);
  EXPECT_EQ(data->armours[2].equipped, 1) << "a consistent set is left alone";
  EXPECT_EQ(data->aiFriends[2].equipped, 1);
  // The crafted file is kept aside at the next save, which holds the consistent state.
  ASSERT_TRUE(data->Save());
  EXPECT_EQ(TestSupport::ReadWholeFile("scoreData.txt.bad"), file);
  auto reloaded = Fresh();
  EXPECT_TRUE(reloaded->Load()) << reloaded->GetLastError();
  EXPECT_EQ(SavedFields(*reloaded), SavedFields(*data));
}

TEST_F(SaveFileTest, PurchaseAndEquipEachReplaceTheFileOnce) {
  WriteSave(DefaultFile());
  auto data = Fresh();
  ASSERT_TRUE(data->Load());
  // Gears for the second armour and the second gun exactly, and the distance the more demanding
  // of the two asks for; the third armour asks for more.
  const ItemDataHolder armour = data->armours[1];
  const ItemDataHolder gun = data->guns[1];
  data->player.totalGears = armour.cost + gun.cost;
  data->player.bestDistance = std::max(armour.distanceRequired, gun.distanceRequired);
  ASSERT_GT(data->armours[2].distanceRequired, data->player.bestDistance);
  ASSERT_GT(data->guns[2].cost, 0);
  CountReplacements();

  // Bought, owned, not equipped, one write.
  EXPECT_EQ(data->PurchaseItem(DataManager::kArmourSet, 1), DataManager::PurchaseResult::Purchased);
  EXPECT_EQ(m_replacements, 1);
  EXPECT_EQ(data->player.totalGears, gun.cost);
  EXPECT_EQ(data->armours[1].purchased, 1);
  EXPECT_EQ(data->armours[1].equipped, 0);
  EXPECT_EQ(data->armours[0].equipped, 1);
  // The gun costs exactly what is left: 0 gears after.
  EXPECT_EQ(data->PurchaseItem(DataManager::kGunSet, 1), DataManager::PurchaseResult::Purchased);
  EXPECT_EQ(data->player.totalGears, 0);
  EXPECT_EQ(m_replacements, 2);

  // Refusals change nothing and write nothing.
  const std::vector<int32_t> before = SavedFields(*data);
  data->player.totalGears = 100000;
  EXPECT_EQ(data->PurchaseItem(DataManager::kArmourSet, 2), DataManager::PurchaseResult::NotEnoughResources)
      << "a best distance beyond the player's";
  data->player.totalGears = 0;
  EXPECT_EQ(data->PurchaseItem(DataManager::kGunSet, 2), DataManager::PurchaseResult::NotEnoughResources);
  EXPECT_EQ(data->PurchaseItem(DataManager::kArmourSet, 1), DataManager::PurchaseResult::AlreadyOwned);
  EXPECT_EQ(data->PurchaseItem(DataManager::kArmourSet, 3), DataManager::PurchaseResult::NoSuchItem);
  EXPECT_EQ(data->PurchaseItem("Armour", 1), DataManager::PurchaseResult::NoSuchItem);
  EXPECT_EQ(data->PurchaseItem(DataManager::kGunSet, 5), DataManager::PurchaseResult::NoSuchItem);
  EXPECT_FALSE(data->EquipItem(DataManager::kArmourSet, 2)) << "not owned";
  EXPECT_FALSE(data->EquipItem(DataManager::kGunSet, 4)) << "an empty slot";
  data->guns[4].purchased = 1;
  EXPECT_FALSE(data->EquipItem(DataManager::kGunSet, 4)) << "an owned empty slot is still empty";
  data->guns[4].purchased = 0;
  EXPECT_FALSE(data->EquipItem(DataManager::kSpecialSet, -1));
  EXPECT_EQ(SavedFields(*data), before);
  EXPECT_EQ(m_replacements, 2);

  // Equipping puts the rest of the set away, in one write.
  EXPECT_TRUE(data->EquipItem(DataManager::kArmourSet, 1));
  EXPECT_EQ(m_replacements, 3);
  EXPECT_EQ(data->armours[1].equipped, 1);
  EXPECT_EQ(data->armours[0].equipped, 0);
  EXPECT_TRUE(data->EquipItem(DataManager::kGunSet, 1));
  EXPECT_EQ(m_replacements, 4);
  EXPECT_EQ(data->guns[0].equipped, 0);

  // A reload shows the same state, consistent as it stands.
  auto reloaded = Fresh();
  EXPECT_TRUE(reloaded->Load()) << reloaded->GetLastError();
  EXPECT_EQ(SavedFields(*reloaded), SavedFields(*data));

  // A crash before the rename of a purchase leaves the file as it was: gears and item together.
  reloaded->player.totalGears = 1000;
  ASSERT_TRUE(reloaded->Save());
  const std::string saved = SaveBytes();
  PAL::SetBeforeReplaceHook([](const std::string&) { return false; });
  EXPECT_EQ(reloaded->PurchaseItem(DataManager::kSpecialSet, 1), DataManager::PurchaseResult::Purchased);
  EXPECT_EQ(SaveBytes(), saved);
}

}  // namespace
