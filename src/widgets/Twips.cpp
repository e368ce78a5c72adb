#include "widgets/Twips.h"

static_assert(twipsToPixels(11280) == 752);
static_assert(twipsToPixels(7) == 0 && twipsToPixels(8) == 1 && twipsToPixels(-8) == -1);
