// Runs the probe program under the X display and drives it from outside the process, the way a
// user and a window manager would: keys and clicks through XTest, close requests as WM messages.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "tests/support/TestSupport.h"

namespace {

class Probe {
 public:
  Probe() : m_pipe(popen(VELKOR_WINDOW_PROBE " 2>&1", "r")) {}
  ~Probe() {
    if (m_pipe != nullptr) Close();
  }
  bool IsRunning() const { return m_pipe != nullptr; }

  // The next line the probe prints, or "" after the timeout. Reads the descriptor directly:
  // stdio buffering would hide lines from poll.
  std::string ReadLine(int timeoutMilliseconds = 10000) {
    pollfd descriptor{fileno(m_pipe), POLLIN, 0};
    while (true) {
      const std::size_t end = m_buffered.find('\n');
      if (end != std::string::npos) {
        std::string line = m_buffered.substr(0, end);
        m_buffered.erase(0, end + 1);
        return line;
      }
      if (poll(&descriptor, 1, timeoutMilliseconds) <= 0) return "";
      char chunk[256];
      const ssize_t count = read(descriptor.fd, chunk, sizeof(chunk));
      if (count <= 0) return std::exchange(m_buffered, std::string());
      m_buffered.append(chunk, static_cast<std::size_t>(count));
    }
  }

  // The probe's exit status (-1 when it did not exit normally).
  int Close() {
    // Read to the end first: closing the pipe under a still-writing probe would kill it.
    char chunk[256];
    while (read(fileno(m_pipe), chunk, sizeof(chunk)) > 0) {
    }
    const int status = pclose(m_pipe);
    m_pipe = nullptr;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  FILE* m_pipe;
  std::string m_buffered;
};

void RunCommand(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

}  // namespace

TEST(OutsideInputTest, KeysClicksAndCloseRequestsReachTheProgram) {
  VELKOR_REQUIRE_DISPLAY();
  if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "xdotool is not installed";

  Probe probe;
  ASSERT_TRUE(probe.IsRunning());
  const std::string first = probe.ReadLine();
  ASSERT_EQ(first.rfind("window ", 0), 0u) << first;
  const std::string id = first.substr(7);
  ASSERT_NE(id, "0");

  // Pointer into the window and keyboard focus onto it (there is no window manager to do it).
  RunCommand("xdotool windowraise " + id + " mousemove --sync --window " + id + " 20 30");
  RunCommand("xdotool windowfocus --sync " + id);

  // Held across several frames, so the down and the up are reported in frames of their own.
  RunCommand("xdotool keydown a");
  EXPECT_EQ(probe.ReadLine(), "key A down");
  RunCommand("sleep 0.1; xdotool keyup a");
  EXPECT_EQ(probe.ReadLine(), "key A up");

  RunCommand("xdotool mousedown 1");
  // 240 - 1 - 30: the engine counts rows from the bottom.
  EXPECT_EQ(probe.ReadLine(), "button 0 down at 20 209");
  RunCommand("sleep 0.1; xdotool mouseup 1");
  EXPECT_EQ(probe.ReadLine(), "button 0 up");

  RunCommand(std::string(VELKOR_SEND_CLOSE_REQUEST) + " " + id);
  EXPECT_EQ(probe.ReadLine(), "close cancelled");
  RunCommand(std::string(VELKOR_SEND_CLOSE_REQUEST) + " " + id);
  EXPECT_EQ(probe.ReadLine(), "close accepted");
  EXPECT_EQ(probe.ReadLine(), "shutdown");
  EXPECT_EQ(probe.Close(), 0);
}
