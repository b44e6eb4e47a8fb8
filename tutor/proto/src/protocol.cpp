#include "tutorproto/protocol.h"
#include "foundation/msgbox.h"
#include "plat/crt.h"
#include "plat/fw/app.h"
#include "plat/uihost.h"
#include "replace_file.h"
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <strings.h>

namespace {

constexpr std::array<const char*, TUTOR_LAST_CODE> kKeywords = {
    "OpenFile",      "ShowText",     "ShowMenu",         "ExecMenu",        "Delay",
    "CloseWindow",   "ConfirmText",  "CLickButton",      "CheckButton",     "SetEditText",
    "SelectCombo",   "SelectList",   "SimulateExecMenu", "ConfirmContinue", "PositionWizard",
    "CloseCurrentWindow", "SimulateSelectCombo",
};

} // namespace

const char* tutor_keyword(int16_t code)
{
    if (code < 1 || code > TUTOR_LAST_CODE)
        return nullptr;
    return kKeywords[static_cast<size_t>(code - 1)];
}

int16_t tutor_code_of(const std::string& keyword)
{
    for (size_t i = 0; i < kKeywords.size(); ++i)
        if (keyword.size() == std::strlen(kKeywords[i]) && ::strcasecmp(keyword.c_str(), kKeywords[i]) == 0)
            return static_cast<int16_t>(i + 1);
    return TUTOR_UNKNOWN;
}

bool tutor_is_handed_over(int16_t code)
{
    return code == TUTOR_OPEN_FILE || code == TUTOR_EXEC_MENU || code == TUTOR_CLOSE_WINDOW ||
           code == TUTOR_SELECT_COMBO;
}

CommandRecordBytes encode_command_record(const CommandRecord& record)
{
    CommandRecordBytes bytes{};
    const auto code = static_cast<uint16_t>(record.code);
    bytes[0] = static_cast<char>(code & 0xFF);
    bytes[1] = static_cast<char>(code >> 8);
    const size_t n = std::min({record.text.size(), COMMAND_TEXT_MAX, std::strlen(record.text.c_str())});
    std::memcpy(bytes.data() + 2, record.text.data(), n);
    return bytes;
}

CommandRecord decode_command_record(const CommandRecordBytes& bytes)
{
    CommandRecordBytes copy = bytes;
    copy[COMMAND_RECORD_SIZE - 1] = 0;
    CommandRecord out;
    out.code = static_cast<int16_t>(static_cast<uint8_t>(copy[0]) | (static_cast<uint8_t>(copy[1]) << 8));
    out.text = std::string(copy.data() + 2);
    return out;
}

bool read_command_record(const std::string& path, CommandRecord& out)
{
    // One byte more than a record, so a longer file is seen as such.
    std::array<char, COMMAND_RECORD_SIZE + 1> buf{};
    std::FILE* f = plat::crt_fopen(path.c_str(), "rb");
    size_t n = 0;
    if (f != nullptr) {
        n = std::fread(buf.data(), 1, buf.size(), f);
        std::fclose(f);
    }
    if (f == nullptr || n != COMMAND_RECORD_SIZE) {
        const plat::CWinApp* app = plat::AfxGetApp();
        const char* caption = app != nullptr && app->m_pszAppName != nullptr ? app->m_pszAppName : "";
        lang_message_box(0, "Unable to read command binary file", caption, plat::MB_OK);
        return false;
    }
    CommandRecordBytes bytes{};
    std::memcpy(bytes.data(), buf.data(), COMMAND_RECORD_SIZE);
    out = decode_command_record(bytes);
    return true;
}

bool write_command_record(const std::string& path, const CommandRecord& record)
{
    const CommandRecordBytes bytes = encode_command_record(record);
    return tutorproto::replace_file(path, bytes.data(), bytes.size());
}
