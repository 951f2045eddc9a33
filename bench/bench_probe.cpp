// Measures one start of a splash program from process creation: time until its window "splash" is visible, time
// until the screen shows the picture's sample pixels, the CPU time it uses while it waits out its countdown, and
// then a later paint: the probe moves the window by DX,DY and times it until the screen shows the later samples
// (parts of the picture that were off the desktop), asking the window meanwhile, every few ms, to answer an empty
// message and keeping the longest wait for its answer. Then it closes the window. With --during MS it first measures
// the CPU time used in the MS milliseconds after the picture is on screen (a fade in's time). Prints one line:
// "visible_ms onscreen_ms peak_kb idle_cpu_ms later_ms longest_wait_ms during_cpu_ms" (-1 for what was not asked).
//   bench_probe PROGRAM.exe "ARGS" WAIT_SECONDS [--during MS] x,y,rrggbb [...] [--move DX,DY x,y,rrggbb [...]]
//   bench_probe --hold          keeps the desktop up until it is ended; prints "ready" once it is up
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Between looks at the screen: often enough to resolve a few ms, rare enough not to slow the program measured.
constexpr DWORD kPollMs = 5;

struct Sample {
  int x, y;
  int r, g, b;
};

double ms(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER freq) {
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Looked up by title alone: each look is a few calls to the window server, which the measured program needs too.
HWND visibleSplash(DWORD pid) {
  for (HWND h = FindWindowW(nullptr, L"splash"); h; h = FindWindowExW(nullptr, h, nullptr, L"splash")) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == pid && IsWindowVisible(h)) return h;
  }
  return nullptr;
}

bool parseSample(const wchar_t* text, Sample& s) {
  unsigned rgb = 0;
  if (swscanf(text, L"%d,%d,%x", &s.x, &s.y, &rgb) != 3) return false;
  s.r = (rgb >> 16) & 0xFF;
  s.g = (rgb >> 8) & 0xFF;
  s.b = rgb & 0xFF;
  return true;
}

bool pixelsMatch(const std::vector<Sample>& samples) {
  HDC dc = GetDC(nullptr);
  bool all = true;
  for (const Sample& s : samples) {
    const COLORREF c = GetPixel(dc, s.x, s.y);
    if (std::abs(GetRValue(c) - s.r) > 24 || std::abs(GetGValue(c) - s.g) > 24 || std::abs(GetBValue(c) - s.b) > 24)
      all = false;
  }
  ReleaseDC(nullptr, dc);
  return all;
}

// The CPU time of all threads of a process (per thread: Wine answers GetProcessTimes with the caller's times).
double cpuMs(DWORD pid) {
  double total = 0;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 te{};
  te.dwSize = sizeof(te);
  for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te)) {
    if (te.th32OwnerProcessID != pid) continue;
    HANDLE t = OpenThread(THREAD_QUERY_INFORMATION, FALSE, te.th32ThreadID);
    if (!t) continue;
    FILETIME c, e, k, u;
    if (GetThreadTimes(t, &c, &e, &k, &u))
      total += (static_cast<double>((static_cast<ULONGLONG>(k.dwHighDateTime) << 32) | k.dwLowDateTime) +
                static_cast<double>((static_cast<ULONGLONG>(u.dwHighDateTime) << 32) | u.dwLowDateTime)) / 10000.0;
    CloseHandle(t);
  }
  CloseHandle(snap);
  return total;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"--hold") {
    // Keeps the desktop up between measured runs (Wine closes it shortly after its last program ends, and starting
    // it again would run beside the next program measured); the bench ends this process when it is done.
    GetDesktopWindow();
    std::printf("ready\n");
    std::fflush(stdout);
    Sleep(INFINITE);
  }
  if (argc < 4) {
    std::fprintf(stderr, "usage: bench_probe PROGRAM ARGS WAIT_SECONDS x,y,rrggbb...\n");
    return 2;
  }
  std::vector<Sample> samples, laterSamples;
  int moveX = 0, moveY = 0, duringMs = -1;
  bool move = false;
  for (int i = 4; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"--during" && i + 1 < argc) {
      duringMs = _wtoi(argv[++i]);
      continue;
    }
    if (std::wstring(argv[i]) == L"--move" && i + 1 < argc) {
      move = swscanf(argv[++i], L"%d,%d", &moveX, &moveY) == 2;
      continue;
    }
    Sample s{};
    if (parseSample(argv[i], s)) (move ? laterSamples : samples).push_back(s);
  }
  const double waitSeconds = _wtof(argv[3]);
  std::wstring cmd = L"\"" + std::wstring(argv[1]) + L"\" " + argv[2];
  std::wstring dir = argv[1];
  dir = dir.substr(0, dir.find_last_of(L'\\'));

  // The desktop is up before the clock starts, as it is at logon; Wine starts its desktop process on demand.
  HDC screen = GetDC(GetDesktopWindow());
  GetPixel(screen, 0, 0);
  ReleaseDC(GetDesktopWindow(), screen);

  LARGE_INTEGER freq, start, now;
  QueryPerformanceFrequency(&freq);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(argv[1], cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) return 1;
  double visible = -1, onscreen = -1;
  HWND splash = nullptr;
  for (;;) {
    QueryPerformanceCounter(&now);
    if (visible < 0 && (splash = visibleSplash(pi.dwProcessId)) != nullptr) visible = ms(start, now, freq);
    if (visible >= 0 && pixelsMatch(samples)) {
      onscreen = ms(start, now, freq);
      break;
    }
    if (ms(start, now, freq) > 60000 || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
    Sleep(kPollMs);
  }
  double during = -1;
  if (duringMs >= 0 && onscreen >= 0) {
    const double cpuAtFirstPaint = cpuMs(pi.dwProcessId);
    Sleep(static_cast<DWORD>(duringMs));
    during = cpuMs(pi.dwProcessId) - cpuAtFirstPaint;
  }
  // CPU while waiting: from half a second after the picture is on screen, for the given seconds.
  Sleep(500);
  const double cpuBefore = cpuMs(pi.dwProcessId);
  Sleep(static_cast<DWORD>(waitSeconds * 1000));
  const double idle = cpuMs(pi.dwProcessId) - cpuBefore;

  // A later paint: moved from outside, as a user or the logo position dialog moves it. The move is posted, so
  // that the probe goes on looking and asking while the window takes it.
  double later = -1, longestWait = -1;
  if (move && splash && onscreen >= 0) {
    RECT r{};
    GetWindowRect(splash, &r);
    LARGE_INTEGER moved, asked, answered;
    QueryPerformanceCounter(&moved);
    SetWindowPos(splash, nullptr, r.left + moveX, r.top + moveY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    longestWait = 0;
    for (;;) {
      QueryPerformanceCounter(&asked);
      DWORD_PTR result = 0;
      SendMessageTimeoutW(splash, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
      QueryPerformanceCounter(&answered);
      longestWait = std::max(longestWait, ms(asked, answered, freq));
      const double since = ms(moved, answered, freq);
      if (later < 0 && pixelsMatch(laterSamples)) later = since;
      // Asked on for a while after the new part is on screen, in case the window is busy only then.
      if ((later >= 0 && since > later + 300) || since > 20000) break;
      if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
      Sleep(kPollMs);
    }
  }
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof(pmc));
  if (splash) PostMessageW(splash, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  std::printf("%.1f %.1f %llu %.1f %.1f %.1f %.1f\n", visible, onscreen,
              static_cast<unsigned long long>(pmc.PeakWorkingSetSize / 1024), idle, later, longestWait, during);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 0;
}
