// The one name order on any three names: antisymmetric, transitive, and zero only for equal names,
// so std::sort is always handed a valid order and a list never depends on the disk's listing order.
#include "FuzzSupport.h"

#include "vocabulary/NaturalOrder.h"

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString a = FuzzSupport::text(input, 24);
    const QString b = FuzzSupport::text(input, 24);
    const QString c = FuzzSupport::text(input, 24);
    const int ab = sign(NaturalOrder::compare(a, b));
    const int bc = sign(NaturalOrder::compare(b, c));
    const int ac = sign(NaturalOrder::compare(a, c));
    KELVO_FUZZ_CHECK(ab == -sign(NaturalOrder::compare(b, a)));
    KELVO_FUZZ_CHECK((ab == 0) == (a == b));
    if (ab < 0 && bc < 0)
        KELVO_FUZZ_CHECK(ac < 0);
    if (ab > 0 && bc > 0)
        KELVO_FUZZ_CHECK(ac > 0);
    if (ab == 0)
        KELVO_FUZZ_CHECK(ac == bc);
    return 0;
}
