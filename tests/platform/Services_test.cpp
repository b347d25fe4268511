#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/PAL_Services.h"
#include "tests/support/TestSupport.h"

namespace {

using PAL::MessageBoxButton;
using PAL::MessageBoxIcon;
using testing::ElementsAre;
using testing::HasSubstr;

std::string ReadLink(const char* path) {
  char buffer[8192];
  const ssize_t length = readlink(path, buffer, sizeof(buffer));
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

TEST(ExecutablePath, DirectoryAndNameMakeUpTheRunningExecutableSplitAtTheLastSeparator) {
  const std::string directory = PAL::GetExecutableDirectory();
  const std::string name = PAL::GetExecutableName();
  EXPECT_EQ(name, "platform_tests");
  EXPECT_EQ(directory + "/" + name, ReadLink("/proc/self/exe"));
  EXPECT_NE(directory.back(), '/');
  EXPECT_TRUE(PAL::IsDirectory(directory));
  // The split is at the last separator: path, directory, name.
  const char* const splits[][3] = {
      {"/opt/velkor/bin/velkor", "/opt/velkor/bin", "velkor"}, {"velkor", "velkor", "velkor"}, {"/velkor", "", "velkor"},
      {"", "", ""}};
  for (const auto& split : splits) {
    std::string head, tail;
    PAL::SplitExecutablePath(split[0], head, tail);
    EXPECT_EQ(head, split[1]) << split[0];
    EXPECT_EQ(tail, split[2]) << split[0];
  }
}

class FileSystemServices : public testing::Test {
 protected:
  void SetUp() override { m_directory = TestSupport::MakeTempDirectory("pal_services"); }
  void TearDown() override {
    std::vector<std::string> names;
    PAL::ListDirectory(m_directory, names);
    for (const std::string& name : names) {
      if (name == "." || name == "..") continue;
      const std::string path = m_directory + "/" + name;
      if (rmdir(path.c_str()) != 0) unlink(path.c_str());
    }
    rmdir(m_directory.c_str());
  }
  std::string m_directory;
};

TEST_F(FileSystemServices, AttributeTestsAnswerTrueForMissingPaths) {
  ASSERT_TRUE(TestSupport::WriteWholeFile(m_directory + "/scoreData.txt", "x"));
  ASSERT_EQ(mkdir((m_directory + "/Saves").c_str(), 0755), 0);

  EXPECT_TRUE(PAL::IsDirectory(m_directory));
  EXPECT_FALSE(PAL::IsSystemFile(m_directory));
  EXPECT_FALSE(PAL::IsDirectory(m_directory + "/scoreData.txt"));
  EXPECT_FALSE(PAL::IsSystemFile(m_directory + "/scoreData.txt"));
  EXPECT_TRUE(PAL::IsDirectory(m_directory + "\\Saves\\"));
  EXPECT_TRUE(PAL::IsDirectory(m_directory + "/missing"));
  EXPECT_TRUE(PAL::IsSystemFile(m_directory + "/missing"));
  // Names are case-sensitive.
  EXPECT_TRUE(PAL::IsSystemFile(m_directory + "/ScoreData.txt"));
}

TEST_F(FileSystemServices, ListsEveryEntryAndAppends) {
  ASSERT_TRUE(TestSupport::WriteWholeFile(m_directory + "/a.txt", "a"));
  ASSERT_TRUE(TestSupport::WriteWholeFile(m_directory + "/B.png", "b"));
  ASSERT_EQ(mkdir((m_directory + "/Saves").c_str(), 0755), 0);

  std::vector<std::string> names{"kept"};
  ASSERT_TRUE(PAL::ListDirectory(m_directory + "\\", names));
  ASSERT_EQ(names.front(), "kept");
  std::sort(names.begin() + 1, names.end());
  EXPECT_THAT(names, ElementsAre("kept", ".", "..", "B.png", "Saves", "a.txt"));

  std::vector<std::string> untouched{"kept"};
  EXPECT_FALSE(PAL::ListDirectory(m_directory + "/missing", untouched));
  EXPECT_FALSE(PAL::ListDirectory(m_directory + "/a.txt", untouched));
  EXPECT_FALSE(PAL::ListDirectory("", untouched));
  EXPECT_THAT(untouched, ElementsAre("kept"));
}

TEST_F(FileSystemServices, ListsDirectoriesFarBeyondThePathLimit) {
  // 30 levels of 200-character names: more than 6000 characters, over the system's path limit.
  const std::string component(200, 'd');
  std::vector<int> descriptors{open(m_directory.c_str(), O_RDONLY | O_DIRECTORY)};
  std::string deepPath = m_directory;
  for (int level = 0; level < 30; ++level) {
    ASSERT_EQ(mkdirat(descriptors.back(), component.c_str(), 0755), 0);
    descriptors.push_back(openat(descriptors.back(), component.c_str(), O_RDONLY | O_DIRECTORY));
    ASSERT_GE(descriptors.back(), 0);
    deepPath += (level % 2 == 0 ? "\\" : "/") + component;
  }
  const int file = openat(descriptors.back(), "deep.txt", O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(file, 0);
  close(file);
  ASSERT_GT(deepPath.size(), 6000u);

  std::vector<std::string> names;
  EXPECT_TRUE(PAL::ListDirectory(deepPath, names));
  std::sort(names.begin(), names.end());
  EXPECT_THAT(names, ElementsAre(".", "..", "deep.txt"));

  // Clean up from the bottom, through the descriptors.
  unlinkat(descriptors.back(), "deep.txt", 0);
  for (std::size_t i = descriptors.size() - 1; i > 0; --i) {
    close(descriptors[i]);
    unlinkat(descriptors[i - 1], component.c_str(), AT_REMOVEDIR);
  }
  close(descriptors[0]);
}

TEST(ErrorReport, ComposesTheTextWithoutALengthLimit) {
  EXPECT_EQ(PAL::ComposeErrorText("open", 2, "No such file or directory", "Load", "Core_File", 43),
            "The \"open\" function failed with error 2: No such file or directory\n"
            "Enclosing Function: Load\nFile: Core_File\nLine: 43");
  const std::string huge(100000, 'x');
  const std::string text = PAL::ComposeErrorText(huge, -1, huge, huge, huge, 7);
  EXPECT_EQ(text.size(), 4 * huge.size() + std::string("The \"\" function failed with error -1: \n"
                                                        "Enclosing Function: \nFile: \nLine: 7").size());
  EXPECT_EQ(text.substr(text.size() - 8), "\nLine: 7");
  // Format characters in the texts are shown, not interpreted.
  EXPECT_THAT(PAL::ComposeErrorText("%s%n", 1, "%d", "", "", 0), HasSubstr("\"%s%n\" function failed with error 1: %d"));
}

TEST(ErrorReport, CallNotReportedAsFailedReturns) {
  PAL::SetErrorContext("open", "ErrorReport", 10, "Services_test");
  errno = ENOENT;
  PAL::CheckWin32Error(false);
  SUCCEED();
}

TEST(ErrorReportDeathTest, FailureWithoutErrorCodeIsStillReportedAndEndsWithOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        PAL::SetErrorContext("SDL_CreateWindow", "Window::Create", 41, "PAL_Window");
        PAL::CheckWin32Error(true);
      },
      testing::ExitedWithCode(1),
      HasSubstr("Error: The \"SDL_CreateWindow\" function failed with error 0: no error code was given\n"
                "Enclosing Function: Window::Create\nFile: PAL_Window\nLine: 42"));
}

TEST(ErrorReportDeathTest, FailureEndsWithTheErrorCodeAfterShowingTheBox) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        PAL::SetMessageBoxHook([](const PAL::MessageBoxRequest& request, std::uint32_t& answer) {
          std::fprintf(stderr, "hook caption=%s icon=%d buttons=%zu first=%u\n%s\n", request.caption.c_str(),
                       request.icon, request.buttons.size(), request.buttons[0], request.text.c_str());
          answer = MessageBoxButton::OK;
          return true;
        });
        PAL::SetErrorContext("open", "DiskFile::Open", 99, "Core_File");
        const int descriptor = open("/nonexistent/velkor/file", O_RDONLY);
        PAL::CheckWin32Error(descriptor < 0);
      },
      testing::ExitedWithCode(ENOENT),
      HasSubstr("hook caption=Error icon=3 buttons=1 first=32\nThe \"open\" function failed with error 2: "
                "No such file or directory\nEnclosing Function: DiskFile::Open\nFile: Core_File\nLine: 100"));
}

class MessageBoxes : public testing::Test {
 protected:
  void TearDown() override {
    PAL::SetMessageBoxHook(nullptr);
    PAL::SetMessageBoxBackend(nullptr);
  }
  // Shows a box through a hook that presses the given answer; records what the hook saw.
  std::uint32_t Press(std::uint32_t buttons, std::uint32_t pressed, std::int32_t icon = MessageBoxIcon::Question) {
    PAL::SetMessageBoxHook([this, pressed](const PAL::MessageBoxRequest& request, std::uint32_t& answer) {
      m_seen = request;
      answer = pressed;
      return true;
    });
    return PAL::ShowMessageBox("Quit", "Really quit?", icon, buttons);
  }
  PAL::MessageBoxRequest m_seen;
};

TEST_F(MessageBoxes, ButtonSetsMapToTheirBoxes) {
  using B = MessageBoxButton;
  EXPECT_THAT(PAL::GetMessageBoxButtons(0x022), ElementsAre(B::OK, B::Cancel));
  EXPECT_THAT(PAL::GetMessageBoxButtons(0x048), ElementsAre(B::Abort, B::Retry, B::Ignore));
  EXPECT_THAT(PAL::GetMessageBoxButtons(0x112), ElementsAre(B::Yes, B::No, B::Cancel));
  EXPECT_THAT(PAL::GetMessageBoxButtons(0x110), ElementsAre(B::Yes, B::No));
  EXPECT_THAT(PAL::GetMessageBoxButtons(0x042), ElementsAre(B::Retry, B::Cancel));
  EXPECT_THAT(PAL::GetMessageBoxButtons(0x086), ElementsAre(B::Cancel, B::TryAgain, B::Continue));
  for (std::uint32_t other : {0x000u, 0x020u, 0x100u, 0x030u, 0x111u, 0x1FEu, 0xFFFFFFFFu}) {
    EXPECT_THAT(PAL::GetMessageBoxButtons(other), ElementsAre(B::OK)) << other;
  }
}

TEST_F(MessageBoxes, AnswersComeBackAsButtonCodes) {
  using B = MessageBoxButton;
  EXPECT_EQ(Press(B::Yes | B::No, B::Yes), 0x100u);
  EXPECT_EQ(m_seen.caption, "Quit");
  EXPECT_EQ(m_seen.text, "Really quit?");
  EXPECT_EQ(m_seen.icon, MessageBoxIcon::Question);
  EXPECT_EQ(Press(B::Yes | B::No, B::No), 0x010u);
  EXPECT_EQ(Press(B::Retry | B::Ignore, B::Abort), 0x000u);
  EXPECT_EQ(Press(B::Cancel | B::TryAgain | B::Continue, B::Continue), 0x004u);
  // An answer the box could not have given counts as OK.
  EXPECT_EQ(Press(B::Yes | B::No, B::Cancel), B::OK);
  EXPECT_EQ(Press(B::OK | B::No, B::No), B::OK);
  EXPECT_THAT(m_seen.buttons, ElementsAre(B::OK));
}

TEST_F(MessageBoxes, UnknownIconKindsShowNoIcon) {
  Press(MessageBoxButton::OK, MessageBoxButton::OK, 5);
  EXPECT_EQ(m_seen.icon, MessageBoxIcon::None);
  Press(MessageBoxButton::OK, MessageBoxButton::OK, -1);
  EXPECT_EQ(m_seen.icon, MessageBoxIcon::None);
  Press(MessageBoxButton::OK, MessageBoxButton::OK, MessageBoxIcon::Information);
  EXPECT_EQ(m_seen.icon, MessageBoxIcon::Information);
}

TEST_F(MessageBoxes, DecliningHandlersFallThroughToStandardError) {
  int backendCalls = 0;
  PAL::SetMessageBoxHook([](const PAL::MessageBoxRequest&, std::uint32_t& answer) {
    answer = MessageBoxButton::Yes;
    return false;
  });
  PAL::SetMessageBoxBackend([&backendCalls](const PAL::MessageBoxRequest&, std::uint32_t& answer) {
    ++backendCalls;
    answer = MessageBoxButton::No;
    return true;
  });
  EXPECT_EQ(PAL::ShowMessageBox("Q", "T", 0, 0x110), MessageBoxButton::No);
  EXPECT_EQ(backendCalls, 1);

  PAL::SetMessageBoxBackend([](const PAL::MessageBoxRequest&, std::uint32_t& answer) {
    answer = MessageBoxButton::Yes;
    return false;  // no display
  });
  testing::internal::CaptureStderr();
  EXPECT_EQ(PAL::ShowMessageBox("Script Error", "line 3: unexpected symbol", MessageBoxIcon::Error, 0x110),
            MessageBoxButton::OK);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Script Error: line 3: unexpected symbol\n");
}

}  // namespace
