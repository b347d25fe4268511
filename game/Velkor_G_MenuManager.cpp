#include "game/Velkor_G_MenuManager.h"

#include <list>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"
#include "game/Velkor_DataManager.h"
#include "game/Velkor_G_MenuLabel.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_ScreenSupport.h"

VELKOR_IMPLEMENT_CLASS(G_MenuManager, "G_MenuManager");

namespace {

constexpr const char* kLabelTemplate = "ItemLabel";
constexpr const char* kLabelClone = "ItemLabelClone";
constexpr float kLabelX = -350.0f;
constexpr float kLabelTopY = 100.0f;
constexpr float kLabelSpacing = 170.0f;
constexpr float kSlideSpeed = 40.0f;       // units per frame
constexpr float kSlideStagger = 0.1f;      // seconds between two labels' starts
const char* const kDemoSprites[G_MenuManager::kSetCount] = {"DemoArmour", "DemoGun", "DemoSpkAtk", "DemoAiFriend"};

DataManager* Data() {
  MyGame* game = GetMyGame();
  return game != nullptr ? &game->GetDataManager() : nullptr;
}

// The shop's labels in creation order; anything else of that name is no label.
std::list<G_MenuLabel*> Labels() {
  std::list<Quillon::GameObject*> found;
  Quillon::GameObject::GetGameObjectsByName(kLabelClone, found);
  std::list<G_MenuLabel*> labels;
  for (Quillon::GameObject* object : found) {
    if (auto* label = dynamic_cast<G_MenuLabel*>(object)) labels.push_back(label);
  }
  return labels;
}

void SetVisible(const std::string& name, bool visible, bool text) {
  Quillon::GameObject* object = text ? static_cast<Quillon::GameObject*>(FindObjectByName<Quillon::Text>(name))
                                     : static_cast<Quillon::GameObject*>(FindObjectByName<Quillon::Sprite>(name));
  if (object != nullptr) object->SetVisible(visible);
}

void SetCaption(const std::string& name, const std::string& caption) {
  if (Quillon::Text* text = FindObjectByName<Quillon::Text>(name)) text->SetText(caption);
}

}  // namespace

G_MenuManager::G_MenuManager()
    : m_setHeaders{DataManager::kArmourSet, DataManager::kGunSet, DataManager::kSpecialSet, DataManager::kAiSet},
      m_setTitles{"Armours", "Guns", "Special", "AI Friend"} {}

void G_MenuManager::Initialise(Quillon::Layer* layer) {
  m_started = 0;
  ShowDialog("", false, false);
  m_setIndex = 0;
  G_MenuLabel* source = FindObjectByName<G_MenuLabel>(kLabelTemplate);
  if (source != nullptr && layer != nullptr) {
    for (int32_t i = 0; i < kLabelCount; ++i) {
      Core::SmartPointer<G_MenuLabel> label(static_cast<G_MenuLabel*>(source->Clone()));
      label->SetName(kLabelClone);
      label->SetPosition(kLabelX, kLabelTopY - kLabelSpacing * static_cast<float>(i));
      label->SetImageOffset(Math::Vector2D(-180.0f, -10.0f));
      label->SetDescriptionOffset(Math::Vector2D(-110.0f, 0.0f));
      label->SetNameOffset(Math::Vector2D(-110.0f, 20.0f));
      label->SetIndex(i);
      layer->AddGameObject(label.Get(), false, nullptr);
      label->SetShown(false);
    }
  }
  SetCaption("ItemTypeText", m_setTitles[0]);
  RefreshPlayerInfo();
}

bool G_MenuManager::ChangeSet(int32_t direction) {
  const std::list<G_MenuLabel*> labels = Labels();
  bool anyArrived = false;
  for (const G_MenuLabel* label : labels) anyArrived = anyArrived || label->HasArrived();
  if (!anyArrived) return false;

  float dx = 0.0f;
  if (direction == 1 && m_setIndex + 1 < kSetCount) {
    ++m_setIndex;
    SetVisible("LeftItemBtn", m_setIndex + 1 < kSetCount, false);
    SetVisible("RightItemBtn", true, false);
    dx = -kSlideSpeed;
  } else if (direction == 2 && m_setIndex > 0) {
    --m_setIndex;
    SetVisible("LeftItemBtn", true, false);
    SetVisible("RightItemBtn", m_setIndex > 0, false);
    dx = kSlideSpeed;
  }
  if (dx != 0.0f) {
    // The open dialog named an item of the set that is going away.
    if (m_dialogOpen != 0) ShowDialog("", false, false);
    DataManager* data = Data();
    const std::string& header = m_setHeaders[m_setIndex];
    int32_t i = 0;
    for (G_MenuLabel* label : labels) {
      label->StartSlide(G_MenuLabel::kSlideOut, kSlideStagger * static_cast<float>(i), dx);
      int32_t itemId = 0, cost = 0, distance = 0, purchased = 0, equipped = 0;
      if (data != nullptr) data->GetItemInfo(header, i, itemId, cost, distance, purchased, equipped);
      label->StorePurchased(purchased != 0);
      label->StoreEquipped(equipped != 0);
      label->SetSetHeader(header);
      label->SetNameText(GetItemName(header, i));
      label->SetDescriptionText(GetItemDescription(header, i));
      ++i;
    }
  }
  SetCaption("ItemTypeText", m_setTitles[m_setIndex]);
  return dx != 0.0f;
}

bool G_MenuManager::HandleClick() {
  if (m_dialogOpen != 0) {
    if (IsTouching("YesBtn", "MousePointer")) {
      const int32_t action = m_pendingAction;
      ShowDialog("", false, false);
      if (action == kSelect) EquipSelected();
      else if (action == kPurchase) PurchaseSelected();
      return true;
    }
    if (IsTouching("NoBtn", "MousePointer") || IsTouching("OkBtn", "MousePointer")) {
      ShowDialog("", false, false);
      return true;
    }
    return false;
  }
  bool result = false;
  for (G_MenuLabel* label : Labels()) {
    if (!label->IsShown() || !label->IsCollidedWithSprite("MousePointer", false)) continue;
    // The first label under the pointer is the one asked about.
    m_chosenIndex = label->GetIndex();
    m_dialogSet = m_setIndex;
    m_dialogItemName = label->GetPendingName();
    result = true;
    if (!label->IsPurchased()) {
      m_pendingAction = kPurchase;
      ShowDialog("Purchase " + m_dialogItemName + "?", true, false);
    } else {
      m_pendingAction = kSelect;
      ShowDialog("Select " + m_dialogItemName + "?", true, false);
    }
    break;
  }
  return result;
}

void G_MenuManager::ShowDialog(const std::string& text, bool visible, bool okOnly) {
  m_dialogOpen = visible ? 1 : 0;
  const bool yesNo = visible && !okOnly;
  const bool ok = visible && okOnly;
  SetVisible("YesBtn", yesNo, false);
  SetVisible("yesTxt", yesNo, true);
  SetVisible("NoBtn", yesNo, false);
  SetVisible("noTxt", yesNo, true);
  SetVisible("OkBtn", ok, false);
  SetVisible("okTxt", ok, true);
  SetVisible("DialogBox", visible, false);
  SetVisible("DialogText", visible, true);
  SetCaption("DialogText", text);
  if (!visible) m_pendingAction = kNoAction;
}

bool G_MenuManager::IsTouching(const std::string& name, const std::string& otherName) const {
  // A hidden button is no button: the dialog's hidden YES must not answer for the OK beside it.
  Quillon::Sprite* sprite = FindObjectByName<Quillon::Sprite>(name);
  return sprite != nullptr && sprite->IsVisible() && sprite->IsCollidedWithSprite(otherName, false);
}

void G_MenuManager::RefreshPlayerInfo() {
  DataManager* data = Data();
  if (data == nullptr) return;
  SetCaption("pDataTxt", "Gear: " + std::to_string(data->player.totalGears) +
                             "\nDistance Travelled: " + std::to_string(data->player.bestDistance));
  for (int32_t set = 0; set < kSetCount; ++set) {
    for (int32_t index = 0; index < kLabelCount; ++index) {
      int32_t itemId = 0, cost = 0, distance = 0, purchased = 0, equipped = 0;
      data->GetItemInfo(m_setHeaders[set], index, itemId, cost, distance, purchased, equipped);
      if (equipped == 1) ShowEquippedDemo(set, index);
    }
  }
}

void G_MenuManager::ShowEquippedDemo(int32_t set, int32_t index) {
  if (set < 0 || set >= kSetCount || index < 0) return;
  Quillon::Sprite* demo = FindObjectByName<Quillon::Sprite>(kDemoSprites[set]);
  if (demo == nullptr) return;
  // A preview with fewer pictures than the set has items keeps the picture it shows.
  if (static_cast<uint32_t>(index) < demo->GetFramesCount(demo->GetCurrentAnimationIndex())) {
    demo->SetCurrentFrameIndex(static_cast<uint32_t>(index), false);
  }
  if (set >= 2) demo->SetVisible(true);
}

std::string G_MenuManager::GetItemName(const std::string& setHeader, int32_t index) const {
  DataManager* data = Data();
  return data != nullptr ? data->GetItemName(setHeader, index) : std::string();
}

std::string G_MenuManager::GetItemDescription(const std::string& setHeader, int32_t index) const {
  DataManager* data = Data();
  return data != nullptr ? data->GetItemDescription(setHeader, index) : std::string();
}

G_MenuLabel* G_MenuManager::FindLabel(int32_t set, int32_t index) const {
  for (G_MenuLabel* label : Labels()) {
    if (label->GetIndex() == index && label->GetSetHeader() == GetSetHeader(set)) return label;
  }
  return nullptr;
}

void G_MenuManager::EquipSelected() {
  DataManager* data = Data();
  if (data == nullptr) return;
  const std::string& header = GetSetHeader(m_dialogSet);
  if (!data->EquipItem(header, m_chosenIndex)) return;
  for (G_MenuLabel* label : Labels()) {
    if (label->GetSetHeader() == header) label->SetEquipped(label->GetIndex() == m_chosenIndex);
  }
  RefreshPlayerInfo();
}

void G_MenuManager::PurchaseSelected() {
  DataManager* data = Data();
  if (data == nullptr) return;
  switch (data->PurchaseItem(GetSetHeader(m_dialogSet), m_chosenIndex)) {
    case DataManager::PurchaseResult::NotEnoughResources:
      ShowDialog("Not enough resources :(", true, true);
      return;
    case DataManager::PurchaseResult::Purchased:
      if (G_MenuLabel* label = FindLabel(m_dialogSet, m_chosenIndex)) {
        label->SetPurchased(true);
        // The price is paid: the label says "Purchased" instead of what it cost.
        const std::string description = GetItemDescription(GetSetHeader(m_dialogSet), m_chosenIndex);
        label->SetDescriptionText(description);
        if (Quillon::Text* text = label->GetDescriptionText()) text->SetText(description);
      }
      RefreshPlayerInfo();
      return;
    case DataManager::PurchaseResult::AlreadyOwned:
    case DataManager::PurchaseResult::NoSuchItem:
      return;
  }
}
