#include "formatters/xml_escape.hpp"

#include "formatters/styled_writer.hpp"

namespace quarv::detail {

std::string xml_legal_text(std::string_view bytes) {
    static constexpr std::string_view replacement = "\xEF\xBF\xBD";
    // After the lossy decoding the text is valid UTF-8, so a control character is one
    // byte and U+FFFE / U+FFFF are the three-byte sequences EF BF BE / EF BF BF.
    std::string text = utf8_lossy(bytes);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 && byte != 0x09 && byte != 0x0A && byte != 0x0D) {
            out += replacement;
        } else if (byte == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
                   (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE) {
            out += replacement;
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string xml_attribute_escaped(std::string_view bytes) {
    std::string text = xml_legal_text(bytes);
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            case '\t': out += "&#x9;"; break;
            case '\n': out += "&#xA;"; break;
            case '\r': out += "&#xD;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace quarv::detail
