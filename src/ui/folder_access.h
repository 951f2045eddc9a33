// Whether the program may write in a folder, asked of the file system itself after a write failed.
#pragma once
#include <string>

#include "core/error_text.h"

namespace lumivex::ui {

// Tries to make (and at once deletes) a file in the folder. Refused access is ReadOnly, or Managed in a folder
// under the system's program-files folders; anything else, a folder gone included, is Writable: the advice of a
// read-only folder would not help there.
core::FolderAccess folderAccess(const std::wstring& folder);

}  // namespace lumivex::ui
