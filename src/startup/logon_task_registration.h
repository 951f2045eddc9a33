// The program's logon task in the Task Scheduler's root folder, registered from its XML definition.
#pragma once
#include <memory>
#include <string>

#include "core/logon_task.h"

namespace lumivex::startup {

// The user the process runs as: the principal of the user's own logon task.
core::LogonTaskPrincipal currentUser();

class LogonTaskRegistration {
 public:
  // Connects to the Task Scheduler; raises ui::AppError with the system's text when it is unavailable (the service
  // stopped, or refused by policy).
  LogonTaskRegistration(std::wstring exePath, core::LogonTaskPrincipal principal);
  ~LogonTaskRegistration();
  LogonTaskRegistration(const LogonTaskRegistration&) = delete;
  LogonTaskRegistration& operator=(const LogonTaskRegistration&) = delete;

  const std::wstring& name() const { return name_; }
  void write() const;  // registers the task, replacing the program's earlier one
  bool exists() const;
  void remove() const;  // a task that is not there is no failure

 private:
  struct Folder;
  std::wstring exePath_;
  core::LogonTaskPrincipal principal_;
  std::wstring name_;
  std::unique_ptr<Folder> folder_;
};

}  // namespace lumivex::startup
