#include "app/catalogue/main_lists.h"

HWND NameList = nullptr;
HWND MainList = nullptr;
std::int32_t Selection = -1;
std::int32_t EnterLatch = 0;
void (*CatalogueLoaded)() = nullptr;
