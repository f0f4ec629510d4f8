// The terminfo parameter language: one table of expansions, one of failures.
#include <quarv/quarv.hpp>

#include <string>
#include <vector>

#include "term/parm.hpp"

namespace term_parm {

using quarv::detail::term::expand;
using quarv::detail::term::Flags;
using quarv::detail::term::FormatOp;
using quarv::detail::term::Param;
using quarv::detail::term::Variables;

struct Case {
    std::string cap;
    std::vector<Param> params;
    std::string expected;  // the output, or the error message when `fails`
    bool fails = false;
};

// Runs `cap` with fresh variables and renders the outcome as "ok:<bytes>" or "err:<msg>".
std::string run(const std::string& cap, const std::vector<Param>& params) {
    Variables vars;
    auto result = expand(cap, params, vars);
    return result ? "ok:" + *result : "err:" + result.error();
}

void check_all(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        quarv::assert_eq(c.cap + " => " + run(c.cap, c.params),
                         c.cap + " => " + (c.fails ? "err:" : "ok:") + c.expected);
    }
}

QUARV_TEST(expands_capabilities) {
    check_all({
        {"\x1b[3%p1%dm", {2}, "\x1b[32m"},
        {"%p1%p2%+%d", {3, 4}, "7"},
        {"%p1%p2%-%d", {3, 4}, "-1"},
        {"%p1%p2%*%d", {-6, 7}, "-42"},
        {"%p1%{10}%/%d", {25}, "2"},
        {"%p1%{10}%m%d", {-25}, "-5"},
        {"%p1%p2%&%d%p1%p2%|%d%p1%p2%^%d", {12, 10}, "8146"},
        {"%p1%p2%=%d%p1%p2%<%d%p1%p2%>%d", {-1, 2}, "010"},
        {"%?%p1%tY%eN%;", {1}, "Y"},
        {"%?%p1%tY%eN%;", {0}, "N"},
        {"%?%p1%tY%eN%;", {-3}, "Y"},
        {"%p1%p2%A%d", {-1, 5}, "0"},
        {"%p1%p2%A%d", {1, 5}, "1"},
        {"%p1%p2%O%d", {0, -5}, "0"},
        {"%p1%!%d%p2%!%d%p3%~%d", {0, 4, 0}, "10-1"},
        {"%?%p1%t%?%p2%tA%eB%;%eC%;", {1, 1}, "A"},
        {"%?%p1%t%?%p2%tA%eB%;%eC%;", {1, 0}, "B"},
        {"%?%p1%t%?%p2%tA%eB%;%eC%;", {0, 1}, "C"},
        {"%?%p1%tA%e%?%p2%tB%eC%;%;D", {1, 0}, "AD"},
        {"%p1%c", {0}, "\x80"},
        {"%p1%c", {321}, "A"},
        {"%'a'%d", {}, "97"},
        {"%{2147483647}%d", {}, "2147483647"},
        {"%i%p1%d%p2%d", {0, 9}, "110"},
        {"%p1%Pz%gz%d", {7}, "7"},
        {"%p1%PA%gA%gB%+%d", {7}, "7"},
        {"100%%", {}, "100%"},
        {"%p1%d%p2%d%p9%d", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "129"},
        {"x%p", {}, "x"},
        {"x%{12", {}, "x"},
        {"%?%p1%t%l%e%p2%d%;", {0, 5}, "5"},
        // division corner cases: defined results, never a trap
        {"%p1%{0}%/%d", {7}, "0"},
        {"%p1%{0}%m%d", {7}, "0"},
        {"%p1%p2%/%d", {INT32_MIN, -1}, "-2147483648"},
        {"%p1%p2%m%d", {INT32_MIN, -1}, "0"},
        {"%p1%p2%+%d", {INT32_MAX, 1}, "-2147483648"},
    });
}

QUARV_TEST(formats_numbers) {
    check_all({
        {"%p1%5d", {42}, "   42"},
        {"%p1%:-5d|", {42}, "42   |"},
        {"%p1%.3d", {42}, "042"},
        {"%p1%.3d", {-5}, "-005"},
        {"%p1%:+.3d", {5}, "+05"},
        {"%p1%:+d", {-5}, "-5"},
        {"%p1%#x", {255}, "0xff"},
        {"%p1%#X", {255}, "0XFF"},
        {"%p1%#.4x", {255}, "0x00ff"},
        {"%p1%#x", {0}, "0"},
        {"%p1%#o", {8}, "010"},
        {"%p1%#.4o", {8}, "0010"},
        {"%p1%o", {-1}, "37777777777"},
        {"%p1%x", {-1}, "ffffffff"},
        {"%p1%X", {-1}, "FFFFFFFF"},
        {"%p1% d", {5}, " 5"},
        {"%p1% d", {-5}, "-5"},
        {"%p1%:#-+ 8x|", {26}, "0x1a    |"},
        {"%p1%d", {INT32_MIN}, "-2147483648"},
        {"%p1%65535d", {1}, std::string(65534, ' ') + "1"},
    });
}

QUARV_TEST(reports_each_failure) {
    check_all({
        {"%d", {}, "stack is empty", true},
        {"%p1%+", {1}, "stack is empty", true},
        {"%c", {}, "stack is empty", true},
        {"%t", {}, "stack is empty", true},
        {"%Pz", {}, "stack is empty", true},
        {"%l", {}, "stack is empty", true},
        {"%p1%l", {}, "a non-str was used with %l", true},
        {"%z", {}, "unrecognized format option z", true},
        {"%\xe9", {}, "unrecognized format option \xc3\xa9", true},
        {"%p0", {}, "bad param number", true},
        {"%px", {}, "bad param number", true},
        {"%p1%P1", {1}, "bad variable name in %P", true},
        {"%g!", {}, "bad variable name in %g", true},
        {"%'ab", {}, "malformed character constant", true},
        {"%{2147483648}", {}, "int constant too large", true},
        {"%{99999999999}", {}, "int constant too large", true},
        {"%{12a}", {}, "bad int constant", true},
        {"%p1%:5.2.3d", {1}, "invalid format specifier", true},
        {"%p1%5#d", {1}, "invalid format specifier", true},
        {"%p1%.3-d", {1}, "invalid format specifier", true},
        {"%p1%:5q", {1}, "invalid format specifier", true},
        {"%p1%s", {1}, "non-number on stack with %s", true},
        {"%p1%:s", {1}, "non-number on stack with %s", true},
        {"%p1%65536d", {1}, "format width overflow", true},
        {"%p1%99999999999999999999999d", {1}, "format width overflow", true},
        {"%p1%.65536d", {1}, "format precision overflow", true},
        {"%p1%.65535d", {-1}, "format precision overflow", true},
        {"ok%d", {}, "stack is empty", true},
    });
}

QUARV_TEST(skipped_branches_are_not_interpreted) {
    check_all({
        {"%?%p1%t%z%{99999999999}%e%p2%d%;", {0, 4}, "4"},
        {"%p1%?%tA%e%z%;", {1}, "A"},
    });
}

QUARV_TEST(variables_persist_in_the_callers_set_and_params_are_not_changed) {
    Variables vars;
    const std::vector<Param> params{3, 4};
    auto first = expand("%p1%PA%p2%Pb%i", params, vars);
    quarv::assert_true(first.has_value());
    quarv::assert_eq(vars.static_vars[0], 3);
    quarv::assert_eq(vars.dynamic_vars[1], 4);
    auto second = expand("%gA%gb%+%d", {}, vars);
    quarv::assert_eq(*second, std::string("7"));
    quarv::assert_eq(params, std::vector<Param>{3, 4});
}

QUARV_TEST(format_refuses_oversized_fields_passed_directly) {
    Flags wide;
    wide.width = 70000;
    quarv::assert_eq(quarv::detail::term::format(1, FormatOp::Dec, wide).error(), std::string("format width overflow"));
    Flags precise;
    precise.precision = std::size_t(-1);
    quarv::assert_eq(quarv::detail::term::format(1, FormatOp::HexLower, precise).error(),
                     std::string("format precision overflow"));
}

}  // namespace term_parm
