// The connectivity library: loaded on first need, from the folder of the
// module that created the latest graph, then by the library path.
#include "core.h"
#include "plat/module.h"
#include "plat/uihost.h"
#include <string>

using namespace plat;

namespace qxi {

namespace {

HINSTANCE caller_instance = 0;
HINSTANCE connectivity = 0;

bool load_connectivity()
{
    if (connectivity)
        return true;
    std::string full = "QXC32.DLL";
    char path[1024] = {};
    if (caller_instance && GetModuleFileName(caller_instance, path, sizeof path) > 0) {
        std::string folder = path;
        size_t cut = folder.find_last_of("/\\");
        if (cut != std::string::npos) {
            full = folder.substr(0, cut) + "/QXC32.DLL";
            HINSTANCE h = LoadLibrary(full.c_str());
            if (h >= 32)
                connectivity = h;
        }
    }
    if (!connectivity) {
        HINSTANCE h = LoadLibrary("QXC32.DLL");
        if (h >= 32)
            connectivity = h;
    }
    if (!connectivity) {
        MessageBox(0, full.c_str(), "Unable to load DLL", MB_OK);
        return false;
    }
    return true;
}

} // namespace

void connect_remember_instance(HINSTANCE instance) { caller_instance = instance; }

bool connect_loaded() { return connectivity != 0; }

void* connect_function(const char* name, int32_t& error)
{
    error = 0;
    if (!load_connectivity()) {
        error = code_of(17);
        return nullptr;
    }
    FARPROC f = GetProcAddress(connectivity, name);
    if (!f) {
        error = code_of(18);
        return nullptr;
    }
    return reinterpret_cast<void*>(f);
}

void disconnect_set(SetRecord& s)
{
    if (s.connection) {
        int32_t error;
        using Disconnect = int (*)(int32_t);
        if (auto f = reinterpret_cast<Disconnect>(connect_function("QXLDisconnect", error)))
            f(s.connection);
    }
    s.connection = 0;
    s.text[0] = 0;
    s.connection_text[0] = 0;
    s.source_text[0] = 0;
}

} // namespace qxi
