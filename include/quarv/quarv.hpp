// The quarv test and benchmark runner: include this one header in test sources.
//
//   #include <quarv/quarv.hpp>
//   QUARV_TEST(adds) { quarv::assert_eq(1 + 1, 2); }
#pragma once

#include "quarv/assert.hpp"
#include "quarv/bencher.hpp"
#include "quarv/capture.hpp"
#include "quarv/registry.hpp"
#include "quarv/result.hpp"
#include "quarv/runner.hpp"
#include "quarv/stats.hpp"
#include "quarv/test_desc.hpp"
