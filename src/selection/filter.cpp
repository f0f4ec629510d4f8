#include "selection/filter.hpp"

#include <algorithm>

namespace quarv::detail {

bool matches_filter(std::string_view name, std::string_view pattern, bool exact) {
    return exact ? name == pattern : name.find(pattern) != std::string_view::npos;
}

namespace {
bool matches_any(std::string_view name, const std::vector<std::string>& patterns, bool exact) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return matches_filter(name, pattern, exact); });
}

template <class Pred>
void remove_if_keep_order(std::vector<TestDescAndFn>& tests, Pred pred) {
    tests.erase(std::remove_if(tests.begin(), tests.end(), pred), tests.end());
}
}  // namespace

std::vector<TestDescAndFn> filter_tests(const TestOpts& opts, std::vector<TestDescAndFn> tests) {
    if (!opts.filters.empty()) {
        remove_if_keep_order(tests, [&](const TestDescAndFn& t) {
            return !matches_any(t.descriptor.name.as_slice(), opts.filters, opts.exact);
        });
    }
    if (!opts.skip.empty()) {
        remove_if_keep_order(tests, [&](const TestDescAndFn& t) {
            return matches_any(t.descriptor.name.as_slice(), opts.skip, opts.exact);
        });
    }
    if (opts.exclude_should_panic) {
        remove_if_keep_order(tests, [](const TestDescAndFn& t) {
            return t.descriptor.should_panic.kind != ShouldPanic::Kind::NotExpected;
        });
    }
    switch (opts.run_ignored) {
        case RunIgnored::IncludeIgnored:
            for (TestDescAndFn& t : tests) t.descriptor.ignore = false;
            break;
        case RunIgnored::SkipIgnored: break;
        case RunIgnored::OnlyIgnored:
            remove_if_keep_order(tests, [](const TestDescAndFn& t) { return !t.descriptor.ignore; });
            for (TestDescAndFn& t : tests) t.descriptor.ignore = false;
            break;
    }
    return tests;
}

std::vector<TestDescAndFn> convert_benchmarks_to_tests(std::vector<TestDescAndFn> tests) {
    for (TestDescAndFn& t : tests) t.body = std::move(t.body).into_bench_as_test();
    return tests;
}

}  // namespace quarv::detail
