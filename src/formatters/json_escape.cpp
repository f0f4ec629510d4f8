#include "formatters/json_escape.hpp"

namespace quarv::detail {

void append_json_escaped(std::string& out, std::string_view text) {
    static constexpr char hex[] = "0123456789abcdef";
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        switch (byte) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case 0x08: out += "\\b"; break;
            case 0x09: out += "\\t"; break;
            case 0x0A: out += "\\n"; break;
            case 0x0C: out += "\\f"; break;
            case 0x0D: out += "\\r"; break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    out += "\\u00";
                    out += hex[byte >> 4];
                    out += hex[byte & 0xF];
                } else {
                    out += c;
                }
        }
    }
}

std::string json_escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    append_json_escaped(out, text);
    return out;
}

}  // namespace quarv::detail
