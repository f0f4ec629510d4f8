// Prints what the runner's terminfo reader makes of an entry, for the end-to-end scripts.
//
//   terminfo_dump path FILE              the entry in FILE
//   terminfo_dump name TERM              the entry found for TERM in the database
//   terminfo_dump env                    the entry from_env picks (TERM, MSYSCON, ...)
//   terminfo_dump dbpath TERM            the file the database search finds, or nothing
//   terminfo_dump expand FILE CAP [N..]  CAP of FILE expanded with parameters, raw bytes
//   terminfo_dump tables                 the capability name tables, one "kind index name"
//
// An entry is printed as "names: a|b", then "bool NAME", "num NAME VALUE" and
// "str NAME ESCAPED" lines sorted by kind and name; string bytes outside printable ASCII
// and the backslash are written as \xHH. A failure is printed as "error: ..." with exit 1;
// "expand" of a missing capability prints "absent" with exit 2.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "term/capability_names.hpp"
#include "term/parm.hpp"
#include "term/terminfo.hpp"
#include "term/terminfo_searcher.hpp"

using namespace quarv::detail;
using namespace quarv::detail::term;

namespace {

std::string escape(const std::string& bytes) {
    std::string out;
    char hex[5];
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out;
}

template <class Map>
std::vector<std::string> sorted_keys(const Map& map) {
    std::vector<std::string> keys;
    for (const auto& item : map) keys.push_back(item.first);
    std::sort(keys.begin(), keys.end());
    return keys;
}

int print_entry(const Expected<TermInfo, Error>& entry) {
    if (!entry) {
        std::printf("error: %s\n", entry.error().describe().c_str());
        return 1;
    }
    std::string names;
    for (std::size_t i = 0; i < entry->term_names.size(); ++i) names += (i ? "|" : "") + entry->term_names[i];
    std::printf("names: %s\n", escape(names).c_str());
    for (const auto& key : sorted_keys(entry->bool_caps)) std::printf("bool %s\n", key.c_str());
    for (const auto& key : sorted_keys(entry->number_caps)) {
        std::printf("num %s %u\n", key.c_str(), static_cast<unsigned>(entry->number_caps.at(key)));
    }
    for (const auto& key : sorted_keys(entry->string_caps)) {
        std::printf("str %s %s\n", key.c_str(), escape(entry->string_caps.at(key)).c_str());
    }
    return 0;
}

int usage() {
    std::fputs("usage: terminfo_dump path FILE | name TERM | env | dbpath TERM | expand FILE CAP [N...] | tables\n",
               stderr);
    return 64;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string mode = argv[1];
    if (mode == "path" && argc == 3) return print_entry(TermInfo::from_path(argv[2]));
    if (mode == "name" && argc == 3) return print_entry(TermInfo::from_name(argv[2]));
    if (mode == "env" && argc == 2) return print_entry(TermInfo::from_env());
    if (mode == "dbpath" && argc == 3) {
        auto path = get_dbpath_for_term(argv[2]);
        if (path) std::printf("%s\n", path->c_str());
        return path ? 0 : 1;
    }
    if (mode == "tables" && argc == 2) {
        for (std::size_t i = 0; i < bool_names.size(); ++i) std::printf("bool %zu %s\n", i, bool_names[i].data());
        for (std::size_t i = 0; i < number_names.size(); ++i) std::printf("num %zu %s\n", i, number_names[i].data());
        for (std::size_t i = 0; i < string_names.size(); ++i) std::printf("str %zu %s\n", i, string_names[i].data());
        return 0;
    }
    if (mode == "expand" && argc >= 4) {
        auto entry = TermInfo::from_path(argv[2]);
        if (!entry) {
            std::printf("error: %s\n", entry.error().describe().c_str());
            return 1;
        }
        auto cap = entry->string_caps.find(argv[3]);
        if (cap == entry->string_caps.end()) {
            std::printf("absent\n");
            return 2;
        }
        std::vector<Param> params;
        for (int i = 4; i < argc; ++i) params.push_back(static_cast<Param>(std::strtol(argv[i], nullptr, 0)));
        Variables vars;
        auto bytes = expand(cap->second, params, vars);
        if (!bytes) {
            std::printf("error: %s\n", bytes.error().c_str());
            return 1;
        }
        std::fwrite(bytes->data(), 1, bytes->size(), stdout);
        return 0;
    }
    return usage();
}
