#include "textconv/FloatEnvironment.h"

#include <cfenv>

namespace vesk {

void SetStartupFloatEnvironment() { ResetFloatEnvironment(); }

void ResetFloatEnvironment() {
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace vesk
