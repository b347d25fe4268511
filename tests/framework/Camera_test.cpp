// The camera's free-fly inspection mode, driven by the live keyboard.
#include <gtest/gtest.h>

#include "framework/Quillon_Camera.h"
#include "input/Internal_Keyboard.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/input/FakeInputBackend.h"

namespace {

using Core::SmartPointer;

class FreeFlyTest : public FrameworkTest::FrameworkFixture {
 protected:
  void Hold(int32_t key, bool held) { input_.Hold(Input::KeyTable[key], held); }
  void Frame(Quillon::Camera& camera) {
    keyboard_->Update();
    camera.UpdateFromKeyboard();
  }
  Math::Vector3D Position(Quillon::Camera& camera) {
    const Math::Matrix4x4& m = *camera.GetNode()->GetTransform();
    return Math::Vector3D(m.m[12], m.m[13], m.m[14]);
  }

  TestInput::FakeInputBackend input_;
  SmartPointer<Input::Keyboard> keyboard_ = Input::KeyboardImp::CreateInstance();
};

TEST_F(FreeFlyTest, OpposingKeysCancelAndResetRestoresTheStartPose) {
  SmartPointer<Quillon::Camera> camera(new Quillon::Camera(45.0f));
  keyboard_->Update();  // the guard lifts once no key is held
  Hold(Input::Key::Up, true);
  Hold(Input::Key::Down, true);
  Frame(*camera);
  EXPECT_NEAR(Position(*camera).z, 0.0f, 1e-5f);
  Hold(Input::Key::Down, false);
  Frame(*camera);
  Frame(*camera);
  EXPECT_NEAR(Position(*camera).z, -8.0f, 1e-4f);  // forward is -z at the start pose
  Hold(Input::Key::Up, false);
  Hold(70, true);  // R
  Frame(*camera);
  EXPECT_EQ(*camera->GetNode()->GetTransform(), Math::Matrix4x4());
  camera->ReleaseResources();
}

}  // namespace
