// What the run loop reports, in order, to the console.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <variant>

#include "model/test_result.hpp"
#include "platform/io_error.hpp"

namespace quarv::detail {

struct RunPlanned {
    std::size_t test_count;
    std::optional<std::uint64_t> shuffle_seed;
};
struct TestStarting {
    TestDesc descriptor;
};
struct TestCompleted {
    CompletedTest completed;
};
struct TestRunningLong {
    TestDesc descriptor;
};
struct FilteredOutCount {
    std::size_t count;
};

using TestEvent = std::variant<RunPlanned, TestStarting, TestCompleted, TestRunningLong, FilteredOutCount>;
using TestEventCallback = std::function<IoResult<>(TestEvent)>;

}  // namespace quarv::detail
