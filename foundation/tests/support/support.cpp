#include "support/support.h"
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include "plat/testing.h"

struct BoxCapture::Impl {
    plat::ScriptedHost host;
};

BoxCapture::BoxCapture() : impl_(std::make_unique<Impl>())
{
    impl_->host.Answer(plat::IDOK, "");
}

BoxCapture::~BoxCapture() = default;

std::vector<ShownBox> BoxCapture::boxes() const
{
    std::vector<ShownBox> out;
    for (const auto& b : impl_->host.boxes())
        out.push_back({b.caption, b.text});
    return out;
}

int BoxCapture::beeps() const
{
    return static_cast<int>(impl_->host.beeps().size());
}

ScratchDir::ScratchDir()
{
    static std::atomic<int> counter{0};
    path_ = std::string(VORN_BINARY_DIR) + "/test-home/foundation-scratch-" + std::to_string(::getpid()) + "-" +
            std::to_string(counter++);
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string test_data(const std::string& name) { return std::string(VORN_TEST_DATA) + "/" + name; }
