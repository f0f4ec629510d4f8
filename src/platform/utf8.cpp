#include "platform/utf8.hpp"

namespace quarv::detail {

std::size_t decode_utf8(std::string_view text, char32_t& code_point) noexcept {
    if (text.empty()) return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        code_point = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    code_point = value;
    return length;
}

bool is_valid_utf8(std::string_view bytes) noexcept {
    char32_t ignored = 0;
    while (!bytes.empty()) {
        std::size_t length = decode_utf8(bytes, ignored);
        if (length == 0) return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::size_t first_char_length(std::string_view text) noexcept {
    char32_t ignored = 0;
    const std::size_t length = decode_utf8(text, ignored);
    return length == 0 ? 1 : length;
}

char32_t first_code_point(std::string_view text) noexcept {
    char32_t code_point = 0;
    if (decode_utf8(text, code_point) == 0) return static_cast<unsigned char>(text[0]);
    return code_point;
}

std::string encode_utf8(char32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

std::string utf8_lossy(std::string_view bytes) {
    static constexpr std::string_view replacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    while (i < bytes.size()) {
        unsigned char lead = at(i);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        // Length of a well-formed sequence starting here, or the length of the maximal
        // invalid prefix to replace by one U+FFFD.
        std::size_t need = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) need = 1;
        else if (lead == 0xE0) need = 2, lo = 0xA0;
        else if (lead >= 0xE1 && lead <= 0xEC) need = 2;
        else if (lead == 0xED) need = 2, hi = 0x9F;
        else if (lead >= 0xEE && lead <= 0xEF) need = 2;
        else if (lead == 0xF0) need = 3, lo = 0x90;
        else if (lead >= 0xF1 && lead <= 0xF3) need = 3;
        else if (lead == 0xF4) need = 3, hi = 0x8F;
        if (need == 0) {
            out += replacement;
            ++i;
            continue;
        }
        std::size_t j = 1;
        for (; j <= need && i + j < bytes.size(); ++j) {
            unsigned char b = at(i + j);
            unsigned char l = j == 1 ? lo : 0x80, h = j == 1 ? hi : 0xBF;
            if (b < l || b > h) break;
        }
        if (j == need + 1) {
            out.append(bytes.substr(i, need + 1));
        } else {
            out += replacement;
        }
        i += j == need + 1 ? need + 1 : j;
    }
    return out;
}

}  // namespace quarv::detail
