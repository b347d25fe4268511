#pragma once

namespace Engine {

// The whole life of the process: starts the foundation, creates the application through
// CreateApplication, runs the main loop until the quit request, shuts everything down in reverse
// order and returns 0. Exceptions are not caught: what was started is stopped while they unwind.
int Main(const char* commandLine);

}  // namespace Engine
