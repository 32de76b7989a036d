#include "common/status_text.h"

#include "common/number_text.h"

StatusText StatusText::counted(const char* prefix, std::int64_t count, const char* suffix)
{
    std::string number;
    appendInteger(number, count);
    StatusText text;
    text.fixed(prefix).literal(std::move(number)).fixed(suffix);
    return text;
}
