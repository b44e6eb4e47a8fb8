// The run log's file layer: one scrambled text record at a time, each write
// opening and closing the file; a whole log read back into its parts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using LogFields = std::vector<std::string>;

struct LogSummary {
    LogFields fields;  // five
    LogFields items;   // product code, product reputation, alternating
};

inline constexpr size_t MAX_LOG_RECORD = 2000;

class LogFile {
public:
    explicit LogFile(std::string name) : name_(std::move(name)) {}

    int WriteHeader(const std::string& path, const std::string& date, const std::string& seed, int32_t log_seed1,
                    int32_t log_seed2);
    int WriteAction(const LogFields& six);
    int WritePolicy(const LogFields& six);
    int WritePartSum(const LogFields& five);
    int WriteSummary(const LogFields& five, const LogFields& items);
    static std::string FormatRecord(const std::string& kind, const std::string& body);
    // 1 when the record text reached the file whole, 0 otherwise (a box says why).
    int Append(bool create);
    // 1 for a well-formed log.
    int Read(std::string& header_path, std::string& header_date, std::vector<LogFields>& records,
             std::vector<LogFields>& sums, LogSummary& summary);

    const std::string& name() const { return name_; }

private:
    std::string name_;
    std::string record_;
    uint8_t seed1_ = 0;
    uint8_t seed2_ = 0;
};

// The chained scrambling: each stored byte from its text byte and the two
// bytes stored before it.
uint8_t scramble_byte(uint8_t text, uint8_t before2, uint8_t before1);
uint8_t unscramble_byte(uint8_t stored, uint8_t before2, uint8_t before1);
