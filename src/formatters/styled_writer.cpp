#include "formatters/styled_writer.hpp"

#include <algorithm>

namespace quarv::detail {

IoResult<> StyledWriter::write_plain(std::string_view text) {
    QUARV_TRY_IO(m_output.write_all(text));
    return m_output.flush();
}

IoResult<> StyledWriter::write_pretty(std::string_view word, Colour colour) {
    Terminal* terminal = m_output.terminal();
    if (terminal && m_use_color) QUARV_TRY_IO(terminal->fg(colour));
    QUARV_TRY_IO(m_output.write_all(word));
    if (terminal && m_use_color) QUARV_TRY_IO(terminal->reset());
    return m_output.flush();
}

std::string plural(std::size_t count, std::string_view word) {
    std::string text = std::to_string(count) + " " + std::string(word);
    if (count != 1) text += 's';
    return text;
}

IoResult<> write_results(StyledWriter& out, const std::vector<FinishedTest>& list, std::string_view section) {
    std::string header = "\n" + std::string(section) + ":\n";
    QUARV_TRY_IO(out.write_plain(header));
    std::vector<std::string> names;
    std::string outputs;
    for (const auto& [desc, captured] : list) {
        names.emplace_back(desc.name.as_slice());
        if (!captured.empty()) {
            outputs += "---- " + std::string(desc.name.as_slice()) + " stdout ----\n";
            outputs += utf8_lossy(captured);
            outputs += '\n';
        }
    }
    if (!outputs.empty()) {
        QUARV_TRY_IO(out.write_plain("\n"));
        QUARV_TRY_IO(out.write_plain(outputs));
    }
    QUARV_TRY_IO(out.write_plain(header));
    std::stable_sort(names.begin(), names.end());
    for (const std::string& name : names) QUARV_TRY_IO(out.write_plain("    " + name + "\n"));
    return {};
}

}  // namespace quarv::detail
