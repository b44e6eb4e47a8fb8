// Names of the files that belong to a session file: state files, run logs,
// the best-results file and the proposed policies file.
#pragma once
#include <string>
#include <string_view>

// The path without the last extension of its file-name part; a name without
// a "." keeps the whole path. Both "\" and "/" separate folders.
std::string StateFileBaseName(std::string_view path);
// base + "." + ext, e.g. state_file_name("runs/plant", "MGR").
std::string state_file_name(std::string_view path, std::string_view ext);
// The name Save writes: ".vnb" appended when the file-name part has no ".".
std::string save_session_name(std::string_view chosen);
// The text after the last separator, or the whole path.
std::string file_name_part(std::string_view path);
std::string folder_part(std::string_view path);
// A name from data or from the player, "\" separated as the files write
// them, with "/" in their place.
std::string forward_slashes(std::string path);
