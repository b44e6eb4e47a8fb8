// The steps by which a written file reaches the disk and its place. Each is a
// point at which a test can make it fail as a full disk, a failing device or
// a refused rename would, with no stand-in for the system's own calls.
#pragma once
#include <string>

enum class FileStep { Write, Flush, Sync, Close, Rename };

// Asked before each step of a file being written, with the resolved name of
// the file the step acts on (a rename: its target); true fails the step.
using FileStepFault = bool (*)(FileStep step, const std::string& path);
// nullptr: no faults, the normal case. Returns the one it replaces.
FileStepFault set_file_step_fault(FileStepFault fault);
// Whether the installed fault fails this step.
bool file_step_fails(FileStep step, const std::string& path);

// A written file moved over its target (names as the program writes them),
// and the folder's new entry put on the disk; false when either fails.
bool rename_file(const std::string& from, const std::string& to);
