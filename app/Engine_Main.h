#pragma once

namespace Engine {

// The whole life of the process: starts the foundation, creates the application through
// CreateApplication, runs the main loop until the quit request, shuts everything down in reverse
// order and returns 0. Running out of memory while creating the application is reported on stderr
// (and in the error box where there is a display) and returns kExitOutOfMemory. Other exceptions
// are not caught: what was started is stopped while they unwind.
constexpr int kExitOutOfMemory = 1;
int Main(const char* commandLine);

}  // namespace Engine
