#include "framework/Quillon_Viewport.h"

#include "core/Core_File.h"
#include "core/Core_String.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Level.h"
#include "scene/Engine_SceneGraph.h"

namespace Quillon {

namespace {
int32_t NotNegative(int32_t value) { return value < 0 ? 0 : value; }
}  // namespace

VELKOR_IMPLEMENT_CLASS(Viewport, "Quillon::Viewport");

Viewport::Viewport(int32_t x, int32_t y, int32_t width, int32_t height)
    : m_engineViewport(new (__FILE__, __LINE__) Engine::Viewport(x, y, NotNegative(width), NotNegative(height), 0)) {}

Viewport::Viewport(const Viewport& other)
    : Core::Object(other),
      m_engineViewport(static_cast<Engine::Viewport*>(other.m_engineViewport->Clone())),
      m_name(other.m_name),
      m_background(other.m_background),
      m_camera(other.m_camera),
      m_cameraReference(other.m_cameraReference),
      m_loadedBackground(other.m_loadedBackground) {}

int Viewport::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

void Viewport::Set(int32_t x, int32_t y, int32_t width, int32_t height) {
  // The engine viewport fixes its rectangle at construction: a new one takes the old one's colour
  // and background.
  const Math::Color clearColor = m_engineViewport->GetClearColor();
  m_engineViewport = new (__FILE__, __LINE__) Engine::Viewport(x, y, NotNegative(width), NotNegative(height), 0);
  m_engineViewport->SetClearColor(clearColor);
  if (!m_loadedBackground.empty()) m_engineViewport->SetBackground(m_loadedBackground);
}

void Viewport::LoadBackgroundImage(const std::string& path) {
  m_loadedBackground = path;
  m_engineViewport->SetBackground(path);
}

void Viewport::SetBackground(const std::string& path) {
  m_background = path;
  LoadBackgroundImage(path);
}

void Viewport::Render() {
  if (m_camera == nullptr) return;
  Engine::SceneGraph* sceneGraph = GetGameServices().GetSceneGraph();
  if (sceneGraph == nullptr) return;
  sceneGraph->RenderView(m_camera->GetEngineCamera(), m_engineViewport);
}

void Viewport::Save(Core::File& file) {
  file << m_name;
  file.WriteObject(m_camera);
  Core::WriteValue<int32_t>(file, GetX());
  Core::WriteValue<int32_t>(file, GetY());
  Core::WriteValue<uint32_t>(file, GetWidth());
  Core::WriteValue<uint32_t>(file, GetHeight());
  Math::WriteColor(file, GetClearColor());
  Level* level = GetGameServices().GetCurrentLevel();
  file << (level ? level->GetName() : std::string());
  file << std::string(Core::GetFileName(m_background));
}

void Viewport::SetCamera(Camera* camera) {
  m_camera = camera;
  m_cameraReference = camera;
}

void Viewport::Load(Core::File& file) {
  file >> m_name;
  SetCamera(Core::ReadTypedObject<Camera>(file));
  const int32_t x = Core::ReadValue<int32_t>(file);
  const int32_t y = Core::ReadValue<int32_t>(file);
  // Sizes are stored unsigned; one that reads back negative as a signed value becomes 0.
  const int32_t width = static_cast<int32_t>(Core::ReadValue<uint32_t>(file));
  const int32_t height = static_cast<int32_t>(Core::ReadValue<uint32_t>(file));
  Math::Color clearColor;
  Math::ReadColor(file, clearColor);
  std::string levelName;
  file >> levelName;
  std::string background;
  file >> background;
  if (file.HasFailed()) return;
  m_loadedBackground.clear();
  Set(x, y, width, height);
  SetClearColor(clearColor);
  m_background = background;
  // Both names become parts of a path: only bare names are taken from a file.
  auto bare = [](const std::string& name) {
    return name.find_first_of("\\/") == std::string::npos && name != ".." && name != ".";
  };
  if (!m_background.empty() && bare(m_background) && bare(levelName)) {
    LoadBackgroundImage(GetGameServices().GetDirectory() + "\\Resources\\Viewports Backgrounds\\" + levelName + "\\" +
                        m_background);
  }
}

}  // namespace Quillon
