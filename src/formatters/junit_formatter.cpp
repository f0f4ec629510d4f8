#include "formatters/junit_formatter.hpp"

#include "formatters/float_text.hpp"
#include "formatters/xml_escape.hpp"

namespace quarv::detail {

namespace {

void replace_all(std::string& text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(from, start)) != std::string::npos; start = at + from.size()) {
        out.append(text, start, at - start);
        out += to;
    }
    out.append(text, start, std::string::npos);
    text = std::move(out);
}

std::string_view trim(std::string_view text) {
    constexpr std::string_view space = " \t\n\v\f\r";
    std::size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// Splitting at every "::" from the left and joining all pieces but the last again is
// the same as cutting at the last separator found by a left-to-right scan (which can
// differ from the last "::" in the text when colons run three or more in a row).
JunitNames parse_class_name_unit(std::string_view name) {
    std::size_t last = std::string_view::npos;
    for (std::size_t at = name.find("::"); at != std::string_view::npos; at = name.find("::", at + 2)) last = at;
    if (last == std::string_view::npos) return {"crate", std::string(name)};
    return {std::string(name.substr(0, last)), std::string(name.substr(last + 2))};
}

JunitNames parse_class_name_doc(std::string_view name) {
    constexpr std::string_view separator = " - ";
    std::size_t at = name.find(separator);
    if (at == std::string_view::npos) return {"doc", std::string(name)};
    return {std::string(trim(name.substr(0, at))), std::string(trim(name.substr(at + separator.size())))};
}

// Captured output as it goes into <system-out>: legal XML characters, then CDATA.
std::string output_cdata(std::string_view captured) { return str_to_cdata(xml_legal_text(captured)); }

}  // namespace

JunitNames parse_class_name(const TestDesc& desc) {
    std::string_view name = desc.name.as_slice();
    switch (desc.test_kind) {
        case TestKind::Unit: return parse_class_name_unit(name);
        case TestKind::Integration: return {"integration", std::string(name)};
        case TestKind::Doc: return parse_class_name_doc(name);
        case TestKind::Unknown: break;
    }
    return {"unknown", std::string(name)};
}

// The replacements run in this order, each over the result of the one before; empty
// sections are removed before the wrapping, so one formed by the wrapper stays.
std::string str_to_cdata(std::string_view text) {
    std::string out(text);
    replace_all(out, "]]>", "]]]]><![CDATA[>");
    replace_all(out, "<?", "<]]><![CDATA[?");
    replace_all(out, "\n", "]]>&#xA;<![CDATA[");
    replace_all(out, "<![CDATA[]]>", "");
    return "<![CDATA[" + out + "]]>";
}

IoResult<> JunitFormatter::write_message(std::string_view text) { return m_output.write_all(text); }

IoResult<> JunitFormatter::write_discovery_start() {
    return unexpected(IoError::custom(IoErrorKind::NotFound, "not yet implemented!"));
}

IoResult<> JunitFormatter::write_test_discovered(const TestDesc&, std::string_view) {
    return unexpected(IoError::custom(IoErrorKind::NotFound, "not yet implemented!"));
}

IoResult<> JunitFormatter::write_discovery_finish(const ConsoleTestDiscoveryState&) {
    return unexpected(IoError::custom(IoErrorKind::NotFound, "not yet implemented!"));
}

IoResult<> JunitFormatter::write_run_start(std::uint64_t, std::optional<std::uint64_t>) {
    return write_message("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
}

IoResult<> JunitFormatter::write_test_start(const TestDesc&) { return {}; }

IoResult<> JunitFormatter::write_timeout(const TestDesc&) { return {}; }

IoResult<> JunitFormatter::write_result(const TestDesc& desc, const TestResult& result,
                                        const std::optional<TestExecTime>& exec_time, std::string_view captured_output,
                                        const ConsoleTestState&) {
    m_buffered_results.push_back(
        BufferedResult{desc, result, exec_time ? exec_time->duration : Duration{}, std::string(captured_output)});
    return {};
}

// The rest of the document after the declaration: the suite with its counts, one
// element per reported test in arrival order (ignored tests only count as skipped),
// then the closing tags and the document's only newline.
IoResult<bool> JunitFormatter::write_run_finish(const ConsoleTestState& state) {
    QUARV_TRY_IO(write_message("<testsuites>"));
    QUARV_TRY_IO(write_message("<testsuite name=\"test\" package=\"test\" id=\"0\" errors=\"0\" failures=\"" +
                               std::to_string(state.failed) + "\" tests=\"" + std::to_string(state.total) +
                               "\" skipped=\"" + std::to_string(state.ignored) + "\" >"));
    std::vector<BufferedResult> results = std::move(m_buffered_results);
    m_buffered_results.clear();
    for (const BufferedResult& entry : results) {
        JunitNames names = parse_class_name(entry.desc);
        std::string class_name = xml_attribute_escaped(names.class_name);
        std::string test_name = xml_attribute_escaped(names.test_name);
        std::string time = float_text(entry.duration.as_secs_f64());
        std::string open = "<testcase classname=\"" + class_name + "\" name=\"" + test_name + "\" time=\"" + time + "\"";
        switch (entry.result.kind()) {
            case TestResult::Kind::Passed:
                QUARV_TRY_IO(write_message(open));
                if (!entry.captured_output.empty() && state.run_options.show_output) {
                    QUARV_TRY_IO(write_message("><system-out>"));
                    QUARV_TRY_IO(write_message(output_cdata(entry.captured_output)));
                    QUARV_TRY_IO(write_message("</system-out>"));
                    QUARV_TRY_IO(write_message("</testcase>"));
                } else {
                    QUARV_TRY_IO(write_message("/>"));
                }
                break;
            case TestResult::Kind::Failed:
            case TestResult::Kind::FailedWithMessage:
                QUARV_TRY_IO(write_message(open + ">"));
                if (entry.result.kind() == TestResult::Kind::Failed) {
                    QUARV_TRY_IO(write_message("<failure type=\"assert\"/>"));
                } else {
                    QUARV_TRY_IO(write_message("<failure message=\"" + xml_attribute_escaped(entry.result.message()) +
                                               "\" type=\"assert\"/>"));
                }
                if (!entry.captured_output.empty()) {
                    QUARV_TRY_IO(write_message("<system-out>"));
                    QUARV_TRY_IO(write_message(output_cdata(entry.captured_output)));
                    QUARV_TRY_IO(write_message("</system-out>"));
                }
                QUARV_TRY_IO(write_message("</testcase>"));
                break;
            case TestResult::Kind::FailedTimeLimit:
                QUARV_TRY_IO(write_message(open + ">"));
                QUARV_TRY_IO(write_message("<failure type=\"timeout\"/>"));
                QUARV_TRY_IO(write_message("</testcase>"));
                break;
            case TestResult::Kind::Benchmarked:
                QUARV_TRY_IO(write_message("<testcase classname=\"benchmark::" + class_name + "\" name=\"" + test_name +
                                           "\" time=\"" + float_text(entry.result.bench().summary.sum) + "\" />"));
                break;
            case TestResult::Kind::Ignored: break;
        }
    }
    QUARV_TRY_IO(write_message("<system-out/>"));
    QUARV_TRY_IO(write_message("<system-err/>"));
    QUARV_TRY_IO(write_message("</testsuite>"));
    QUARV_TRY_IO(write_message("</testsuites>"));
    QUARV_TRY_IO(m_output.write_all("\n"));
    return state.failed == 0;
}

IoResult<> JunitFormatter::write_merged_doctests_times(double total_time, double compilation_time) {
    QUARV_TRY_IO(write_message("<report total_time=\"" + float_text(total_time) + "\" compilation_time=\"" +
                               float_text(compilation_time) + "\"></report>"));
    return m_output.write_all("\n");
}

}  // namespace quarv::detail
