#pragma once
// A window that is loaded on use: the first access creates it, hidden, with its
// initial layout; unloading destroys it, and the next access loads it afresh.

#include <functional>
#include <memory>

namespace ctl {

template <class Window>
class LoadOnUse {
public:
    using Factory = std::function<std::unique_ptr<Window>()>;
    explicit LoadOnUse(Factory factory) : factory_(std::move(factory)) {}

    Window& operator*() { return get(); }
    Window* operator->() { return &get(); }
    Window& get() {
        if (!window_)
            window_ = factory_();
        return *window_;
    }

    bool isLoaded() const { return window_ != nullptr; }
    void unload() { window_.reset(); }

private:
    Factory factory_;
    std::unique_ptr<Window> window_;
};

}  // namespace ctl
