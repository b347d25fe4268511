// Forms: geometry of the frame and the close button, closing through the button (deferred to the
// next update, registry purged), dragging by the caption, the root's reset, the script tables, and
// a save and load round trip of the whole GUI.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

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
  MoveMouseAndFrame(344, 344);
  EXPECT_EQ(hud->GetControlUnderMouse(), nullptr);
  EXPECT_TRUE(hud->GetControls().empty());
}

TEST_F(GuiFormsTest, FormOrControlShownAgainAfterClosingAnswersTheMouseWithItsWholeTree) {
  auto form = AddForm(100, 100);
  SmartPointer<GUI::Button> button(new GUI::Button());
  button->SetSize(Math::Vector2D(80, 30));
  form->AddControl(button.Get());
  button->SetPosition(Math::Vector2D(20, 20));  // screen (128, 128) .. (208, 158)
  GuiTest::Recorder recorder;
  recorder.Watch(*button);
  Frame();

  // Closed through its close button, then shown again: the button and the close button live.
  Click(344, 344);
  Frame();
  ASSERT_TRUE(hud->GetForms().empty());
  hud->AddForm(form);
  Frame();
  EXPECT_TRUE(Registered(button.Get()));
  EXPECT_EQ(std::count(hud->GetControls().begin(), hud->GetControls().end(), button.Get()), 1);
  Click(150, 140);
  EXPECT_EQ(recorder.clicks, 1);

  // Removed and added back before the root's next update: it stays, once.
  hud->RemoveForm(form.Get());
  hud->AddForm(form);
  Frame();
  ASSERT_EQ(hud->GetForms().size(), 1u);
  Click(150, 140);
  EXPECT_EQ(recorder.clicks, 2);

  // A child closed and given back to its parent, in the same frame and a frame later.
  button->Close();
  form->AddControl(button.Get());
  Frame();
  Click(150, 140);
  EXPECT_EQ(recorder.clicks, 3);
  button->Close();
  Frame();
  EXPECT_EQ(button->GetParent(), nullptr);
  form->AddControl(button.Get());
  Click(150, 140);
  EXPECT_EQ(recorder.clicks, 4);

  // The close button of the form shown again still closes it (a second later, so that its first
  // click and this one do not make a double click).
  for (int i = 0; i < 60; ++i) Frame();
  Click(344, 344);
  Frame();
  EXPECT_TRUE(hud->GetForms().empty());
}

TEST_F(GuiFormsTest, EachFormsUpdateHookRunsOncePerFrame) {
  struct CountingForm : GUI::Form {
    int updates = 0;
    void OnUpdate(float deltaTime) override {
      ++updates;
      GUI::Form::OnUpdate(deltaTime);
    }
  };
  SmartPointer<CountingForm> form(new CountingForm());
  hud->AddForm(form);
  for (int i = 0; i < 3; ++i) Frame();
  EXPECT_EQ(form->updates, 3);
}

TEST_F(GuiFormsTest, UserDataNamingAControlNeitherKeepsItAliveNorDangles) {
  struct WatchedForm : GUI::Form {
    bool* destroyed = nullptr;
    ~WatchedForm() override { *destroyed = true; }
  };
  bool destroyed = false;
  SmartPointer<GUI::Button> other(new GUI::Button());
  {
    SmartPointer<WatchedForm> form(new WatchedForm());
    form->destroyed = &destroyed;
    hud->AddForm(form);
    // A button of the form holding its own form: no cycle.
    form->GetCloseButton()->SetUserData(form.Get());
    EXPECT_EQ(form->GetCloseButton()->GetUserData(), form.Get());
    other->SetUserData(form.Get());
    Frame();
    form->Close();
  }
  Frame();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(other->GetUserData(), nullptr);  // cleared when the form went

  // Any other object of the game is held, so it cannot vanish under the control.
  Core::Object* data = new Core::Object();
  other->SetUserData(data);
  EXPECT_EQ(data->GetReferenceCount(), 1u);
  other->SetUserData(nullptr);
}

TEST_F(GuiFormsTest, CaptionDragsTheFormUntilTheButtonIsReleased) {
  auto form = AddForm(100, 100);
  Frame();
  MoveMouseAndFrame(200, 340);
  HoldLeftAndFrame(true);
  EXPECT_TRUE(form->IsDragging());
  MoveMouseAndFrame(250, 300);
  EXPECT_EQ(form->GetPosition(), Math::Vector2D(150, 60));
  EXPECT_EQ(form->GetCloseButton()->GetRectangle().left, 384.0f);  // children follow
  EXPECT_EQ(form->GetCaptionImage()->GetPosition(), Math::Vector2D(150, 284));
  HoldLeftAndFrame(false);
  EXPECT_FALSE(form->IsDragging());
  MoveMouseAndFrame(300, 300);
  EXPECT_EQ(form->GetPosition(), Math::Vector2D(150, 60));

  // A press in the client area, or in the caption of a form that shows only its controls, does not drag.
  Click(200, 100);
  EXPECT_FALSE(form->IsDragging());
  form->SetShowOnlyControls(true);
  EXPECT_FALSE(form->GetCloseButton()->GetOwnVisible());
  MoveMouseAndFrame(200, 300);
  HoldLeftAndFrame(true);
  EXPECT_FALSE(form->IsDragging());
  HoldLeftAndFrame(false);
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

TEST_F(GuiFormsTest, HostileSavedGuiLoadsWithoutDanglingReferencesOrWildMousePositions) {
  // A button where a form belongs is dropped, and the removed-forms list names it again: the
  // second reference must not reach a freed object.
  {
    SmartPointer<GUI::Button> stray(new GUI::Button());
    Core::MemoryFile file;
    Core::WriteValue<uint32_t>(file, 1);
    file.WriteObject(stray.Get());
    Core::WriteValue<uint32_t>(file, 1);
    file.WriteObject(stray.Get());
    Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
    hud->Load(reader);
    EXPECT_TRUE(reader.HasFailed());  // the stream ends where the rest of the GUI should be
    EXPECT_TRUE(hud->GetForms().empty());
    Frame();
  }
  // A saved mouse position that is no number fails the load and leaves the mouse where it is.
  {
    AddForm(120, 80);
    MoveMouseAndFrame(300, 200);
    Core::MemoryFile file;
    hud->Save(file);
    std::vector<uint8_t> bytes(file.GetBuffer().GetData(), file.GetBuffer().GetData() + file.GetBuffer().GetSize());
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(bytes.data() + bytes.size() - 8, &notANumber, 4);
    hud->Reset();
    Core::MemoryFile reader(bytes.data(), static_cast<uint32_t>(bytes.size()));
    hud->Load(reader);
    EXPECT_TRUE(reader.HasFailed());
    EXPECT_EQ(GUI::Control::GetMousePosition(), Math::Vector2D(300, 200));
  }
  // Nor does a position no pixel can hold move it, from a save or a script.
  GUI::Control::SetMousePosition(Math::Vector2D(-3.0e38f, 1.0e12f));
  GUI::Control::SetMousePosition(Math::Vector2D(static_cast<float>(INT32_MAX), 0.0f));
  Frame();
  EXPECT_EQ(GUI::Control::GetMousePosition(), Math::Vector2D(300, 200));
}

}  // namespace
