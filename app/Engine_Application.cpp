#include "app/Engine_Application.h"

#include "platform/PAL_Window.h"

namespace Engine {
namespace {
Application* g_application = nullptr;
}

Application::Application() { g_application = this; }

Application::~Application() = default;

Application* Application::GetInstance() { return g_application; }

void Application::Quit() { PAL::PostQuit(); }

}  // namespace Engine
