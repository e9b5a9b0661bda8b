// ReadIniValue and RegistryRoot over the Win32 profile and registry functions.
#include "runtime/system/registry.h"

#include <cstring>
#include <string>

#include "runtime/core/errors.h"
#include "runtime/core/strings.h"

namespace {

// Registry reports go out as the non-fatal error 305 ("REGISTRY: " + detail).
constexpr std::int32_t RegistryError = 305;
// Both the INI read and the registry text read use buffers of this size.
constexpr DWORD ValueBufferSize = 256;

bool StartsWithRegistryPrefix(const StringValue &file) {
    return file.length >= 5 && _strnicmp(file.c_str(), "HKEY_", 5) == 0;
}

StringValue ReadIniEntry(const StringValue &file, const StringValue &section, const StringValue &key) {
    char buffer[ValueBufferSize] = {};
    const DWORD n =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, ValueBufferSize, file.c_str());
    return StringValue(buffer, 0, n < ValueBufferSize ? n : ValueBufferSize - 1);
}

void ReportOpenFailed(const StringValue &section) {
    const std::string detail = std::string("RegOpenKeyEx scheiterte f\xFC"
                                           "r \"") +
                               section.c_str() + "\".";
    RaiseNonFatal(RegistryError, detail.c_str());
}

void ReportValueMissing(const StringValue &section, const StringValue &key) {
    const std::string detail =
        std::string("\"") + section.c_str() + "\" nicht in \"" + key.c_str() + "\" gefunden.";
    RaiseNonFatal(RegistryError, detail.c_str());
}

// Reads the value into text; false when the query fails (missing, too long).
bool QueryValueText(HKEY key, const StringValue &name, bool numberMode, StringValue &text) {
    if (numberMode) {
        DWORD number = 0;
        DWORD size = sizeof number;
        if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE *>(&number), &size) !=
            ERROR_SUCCESS)
            return false;
        text = std::to_string(static_cast<std::int32_t>(number)).c_str();
        return true;
    }
    char buffer[ValueBufferSize] = {};
    DWORD size = ValueBufferSize;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size) !=
        ERROR_SUCCESS)
        return false;
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        // Stored text need not carry its terminator: stop at the data's end too.
        const std::size_t end = size < ValueBufferSize ? size : ValueBufferSize;
        text = StringValue(buffer, 0, static_cast<std::uint32_t>(strnlen(buffer, end)));
    } else {
        text = StringValue();
    }
    return true;
}

StringValue ReadRegistryValue(const StringValue &file, const StringValue &section, const StringValue &key) {
    const StringValue capitals = StrUpper(file);
    const bool numberMode = StrFind("_DW_", capitals) != 0;
    const HKEY root = RegistryRoot(StrReplaceAll(capitals, "_DW_", "_"));

    HKEY opened = nullptr;
    if (root == nullptr || RegOpenKeyExA(root, section.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        ReportOpenFailed(section);
        return StringValue();
    }
    StringValue text;
    const bool found = QueryValueText(opened, key, numberMode, text);
    // Closed before any report: a shown report may end the program.
    RegCloseKey(opened);
    if (!found) {
        ReportValueMissing(section, key);
        return StringValue();
    }
    return text;
}

} // namespace

HKEY RegistryRoot(const StringValue &text) {
    static const HKEY roots[] = {HKEY_CLASSES_ROOT,     HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE, HKEY_USERS,
                                 HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};
    if (text.length < 6 || _strnicmp(text.c_str(), "HKEY_", 5) != 0)
        return nullptr;
    const char digit = text.c_str()[5];
    if (digit < '0' || digit > '6')
        return nullptr;
    return roots[digit - '0'];
}

StringValue ReadIniValue(const StringValue &file, const StringValue &section, const StringValue &key) {
    if (StartsWithRegistryPrefix(file))
        return ReadRegistryValue(file, section, key);
    return ReadIniEntry(file, section, key);
}
