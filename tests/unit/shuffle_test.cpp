// The seeded shuffle: the SipHash core, the orders fixed by seed and names, and where
// the seed comes from.
#include <quarv/quarv.hpp>

#include <chrono>
#include <string>
#include <vector>

#include "selection/shuffle.hpp"
#include "selection/shuffle_rng.hpp"
#include "selection/siphash.hpp"

namespace shuffle {

using quarv::detail::NumberedTest;

// The published SipHash-2-4 vectors (key 00 01 .. 0f, message 00 01 .. len-1) check
// the shared round function, block handling and finalization; SipHash-1-3 differs only
// in the round counts.
QUARV_TEST(siphash24_reference_vectors) {
    struct Case {
        std::size_t length;
        std::uint64_t digest;
    };
    const Case cases[] = {{0, 0x726fdb47dd0e0e31ULL}, {1, 0x74f839c593dc67fdULL}, {15, 0xa129ca6149be45e5ULL}};
    std::uint64_t k0 = 0x0706050403020100ULL, k1 = 0x0f0e0d0c0b0a0908ULL;
    for (const Case& c : cases) {
        std::string message;
        for (std::size_t i = 0; i < c.length; ++i) message += static_cast<char>(i);
        quarv::detail::SipHasher24 hasher(k0, k1);
        hasher.write(message);
        quarv::assert_eq(hasher.finish(), c.digest);
    }
}

// The digest depends on the byte stream only, however it was cut into writes.
QUARV_TEST(siphash_is_a_stream) {
    std::string message = "the quick brown fox jumps over the lazy dog";
    quarv::detail::SipHasher13 whole;
    whole.write(message);
    for (std::size_t cut : {1u, 3u, 7u, 8u, 9u, 20u}) {
        quarv::detail::SipHasher13 pieces;
        for (std::size_t at = 0; at < message.size(); at += cut) pieces.write(std::string_view(message).substr(at, cut));
        quarv::assert_eq(pieces.finish(), whole.finish());
    }
}

std::vector<NumberedTest> numbered(const std::vector<std::string>& names) {
    std::vector<NumberedTest> tests;
    for (const std::string& name : names) {
        quarv::TestDesc desc = quarv::TestDesc::named(name);
        desc.name = desc.name.with_padding(quarv::NamePadding::NoPadding);  // as the run loop hands them over
        tests.emplace_back(tests.size(), quarv::TestDescAndFn{desc, quarv::TestFn::dynamic_test([] { return quarv::ok(); })});
    }
    return tests;
}

std::string order_of(const std::vector<NumberedTest>& tests) {
    std::string order;
    for (const NumberedTest& test : tests) {
        if (!order.empty()) order += ' ';
        order += std::string(test.second.descriptor.name.as_slice()) + "#" + std::to_string(test.first);
    }
    return order;
}

QUARV_TEST(orders_for_known_seeds) {
    struct Case {
        std::uint64_t seed;
        const char* order;
    };
    const Case cases[] = {{42, "beta#1 gamma#2 alpha#0"}, {1, "gamma#2 beta#1 alpha#0"}};
    for (const Case& c : cases) {
        std::vector<NumberedTest> tests = numbered({"alpha", "beta", "gamma"});
        quarv::detail::shuffle_tests(c.seed, tests);
        quarv::assert_eq(order_of(tests), std::string(c.order));
    }
}

// Only names count: other descriptor fields and the bodies leave the order alone, and
// an owned and a static aligned text hash alike. Short lists are left unchanged.
QUARV_TEST(order_depends_on_seed_and_names_only) {
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) names.push_back("t" + std::to_string(i));
    std::vector<NumberedTest> first = numbered(names);
    std::vector<NumberedTest> second = numbered(names);
    for (NumberedTest& test : second) {
        test.second.descriptor.ignore = true;
        test.second.descriptor.source_path = "elsewhere.cpp";
        test.second.descriptor.start_line = 99;
    }
    quarv::detail::shuffle_tests(7, first);
    quarv::detail::shuffle_tests(7, second);
    quarv::assert_eq(order_of(first), order_of(second));
    quarv::assert_ne(order_of(first), order_of(numbered(names)));

    std::vector<NumberedTest> statics = numbered({"alpha", "beta", "gamma"});
    for (NumberedTest& test : statics) {
        static const std::string keep[] = {"alpha", "beta", "gamma"};
        test.second.descriptor.name = quarv::TestName::static_name(keep[test.first]).with_padding(quarv::NamePadding::NoPadding);
    }
    quarv::detail::shuffle_tests(42, statics);
    quarv::assert_eq(order_of(statics), std::string("beta#1 gamma#2 alpha#0"));

    for (std::uint64_t seed : {0ULL, 1ULL, 42ULL}) {
        std::vector<NumberedTest> none;
        quarv::detail::shuffle_tests(seed, none);
        quarv::assert_true(none.empty());
        std::vector<NumberedTest> one = numbered({"only"});
        quarv::detail::shuffle_tests(seed, one);
        quarv::assert_eq(order_of(one), std::string("only#0"));
    }
}

// Another selection gives another names hash, so the common tests move as well.
QUARV_TEST(selection_changes_names_hash) {
    using quarv::detail::hash_names;
    auto names = [](std::vector<quarv::TestName> list) { return hash_names(list); };
    auto aligned = [](const char* text) {
        return quarv::TestName::dynamic_name(text).with_padding(quarv::NamePadding::NoPadding);
    };
    std::uint64_t base = names({aligned("a"), aligned("b")});
    quarv::assert_ne(base, names({aligned("a"), aligned("b"), aligned("c")}));
    quarv::assert_ne(base, names({aligned("b"), aligned("a")}));
    quarv::assert_ne(base, names({aligned("ab")}));  // the 0xFF byte ends each name
    quarv::assert_ne(base, names({quarv::TestName::dynamic_name("a"), quarv::TestName::dynamic_name("b")}));
    quarv::assert_ne(names({aligned("a")}),
                     names({quarv::TestName::dynamic_name("a").with_padding(quarv::NamePadding::PadRight)}));
}

QUARV_TEST(seed_sources) {
    quarv::detail::TestOpts opts;
    quarv::assert_true(!quarv::detail::get_shuffle_seed(opts).has_value());
    opts.shuffle_seed = 0;
    quarv::assert_eq(*quarv::detail::get_shuffle_seed(opts), std::uint64_t{0});
    opts.shuffle = true;
    opts.shuffle_seed = 5;
    quarv::assert_eq(*quarv::detail::get_shuffle_seed(opts), std::uint64_t{5});

    opts.shuffle_seed.reset();
    auto before = std::chrono::system_clock::now().time_since_epoch();
    std::uint64_t seed = *quarv::detail::get_shuffle_seed(opts);
    auto after = std::chrono::system_clock::now().time_since_epoch();
    quarv::assert_true(seed >= static_cast<std::uint64_t>(std::chrono::nanoseconds(before).count()));
    quarv::assert_true(seed <= static_cast<std::uint64_t>(std::chrono::nanoseconds(after).count()));

    // Nanoseconds since the epoch keep their low 64 bits.
    quarv::assert_eq(quarv::detail::seed_from_epoch_time(1, 5), std::uint64_t{1000000005});
    quarv::assert_eq(quarv::detail::seed_from_epoch_time(18446744074ULL, 0), std::uint64_t{18446744074ULL * 1000000000ULL});
    quarv::assert_eq(quarv::detail::seed_from_epoch_time(18446744074ULL, 0), std::uint64_t{290448384});
}

}  // namespace shuffle
