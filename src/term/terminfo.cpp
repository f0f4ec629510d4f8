#include "term/terminfo.hpp"

#include "term/compiled_entry_parser.hpp"
#include "term/terminfo_file.hpp"
#include "term/terminfo_searcher.hpp"

namespace quarv::detail::term {

Expected<TermInfo, Error> TermInfo::from_env(const EnvLookup& env) {
    EnvValue term = env("TERM");
    if (!term.is_text()) return unexpected(Error(NoTermVariable{}));
    Expected<TermInfo, Error> result = from_name(term.value, env);
    if (!result) {
        EnvValue console = env("MSYSCON");
        if (console.is_text() && console.value == "mintty.exe") return msys_terminfo();
    }
    return result;
}

Expected<TermInfo, Error> TermInfo::from_name(std::string_view name, const EnvLookup& env) {
    std::optional<std::string> path = get_dbpath_for_term(name, env);
    if (!path) return unexpected(Error(IoFailure{IoError::custom(IoErrorKind::NotFound, "terminfo file not found")}));
    return from_path(*path);
}

Expected<TermInfo, Error> TermInfo::from_path(const std::string& path) {
    IoResult<std::unique_ptr<FileReader>> reader = FileReader::open(path);
    if (!reader) return unexpected(Error(IoFailure{std::move(reader).error()}));
    Expected<TermInfo, std::string> parsed = parse(**reader);
    if (!parsed) return unexpected(Error(MalformedEntry{std::move(parsed).error()}));
    return std::move(parsed).value();
}

TermInfo msys_terminfo() {
    TermInfo info;
    info.term_names.emplace_back("cygwin");
    info.number_caps.emplace("colors", 8);
    info.string_caps.emplace("sgr0", "\x1b[0m");
    info.string_caps.emplace("bold", "\x1b[1m");
    info.string_caps.emplace("setaf", "\x1b[3%p1%dm");
    info.string_caps.emplace("setab", "\x1b[4%p1%dm");
    return info;
}

}  // namespace quarv::detail::term
