// Names of the files that belong to a session file.
#include "app/state_names.h"

static size_t name_start(std::string_view path)
{
    size_t sep = path.find_last_of("/\\");
    return sep == std::string_view::npos ? 0 : sep + 1;
}

std::string StateFileBaseName(std::string_view path)
{
    size_t start = name_start(path);
    size_t dot = path.rfind('.');
    // "./s.vnb" and "runs.v2/plant" must not be cut inside the folder part.
    if (dot == std::string_view::npos || dot <= start)
        return std::string(path);
    return std::string(path.substr(0, dot));
}

std::string state_file_name(std::string_view path, std::string_view ext)
{
    std::string name = StateFileBaseName(path);
    name += '.';
    name += ext;
    return name;
}

std::string save_session_name(std::string_view chosen)
{
    std::string name(chosen);
    if (chosen.substr(name_start(chosen)).find('.') == std::string_view::npos)
        name += ".vnb";
    return name;
}

std::string file_name_part(std::string_view path)
{
    return std::string(path.substr(name_start(path)));
}

std::string folder_part(std::string_view path)
{
    size_t start = name_start(path);
    return start == 0 ? std::string() : std::string(path.substr(0, start - 1));
}

std::string forward_slashes(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}
