#include "platform/ui/Animation.h"

#include <QtGlobal>

namespace platform::ui {

static bool& enabledFlag()
{
    // PINTARO_NO_ANIMATIONS=1 lets a whole test run or screenshot run skip them.
    static bool enabled = qEnvironmentVariableIntValue("PINTARO_NO_ANIMATIONS") == 0;
    return enabled;
}

bool animationsEnabled()
{
    return enabledFlag();
}

void setAnimationsEnabled(bool enabled)
{
    enabledFlag() = enabled;
}

}
