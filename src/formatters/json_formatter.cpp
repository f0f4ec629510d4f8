#include "formatters/json_formatter.hpp"

#include <cassert>

#include "formatters/float_text.hpp"
#include "formatters/json_escape.hpp"
#include "formatters/styled_writer.hpp"

namespace quarv::detail {

namespace {

// Builds "{ "k": v, ... }\n" member by member.
class JsonLine {
public:
    JsonLine& string(std::string_view key, std::string_view text) {
        begin(key);
        m_text += '"';
        append_json_escaped(m_text, utf8_lossy(text));
        m_text += '"';
        return *this;
    }
    JsonLine& integer(std::string_view key, std::uint64_t value) {
        begin(key);
        m_text += std::to_string(value);
        return *this;
    }
    JsonLine& real(std::string_view key, double value) {
        begin(key);
        m_text += float_text(value);
        return *this;
    }
    JsonLine& boolean(std::string_view key, bool value) {
        begin(key);
        m_text += value ? "true" : "false";
        return *this;
    }
    std::string finish() const { return m_text + " }\n"; }

private:
    void begin(std::string_view key) {
        m_text += m_empty ? "{ \"" : ", \"";
        m_empty = false;
        m_text += key;
        m_text += "\": ";
    }
    std::string m_text;
    bool m_empty = true;
};

std::string_view name_of(const TestDesc& desc) { return desc.name.as_slice(); }

}  // namespace

IoResult<> JsonFormatter::writeln_message(const std::string& line) {
    assert(!line.empty() && line.back() == '\n');
    return m_output.write_all(line);
}

IoResult<> JsonFormatter::write_discovery_start() {
    return writeln_message("{ \"type\": \"suite\", \"event\": \"discovery\" }\n");
}

IoResult<> JsonFormatter::write_test_discovered(const TestDesc& desc, std::string_view kind_word) {
    return writeln_message(JsonLine()
                               .string("type", kind_word)
                               .string("event", "discovered")
                               .string("name", name_of(desc))
                               .boolean("ignore", desc.ignore)
                               .string("ignore_message", desc.ignore_message.value_or(""))
                               .string("source_path", desc.source_path)
                               .integer("start_line", desc.start_line)
                               .integer("start_col", desc.start_col)
                               .integer("end_line", desc.end_line)
                               .integer("end_col", desc.end_col)
                               .finish());
}

IoResult<> JsonFormatter::write_discovery_finish(const ConsoleTestDiscoveryState& state) {
    return writeln_message(JsonLine()
                               .string("type", "suite")
                               .string("event", "completed")
                               .integer("tests", state.tests)
                               .integer("benchmarks", state.benchmarks)
                               .integer("total", state.tests + state.benchmarks)
                               .integer("ignored", state.ignored)
                               .finish());
}

IoResult<> JsonFormatter::write_run_start(std::uint64_t test_count, std::optional<std::uint64_t> shuffle_seed) {
    JsonLine line;
    line.string("type", "suite").string("event", "started").integer("test_count", test_count);
    if (shuffle_seed) line.integer("shuffle_seed", *shuffle_seed);
    return writeln_message(line.finish());
}

IoResult<> JsonFormatter::write_test_start(const TestDesc& desc) {
    return writeln_message(JsonLine().string("type", "test").string("event", "started").string("name", name_of(desc)).finish());
}

IoResult<> JsonFormatter::write_timeout(const TestDesc& desc) {
    return writeln_message(JsonLine().string("type", "test").string("event", "timeout").string("name", name_of(desc)).finish());
}

// A result line ("type", "name", "event", then execution time, output and the closing
// message or reason when present), or a benchmark line for a measured benchmark.
IoResult<> JsonFormatter::write_result(const TestDesc& desc, const TestResult& result,
                                       const std::optional<TestExecTime>& exec_time, std::string_view captured_output,
                                       const ConsoleTestState& state) {
    JsonLine line;
    if (result.kind() == TestResult::Kind::Benchmarked) {
        const BenchOutcome& bench = result.bench();
        line.string("type", "bench")
            .string("name", name_of(desc))
            .real("median", bench.summary.median)
            .real("deviation", bench.summary.max - bench.summary.min);
        if (bench.megabytes_per_second != 0) line.integer("mib_per_second", bench.megabytes_per_second);
        return writeln_message(line.finish());
    }

    std::string_view event = "ok";
    if (result.is_failure()) event = "failed";
    if (result.kind() == TestResult::Kind::Ignored) event = "ignored";
    line.string("type", "test").string("name", name_of(desc)).string("event", event);
    if (exec_time) line.real("exec_time", exec_time->duration.as_secs_f64());
    bool show_stdout = state.run_options.show_output || result.kind() != TestResult::Kind::Passed;
    if (!captured_output.empty() && show_stdout) line.string("stdout", captured_output);
    switch (result.kind()) {
        case TestResult::Kind::FailedWithMessage: line.string("message", result.message()); break;
        case TestResult::Kind::FailedTimeLimit: line.string("reason", "time limit exceeded"); break;
        case TestResult::Kind::Ignored:
            if (desc.ignore_message) line.string("message", *desc.ignore_message);
            break;
        default: break;
    }
    return writeln_message(line.finish());
}

IoResult<bool> JsonFormatter::write_run_finish(const ConsoleTestState& state) {
    bool success = state.failed == 0;
    JsonLine line;
    line.string("type", "suite")
        .string("event", success ? "ok" : "failed")
        .integer("passed", state.passed)
        .integer("failed", state.failed)
        .integer("ignored", state.ignored)
        .integer("measured", state.measured)
        .integer("filtered_out", state.filtered_out);
    if (state.exec_time) line.real("exec_time", state.exec_time->duration.as_secs_f64());
    QUARV_TRY_IO(writeln_message(line.finish()));
    return success;
}

IoResult<> JsonFormatter::write_merged_doctests_times(double total_time, double compilation_time) {
    return writeln_message(JsonLine()
                               .string("type", "report")
                               .real("total_time", total_time)
                               .real("compilation_time", compilation_time)
                               .finish());
}

}  // namespace quarv::detail
