// Layout of the help listing. Lengths are in bytes; the wrapping treats every Unicode
// white-space character as a word separator.
#include "cli/usage.hpp"

#include <vector>

#include "platform/stdout_stream.hpp"

namespace quarv::detail {

namespace {

constexpr std::size_t description_column = 24;
constexpr std::size_t wrap_width = 54;

// Length in bytes of the white-space character starting at `pos`, or 0 when the
// character there is not white space.
std::size_t whitespace_length(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t k) -> unsigned {
        return pos + k < text.size() ? static_cast<unsigned char>(text[pos + k]) : 0u;
    };
    const unsigned b0 = byte(0);
    if (b0 == ' ' || (b0 >= 0x09 && b0 <= 0x0D)) return 1;
    if (b0 == 0xC2 && (byte(1) == 0x85 || byte(1) == 0xA0)) return 2;  // U+0085, U+00A0
    if (b0 == 0xE1 && byte(1) == 0x9A && byte(2) == 0x80) return 3;    // U+1680
    if (b0 == 0xE2 && byte(1) == 0x80) {
        const unsigned b2 = byte(2);
        if (b2 <= 0x8A || b2 == 0xA8 || b2 == 0xA9 || b2 == 0xAF) return 3;  // U+2000..200A, 2028, 2029, 202F
    }
    if (b0 == 0xE2 && byte(1) == 0x81 && byte(2) == 0x9F) return 3;  // U+205F
    if (b0 == 0xE3 && byte(1) == 0x80 && byte(2) == 0x80) return 3;  // U+3000
    return 0;
}

// The text without leading and trailing white space.
std::string_view trim(std::string_view text) {
    std::size_t begin = text.size(), end = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t n = whitespace_length(text, pos);
        if (n != 0) {
            pos += n;
            continue;
        }
        if (begin == text.size()) begin = pos;
        ++pos;
        end = pos;
    }
    return begin < end ? text.substr(begin, end - begin) : std::string_view{};
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> result;
    std::size_t pos = 0, word_start = 0;
    while (pos < line.size()) {
        std::size_t n = whitespace_length(line, pos);
        if (n == 0) {
            ++pos;
            continue;
        }
        if (pos > word_start) result.push_back(line.substr(word_start, pos - word_start));
        pos += n;
        word_start = pos;
    }
    if (pos > word_start) result.push_back(line.substr(word_start, pos - word_start));
    return result;
}

// Re-wraps a description: each of its lines is filled greedily into rows of at most 54
// bytes (a longer word stays whole on its own row); blank lines produce no row.
std::vector<std::string> wrap_description(std::string_view description) {
    std::vector<std::string> rows;
    std::string_view text = trim(description);
    if (text.empty()) return rows;
    for (;;) {
        std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string row;
        for (std::string_view word : words(line)) {
            if (row.size() + 1 + word.size() <= wrap_width) {
                if (!row.empty()) row += ' ';
                row.append(word);
            } else {
                if (!row.empty()) rows.push_back(std::move(row));
                row.assign(word);
            }
        }
        if (!row.empty()) rows.push_back(std::move(row));
        if (newline == std::string_view::npos) break;
        text.remove_prefix(newline + 1);
    }
    return rows;
}

}  // namespace

std::string option_block(const OptionSpec& row, bool table_has_short) {
    std::string block = "    ";
    if (!row.short_name.empty()) {
        block += '-';
        block += row.short_name;
        block += row.long_name.empty() ? " " : ", ";
    } else if (table_has_short) {
        block += "    ";
    }
    if (!row.long_name.empty()) {
        block += "--";
        block += row.long_name;
        block += ' ';
    }
    if (row.argument == ArgumentKind::RequiredValue) block += row.hint;

    if (block.size() < description_column) {
        block.append(description_column - block.size(), ' ');
    } else {
        block += '\n';
        block.append(description_column, ' ');
    }

    const std::string indent = "\n" + std::string(description_column, ' ');
    std::vector<std::string> rows = wrap_description(row.description);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) block += indent;
        block += rows[i];
    }
    return block;
}

std::string options_listing(std::string_view program_name, const OptionTable& table) {
    bool has_short = false;
    for (const OptionSpec& row : table.rows()) has_short = has_short || !row.short_name.empty();

    std::string listing = "Usage: ";
    listing.append(program_name);
    listing += " [OPTIONS] [FILTERS...]\n\nOptions:\n";
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (i > 0) listing += '\n';
        listing += option_block(table[i], has_short);
    }
    listing += '\n';
    return listing;
}

std::string help_screen(std::string_view program_name, const OptionTable& table) {
    std::string screen = options_listing(program_name, table);
    screen += R"(

The FILTER string is tested against the name of all tests, and only those
tests whose names contain the filter are run. Multiple filter strings may
be passed, which will run all tests matching any of the filters.

By default, all tests are run in parallel. This can be altered with the
--test-threads flag when running tests (set it to 1).

By default, the tests are run in alphabetical order. Use --shuffle to run
the tests in random order. Pass the generated "shuffle seed" to
--shuffle-seed to run the tests in the same order again. Note that
--shuffle and --shuffle-seed do not affect whether the tests are run in
parallel.

All tests have their standard output and standard error captured by default.
This can be overridden with the --no-capture flag to a value other than "0".
Logging is not captured by default.

Test Attributes:

    `#[test]`        - Indicates a function is a test to be run. This function
                       takes no arguments.
    `#[bench]`       - Indicates a function is a benchmark to be run. This
                       function takes one argument (quarv::Bencher).
    `#[should_panic]` - This function (also labeled with `#[test]`) will only pass if
                        the code causes a panic (an assertion failure or panic!)
                        A message may be provided, which the failure string must
                        contain: #[should_panic(expected = "foo")].
    `#[ignore]`       - When applied to a function which is already attributed as a
                        test, then the test runner will ignore these tests during
                        normal test runs. Running with --ignored or --include-ignored will run
                        these tests.
)";
    return screen;
}

void usage(std::string_view program_name, const OptionTable& table) {
    const std::string screen = help_screen(program_name, table);
    if (stdout_write_all(screen)) (void)stdout_flush();
}

}  // namespace quarv::detail
