// The JUnit report: one XML document on one line, written when the run finishes.
//
//   <?xml version="1.0" encoding="UTF-8"?><testsuites><testsuite name="test" ...>
//   <testcase classname="a" name="b" time="0"/>...</testsuite></testsuites>
//
// Class and test names come from the test's name by its kind: unit tests split at the
// last "::" (class "crate" when there is none), integration tests have class
// "integration", tests of unknown kind "unknown". Documentation tests are named
// "PATH - TITLE": the class is the trimmed path before the first " - ", the test name the
// trimmed rest (a title may itself contain " - "); a documentation test whose name has
// no " - " at all gets class "doc" and its whole name.
//
// The document is well-formed XML 1.0 whatever the tests are called or print: attribute
// values escape & < > " ' and write tab, line feed and carriage return as character
// references; characters XML 1.0 forbids (control bytes other than those three, invalid
// UTF-8, U+FFFE, U+FFFF) become U+FFFD in attributes and in captured output. Everything
// else in captured output is kept byte for byte; a carriage return stays raw inside
// CDATA, so a parser's line-end handling reads it as a line feed.
#pragma once

#include <vector>

#include "formatters/output_formatter.hpp"
#include "term/output_location.hpp"

namespace quarv::detail {

class JunitFormatter final : public OutputFormatter {
public:
    explicit JunitFormatter(OutputLocation output) : m_output(std::move(output)) {}

    IoResult<> write_discovery_start() override;
    IoResult<> write_test_discovered(const TestDesc& desc, std::string_view kind_word) override;
    IoResult<> write_discovery_finish(const ConsoleTestDiscoveryState& state) override;
    IoResult<> write_run_start(std::uint64_t test_count, std::optional<std::uint64_t> shuffle_seed) override;
    IoResult<> write_test_start(const TestDesc& desc) override;
    IoResult<> write_timeout(const TestDesc& desc) override;
    IoResult<> write_result(const TestDesc& desc, const TestResult& result, const std::optional<TestExecTime>& exec_time,
                            std::string_view captured_output, const ConsoleTestState& state) override;
    IoResult<bool> write_run_finish(const ConsoleTestState& state) override;
    IoResult<> write_merged_doctests_times(double total_time, double compilation_time) override;

private:
    struct BufferedResult {
        TestDesc desc;
        TestResult result;
        Duration duration;
        std::string captured_output;
    };

    // Writes a piece of the one-line document, unflushed.
    IoResult<> write_message(std::string_view text);

    OutputLocation m_output;
    std::vector<BufferedResult> m_buffered_results;
};

struct JunitNames {
    std::string class_name;
    std::string test_name;
    bool operator==(const JunitNames&) const = default;
};

// The class name and test name of a test, by its kind (raw, not yet escaped).
JunitNames parse_class_name(const TestDesc& desc);

// Captured output as CDATA sections that cannot end the surrounding element: "]]>" and
// "<?" are split across sections and each line feed is written as "&#xA;" between
// sections. The text should already be legal XML characters (xml_legal_text).
std::string str_to_cdata(std::string_view text);

}  // namespace quarv::detail
