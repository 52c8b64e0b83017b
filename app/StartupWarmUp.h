#pragma once
// Work done on a second thread while the program starts: loading the display libraries,
// reading the font configuration and the bitmaps the windows are built from while the
// application connects to the display, then the icon pictures while the windows are built.
// Create it before the application object.

#include <future>
#include <thread>

class StartupWarmUp {
public:
    StartupWarmUp();
    ~StartupWarmUp();  // waits for the thread; pictures read and never used are dropped
    StartupWarmUp(const StartupWarmUp&) = delete;
    StartupWarmUp& operator=(const StartupWarmUp&) = delete;

    // The application object exists: the pictures only Qt's reader can read may be read now.
    void applicationReady();

private:
    std::promise<bool> applicationReady_;
    bool told_ = false;
    std::thread thread_;
};
