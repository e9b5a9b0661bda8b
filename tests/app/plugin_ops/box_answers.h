// Test helper: answers this process's message boxes and records, for each,
// its caption, text, buttons and icon, so that a box's style can be checked
// as well as its words.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

struct AnsweredBox {
    std::string caption;
    std::string text;
    bool yesNo = false; // Yes and No buttons, and no OK button
    bool okOnly = false;
    std::string icon; // "question", "exclamation", "information", "hand", "none" or "other"
};

// Watches on a helper thread from construction to destruction. Each box is
// answered with the button answer when it has one, else with OK.
class BoxAnswers {
  public:
    explicit BoxAnswers(int answer = IDOK) : answer_(answer), watcher_([this] { Watch(); }) {}
    ~BoxAnswers() {
        stop_ = true;
        watcher_.join();
    }
    BoxAnswers(const BoxAnswers &) = delete;
    BoxAnswers &operator=(const BoxAnswers &) = delete;

    std::vector<AnsweredBox> Boxes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_;
    }

  private:
    struct Found {
        std::string text;
        HICON icon = nullptr;
    };
    static std::string TextOf(HWND window) {
        char buffer[2048] = {};
        GetWindowTextA(window, buffer, sizeof buffer);
        return buffer;
    }
    static BOOL CALLBACK Child(HWND child, LPARAM param) {
        auto *found = reinterpret_cast<Found *>(param);
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0) {
            return TRUE;
        }
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            found->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        } else if (found->text.empty()) {
            found->text = TextOf(child);
        }
        return TRUE;
    }
    static std::string IconName(HICON icon) {
        if (icon == nullptr)
            return "none";
        if (icon == LoadIconA(nullptr, IDI_QUESTION))
            return "question";
        if (icon == LoadIconA(nullptr, IDI_EXCLAMATION))
            return "exclamation";
        if (icon == LoadIconA(nullptr, IDI_ASTERISK))
            return "information";
        if (icon == LoadIconA(nullptr, IDI_HAND))
            return "hand";
        return "other";
    }
    static BOOL CALLBACK Visit(HWND window, LPARAM param) {
        auto *self = reinterpret_cast<BoxAnswers *>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char cls[32] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (pid != GetCurrentProcessId() || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window))
            return TRUE;
        if (self->answered_.count(window) != 0)
            return TRUE;
        Found found;
        EnumChildWindows(window, Child, reinterpret_cast<LPARAM>(&found));
        AnsweredBox box;
        box.caption = TextOf(window);
        box.text = found.text;
        bool yes = GetDlgItem(window, IDYES) != nullptr;
        bool no = GetDlgItem(window, IDNO) != nullptr;
        bool ok = GetDlgItem(window, IDOK) != nullptr;
        box.yesNo = yes && no && !ok;
        box.okOnly = ok && !yes && !no && GetDlgItem(window, IDCANCEL) == nullptr;
        box.icon = IconName(found.icon);
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
            Sleep(20);
        }
    }

    int answer_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<AnsweredBox> boxes_;
    std::set<HWND> answered_;
    std::thread watcher_;
};
