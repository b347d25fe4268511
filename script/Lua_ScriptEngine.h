#pragma once
// The one main Lua state that every script thread belongs to: its start-up and shutdown, the
// engine's Lua bootstrap, protected calls that keep tracebacks, and the quit request that a script
// which does not compile makes.
#include <functional>
#include <stdexcept>
#include <string>

struct lua_State;

namespace Lua {

// Creates the main state, opens the standard libraries, registers every script method table and
// runs the engine's bootstrap followed by every registered BootstrapChunk. Returns false, with the
// reason in error, when a bootstrap chunk fails (the "Script Error" box is shown; the state stays
// usable). Does nothing more when the state already exists.
bool Initialize(std::string* error = nullptr);
// Destroys every script still alive, then closes the main state. Safe to call without Initialize.
void Shutdown();
// Null before Initialize and after Shutdown.
lua_State* GetMainState();

// A piece of Lua that Initialize runs in the main state after the engine's own bootstrap, in order
// of (order, name): the script-side constructors other subsystems need (for example the contact
// tables of collision). Define one as a static object; it registers itself during static
// initialisation. A chunk registered after Initialize runs at the next Initialize.
class BootstrapChunk {
 public:
  BootstrapChunk(const char* name, const char* source, int order = 0);
  ~BootstrapChunk();
  BootstrapChunk(const BootstrapChunk&) = delete;
  BootstrapChunk& operator=(const BootstrapChunk&) = delete;
};

// What a broken script asks for: the application wires this to its quit (the game then ends at the
// next message pump). Without a handler the request is only remembered.
using QuitRequestHandler = std::function<void()>;
void SetQuitRequestHandler(QuitRequestHandler handler);
void RequestQuit();
// True once RequestQuit ran since Initialize.
bool IsQuitRequested();

// A Lua error raised where no protected call catches it: thrown instead of ending the process.
class PanicError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Keeps script threads that are released while it lives (a script destroying its own object from
// inside its code) alive until the outermost scope ends. ProtectedCall opens one; code that runs a
// script thread without ProtectedCall must hold one around the run.
class CallScope {
 public:
  CallScope();
  ~CallScope();
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;
};

// Calls the function that sits below its argumentCount arguments on the state's stack, protected
// and with a traceback handler. Success leaves resultCount results (LUA_MULTRET: all) and returns
// true. Failure pops the function and its arguments, stores "message\ntraceback" in error, writes it
// to stderr and returns false. Never raises and never throws.
bool ProtectedCall(lua_State* state, int argumentCount, int resultCount, std::string* error = nullptr);

// Used by LuaScript: anchors the thread on top of the main stack in the registry (popping it) and
// returns the anchor; releasing drops the anchor, deferred while a CallScope is open.
int AnchorThread(lua_State* mainState);
void ReleaseThread(int anchor);

}  // namespace Lua
