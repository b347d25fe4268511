#include "framework/Quillon_Camera.h"

#include "core/Core_File.h"
#include "input/Internal_Keyboard.h"
#include "math/Math_Quaternion.h"
#include "math/Math_Stream.h"

namespace Quillon {

namespace {

Camera* g_activeListener = nullptr;

// Free-fly pose.
Math::Vector3D g_freeFlyPosition;
Math::Quaternion g_freeFlyOrientation;

namespace Keys {
constexpr int32_t Left = 32, Up = 33, Right = 34, Down = 35, A = 53, C = 55, Q = 69, R = 70, S = 71, V = 74, W = 75,
                  X = 76, Z = 78;
}

Math::Vector3D Direction(const Math::Matrix4x4& rotation, const Math::Vector3D& axis) {
  Math::Vector3D tip = rotation * axis;
  Math::Vector3D origin = rotation * Math::Vector3D(0.0f, 0.0f, 0.0f);
  Math::Vector3D direction(tip.x - origin.x, tip.y - origin.y, tip.z - origin.z);
  direction.Normalize();
  return direction;
}

}  // namespace

VELKOR_IMPLEMENT_CLASS(Camera, "Quillon::Camera");

Camera::Camera(float fieldOfView)
    : m_engineCamera(new (__FILE__, __LINE__) Engine::Camera(fieldOfView, 0.1f, 10000.0f)), m_fieldOfView(fieldOfView) {
  m_node->AddChild(m_engineCamera);
  if (g_activeListener == nullptr) g_activeListener = this;
}

Camera::Camera(const Camera& other)
    : GameObject(other),
      m_engineCamera(static_cast<Engine::Camera*>(other.m_engineCamera->Clone())),
      m_fieldOfView(other.m_fieldOfView),
      m_released(other.m_released) {
  m_node->AddChild(m_engineCamera);
}

Camera::~Camera() {
  Camera::ReleaseResources();
  // A loaded camera may say its resources are already released: it still stops listening.
  if (g_activeListener == this) g_activeListener = nullptr;
}

int Camera::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

void Camera::ReleaseResources() {
  if (m_released == 0) {
    if (g_activeListener == this) g_activeListener = nullptr;
    m_released = 1;
  }
  GameObject::ReleaseResources();
}

void Camera::SetFOV(float degrees) {
  m_fieldOfView = degrees;
  m_engineCamera->SetFOV(degrees);
}

void Camera::BuildFrustum(Math::Frustum& out, int width, int height) const { m_engineCamera->BuildFrustum(out, width, height); }

Camera* Camera::GetActiveListener() { return g_activeListener; }

void Camera::MakeActiveListener() { g_activeListener = this; }

void Camera::SaveActiveListener(Core::File& file) { file.WriteObject(g_activeListener); }

void Camera::LoadActiveListener(Core::File& file) {
  auto* camera = Core::ReadTypedObject<Camera>(file);
  // Only a camera of the loaded game listens. One first met here belongs to nothing: the stream
  // keeps it until the load ends.
  if (camera != nullptr && file.LastReadCreatedObject()) {
    file.DiscardCreatedObject(camera);
    camera = nullptr;
  }
  // A camera whose resources are gone can no longer listen.
  g_activeListener = camera != nullptr && !camera->IsDestroyed() ? camera : nullptr;
}

void Camera::Save(Core::File& file) {
  GameObject::Save(file);
  Core::WriteValue<uint8_t>(file, m_released);
  Math::WriteFloat(file, m_fieldOfView);
}

void Camera::Load(Core::File& file) {
  LoadBase(file);
  Core::ReadValue(file, m_released);
  Math::ReadFloat(file, m_fieldOfView);
  m_engineCamera->SetFOV(m_fieldOfView);
}

void Camera::ResetFreeFly() {
  g_freeFlyPosition = Math::Vector3D(0.0f, 0.0f, 0.0f);
  g_freeFlyOrientation = Math::Quaternion();
}

void Camera::UpdateFromKeyboard() {
  g_freeFlyOrientation.Normalize();
  Math::Matrix4x4 rotation;
  g_freeFlyOrientation.GetMatrix(rotation);
  const Math::Vector3D forward = Direction(rotation, Math::Vector3D(0.0f, 0.0f, -1.0f));
  const Math::Vector3D right = Direction(rotation, Math::Vector3D(1.0f, 0.0f, 0.0f));
  const Math::Vector3D up = Direction(rotation, Math::Vector3D(0.0f, 1.0f, 0.0f));
  Input::Keyboard* keyboard = Input::Keyboard::GetInstance();
  if (keyboard != nullptr) {
    auto move = [](const Math::Vector3D& direction, float amount) {
      g_freeFlyPosition = Math::Vector3D(g_freeFlyPosition.x + direction.x * amount,
                                         g_freeFlyPosition.y + direction.y * amount,
                                         g_freeFlyPosition.z + direction.z * amount);
    };
    auto turn = [](const Math::Vector3D& axis, float degrees) {
      g_freeFlyOrientation *= Math::Quaternion(axis, degrees);
      g_freeFlyOrientation.Normalize();
    };
    if (keyboard->IsPressed(Keys::Up)) move(forward, 4.0f);
    if (keyboard->IsPressed(Keys::Down)) move(forward, -4.0f);
    if (keyboard->IsPressed(Keys::Q)) move(up, 4.0f);
    if (keyboard->IsPressed(Keys::A)) move(up, -4.0f);
    if (keyboard->IsPressed(Keys::Z)) move(right, -4.0f);
    if (keyboard->IsPressed(Keys::X)) move(right, 4.0f);
    if (keyboard->IsPressed(Keys::W)) turn(right, -4.0f);
    if (keyboard->IsPressed(Keys::S)) turn(right, 4.0f);
    if (keyboard->IsPressed(Keys::Right)) turn(up, 4.0f);
    if (keyboard->IsPressed(Keys::Left)) turn(up, -4.0f);
    if (keyboard->IsPressed(Keys::V)) turn(forward, 4.0f);
    if (keyboard->IsPressed(Keys::C)) turn(forward, -4.0f);
    if (keyboard->IsPressed(Keys::R)) ResetFreeFly();
  }
  m_node->SetTransform(Math::Matrix4x4::MakeTranslation(g_freeFlyPosition.x, g_freeFlyPosition.y, g_freeFlyPosition.z) *
                       rotation);
}

}  // namespace Quillon
