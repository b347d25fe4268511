// The garage shop on the real game: its content, the set arrows and the sliding labels, the
// dialogs that buy and equip, the save file they write, and a scripted visit from the menu with
// screenshots. Driven on a fake clock with a stand-in mouse (skipped without a display).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <list>
#include <string>
#include <vector>

#include "content/Velkor_MyLevelFactory.h"
#include "framework/Quillon_JukeBox.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_DataManager.h"
#include "game/Velkor_G_MenuLabel.h"
#include "game/Velkor_GarageLevelClass.h"
#include "game/Velkor_MainMenuClass.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_ScreenSupport.h"
#include "platform/PAL_FileSystem.h"
#include "platform/PAL_Services.h"
#include "platform/PAL_Window.h"
#include "tests/input/FakeInputBackend.h"
#include "tests/support/RealGame.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

namespace {

using Core::SmartPointer;

// A save with plenty to spend and every best distance reached; only the first armour and gun owned.
std::string SaveWith(int32_t gears, int32_t bestDistance) {
  return "-PlayerData-\n" + std::to_string(gears) + " " + std::to_string(bestDistance) +
         " 0 **\n**End\n\n"
         "_____Armour_Set_____\n0 1 1 **\n1 0 0 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n**End\n\n"
         "______Gun_Set______\n0 1 1 **\n1 0 0 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n**End\n\n"
         "_____Special_Set____\n0 0 0 **\n1 0 0 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n**End\n\n"
         "_______AI_Set_______\n0 0 0 **\n1 0 0 **\n2 0 0 **\n-1 0 0 **\n-1 0 0 **\n**End\n";
}

// Where the labels stand once they have slid in, and the dialog's buttons.
constexpr float kLabelX = -320.0f;
const float kLabelY[] = {100.0f, -70.0f, -240.0f, -410.0f, -580.0f};

class GarageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    ASSERT_NO_FATAL_FAILURE(m_session.Open("velkor_garage"));
    std::filesystem::create_directories(m_session.Folder() + "/velkor");
    ASSERT_TRUE(TestSupport::WriteWholeFile(SavePath(), SaveWith(5000, 10000)));
    TestSupport::CoverGameWindow(m_input);
    m_factory = new MyLevelFactory();
    m_game = TestSupport::StartMyGame(m_session, m_factory, 0);
    PAL::SetBeforeReplaceHook([this](const std::string&) {
      ++m_replacements;
      return true;
    });
    Frame(16.0);
  }
  void TearDown() override {
    PAL::SetBeforeReplaceHook(nullptr);
    m_session.Close();
  }

  std::string SavePath() const { return m_session.Folder() + "/velkor/scoreData.txt"; }

  // One frame; with a name, the picture it drew is kept in the build folder and returned.
  std::vector<uint8_t> Frame(double milliseconds, const std::string& shot = std::string()) {
    TestSupport::Picture picture;
    m_session.Step(milliseconds, [&] {
      if (!shot.empty()) {
        picture = TestSupport::SaveScreen(m_game->GetRenderer(), TestSupport::ArtefactFolder("garage-screens"), shot);
      }
    });
    return picture.rgb;
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) Frame(16.0);
  }
  void SwitchTo(const std::string& name) {
    ASSERT_TRUE(m_game->GoToLevel(name));
    for (int i = 0; i < 4 && m_game->IsLevelSwitchRequested(); ++i) Frame(16.0);
    ASSERT_FALSE(m_game->IsLevelSwitchRequested());
  }
  // Opens the garage and lets its labels slide in on the guns.
  GarageLevelClass* OpenGarage() {
    SwitchTo("GarLevel");
    auto* garage = dynamic_cast<GarageLevelClass*>(m_game->GetCurrentLevel());
    EXPECT_NE(garage, nullptr);
    Frames(120);
    return garage;
  }
  // Puts the pointer's tip on a world point (the camera stands at the origin) and lets the
  // collisions see it.
  void PointAt(float x, float y) {
    m_input.cursorX = static_cast<int32_t>(x) + 640;
    m_input.cursorY = 719 - (static_cast<int32_t>(y) + 360);
    Frames(3);
  }
  void Click() {
    m_input.Hold(PAL::VirtualKey::LeftButton, true);
    Frame(16.0);
    m_input.Hold(PAL::VirtualKey::LeftButton, false);
    Frame(16.0);
  }
  void ClickAt(float x, float y) {
    PointAt(x, y);
    Click();
  }
  void ClickLabel(int index) { ClickAt(kLabelX + 20.0f, kLabelY[index] + 10.0f); }
  void ClickYes() { ClickAt(-100.0f, -35.0f); }
  void ClickNo() { ClickAt(110.0f, -35.0f); }
  void ClickOk() { ClickAt(10.0f, -35.0f); }
  // The arrows: the right one leads back towards the armours, the left one on to the AI friend.
  void ClickRight() {
    ClickAt(-162.0f, 266.0f);
    Frames(120);
  }
  void ClickLeft() {
    ClickAt(-537.0f, 266.0f);
    Frames(120);
  }

  template <typename T>
  T* Find(const std::string& name) {
    return FindObjectByName<T>(name);
  }
  std::string Caption(const std::string& name) {
    auto* text = Find<Quillon::Text>(name);
    return text != nullptr ? text->GetText() : std::string("<missing " + name + ">");
  }
  bool Visible(const std::string& name) {
    auto* object = Find<Quillon::GameObject>(name);
    return object != nullptr && object->IsVisible();
  }
  std::vector<G_MenuLabel*> Labels() {
    std::list<Quillon::GameObject*> found;
    Quillon::GameObject::GetGameObjectsByName("ItemLabelClone", found);
    std::vector<G_MenuLabel*> labels;
    for (auto* object : found) labels.push_back(dynamic_cast<G_MenuLabel*>(object));
    return labels;
  }
  // The label frames in order: 0 not owned, 1 owned, 2 equipped.
  std::vector<uint32_t> LabelFrames() {
    std::vector<uint32_t> frames;
    for (G_MenuLabel* label : Labels()) {
      if (label != nullptr && label->IsShown()) frames.push_back(label->GetCurrentFrameIndex());
    }
    return frames;
  }
  DataManager& Data() { return m_game->GetDataManager(); }

  TestSupport::GameSession m_session;
  TestInput::FakeInputBackend m_input;
  MyLevelFactory* m_factory = nullptr;
  MyGame* m_game = nullptr;
  int m_replacements = 0;
};

// What the shop does with its rows as it starts; the rows themselves are compared with the built
// level in the screens tests.
TEST_F(GarageTest, TheShopStartsWithItsLabelsMadeNothingExtraShownAndTheDialogClosed) {
  SwitchTo("GarLevel");
  Quillon::Level* level = m_game->GetCurrentLevel();
  ASSERT_NE(dynamic_cast<GarageLevelClass*>(level), nullptr);
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 6u);
  // Every label (the template included) has made its own picture and texts by now.
  for (const char* name : {"ItemImage", "ItemText", "ItemText2"}) {
    std::list<Quillon::GameObject*> found;
    level->GetLayer(1)->GetGameObjectsByName(name, found);
    EXPECT_EQ(found.size(), 7u) << name;
  }
  EXPECT_FALSE(Find<Quillon::Sprite>("ItemImage")->IsPlaying());
  EXPECT_NE(Find<G_MenuLabel>("ItemLabel"), nullptr);
  EXPECT_FALSE(Visible("DemoSpkAtk"));
  EXPECT_FALSE(Visible("DemoAiFriend"));
  // The gun rides on the bobbing car; the dialog is closed as the shop starts.
  auto* armour = Find<Quillon::Sprite>("DemoArmour");
  auto* gun = Find<Quillon::Sprite>("DemoGun");
  ASSERT_TRUE(armour && gun);
  const float gunY = gun->GetPositionY();
  const float armourY = armour->GetPositionY();
  Frames(10);
  EXPECT_NE(armour->GetPositionY(), armourY);
  EXPECT_FLOAT_EQ(gun->GetPositionY() - gunY, armour->GetPositionY() - armourY);
  for (const char* part : {"DialogBox", "DialogText", "YesBtn", "yesTxt", "NoBtn", "noTxt", "OkBtn", "okTxt"}) {
    EXPECT_FALSE(Visible(part)) << part;
  }
  // Rising, the car turns back past its highest point, then past its lowest.
  armour->SetPositionY(-101.0f);
  float lowest = 1e9f, highest = -1e9f;
  for (int i = 0; i < 140; ++i) {
    Frame(16.0);
    lowest = std::min(lowest, armour->GetPositionY());
    highest = std::max(highest, armour->GetPositionY());
  }
  EXPECT_NEAR(highest, -99.5f, 0.6f);
  EXPECT_NEAR(lowest, -165.5f, 0.6f);
  EXPECT_GT(armour->GetPositionY(), lowest) << "on its way up again";
}

TEST_F(GarageTest, LabelsSlideInOnTheGunsAndTheArrowsChangeTheSet) {
  SwitchTo("GarLevel");
  auto* garage = dynamic_cast<GarageLevelClass*>(m_game->GetCurrentLevel());
  ASSERT_NE(garage, nullptr);
  // The garage music plays at the volume the level asks for.
  ASSERT_NE(garage->GetMusic(), nullptr);
  EXPECT_FLOAT_EQ(garage->GetMusic()->GetTargetVolume(), 0.5f);
  EXPECT_EQ(Caption("pDataTxt"), "Gear: 5000\nDistance Travelled: 10000");
  std::vector<G_MenuLabel*> labels = Labels();
  ASSERT_EQ(labels.size(), 5u);
  for (G_MenuLabel* label : labels) {
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->IsVisible());
  }
  EXPECT_EQ(Caption("ItemTypeText"), "Armours");
  // Until 0.2 s nothing moves; then each label starts 0.1 s after the one above it.
  Frames(8);
  EXPECT_EQ(labels[0]->GetPositionX(), -350.0f);
  EXPECT_EQ(Caption("ItemTypeText"), "Armours");
  Frames(10);
  EXPECT_EQ(Caption("ItemTypeText"), "Guns");
  EXPECT_EQ(garage->GetMenuManager().GetSetIndex(), 1);
  EXPECT_LT(labels[0]->GetPositionX(), -350.0f);
  EXPECT_EQ(labels[4]->GetPositionX(), -350.0f) << "the last label waits 0.4 s";
  // While they slide the arrows are refused.
  ClickAt(-162.0f, 266.0f);
  EXPECT_EQ(garage->GetMenuManager().GetSetIndex(), 1);
  Frames(120);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(labels[i]->GetPosition(), Math::Vector2D(kLabelX, kLabelY[i])) << i;
    EXPECT_EQ(labels[i]->IsVisible(), i < 3) << "the guns have three items";
  }
  EXPECT_EQ(labels[1]->GetNameText()->GetText(), "Novice Gun");
  EXPECT_EQ(labels[1]->GetDescriptionText()->GetText(), "Delay: 20 Multi: 5\nCost: 150Gears\nDistance Required: 500");
  EXPECT_EQ(labels[0]->GetImage()->GetCurrentAnimationName(), "______Gun_Set______");
  EXPECT_EQ(labels[2]->GetImage()->GetCurrentFrameIndex(), 2u);
  EXPECT_EQ((std::vector<uint32_t>{2, 0, 0}), LabelFrames());

  // Right leads back to the armours, where the right arrow hides; left runs on to the AI friend.
  ClickRight();
  EXPECT_EQ(Caption("ItemTypeText"), "Armours");
  EXPECT_FALSE(Visible("RightItemBtn"));
  EXPECT_TRUE(Visible("LeftItemBtn"));
  EXPECT_EQ(labels[2]->GetNameText()->GetText(), "Elite Armour");
  ClickRight();
  EXPECT_EQ(Caption("ItemTypeText"), "Armours") << "no set before the first";
  ClickLeft();
  ClickLeft();
  EXPECT_EQ(Caption("ItemTypeText"), "Special");
  EXPECT_EQ((std::vector<uint32_t>{0, 0}), LabelFrames()) << "two specials, neither owned";
  ClickLeft();
  EXPECT_EQ(Caption("ItemTypeText"), "AI Friend");
  EXPECT_FALSE(Visible("LeftItemBtn"));
  EXPECT_EQ(labels[0]->GetNameText()->GetText(), "AI Friend 1");
  EXPECT_EQ((std::vector<uint32_t>{0}), LabelFrames());
  // The set has one item: the labels below it stand hidden in the window and cannot be clicked.
  EXPECT_FALSE(labels[1]->IsVisible());
  EXPECT_EQ(labels[1]->GetPosition(), Math::Vector2D(kLabelX, kLabelY[1]));
  ClickLabel(1);
  ClickLabel(2);
  EXPECT_FALSE(garage->GetMenuManager().IsDialogOpen());
  ClickLabel(0);
  EXPECT_EQ(Caption("DialogText"), "Purchase AI Friend 1?");
  EXPECT_EQ(m_replacements, 0) << "looking writes nothing";
}

TEST_F(GarageTest, TheDialogsBuyAndEquipWithOneWriteEach) {
  GarageLevelClass* garage = OpenGarage();
  ASSERT_NE(garage, nullptr);
  G_MenuManager& menu = garage->GetMenuManager();
  // An unowned gun: "Purchase ...?" with YES and NO; NO changes nothing.
  ClickLabel(1);
  ASSERT_TRUE(menu.IsDialogOpen());
  EXPECT_EQ(Caption("DialogText"), "Purchase Novice Gun?");
  EXPECT_TRUE(Visible("YesBtn") && Visible("NoBtn") && Visible("DialogBox"));
  EXPECT_FALSE(Visible("OkBtn"));
  // Clicks beside the dialog's buttons do nothing, labels included.
  ClickLabel(2);
  EXPECT_EQ(Caption("DialogText"), "Purchase Novice Gun?");
  ClickNo();
  EXPECT_FALSE(menu.IsDialogOpen());
  EXPECT_FALSE(Visible("DialogBox"));
  EXPECT_EQ(Data().player.totalGears, 5000);

  // YES buys: the price leaves the gears, the gun is owned and not equipped, one write.
  ClickLabel(1);
  ClickYes();
  EXPECT_FALSE(menu.IsDialogOpen());
  EXPECT_EQ(m_replacements, 1);
  EXPECT_EQ(Data().player.totalGears, 4850);
  EXPECT_EQ(Data().guns[1].purchased, 1);
  EXPECT_EQ(Data().guns[1].equipped, 0);
  EXPECT_EQ((std::vector<uint32_t>{2, 1, 0}), LabelFrames());
  EXPECT_EQ(Caption("pDataTxt"), "Gear: 4850\nDistance Travelled: 10000");
  EXPECT_EQ(Labels()[1]->GetDescriptionText()->GetText(), "Delay: 20 Multi: 5\nPurchased");

  // An owned gun: "Select ...?"; YES equips it and puts the others away, one write.
  ClickLabel(1);
  EXPECT_EQ(Caption("DialogText"), "Select Novice Gun?");
  ClickYes();
  EXPECT_EQ(m_replacements, 2);
  EXPECT_EQ((std::vector<uint32_t>{1, 2, 0}), LabelFrames()) << "Novice Gun EQUIPPED";
  EXPECT_EQ(Data().guns[1].equipped, 1);
  EXPECT_EQ(Data().guns[0].equipped, 0);
  EXPECT_EQ(Find<Quillon::Sprite>("DemoGun")->GetCurrentFrameIndex(), 1u);
}

TEST_F(GarageTest, TooFewGearsAnswerWithOkOnlyAndChangeNothing) {
  ASSERT_TRUE(TestSupport::WriteWholeFile(SavePath(), SaveWith(149, 10000)));
  ASSERT_TRUE(Data().Load());
  GarageLevelClass* garage = OpenGarage();
  ASSERT_NE(garage, nullptr);
  ClickLabel(1);
  ClickYes();
  EXPECT_EQ(Caption("DialogText"), "Not enough resources :(");
  EXPECT_TRUE(Visible("OkBtn") && Visible("okTxt") && Visible("DialogBox"));
  EXPECT_FALSE(Visible("YesBtn") || Visible("yesTxt") || Visible("NoBtn") || Visible("noTxt"));
  // The hidden YES is no button.
  ClickYes();
  EXPECT_TRUE(garage->GetMenuManager().IsDialogOpen());
  ClickOk();
  EXPECT_FALSE(garage->GetMenuManager().IsDialogOpen());
  EXPECT_EQ(Data().player.totalGears, 149);
  EXPECT_EQ(Data().guns[1].purchased, 0);
  EXPECT_EQ(m_replacements, 0);
  // Enough gears but too short a best distance is refused the same way.
  Data().player.totalGears = 10000;
  Data().player.bestDistance = 799;
  ClickLabel(2);
  ClickYes();
  EXPECT_EQ(Caption("DialogText"), "Not enough resources :(");
  EXPECT_EQ(Data().guns[2].purchased, 0);
}

TEST_F(GarageTest, ASetChangeClosesTheDialogSoYesNeverActsOnAnotherItem) {
  GarageLevelClass* garage = OpenGarage();
  ASSERT_NE(garage, nullptr);
  G_MenuManager& menu = garage->GetMenuManager();
  // "Select Toy Gun?", then on to the specials: the dialog is gone, and YES where it stood does
  // nothing (it would have equipped the unowned Rocket).
  ClickLabel(0);
  EXPECT_EQ(Caption("DialogText"), "Select Toy Gun?");
  ClickLeft();
  EXPECT_EQ(Caption("ItemTypeText"), "Special");
  EXPECT_FALSE(menu.IsDialogOpen());
  EXPECT_FALSE(Visible("DialogBox"));
  ClickYes();
  EXPECT_FALSE(menu.IsDialogOpen());
  EXPECT_EQ(Data().specials[0].equipped, 0);
  // "Purchase Laser?" (500), then back to the guns: YES does not buy Novice Gun (150) instead.
  ClickLabel(1);
  EXPECT_EQ(Caption("DialogText"), "Purchase Laser?");
  ClickRight();
  EXPECT_FALSE(menu.IsDialogOpen());
  ClickYes();
  EXPECT_EQ(Data().player.totalGears, 5000);
  EXPECT_EQ(Data().guns[1].purchased, 0);
  EXPECT_EQ(Data().specials[1].purchased, 0);
  EXPECT_EQ(m_replacements, 0);
}

TEST_F(GarageTest, AScriptedVisitBuysAndEquipsInEverySetAndLeavesForPlay) {
  // Enough gears for one item of every set, and a spare 50 that buys no other special; far enough
  // for all of them.
  const ItemDataHolder* const bought[] = {&Data().guns[1], &Data().armours[1], &Data().specials[1],
                                          &Data().aiFriends[0]};
  const int32_t spare = 50;
  int32_t gears = spare;
  for (const ItemDataHolder* item : bought) {
    gears += item->cost;
    ASSERT_LE(item->distanceRequired, 10000) << item->name;
  }
  ASSERT_LT(spare, Data().specials[0].cost);
  ASSERT_TRUE(TestSupport::WriteWholeFile(SavePath(), SaveWith(gears, 10000)));
  ASSERT_TRUE(Data().Load());
  SwitchTo("MainOptionLevel");
  PointAt(-133.0f, -27.0f);
  Click();
  Frame(16.0);
  ASSERT_NE(dynamic_cast<GarageLevelClass*>(m_game->GetCurrentLevel()), nullptr);
  Frames(120);
  struct Visit {
    const char* set;
    const char* title;
    int item;
  };
  // From the guns (the first set shown) right to the armours, then left through the rest.
  const Visit visits[] = {{"guns", "Guns", 1}, {"armours", "Armours", 1}, {"specials", "Special", 1}, {"ai", "AI Friend", 0}};
  std::vector<std::vector<uint8_t>> pictures;
  for (int v = 0; v < 4; ++v) {
    const Visit& visit = visits[v];
    if (v == 1) ClickRight();
    if (v == 2) {
      ClickLeft();
      ClickLeft();
    }
    if (v == 3) ClickLeft();
    ASSERT_EQ(Caption("ItemTypeText"), visit.title);
    pictures.push_back(Frame(16.0, std::string("set-") + visit.set));
    ClickLabel(visit.item);
    const std::string& name = bought[v]->name;
    ASSERT_EQ(Caption("DialogText"), "Purchase " + name + "?");
    Frame(16.0, std::string("purchase-") + visit.set);
    ClickYes();
    gears -= bought[v]->cost;
    EXPECT_EQ(Data().player.totalGears, gears) << visit.set;
    ClickLabel(visit.item);
    ASSERT_EQ(Caption("DialogText"), "Select " + name + "?");
    Frame(16.0, std::string("select-") + visit.set);
    ClickYes();
    Frame(16.0, std::string("equipped-") + visit.set);
  }
  EXPECT_EQ(m_replacements, 8) << "one write per purchase and per equip";
  // The spare gears do not buy the first special: the answer has only OK.
  ClickRight();
  ClickLabel(0);
  ClickYes();
  ASSERT_EQ(Caption("DialogText"), "Not enough resources :(");
  Frame(16.0, "not-enough-specials");
  ClickOk();
  EXPECT_EQ(m_replacements, 8);
  // Each set looked different on screen.
  for (size_t a = 0; a < pictures.size(); ++a) {
    for (size_t b = a + 1; b < pictures.size(); ++b) EXPECT_NE(pictures[a], pictures[b]) << a << " " << b;
  }
  // The previews show what is equipped.
  EXPECT_EQ(Find<Quillon::Sprite>("DemoArmour")->GetCurrentFrameIndex(), 1u);
  EXPECT_EQ(Find<Quillon::Sprite>("DemoGun")->GetCurrentFrameIndex(), 1u);
  EXPECT_TRUE(Visible("DemoSpkAtk"));
  EXPECT_EQ(Find<Quillon::Sprite>("DemoSpkAtk")->GetCurrentFrameIndex(), 1u);
  EXPECT_TRUE(Visible("DemoAiFriend"));

  // BACK leads to the menu, and Play from there to the next run (the tutorial played already).
  ClickAt(480.0f, -305.0f);
  ASSERT_NE(dynamic_cast<MainMenuClass*>(m_game->GetCurrentLevel()), nullptr);
  m_game->tutorialPlayed = 1;
  m_game->showTutorialPages = 0;
  PointAt(0.0f, 150.0f);
  Click();
  ASSERT_EQ(m_game->GetCurrentLevelIndex(), 7u);
  Frames(30);
  auto* car = Find<PlayerClass>("Player");
  ASSERT_NE(car, nullptr);
  Frame(16.0, "run-with-new-equipment");
  EXPECT_EQ(car->GetDurability(), 100);
  EXPECT_EQ(car->GetMaximumDurability(), 100);
  EXPECT_EQ(car->GetDamageDivisor(), std::max(1, Data().armours[1].defense));
  EXPECT_EQ(car->GetHoverCapacity(), std::max(1, Data().armours[1].hoverTime));
  EXPECT_EQ(car->GetGun().delay, Data().guns[1].delay);
  EXPECT_EQ(car->GetGun().multi, Data().guns[1].multi);
  EXPECT_EQ(car->GetBulletDamage(), 50);
  EXPECT_EQ(car->GetSpecial().damage, Data().specials[1].damage);
  EXPECT_EQ(car->GetAiFriend().damage, Data().aiFriends[0].damage);
  EXPECT_EQ(Data().player.totalGears, spare);
}

// A level read back from a saved game is not started again: the garage must still find its pointer.
TEST_F(GarageTest, AGarageReadBackFromASavedGameStillAnswersThePointer) {
  ASSERT_NE(OpenGarage(), nullptr);
  m_game->GetSaves()->RequestSave("garage");
  Frame(16.0);
  m_game->GetSaves()->RequestLoad("garage");
  Frames(2);
  ASSERT_NE(dynamic_cast<GarageLevelClass*>(m_game->GetCurrentLevel()), nullptr);
  ClickAt(493.0f, -313.0f);
  Frames(2);
  EXPECT_NE(dynamic_cast<MainMenuClass*>(m_game->GetCurrentLevel()), nullptr);
}

}  // namespace
