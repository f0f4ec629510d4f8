// Making arbitrary text safe inside an XML 1.0 document.
#pragma once

#include <string>
#include <string_view>

namespace quarv::detail {

// The bytes as UTF-8 text holding only characters XML 1.0 allows: invalid UTF-8
// sequences, control characters other than tab, line feed and carriage return, and the
// non-characters U+FFFE and U+FFFF each become U+FFFD. Text that is already legal is
// returned unchanged. (A character reference cannot carry the forbidden characters
// either, so replacing them is the only way to keep the document well-formed.)
std::string xml_legal_text(std::string_view bytes);

// The text for a double-quoted attribute value: legal characters as above, then
// & < > " ' as entity references, and tab, line feed and carriage return as character
// references, since a parser would turn them into spaces if written raw.
std::string xml_attribute_escaped(std::string_view bytes);

}  // namespace quarv::detail
