#pragma once
// What the game's screens share: finding the current level's objects by name and class,
// the sprite cursor that follows the mouse, and caption highlighting.
#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <string>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Sprite.h"

namespace Quillon {
class Text;
}

// The first object of the current level with that name that is a T (of class T or derived from
// it), walking the layers in order; null when there is none. An object of that name but of
// another class counts as absent.
template <typename T>
T* FindObjectByName(const std::string& name) {
  std::list<Quillon::GameObject*> found;
  Quillon::GameObject::GetGameObjectsByName(name, found);
  for (Quillon::GameObject* object : found) {
    if (T* typed = dynamic_cast<T*>(object)) return typed;
  }
  return nullptr;
}

// A partner of an object or a level: an object of the current level found by name and class once,
// then kept. It is held by a smart pointer, so it cannot dangle, and looked up again only once it
// has left the level (destroyed, taken out of its layer or renamed), so that a partner replaced
// during the level is found afresh; while there is none, each Get asks again. The holder lets it go
// when it ends (its ReleaseResources, a level's OnEnd), which also undoes any ring of partners.
template <typename T>
class Partner {
 public:
  explicit Partner(const char* name) : m_name(name) {}
  // A copy has the same name and finds its own.
  Partner(const Partner& other) : m_name(other.m_name) {}
  Partner& operator=(const Partner& other) {
    m_name = other.m_name;
    Release();
    return *this;
  }

  // Looks it up now.
  T* Find() {
    m_typed = FindObjectByName<T>(m_name);
    m_kept = m_typed;
    return m_typed;
  }
  // The kept partner while it is still in the level, else a fresh look-up.
  T* Get() {
    if (m_typed == nullptr || m_typed->IsDestructionPending() || m_typed->GetLayer() == nullptr ||
        m_typed->GetName() != m_name) {
      return Find();
    }
    return m_typed;
  }
  void Release() {
    m_typed = nullptr;
    m_kept.Reset();
  }

 private:
  const char* m_name;
  T* m_typed = nullptr;
  Core::SmartPointer<Quillon::GameObject> m_kept;
};

// A screen's partners asked for by name (a name that outlives the holder, such as a literal): each
// is found on first use and then kept as a Partner.
template <typename T>
class PartnersByName {
 public:
  T* Get(const char* name) {
    auto found = m_partners.find(name);
    if (found == m_partners.end()) found = m_partners.emplace(name, Partner<T>(name)).first;
    return found->second.Get();
  }
  void Release() { m_partners.clear(); }

 private:
  std::map<std::string, Partner<T>> m_partners;
};

// Puts the cursor's top-left corner on the mouse point, in a world whose origin is the centre of
// the current level's first viewport; nothing without a cursor, mouse or viewport.
void PlaceCursorAtMouse(Quillon::Sprite* cursor);

// True in a frame in which the left mouse button went down.
bool IsLeftClick();

// Once a frame, after the input devices and before the level, with the frame's time step in
// seconds: settles whether this frame answers a left click on the screens' buttons (see
// IsCursorClick).
void UpdateCursorClick(float dt);
// True in the frame that answers a left click on whatever the screen cursor touches. The cursor's
// contacts come from the previous frame's collision pass, so a press made while the mouse moved
// is answered in the next frame, once that pass has seen the cursor where the press was; a press
// on a still pointer is answered in its own frame. Each press is answered once, and one made in a
// level that has since been left is dropped.
bool IsCursorClick();
// The screens' clock: the seconds of the frames' time steps so far, the current frame's included.
double GetScreenTime();
// The earliest the press answered by the last click can have gone down, on the screens' clock: the
// look of the frame before the one that saw it (which, for a press put off, came a frame earlier).
double GetCursorClickPressTime();

// True when the cursor touches a sprite of exactly that name this frame.
bool IsCursorOver(Quillon::Sprite* cursor, const std::string& name);
// True when the sprite and the cursor of that name touch this frame, read from either side: the
// sprite's contacts naming the cursor, or the cursor's naming the sprite (a cursor may carry the
// contact on its side only). False for no sprite; a missing cursor is asked nothing.
bool IsTouchingCursor(Quillon::Sprite* object, Quillon::Sprite* cursor, const std::string& cursorName);

// Highlighting clears the caption's green (and, when asked, blue) modulation; un-highlighting
// restores full white. Nothing for no caption.
void HighlightCaption(Quillon::Text* caption, bool green, bool blue);
void UnhighlightCaption(Quillon::Text* caption);

// Hides the GUI's own cursor: the screens draw a sprite cursor instead.
void HideGuiCursor();

// The companions of a level class of the game (a level is made by its registered name and never
// copied): declared in the class by VELKOR_DECLARE_LEVEL, defined and registered under `name` in
// its file by VELKOR_IMPLEMENT_LEVEL.
#define VELKOR_DECLARE_LEVEL(LevelType)        \
  static ::Core::Object* Create();             \
  const char* GetClassName() const override;   \
  uint32_t GetSize() const override

#define VELKOR_IMPLEMENT_LEVEL(LevelType, name)                                                    \
  ::Core::Object* LevelType::Create() { return new (__FILE__, __LINE__) LevelType(); }              \
  const char* LevelType::GetClassName() const { return name; }                                      \
  uint32_t LevelType::GetSize() const { return static_cast<uint32_t>(sizeof(LevelType)); }          \
  static const ::Core::ClassRegistration VELKOR_REGISTRATION_NAME(__LINE__)(name, &LevelType::Create)
