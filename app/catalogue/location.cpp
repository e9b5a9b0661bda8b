#include "app/catalogue/location.h"

#include "runtime/core/number_format.h"
#include "runtime/core/strings.h"

StringValue FatalTitle(std::int32_t code) {
    StringValue digits = IntegerToText(code);
    StringValue title = StrConcat("Fatal Error (#", StrRepeat("0", 4 - StrLength(digits)));
    return StrConcat(StrConcat(title, digits), ")");
}

StringValue FatalText(std::int32_t code) {
    switch (code) {
    case 1:
        return "Can't find ''searchplugins'' folder!";
    case 2:
        return "Failed to create temporary folder!";
    default:
        return StringValue();
    }
}

bool UsesRenameMethod(const StringValue &fileSystemName) {
    return StrFind("FAT", fileSystemName) < 1;
}

StringValue BrowserFolderFromCommand(const StringValue &command) {
    return StrField(StrField(StrLower(command), 1, StrFromByte('"')), 1, "firefox.exe");
}

StringValue BrowserFolderFromInstallDirectory(const StringValue &value) {
    StringValue folder = StrLower(value);
    if (StrLength(folder) > 0 && StrRight(folder, 1).data[0] != '\\') {
        folder = StrConcat(folder, "\\");
    }
    return folder;
}
