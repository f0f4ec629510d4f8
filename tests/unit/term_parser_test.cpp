// The compiled terminfo entry parser: sections, absent markers and every rejection.
#include <quarv/quarv.hpp>

#include <string>

#include "term/byte_reader.hpp"
#include "term/compiled_entry_parser.hpp"
#include "term_entry_builder.hpp"

namespace term_parse {

using quarv::detail::term::MemoryReader;
using quarv::detail::term::TermInfo;
using quarv_test_support::EntryBuilder;

quarv::detail::Expected<TermInfo, std::string> parse_bytes(const std::string& bytes) {
    MemoryReader reader(bytes);
    return quarv::detail::term::parse(reader);
}

std::string parse_error(const std::string& bytes) {
    auto parsed = parse_bytes(bytes);
    if (parsed) return "<parsed>";
    return parsed.error();
}

QUARV_TEST(reads_every_section_of_a_16_bit_entry) {
    EntryBuilder entry;
    entry.names = "xt|xterm|";
    entry.bools = {1, 0, 1};                       // bw, am, xsb
    entry.numbers = {80, 0xFFFF, 24, 0xFFFE};      // cols, it (absent), lines, lm
    entry.offsets = {0xFFFF, 0, 0xFFFE, 3};        // cbt absent, bell, cr cancelled, csr
    entry.table = std::string("\a\0\0\x1b[r\0", 7);
    auto info = parse_bytes(entry.bytes());
    quarv::assert_true(info.has_value(), info ? "" : info.error());
    quarv::assert_eq(info->term_names, std::vector<std::string>{"xt", "xterm", ""});
    quarv::assert_eq(info->bool_caps.size(), 2u);
    quarv::assert_true(info->bool_caps.count("bw") == 1 && info->bool_caps.count("xsb") == 1);
    quarv::assert_eq(info->number_caps.size(), 3u);
    quarv::assert_eq(info->number_caps.at("cols"), 80u);
    quarv::assert_eq(info->number_caps.at("lines"), 24u);
    quarv::assert_eq(info->number_caps.at("lm"), 65534u);
    quarv::assert_eq(info->string_caps.size(), 3u);
    quarv::assert_eq(info->string_caps.at("bell"), std::string("\a"));
    quarv::assert_eq(info->string_caps.at("cr"), std::string());
    quarv::assert_eq(info->string_caps.at("csr"), std::string("\x1b[r"));
}

QUARV_TEST(thirty_two_bit_numbers_treat_negative_values_as_absent) {
    EntryBuilder entry;
    entry.magic = 01036;
    // cols, it, lines, lm, xmc: a large value, -1 (absent), -2 (cancelled), 65535, min int
    entry.numbers = {0x1000000, 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFF, 0x80000000};
    auto info = parse_bytes(entry.bytes());
    quarv::assert_true(info.has_value(), info ? "" : info.error());
    quarv::assert_eq(info->number_caps.size(), 2u);
    quarv::assert_eq(info->number_caps.at("cols"), 0x1000000u);
    quarv::assert_eq(info->number_caps.at("lm"), 65535u);
}

QUARV_TEST(padding_byte_follows_odd_names_and_booleans) {
    // names size 5 ("abcd" + NUL): with 2 booleans one padding byte precedes the numbers,
    // with 3 booleans none does.
    for (std::size_t bools : {2u, 3u}) {
        EntryBuilder entry;
        entry.names = "abcd";
        entry.bools.assign(bools, 1);
        entry.numbers = {0x0102};
        auto info = parse_bytes(entry.bytes());
        quarv::assert_true(info.has_value(), info ? "" : info.error());
        quarv::assert_eq(info->number_caps.at("cols"), 0x0102u);
        quarv::assert_eq(info->bool_caps.size(), bools);
    }
}

QUARV_TEST(minus_one_counts_mean_empty_sections_and_names_size_one_gives_one_empty_name) {
    EntryBuilder entry;
    entry.names = "";
    entry.bools_count = entry.numbers_count = entry.offsets_count = entry.table_size = -1;
    auto info = parse_bytes(entry.bytes());
    quarv::assert_true(info.has_value(), info ? "" : info.error());
    quarv::assert_eq(info->term_names, std::vector<std::string>{""});
    quarv::assert_true(info->bool_caps.empty() && info->number_caps.empty() && info->string_caps.empty());
}

QUARV_TEST(string_keys_follow_the_table_with_long_names) {
    EntryBuilder entry;
    entry.offsets.assign(414, 0xFFFF);
    entry.offsets[39] = 0;    // sgr0
    entry.offsets[59] = 0;    // the long-named delete-character key
    entry.offsets[359] = 0;   // setaf
    entry.offsets[413] = 0;   // box1
    entry.table = std::string("x\0", 2);
    auto info = parse_bytes(entry.bytes());
    quarv::assert_true(info.has_value(), info ? "" : info.error());
    for (const char* key : {"sgr0", "key_dc", "setaf", "box1"}) quarv::assert_eq(info->string_caps.count(key), 1u);
}

QUARV_TEST(rejects_malformed_entries_with_the_first_problem) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    };
    auto with = [](auto change) {
        EntryBuilder entry;
        change(entry);
        return entry.bytes();
    };
    const Case cases[] = {
        {"wrong magic", std::string("\x34\x12", 2) + with([](EntryBuilder&) {}).substr(2),
         "invalid magic number, found 11064"},
        {"empty file", "", "failed to fill whole buffer"},
        {"count below -1", with([](EntryBuilder& e) { e.numbers_count = -2; }),
         "incompatible file: length fields must be  >= -1"},
        {"names size 0", with([](EntryBuilder& e) { e.names_size = 0; }),
         "incompatible file: names field must be at least 1 byte wide"},
        {"45 booleans", with([](EntryBuilder& e) { e.bools_count = 45; }),
         "incompatible file: more booleans than expected"},
        {"40 numbers", with([](EntryBuilder& e) { e.numbers_count = 40; }),
         "incompatible file: more numbers than expected"},
        {"415 strings", with([](EntryBuilder& e) { e.offsets_count = 415; }),
         "incompatible file: more string offsets than expected"},
        {"names not utf-8", with([](EntryBuilder& e) { e.names = "x\xff"; }), "input not utf-8"},
        {"names without NUL", with([](EntryBuilder& e) { e.names_size = 3; }),
         "incompatible file: missing null terminator for names section"},
        {"ends inside booleans",
         with([](EntryBuilder& e) {
             e.bools_count = 4;
             e.bools = {1};
             e.padding = false;
         }),
         "end of file"},
        {"ends inside numbers", with([](EntryBuilder& e) { e.numbers_count = 2; e.numbers = {1}; }),
         "failed to fill whole buffer"},
        {"string without NUL",
         with([](EntryBuilder& e) {
             e.offsets = {0};
             e.table = "abc";
         }),
         "invalid file: missing NUL in string_table"},
        {"string offset past the table",
         with([](EntryBuilder& e) {
             e.offsets = {0, 9};
             e.table = std::string("ab\0", 3);
         }),
         "invalid file: string offset beyond string table"},
        {"string table cut short",
         with([](EntryBuilder& e) {
             e.offsets = {0};
             e.table = std::string("ab\0", 3);
             e.table_size = 40;
         }),
         "invalid file: string table shorter than its declared size"},
    };
    for (const Case& c : cases) quarv::assert_eq(std::string(c.what) + ": " + parse_error(c.bytes), std::string(c.what) + ": " + c.message);
}

QUARV_TEST(a_nul_beyond_the_declared_table_does_not_end_a_string) {
    EntryBuilder entry;
    entry.offsets = {0};
    entry.table = std::string("abc\0", 4);
    entry.table_size = 3;  // the NUL lies just past the declared table
    quarv::assert_eq(parse_error(entry.bytes()), std::string("invalid file: missing NUL in string_table"));
}

}  // namespace term_parse
