// Window-services start-up and teardown, and the main window's settings.
#include "runtime/window/window_services.h"

#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/settings.h"
#include "runtime/core/window_settings.h"
#include "runtime/system/system_libraries.h"
#include "runtime/window/control_keywords.h"
#include "runtime/window/window_classes.h"

namespace {

// The option bits SetWindowStyle keeps in WindowStyleSetting.
constexpr LONG kOptionBits = WindowStyleNoMenu | WindowStyleScreenBackground | WindowStyleDialog;

bool ProgramCarriesManifest() {
    // RT_MANIFEST (24), id 1: the manifest of an executable.
    return FindResourceA(Instance, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) != nullptr;
}

} // namespace

void StartWindowServices() {
    StoreMainWindowTitle(InitialMainTitle);
    StoreMainWindowFrame(InitialMainStyle, InitialMainExStyle);
    InterlockedExchange(&WindowStyleSetting, 0);
    if (!RegisterRuntimeClasses())
        ExitProcess(1);

    if (!StartInputEvents())
        ExitProcess(1);
    InterlockedExchange(&ManifestPresent, ProgramCarriesManifest() ? 1 : 0);
    // The common-control classes are registered when a control first needs
    // them (StartCommonControls), except in a program with a manifest, where
    // the themed controls are to be in place before the first window.
    if (ManifestPresent != 0)
        StartCommonControls();

    __atomic_exchange_n(&MessageMode, 1, __ATOMIC_SEQ_CST);
    __atomic_exchange_n(&AutoPaint, 2, __ATOMIC_SEQ_CST);
    SqlWidth = 50;
    PdcHandle = 0;
}

void EndWindowServices() {
    EndInputEvents();
    UnregisterRuntimeClasses();
}

void SetWindowTitle(const StringValue &title) {
    StoreMainWindowTitle(title.c_str());
    if (MainWindow)
        SetWindowTextA(MainWindow, MainWindowTitle());
}

void SetWindowStyle(std::uint32_t bits) {
    FrameChoice choice = FrameStyleForBits(bits, static_cast<std::uint32_t>(MainWindowExStyle()));
    StoreMainWindowFrame(static_cast<LONG>(choice.style), static_cast<LONG>(choice.exStyle));
    InterlockedExchange(&WindowStyleSetting, static_cast<LONG>(bits) & kOptionBits);
}
