#include "selection/shard.hpp"

#include <limits>
#include <string_view>
#include <unistd.h>

#include "cli/number_parse.hpp"
#include "platform/fatal.hpp"
#include "platform/touch_file.hpp"

namespace quarv::detail {

namespace {

constexpr const char* kTotalVar = "TEST_TOTAL_SHARDS";
constexpr const char* kIndexVar = "TEST_SHARD_INDEX";
constexpr const char* kStatusVar = "TEST_SHARD_STATUS_FILE";

// Decimal digits only (no sign), at least one, no overflow.
std::optional<std::size_t> parse_count(std::string_view text) {
    if (!text.empty() && text.front() == '+') return std::nullopt;
    auto value = parse_unsigned(text, std::numeric_limits<std::size_t>::max());
    if (!value) return std::nullopt;
    return static_cast<std::size_t>(*value);
}

// The value as it is quoted in messages; bytes that are not text are not echoed.
std::string shown(const EnvValue& value) {
    return value.is_text() ? "`" + value.value + "`" : "not valid unicode";
}

void write_stderr(std::string_view text) {
    while (!text.empty()) {
        ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
        if (written <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

[[noreturn]] void shard_error(const std::string& message) {
    write_stderr("error: " + message + "\n");
    exit_process(101);
}

}  // namespace

Expected<ShardRequest, std::string> read_shard_request(const EnvLookup& env) {
    ShardRequest request;
    EnvValue status = env(kStatusVar);
    if (status.is_set()) request.status_file = status.value;

    EnvValue total = env(kTotalVar);
    EnvValue index = env(kIndexVar);
    if (!total.is_set() && !index.is_set()) return request;
    if (!total.is_set()) return unexpected(std::string(kIndexVar) + " is set but " + kTotalVar + " is not; set both or neither.");
    if (!index.is_set()) return unexpected(std::string(kTotalVar) + " is set but " + kIndexVar + " is not; set both or neither.");

    std::optional<std::size_t> total_count = total.is_text() ? parse_count(total.value) : std::nullopt;
    if (!total_count || *total_count == 0) {
        return unexpected(std::string(kTotalVar) + " is " + shown(total) + ", should be a positive integer.");
    }
    std::optional<std::size_t> index_count = index.is_text() ? parse_count(index.value) : std::nullopt;
    if (!index_count || *index_count >= *total_count) {
        return unexpected(std::string(kIndexVar) + " is " + shown(index) + ", should be an integer from 0 to " +
                          std::to_string(*total_count - 1) + " (" + kTotalVar + " is " + std::to_string(*total_count) +
                          ").");
    }
    request.shard = ShardSpec{*index_count, *total_count};
    return request;
}

std::vector<TestDescAndFn> apply_shard_from_env(std::vector<TestDescAndFn> selected) {
    auto request = read_shard_request(process_env());
    if (!request) shard_error(request.error());
    if (request->status_file) {
        auto touched = touch_file(*request->status_file);
        if (!touched) {
            shard_error("cannot touch " + std::string(kStatusVar) + " `" + *request->status_file +
                        "`: " + touched.error().describe());
        }
    }
    if (!request->shard) return selected;
    return keep_shard(std::move(selected), *request->shard);
}

}  // namespace quarv::detail
