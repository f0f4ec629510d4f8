#include <string_view>
#include <vector>

#include "fuzz_targets.hpp"
#include "term/parm.hpp"

namespace quarv_fuzz {

int terminfo_expand(const std::uint8_t* data, std::size_t size) {
    using namespace quarv::detail::term;
    if (size == 0) return 0;
    std::size_t count = data[0] % 10;
    std::size_t pos = 1;
    std::vector<Param> params;
    while (params.size() < count && pos + 4 <= size) {
        const std::uint32_t raw = data[pos] | (data[pos + 1] << 8) | (data[pos + 2] << 16) |
                                  (static_cast<std::uint32_t>(data[pos + 3]) << 24);
        params.push_back(static_cast<Param>(raw));
        pos += 4;
    }
    const std::string_view cap(reinterpret_cast<const char*>(data) + pos, size - pos);
    Variables vars;
    (void)expand(cap, params, vars);
    (void)expand(cap, params, vars);  // again, with the variables the first run left behind
    return 0;
}

}  // namespace quarv_fuzz
