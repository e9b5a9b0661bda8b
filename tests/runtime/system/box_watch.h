// Test helper: answers the message boxes that this process shows and records
// what each one said, so that runtime error boxes can be checked word for word.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

struct SeenBox {
    std::string caption;
    std::string text;
};

// Watches on a helper thread from construction to destruction; every box of
// this process is recorded once and answered with the given button id.
class BoxWatch {
  public:
    explicit BoxWatch(int answer = IDOK) : answer_(answer), watcher_([this] { Watch(); }) {}
    ~BoxWatch() {
        stop_ = true;
        watcher_.join();
    }
    BoxWatch(const BoxWatch &) = delete;
    BoxWatch &operator=(const BoxWatch &) = delete;

    std::vector<SeenBox> Boxes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_;
    }
    // Waits up to timeoutMs for at least n boxes to have been seen.
    bool WaitFor(std::size_t n, int timeoutMs = 10000) {
        for (int waited = 0; waited < timeoutMs; waited += 20) {
            if (Boxes().size() >= n)
                return true;
            Sleep(20);
        }
        return false;
    }

  private:
    static std::string TextOf(HWND window) {
        char buffer[1024] = {};
        GetWindowTextA(window, buffer, sizeof buffer);
        return buffer;
    }
    static BOOL CALLBACK FindText(HWND child, LPARAM param) {
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        std::string text = TextOf(child);
        if (lstrcmpiA(cls, "Static") == 0 && !text.empty()) {
            *reinterpret_cast<std::string *>(param) = text;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK Visit(HWND window, LPARAM param) {
        auto *self = reinterpret_cast<BoxWatch *>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char cls[32] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (pid != GetCurrentProcessId() || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window))
            return TRUE;
        if (self->answered_.count(window) != 0)
            return TRUE;
        SeenBox box{TextOf(window), ""};
        EnumChildWindows(window, FindText, reinterpret_cast<LPARAM>(&box.text));
        {
            std::lock_guard<std::mutex> lock(self->mutex_);
            self->boxes_.push_back(box);
        }
        self->answered_.insert(window);
        PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(self->answer_), 0);
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
    std::vector<SeenBox> boxes_;
    std::set<HWND> answered_;
    std::thread watcher_;
};
