#include "quarv/test_desc.hpp"

namespace quarv {

TestName TestName::with_padding(NamePadding padding) const {
    if (!m_owned) return TestName(Kind::AlignedName, m_static, nullptr, padding);
    return TestName(Kind::AlignedName, {}, std::make_shared<const std::string>(*m_owned), padding);
}

std::string TestDesc::padded_name(std::size_t column_count, NamePadding align) const {
    std::string text(name.as_slice());
    if (align == NamePadding::PadRight && text.size() < column_count) text.append(column_count - text.size(), ' ');
    return text;
}

std::optional<std::string_view> TestDesc::test_mode() const {
    if (ignore) return std::nullopt;
    if (should_panic.kind != ShouldPanic::Kind::NotExpected) return "should panic";
    if (compile_fail) return "compile fail";
    if (compile_only) return "compile";
    return std::nullopt;
}

TestFn TestFn::into_bench_as_test() && {
    switch (m_kind) {
        case Kind::StaticBench: return TestFn(Kind::StaticBenchAsTest, std::move(m_body));
        case Kind::DynamicBench: return TestFn(Kind::DynamicBenchAsTest, std::move(m_body));
        default: return std::move(*this);
    }
}

}  // namespace quarv
