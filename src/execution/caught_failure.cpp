#include "execution/caught_failure.hpp"

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <typeinfo>
#include <cxxabi.h>

#include "platform/panic_report.hpp"
#include "quarv/assert.hpp"

namespace quarv::detail {

namespace {

std::string thrown_type_name() {
    std::type_info* type = abi::__cxa_current_exception_type();
    if (type == nullptr) return "<unknown>";
    int status = 0;
    char* name = abi::__cxa_demangle(type->name(), nullptr, nullptr, &status);
    std::string text = status == 0 && name ? name : type->name();
    std::free(name);
    return text;
}

}  // namespace

FailurePayload report_current_exception(const TestDesc& desc) {
    std::string location = source_position(desc.source_path, desc.start_line, desc.start_col);
    FailurePayload payload;
    std::string shown;
    try {
        throw;
    } catch (const Panic& panic) {
        payload = FailurePayload{true, panic.message(), {}};
        location = source_position(panic.where().file, panic.where().line, panic.where().column);
        shown = panic.message();
    } catch (const std::exception& error) {
        payload = FailurePayload{true, error.what(), {}};
        shown = thrown_type_name() + ": " + error.what();
    } catch (const std::string& text) {
        payload = FailurePayload{true, text, {}};
        shown = text;
    } catch (const char* text) {
        payload = FailurePayload{true, text ? text : "", {}};
        shown = payload.text;
    } catch (...) {
        payload = FailurePayload{false, {}, thrown_type_name()};
        shown = "a value of type " + payload.type_name + " was thrown";
    }
    std::cerr << panic_report(location, shown) << std::flush;
    return payload;
}

}  // namespace quarv::detail
