#include "etat.h"

#include <cmath>

std::int16_t twips16(double twips)
{
    if (std::isnan(twips)) return 0;
    const double r = std::round(twips);
    if (r > 32767.0) return 32767;
    if (r < -32768.0) return -32768;
    return static_cast<std::int16_t>(r);
}
