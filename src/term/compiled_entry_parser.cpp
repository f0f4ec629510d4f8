#include "term/compiled_entry_parser.hpp"

#include <array>
#include <vector>

#include "platform/env.hpp"
#include "term/capability_names.hpp"

namespace quarv::detail::term {
namespace {

using ParseResult = Expected<TermInfo, std::string>;

// Unwraps an IoResult inside parse_entry, turning an I/O error into its message.
#define QUARV_TERM_READ(var, expr)                                      \
    auto var##_result = (expr);                                         \
    if (!var##_result) return unexpected(var##_result.error().text()); \
    auto var = std::move(*var##_result)

constexpr std::uint16_t kAbsentOffset = 0xFFFF;
constexpr std::uint16_t kCancelledOffset = 0xFFFE;

std::string to_octal(unsigned value) {
    std::string out;
    do {
        out.insert(out.begin(), static_cast<char>('0' + (value & 7)));
        value >>= 3;
    } while (value != 0);
    return out;
}

// Splits the names section at every '|', keeping empty pieces.
std::vector<std::string> split_names(std::string_view text) {
    std::vector<std::string> names;
    for (;;) {
        const std::size_t bar = text.find('|');
        names.emplace_back(text.substr(0, bar));
        if (bar == std::string_view::npos) return names;
        text.remove_prefix(bar + 1);
    }
}

ParseResult parse_entry(ByteReader& reader) {
    QUARV_TERM_READ(magic, read_le_u16(reader));
    bool wide_numbers = false;
    if (magic == kMagic32Bit) {
        wide_numbers = true;
    } else if (magic != kMagic16Bit) {
        return unexpected("invalid magic number, found " + to_octal(magic));
    }

    // names size, booleans, numbers, string offsets, string table size
    std::array<std::size_t, 5> counts{};
    for (std::size_t& count : counts) {
        QUARV_TERM_READ(raw, read_le_u16(reader));
        const auto value = static_cast<std::int16_t>(raw);
        if (value < -1) return unexpected(std::string("incompatible file: length fields must be  >= -1"));
        count = value == -1 ? 0 : static_cast<std::size_t>(value);
    }
    const auto [names_size, bools_count, numbers_count, offsets_count, table_size] = counts;

    if (names_size == 0) return unexpected(std::string("incompatible file: names field must be at least 1 byte wide"));
    if (bools_count > bool_names.size()) return unexpected(std::string("incompatible file: more booleans than expected"));
    if (numbers_count > number_names.size()) return unexpected(std::string("incompatible file: more numbers than expected"));
    if (offsets_count > string_names.size()) {
        return unexpected(std::string("incompatible file: more string offsets than expected"));
    }

    TermInfo info;
    QUARV_TERM_READ(names, read_up_to(reader, names_size - 1));
    if (!is_valid_utf8(names)) return unexpected(std::string("input not utf-8"));
    info.term_names = split_names(names);
    QUARV_TERM_READ(terminator, read_byte(reader));
    if (terminator != 0) return unexpected(std::string("incompatible file: missing null terminator for names section"));

    for (std::size_t i = 0; i < bools_count; ++i) {
        QUARV_TERM_READ(flag, read_byte(reader));
        if (flag == 1) info.bool_caps.emplace(bool_names[i], true);
    }

    if ((names_size + bools_count) % 2 == 1) {
        QUARV_TERM_READ(padding, read_byte(reader));
        (void)padding;
    }

    for (std::size_t i = 0; i < numbers_count; ++i) {
        if (wide_numbers) {
            QUARV_TERM_READ(value, read_le_u32(reader));
            if (value < 0x80000000u) info.number_caps.emplace(number_names[i], value);
        } else {
            QUARV_TERM_READ(value, read_le_u16(reader));
            if (value != 0xFFFF) info.number_caps.emplace(number_names[i], value);
        }
    }

    if (offsets_count == 0) return info;

    std::vector<std::uint16_t> offsets(offsets_count);
    for (std::uint16_t& offset : offsets) {
        QUARV_TERM_READ(value, read_le_u16(reader));
        offset = value;
    }
    QUARV_TERM_READ(table, read_up_to(reader, table_size));
    if (table.size() < table_size) {
        return unexpected(std::string("invalid file: string table shorter than its declared size"));
    }

    const std::string_view table_view = table;
    for (std::size_t i = 0; i < offsets_count; ++i) {
        const std::uint16_t offset = offsets[i];
        if (offset == kAbsentOffset) continue;
        if (offset == kCancelledOffset) {
            info.string_caps.emplace(string_names[i], std::string());
            continue;
        }
        if (offset >= table_size) return unexpected(std::string("invalid file: string offset beyond string table"));
        const std::size_t nul = table_view.find('\0', offset);
        if (nul == std::string_view::npos) return unexpected(std::string("invalid file: missing NUL in string_table"));
        info.string_caps.emplace(string_names[i], std::string(table_view.substr(offset, nul - offset)));
    }
    return info;
}

#undef QUARV_TERM_READ

}  // namespace

ParseResult parse(ByteReader& reader) { return parse_entry(reader); }

}  // namespace quarv::detail::term
