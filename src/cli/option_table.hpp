// The table of command-line options: the single source for parsing and for the help
// screen, so the two can never disagree.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quarv::detail {

enum class ArgumentKind { NoValue, RequiredValue };
enum class Occurrence { AtMostOnce, Repeatable };

// One option. `short_name` is empty or one character (used as -x), `long_name` is empty or
// at least two characters (used as --name); at least one of them is set. Only options that
// take a value have a hint, the placeholder shown after them in the help listing.
struct OptionSpec {
    std::string short_name;
    std::string long_name;
    std::string hint;
    std::string description;
    ArgumentKind argument = ArgumentKind::NoValue;
    Occurrence occurrence = Occurrence::AtMostOnce;

    // Whether the names satisfy the rules above.
    bool is_well_formed() const noexcept;
    // The name used in messages: the long name when there is one, else the short letter.
    const std::string& display_name() const noexcept { return long_name.empty() ? short_name : long_name; }
};

// The ordered list of options.
class OptionTable {
public:
    // Appends a row. A malformed row is a programming error of the table and stops the
    // process with an internal-error message.
    OptionTable& add(OptionSpec row);

    const std::vector<OptionSpec>& rows() const noexcept { return m_rows; }
    std::size_t size() const noexcept { return m_rows.size(); }
    const OptionSpec& operator[](std::size_t i) const { return m_rows[i]; }

    // Index of the row called `name`: a long name for names of two or more bytes, a short
    // name for one-byte names. Exact and case-sensitive. size() when nothing matches.
    std::size_t find(std::string_view name) const noexcept;

private:
    std::vector<OptionSpec> m_rows;
};

// A new table with the 23 documented options, in the order the help screen lists them.
OptionTable optgroups();

// The table used for parsing: optgroups() plus the unlisted alias `--nocapture`.
OptionTable parsing_optgroups();

}  // namespace quarv::detail
