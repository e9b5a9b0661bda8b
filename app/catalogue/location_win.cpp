// Browser location through the registry, the document-type command, the
// Program Files folder and the folder chooser; the fatal stop and the end.
#include <windows.h>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/location.h"
#include "runtime/core/errors.h"
#include "runtime/core/frame.h"
#include "runtime/core/memory_areas.h"
#include "runtime/core/settings.h"
#include "runtime/core/strings.h"
#include "runtime/system/files.h"
#include "runtime/system/library_call.h"
#include "runtime/system/registry.h"
#include "runtime/window/window_ops.h"

namespace {

constexpr char InstallKey[] = "SOFTWARE\\Mozilla\\Mozilla Firefox";
constexpr std::int32_t ErrorNoMoreItems = 259;
constexpr std::int32_t ProgramFilesFolder = 38;

std::uintptr_t Word(const void *p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

// The first source: the subkey enumerated last under the installation key,
// and its "Install Directory" value. False when no subkey was delivered.
bool FolderFromInstallKey(StringValue &folder) {
    CallLibrary("advapi32", "RegOpenKeyExA",
                {reinterpret_cast<std::uintptr_t>(HKEY_LOCAL_MACHINE), Word(InstallKey), 0, 0xF003F,
                 Word(&BrowserKey)});
    std::int32_t result = 0;
    for (std::uintptr_t index = 0; result == 0; ++index) {
        result = static_cast<std::int32_t>(
            CallLibrary("advapi32", "RegEnumKeyA", {BrowserKey, index, Word(SubkeyArea), SubkeyAreaSize}));
    }
    StringValue name(SubkeyArea);
    if (result != ErrorNoMoreItems || StrLength(StrTrim(name)) == 0) {
        return false;
    }
    StringValue section = StrConcat(StrConcat(StrConcat(InstallKey, "\\"), name), "\\Main\\");
    folder = BrowserFolderFromInstallDirectory(ReadIniValue("HKEY_2", section, "Install Directory"));
    return true;
}

// The second and third sources, and the folder chooser, all silenced.
StringValue FolderFromCommandOrProgramFiles() {
    SetErrorLevel(-1);
    StringValue command =
        ReadIniValue("HKEY_2", "Software\\CLASSES\\FirefoxHTML\\shell\\open\\command\\", "");
    StringValue folder = BrowserFolderFromCommand(command);
    if (TakeErrorKind() != 0) {
        StringValue programFiles = SpecialFolderPath(ProgramFilesFolder);
        if (FileSize(StrConcat(programFiles, "\\Mozilla Firefox\\firefox.exe")) < 1) {
            ChangeDir(programFiles);
            IoResult();
            folder = BrowseForFolder(
                "Can't find ''Mozilla Firefox'' on your PC!\rPlease select the folder manually:");
        } else {
            folder = StrConcat(programFiles, "\\Mozilla Firefox\\");
        }
    }
    SetErrorLevel(0);
    return folder;
}

} // namespace

void LocateBrowser() {
    StringValue folder;
    if (!FolderFromInstallKey(folder)) {
        folder = FolderFromCommandOrProgramFiles();
    }
    if (StrFind(":\\", folder) == 0) {
        FatalStop(1);
    }
    BrowserFolder = folder;

    // The writing method follows the file system of the folder's volume.
    StringValue root = StrLeft(BrowserFolder, 3);
    char *fileSystemName = VolumeArea + 150;
    CallLibrary(
        "kernel32", "GetVolumeInformationA",
        {Word(root.data), Word(VolumeArea), 100, Word(VolumeArea + 100), 0, 0, Word(fileSystemName), 100});
    if (UsesRenameMethod(StringValue(fileSystemName))) {
        RenameMethod = 1;
    }

    PluginFolder = StrConcat(BrowserFolder, "searchplugins");
    StagingFolder = StrConcat(BrowserFolder, StagingName);
    TempFolder = StrConcat(BrowserFolder, "searchplugins\\temp");
}

void FatalStop(std::int32_t code) {
    ShowMessageBox(FatalText(code), FatalTitle(code), MB_ICONERROR);
    EndProgram();
}

StringValue SpecialFolderPath(std::int32_t csidl) {
    // The shell writes up to MAX_PATH bytes, the terminating zero included.
    char *area = nullptr;
    DimArea(&area, MAX_PATH);
    std::uintptr_t itemList = 0;
    StringValue path;
    std::uintptr_t foreground = static_cast<std::uintptr_t>(CallLibrary("user32", "GetForegroundWindow"));
    if (CallLibrary("shell32", "SHGetSpecialFolderLocation",
                    {foreground, static_cast<std::uintptr_t>(csidl), Word(&itemList)}) == 0) {
        if (CallLibrary("shell32", "SHGetPathFromIDListA", {itemList, Word(area)}) != 0) {
            path = StringValue(area);
        }
    }
    CallLibrary("ole32", "CoTaskMemFree", {itemList});
    DisposeArea(&area);
    return path;
}

void QuitTool() {
    ReleaseAreas();
    CallLibrary("advapi32", "RegCloseKey", {BrowserKey});
    EndProgram();
}
