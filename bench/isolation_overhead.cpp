// 200 empty tests, for measuring what running each test in a child process costs: run it
// with and without --force-run-in-process (bench/isolation_overhead.sh does both).
#include <quarv/quarv.hpp>

#define QUARV_BENCH_EMPTY(id) \
    QUARV_TEST(id) {}
#define QUARV_BENCH_EMPTY10(p)                                                                             \
    QUARV_BENCH_EMPTY(p##0) QUARV_BENCH_EMPTY(p##1) QUARV_BENCH_EMPTY(p##2) QUARV_BENCH_EMPTY(p##3)        \
    QUARV_BENCH_EMPTY(p##4) QUARV_BENCH_EMPTY(p##5) QUARV_BENCH_EMPTY(p##6) QUARV_BENCH_EMPTY(p##7)        \
    QUARV_BENCH_EMPTY(p##8) QUARV_BENCH_EMPTY(p##9)
#define QUARV_BENCH_EMPTY100(p)                                                                            \
    QUARV_BENCH_EMPTY10(p##0) QUARV_BENCH_EMPTY10(p##1) QUARV_BENCH_EMPTY10(p##2) QUARV_BENCH_EMPTY10(p##3) \
    QUARV_BENCH_EMPTY10(p##4) QUARV_BENCH_EMPTY10(p##5) QUARV_BENCH_EMPTY10(p##6) QUARV_BENCH_EMPTY10(p##7) \
    QUARV_BENCH_EMPTY10(p##8) QUARV_BENCH_EMPTY10(p##9)

namespace overhead {
QUARV_BENCH_EMPTY100(a)
QUARV_BENCH_EMPTY100(b)
}  // namespace overhead
