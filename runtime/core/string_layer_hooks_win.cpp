// The string layer's start-up and teardown steps as the process frame calls them.
#include "runtime/core/memory_areas.h"
#include "runtime/core/number_format.h"
#include "runtime/core/settings.h"
#include "runtime/core/spine_hooks.h"

void StartNumberDefaults() {
    ResetNumberDefaults();
    SetTrueColor(0);
}

void StartLocaleLayer() {
    StartNumberFormat();
}

void EndLocaleLayer() {
    EndNumberFormat();
}

void ClearMemoryAreas() {
    ClearAreaRegistry();
}
