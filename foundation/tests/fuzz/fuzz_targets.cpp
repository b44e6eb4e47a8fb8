#include "fuzz/fuzz_targets.h"
#include "foundation/coder.h"
#include "foundation/datafile.h"
#include "foundation/datavec.h"
#include "foundation/lang.h"
#include "foundation/randtables.h"
#include "plat/crt.h"
#include "plat/memory.h"
#include "plat/testing.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

// One scratch folder for the process, removed when the process that made it ends.
struct ScratchFolder {
    std::string path;
    pid_t owner = ::getpid();
    ScratchFolder()
        : path(std::filesystem::temp_directory_path().string() + "/foundation-fuzz-" + std::to_string(::getpid()))
    {
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        if (::getpid() == owner)
            std::filesystem::remove_all(path, ec);
    }
};

const std::string& folder()
{
    static const ScratchFolder scratch;
    return scratch.path;
}

std::string put(const char* name, const uint8_t* data, size_t size)
{
    const std::string path = folder() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs f; a fatal error (the scripted host's exit) is a fine answer to bad
// bytes, any other way out is not.
template <class F>
void guarded(F f)
{
    // Only for the call: the process's own host is back afterwards.
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "");
    try {
        f();
    } catch (const plat::ExitRequest& e) {
        if (e.code != 1)
            std::abort();
    }
}

} // namespace

void fuzz_datafile(const uint8_t* data, size_t size)
{
    const std::string path = put("data.dat", data, size);
    guarded([&] {
        DataFile file;
        if (!file.Open(path.c_str()))
            return;
        const int16_t sections = file.Index().Count();
        for (int16_t i = 0; i + 1 < sections && i < 8; ++i) {
            std::string text;
            if (find_section(file, file.Index().GetAt(i)->name, text, 0) != 1)
                continue;
            count_records(text);
            guarded([&] {
                std::string record;
                for (int16_t topic = 1; topic <= 2; ++topic)
                    for (int16_t r = 1; r <= 2; ++r) {
                        const int16_t items = get_record(topic, r, text, record);
                        for (int16_t item = 1; item <= items && item <= 4; ++item) {
                            std::string out;
                            get_item(item, record, out);
                            get_item_int(item, record);
                            get_item_float(item, record);
                        }
                    }
            });
        }
    });
}

void fuzz_randtables(const uint8_t* data, size_t size)
{
    const std::string path = put("tables.tbl", data, size);
    guarded([&] {
        if (load_random_tables(path.c_str()) != 1)
            return;
        static plat::Lcg generator(1);
        set_random_source([] { return generator.next(); });
        for (int16_t i = 0; i < rand_tables_count(); ++i)
            draw_rand_table(rand_table_at(i)->name);
    });
}

void fuzz_lang(const uint8_t* data, size_t size)
{
    put("vorn.lng", data, size);
    lang_set_folder(folder());
    guarded([&] {
        lang_load(0);
        lang_font("MS Sans Serif");
        for (const char* text : {"Open", "Error", "", "\xe9t\xe9", "Font"})
            lang_translate(text);
    });
}

void fuzz_coded(const uint8_t* data, size_t size)
{
    const std::string path = put("coded.txt", data, size);
    guarded([&] {
        is_coded_file(path.c_str());
        const std::string before = slurp(path);
        if (!code_file_quiet(path.c_str(), true) || !code_file_quiet(path.c_str(), false))
            std::abort();
        if (slurp(path) != before)
            std::abort();  // coding must give every byte back
    });
}

void fuzz_bitmap(const uint8_t* data, size_t size)
{
    const std::string path = put("picture.bmp", data, size);
    guarded([&] {
        const plat::HGLOBAL dib = dib_load_file(path.c_str());
        if (dib == 0)
            return;
        void* p = plat::GlobalLock(dib);
        if (dib_width(p) <= 0 || dib_height(p) <= 0)
            std::abort();
        plat::GlobalUnlock(dib);
        const std::string again = folder() + "/again.bmp";
        if (!dib_save_file(dib, again.c_str()))
            std::abort();
        const plat::HGLOBAL back = dib_load_file(again.c_str());
        if (back == 0)
            std::abort();  // what we write we must read
        dib_free(back);
        dib_free(dib);
    });
}
