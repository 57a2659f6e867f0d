// Where the program keeps files of its own for the user: the platform's data folder
// ($XDG_DATA_HOME or ~/.local/share on Linux, %LOCALAPPDATA% on Windows, ~/Library/Application
// Support on macOS) followed by "talveron".
#pragma once

#include <string>

namespace talveron::platform {

// The folder for the program's files of kind name ("backups"): DATA/talveron/name, as a UTF-8
// path. Not created here; an empty text when the platform names no data folder.
std::string UserDataFolder(const std::string& name);

}  // namespace talveron::platform
