// Selecting the tests a run asks for, keeping registry order.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "cli/test_opts.hpp"
#include "model/test_result.hpp"

namespace quarv::detail {

// Exact byte equality with `exact`, otherwise a byte substring; case-sensitive.
bool matches_filter(std::string_view name, std::string_view pattern, bool exact);

// Applies the name filters, skip patterns, should-panic exclusion and ignored-test policy.
std::vector<TestDescAndFn> filter_tests(const TestOpts& opts, std::vector<TestDescAndFn> tests);

// Turns every benchmark into a test that runs its body once.
std::vector<TestDescAndFn> convert_benchmarks_to_tests(std::vector<TestDescAndFn> tests);

using NumberedTest = std::pair<TestId, TestDescAndFn>;

// The numbered selection split into tests and measured benchmarks; ids count from 0
// across both lists in selection order.
struct FilteredTests {
    std::vector<NumberedTest> tests;
    std::vector<NumberedTest> benchmarks;
    TestId next_test_id = 0;

    void add_test(TestDesc desc, TestFn body) { tests.emplace_back(next_test_id++, TestDescAndFn{std::move(desc), std::move(body)}); }
    void add_bench(TestDesc desc, TestFn body) { benchmarks.emplace_back(next_test_id++, TestDescAndFn{std::move(desc), std::move(body)}); }
    std::size_t total_len() const { return tests.size() + benchmarks.size(); }
};

}  // namespace quarv::detail
