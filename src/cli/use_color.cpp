#include "cli/test_opts.hpp"
#include "platform/terminal_detect.hpp"

namespace quarv::detail {

// Captured runs own the terminal's output, so Auto colours only then; with capture off,
// tests print straight into the stream and escape sequences would interleave with them.
bool TestOpts::use_color() const {
    switch (color) {
    case ColorConfig::Always: return true;
    case ColorConfig::Never: return false;
    case ColorConfig::Auto: break;
    }
    return !nocapture && stdout_is_terminal();
}

}  // namespace quarv::detail
