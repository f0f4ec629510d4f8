#include "quarv/registry.hpp"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string_view>

namespace quarv {

std::vector<TestDescAndFn>& registry() {
    static std::vector<TestDescAndFn> entries;
    return entries;
}

std::vector<TestDescAndFn> sorted_registry() {
    std::vector<TestDescAndFn> entries = registry();
    std::stable_sort(entries.begin(), entries.end(), [](const TestDescAndFn& a, const TestDescAndFn& b) {
        return a.descriptor.name.as_slice() < b.descriptor.name.as_slice();
    });
    return entries;
}

namespace detail {

namespace {
// Registered names live as long as the program, so descriptors refer to them as static text.
std::string_view intern(std::string name) {
    static std::deque<std::string> names;
    return names.emplace_back(std::move(name));
}

// Anonymous namespaces as g++ and clang spell them.
bool is_anonymous(std::string_view component) {
    return component == "{anonymous}" || component == "(anonymous namespace)";
}
}  // namespace

std::string test_name_from(const char* pretty_function, const char* identifier) {
    std::string_view text(pretty_function);
    // "quarv::detail::QualifiedFunctionName ns1::ns2::quarv_test_where_id()"
    std::size_t start = text.find(' ');
    start = start == std::string_view::npos ? 0 : start + 1;
    std::size_t paren = text.find('(', start);
    // The "(anonymous namespace)" component contains a parenthesis: skip past it.
    while (paren != std::string_view::npos && text.compare(paren, 21, "(anonymous namespace)") == 0) {
        paren = text.find('(', paren + 21);
    }
    std::string_view qualified = text.substr(start, paren == std::string_view::npos ? std::string_view::npos : paren - start);
    std::string name;
    std::size_t pos = 0;
    while (true) {
        std::size_t sep = qualified.find("::", pos);
        if (sep == std::string_view::npos) break;  // the last component is the generated function
        std::string_view component = qualified.substr(pos, sep - pos);
        if (!component.empty() && !is_anonymous(component)) {
            name.append(component);
            name.append("::");
        }
        pos = sep + 2;
    }
    name.append(identifier);
    return name;
}

Registrar::Registrar(const char* pretty_function, const char* identifier, SourceLocation where, TestFn body,
                     std::initializer_list<Attribute> attributes) {
    TestDesc desc;
    desc.name = TestName::static_name(intern(test_name_from(pretty_function, identifier)));
    desc.source_path = where.file;
    desc.start_line = desc.end_line = where.line;
    desc.start_col = desc.end_col = where.column;
    for (const Attribute& attribute : attributes) {
        switch (attribute.what) {
            case Attribute::Kind::Ignore:
                desc.ignore = true;
                desc.ignore_message = attribute.text;
                break;
            case Attribute::Kind::ShouldPanic:
                desc.should_panic = attribute.text ? ShouldPanic::with_message(*attribute.text) : ShouldPanic::any();
                break;
            case Attribute::Kind::SetKind: desc.test_kind = attribute.test_kind; break;
        }
    }
    registry().push_back(TestDescAndFn{std::move(desc), std::move(body)});
}

}  // namespace detail
}  // namespace quarv
