// Modules, their string tables, shared libraries and starting programs.
#include "plat/module.h"
#include "kernel/handles_p.h"
#include "ipc/ipc_p.h"
#include "plat/config.h"
#include "plat/path.h"
#include "plat/text.h"
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <map>
#include <mutex>
#include <spawn.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace plat {

namespace {

struct Module {
    HINSTANCE handle = 0;
    std::string name;
    std::string path;
    void* dl = nullptr; // set when LoadLibrary opened it
    int loads = 0;
    std::map<UINT, std::string> strings;
};

std::recursive_mutex g_mutex;
std::vector<Module> g_modules;

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool ieq(std::string_view a, std::string_view b) { return lower(a) == lower(b); }

std::string_view base_name(std::string_view p)
{
    const size_t slash = p.find_last_of("/\\");
    return slash == std::string_view::npos ? p : p.substr(slash + 1);
}

std::string real(const std::string& p)
{
    char buf[PATH_MAX];
    return ::realpath(p.c_str(), buf) ? std::string(buf) : p;
}

std::string exe_path()
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

Module* by_handle(HINSTANCE h)
{
    for (auto& m : g_modules)
        if (m.handle == h)
            return &m;
    return nullptr;
}

bool names_module(const Module& m, std::string_view name)
{
    const std::string file = ModuleFileNameFor(std::string(name).c_str());
    return ieq(m.name, name) || ieq(ModuleFileNameFor(m.name.c_str()), file)
        || ieq(base_name(m.path), file) || ieq(base_name(m.path), base_name(name));
}

Module& add(std::string name, std::string path)
{
    Module m;
    m.handle = NextObjectHandle();
    m.name = std::move(name);
    m.path = std::move(path);
    g_modules.push_back(std::move(m));
    return g_modules.back();
}

Module* executable_module()
{
    const std::string exe = exe_path();
    const std::string exeReal = real(exe);
    for (auto& m : g_modules)
        if (!m.path.empty() && real(m.path) == exeReal)
            return &m;
    for (auto& m : g_modules)
        if (ieq(ModuleFileNameFor(m.name.c_str()), base_name(exe)))
            return &m;
    return &add(std::string(base_name(exe)), exe);
}

// A shared object already in the process whose file name is `file`.
std::string loaded_object(const std::string& file)
{
    struct Search {
        std::string file, found;
    } s{file, {}};
    ::dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) -> int {
            auto* s = static_cast<Search*>(data);
            if (info->dlpi_name && *info->dlpi_name && ieq(base_name(info->dlpi_name), s->file)) {
                s->found = info->dlpi_name;
                return 1;
            }
            return 0;
        },
        &s);
    return s.found;
}

std::vector<pid_t> g_children;

void reap_children()
{
    for (auto it = g_children.begin(); it != g_children.end();) {
        int status;
        if (::waitpid(*it, &status, WNOHANG) != 0)
            it = g_children.erase(it);
        else
            ++it;
    }
}

// The exported symbol of a loaded object whose name equals `name` ignoring
// case, found by walking its dynamic symbol table; NULL if none.
void* find_symbol_ignoring_case(void* dl, const char* name)
{
    link_map* lm = nullptr;
    if (::dlinfo(dl, RTLD_DI_LINKMAP, &lm) != 0 || !lm || !lm->l_ld)
        return nullptr;
    const auto base = static_cast<ElfW(Addr)>(lm->l_addr);
    // The loader relocates these entries in place; a value below the load
    // address is still relative.
    auto addr = [base](ElfW(Addr) v) { return v < base ? v + base : v; };
    const ElfW(Sym)* symtab = nullptr;
    const char* strtab = nullptr;
    const uint32_t* gnuHash = nullptr;
    const uint32_t* sysvHash = nullptr;
    for (const ElfW(Dyn)* d = lm->l_ld; d->d_tag != DT_NULL; ++d) {
        switch (d->d_tag) {
        case DT_SYMTAB: symtab = reinterpret_cast<const ElfW(Sym)*>(addr(d->d_un.d_ptr)); break;
        case DT_STRTAB: strtab = reinterpret_cast<const char*>(addr(d->d_un.d_ptr)); break;
        case DT_GNU_HASH: gnuHash = reinterpret_cast<const uint32_t*>(addr(d->d_un.d_ptr)); break;
        case DT_HASH: sysvHash = reinterpret_cast<const uint32_t*>(addr(d->d_un.d_ptr)); break;
        default: break;
        }
    }
    if (!symtab || !strtab)
        return nullptr;
    size_t count = 0;
    if (sysvHash) {
        count = sysvHash[1];
    } else if (gnuHash) {
        // No count is stored: the highest chain's end is the last symbol.
        const uint32_t nbuckets = gnuHash[0], symoffset = gnuHash[1], bloomSize = gnuHash[2];
        const uint32_t* buckets = gnuHash + 4 + bloomSize * (sizeof(ElfW(Addr)) / 4);
        const uint32_t* chains = buckets + nbuckets;
        uint32_t last = 0;
        for (uint32_t b = 0; b < nbuckets; ++b)
            if (buckets[b] > last)
                last = buckets[b];
        if (last >= symoffset) {
            while (!(chains[last - symoffset] & 1))
                ++last;
            count = last + 1;
        }
    }
    for (size_t i = 0; i < count; ++i) {
        const ElfW(Sym)& sym = symtab[i];
        if (sym.st_shndx == SHN_UNDEF || sym.st_value == 0)
            continue;
        const int type = ELF64_ST_TYPE(sym.st_info);
        if (type != STT_FUNC && type != STT_OBJECT)
            continue;
        if (ieq(strtab + sym.st_name, name))
            return ::dlsym(dl, strtab + sym.st_name);
    }
    return nullptr;
}

bool executable_file(const std::string& p)
{
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(p.c_str(), X_OK) == 0;
}

} // namespace

std::string ModuleFileNameFor(const char* name)
{
    std::string file = lower(base_name(name ? name : ""));
    if (file.size() > 4 && file.compare(file.size() - 4, 4, ".dll") == 0)
        return "lib" + file.substr(0, file.size() - 4) + ".so";
    if (file.size() > 4 && file.compare(file.size() - 4, 4, ".exe") == 0)
        return file.substr(0, file.size() - 4);
    return file;
}

HINSTANCE RegisterModule(const char* name, const char* path)
{
    if (!name || !*name)
        return 0;
    std::lock_guard lock(g_mutex);
    for (auto& m : g_modules)
        if (ieq(m.name, name)) {
            if (path && *path)
                m.path = path;
            return m.handle;
        }
    return add(name, path ? path : "").handle;
}

void RegisterStringTable(HINSTANCE module, const StringEntry* entries, size_t count)
{
    std::lock_guard lock(g_mutex);
    Module* m = by_handle(module);
    if (!m || !entries)
        return;
    for (size_t i = 0; i < count; ++i)
        m->strings[entries[i].id] = entries[i].text ? entries[i].text : "";
}

HMODULE GetModuleHandle(const char* name)
{
    std::lock_guard lock(g_mutex);
    if (!name)
        return executable_module()->handle;
    for (auto& m : g_modules)
        if (names_module(m, name))
            return m.handle;
    const std::string file = ModuleFileNameFor(name);
    const std::string exe = exe_path();
    if (ieq(base_name(exe), file))
        return executable_module()->handle;
    const std::string found = loaded_object(file);
    if (found.empty())
        return 0;
    return add(name, found).handle;
}

DWORD GetModuleFileName(HMODULE module, char* buf, DWORD size)
{
    std::string path;
    {
        std::lock_guard lock(g_mutex);
        Module* m = module ? by_handle(module) : executable_module();
        if (!m)
            return 0;
        path = Utf8ToAnsi(m->path);
    }
    if (!buf || size == 0)
        return 0;
    if (path.size() >= size) {
        std::memcpy(buf, path.data(), size - 1);
        buf[size - 1] = '\0';
        return size;
    }
    std::memcpy(buf, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

int LoadString(HINSTANCE module, UINT id, char* buf, int size)
{
    if (!buf || size <= 0)
        return 0;
    buf[0] = '\0';
    std::lock_guard lock(g_mutex);
    Module* m = by_handle(module);
    if (!m)
        return 0;
    auto it = m->strings.find(id);
    if (it == m->strings.end())
        return 0;
    const size_t n = it->second.size() < static_cast<size_t>(size - 1) ? it->second.size()
                                                                       : static_cast<size_t>(size - 1);
    std::memcpy(buf, it->second.data(), n);
    buf[n] = '\0';
    return static_cast<int>(n);
}

HINSTANCE LoadLibrary(const char* name)
{
    if (!name || !*name)
        return 2;
    std::string winName = name;
    if (base_name(winName).find('.') == std::string_view::npos)
        winName += ".DLL";
    const std::string file = ModuleFileNameFor(winName.c_str());

    std::string path;
    const std::string_view given(winName);
    const size_t slash = given.find_last_of("/\\");
    if (slash != std::string_view::npos) {
        path = ResolvePath((std::string(given.substr(0, slash + 1)) + file).c_str());
    } else {
        // The caller's own folder first: the chart library finds its
        // companions beside itself, not beside the program.
        Dl_info info{};
        if (::dladdr(__builtin_return_address(0), &info) && info.dli_fname) {
            const std::string_view caller(info.dli_fname);
            const size_t s = caller.rfind('/');
            const std::string dir = s == std::string_view::npos ? "." : std::string(caller.substr(0, s));
            const std::string candidate = ResolvePath((dir + "/" + file).c_str());
            struct stat st;
            if (!candidate.empty() && ::stat(candidate.c_str(), &st) == 0)
                path = candidate;
        }
        if (path.empty())
            path = file; // the library path
    }
    void* dl = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!dl)
        return 2;
    link_map* lm = nullptr;
    std::string realPath = path;
    if (::dlinfo(dl, RTLD_DI_LINKMAP, &lm) == 0 && lm && lm->l_name && *lm->l_name)
        realPath = lm->l_name;

    std::lock_guard lock(g_mutex);
    for (auto& m : g_modules) {
        if (m.dl == dl || (!m.path.empty() && real(m.path) == real(realPath))
            || ieq(ModuleFileNameFor(m.name.c_str()), file)) {
            if (m.dl)
                ::dlclose(dl); // one reference is enough; loads counts the rest
            else
                m.dl = dl;
            if (m.path.empty())
                m.path = realPath;
            ++m.loads;
            return m.handle;
        }
    }
    Module& m = add(winName, realPath);
    m.dl = dl;
    m.loads = 1;
    return m.handle;
}

FARPROC GetProcAddress(HMODULE module, const char* name)
{
    if (!name)
        return nullptr;
    void* dl = nullptr;
    bool temporary = false;
    {
        std::lock_guard lock(g_mutex);
        Module* m = by_handle(module);
        if (!m)
            return nullptr;
        dl = m->dl;
        if (!dl && !m->path.empty()) {
            dl = ::dlopen(m->path.c_str(), RTLD_NOW | RTLD_NOLOAD);
            temporary = dl != nullptr;
        }
    }
    if (!dl)
        return nullptr;
    void* sym = ::dlsym(dl, name);
    if (!sym)
        sym = find_symbol_ignoring_case(dl, name);
    if (temporary)
        ::dlclose(dl); // still loaded: RTLD_NOLOAD found it in the process
    FARPROC fn = nullptr;
    static_assert(sizeof fn == sizeof sym);
    std::memcpy(&fn, &sym, sizeof fn);
    return fn;
}

BOOL FreeLibrary(HINSTANCE module)
{
    std::lock_guard lock(g_mutex);
    for (auto it = g_modules.begin(); it != g_modules.end(); ++it) {
        if (it->handle != module)
            continue;
        if (!it->dl || it->loads <= 0)
            return FALSE;
        if (--it->loads == 0) {
            void* dl = it->dl;
            g_modules.erase(it);
            ::dlclose(dl);
        }
        return TRUE;
    }
    return FALSE;
}

UINT WinExec(const char* cmdline, UINT /*show*/)
{
    if (!cmdline)
        return 2;
    std::string_view line(cmdline);
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    std::string_view program;
    std::string_view rest;
    bool hasArg = false;
    if (!line.empty() && line.front() == '"') {
        const size_t close = line.find('"', 1);
        program = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        if (close != std::string_view::npos && close + 1 < line.size() && line[close + 1] == ' ') {
            rest = line.substr(close + 2);
            hasArg = true;
        }
    } else {
        const size_t space = line.find(' ');
        program = line.substr(0, space);
        if (space != std::string_view::npos) {
            rest = line.substr(space + 1);
            hasArg = true;
        }
    }
    if (program.empty())
        return 2;

    const std::string file = ModuleFileNameFor(std::string(program).c_str());
    std::string path;
    const size_t slash = program.find_last_of("/\\");
    if (slash != std::string_view::npos) {
        const std::string candidate = ResolvePath((std::string(program.substr(0, slash + 1)) + file).c_str());
        if (executable_file(candidate))
            path = candidate;
    } else {
        std::vector<std::string> dirs{ExecutableDir()};
        if (const char* env = std::getenv("PATH")) {
            std::string_view p(env);
            while (true) {
                const size_t colon = p.find(':');
                const std::string_view d = p.substr(0, colon);
                dirs.emplace_back(d.empty() ? "." : std::string(d));
                if (colon == std::string_view::npos)
                    break;
                p.remove_prefix(colon + 1);
            }
        }
        for (const auto& d : dirs) {
            const std::string candidate = ResolvePath((Utf8ToAnsi(d) + "/" + file).c_str());
            if (executable_file(candidate)) {
                path = candidate;
                break;
            }
        }
    }
    if (path.empty())
        return 2;

    const std::string arg = AnsiToUtf8(rest);
    std::vector<char*> argv;
    std::string argv0 = path;
    argv.push_back(argv0.data());
    std::string argCopy = arg;
    if (hasArg && !arg.empty())
        argv.push_back(argCopy.data());
    argv.push_back(nullptr);

    std::lock_guard lock(g_mutex);
    reap_children();
    pid_t pid = 0;
    if (::posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return 2;
    g_children.push_back(pid);
    if (ipc::LaunchHook hook = ipc::GetLaunchHook()) {
        // The wait serves the link, which may start nothing; the table is
        // free again by then.
        g_mutex.unlock();
        hook(file.c_str(), static_cast<int>(pid));
        g_mutex.lock();
    }
    return 33;
}

DWORD GetCurrentThreadId() { return static_cast<DWORD>(::gettid()); }

} // namespace plat
