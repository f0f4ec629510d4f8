// The test model: what a test is called, where it stands, how it is expected to end,
// and the body that runs it. Registered tests are built by QUARV_TEST / QUARV_BENCH;
// programs that build their own list pass it to quarv::test_main.
//
//   quarv::TestDescAndFn t{quarv::TestDesc::named("adhoc::one"),
//                          quarv::TestFn::dynamic_test([] { return quarv::ok(); })};
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "quarv/bencher.hpp"
#include "quarv/result.hpp"

namespace quarv {

enum class TestKind { Unit, Integration, Doc, Unknown };

enum class NamePadding { NoPadding, PadRight };

// Whether a body is expected to fail by throwing.
struct ShouldPanic {
    enum class Kind { NotExpected, Expected, ExpectedWithMessage };
    Kind kind = Kind::NotExpected;
    std::string expected;  // the substring, for ExpectedWithMessage

    static ShouldPanic not_expected() { return {}; }
    static ShouldPanic any() { return {Kind::Expected, {}}; }
    static ShouldPanic with_message(std::string text) { return {Kind::ExpectedWithMessage, std::move(text)}; }
    bool operator==(const ShouldPanic&) const = default;
};

// A test's name. Static names refer to text that lives for the whole program; dynamic
// names own theirs; aligned names carry a padding attribute used by output columns.
class TestName {
public:
    enum class Kind { StaticName, DynamicName, AlignedName };

    static TestName static_name(std::string_view text) { return TestName(Kind::StaticName, text, {}, NamePadding::NoPadding); }
    static TestName dynamic_name(std::string text) {
        return TestName(Kind::DynamicName, {}, std::make_shared<const std::string>(std::move(text)), NamePadding::NoPadding);
    }

    Kind kind() const noexcept { return m_kind; }
    std::string_view as_slice() const noexcept { return m_owned ? std::string_view(*m_owned) : m_static; }
    NamePadding padding() const noexcept { return m_kind == Kind::AlignedName ? m_padding : NamePadding::NoPadding; }
    // An aligned name with the same text: static text stays a reference, owned text is copied.
    TestName with_padding(NamePadding padding) const;
    // True when the text is a reference to static text (no copy was made).
    bool borrows_static_text() const noexcept { return !m_owned; }

private:
    TestName(Kind kind, std::string_view static_text, std::shared_ptr<const std::string> owned, NamePadding padding)
        : m_kind(kind), m_static(static_text), m_owned(std::move(owned)), m_padding(padding) {}

    Kind m_kind;
    std::string_view m_static;
    std::shared_ptr<const std::string> m_owned;  // immutable once built, so copies may share it
    NamePadding m_padding;
};

// The descriptor of one test or benchmark.
struct TestDesc {
    TestName name = TestName::static_name("");
    bool ignore = false;
    std::optional<std::string> ignore_message;
    std::string source_path;
    std::uint64_t start_line = 0;
    std::uint64_t start_col = 0;
    std::uint64_t end_line = 0;
    std::uint64_t end_col = 0;
    ShouldPanic should_panic;
    bool compile_fail = false;
    bool compile_only = false;
    TestKind test_kind = TestKind::Unit;

    static TestDesc named(std::string name) {
        TestDesc desc;
        desc.name = TestName::dynamic_name(std::move(name));
        return desc;
    }

    // The name followed by spaces up to column_count bytes when align is PadRight.
    std::string padded_name(std::size_t column_count, NamePadding align) const;
    // "should panic", "compile fail", "compile", or nothing.
    std::optional<std::string_view> test_mode() const;
};

using StaticTestFn = Result (*)();
using StaticBenchFn = Result (*)(Bencher&);
using DynamicTestFn = std::function<Result()>;
using DynamicBenchFn = std::function<Result(Bencher&)>;

// The body of a test or benchmark.
class TestFn {
public:
    enum class Kind { StaticTest, StaticBench, StaticBenchAsTest, DynamicTest, DynamicBench, DynamicBenchAsTest };

    static TestFn static_test(StaticTestFn f) { return TestFn(Kind::StaticTest, f); }
    static TestFn static_bench(StaticBenchFn f) { return TestFn(Kind::StaticBench, f); }
    static TestFn dynamic_test(DynamicTestFn f) { return TestFn(Kind::DynamicTest, std::move(f)); }
    static TestFn dynamic_bench(DynamicBenchFn f) { return TestFn(Kind::DynamicBench, std::move(f)); }

    Kind kind() const noexcept { return m_kind; }
    NamePadding padding() const noexcept {
        return (m_kind == Kind::StaticBench || m_kind == Kind::DynamicBench) ? NamePadding::PadRight : NamePadding::NoPadding;
    }
    bool is_bench() const noexcept { return m_kind == Kind::StaticBench || m_kind == Kind::DynamicBench; }
    // The same function, to be run once as a test; other kinds are returned unchanged.
    TestFn into_bench_as_test() &&;

    using Body = std::variant<StaticTestFn, StaticBenchFn, DynamicTestFn, DynamicBenchFn>;
    const Body& callable() const noexcept { return m_body; }
    Body take_callable() && { return std::move(m_body); }

private:
    TestFn(Kind kind, Body body) : m_kind(kind), m_body(std::move(body)) {}
    Kind m_kind;
    Body m_body;
};

struct TestDescAndFn {
    TestDesc descriptor;
    TestFn body;
};

}  // namespace quarv
