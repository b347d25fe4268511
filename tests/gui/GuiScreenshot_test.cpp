// A skinned form with a button over a cleared scene on the OpenGL renderer (Xvfb in CI), checked by
// the colours of known pixels.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gui/Gui_Button.h"
#include "gui/Gui_Form.h"
#include "gui/Gui_HUD.h"
#include "input/Internal_Mouse.h"
#include "platform/PAL_Window.h"
#include "renderer/Renderer_IRenderer.h"
#include "scene/Engine_RenderQueue.h"
#include "tests/input/FakeInputBackend.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr int32_t kWidth = 320;
constexpr int32_t kHeight = 240;

struct Pixel {
  int r, g, b;
};

TEST(GuiScreenshotTest, SkinnedFormWithAButtonOverTheScene) {
  VELKOR_REQUIRE_DISPLAY();
  TestInput::FakeInputBackend backend;
  backend.cursorX = 100 + 310;  // the cursor far from the form (client 640 x 480 at (100, 50))
  backend.cursorY = 50 + 479 - 230;
  auto window = std::make_unique<PAL::Window>(kWidth, kHeight);
  Renderer::RendererDescriptor descriptor(kWidth, kHeight);
  descriptor.window = window.get();
  Core::SmartPointer<Renderer::IRenderer> renderer = Renderer::IRenderer::Create(descriptor);
  ASSERT_TRUE(renderer);
  {
    Engine::RenderQueue queue;
    queue.SetRenderer(renderer.Get());
    Core::SmartPointer<Input::Mouse> mouse = Input::MouseImp::CreateInstance();
    auto hud = std::make_unique<GUI::HUD>();
    hud->ShowCursor(false);

    Core::SmartPointer<GUI::Form> form(new GUI::Form());
    form->SetSize(Math::Vector2D(200, 150));
    form->SetPosition(Math::Vector2D(40, 40));  // client area (48, 48) .. (232, 158)
    Core::SmartPointer<GUI::Button> button(new GUI::Button());
    button->SetSize(Math::Vector2D(80, 30));
    form->AddControl(button.Get());
    button->SetPosition(Math::Vector2D(20, 20));  // screen (68, 68) .. (148, 98)
    hud->AddForm(form);

    renderer->ClearBuffers(Math::Color(0.0f, 0.0f, 0.0f, 1.0f), 1.0f, 0);
    hud->Update(1.0f / 60.0f);
    hud->Update(1.0f / 60.0f);
    GUI::FlushRenderQueue();

    std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 3);
    renderer->ReadPixels(pixels.data());
    auto at = [&](int x, int y) {
      const size_t i = (static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)) * 3;
      return Pixel{pixels[i], pixels[i + 1], pixels[i + 2]};
    };
    const Pixel scene = at(300, 220);
    EXPECT_LT(scene.r + scene.g + scene.b, 30) << "the cleared scene outside the form";
    const Pixel client = at(200, 130);
    EXPECT_NEAR(client.r, 128, 30) << "the grey picture of the client area";
    EXPECT_NEAR(client.g, 128, 30);
    EXPECT_NEAR(client.b, 128, 30);
    const Pixel caption = at(120, 175);
    EXPECT_GT(caption.b, 150) << "the caption bar in the form's blue";
    EXPECT_LT(caption.r, 80);
    const Pixel face = at(108, 83);
    EXPECT_GT(face.b, face.r + 40) << "the button's blue plate over the grey picture";
    EXPECT_NE(face.r, client.r);
    // The close button covers (218, 168) .. (238, 188); beside its cross the plate is red.
  const Pixel close = at(232, 178);
    EXPECT_GT(close.r, close.b + 40) << "the red close button in the top-right corner";
    hud.reset();
  }
  renderer.Reset();
  window.reset();
}

}  // namespace
