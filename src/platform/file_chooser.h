// The desktop's own file-open dialog, run as a separate program (zenity, or
// kdialog on KDE desktops): it blocks the calling thread like any modal
// dialog until the user chooses or cancels. Where neither program exists
// the editor shows a dialog of its own.
// Thread: user-interface thread.
#pragma once

#include <optional>
#include <string>

namespace platform {

// True when zenity or kdialog is on PATH.
bool DesktopFileChooserAvailable();

// title: the dialog's caption; startFolder: where it opens (empty: the
// program's default); pattern: globs separated by spaces ("*.wav *.WAV"),
// empty for every file. Answers the chosen path, or nothing when the user
// cancels or no chooser exists.
std::optional<std::string> ChooseFileWithDesktop(const std::string& title, const std::string& startFolder,
                                                 const std::string& pattern);

}  // namespace platform
