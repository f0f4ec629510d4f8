// Builds compiled terminfo entries byte by byte for the terminal tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarv_test_support {

struct EntryBuilder {
    std::uint16_t magic = 0432;
    std::string names = "fixture|test entry";
    std::vector<std::uint8_t> bools;
    std::vector<std::uint32_t> numbers;  // written as 16 or 32 bits by the magic
    std::vector<std::uint16_t> offsets;
    std::string table;
    // Header fields written instead of the real sizes, when set.
    std::optional<std::int16_t> names_size, bools_count, numbers_count, offsets_count, table_size;
    bool padding = true;  // write the alignment byte when names size + booleans is odd

    static void put16(std::string& out, std::uint32_t value) {
        out += static_cast<char>(value & 0xFF);
        out += static_cast<char>((value >> 8) & 0xFF);
    }

    std::string bytes() const {
        std::string out;
        const auto real_names = static_cast<std::int16_t>(names.size() + 1);
        put16(out, magic);
        put16(out, static_cast<std::uint16_t>(names_size.value_or(real_names)));
        put16(out, static_cast<std::uint16_t>(bools_count.value_or(static_cast<std::int16_t>(bools.size()))));
        put16(out, static_cast<std::uint16_t>(numbers_count.value_or(static_cast<std::int16_t>(numbers.size()))));
        put16(out, static_cast<std::uint16_t>(offsets_count.value_or(static_cast<std::int16_t>(offsets.size()))));
        put16(out, static_cast<std::uint16_t>(table_size.value_or(static_cast<std::int16_t>(table.size()))));
        out += names;
        out += '\0';
        for (std::uint8_t flag : bools) out += static_cast<char>(flag);
        if (padding && (real_names + bools.size()) % 2 == 1) out += '\0';
        for (std::uint32_t number : numbers) {
            put16(out, number & 0xFFFF);
            if (magic == 01036) put16(out, number >> 16);
        }
        for (std::uint16_t offset : offsets) put16(out, offset);
        out += table;
        return out;
    }
};

}  // namespace quarv_test_support
