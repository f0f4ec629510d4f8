#include <string_view>

#include "fuzz_targets.hpp"
#include "term/byte_reader.hpp"
#include "term/compiled_entry_parser.hpp"
#include "term/terminfo_terminal.hpp"

namespace quarv_fuzz {
namespace {

using namespace quarv::detail;

class DiscardSink final : public term::TerminalSink {
public:
    IoResult<> write_all(std::string_view) override { return {}; }
    IoResult<> flush() override { return {}; }
};

}  // namespace

int terminfo_parse(const std::uint8_t* data, std::size_t size) {
    term::MemoryReader reader(std::string_view(reinterpret_cast<const char*>(data), size));
    auto parsed = term::parse(reader);
    if (!parsed) return 0;
    auto terminal = term::TerminfoTerminal::new_with_terminfo(std::make_unique<DiscardSink>(), std::move(*parsed));
    for (std::uint32_t colour = 0; colour < 18; ++colour) (void)terminal.fg(colour);
    (void)terminal.reset();
    return 0;
}

}  // namespace quarv_fuzz
