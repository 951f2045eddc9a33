// The end-to-end tests' eyes inside Wine: starts the program as a launcher would and answers questions about
// windows, controls and screen pixels, one command a line on stdin, one answer a line on stdout (UTF-8).
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::wstring wide(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out;
}

// The text WM_GETTEXT copies (the number of characters is its result), or none from a window that hangs.
std::wstring textOf(HWND h) {
  wchar_t buffer[4096];
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &n)) n = 0;
  return std::wstring(buffer, std::min<size_t>(n, 4095));
}

std::wstring classOf(HWND h) {
  wchar_t buffer[256];
  return std::wstring(buffer, static_cast<size_t>(GetClassNameW(h, buffer, 256)));
}

std::string describe(HWND h) {
  RECT r{}, c{};
  GetWindowRect(h, &r);
  GetClientRect(h, &c);
  std::ostringstream o;
  o << "window " << reinterpret_cast<uintptr_t>(h) << " visible=" << (IsWindowVisible(h) ? 1 : 0) << " rect="
    << r.left << "," << r.top << "," << r.right << "," << r.bottom << " client=" << c.right << "," << c.bottom
    << " topmost=" << ((GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0)
    << " maximized=" << (IsZoomed(h) ? 1 : 0);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  o << " pid=" << pid << " class=" << utf8(classOf(h)) << " title=" << escape(utf8(textOf(h)));
  return o.str();
}

// The windows under parent, or every top-level window when parent is null.
std::vector<HWND> windowsUnder(HWND parent) {
  std::vector<HWND> all;
  const WNDENUMPROC add = [](HWND h, LPARAM p) -> BOOL {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
  };
  if (parent) EnumChildWindows(parent, add, reinterpret_cast<LPARAM>(&all));
  else EnumWindows(add, reinterpret_cast<LPARAM>(&all));
  return all;
}

std::vector<HWND> topLevel(const std::wstring& title) {
  std::vector<HWND> found;
  for (HWND h : windowsUnder(nullptr))
    if (textOf(h) == title) found.push_back(h);
  return found;
}

void list(const std::vector<HWND>& windows) {
  for (HWND h : windows) std::cout << describe(h) << "\n";
  std::cout << "end" << std::endl;
}

HWND visibleWindow(const std::wstring& title) {
  for (HWND h : topLevel(title))
    if (IsWindowVisible(h)) return h;
  return nullptr;
}

std::map<DWORD, HANDLE> processes;

void launch(const std::wstring& exe, const std::wstring& arguments, int showCommand) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  std::wstring dir = exe.substr(0, exe.find_last_of(L'\\'));
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
    std::cout << "error " << GetLastError() << std::endl;
    return;
  }
  CloseHandle(pi.hThread);
  processes[pi.dwProcessId] = pi.hProcess;
  std::cout << "pid " << pi.dwProcessId << std::endl;
}

void waitExit(DWORD pid, DWORD ms) {
  const auto it = processes.find(pid);
  DWORD code = 0;
  if (it == processes.end()) {
    std::cout << "unknown" << std::endl;
  } else if (WaitForSingleObject(it->second, ms) == WAIT_OBJECT_0 && GetExitCodeProcess(it->second, &code)) {
    std::cout << "exited " << code << std::endl;
  } else {
    std::cout << "running" << std::endl;
  }
}

}  // namespace

int wmain() {
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream in(line);
    std::string cmd;
    in >> cmd;
    std::string rest;
    std::getline(in >> std::ws, rest);
    if (cmd == "quit") break;
    if (cmd == "launch") {
      // launch SHOWCMD PATH[<tab>ARGUMENTS]
      std::istringstream a(rest);
      int show = SW_SHOWNORMAL;
      a >> show;
      std::string path;
      std::getline(a >> std::ws, path);
      const auto tab = path.find('\t');
      const std::string arguments = tab == std::string::npos ? "" : path.substr(tab + 1);
      launch(wide(path.substr(0, tab)), wide(arguments), show);
    } else if (cmd == "wait-exit") {
      DWORD pid = 0, ms = 0;
      std::istringstream(rest) >> pid >> ms;
      waitExit(pid, ms);
    } else if (cmd == "kill") {
      DWORD pid = 0;
      std::istringstream(rest) >> pid;
      auto it = processes.find(pid);
      if (it != processes.end()) TerminateProcess(it->second, 1);
      std::cout << "ok" << std::endl;
    } else if (cmd == "find") {
      list(topLevel(wide(rest)));
    } else if (cmd == "children") {
      HWND h = visibleWindow(wide(rest));
      list(h ? windowsUnder(h) : std::vector<HWND>{});
    } else if (cmd == "pixel") {
      int x = 0, y = 0;
      std::istringstream(rest) >> x >> y;
      HDC dc = GetDC(nullptr);
      const COLORREF c = GetPixel(dc, x, y);
      ReleaseDC(nullptr, dc);
      char buffer[16];
      std::snprintf(buffer, sizeof(buffer), "%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
      std::cout << "pixel " << buffer << std::endl;
    } else if (cmd == "foreground") {
      // The window that gets the keys: the focus in the foreground window's thread, else that window itself.
      GUITHREADINFO info{};
      info.cbSize = sizeof(info);
      HWND h = GetForegroundWindow();
      if (h && GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &info) && info.hwndFocus) h = info.hwndFocus;
      std::cout << (h ? describe(h) : std::string("none")) << std::endl;
    } else if (cmd == "monitors") {
      EnumDisplayMonitors(
          nullptr, nullptr,
          [](HMONITOR m, HDC, RECT*, LPARAM) -> BOOL {
            MONITORINFO info{sizeof(info), {}, {}, 0};
            GetMonitorInfoW(m, &info);
            const RECT& r = info.rcMonitor;
            std::cout << "monitor " << r.left << "," << r.top << "," << r.right << "," << r.bottom
                      << " primary=" << ((info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0) << "\n";
            return TRUE;
          },
          0);
      std::cout << "end" << std::endl;
    } else if (cmd == "display-changed") {
      // What Windows tells every window when a monitor is plugged in, unplugged or rearranged (Wine does not when
      // the X screen's layout changes under it).
      DWORD_PTR result = 0;
      HDC dc = GetDC(nullptr);
      const int bits = GetDeviceCaps(dc, BITSPIXEL);
      ReleaseDC(nullptr, dc);
      SendMessageTimeoutW(HWND_BROADCAST, WM_DISPLAYCHANGE, static_cast<WPARAM>(bits),
                          MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)), SMTO_ABORTIFHUNG,
                          2000, &result);
      std::cout << "ok" << std::endl;
    } else if (cmd == "desktop") {
      std::cout << "desktop " << GetSystemMetrics(SM_CXSCREEN) << " " << GetSystemMetrics(SM_CYSCREEN) << std::endl;
    } else {
      std::cout << "error unknown command" << std::endl;
    }
  }
  for (auto& [pid, h] : processes) CloseHandle(h);
  return 0;
}
