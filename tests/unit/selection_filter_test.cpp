// Filters, skip patterns, the ignored policies and benchmark conversion.
#include <quarv/quarv.hpp>

#include <string>
#include <vector>

#include "cli/test_opts.hpp"
#include "selection/filter.hpp"

namespace selection_filter {

namespace {
using quarv::detail::RunIgnored;
using quarv::detail::TestOpts;

quarv::TestDescAndFn make(std::string name, bool ignored = false, bool should_panic = false, bool bench = false) {
    quarv::TestDesc desc = quarv::TestDesc::named(std::move(name));
    desc.ignore = ignored;
    if (should_panic) desc.should_panic = quarv::ShouldPanic::any();
    quarv::TestFn body = bench ? quarv::TestFn::dynamic_bench([](quarv::Bencher&) { return quarv::ok(); })
                               : quarv::TestFn::dynamic_test([] { return quarv::ok(); });
    return {std::move(desc), std::move(body)};
}

std::vector<quarv::TestDescAndFn> registry() {
    std::vector<quarv::TestDescAndFn> tests;
    tests.push_back(make("alpha"));
    tests.push_back(make("alpha::one", true));
    tests.push_back(make("beta", false, true));
    tests.push_back(make("gamma", true));
    tests.push_back(make("bench_alpha", false, false, true));
    return tests;
}

std::string names(const std::vector<quarv::TestDescAndFn>& tests) {
    std::string out;
    for (const auto& t : tests) {
        out += std::string(t.descriptor.name.as_slice());
        if (t.descriptor.ignore) out += "(i)";
        out += ' ';
    }
    return out;
}
}  // namespace

QUARV_TEST(filters_keep_registry_order) {
    struct Case {
        std::vector<std::string> filters;
        std::vector<std::string> skip;
        bool exact;
        bool exclude_should_panic;
        RunIgnored policy;
        std::string expected;
    };
    const Case cases[] = {
        {{}, {}, false, false, RunIgnored::SkipIgnored, "alpha alpha::one(i) beta gamma(i) bench_alpha "},
        {{"alpha", "beta"}, {}, false, false, RunIgnored::SkipIgnored, "alpha alpha::one(i) beta bench_alpha "},
        {{"alpha", "beta"}, {}, true, false, RunIgnored::SkipIgnored, "alpha beta "},
        {{""}, {}, false, false, RunIgnored::SkipIgnored, "alpha alpha::one(i) beta gamma(i) bench_alpha "},
        {{""}, {}, true, false, RunIgnored::SkipIgnored, ""},
        {{}, {"alpha"}, false, false, RunIgnored::SkipIgnored, "beta gamma(i) "},
        {{}, {"alpha"}, true, false, RunIgnored::SkipIgnored, "alpha::one(i) beta gamma(i) bench_alpha "},
        {{"alpha"}, {"one"}, false, false, RunIgnored::SkipIgnored, "alpha bench_alpha "},
        {{}, {""}, false, false, RunIgnored::SkipIgnored, ""},
        {{}, {}, false, true, RunIgnored::SkipIgnored, "alpha alpha::one(i) gamma(i) bench_alpha "},
        {{}, {}, false, false, RunIgnored::IncludeIgnored, "alpha alpha::one beta gamma bench_alpha "},
        {{}, {}, false, false, RunIgnored::OnlyIgnored, "alpha::one gamma "},
        {{"Alpha"}, {}, false, false, RunIgnored::SkipIgnored, ""},
    };
    for (const Case& c : cases) {
        TestOpts opts;
        opts.filters = c.filters;
        opts.skip = c.skip;
        opts.exact = c.exact;
        opts.exclude_should_panic = c.exclude_should_panic;
        opts.run_ignored = c.policy;
        quarv::assert_eq(names(quarv::detail::filter_tests(opts, registry())), c.expected);
    }
}

QUARV_TEST(benchmarks_become_tests_that_do_not_pad) {
    auto converted = quarv::detail::convert_benchmarks_to_tests(registry());
    quarv::assert_true(converted[4].body.kind() == quarv::TestFn::Kind::DynamicBenchAsTest);
    quarv::assert_true(converted[4].body.padding() == quarv::NamePadding::NoPadding);
    quarv::assert_true(converted[0].body.kind() == quarv::TestFn::Kind::DynamicTest);
    quarv::assert_true(registry()[4].body.padding() == quarv::NamePadding::PadRight);
}

}  // namespace selection_filter
