// Test helper: answers the message boxes (and other standard dialogs) that this
// process shows, from a helper thread, and records what each one showed, so
// that a test can check a box word for word and by its style.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

// One dialog as the watcher saw it before answering it.
struct SeenBox {
    std::string caption;
    std::string text;      // the first static text with content that is not the icon
    std::string icon;      // "information", "warning", "error", "question", "other" or "" (none)
    bool yesNo = false;    // Yes and No buttons, and no OK button
    bool okOnly = false;   // an OK button and no Yes, No or Cancel button
    bool owned = false;    // the dialog had an owner window
    std::string directory; // this process's current directory at that moment
};

// Watches from construction to destruction: every visible dialog (class
// #32770) of this process is recorded once and answered with the button
// answer when it has that button, else with OK. Construct and destroy on one
// thread; Boxes and WaitFor may be called from any thread.
class BoxWatch {
  public:
    explicit BoxWatch(int answer = IDOK) : answer_(answer), watcher_([this] { Watch(); }) {}
    ~BoxWatch() {
        stop_ = true;
        watcher_.join();
    }
    BoxWatch(const BoxWatch &) = delete;
    BoxWatch &operator=(const BoxWatch &) = delete;

    // The dialogs seen so far, in the order they appeared.
    std::vector<SeenBox> Boxes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_;
    }
    // Waits up to timeoutMs for at least n dialogs to have been seen.
    bool WaitFor(std::size_t n, int timeoutMs = 10000) {
        for (int waited = 0; waited < timeoutMs; waited += 10) {
            if (Boxes().size() >= n) {
                return true;
            }
            Sleep(10);
        }
        return false;
    }

  private:
    static std::string TextOf(HWND window) {
        char buffer[2048] = {};
        GetWindowTextA(window, buffer, sizeof buffer);
        return buffer;
    }
    static std::string IconName(HICON icon) {
        if (icon == nullptr) {
            return "";
        }
        if (icon == LoadIconA(nullptr, IDI_ASTERISK)) {
            return "information";
        }
        if (icon == LoadIconA(nullptr, IDI_EXCLAMATION)) {
            return "warning";
        }
        if (icon == LoadIconA(nullptr, IDI_HAND)) {
            return "error";
        }
        if (icon == LoadIconA(nullptr, IDI_QUESTION)) {
            return "question";
        }
        return "other";
    }
    static BOOL CALLBACK ReadChild(HWND child, LPARAM param) {
        auto *box = reinterpret_cast<SeenBox *>(param);
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0) {
            return TRUE;
        }
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            box->icon = IconName(reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)));
        } else if (box->text.empty()) {
            box->text = TextOf(child);
        }
        return TRUE;
    }
    static std::string CurrentDirectory() {
        char path[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, path);
        return path;
    }
    static BOOL CALLBACK Visit(HWND window, LPARAM param) {
        auto *self = reinterpret_cast<BoxWatch *>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char cls[32] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (pid != GetCurrentProcessId() || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window) ||
            self->answered_.count(window) != 0) {
            return TRUE;
        }
        SeenBox box;
        box.caption = TextOf(window);
        EnumChildWindows(window, ReadChild, reinterpret_cast<LPARAM>(&box));
        bool yes = GetDlgItem(window, IDYES) != nullptr;
        bool no = GetDlgItem(window, IDNO) != nullptr;
        bool ok = GetDlgItem(window, IDOK) != nullptr;
        box.yesNo = yes && no && !ok;
        box.okOnly = ok && !yes && !no && GetDlgItem(window, IDCANCEL) == nullptr;
        box.owned = GetWindow(window, GW_OWNER) != nullptr;
        box.directory = CurrentDirectory();
        {
            std::lock_guard<std::mutex> lock(self->mutex_);
            self->boxes_.push_back(box);
        }
        self->answered_.insert(window);
        int button = GetDlgItem(window, self->answer_) != nullptr ? self->answer_ : IDOK;
        PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(button), 0);
        return TRUE;
    }
    void Watch() {
        while (!stop_) {
            EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            Sleep(10);
        }
    }

    int answer_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> boxes_;
    std::set<HWND> answered_;
    std::thread watcher_;
};
