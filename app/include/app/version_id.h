// State-file version ids: "BG_" and four digits in an 8-byte field, compared byte-wise.
#pragma once
#include <array>
#include <string_view>

using VersionId = std::array<char, 8>;

inline constexpr std::string_view OLDEST_VERSION_ID = "BG_1012";
inline constexpr std::string_view CURRENT_VERSION_ID = "BG_1038";
// Every file of a session written by this version or a later one ends with
// a tail: fields added in this version, after all of the file's older
// records. One id gates every such field of every file (the header's
// generator state, each department's own additions, the core's additions to
// every file), so a new field joins a tail instead of taking a new id.
inline constexpr std::string_view STATE_TAIL_VERSION_ID = "BG_1038";

// The files of a session, in the order a save writes them.
enum class StateFile { Header, Purchasing, Marketing, Production, Finance };
// Ids from the oldest accepted up to this one are read as the oldest.
inline constexpr std::string_view FIRST_DISTINCT_VERSION_ID = "BG_1018";

VersionId make_version_id(std::string_view text);
std::string_view version_text(const VersionId& id);
// "BG_", four digits, NUL, and nothing after the NUL that matters.
bool is_well_formed_version_id(const VersionId& id);
// Byte-wise, as the ids compare on disk.
int compare_version_ids(std::string_view a, std::string_view b);
