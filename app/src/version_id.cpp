// State-file version ids.
#include "app/version_id.h"
#include <cstring>

VersionId make_version_id(std::string_view text)
{
    VersionId id{};
    std::memcpy(id.data(), text.data(), text.size() < 7 ? text.size() : 7);
    return id;
}

std::string_view version_text(const VersionId& id)
{
    const void* nul = std::memchr(id.data(), 0, id.size());
    size_t n = nul ? static_cast<size_t>(static_cast<const char*>(nul) - id.data()) : id.size();
    return std::string_view(id.data(), n);
}

bool is_well_formed_version_id(const VersionId& id)
{
    if (id[0] != 'B' || id[1] != 'G' || id[2] != '_' || id[7] != 0)
        return false;
    for (int i = 3; i < 7; ++i)
        if (id[i] < '0' || id[i] > '9')
            return false;
    return true;
}

int compare_version_ids(std::string_view a, std::string_view b)
{
    int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
