// The policies file: the Marketing, Purchasing and Production departments'
// settings, one block each, with no header. The file carries no counts, so
// only its exact size tells whether it fits the scenario.
#include "app/view.h"
#include "app/state_names.h"
#include "foundation/binfile.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include <cstdio>
#include <vector>

bool CVornView::SavePolicies(const std::string& path)
{
    RecordWriter out;
    for (CDepartmentWnd* d : {marketing, purchasing, production})
        if (d != nullptr)
            d->write_policies(out);
    std::string temp = path + ".tmp";
    BinFile f;
    bool ok = f.Create(temp.c_str()) != 0;
    if (ok) {
        if (!out.bytes().empty())
            f.Write(out.bytes().data(), static_cast<int32_t>(out.bytes().size()));
        ok = f.Close() == 0;
    }
    ok = ok && plat::MoveFile(temp.c_str(), path.c_str());
    if (!ok) {
        plat::DeleteFile(temp.c_str());
        char box[1200];
        std::snprintf(box, sizeof box, "Unable to save policies file: %s", path.c_str());
        lang_message_box(0, box, "Save Policies", plat::MB_OK | plat::MB_ICONSTOP);
    }
    return ok;
}

bool CVornView::LoadPolicies(const std::string& path)
{
    int32_t expected = 0;
    for (CDepartmentWnd* d : {marketing, purchasing, production})
        if (d != nullptr)
            expected += d->policies_size();

    std::vector<uint8_t> bytes;
    BinFile f;
    bool ok = f.Open(path.c_str()) != 0;
    if (ok) {
        int32_t length = f.Length();
        ok = length == expected;
        if (ok && length > 0) {
            bytes.resize(static_cast<size_t>(length));
            ok = f.Read(bytes.data(), length) == length;
        }
        ok = f.Close() == 0 && ok;
    }
    if (!ok) {
        char box[1200];
        std::snprintf(box, sizeof box, "The policies file does not fit this scenario: %s", path.c_str());
        lang_message_box(0, box, "Load Policies File", plat::MB_OK | plat::MB_ICONSTOP);
        return false;
    }

    RecordReader in(bytes.data(), bytes.size());
    for (CDepartmentWnd* d : {marketing, purchasing, production})
        if (d != nullptr)
            d->read_policies(in);
    if (production != nullptr)
        production->apply_loaded_policies();
    if (purchasing != nullptr)
        purchasing->apply_loaded_policies();
    if (marketing != nullptr)
        marketing->apply_loaded_policies();
    log_decision("Mgr", "Loaded Policies", file_name_part(path), "---", "---", 1, 1);
    return true;
}
