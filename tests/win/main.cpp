// Entry of the Windows tests: the library search, common controls and COM as the program has them, then GoogleTest.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "ui/system_libraries.h"

namespace {
// A test that hangs (a modal window that no hook ends, say) would stop the whole run without a word: one still
// running after two minutes ends the run with its name and a failing exit status. The slowest test takes ~10 s.
class HangWatch : public testing::EmptyTestEventListener {
 public:
  HangWatch() {
    std::thread([state = state_] {
      for (;;) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const std::lock_guard<std::mutex> lock(state->mutex);
        if (state->running && std::chrono::steady_clock::now() - state->started > std::chrono::minutes(2)) {
          std::fprintf(stderr, "\n[  FAILED  ] %s still running after two minutes: the run is stopped\n", state->name.c_str());
          std::fflush(stderr);
          TerminateProcess(GetCurrentProcess(), 3);
        }
      }
    }).detach();
  }
  void OnTestStart(const testing::TestInfo& test) override {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->name = std::string(test.test_suite_name()) + "." + test.name();
    state_->started = std::chrono::steady_clock::now();
    state_->running = true;
  }
  void OnTestEnd(const testing::TestInfo&) override {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->running = false;
  }

 private:
  struct State {
    std::mutex mutex;
    std::string name;
    std::chrono::steady_clock::time_point started;
    bool running = false;
  };
  State* state_ = new State;  // the watching thread reads it until the process ends, so it is never freed
};
}  // namespace

int main(int argc, char** argv) {
  lumivex::ui::syslib::restrictLibrarySearchToSystemFolder();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  const HRESULT com = CoInitialize(nullptr);
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new HangWatch);
  const int rc = RUN_ALL_TESTS();
  if (SUCCEEDED(com)) CoUninitialize();
  return rc;
}
