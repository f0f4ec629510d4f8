#include "term/terminfo_searcher.hpp"

#include <vector>

#include "platform/utf8.hpp"
#include "term/terminfo_file.hpp"

namespace quarv::detail::term {
namespace {

constexpr std::string_view kDefaultDir = "/usr/share/terminfo";

std::vector<std::string> search_dirs(const EnvLookup& env) {
    std::vector<std::string> dirs;
    if (EnvValue terminfo = env("TERMINFO"); terminfo.is_set()) dirs.push_back(terminfo.value);

    if (EnvValue list = env("TERMINFO_DIRS"); list.is_text()) {
        std::string_view rest = list.value;
        for (;;) {
            const std::size_t colon = rest.find(':');
            std::string_view piece = rest.substr(0, colon);
            dirs.emplace_back(piece.empty() ? kDefaultDir : piece);
            if (colon == std::string_view::npos) break;
            rest.remove_prefix(colon + 1);
        }
        return dirs;
    }

    if (std::optional<std::string> home = home_dir(env)) dirs.push_back(*home + "/.terminfo");
    for (const char* dir : {"/etc/terminfo", "/lib/terminfo", "/usr/share/terminfo", "/boot/system/data/terminfo"}) {
        dirs.emplace_back(dir);
    }
    return dirs;
}

std::string to_lower_hex(char32_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    do {
        out.insert(out.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return out;
}

}  // namespace

std::optional<std::string> get_dbpath_for_term(std::string_view term, const EnvLookup& env) {
    if (term.empty()) return std::nullopt;
    const std::string first(term.substr(0, first_char_length(term)));
    const std::string hex = to_lower_hex(first_code_point(term));

    for (const std::string& dir : search_dirs(env)) {
        if (!path_exists(dir)) continue;
        std::string by_char = dir + "/" + first + "/";
        by_char.append(term);
        if (path_exists(by_char)) return by_char;
        std::string by_hex = dir + "/" + hex + "/";
        by_hex.append(term);
        if (path_exists(by_hex)) return by_hex;
    }
    return std::nullopt;
}

}  // namespace quarv::detail::term
