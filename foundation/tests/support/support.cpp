#include "support/support.h"
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#ifdef FOUNDATION_STANDALONE_HOST
#include "host_p.h"
#else
#include "plat/testing.h"
#endif

struct BoxCapture::Impl {
#ifdef FOUNDATION_STANDALONE_HOST
    size_t first_box = fhost::recorded_boxes().size();
    int first_beep = fhost::recorded_beeps();
#else
    plat::ScriptedHost host;
#endif
};

BoxCapture::BoxCapture() : impl_(std::make_unique<Impl>())
{
#ifndef FOUNDATION_STANDALONE_HOST
    impl_->host.Answer(plat::IDOK, "");
#endif
}

BoxCapture::~BoxCapture() = default;

std::vector<ShownBox> BoxCapture::boxes() const
{
    std::vector<ShownBox> out;
#ifdef FOUNDATION_STANDALONE_HOST
    const auto& all = fhost::recorded_boxes();
    for (size_t i = impl_->first_box; i < all.size(); ++i)
        out.push_back({all[i].caption, all[i].text});
#else
    for (const auto& b : impl_->host.boxes())
        out.push_back({b.caption, b.text});
#endif
    return out;
}

int BoxCapture::beeps() const
{
#ifdef FOUNDATION_STANDALONE_HOST
    return fhost::recorded_beeps() - impl_->first_beep;
#else
    return static_cast<int>(impl_->host.beeps().size());
#endif
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
