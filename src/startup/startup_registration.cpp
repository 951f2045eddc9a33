// Registering the program to start at logon, one way at a time, and removing both.
#include "startup/startup_registration.h"

#include <optional>

#include "startup/logon_task_registration.h"
#include "startup/startup_shortcut.h"
#include "ui/message_box.h"

namespace lumivex::startup {
namespace {

void requireRights(const Target& target) {
  if (target.allUsers && !hasAdministratorRights())
    throw ui::AppError(L"すべてのユーザーに登録するには管理者の権限が必要です");
}

core::LogonTaskPrincipal principalOf(const Target& target) {
  return target.allUsers ? core::LogonTaskPrincipal{} : currentUser();
}

// The Task Scheduler, or nothing when it is unavailable: then no task of the program can start at logon either,
// so registering the shortcut goes on as it always did.
std::optional<LogonTaskRegistration> taskIfAvailable(const Target& target) {
  try {
    return std::optional<LogonTaskRegistration>(std::in_place, target.exePath, principalOf(target));
  } catch (const ui::AppError&) {
    return std::nullopt;
  }
}

}  // namespace

// The new way is registered first and the other removed after it; when the removal fails, a registration that
// did not exist before is taken back, so the user is left with what was there.
void registerWay(core::StartupWay way, const Target& target) {
  requireRights(target);
  const StartupShortcut shortcut(target.exePath, target.allUsers, target.owner);
  if (way == core::StartupWay::ShortcutInStartupFolder) {
    const bool existed = shortcut.exists();
    shortcut.write();
    const std::optional<LogonTaskRegistration> task = taskIfAvailable(target);
    if (!task) return;
    try {
      task->remove();
    } catch (const ui::AppError&) {
      if (!existed) shortcut.remove();
      throw;
    }
  } else {
    const LogonTaskRegistration task(target.exePath, principalOf(target));
    const bool existed = task.exists();
    task.write();
    try {
      shortcut.remove();
    } catch (const ui::AppError&) {
      if (!existed) task.remove();
      throw;
    }
  }
}

// Both are tried, so that one refused removal does not keep the other way registered.
void unregisterAll(const Target& target) {
  requireRights(target);
  std::optional<ui::AppError> failure;
  try {
    StartupShortcut(target.exePath, target.allUsers, target.owner).remove();
  } catch (const ui::AppError& e) {
    failure = e;
  }
  LogonTaskRegistration(target.exePath, principalOf(target)).remove();
  if (failure) throw *failure;
}

bool hasAdministratorRights() {
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(sid);
  if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size)) return false;
  // Under user account control an administrator's unelevated token holds the group for denying only, and the
  // check answers no.
  BOOL member = FALSE;
  return CheckTokenMembership(nullptr, sid, &member) && member;
}

}  // namespace lumivex::startup
