// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A window that is loaded on use: the first access creates it, hidden, with its initial layout.

#include <functional>
#include <memory>

namespace ctl {

template <class Window>
class LoadOnUse {
public:
    using Factory = std::function<std::unique_ptr<Window>()>;
    explicit LoadOnUse(Factory factory) : factory_(std::move(factory)) {}

    Window& get() {
        if (!window_)
            window_ = factory_();
        return *window_;
    }

private:
    Factory factory_;
    std::unique_ptr<Window> window_;
};

}  // namespace ctl
