#include "app/Engine_Main.h"

#include "app/Core_Initializer.h"
#include "app/Engine_Application.h"
#include "math/Math_Module.h"
#include "platform/PAL_Window.h"

namespace Engine {
namespace {

// The math module's scratch storage lives exactly as long as this object, also when an
// exception unwinds Main.
class MathModuleScope {
 public:
  MathModuleScope() { Math::Initialize(); }
  ~MathModuleScope() { Math::Shutdown(); }
  MathModuleScope(const MathModuleScope&) = delete;
  MathModuleScope& operator=(const MathModuleScope&) = delete;
};

}  // namespace

int Main(const char* commandLine) {
  Core::Initializer foundation;
  MathModuleScope math;
  // TODO(script): start the one main Lua state here (and stop it after the application is
  // released) once script/ provides its start-up and shutdown.

  Core::SmartPointer<Application> application = CreateApplication(commandLine != nullptr ? commandLine : "");
  if (application) {
    // The pump runs before every pass, so a quit posted during a frame (or during the
    // application's construction) ends the loop before the next BeginFrame.
    while (PAL::ProcessMessages()) {
      application->BeginFrame();
      application->Update();
      application->EndFrame();
    }
    application->Shutdown();
  }
  application.Reset();
  return 0;
}

}  // namespace Engine
