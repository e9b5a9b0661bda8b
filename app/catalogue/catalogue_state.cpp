#include "app/catalogue/catalogue_state.h"

#include "runtime/core/memory_areas.h"

StringValue BrowserFolder;
StringValue PluginFolder;
StringValue StagingFolder;
StringValue TempFolder;
std::int32_t RenameMethod = 0;
std::uintptr_t BrowserKey = 0;

char *SubkeyArea = nullptr;
char *WorkArea = nullptr;
char *PointArea = nullptr;
char *VolumeArea = nullptr;

StringValue PrefixLetter;
StringValue StartDirectory;
StringValue IconExtensions;

void AllocateAreas() {
    DimArea(&SubkeyArea, SubkeyAreaSize);
    DimArea(&WorkArea, WorkAreaSize);
    DimArea(&PointArea, PointAreaSize);
    DimArea(&VolumeArea, VolumeAreaSize);
}

void ReleaseAreas() {
    DisposeArea(&SubkeyArea);
    DisposeArea(&WorkArea);
    DisposeArea(&PointArea);
    DisposeArea(&VolumeArea);
}
