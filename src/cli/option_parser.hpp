// Syntax of the command line: options and free arguments checked against an option table.
//
//   auto parsed = parse_arguments(parsing_optgroups(), {"--skip", "slow", "-q", "net"});
//   parsed->values("skip");   // {"slow"}
//   parsed->free_args();      // {"net"}
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/option_table.hpp"
#include "platform/expected.hpp"

namespace quarv::detail {

enum class ParseFailureKind { MissingArgument, UnrecognizedOption, DuplicatedOption, UnexpectedArgument };

struct ParseFailure {
    ParseFailureKind kind;
    std::string name;  // the option's display name, or the unknown name as written

    // "Argument to option 'skip' missing" and the like.
    std::string message() const;
    bool operator==(const ParseFailure&) const = default;
};

// The options and free arguments of one command line. For every table row, the entries
// given for it in command-line order: a flag adds an entry without text per occurrence.
class ParsedArguments {
public:
    using Entries = std::vector<std::optional<std::string>>;

    ParsedArguments(const OptionTable& table);

    // Whether the option called `name` (long name, or short letter for a row without
    // one) was given at least once.
    bool present(std::string_view name) const;
    // The text of its first entry; absent when the option was not given.
    std::optional<std::string> value(std::string_view name) const;
    // Every text given for it, in order.
    std::vector<std::string> values(std::string_view name) const;
    const std::vector<std::string>& free_args() const noexcept { return m_free; }

    // Filled by the parser.
    void add_entry(std::size_t row, std::optional<std::string> value) { m_entries[row].push_back(std::move(value)); }
    void add_free(std::string arg) { m_free.push_back(std::move(arg)); }
    const Entries& entries(std::size_t row) const { return m_entries[row]; }

private:
    const Entries* find(std::string_view name) const;

    std::vector<std::string> m_names;  // display name of each row
    std::vector<Entries> m_entries;    // parallel to m_names
    std::vector<std::string> m_free;
};

// Scans `args` (the program name already removed) from left to right:
// - "--" ends option processing; later elements are free arguments;
// - "--name" or "--name=value" is a long option; a one-byte name is a short one (--h = -h);
// - "-abc" is a cluster of short options; an option taking a value takes the rest of the
//   cluster as its value when anything follows it ("-Zunstable-options");
// - a valued option without inline value takes the next element, whatever it is;
// - "", "-" and anything not starting with '-' are free arguments.
// The first syntax failure met ends the scan; then the options given more than once
// (Repeatable ones aside) are reported, the first in table order.
Expected<ParsedArguments, ParseFailure> parse_arguments(const OptionTable& table, const std::vector<std::string>& args);

}  // namespace quarv::detail
