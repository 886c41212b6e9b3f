#pragma once

#include <string_view>

namespace kitloom {

// Who made the folder a patch was opened from, when that folder is a copy of one file that an
// archive program extracted on its own, or that a sandbox was handed: the patch's images,
// still in the archive or outside the sandbox, are then not beside it.
enum class ExtractedBy { None, WindowsExplorer, SevenZip, WinRar, FileRoller, Ark, DesktopPortal };

// Looks at every folder of `folder` (a full path, with '/' or '\' between folders), so that a
// folder inside such a copy counts too; Windows' names in any case, Linux's as they are.
//   WindowsExplorer  %TEMP%\Temp1_NAME.zip (Temp2_ for the next copy of the same zip)
//   SevenZip         %TEMP%\7zO and eight hex digits
//   WinRar           %TEMP%\Rar$EXa1234.5678 (Rar$DIa for a drag out), maybe ending in .rartemp
//   FileRoller       .fr- and six characters, in ~/.cache or /tmp (Engrampa makes the same)
//   Ark              /tmp/ark- and six characters
//   DesktopPortal    /run/user/UID/doc/ID (or doc/by-app/APP/ID), where Flatpak apps see a file
ExtractedBy extractedCopyFolder(std::string_view folder);

}  // namespace kitloom
