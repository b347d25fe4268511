#pragma once
// A game object carrying an engine camera, so a camera moves, turns and mounts like any object. One
// camera at a time is the active listener that positioned sounds hear from.
#include "framework/Quillon_GameObject.h"
#include "scene/Engine_Camera.h"

namespace Quillon {

class Camera : public GameObject {
 public:
  static constexpr const char* ScriptClassName = "Camera";

  // The registry's camera: a 45 degree field of view.
  Camera() : Camera(45.0f) {}
  explicit Camera(float fieldOfView);
  Camera(const Camera& other);
  ~Camera() override;
  VELKOR_DECLARE_CLASS(Camera);
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void ReleaseResources() override;

  void SetFOV(float degrees);
  float GetFOV() const { return m_fieldOfView; }
  void BuildFrustum(Math::Frustum& out, int width, int height) const;
  const Core::SmartPointer<Engine::Camera>& GetEngineCamera() const { return m_engineCamera; }

  static Camera* GetActiveListener();
  void MakeActiveListener();
  bool IsActiveListener() const { return GetActiveListener() == this; }
  // The whole-game save keeps which camera listens.
  static void SaveActiveListener(Core::File& file);
  static void LoadActiveListener(Core::File& file);

  // Free-fly inspection: arrow keys, Q/A, Z/X move; W/S, Left/Right, V/C turn; R resets. The pose is
  // shared by every camera and kept between calls.
  void UpdateFromKeyboard();
  // Back to the start pose (tests and level changes).
  static void ResetFreeFly();

 private:
  Core::SmartPointer<Engine::Camera> m_engineCamera;
  float m_fieldOfView = 45.0f;
  uint8_t m_released = 0;
};

}  // namespace Quillon
