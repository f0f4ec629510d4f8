// The option table and the layout of the help listing. The full screen is pinned by the
// end-to-end help cases; these check the layout rules on rows made to hit their edges.
#include <string>

#include "cli/option_table.hpp"
#include "cli/usage.hpp"
#include "quarv/quarv.hpp"

namespace cli_usage {

using namespace quarv::detail;

namespace {

OptionSpec row(std::string short_name, std::string long_name, std::string hint, std::string description) {
    const ArgumentKind argument = hint.empty() ? ArgumentKind::NoValue : ArgumentKind::RequiredValue;
    return {std::move(short_name), std::move(long_name), std::move(hint), std::move(description), argument,
            Occurrence::AtMostOnce};
}

const std::string col(24, ' ');

}  // namespace

QUARV_TEST(table_rows) {
    const OptionTable table = optgroups();
    quarv::assert_eq(table.size(), std::size_t{23});
    quarv::assert_eq(table[0].long_name, std::string("include-ignored"));
    quarv::assert_eq(table[22].long_name, std::string("shuffle-seed"));
    quarv::assert_eq(table[18].short_name, std::string("Z"));
    quarv::assert_true(table[12].occurrence == Occurrence::Repeatable);  // skip
    for (const OptionSpec& option : table.rows()) quarv::assert_true(option.is_well_formed(), option.display_name());

    const OptionTable parsing = parsing_optgroups();
    quarv::assert_eq(parsing.size(), std::size_t{24});
    quarv::assert_eq(parsing[23].long_name, std::string("nocapture"));
}

QUARV_TEST(malformed_rows_are_recognised) {
    quarv::assert_true(!row("ab", "", "", "x").is_well_formed());
    quarv::assert_true(!row("", "a", "", "x").is_well_formed());
    quarv::assert_true(!row("", "", "", "x").is_well_formed());
    quarv::assert_true(row("a", "", "", "x").is_well_formed());
}

QUARV_TEST(lookup_is_exact) {
    const OptionTable table = parsing_optgroups();
    quarv::assert_eq(table.find("q"), table.find("quiet"));
    quarv::assert_eq(table.find("Z"), std::size_t{18});
    quarv::assert_eq(table.find("fail"), table.size());
    quarv::assert_eq(table.find("Q"), table.size());
    quarv::assert_eq(table.find(""), table.size());
}

QUARV_TEST(name_columns) {
    const struct {
        OptionSpec option;
        bool table_has_short;
        std::string expected;
    } cases[] = {
        // 23 bytes of names: padded by one space, description on the same line.
        {row("Z", "", "unstable-options", "d"), true, "    -Z unstable-options d"},
        // 24 bytes or more: the description moves to the next line; the trailing space stays.
        {row("", "abcdefghijklm", "", "d"), true, "        --abcdefghijklm \n" + col + "d"},
        {row("", "abcdefghijkl", "", "d"), true, "        --abcdefghijkl  d"},
        {row("q", "quiet", "", "d"), true, "    -q, --quiet         d"},
        {row("", "list", "", "d"), false, "    --list              d"},
        {row("", "skip", "FILTER", "d"), true, "        --skip FILTER   d"},
    };
    for (const auto& c : cases) quarv::assert_eq(option_block(c.option, c.table_has_short), c.expected);
}

QUARV_TEST(description_wrapping) {
    const std::string word54(54, 'w');
    const std::string word60(60, 'v');
    const std::string words53 = std::string(26, 'a') + " " + std::string(26, 'b');  // 53 bytes
    const struct {
        std::string description;
        std::string expected;
    } cases[] = {
        // Rows fill up to exactly 54 bytes.
        {words53 + " c", words53 + "\n" + col + "c"},
        {words53.substr(0, 52) + " c", words53.substr(0, 52) + " c"},
        // A long word is never broken; it takes a row alone.
        {"x " + word60 + " y", "x\n" + col + word60 + "\n" + col + "y"},
        {word54, word54},
        // Blank lines vanish, indentation and inner runs of spaces collapse, CR LF is a break.
        {"  first\n\n            second   third  \r\n  \n", "first\n" + col + "second third"},
        {"a\tb\xc2\xa0" "c", "a b c"},
        {"", ""},
    };
    for (const auto& c : cases) {
        quarv::assert_eq(option_block(row("", "x1", "", c.description), false), "    --x1                " + c.expected);
    }
}

QUARV_TEST(listing_frame) {
    const std::string screen = help_screen("...", optgroups());
    const std::string head = "Usage: ... [OPTIONS] [FILTERS...]\n\nOptions:\n        --include-ignored \n";
    quarv::assert_eq(screen.substr(0, head.size()), head);
    quarv::assert_true(screen.find("nocapture") == std::string::npos, "the hidden alias is listed");
    quarv::assert_true(screen.find("generator with SEED\n\n\nThe FILTER string") != std::string::npos);
    quarv::assert_eq(screen.substr(screen.size() - 13), std::string("these tests.\n"));
    quarv::assert_eq(help_screen("./rel/path/suite", optgroups()).substr(0, 24), std::string("Usage: ./rel/path/suite "));
}

}  // namespace cli_usage
