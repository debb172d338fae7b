#include "PorterText.h"

#include <cstdio>

std::string PorterProgressText(int progress, int maximum)
{
    if (progress == -1)
        return "Done.";
    const long long percent = progress == 0 || maximum == 0 ? 0 : progress * 100LL / maximum;
    char text[80];
    std::snprintf(text, sizeof text, "Getting Document: %lld%% of %dK", percent, maximum / 1024);
    return text;
}
