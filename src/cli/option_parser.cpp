#include "cli/option_parser.hpp"

#include <algorithm>
#include <utility>

namespace quarv::detail {

std::string ParseFailure::message() const {
    switch (kind) {
    case ParseFailureKind::MissingArgument: return "Argument to option '" + name + "' missing";
    case ParseFailureKind::UnrecognizedOption: return "Unrecognized option: '" + name + "'";
    case ParseFailureKind::DuplicatedOption: return "Option '" + name + "' given more than once";
    case ParseFailureKind::UnexpectedArgument: return "Option '" + name + "' does not take an argument";
    }
    return "Unrecognized option: '" + name + "'";
}

ParsedArguments::ParsedArguments(const OptionTable& table) : m_entries(table.size()) {
    m_names.reserve(table.size());
    for (const OptionSpec& row : table.rows()) m_names.push_back(row.display_name());
}

const ParsedArguments::Entries* ParsedArguments::find(std::string_view name) const {
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] == name) return &m_entries[i];
    }
    return nullptr;
}

bool ParsedArguments::present(std::string_view name) const {
    const Entries* entries = find(name);
    return entries != nullptr && !entries->empty();
}

std::optional<std::string> ParsedArguments::value(std::string_view name) const {
    const Entries* entries = find(name);
    if (entries == nullptr || entries->empty()) return std::nullopt;
    return entries->front();
}

std::vector<std::string> ParsedArguments::values(std::string_view name) const {
    std::vector<std::string> result;
    if (const Entries* entries = find(name)) {
        for (const auto& entry : *entries) {
            if (entry) result.push_back(*entry);
        }
    }
    return result;
}

namespace {

// Length of the UTF-8 character whose first byte is `lead`, so that an unknown non-ASCII
// letter in a cluster is reported whole. Stray bytes count as one character.
std::size_t char_length(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

class Scanner {
public:
    Scanner(const OptionTable& table, const std::vector<std::string>& args)
        : m_table(table), m_args(args), m_parsed(table) {}

    Expected<ParsedArguments, ParseFailure> run() {
        while (m_next < m_args.size()) {
            const std::string& arg = m_args[m_next++];
            std::optional<ParseFailure> failure;
            if (arg == "--") {
                while (m_next < m_args.size()) m_parsed.add_free(m_args[m_next++]);
            } else if (arg.size() >= 2 && arg.compare(0, 2, "--") == 0) {
                failure = long_option(std::string_view(arg).substr(2));
            } else if (arg.size() >= 2 && arg[0] == '-') {
                failure = cluster(std::string_view(arg).substr(1));
            } else {
                m_parsed.add_free(arg);
            }
            if (failure) return unexpected(std::move(*failure));
        }
        for (std::size_t row = 0; row < m_table.size(); ++row) {
            if (m_table[row].occurrence == Occurrence::AtMostOnce && m_parsed.entries(row).size() > 1) {
                return unexpected(ParseFailure{ParseFailureKind::DuplicatedOption, m_table[row].display_name()});
            }
        }
        return std::move(m_parsed);
    }

private:
    // "--name" or "--name=value", without the dashes.
    std::optional<ParseFailure> long_option(std::string_view body) {
        const std::size_t eq = body.find('=');
        const std::string_view name = body.substr(0, eq);
        std::optional<std::string> inline_value;
        if (eq != std::string_view::npos) inline_value = std::string(body.substr(eq + 1));

        const std::size_t row = m_table.find(name);
        if (row == m_table.size()) return ParseFailure{ParseFailureKind::UnrecognizedOption, std::string(name)};
        const OptionSpec& option = m_table[row];
        if (option.argument == ArgumentKind::NoValue) {
            if (inline_value) return ParseFailure{ParseFailureKind::UnexpectedArgument, option.display_name()};
            m_parsed.add_entry(row, std::nullopt);
            return std::nullopt;
        }
        return take_value(row, std::move(inline_value));
    }

    // "-abc", without the dash: short options in order, the first valued one taking
    // whatever follows it.
    std::optional<ParseFailure> cluster(std::string_view letters) {
        std::size_t pos = 0;
        while (pos < letters.size()) {
            const std::size_t len = std::min(char_length(static_cast<unsigned char>(letters[pos])), letters.size() - pos);
            const std::string_view letter = letters.substr(pos, len);
            pos += len;
            const std::size_t row = len == 1 ? m_table.find(letter) : m_table.size();
            if (row == m_table.size()) return ParseFailure{ParseFailureKind::UnrecognizedOption, std::string(letter)};
            if (m_table[row].argument == ArgumentKind::NoValue) {
                m_parsed.add_entry(row, std::nullopt);
                continue;
            }
            std::optional<std::string> rest;
            if (pos < letters.size()) rest = std::string(letters.substr(pos));
            return take_value(row, std::move(rest));
        }
        return std::nullopt;
    }

    std::optional<ParseFailure> take_value(std::size_t row, std::optional<std::string> inline_value) {
        if (!inline_value) {
            if (m_next >= m_args.size()) {
                return ParseFailure{ParseFailureKind::MissingArgument, m_table[row].display_name()};
            }
            inline_value = m_args[m_next++];
        }
        m_parsed.add_entry(row, std::move(inline_value));
        return std::nullopt;
    }

    const OptionTable& m_table;
    const std::vector<std::string>& m_args;
    std::size_t m_next = 0;
    ParsedArguments m_parsed;
};

}  // namespace

Expected<ParsedArguments, ParseFailure> parse_arguments(const OptionTable& table, const std::vector<std::string>& args) {
    return Scanner(table, args).run();
}

}  // namespace quarv::detail
