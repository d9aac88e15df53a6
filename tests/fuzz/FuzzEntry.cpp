// libFuzzer's entry for one target; VESK_FUZZ_TARGET names the function of FuzzTargets.h.

#include "tests/fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    return VESK_FUZZ_TARGET(data, size);
}
