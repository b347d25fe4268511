// Every engine library is linked whole, the engine's main function included; the scene tests run
// no application of their own.
#include "app/Engine_Application.h"

Core::SmartPointer<Engine::Application> CreateApplication(const char*) { return nullptr; }
