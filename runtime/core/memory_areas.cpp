// The memory-area registry: variable address -> block, block -> capacity.
#include "runtime/core/memory_areas.h"

#include <map>

namespace {

struct AreaRegistry {
    std::map<std::uintptr_t, char *> blockOfVariable;
    std::map<std::uintptr_t, std::int32_t> sizeOfBlock;
};

AreaRegistry &Registry() {
    static AreaRegistry registry;
    return registry;
}

std::uintptr_t Key(const void *p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

// Frees the block recorded for the variable and forgets its size.
void FreeBlockOf(char **var) {
    AreaRegistry &r = Registry();
    auto it = r.blockOfVariable.find(Key(var));
    if (it == r.blockOfVariable.end() || !it->second)
        return;
    r.sizeOfBlock.erase(Key(it->second));
    delete[] it->second;
    it->second = nullptr;
}

} // namespace

void DimArea(char **var, std::int32_t n) {
    if (!var)
        return;
    const std::int32_t size = n > 0 ? n : 0;
    char *block = new char[std::size_t(size) + (size == 0 ? 1 : 0)]();
    FreeBlockOf(var);
    AreaRegistry &r = Registry();
    r.blockOfVariable[Key(var)] = block;
    r.sizeOfBlock[Key(block)] = size;
    *var = block;
}

void DisposeArea(char **var) {
    if (!var)
        return;
    FreeBlockOf(var);
    *var = nullptr;
}

std::int32_t AreaSize(const void *block) {
    const AreaRegistry &r = Registry();
    auto it = r.sizeOfBlock.find(Key(block));
    return it == r.sizeOfBlock.end() ? 0 : it->second;
}

void ClearAreaRegistry() {
    AreaRegistry &r = Registry();
    r.blockOfVariable.clear();
    r.sizeOfBlock.clear();
}
