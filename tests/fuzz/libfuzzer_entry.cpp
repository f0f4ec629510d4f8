// The libFuzzer entry point; QUARV_FUZZ_TARGET names the target function it calls.
#include "fuzz_targets.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return quarv_fuzz::QUARV_FUZZ_TARGET(data, size);
}
