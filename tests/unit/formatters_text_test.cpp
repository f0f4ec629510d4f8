// Text helpers of the machine-readable formats: float text, JSON escaping, XML legality
// and attribute escaping, CDATA sections and JUnit class names.
#include <quarv/quarv.hpp>

#include <charconv>
#include <cstring>
#include <limits>
#include <string>

#include "formatters/float_text.hpp"
#include "formatters/json_escape.hpp"
#include "formatters/junit_formatter.hpp"
#include "formatters/xml_escape.hpp"

namespace formatters_text {

using quarv::detail::float_text;

QUARV_TEST(float_text_is_positional_and_shortest) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0.0, "0"},
        {-0.0, "-0"},
        {2.0, "2"},
        {1.5, "1.5"},
        {0.1, "0.1"},
        {0.001234, "0.001234"},
        {1e-7, "0.0000001"},
        {123456789.0, "123456789"},
        {1e21, "1000000000000000000000"},
        {1e23, "100000000000000000000000"},
        {12345.678, "12345.678"},
        {-3.25, "-3.25"},
        {std::numeric_limits<double>::infinity(), "inf"},
    };
    for (const Case& c : cases) quarv::assert_eq(float_text(c.value), std::string(c.text));
    quarv::assert_eq(float_text(5e-324), "0." + std::string(323, '0') + "5");
}

// Every text reads back as the same double and never holds an exponent.
QUARV_TEST(float_text_reads_back_exactly) {
    const double values[] = {0.1 + 0.2, 1.0 / 3.0, 123.456e-10, 9007199254740993.0, 1.7976931348623157e308,
                             2.2250738585072014e-308, 0.000123, 4.35, 1e15 + 0.5};
    for (double value : values) {
        std::string text = float_text(value);
        quarv::assert_true(text.find_first_of("eE") == std::string::npos, text);
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        quarv::assert_true(std::memcmp(&back, &value, sizeof value) == 0, text);
    }
}

QUARV_TEST(json_escapes_exactly_the_table) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"plain/text", "plain/text"},
        {"q\"b\\t\tesc\x1b", "q\\\"b\\\\t\\tesc\\u001b"},
        {std::string("\x00\x01\x07\x08\x0b\x0c\x0d\x0a\x0e\x1f\x7f", 11),
         "\\u0000\\u0001\\u0007\\b\\u000b\\f\\r\\n\\u000e\\u001f\\u007f"},
        {"caf\xc3\xa9 \xe2\x9c\x93", "caf\xc3\xa9 \xe2\x9c\x93"},
        {"\x80\xff", "\x80\xff"},  // bytes from 0x80 up are copied as they are
    };
    for (const Case& c : cases) quarv::assert_eq(quarv::detail::json_escaped(c.in), c.out);
}

QUARV_TEST(xml_attribute_escaping) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"a::b", "a::b"},
        {"<&>\"'", "&lt;&amp;&gt;&quot;&apos;"},
        {"line\nnext\ttab\rcr", "line&#xA;next&#x9;tab&#xD;cr"},
        {"esc\x1b" "bell\x07", "esc\xEF\xBF\xBD" "bell\xEF\xBF\xBD"},
        {std::string("nul\x00", 4), "nul\xEF\xBF\xBD"},
        {"bad\xff\xc3", "bad\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"nonchar\xEF\xBF\xBE\xEF\xBF\xBF", "nonchar\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"ok\xEF\xBF\xBD\x7f\xc3\xa9", "ok\xEF\xBF\xBD\x7f\xc3\xa9"},
    };
    for (const Case& c : cases) quarv::assert_eq(quarv::detail::xml_attribute_escaped(c.in), c.out);
}

QUARV_TEST(cdata_steps_run_in_order) {
    using quarv::detail::str_to_cdata;
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"", "<![CDATA[]]>"},
        {"hello", "<![CDATA[hello]]>"},
        {"a]]>b", "<![CDATA[a]]]]><![CDATA[>b]]>"},
        {"<?xml", "<![CDATA[<]]><![CDATA[?xml]]>"},
        {"a\nb", "<![CDATA[a]]>&#xA;<![CDATA[b]]>"},
        // Two newlines in a row: the empty section between them is removed.
        {"a\n\nb", "<![CDATA[a]]>&#xA;&#xA;<![CDATA[b]]>"},
        // A leading or trailing newline leaves the empty section formed by the wrapper.
        {"out\n", "<![CDATA[out]]>&#xA;<![CDATA[]]>"},
        {"\nx", "<![CDATA[]]>&#xA;<![CDATA[x]]>"},
        // "]]>" followed by a newline: the split section and the newline's sections meet.
        {"]]>\n", "<![CDATA[]]]]><![CDATA[>]]>&#xA;<![CDATA[]]>"},
    };
    for (const Case& c : cases) quarv::assert_eq(str_to_cdata(c.in), c.out);
}

QUARV_TEST(junit_class_names_by_kind) {
    struct Case {
        quarv::TestKind kind;
        const char* name;
        const char* class_name;
        const char* test_name;
    };
    const Case cases[] = {
        {quarv::TestKind::Unit, "plain", "crate", "plain"},
        {quarv::TestKind::Unit, "a::b", "a", "b"},
        {quarv::TestKind::Unit, "a::b::c", "a::b", "c"},
        {quarv::TestKind::Unit, "a:::b", "a", ":b"},
        {quarv::TestKind::Unit, "a::", "a", ""},
        {quarv::TestKind::Integration, "a::b", "integration", "a::b"},
        {quarv::TestKind::Unknown, "a::b", "unknown", "a::b"},
        {quarv::TestKind::Doc, "src/lib.cc - Widget::make (line 12)", "src/lib.cc", "Widget::make (line 12)"},
        {quarv::TestKind::Doc, "  src/lib.cc   -   title  ", "src/lib.cc", "title"},
        {quarv::TestKind::Doc, "src/a.cc - one - two", "src/a.cc", "one - two"},
        {quarv::TestKind::Doc, "no separator", "doc", "no separator"},
    };
    for (const Case& c : cases) {
        quarv::TestDesc desc = quarv::TestDesc::named(c.name);
        desc.test_kind = c.kind;
        quarv::detail::JunitNames names = quarv::detail::parse_class_name(desc);
        quarv::assert_eq(names.class_name + " | " + names.test_name, std::string(c.class_name) + " | " + c.test_name);
    }
}

}  // namespace formatters_text
