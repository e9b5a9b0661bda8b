#include "runtime/core/command_line.h"

#include <cstring>

std::vector<StringValue> ParameterList;
std::int32_t ParameterCount = -1;

void SplitCommandLine(char *text, std::vector<StringValue> &list, std::int32_t &count) {
    if (text == nullptr) {
        return;
    }
    char *pos = text;
    while (*pos != '\0') {
        while (*pos == ' ') {
            ++pos;
        }
        char *token;
        if (*pos == '"') {
            ++pos;
            token = pos;
            while (*pos != '\0' && *pos != '"') {
                ++pos;
            }
            if (*pos == '"') {
                *pos++ = '\0';
            }
        } else if (*pos == '\0') {
            break; // trailing blanks make no token
        } else {
            token = pos;
            while (*pos != '\0' && *pos != ' ') {
                ++pos;
            }
            if (*pos == ' ') {
                *pos++ = '\0';
            }
        }
        list.emplace_back(token);
        ++count;
    }
}

void LoadParameterList(const char *commandLine) {
    ClearParameterList();
    // Split a copy: the process's own command-line text stays intact for
    // anybody else who reads it later.
    std::vector<char> copy;
    if (commandLine != nullptr) {
        copy.assign(commandLine, commandLine + std::strlen(commandLine) + 1);
    }
    SplitCommandLine(copy.empty() ? nullptr : copy.data(), ParameterList, ParameterCount);
}

void ClearParameterList() {
    ParameterList.clear();
    ParameterCount = -1;
}
