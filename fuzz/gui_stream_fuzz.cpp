// The GUI as a saved game holds it (forms, their controls, the focus and cursor records), read
// from hostile bytes into a running GUI on the recording fake renderer, then driven for a few
// frames of mouse moves and clicks: whatever the reader accepts must draw and answer the mouse.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/Core_File.h"
#include "gui/Gui_HUD.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "scene/Engine_RenderQueue.h"
#include "tests/input/FakeInputBackend.h"
#include "tests/renderer/FakeRenderer.h"

namespace {

struct World {
  TestInput::FakeInputBackend backend;
  Core::SmartPointer<Renderer::FakeRenderer> renderer;
  std::unique_ptr<Engine::RenderQueue> queue;
  Core::SmartPointer<Input::Mouse> mouse;
  Core::SmartPointer<Input::Keyboard> keyboard;
  std::unique_ptr<GUI::HUD> hud;

  World() {
    backend.CoverWindow(640, 480);
    renderer = Renderer::FakeRenderer::Install(Renderer::RendererDescriptor(640, 480));
    queue = std::make_unique<Engine::RenderQueue>();
    queue->SetRenderer(renderer.Get());
    mouse = Input::MouseImp::CreateInstance();
    mouse->SetWindow(TestInput::FakeWindow());
    keyboard = Input::KeyboardImp::CreateInstance();
    keyboard->ClearGuard();
    hud = std::make_unique<GUI::HUD>();
  }
  void Frame() {
    mouse->Update();
    keyboard->Update();
    hud->Update(1.0f / 60.0f);
    queue->DrawScreenObjects();
    queue->ClearScreenObjects();
    renderer->ClearLog();
  }
};

World& TheWorld() {
  static World world;
  return world;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  World& world = TheWorld();
  world.hud->Reset();
  Core::MemoryFile file(data, static_cast<uint32_t>(size));
  world.hud->Load(file);
  // A sweep across the screen with a press and release at each stop reaches every loaded control.
  for (int stop = 0; stop < 4; ++stop) {
    world.backend.cursorX = 40 + stop * 150;
    world.backend.cursorY = 400 - stop * 110;
    world.Frame();
    world.backend.Hold(PAL::VirtualKey::LeftButton, true);
    world.Frame();
    world.backend.Hold(PAL::VirtualKey::LeftButton, false);
    world.Frame();
  }
  world.hud->Reset();
  return 0;
}
