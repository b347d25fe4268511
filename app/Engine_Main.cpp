#include "app/Engine_Main.h"

#include <new>
#include <string>

#include "core/Core_Initializer.h"
#include "app/Engine_Application.h"
#include "math/Math_Module.h"
#include "platform/PAL_Services.h"
#include "platform/PAL_Window.h"
#include "script/Lua_ScriptEngine.h"

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

// The one main Lua state, between the math start-up and the application; a script that fails
// to compile asks for the quit, which ends the loop at the next pump.
class ScriptEngineScope {
 public:
  ScriptEngineScope() {
    Lua::SetQuitRequestHandler([] { PAL::PostQuit(); });
    Lua::Initialize();
  }
  ~ScriptEngineScope() {
    Lua::Shutdown();
    Lua::SetQuitRequestHandler(nullptr);
  }
  ScriptEngineScope(const ScriptEngineScope&) = delete;
  ScriptEngineScope& operator=(const ScriptEngineScope&) = delete;
};

}  // namespace

int Main(const char* commandLine) {
  Core::Initializer foundation;
  MathModuleScope math;
  ScriptEngineScope scripts;

  Core::SmartPointer<Application> application;
  try {
    application = CreateApplication(commandLine != nullptr ? commandLine : "");
  } catch (const std::bad_alloc&) {
    // The half-built application is gone again, so there is memory enough to say why the
    // program did not start instead of ending without a word.
    const std::string name = PAL::GetExecutableName();
    PAL::ReportFailure("Error", (name.empty() ? std::string("The program") : name) +
                                    " cannot start: there is not enough memory.");
    return kExitOutOfMemory;
  }
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
