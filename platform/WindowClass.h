#pragma once
#include <windows.h>

#include <string>

namespace gui {

// A registered window class, unregistered when its owner goes. Every window made from it must
// be destroyed by then.
class WindowClass {
public:
    WindowClass() = default;
    ~WindowClass() {
        if (registered_) UnregisterClassW(name_.c_str(), instance_);
    }
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

    bool Register(const WNDCLASSEXW& description) {
        registered_ = RegisterClassExW(&description) != 0;
        if (registered_) {
            name_ = description.lpszClassName;
            instance_ = description.hInstance;
        }
        return registered_;
    }
    const wchar_t* Name() const { return name_.c_str(); }

private:
    bool registered_ = false;
    std::wstring name_;
    HINSTANCE instance_ = nullptr;
};

}  // namespace gui
