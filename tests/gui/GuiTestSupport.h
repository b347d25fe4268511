#pragma once
// The GUI on the recording fake renderer: a render queue, a live mouse and keyboard over the fake
// input backend (client area 640 x 480 at (100, 50)), fake textures sized from the generated files,
// and the GUI root.
#include <gtest/gtest.h>

#include <memory>

#include "gui/Gui_Control.h"
#include "gui/Gui_HUD.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "scene/Engine_RenderQueue.h"
#include "tests/input/FakeInputBackend.h"
#include "tests/scene/SceneTestHelpers.h"

namespace GuiTest {

class GuiFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    renderer = Renderer::FakeRenderer::Install(Renderer::RendererDescriptor(640, 480));
    SceneTest::InstallFakeTextures();
    queue = std::make_unique<Engine::RenderQueue>();
    queue->SetRenderer(renderer.Get());
    mouse = Input::MouseImp::CreateInstance();
    mouse->SetWindow(TestInput::FakeWindow());
    MoveMouse(600, 10);
    for (int i = 0; i < 3 && static_cast<Input::MouseImp*>(mouse.Get())->IsGuardOn(); ++i) mouse->Update();
    keyboard = Input::KeyboardImp::CreateInstance();
    keyboard->ClearGuard();
    hud = std::make_unique<GUI::HUD>();
  }
  void TearDown() override {
    hud.reset();
    queue.reset();
    SceneTest::UninstallFakeTextures();
    Renderer::IRenderer::SetInstance(nullptr);
  }

  // Client pixels, origin bottom-left.
  void MoveMouse(int x, int y) {
    backend.cursorX = 100 + x;
    backend.cursorY = 50 + 479 - y;
  }
  void HoldLeft(bool held) { backend.Hold(PAL::VirtualKey::LeftButton, held); }
  // One frame: devices, then the GUI; the screen objects queued are counted, then dropped.
  void Frame(float dt = 1.0f / 60.0f) {
    mouse->Update();
    keyboard->Update();
    hud->Update(dt);
    lastScreenObjects = queue->GetScreenObjectCount();
    queue->ClearScreenObjects();
  }
  // The mouse moved or the left button changed, and the frame that sees it.
  void MoveMouseAndFrame(int x, int y) {
    MoveMouse(x, y);
    Frame();
  }
  void HoldLeftAndFrame(bool held) {
    HoldLeft(held);
    Frame();
  }
  void Click(int x, int y) {
    MoveMouseAndFrame(x, y);
    HoldLeftAndFrame(true);
    HoldLeftAndFrame(false);
  }

  TestInput::FakeInputBackend backend;
  Core::SmartPointer<Renderer::FakeRenderer> renderer;
  std::unique_ptr<Engine::RenderQueue> queue;
  Core::SmartPointer<Input::Mouse> mouse;
  Core::SmartPointer<Input::Keyboard> keyboard;
  std::unique_ptr<GUI::HUD> hud;
  uint32_t lastScreenObjects = 0;
};

// Counts the events it is handed.
struct Recorder {
  int clicks = 0, doubleClicks = 0, enters = 0, leaves = 0, downs = 0, ups = 0, checkedChanges = 0;
  void Click(GUI::Control*) { ++clicks; }
  void DoubleClick(GUI::Control*) { ++doubleClicks; }
  void Enter(GUI::Control*) { ++enters; }
  void Leave(GUI::Control*) { ++leaves; }
  void Down(GUI::Control*) { ++downs; }
  void Up(GUI::Control*) { ++ups; }
  void Checked(GUI::Control*) { ++checkedChanges; }

  void Watch(GUI::Control& control) {
    control.AddClickHandler(this, &Recorder::Click);
    Add(control, GUI::Event::DoubleClick, &Recorder::DoubleClick);
    Add(control, GUI::Event::MouseEnter, &Recorder::Enter);
    Add(control, GUI::Event::MouseLeave, &Recorder::Leave);
    Add(control, GUI::Event::MouseDown, &Recorder::Down);
    Add(control, GUI::Event::MouseUp, &Recorder::Up);
  }
  void Add(GUI::Control& control, GUI::Event event, void (Recorder::*function)(GUI::Control*)) {
    control.AddEventHandler(event, std::make_unique<GUI::MemberFunction1Param<Recorder>>(this, function));
  }
};

}  // namespace GuiTest
