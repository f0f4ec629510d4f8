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

std::string utf8_lossy(std::string_view bytes) {
    static constexpr std::string_view replacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    while (i < bytes.size()) {
        unsigned char lead = at(i);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        // Length of a well-formed sequence starting here, or the length of the maximal
        // invalid prefix to replace by one U+FFFD.
        std::size_t need = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) need = 1;
        else if (lead == 0xE0) need = 2, lo = 0xA0;
        else if (lead >= 0xE1 && lead <= 0xEC) need = 2;
        else if (lead == 0xED) need = 2, hi = 0x9F;
        else if (lead >= 0xEE && lead <= 0xEF) need = 2;
        else if (lead == 0xF0) need = 3, lo = 0x90;
        else if (lead >= 0xF1 && lead <= 0xF3) need = 3;
        else if (lead == 0xF4) need = 3, hi = 0x8F;
        if (need == 0) {
            out += replacement;
            ++i;
            continue;
        }
        std::size_t j = 1;
        for (; j <= need && i + j < bytes.size(); ++j) {
            unsigned char b = at(i + j);
            unsigned char l = j == 1 ? lo : 0x80, h = j == 1 ? hi : 0xBF;
            if (b < l || b > h) break;
        }
        if (j == need + 1) {
            out.append(bytes.substr(i, need + 1));
        } else {
            out += replacement;
        }
        i += j == need + 1 ? need + 1 : j;
    }
    return out;
}

}  // namespace quarv::detail
