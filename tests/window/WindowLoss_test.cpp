// The game on an X server of its own, its window taken away from outside: closed as a desktop's
// close button does, destroyed by another program (as `xdotool windowclose` does), or its whole
// display gone. Each time the game must end as a close ends it (its shutdown runs, exit status 0,
// its save in place) within a few seconds, and say why on standard error; it must never hang in
// Xlib's error path or die in Xlib's default handler.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/support/TestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;

// An Xvfb that only this test uses, so that killing it harms no other test.
class PrivateDisplay {
 public:
  PrivateDisplay() {
    int ready[2];
    if (pipe(ready) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      dup2(ready[1], 3);
      const int quiet = open("/dev/null", O_WRONLY);
      dup2(quiet, 1);
      dup2(quiet, 2);
      execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1280x720x24", "-nolisten", "tcp", nullptr);
      _exit(127);
    }
    close(ready[1]);
    // Xvfb writes its display number once it accepts clients.
    pollfd descriptor{ready[0], POLLIN, 0};
    char text[32] = {};
    if (m_pid > 0 && poll(&descriptor, 1, 30000) > 0 && read(ready[0], text, sizeof(text) - 1) > 0)
      m_name = ":" + std::to_string(std::atoi(text));
    close(ready[0]);
  }
  ~PrivateDisplay() { Kill(); }
  const std::string& GetName() const { return m_name; }
  void Kill() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
  }

 private:
  pid_t m_pid = -1;
  std::string m_name;
};

class RunningGame {
 public:
  RunningGame(const std::string& display, const std::string& errorLog) {
    m_pid = fork();
    if (m_pid == 0) {
      setenv("DISPLAY", display.c_str(), 1);
      setenv("ALSOFT_DRIVERS", "null", 1);
      const int quiet = open("/dev/null", O_WRONLY);
      const int log = open(errorLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(quiet, 1);
      dup2(log, 2);
      execl(VELKOR_GAME, VELKOR_GAME, nullptr);
      _exit(127);
    }
  }
  ~RunningGame() {
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }
  // The exit status, or -1 when the game is still running after the given time (or did not exit
  // normally).
  int WaitForExit(std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (Clock::now() < end) {
      int status = 0;
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
  }
  // For a failure message: how the game ended, or that it still runs. Reaps it when it has ended.
  std::string Describe() {
    if (m_pid <= 0) return "did not start";
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) != m_pid) return "is still running";
    m_pid = -1;
    if (WIFSIGNALED(status)) return "was killed by signal " + std::to_string(WTERMSIG(status));
    return "exited with status " + std::to_string(WEXITSTATUS(status));
  }

 private:
  pid_t m_pid = -1;
};

// Why the game did not get as far as the test wanted: its state and the end of its standard error,
// bounded so that a game that floods it still leaves a readable report.
std::string Report(RunningGame& game, const std::string& errorLog) {
  const std::string errors = TestSupport::ReadWholeFile(errorLog);
  const size_t kept = 4096;
  return "; the game " + game.Describe() + "; its standard error" +
         (errors.size() > kept ? " ends:\n..." + errors.substr(errors.size() - kept) : ":\n" + errors);
}

std::string Run(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char chunk[256];
    while (std::fgets(chunk, sizeof(chunk), pipe) != nullptr) output += chunk;
    pclose(pipe);
  }
  while (!output.empty() && (output.back() == '\n' || output.back() == ' ')) output.pop_back();
  return output;
}

enum class Loss { CloseRequest, WindowDestroyed, DisplayGone };

// Starts the game, waits until its window shows and its save is written, takes the window away and
// checks how the game ends.
void LoseTheWindow(Loss loss, const char* expectedLine) {
  if (Run("command -v Xvfb").empty() || Run("command -v xdotool").empty()) GTEST_SKIP() << "Xvfb or xdotool is not installed";
  PrivateDisplay display;
  ASSERT_FALSE(display.GetName().empty()) << "Xvfb did not start";
  const std::string errorLog = TestSupport::MakeTempDirectory("velkor_loss_") + "/stderr.txt";
  const std::string save = std::string(std::getenv("XDG_DATA_HOME")) + "/velkor/scoreData.txt";

  RunningGame game(display.GetName(), errorLog);
  // xdotool dies of a BadWindow when a window it walks vanishes under it (the renderer's short-lived
  // probe window can), so it is asked again until the game's window shows.
  std::string window;
  for (int i = 0; i < 1200 && window.empty(); ++i) {
    window = Run("DISPLAY=" + display.GetName() +
                 " xdotool search --onlyvisible --classname QLN3DRenderingWindow 2>/dev/null | head -1");
    if (window.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_FALSE(window.empty()) << "the game's window never showed" << Report(game, errorLog);
  for (int i = 0; i < 6000 && !std::filesystem::exists(save); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(std::filesystem::exists(save)) << "the game never wrote its save" << Report(game, errorLog);

  const auto taken = Clock::now();
  switch (loss) {
    case Loss::CloseRequest:
      ASSERT_EQ(std::system(("DISPLAY=" + display.GetName() + " " VELKOR_SEND_CLOSE_REQUEST " " + window).c_str()), 0);
      break;
    case Loss::WindowDestroyed:
      ASSERT_EQ(std::system(("DISPLAY=" + display.GetName() + " xdotool windowclose " + window).c_str()), 0);
      break;
    case Loss::DisplayGone:
      display.Kill();
      break;
  }
  // The game ends well within two seconds on an idle machine; the limit leaves room for a loaded one.
  EXPECT_EQ(game.WaitForExit(std::chrono::seconds(10)), 0) << TestSupport::ReadWholeFile(errorLog);
  const double seconds = std::chrono::duration<double>(Clock::now() - taken).count();
  std::printf("ended %.2f s after the window was taken\n", seconds);

  const std::string errors = TestSupport::ReadWholeFile(errorLog);
  if (expectedLine != nullptr) {
    EXPECT_NE(errors.find(expectedLine), std::string::npos) << errors;
  } else {
    EXPECT_EQ(errors.find("ending as if"), std::string::npos) << errors;
  }
  const std::string saved = TestSupport::ReadWholeFile(save);
  EXPECT_EQ(saved.rfind("-PlayerData-", 0), 0u) << saved;
  EXPECT_NE(saved.find("_______AI_Set_______"), std::string::npos) << "the save is not whole: " << saved;
  std::filesystem::remove_all(std::filesystem::path(errorLog).parent_path());
}

}  // namespace

TEST(WindowLossTest, CloseButtonEndsTheGameAsBefore) { LoseTheWindow(Loss::CloseRequest, nullptr); }

TEST(WindowLossTest, WindowDestroyedByAnotherProgramEndsTheGame) {
  LoseTheWindow(Loss::WindowDestroyed,
                "velkor: the window was destroyed by another program; ending as if the window had been closed.");
}

TEST(WindowLossTest, LostDisplayEndsTheGame) {
  LoseTheWindow(Loss::DisplayGone,
                "velkor: the connection to the display was lost; ending as if the window had been closed.");
}

TEST(WindowLossTest, NoDisplayToOpenEndsTheGameWithAReason) {
  // Without a display the video layer would draw off screen, and the game would run on unseen.
  const std::string errorLog = TestSupport::MakeTempDirectory("velkor_loss_") + "/stderr.txt";
  std::string gone;
  {
    PrivateDisplay display;
    gone = display.GetName();
  }
  ASSERT_FALSE(gone.empty()) << "Xvfb did not start";
  RunningGame game(gone, errorLog);
  const int status = game.WaitForExit(std::chrono::seconds(60));
  EXPECT_GT(status, 0) << Report(game, errorLog);
  EXPECT_NE(TestSupport::ReadWholeFile(errorLog).find("no display could be opened"), std::string::npos)
      << TestSupport::ReadWholeFile(errorLog);
  std::filesystem::remove_all(std::filesystem::path(errorLog).parent_path());
}
