// Forms: geometry of the frame and the close button, closing through the button (deferred to the
// next update, registry purged), dragging by the caption, the root's reset, the script tables, and
// a save and load round trip of the whole GUI.
#include <gtest/gtest.h>

#include <algorithm>

#include <lua.hpp>

#include "GuiTestSupport.h"
#include "core/Core_File.h"
#include "gui/Gui_Button.h"
#include "gui/Gui_Form.h"
#include "script/Lua_ScriptEngine.h"

namespace {

using Core::SmartPointer;

class GuiFormsTest : public GuiTest::GuiFixture {
 protected:
  SmartPointer<GUI::Form> AddForm(float x, float y) {
    SmartPointer<GUI::Form> form(new GUI::Form());
    form->SetPosition(Math::Vector2D(x, y));
    hud->AddForm(form);
    return form;
  }
  bool Registered(const GUI::Control* control) const {
    const auto& controls = hud->GetControls();
    return std::find(controls.begin(), controls.end(), control) != controls.end();
  }
};

TEST_F(GuiFormsTest, FrameClientAreaAndCloseButtonFollowTheBorders) {
  auto form = AddForm(100, 100);
  EXPECT_EQ(form->GetClientRectangle(), GUI::NRectangle(108, 108, 240, 216));
  EXPECT_EQ(form->GetCaptionImage()->GetPosition(), Math::Vector2D(100, 324));
  EXPECT_EQ(form->GetRightImage()->GetPosition(), Math::Vector2D(348, 108));
  EXPECT_EQ(form->GetLeftImage()->GetHeight(), 216.0f);
  GUI::Button* close = form->GetCloseButton();
  EXPECT_EQ(close->GetWidth(), 20.0f);
  EXPECT_EQ(close->GetRectangle(), GUI::NRectangle(334, 334, 20, 20));  // 2 inside the top-right corner
  EXPECT_EQ(close->GetName(), "CloseCloseClose");
  EXPECT_EQ(close->GetSkinImage()->GetRecordIndex(), 4u);

  const struct {
    float caption, side;
  } sizes[] = {{10, 8}, {3, 2}, {40, 20}};
  for (const auto& size : sizes) {
    form->SetCaptionHeight(size.caption);
    EXPECT_EQ(close->GetWidth(), size.side) << size.caption;
    EXPECT_EQ(close->GetRectangle().GetTop(), 354.0f) << size.caption;
    EXPECT_EQ(form->GetLeftImage()->GetHeight(), 256.0f - size.caption - 8.0f) << size.caption;
  }
}

TEST_F(GuiFormsTest, CloseButtonRemovesTheFormAtTheNextUpdate) {
  auto form = AddForm(100, 100);
  GUI::Button* close = form->GetCloseButton();
  Frame();
  Click(344, 344);
  EXPECT_EQ(hud->GetForms().size(), 1u);  // queued, not yet gone
  EXPECT_FALSE(Registered(form.Get()));
  EXPECT_FALSE(Registered(close));
  Frame();
  EXPECT_TRUE(hud->GetForms().empty());
  EXPECT_EQ(hud->GetFocusedControl(), nullptr);
  Frame();  // nothing left names the closed controls
  EXPECT_EQ(hud->GetControlUnderMouse(), nullptr);
}

TEST_F(GuiFormsTest, RemovedFormTakesItsChildrenOutOfTheRegistry) {
  GUI::Button* close = nullptr;
  {
    auto form = AddForm(100, 100);
    close = form->GetCloseButton();
    Frame();
    hud->RemoveForm(form.Get());
    EXPECT_FALSE(Registered(close));
  }
  Frame();  // the form and its button are gone now
  MoveMouse(344, 344);
  Frame();
  EXPECT_EQ(hud->GetControlUnderMouse(), nullptr);
  EXPECT_TRUE(hud->GetControls().empty());
}

TEST_F(GuiFormsTest, CaptionDragsTheFormUntilTheButtonIsReleased) {
  auto form = AddForm(100, 100);
  Frame();
  MoveMouse(200, 340);
  Frame();
  HoldLeft(true);
  Frame();
  EXPECT_TRUE(form->IsDragging());
  MoveMouse(250, 300);
  Frame();
  EXPECT_EQ(form->GetPosition(), Math::Vector2D(150, 60));
  EXPECT_EQ(form->GetCloseButton()->GetRectangle().left, 384.0f);  // children follow
  EXPECT_EQ(form->GetCaptionImage()->GetPosition(), Math::Vector2D(150, 284));
  HoldLeft(false);
  Frame();
  EXPECT_FALSE(form->IsDragging());
  MoveMouse(300, 300);
  Frame();
  EXPECT_EQ(form->GetPosition(), Math::Vector2D(150, 60));

  // A press in the client area, or in the caption of a form that shows only its controls, does not drag.
  Click(200, 100);
  EXPECT_FALSE(form->IsDragging());
  form->SetShowOnlyControls(true);
  EXPECT_FALSE(form->GetCloseButton()->GetOwnVisible());
  MoveMouse(200, 300);
  Frame();
  HoldLeft(true);
  Frame();
  EXPECT_FALSE(form->IsDragging());
  HoldLeft(false);
  Frame();
}

TEST_F(GuiFormsTest, ResetEmptiesTheRootButKeepsTheCursorChoice) {
  auto form = AddForm(100, 100);
  hud->ShowCursor(false);
  Frame();
  hud->Reset();
  EXPECT_TRUE(hud->GetForms().empty());
  EXPECT_TRUE(hud->GetControls().empty());
  EXPECT_EQ(hud->GetFocusedControl(), nullptr);
  EXPECT_FALSE(hud->IsCursorVisible());
  EXPECT_EQ(queue->GetScreenObjectCount(), 0u);
}

TEST_F(GuiFormsTest, ScriptsReachTheRootFormsAndControls) {
  ASSERT_TRUE(Lua::Initialize());
  lua_State* state = Lua::GetMainState();
  auto form = AddForm(100, 100);
  form->SetName("Main");
  hud->PushToLua(state);
  lua_setglobal(state, "hud");
  const char* chunk =
      "local f = hud:GetForm('Main')\n"
      "f:SetCaptionHeight(10)\n"
      "f:SetOpacity(3)\n"
      "local close = f:GetControl('CloseCloseClose')\n"
      "local r = f:GetRectangle()\n"
      "local i = r:Intersect(r, r)\n"
      "return f:GetCaptionHeight(), select('#', hud:GetForm(1)), select('#', hud:GetForm(0)),\n"
      "       close:GetWidth(), r:GetWidth(), f:GetOpacity(), i:IsValid(), select('#', hud:GetForm({})),\n"
      "       close:GetParent():GetName()";
  ASSERT_EQ(luaL_dostring(state, chunk), 0) << lua_tostring(state, -1);
  ASSERT_EQ(lua_gettop(state), 9);
  EXPECT_EQ(lua_tonumber(state, 1), 10.0);
  EXPECT_EQ(lua_tonumber(state, 2), 0.0);  // position equal to the form count: nothing
  EXPECT_EQ(lua_tonumber(state, 3), 1.0);
  EXPECT_EQ(lua_tonumber(state, 4), 8.0);
  EXPECT_EQ(lua_tonumber(state, 5), 256.0);
  EXPECT_EQ(lua_tonumber(state, 6), 1.0);
  EXPECT_TRUE(lua_toboolean(state, 7));
  EXPECT_EQ(lua_tonumber(state, 8), 0.0);
  EXPECT_STREQ(lua_tostring(state, 9), "Main");
  lua_settop(state, 0);
  // A wrong self is a script error, not a crash.
  EXPECT_NE(luaL_dostring(state, "local f = hud:GetForm(0); return f.GetWidth(hud)"), 0);
  lua_settop(state, 0);
  Lua::Shutdown();
}

TEST_F(GuiFormsTest, SavedGuiLoadsBackWithOneWorkingCloseHandler) {
  auto form = AddForm(120, 80);
  form->SetName("Saved");
  form->SetCaptionHeight(24);
  SmartPointer<GUI::Button> button(new GUI::Button());
  form->AddControl(button.Get());
  button->SetText("OK");
  Frame();
  Core::MemoryFile file;
  hud->Save(file);
  hud->Reset();
  form.Reset();
  button.Reset();
  Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
  hud->Load(reader);
  ASSERT_FALSE(reader.HasFailed());
  EXPECT_FALSE(hud->IsLoading());
  ASSERT_EQ(hud->GetForms().size(), 1u);
  GUI::Form* loaded = hud->GetForms()[0].Get();
  EXPECT_EQ(loaded->GetName(), "Saved");
  EXPECT_EQ(loaded->GetPosition(), Math::Vector2D(120, 80));
  EXPECT_EQ(loaded->GetCaptionHeight(), 24.0f);
  ASSERT_NE(loaded->GetCloseButton(), nullptr);
  EXPECT_EQ(loaded->GetCloseButton()->GetHandlerCount(GUI::Event::Click), 1u);
  EXPECT_EQ(loaded->GetControlsCount(), 2u);
  EXPECT_EQ(loaded->GetControl(1)->GetText(), "OK");
  EXPECT_EQ(loaded->GetControl(1)->GetParent(), loaded);
  EXPECT_TRUE(Registered(loaded->GetCloseButton()));

  Frame();
  const GUI::NRectangle close = loaded->GetCloseButton()->GetRectangle();
  Click(static_cast<int>(close.left + 5), static_cast<int>(close.bottom + 5));
  Frame();
  EXPECT_TRUE(hud->GetForms().empty());

  // Every truncation of the stream loads without a crash.
  for (uint32_t size = 0; size < file.GetBuffer().GetSize(); size += 97) {
    hud->Reset();
    Core::MemoryFile cut(file.GetBuffer().GetData(), size);
    hud->Load(cut);
    Frame();
  }
}

}  // namespace
