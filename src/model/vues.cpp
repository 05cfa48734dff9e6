#include "vues.h"

Vues& vues()
{
    static Vues v;
    return v;
}
