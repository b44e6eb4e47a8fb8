// The bundled data folder as a session test may use it: a private copy.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

// Sessions write beside their scenario (the decision menu, saved sessions),
// and other test programs copy <build>/data while this one runs: a test
// that worked in the bundled folder itself made their copies fail on files
// that came and went. Each test program copies it once and removes its copy
// at exit (not from a forked child, which exits through the same handlers).
inline const std::string& bundled_data_copy()
{
    struct Copy {
        std::string dir;
        pid_t owner = ::getpid();
        Copy()
        {
            char name[] = "/tmp/vorn-data-XXXXXX";
            if (::mkdtemp(name) == nullptr)
                throw std::runtime_error("no temp folder for the bundled data");
            dir = name;
            std::filesystem::copy(std::filesystem::path(VORN_BINARY_DIR) / "data", dir,
                                  std::filesystem::copy_options::recursive);
        }
        ~Copy()
        {
            if (::getpid() == owner) {
                std::error_code ec;
                std::filesystem::remove_all(dir, ec);
            }
        }
    };
    static const Copy copy;
    return copy.dir;
}
