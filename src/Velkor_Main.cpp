// The process entry: hands the command line to the engine's main function.
#include <string>

#include "app/Engine_Main.h"

int main(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  return Engine::Main(commandLine.c_str());
}
