// libFuzzer target for the scaling equation reader. Whatever the text, the
// reader must answer without a fault, and a linear answer must give a finite
// factor other than 0 and a finite offset. The first byte picks the variable's
// name, so that names of other lengths and cases are read too.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/linear_equation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static constexpr std::string_view kVariables[] = {"X", "x", "X00", "value"};
    if (size == 0)
        return 0;
    const std::string_view variable = kVariables[data[0] % std::size(kVariables)];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto e = linearEquation(text, variable);
    if (e && (!std::isfinite(e->a) || e->a == 0.0 || !std::isfinite(e->b) || !std::isfinite(e->b / e->a)))
        __builtin_trap();
    return 0;
}
