// The program's command line: what the arguments after the program's name ask for.
#include "core/command_line.h"

namespace lumivex::core {
namespace {

// ASCII case folding only: the switches are ASCII, and a full-width or accented look-alike must not match.
std::wstring folded(const std::wstring& text) {
  std::wstring out = text;
  for (wchar_t& c : out)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return out;
}

bool isBlank(const std::wstring& text) {
  return text.find_first_not_of(L" \t") == std::wstring::npos;
}

// The switch's name without its "/" or "-", or "" when the argument is no switch.
std::wstring switchName(const std::wstring& argument) {
  if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) return L"";
  return folded(argument.substr(1));
}

}  // namespace

Command parseCommandLine(const std::vector<std::wstring>& arguments) {
  std::vector<std::wstring> words;
  for (const std::wstring& a : arguments)
    if (!isBlank(a)) words.push_back(a);

  Command command;
  if (words.empty()) return command;
  Command usage;
  usage.kind = Command::Kind::Usage;

  std::size_t next = 0;
  const std::wstring verb = switchName(words[next++]);
  if (verb == L"register") {
    if (next == words.size()) return usage;
    const std::wstring way = folded(words[next++]);
    if (way == L"startup") {
      command.way = StartupWay::ShortcutInStartupFolder;
    } else if (way == L"task") {
      command.way = StartupWay::LogonTask;
    } else {
      return usage;
    }
    command.kind = Command::Kind::Register;
  } else if (verb == L"unregister") {
    command.kind = Command::Kind::Unregister;
  } else {
    return usage;
  }
  if (next < words.size() && switchName(words[next]) == L"allusers") {
    command.allUsers = true;
    ++next;
  }
  return next == words.size() ? command : usage;
}

std::wstring usageText(const std::wstring& programName) {
  return L"使い方:\n" +
         programName + L" /register startup\n"
         L"    スタートアップフォルダに登録します\n" +
         programName + L" /register task\n"
         L"    ログオン時に起動するタスクに登録します\n" +
         programName + L" /unregister\n"
         L"    登録を解除します\n"
         L"\n"
         L"/allusers を付けると、この PC のすべてのユーザーについて\n"
         L"登録・解除します (管理者の権限が必要です)。\n"
         L"引数なしで起動すると、ロゴを表示します。";
}

}  // namespace lumivex::core
