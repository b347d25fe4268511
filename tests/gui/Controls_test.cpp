// Mouse routing through the GUI root: hover, press, click, double click, release outside, the
// pressed control while the mouse moves on, stacking of forms, disabled and modal controls, tab
// and return keys, radio-button groups, clipping of children and depth keys.
#include <gtest/gtest.h>

#include <cfloat>

#include "GuiTestSupport.h"
#include "gui/Gui_Button.h"
#include "gui/Gui_Form.h"
#include "gui/Gui_RadioButton.h"

namespace {

using Core::SmartPointer;
using GuiTest::Recorder;

class GuiControlsTest : public GuiTest::GuiFixture {
 protected:
  // A form at (100, 100), 256 x 256: its client area starts at (108, 108).
  SmartPointer<GUI::Form> AddForm(float x = 100, float y = 100) {
    SmartPointer<GUI::Form> form(new GUI::Form());
    form->SetPosition(Math::Vector2D(x, y));
    hud->AddForm(form);
    return form;
  }
  SmartPointer<GUI::Button> AddButton(GUI::Form& form, float x, float y) {
    SmartPointer<GUI::Button> button(new GUI::Button());
    button->SetSize(Math::Vector2D(80, 30));
    form.AddControl(button.Get());
    button->SetPosition(Math::Vector2D(x, y));
    return button;
  }
  uint32_t Record(GUI::Button& button) { return button.GetSkinImage()->GetRecordIndex(); }
};

TEST_F(GuiControlsTest, HoverPressAndReleaseClickTheButtonAndFollowItsStates) {
  auto form = AddForm();
  auto button = AddButton(*form, 20, 20);  // screen (128, 128) .. (208, 158)
  EXPECT_EQ(button->GetSkinImage()->GetPosition(), Math::Vector2D(128, 128));
  Recorder recorder;
  recorder.Watch(*button);
  Frame();
  EXPECT_EQ(button->GetState(), GUI::Button::Focused);  // the form's first tab stop
  EXPECT_EQ(Record(*button), 3u);

  MoveMouseAndFrame(150, 140);
  Frame();
  EXPECT_EQ(hud->GetControlUnderMouse(), button.Get());
  EXPECT_EQ(recorder.enters, 1);
  EXPECT_EQ(Record(*button), 2u);
  HoldLeftAndFrame(true);
  EXPECT_EQ(recorder.downs, 1);
  EXPECT_EQ(Record(*button), 1u);
  EXPECT_EQ(hud->GetPressedControl(), button.Get());
  HoldLeftAndFrame(false);
  EXPECT_EQ(recorder.clicks, 1);
  EXPECT_EQ(recorder.ups, 1);
  EXPECT_EQ(Record(*button), 2u);
  EXPECT_EQ(hud->GetPressedControl(), nullptr);

  MoveMouseAndFrame(600, 450);
  Frame();
  EXPECT_EQ(recorder.leaves, 1);
  EXPECT_EQ(button->GetState(), GUI::Button::Focused);  // it kept the keyboard focus
}

TEST_F(GuiControlsTest, ReleaseOutsideRaisesDownAndUpButNoClick) {
  auto form = AddForm();
  auto button = AddButton(*form, 20, 20);
  Recorder recorder;
  recorder.Watch(*button);
  MoveMouseAndFrame(150, 140);
  HoldLeftAndFrame(true);
  MoveMouseAndFrame(600, 450);
  HoldLeftAndFrame(false);
  EXPECT_EQ(recorder.downs, 1);
  EXPECT_EQ(recorder.ups, 1);
  EXPECT_EQ(recorder.leaves, 1);
  EXPECT_EQ(recorder.clicks, 0);
}

TEST_F(GuiControlsTest, PressedControlStaysWhileTheMouseMovesOntoAnother) {
  auto form = AddForm();
  auto a = AddButton(*form, 20, 20);
  auto b = AddButton(*form, 20, 100);  // screen (128, 208) .. (208, 238)
  Recorder onB;
  onB.Watch(*b);
  MoveMouseAndFrame(150, 140);
  HoldLeftAndFrame(true);
  MoveMouseAndFrame(150, 220);
  Frame();
  EXPECT_EQ(hud->GetControlUnderMouse(), b.Get());
  EXPECT_EQ(hud->GetPressedControl(), a.Get());
  EXPECT_EQ(onB.enters, 0);
  HoldLeftAndFrame(false);
  Frame();
  EXPECT_EQ(onB.enters, 1);
  EXPECT_EQ(onB.clicks, 0);
}

TEST_F(GuiControlsTest, LaterFormWinsUntilAnotherIsRaised) {
  auto first = AddForm(100, 100);
  auto second = AddForm(200, 150);
  MoveMouse(250, 200);  // inside both client areas
  Frame();
  EXPECT_EQ(hud->GetControlUnderMouse(), second.Get());
  EXPECT_LT(first->GetDepthKey(), first->GetCloseButton()->GetDepthKey());
  EXPECT_LT(first->GetCloseButton()->GetDepthKey(), second->GetDepthKey());
  hud->SetFormToFront(first.Get());
  Frame();
  EXPECT_EQ(hud->GetForms().back().Get(), first.Get());
  EXPECT_EQ(hud->GetControlUnderMouse(), first.Get());
  EXPECT_GT(first->GetDepthKey(), second->GetCloseButton()->GetDepthKey());

  // A press on the back form raises it and gives it the focus.
  hud->SetFormToFront(second.Get());
  Frame();
  MoveMouse(120, 120);  // only the first form is here
  Click(120, 120);
  Frame();
  EXPECT_EQ(hud->GetFocusedControl(), first.Get());
  EXPECT_EQ(hud->GetForms().back().Get(), first.Get());
}

TEST_F(GuiControlsTest, ClicksCloseTogetherMakeADoubleClickOnlyInsideTheWindow) {
  struct Case {
    float gap;  // frame length between the clicks' presses and releases
    int idleFrames;
    int clicks, doubleClicks;
  } cases[] = {{0.1f, 0, 1, 1}, {0.025f, 0, 2, 0}, {0.1f, 5, 2, 0}};
  for (const Case& c : cases) {
    auto form = AddForm();
    auto button = AddButton(*form, 20, 20);
    Recorder recorder;
    recorder.Watch(*button);
    Click(150, 140);
    for (int i = 0; i < c.idleFrames; ++i) Frame(c.gap);
    HoldLeft(true);
    Frame(c.gap);
    HoldLeft(false);
    Frame(c.gap);
    EXPECT_EQ(recorder.clicks, c.clicks) << c.gap << " " << c.idleFrames;
    EXPECT_EQ(recorder.doubleClicks, c.doubleClicks) << c.gap << " " << c.idleFrames;
    hud->Reset();
  }
}

TEST_F(GuiControlsTest, DisabledButtonIgnoresClicksButStillSeesDoubleClicks) {
  auto form = AddForm();
  auto button = AddButton(*form, 20, 20);
  Recorder recorder;
  recorder.Watch(*button);
  form->SetEnabled(false);  // an ancestor's flag is enough
  EXPECT_EQ(button->GetState(), GUI::Button::Disabled);
  Frame();
  EXPECT_EQ(Record(*button), 4u);
  Click(150, 140);
  EXPECT_EQ(hud->GetControlUnderMouse(), nullptr);  // disabled controls are not picked
  EXPECT_EQ(recorder.clicks, 0);
  EXPECT_EQ(recorder.enters, 0);

  form->SetEnabled(true);
  button->SetEnabled(false);
  button->OnMouseUp(GUI::MouseEvent());  // direct events are gated as well
  button->OnClick();
  button->OnDoubleClick();
  EXPECT_EQ(recorder.clicks, 0);
  EXPECT_EQ(recorder.ups, 0);
  EXPECT_EQ(recorder.doubleClicks, 1);
}

TEST_F(GuiControlsTest, ModalFormBlocksOthersAndFlashesWhenTheyArePressed) {
  auto first = AddForm(100, 100);
  auto button = AddButton(*first, 20, 20);
  auto dialog = AddForm(400, 200);
  auto inner = AddButton(*dialog, 10, 10);
  Recorder onButton, onInner;
  onButton.Watch(*button);
  onInner.Watch(*inner);
  dialog->SetModal(true);
  Frame();
  Click(150, 140);
  EXPECT_EQ(onButton.clicks, 0);
  EXPECT_EQ(onButton.enters, 0);
  EXPECT_TRUE(dialog->IsFlashing());
  // The flash alternates colours for 0.8 s and ends in the normal colour.
  int changes = 0;
  Math::Color last = dialog->GetFrameColor();
  for (int i = 0; i < 20 && dialog->IsFlashing(); ++i) {
    Frame(0.05f);
    if (dialog->GetFrameColor().r != last.r) ++changes;
    last = dialog->GetFrameColor();
  }
  EXPECT_FALSE(dialog->IsFlashing());
  EXPECT_GE(changes, 5);  // a colour change every 0.1 s (the first came with the click)
  EXPECT_EQ(dialog->GetFrameColor().b, dialog->GetModulationColor().b);

  Click(430, 230);  // inside the modal form: not blocked
  EXPECT_EQ(onInner.clicks, 1);

  // A second modal form takes the flag.
  auto other = AddForm(0, 0);
  other->SetModal(true);
  EXPECT_FALSE(dialog->GetModal());
  EXPECT_EQ(hud->GetModalForm(), other.Get());
}

TEST_F(GuiControlsTest, TabCyclesSelectableChildrenAndReturnClicksTheFocusedOne) {
  auto form = AddForm();
  auto a = AddButton(*form, 20, 20);
  auto b = AddButton(*form, 20, 60);
  auto c = AddButton(*form, 20, 100);
  a->SetTabIndex(0);
  b->SetTabIndex(1);
  c->SetTabIndex(2);
  Recorder onC;
  onC.Watch(*c);
  Frame();
  EXPECT_TRUE(a->IsFocused());
  b->SetVisible(false);
  auto press = [&](std::uint8_t key) {
    backend.Hold(key, true);
    Frame();
    backend.Hold(key, false);
    Frame();
  };
  press(0x09);
  EXPECT_TRUE(c->IsFocused());
  EXPECT_FALSE(a->IsFocused());
  EXPECT_EQ(hud->GetKeyboardFocus(), c.Get());
  press(0x0D);
  EXPECT_EQ(onC.clicks, 1);
  press(0x09);
  EXPECT_TRUE(a->IsFocused());
}

TEST_F(GuiControlsTest, RadioButtonsOfOneParentFormAGroup) {
  auto form = AddForm();
  SmartPointer<GUI::RadioButton> first(new GUI::RadioButton()), second(new GUI::RadioButton());
  form->AddControl(first.Get());
  form->AddControl(second.Get());
  first->SetPosition(Math::Vector2D(20, 20));   // screen (128, 128), 13 x 13
  second->SetPosition(Math::Vector2D(20, 50));  // screen (128, 158)
  auto otherForm = AddForm(400, 100);
  SmartPointer<GUI::RadioButton> disabled(new GUI::RadioButton()), lone(new GUI::RadioButton());
  disabled->SetEnabled(false);
  otherForm->AddControl(disabled.Get());
  otherForm->AddControl(lone.Get());
  SmartPointer<GUI::RadioButton> orphan(new GUI::RadioButton());
  Frame();
  EXPECT_TRUE(first->IsChecked());  // the default selection
  EXPECT_FALSE(second->IsChecked());
  EXPECT_FALSE(disabled->IsChecked());  // skipped
  EXPECT_TRUE(lone->IsChecked());       // another parent, another group
  EXPECT_EQ(disabled->GetSkinImage()->GetRecordIndex(), 2u);

  Recorder onFirst, onSecond;
  first->AddCheckedChangedHandler(std::make_unique<GUI::MemberFunction1Param<Recorder>>(&onFirst, &Recorder::Checked));
  second->AddCheckedChangedHandler(
      std::make_unique<GUI::MemberFunction1Param<Recorder>>(&onSecond, &Recorder::Checked));
  Click(134, 164);
  EXPECT_TRUE(second->IsChecked());
  EXPECT_FALSE(first->IsChecked());
  EXPECT_TRUE(lone->IsChecked());
  EXPECT_EQ(onSecond.checkedChanges, 1);
  EXPECT_EQ(onFirst.checkedChanges, 0);
  EXPECT_EQ(second->GetSkinImage()->GetRecordIndex(), 8u);  // checked, mouse inside
  EXPECT_EQ(first->GetSkinImage()->GetRecordIndex(), 1u);   // unchecked, normal
  Click(134, 164);
  EXPECT_EQ(onSecond.checkedChanges, 1);  // already checked: no event

  orphan->SetChecked(true);
  EXPECT_TRUE(orphan->IsChecked());
}

TEST_F(GuiControlsTest, ChildOutsideItsParentsClientAreaIsClippedAway) {
  auto form = AddForm();
  auto button = AddButton(*form, 500, 500);
  Frame();
  EXPECT_EQ(button->GetVisibleRectangle(), GUI::NRectangle());
  EXPECT_EQ(button->GetVisibleClientRectangle(), GUI::NRectangle());
  MoveMouseAndFrame(630, 470);
  EXPECT_FALSE(button->HitTest());

  // A half-covered child is hit only on its visible half.
  auto edge = AddButton(*form, 200, 20);  // screen x 308 .. 388, client area ends at 348
  Frame();
  EXPECT_EQ(edge->GetVisibleRectangle().GetRight(), 348.0f);
  MoveMouseAndFrame(360, 140);
  EXPECT_NE(hud->GetControlUnderMouse(), edge.Get());
  MoveMouseAndFrame(330, 140);
  EXPECT_EQ(hud->GetControlUnderMouse(), edge.Get());
}

TEST_F(GuiControlsTest, OpacityClampsAndCombinesWithTheParent) {
  auto form = AddForm();
  auto button = AddButton(*form, 20, 20);
  button->SetOpacity(1.5f);
  EXPECT_EQ(button->GetOpacity(), 1.0f);
  button->SetOpacity(-2.0f);
  EXPECT_EQ(button->GetOpacity(), 0.0f);
  button->SetOpacity(0.5f);
  form->SetOpacity(0.5f);
  EXPECT_EQ(button->GetEffectiveOpacity(), 0.25f);
  EXPECT_EQ(button->GetSkinImage()->GetOpacity(), 0.25f);
  EXPECT_EQ(form->GetCaptionImage()->GetOpacity(), 0.5f);
}

TEST_F(GuiControlsTest, CursorDrawsLastAtTheMouseWithItsTipOnIt) {
  MoveMouseAndFrame(100, 200);
  ASSERT_EQ(hud->GetCursorManager()->GetCursor().Get(), hud->GetDefaultCursor().Get());
  hud->Update(0.0f);
  const auto& context = hud->GetDefaultCursor()->GetContext();
  EXPECT_EQ(context->depth, FLT_MAX);
  EXPECT_EQ(context->corners[0].x, 100.0f);
  EXPECT_EQ(context->corners[0].y, 168.0f);
  EXPECT_EQ(context->corners[2].x, 132.0f);
  EXPECT_EQ(context->corners[2].y, 200.0f);
  hud->ShowCursor(false);
  Frame();
  EXPECT_EQ(hud->GetCursorManager()->GetCursor().Get(), nullptr);
}

}  // namespace
