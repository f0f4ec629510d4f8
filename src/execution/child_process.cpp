// Placeholder until child-process isolation lands.
#include "execution/run_test.hpp"
#include "platform/fatal.hpp"

namespace quarv::detail {

void spawn_test_subprocess(TestId, const TestDesc&, bool, const CompletionSender&, const std::optional<TestTimeOptions>&,
                           bool) {
    fatal_error("running tests in child processes is not available in this build");
}

}  // namespace quarv::detail
