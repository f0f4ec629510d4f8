// Defining and registering tests and benchmarks.
//
//   namespace parser {
//   QUARV_TEST(reads_empty_input) { quarv::assert_eq(parse("").size(), 0u); }
//   QUARV_TEST(rejects_garbage, quarv::should_panic("unexpected byte")) { parse("\xff"); }
//   QUARV_BENCH(parses_big_input, b) { b.iter([] { return parse(big_input); }); }
//   }
//
// A test is named after its enclosing named namespaces joined with "::" and its
// identifier ("parser::reads_empty_input"); anonymous namespaces add nothing. Its
// descriptor records the source file (__FILE__ as the compiler spells it) and the line and
// column of the macro invocation as both the start and the end of its span: the compiler
// offers no position for the end of the body.
//
// A body either returns nothing (it fails by throwing) or returns quarv::Result.
// Registration happens during static initialisation and works across translation units.
// Tests in a static library are only registered when the linker keeps their object
// files: link such libraries with $<LINK_LIBRARY:WHOLE_ARCHIVE,lib> or as object libraries.
#pragma once

#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "quarv/source_location.hpp"
#include "quarv/test_desc.hpp"

namespace quarv {

// Attributes accepted after the identifier of QUARV_TEST / QUARV_BENCH.
struct Attribute {
    enum class Kind { Ignore, ShouldPanic, SetKind } what;
    std::optional<std::string> text;
    TestKind test_kind = TestKind::Unit;
};

inline Attribute ignore() { return {Attribute::Kind::Ignore, std::nullopt}; }
inline Attribute ignore(std::string reason) { return {Attribute::Kind::Ignore, std::move(reason)}; }
inline Attribute should_panic() { return {Attribute::Kind::ShouldPanic, std::nullopt}; }
inline Attribute should_panic(std::string expected) { return {Attribute::Kind::ShouldPanic, std::move(expected)}; }
inline Attribute kind(TestKind k) { return {Attribute::Kind::SetKind, std::nullopt, k}; }

// Every registered test and benchmark, in registration order.
std::vector<TestDescAndFn>& registry();
// The registry sorted by name (byte order, stable), as handed to the runner.
std::vector<TestDescAndFn> sorted_registry();

namespace detail {

// The qualified name of the function that the registration macros define next to a
// test, as __PRETTY_FUNCTION__ spells it. The return type is this one-word struct, so
// the function's qualified name starts after the first space.
struct QualifiedFunctionName {
    const char* text;
};

// Builds the test's name from the enclosing namespaces found in the spelled function name.
std::string test_name_from(const char* pretty_function, const char* identifier);

struct Registrar {
    Registrar(const char* pretty_function, const char* identifier, SourceLocation where, TestFn body,
              std::initializer_list<Attribute> attributes);
};

// The registration thunks call bodies through this tag so that the call is resolved
// only when the thunk is instantiated, after the body (with its deduced return type)
// has been defined.
struct BodyTag {};
template <class T>
constexpr T dependent_tag() { return T{}; }

}  // namespace detail
}  // namespace quarv

#define QUARV_DETAIL_CAT2(a, b) a##b
#define QUARV_DETAIL_CAT(a, b) QUARV_DETAIL_CAT2(a, b)

#define QUARV_TEST(identifier, ...)                                                                          \
    static auto QUARV_DETAIL_CAT(quarv_test_body_, identifier)(::quarv::detail::BodyTag);                    \
    template <class QuarvTag = ::quarv::detail::BodyTag>                                                     \
    static ::quarv::Result QUARV_DETAIL_CAT(quarv_test_thunk_, identifier)() {                               \
        using QuarvReturn = decltype(QUARV_DETAIL_CAT(quarv_test_body_, identifier)(                         \
            ::quarv::detail::dependent_tag<QuarvTag>()));                                                    \
        if constexpr (::std::is_void_v<QuarvReturn>) {                                                       \
            QUARV_DETAIL_CAT(quarv_test_body_, identifier)(::quarv::detail::dependent_tag<QuarvTag>());      \
            return ::quarv::ok();                                                                            \
        } else {                                                                                             \
            return QUARV_DETAIL_CAT(quarv_test_body_, identifier)(::quarv::detail::dependent_tag<QuarvTag>()); \
        }                                                                                                    \
    }                                                                                                        \
    static ::quarv::detail::QualifiedFunctionName QUARV_DETAIL_CAT(quarv_test_where_, identifier)() {        \
        return {__PRETTY_FUNCTION__};                                                                        \
    }                                                                                                        \
    [[maybe_unused]] static const ::quarv::detail::Registrar QUARV_DETAIL_CAT(quarv_test_registrar_,         \
                                                                              identifier){                   \
        QUARV_DETAIL_CAT(quarv_test_where_, identifier)().text, #identifier,                                 \
        ::quarv::SourceLocation::current(),                                                                  \
        ::quarv::TestFn::static_test(&QUARV_DETAIL_CAT(quarv_test_thunk_, identifier) <>),                   \
        {__VA_ARGS__}};                                                                                      \
    static auto QUARV_DETAIL_CAT(quarv_test_body_, identifier)(::quarv::detail::BodyTag)

#define QUARV_BENCH(identifier, bencher, ...)                                                                \
    static auto QUARV_DETAIL_CAT(quarv_bench_body_, identifier)(::quarv::detail::BodyTag, ::quarv::Bencher&); \
    template <class QuarvTag = ::quarv::detail::BodyTag>                                                     \
    static ::quarv::Result QUARV_DETAIL_CAT(quarv_bench_thunk_, identifier)(::quarv::Bencher & quarv_b) {     \
        using QuarvReturn = decltype(QUARV_DETAIL_CAT(quarv_bench_body_, identifier)(                        \
            ::quarv::detail::dependent_tag<QuarvTag>(), quarv_b));                                           \
        if constexpr (::std::is_void_v<QuarvReturn>) {                                                       \
            QUARV_DETAIL_CAT(quarv_bench_body_, identifier)(::quarv::detail::dependent_tag<QuarvTag>(),      \
                                                            quarv_b);                                        \
            return ::quarv::ok();                                                                            \
        } else {                                                                                             \
            return QUARV_DETAIL_CAT(quarv_bench_body_, identifier)(::quarv::detail::dependent_tag<QuarvTag>(), \
                                                                   quarv_b);                                 \
        }                                                                                                    \
    }                                                                                                        \
    static ::quarv::detail::QualifiedFunctionName QUARV_DETAIL_CAT(quarv_bench_where_, identifier)() {       \
        return {__PRETTY_FUNCTION__};                                                                        \
    }                                                                                                        \
    [[maybe_unused]] static const ::quarv::detail::Registrar QUARV_DETAIL_CAT(quarv_bench_registrar_,        \
                                                                              identifier){                   \
        QUARV_DETAIL_CAT(quarv_bench_where_, identifier)().text, #identifier,                                \
        ::quarv::SourceLocation::current(),                                                                  \
        ::quarv::TestFn::static_bench(&QUARV_DETAIL_CAT(quarv_bench_thunk_, identifier) <>),                 \
        {__VA_ARGS__}};                                                                                      \
    static auto QUARV_DETAIL_CAT(quarv_bench_body_, identifier)(::quarv::detail::BodyTag,                    \
                                                                ::quarv::Bencher & bencher)
