// One entry per session state file for fuzzing: the bytes stand in for that file of a saved
// session (up to the set's serial, which the entry adds) opened through the session start. Aborts on anything but a clean refusal or a load
// that runs, saves and reopens.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

enum class SessionFileOutcome { Loaded, Refused };

SessionFileOutcome fuzz_session_file(const char* ext, const uint8_t* data, size_t size);
// The base session's own bytes of one file ("MGR", "PRD", ...) without the set's serial, the
// seeds' starting point.
const std::vector<uint8_t>& base_session_file(const char* ext);
// One file of the sample saved after the given ticks, without the set's serial: a seed from
// further into the run than the base.
std::vector<uint8_t> later_session_file(const char* ext, int ticks);
