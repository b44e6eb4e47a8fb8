// Private to the protocol library: a file replaced whole and safely.
#pragma once
#include <cstddef>
#include <string>

namespace tutorproto {

// The bytes go to a temp file beside the target (its name resolved as the
// programs spell it), are flushed to the disk and checked, then the temp file is renamed
// over the target. On any failure the temp file is removed and the target
// is as it was.
bool replace_file(const std::string& path, const void* data, size_t size);

} // namespace tutorproto
