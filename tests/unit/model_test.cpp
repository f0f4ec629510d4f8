// The test model: names, padding, mode words, registration names.
#include <quarv/quarv.hpp>

#include "quarv/registry.hpp"

namespace model {

QUARV_TEST(padded_name_fills_by_bytes) {
    quarv::TestDesc desc = quarv::TestDesc::named("ab");
    quarv::assert_eq(desc.padded_name(10, quarv::NamePadding::PadRight), std::string("ab        "));
    quarv::assert_eq(desc.padded_name(10, quarv::NamePadding::NoPadding), std::string("ab"));
    quarv::assert_eq(desc.padded_name(1, quarv::NamePadding::PadRight), std::string("ab"));
    quarv::TestDesc wide = quarv::TestDesc::named("\xc3\xa9t\xc3\xa9");  // 5 bytes, 3 characters
    quarv::assert_eq(wide.padded_name(6, quarv::NamePadding::PadRight), std::string("\xc3\xa9t\xc3\xa9 "));
}

QUARV_TEST(with_padding_keeps_static_text_borrowed) {
    quarv::TestName name = quarv::TestName::static_name("static::text");
    quarv::TestName aligned = name.with_padding(quarv::NamePadding::PadRight).with_padding(quarv::NamePadding::NoPadding);
    quarv::assert_true(aligned.borrows_static_text());
    quarv::assert_true(aligned.as_slice().data() == name.as_slice().data());
    quarv::assert_true(aligned.padding() == quarv::NamePadding::NoPadding);
    quarv::assert_true(aligned.kind() == quarv::TestName::Kind::AlignedName);
    quarv::assert_true(!quarv::TestName::dynamic_name("x").with_padding(quarv::NamePadding::PadRight).borrows_static_text());
}

QUARV_TEST(test_mode_words_in_priority_order) {
    quarv::TestDesc desc = quarv::TestDesc::named("t");
    quarv::assert_true(!desc.test_mode().has_value());
    desc.compile_only = true;
    quarv::assert_eq(*desc.test_mode(), std::string_view("compile"));
    desc.compile_fail = true;
    quarv::assert_eq(*desc.test_mode(), std::string_view("compile fail"));
    desc.should_panic = quarv::ShouldPanic::any();
    quarv::assert_eq(*desc.test_mode(), std::string_view("should panic"));
    desc.ignore = true;
    quarv::assert_true(!desc.test_mode().has_value());
}

QUARV_TEST(names_come_from_named_namespaces) {
    struct Case {
        const char* pretty;
        const char* expected;
    };
    const Case cases[] = {
        {"quarv::detail::QualifiedFunctionName parser::quarv_test_where_x()", "parser::x"},
        {"quarv::detail::QualifiedFunctionName quarv_test_where_x()", "x"},
        {"quarv::detail::QualifiedFunctionName a::{anonymous}::b::quarv_test_where_x()", "a::b::x"},
        {"quarv::detail::QualifiedFunctionName a::(anonymous namespace)::b::quarv_test_where_x()", "a::b::x"},
        {"quarv::detail::QualifiedFunctionName (anonymous namespace)::quarv_test_where_x()", "x"},
    };
    for (const Case& c : cases) quarv::assert_eq(quarv::detail::test_name_from(c.pretty, "x"), std::string(c.expected));
}

}  // namespace model

namespace {
namespace model_anon {
QUARV_TEST(registered_name_skips_anonymous_namespace) {
    bool found = false;
    for (const quarv::TestDescAndFn& t : quarv::registry()) {
        if (t.descriptor.name.as_slice() == "model_anon::registered_name_skips_anonymous_namespace") found = true;
    }
    quarv::assert_true(found);
}
}  // namespace model_anon
}  // namespace
