#include "app/StartupWarmUp.h"

#include "assets/AssetPaths.h"
#include "controls/ResourceImages.h"
#include "platform/Fonts.h"
#include "platform/Windowing.h"

#include <clocale>
#include <system_error>

StartupWarmUp::StartupWarmUp() {
    // The application object sets the locale from the environment; done here first, its
    // setting changes nothing under the running thread (the font configuration reads numbers).
    std::setlocale(LC_ALL, "");
    using ctl::ReadAheadBy;
    auto work = [bitmaps = ctl::readAheadResourceImages(assets::kStartPictures, ReadAheadBy::OwnDecoder),
                 icons = ctl::readAheadResourceImages(assets::kIconPictures, ReadAheadBy::AnyReader),
                 ready = applicationReady_.get_future()]() mutable {
        platform::preloadDisplayLibraries();
        platform::loadFontConfiguration();
        bitmaps();
        // Qt's image reader uses the application's fonts and plugins: it waits for the application.
        if (ready.get())
            icons();
    };
    try {
        thread_ = std::thread(std::move(work));
    } catch (const std::system_error&) {
        // No second thread to be had: the windows read what they need as they are built.
    }
}

void StartupWarmUp::applicationReady() {
    if (!told_) {
        told_ = true;
        applicationReady_.set_value(true);
    }
}

StartupWarmUp::~StartupWarmUp() {
    if (!told_)
        applicationReady_.set_value(false);
    if (thread_.joinable())
        thread_.join();
    ctl::dropReadAheadResourceImages();
}
