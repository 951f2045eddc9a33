// Path rules for the files the program keeps beside its executable.
#pragma once

#include <string>

namespace lumivex::core {

// The executable's path with its extension replaced by ".ini". The extension
// starts at the last "." after the last "\" or ":"; without one ".ini" is appended.
std::wstring settingsPathFor(const std::wstring& exePath);

// The folder part of the path without a trailing "\"; a drive root keeps it ("C:\").
std::wstring programFolderOf(const std::wstring& exePath);

// Everything after the last "\" or ":".
std::wstring fileNamePart(const std::wstring& path);

// The file name with its last "." and all after it replaced by ".lnk"; ".lnk"
// appended when it has no ".".
std::wstring shortcutNameFor(const std::wstring& exeFileName);

// The text after the last "." of the file-name part, as written; "" when none.
std::wstring extensionOf(const std::wstring& path);

// A file in a folder: folder, one "\" and the name. A folder that already ends
// in "\" (a drive root) gets no second one; an empty folder gives the bare name.
std::wstring joinFolder(const std::wstring& folder, const std::wstring& name);

// The name of the object that keeps one instance per executable: "Local\\Lumivex-" and a hash of the path with
// ASCII letters folded, so that two spellings of one path meet and any path length fits a kernel object's name.
std::wstring instanceNameFor(const std::wstring& exePath);

// A path names a file relative to some folder unless it starts with a drive ("C:"), a "\" or a "/".
bool isRelativePath(const std::wstring& path);

// A picture path as the settings keep it, made a full path: a relative one lies in the program folder, so one
// settings file serves every copy of the program wherever it is installed; any other is used as it stands.
std::wstring resolveInFolder(const std::wstring& folder, const std::wstring& path);

// The path as the settings keep it: relative to the folder when the file lies in it or below (letters compared
// without regard to case, as the file system does), otherwise as given.
std::wstring relativeToFolder(const std::wstring& folder, const std::wstring& path);

}  // namespace lumivex::core
