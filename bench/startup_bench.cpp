// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Start-up: from process start to both windows mapped and painted, peak resident memory,
// and CPU used while idle; next to the same figures for a bare two-window Qt program with the
// same font (bare_two_windows, the floor a Qt program can reach) and for xeyes. The programs
// take turns, so a machine that slows down slows all of them alike. Then what a film stored in
// the settings file adds to the start (a bitmap and a metafile, both read by the renderer
// program). Last, one start of each program counted in instructions under callgrind, which the
// machine's load does not change. The program runs from a copy in a folder of its own: it saves
// its settings when it is ended, and each run starts from the same file.
// Runs on an X server with no window manager (scripts/bench.sh arranges one), so the
// program's top-level windows are children of the root window and their MapNotify
// events arrive on the root.

#include "testing/SamplePictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The client widths that tell the two windows apart.
constexpr int kBusWidth = 758;
constexpr int kPanelWidth = 265;

struct Run {
    double mappedMs = -1, paintedMs = -1, peakMb = 0, idleCpuMs = 0;
    int threads = 0;  // once painted
};

// How many threads the process runs now.
int threadCount(pid_t pid) {
    return static_cast<int>(
        QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// The pixel's colour as 0xRRGGBB (24-bit TrueColor server).
unsigned pixelAt(xcb_connection_t* c, xcb_window_t root, int x, int y) {
    auto cookie = xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, x, y, 1, 1, ~0u);
    xcb_get_image_reply_t* r = xcb_get_image_reply(c, cookie, nullptr);
    unsigned value = 0;
    if (r && xcb_get_image_data_length(r) >= 4)
        std::memcpy(&value, xcb_get_image_data(r), 4);
    std::free(r);
    return value & 0xFFFFFF;
}

// Where a top-level window's client area starts on the root window, and its width.
struct Placed {
    int x = 0, y = 0, width = 0;
};

Placed placeOf(xcb_connection_t* c, xcb_window_t root, xcb_window_t w) {
    Placed p;
    if (auto* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr)) {
        p.width = g->width;
        std::free(g);
    }
    if (auto* t = xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, w, root, 0, 0), nullptr)) {
        p.x = t->dst_x;
        p.y = t->dst_y;
        std::free(t);
    }
    return p;
}

double cpuMs(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string token;
    std::vector<std::string> fields;
    while (stat >> token)
        fields.push_back(token);
    if (fields.size() < 15)
        return 0;
    const double ticks = std::stod(fields[13]) + std::stod(fields[14]);
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Where the painted check looks on the bus window, and the colour it wants there.
struct SignProbe {
    int x = 265, y = 51;
    unsigned colour = 0x0000FF;  // the blue of the sign window without a film
};

// What a run waits for: how long the windows may take, what to do once they are painted, and
// whether idle CPU is then measured over two seconds (runs that time the paint only end sooner).
struct Watch {
    std::chrono::seconds limit{10};
    std::function<void(pid_t)> onPainted;
    bool measureIdle = true;
};

Run runOnce(xcb_connection_t* c, xcb_window_t root, char* const argv[], int windowsWanted, bool checkPaint,
            SignProbe sign = {}, const Watch& watch = {}) {
    Run run;
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv);
        _exit(127);
    }
    int mapped = 0;
    std::vector<xcb_window_t> seen;
    const auto deadline = start + watch.limit;
    while (mapped < windowsWanted && Clock::now() < deadline) {
        xcb_generic_event_t* e = xcb_poll_for_event(c);
        if (!e) {
            // Sleep on the connection until the server sends something: the benchmark must not
            // take the processor from the program it times.
            pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
            poll(&fd, 1, 50);
            continue;
        }
        if ((e->response_type & 0x7F) == XCB_MAP_NOTIFY) {
            const auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
            if (std::find(seen.begin(), seen.end(), m->window) == seen.end() && !m->override_redirect) {
                seen.push_back(m->window);
                ++mapped;
            }
        }
        std::free(e);
    }
    run.mappedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (checkPaint) {
        // Painted: a colour each window paints has reached the screen: the blue of the bus
        // window's sign, the light grey of the panel's roll-speed label (below its bars).
        struct Probe {
            int x, y;
            unsigned colour;
        };
        std::vector<Probe> probes;
        for (const xcb_window_t w : seen) {
            const Placed p = placeOf(c, root, w);
            if (p.width == kBusWidth)
                probes.push_back({p.x + sign.x, p.y + sign.y, sign.colour});
            else if (p.width == kPanelWidth)
                probes.push_back({p.x + 162, p.y + 104, 0xE0E0E0});
        }
        // No event says a pixel reached the screen: look every half millisecond, often enough
        // for the figure, seldom enough to leave the server to the program.
        while (Clock::now() < deadline && !std::all_of(probes.begin(), probes.end(), [&](const Probe& p) {
                   return pixelAt(c, root, p.x, p.y) == p.colour;
               }))
            usleep(500);
        run.paintedMs = probes.size() == 2 ? std::chrono::duration<double, std::milli>(Clock::now() - start).count()
                                           : -1;  // the windows were not found: no figure
        if (run.paintedMs >= 0 && watch.onPainted)
            watch.onPainted(pid);
    }
    usleep(300 * 1000);
    run.threads = threadCount(pid);
    if (watch.measureIdle) {
        const double cpuBefore = cpuMs(pid);
        sleep(2);
        run.idleCpuMs = cpuMs(pid) - cpuBefore;
    }
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return run;
}

// The instructions a program runs until both its windows are painted, counted by callgrind
// (0 without valgrind): the machine's load changes the times of a run, not this count. The
// count is written out once painted, while the program waits in its event loop.
double instructionsToPaint(xcb_connection_t* c, xcb_window_t root, char* program, const QString& folder,
                           char* option = nullptr) {
    const QString out = folder + QStringLiteral("/callgrind.out");
    QByteArray valgrind("/usr/bin/valgrind"), tool("--tool=callgrind"),
        file("--callgrind-out-file=" + QFile::encodeName(out));
    if (::access(valgrind.constData(), X_OK) != 0)
        return 0;
    char* const argv[] = {valgrind.data(), tool.data(), file.data(), program, option, nullptr};
    const auto dump = [](pid_t pid) {
        const std::string command = "callgrind_control -d " + std::to_string(pid) + " >/dev/null 2>&1";
        [[maybe_unused]] const int status = std::system(command.c_str());
    };
    runOnce(c, root, argv, 2, true, {}, Watch{std::chrono::seconds(120), dump, false});
    std::ifstream counts(QFile::encodeName(out + QStringLiteral(".1")).constData());
    std::string line;
    while (std::getline(counts, line))
        if (line.rfind("totals: ", 0) == 0)
            return std::stod(line.substr(8));
    return 0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench <tarvola> <bare_two_windows> [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 7;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "startup_bench: no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    // A copy of the program with what it loads beside it, and the films.
    QTemporaryDir dir;
    const QString from = QFileInfo(QString::fromLocal8Bit(argv[1])).absolutePath();
    for (const char* file : {"tarvola", "tarvola-metafile", "libtarvola_sound.so", "libSorrel3Res.so"})
        QFile::copy(from + '/' + QLatin1String(file), dir.filePath(QLatin1String(file)));
    const QString ini = dir.filePath(QStringLiteral("tarvola.ini"));
    const auto writeFile = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    const QString bmp = dir.filePath(QStringLiteral("film.bmp")), wmf = dir.filePath(QStringLiteral("film.wmf"));
    writeFile(bmp, samples::encode(samples::rasterScene({50, 250}), "bmp"));
    writeFile(wmf, samples::wmf(true));
    // The first start's places, with a film for sign 0 or none.
    const auto storeFilm = [&](const QString& film) {
        QFile::remove(ini);
        if (!film.isEmpty())
            writeFile(ini, QStringLiteral("0,0,0,3270,\"%1\",\"\",1,1,\"\",8790,1680,#TRUE#,#TRUE#,10000,6000,0\r\n")
                               .arg(film)
                               .toLocal8Bit());
    };
    QByteArray program = QFile::encodeName(dir.filePath(QStringLiteral("tarvola")));
    char* tarvolaArgv[] = {program.data(), nullptr};
    char xeyesPath[] = "/usr/bin/xeyes";
    char* xeyesArgv[] = {xeyesPath, nullptr};
    char* bareArgv[] = {argv[2], nullptr};
    std::vector<double> map, paint, mem, idle, barePaint, bareMem, eyesMap, eyesMem, rasterPaint, metafilePaint;
    std::vector<double> threads, bareThreads, pairRatio;
    Watch paintOnly;
    paintOnly.measureIdle = false;
    for (int i = 0; i < runs; ++i) {
        // The film shows in the sign: the bitmap's red corner, the metafile's red rectangle.
        storeFilm(bmp);
        rasterPaint.push_back(runOnce(c, root, tarvolaArgv, 2, true, {245, 40, 0xFF0000}, paintOnly).paintedMs);
        storeFilm(wmf);
        metafilePaint.push_back(runOnce(c, root, tarvolaArgv, 2, true, {265, 51, 0xFF0000}, paintOnly).paintedMs);
        storeFilm({});
        // xeyes between the film runs and the pair: a start right after the program's own is
        // quicker (its pages and the processor's caches are warm), so the pair's first run
        // follows neither. The program and the bare one go first in turn, so that whatever the
        // first leaves behind (the server's clean-up, the caches) weighs on both alike. Both
        // idle as long, so that their peaks of memory are taken alike.
        const Run x = runOnce(c, root, xeyesArgv, 1, false);
        eyesMap.push_back(x.mappedMs);
        eyesMem.push_back(x.peakMb);
        Run t, b;
        if (i % 2 == 0) {
            t = runOnce(c, root, tarvolaArgv, 2, true);
            b = runOnce(c, root, bareArgv, 2, true);
        } else {
            b = runOnce(c, root, bareArgv, 2, true);
            t = runOnce(c, root, tarvolaArgv, 2, true);
        }
        map.push_back(t.mappedMs);
        paint.push_back(t.paintedMs);
        mem.push_back(t.peakMb);
        idle.push_back(t.idleCpuMs);
        threads.push_back(t.threads);
        barePaint.push_back(b.paintedMs);
        pairRatio.push_back(t.paintedMs / b.paintedMs);
        bareMem.push_back(b.peakMb);
        bareThreads.push_back(b.threads);
    }
    const auto missed = [](const std::vector<double>& v) {
        return std::any_of(v.begin(), v.end(), [](double ms) { return ms < 0; });
    };
    if (missed(rasterPaint) || missed(metafilePaint)) {
        std::fprintf(stderr, "startup_bench: a stored film was not shown\n");
        return 1;
    }
    if (missed(paint) || missed(barePaint)) {
        std::fprintf(stderr, "startup_bench: two windows were not both found painted\n");
        return 1;
    }
    std::printf("startup both windows mapped: %.1f ms (median of %d)\n", median(map), runs);
    std::printf("startup both windows painted: %.1f ms (goal: < 80 ms)\n", median(paint));
    std::printf("startup bare Qt two windows painted: %.1f ms (floor)\n", median(barePaint));
    std::printf("startup painted against the bare program: %.2f x (goal: <= 1.10)\n",
                median(paint) / median(barePaint));
    std::sort(pairRatio.begin(), pairRatio.end());  // each run against the bare run beside it
    std::printf("startup painted against the bare program, middle half of the runs: %.2f to %.2f x\n",
                pairRatio[pairRatio.size() / 4], pairRatio[pairRatio.size() * 3 / 4]);
    // The same starts counted in instructions, one each, side by side.
    storeFilm({});
    QTemporaryDir tarvolaCount, bareCount, bareMarksCount;
    const double instructions = instructionsToPaint(c, root, program.data(), tarvolaCount.path());
    const double bareInstructions = instructionsToPaint(c, root, argv[2], bareCount.path());
    const bool counted = instructions > 0 && bareInstructions > 0;  // 0 without valgrind
    if (counted)
        std::printf(
            "startup instructions to paint against the bare program: %.3f x (%.1f million against %.1f; "
            "callgrind, which the machine's load does not change)\n",
            instructions / bareInstructions, instructions / 1e6, bareInstructions / 1e6);
    // The panel's marks are drawn in a second face, and the toolkit asks fontconfig to match
    // every face it opens: the bare program with those marks shows what that face costs alone.
    char secondFace[] = "--second-face";
    const double bareMarksInstructions = instructionsToPaint(c, root, argv[2], bareMarksCount.path(), secondFace);
    if (counted && bareMarksInstructions > 0) {
        std::printf(
            "startup instructions of the panel's bold face alone: %.1f million (the bare program with and "
            "without the marks drawn in it)\n",
            (bareMarksInstructions - bareInstructions) / 1e6);
        std::printf(
            "startup instructions to paint against the bare program drawing the marks too: %.3f x "
            "(%.1f million)\n",
            instructions / bareMarksInstructions, bareMarksInstructions / 1e6);
    }
    std::printf("startup with a stored bitmap film, both windows painted: %.1f ms\n", median(rasterPaint));
    std::printf("startup with a stored metafile film, both windows painted: %.1f ms\n", median(metafilePaint));
    std::printf("startup added by a stored bitmap film: %.1f ms (goal: < 30 ms)\n",
                median(rasterPaint) - median(paint));
    std::printf("startup added by a stored metafile film: %.1f ms (goal: < 30 ms)\n",
                median(metafilePaint) - median(paint));
    std::printf("startup peak resident memory: %.1f MB (goal: < 35 MB)\n", median(mem));
    std::printf("startup peak memory above the bare program: %.1f MB (goal: <= 3 MB)\n", median(mem) - median(bareMem));
    std::printf("startup threads once painted: %.0f (the bare program: %.0f)\n", median(threads), median(bareThreads));
    std::printf("startup idle CPU over 2 s: %.1f ms (goal: 0)\n", median(idle));
    std::printf("xeyes window mapped: %.1f ms (floor)\n", median(eyesMap));
    std::printf("xeyes peak resident memory: %.1f MB (floor)\n", median(eyesMem));
    xcb_disconnect(c);
    return 0;
}
