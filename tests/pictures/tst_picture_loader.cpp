// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// The picture loader against pictures made here: what each format shows, and what each kind of
// bad file gives instead (the error's number and a description naming the cause and the file).

#include "TestFiles.h"
#include "testing/SamplePictures.h"
#include "pictures/PictureLoader.h"

#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using pictures::loadPicture;
using Colours = std::vector<std::pair<QPoint, QColor>>;  // an invalid colour: neither red nor blue

namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255);
constexpr int kBusyRecords = 200000;  // small rectangles that keep the renderer busy for a while

// The sample metafiles' page: a red rectangle left, a blue ellipse right (not its box's corners),
// nothing between them nor in the margins.
const Colours kMetafilePage{{{30, 25}, kRed},  {{12, 12}, kRed}, {{48, 38}, kRed}, {{75, 25}, kBlue}, {{62, 25}, kBlue},
                            {{88, 25}, kBlue}, {{62, 12}, {}},   {{88, 12}, {}},   {{62, 38}, {}},    {{88, 38}, {}},
                            {{55, 25}, {}},    {{2, 2}, {}},     {{97, 47}, {}},   {{95, 25}, {}},    {{30, 45}, {}}};

// Channel distance small enough for JPEG's losses, far from the other colour.
bool near(QColor actual, QColor expected, int tolerance) {
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

// Checks points given on the page, `shift` being the picture's top-left there; points outside
// the picture are skipped.
void checkColours(const QImage& image, const Colours& colours, int tolerance, int scale = 1, QPoint shift = {}) {
    for (const auto& [page, colour] : colours) {
        const QPoint p = (page - shift) * scale;
        const QColor c = image.valid(p) ? image.pixelColor(p) : colour;
        const bool ok = colour.isValid() ? near(c, colour, tolerance) : !near(c, kRed, 100) && !near(c, kBlue, 100);
        QVERIFY2(ok, qPrintable(QStringLiteral("(%1, %2) is %3").arg(page.x()).arg(page.y()).arg(c.name())));
    }
}

// The error's number, and that its description names the cause and the file (in 「」), ending a sentence.
void checkError(const QString& path, int number, const QString& cause) {
    const core::RuntimeError e = testfiles::errorOf([&] { loadPicture(path); });
    QCOMPARE(e.number(), number);
    const QString& d = e.description();
    QVERIFY2(d.contains(cause) && d.contains(QFileInfo(path).fileName() + u'」') && d.endsWith(u'。'), qPrintable(d));
}

// The renderer programs this process started, each with the processor time it used in seconds.
std::vector<std::pair<pid_t, double>> renderers() {
    std::vector<std::pair<pid_t, double>> found;
    for (const QFileInfo& process : QDir(QStringLiteral("/proc")).entryInfoList(QDir::Dirs)) {
        const QByteArray line = testfiles::read(process.filePath() + QStringLiteral("/stat"));
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');  // from the state on
        if (fields.size() > 12 && fields[1].toLongLong() == ::getpid() &&
            QFileInfo(process.filePath() + QStringLiteral("/exe")).symLinkTarget().endsWith(u"/tarvola-metafile"))
            found.emplace_back(
                pid_t(process.fileName().toInt()),
                double(fields[11].toLongLong() + fields[12].toLongLong()) / double(::sysconf(_SC_CLK_TCK)));
    }
    return found;
}

core::Picture loadGood(const QString& path) {
    try {
        return loadPicture(path);
    } catch (const core::RuntimeError& e) {
        qWarning("%d %s", e.number(), qPrintable(e.description()));
        return {};
    }
}

// A file swapped for another between a look at its name and its open: when set, the first open
// of `swapped` (whoever makes it) renames `swappedFor` over it just before the open goes through.
std::string swapped, swappedFor;

int openSwapping(const char* symbol, const char* path, int flags, va_list args) {
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(args, int)) : 0;
    if (!swapped.empty() && swapped == path) {
        ::rename(swappedFor.c_str(), path);
        swapped.clear();
    }
    return reinterpret_cast<int (*)(const char*, int, ...)>(::dlsym(RTLD_NEXT, symbol))(path, flags, mode);
}

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const int fd = openSwapping("open", path, flags, args);
    va_end(args);
    return fd;
}

extern "C" int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const int fd = openSwapping("open64", path, flags, args);
    va_end(args);
    return fd;
}

class TestPictureLoader : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QString write(const QString& fileName, const QByteArray& bytes) {
        return testfiles::write(dir_.filePath(fileName), bytes);
    }

private Q_SLOTS:
    void rasterFormats_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("tolerance");
        const QImage scene = samples::rasterScene();
        QTest::newRow("bmp") << samples::encode(scene, "bmp") << "a.bmp" << 0;
        QTest::newRow("gif") << samples::encodeGif(scene) << "a.gif" << 0;
        QTest::newRow("jpeg") << samples::encode(scene, "jpeg") << "a.jpg" << 48;
        QTest::newRow("OS/2 bmp") << samples::encodeOs2Bmp(scene) << "old.bmp" << 0;
        QTest::newRow("run-length bmp") << samples::encodeRunLengthBmp(scene) << "rle.bmp" << 0;
        // Writers may leave the size of the data out: the codes end the picture themselves.
        QTest::newRow("run-length bmp, no data size")
            << samples::patched<quint32>(samples::encodeRunLengthBmp(scene), 34, {0}) << "rle0.bmp" << 0;
        // The content decides the format, not the name.
        QTest::newRow("png named .bmp") << samples::encode(scene, "png") << "png.bmp" << 0;
    }
    void rasterFormats() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fileName);
        QFETCH(int, tolerance);
        const core::Picture picture = loadGood(write(fileName, bytes));
        QCOMPARE(picture.size(), QSize(60, 30));
        checkColours(picture.image(),
                     {{{2, 2}, kRed}, {{57, 27}, kRed}, {{18, 8}, kRed}, {{30, 15}, kBlue}, {{21, 11}, kBlue}},
                     tolerance);
    }

    void metafiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("shift");
        // The placeable header's box is the page, whatever its origin, drawn to scale: not stretched
        // to the drawing's extent.
        QTest::newRow("placeable wmf") << samples::wmf(true) << QSize(100, 50) << QPoint();
        QTest::newRow("placeable wmf, moved origin") << samples::wmf(true, {300, -150}) << QSize(100, 50) << QPoint();
        QTest::newRow("placeable wmf, origin from the box")
            << samples::wmf(true, {450, 600}, 0, false) << QSize(100, 50) << QPoint();
        QTest::newRow("a box of a third of a pixel: one pixel")
            << samples::patched<qint16>(samples::wmf(true), 10, {5, 5, 1440}) << QSize(1, 1) << QPoint();
        QTest::newRow("a pen 2000 pixels wide, an ellipse of no width")
            << samples::wmf(true, {}, 0, true, 2000) << QSize(100, 50) << QPoint();
        // Without a box the drawing's extent (half a pixel around its shapes) is the picture.
        QTest::newRow("standard wmf") << samples::wmf(false) << QSize(81, 31) << QPoint(10, 10);
        QTest::newRow("emf") << samples::emf() << QSize(100, 50) << QPoint();
        // Drawn in the units of its reference device, a 192-dpi one: the page is the same.
        QTest::newRow("emf of a finer device") << samples::emf(0, false, 2) << QSize(100, 50) << QPoint();
    }
    void metafiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(QPoint, shift);
        const core::Picture picture = loadGood(write("meta.bin", bytes));
        QCOMPARE(picture.size(), size);
        QCOMPARE(picture.doubleResImage().size(), size * 2);
        checkColours(picture.image(), kMetafilePage, 0, 1, shift);
        checkColours(picture.doubleResImage(), kMetafilePage, 0, 2, shift);
    }

    // The largest metafile drawn: 16 Mi pixels, a quarter of the budget. Its twin at twice the
    // size would be over it and is left out.
    void largestMetafile() {
        const QByteArray bytes = samples::patched<qint32>(samples::emf(), 32, {108370, 108370});
        const core::Picture picture = loadGood(write("big.emf", bytes));
        QCOMPARE(picture.size(), QSize(4096, 4096));
        QVERIFY(picture.doubleResImage().isNull());
        checkColours(picture.image(), kMetafilePage, 0);
    }

    // A chord runs counterclockwise on the page from its first radial to its second.
    void chords_data() {
        QTest::addColumn<QPoint>("startRadial");
        QTest::addColumn<QPoint>("endRadial");
        QTest::addColumn<Colours>("colours");
        const QPoint right(100, 25), top(50, 0);
        const QPoint upperRight(69, 9), lowerLeft(35, 40), bottom(50, 45), upperLeft(30, 10), outside(90, 25);
        QTest::newRow("a quarter: from the right to the top")
            << right << top
            << Colours{{upperRight, kBlue}, {lowerLeft, {}}, {bottom, {}}, {upperLeft, {}}, {outside, {}}};
        QTest::newRow("three quarters: from the top to the right")
            << top << right
            << Colours{{upperRight, {}}, {lowerLeft, kBlue}, {bottom, kBlue}, {upperLeft, kBlue}, {outside, {}}};
    }
    void chords() {
        QFETCH(QPoint, startRadial);
        QFETCH(QPoint, endRadial);
        QFETCH(Colours, colours);
        const core::Picture picture = loadGood(write("chord.wmf", samples::wmfChord(startRadial, endRadial)));
        checkColours(picture.image(), colours, 0);
        checkColours(picture.doubleResImage(), colours, 0, 2);
    }

    void badContent_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("cause");
        const QImage scene = samples::rasterScene();
        const QByteArray bmp = samples::encode(scene, "bmp"), gif = samples::encodeGif(scene);
        const QByteArray jpeg = samples::encode(samples::rasterScene({400, 300}), "jpeg");
        const QByteArray png = samples::encode(scene, "png"), wmf = samples::wmf(true), emf = samples::emf();
        const QString cut = QStringLiteral("壊れているか、途中で切れています");
        const QString large = QStringLiteral("大きすぎます");
        using samples::patched;
        QTest::newRow("empty file") << QByteArray() << "empty.bmp" << core::err::kInvalidPicture << "空のファイル";
        QTest::newRow("text named .bmp") << QByteArray("just some text\n") << "text.bmp" << core::err::kInvalidPicture
                                         << "どの形式でもありません";
        QTest::newRow("FF D8 then text") << QByteArray("\xFF\xD8 is no JPEG\n") << "text.jpg"
                                         << core::err::kInvalidPicture << "どの形式でもありません";
        QTest::newRow("text starting BM")
            << QByteArray("BMW cars are fast\n") << "cars.bmp" << core::err::kInvalidPicture << cut;
        QTest::newRow("bmp truncated") << bmp.left(bmp.size() / 2) << "cut.bmp" << core::err::kInvalidPicture
                                       << "ビットマップ";
        QTest::newRow("OS/2 bmp truncated")
            << samples::encodeOs2Bmp(scene).chopped(200) << "old.bmp" << core::err::kInvalidPicture << "ビットマップ";
        QTest::newRow("run-length bmp truncated")  // a size of its data that the decoder would not need
            << samples::encodeRunLengthBmp(scene).chopped(40) << "cut.bmp" << core::err::kInvalidPicture
            << "ビットマップ";
        QTest::newRow("gif truncated") << gif.left(gif.size() - 40) << "cut.gif" << core::err::kInvalidPicture << "GIF";
        QTest::newRow("jpeg truncated") << jpeg.left(jpeg.size() * 2 / 3) << "cut.jpg" << core::err::kInvalidPicture
                                        << "JPEG";
        QTest::newRow("png truncated") << png.left(png.size() - 20) << "cut.png" << core::err::kInvalidPicture << "PNG";
        QTest::newRow("png garbled data")
            << png.left(60) + QByteArray(png.size() - 60, '\x11') << "bad.png" << core::err::kInvalidPicture << cut;
        QTest::newRow("wmf truncated") << wmf.left(wmf.size() - 10) << "cut.wmf" << core::err::kInvalidPicture
                                       << "メタファイル";
        QTest::newRow("wmf bad record size")
            << wmf.left(40) + QByteArray(8, '\0') << "rec.wmf" << core::err::kInvalidPicture
            << QStringLiteral(
                   "ピクチャが不正です。「rec.wmf」のメタファイルのデータが壊れているか、途中で切れています。");
        QTest::newRow("wmf zero box") << patched<qint16>(wmf, 10, {0, 0, 1440}) << "zero.wmf"
                                      << core::err::kInvalidPicture
                                      << QStringLiteral(
                                             "ピクチャが不正です。「zero.wmf」のメタファイルには大きさがありません。");
        QTest::newRow("wmf zero units") << patched<qint16>(wmf, 10, {1500, 750, 0}) << "units.wmf"
                                        << core::err::kInvalidPicture << cut;
        QTest::newRow("emf truncated") << emf.left(emf.size() - 12) << "cut.emf" << core::err::kInvalidPicture
                                       << "拡張メタファイル";
        QTest::newRow("emf empty frame") << patched<qint32>(emf, 32, {0, 0}) << "flat.emf" << core::err::kInvalidPicture
                                         << QStringLiteral("「flat.emf」の拡張メタファイルには大きさがありません。");
        // Sizes are refused from the header, before anything is decoded.
        QTest::newRow("bmp 32768 pixels wide")
            << patched<qint32>(bmp, 18, {32768, 1}) << "wide.bmp" << 7 << QStringLiteral("32768 × 1 ピクセル");
        QTest::newRow("OS/2 bmp 40000 pixels wide") << patched<quint16>(samples::encodeOs2Bmp(scene), 18, {40000})
                                                    << "wide.bmp" << 7 << QStringLiteral("40000 × 30 ピクセル");
        QTest::newRow("bmp huge")
            << patched<qint32>(bmp, 18, {40000, 40000}) << "huge.bmp" << 7
            << QStringLiteral("40000 × 40000 ピクセルで、読み込める大きさ（一辺 32767 ピクセル、256 MB まで）");
        QTest::newRow("png of 256 Mi pixels") << samples::withPngSize(png, 16384, 16384) << "mi.png" << 7 << large;
        QTest::newRow("wmf huge box") << patched<qint16>(wmf, 10, {32000, 32000, 1}) << "huge.wmf" << 7 << large;
        // A metafile is drawn within a quarter of the budget: 16 Mi pixels.
        QTest::newRow("emf just over 16 Mi pixels")
            << patched<qint32>(emf, 32, {108400, 108370}) << "big.emf" << 7 << QStringLiteral("4097 × 4096 ピクセル");
        QTest::newRow("emf huge frame") << patched<qint32>(emf, 32, {2000000000, 2000000000}) << "huge.emf" << 7
                                        << large;
        // Small files that keep a renderer busy for minutes are stopped after two seconds.
        QTest::newRow("wmf text in a giant font") << samples::wmfText(32000, 3000) << "text.wmf" << 7 << large;
        QTest::newRow("emf of a million records") << samples::emf(1000000) << "many.emf" << 7 << large;
        // libjpeg reads every scan of a progressive JPEG, over the whole picture each time:
        // minutes of processor time for this one, stopped after two seconds of it.
        QTest::newRow("jpeg of 20000 scans") << samples::manyScanJpeg(8192, 20000) << "scans.jpg" << 7 << large;
    }
    void badContent() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fileName);
        QFETCH(int, number);
        QFETCH(QString, cause);
        checkError(write(fileName, bytes), number, cause);
    }

    // A fifo is not opened: nobody writes to it, so reading would block until the test's timeout.
    void fileErrors_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("cause");
        QTest::newRow("missing") << "nowhere/none.bmp" << 53 << "ファイルが見つかりません。";
        QTest::newRow("folder") << "pictures.bmp" << 75 << "フォルダー";
        QTest::newRow("fifo") << "pipe.bmp" << 75 << "読み込めません";
        QTest::newRow("not readable") << "locked.bmp" << 75 << "読み取りが許可されていません。";
        QTest::newRow("read error") << "/proc/self/mem" << 75
                                    << "読み取りの途中でエラーが起きました。";  // address 0: EIO
        QTest::newRow("over 256 MB") << "big.bmp" << 7 << "「big.bmp」は読み込める上限の 256 MB を超えています。";
    }
    void fileErrors() {
        QFETCH(QString, kind);
        QFETCH(int, number);
        QFETCH(QString, cause);
        const QString path = kind.startsWith(u'/') ? kind : dir_.filePath(kind);
        if (kind == "pictures.bmp")
            QVERIFY(QDir(dir_.path()).mkpath(kind));
        if (kind == "pipe.bmp")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (kind == "big.bmp") {  // sparse: it costs no disk
            QFile big(path);
            QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(256LL * 1024 * 1024 + 1));
        }
        if (kind == "locked.bmp") {
            testfiles::write(path, samples::encode(samples::rasterScene(), "bmp"));
            QVERIFY(QFile::setPermissions(path, {}));
            if (const passwd* user = testfiles::nobody()) {  // root reads it all the same
                QVERIFY(QFile::setPermissions(
                    dir_.path(), QFile::ExeOther | QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
                QCOMPARE(testfiles::asNobody(user,
                                             [&] {
                                                 const auto e = testfiles::errorOf([&] { loadPicture(path); });
                                                 return e.number() == number && e.description().contains(cause) ? 0 : 1;
                                             }),
                         0);
                return;
            }
        }
        checkError(path, number, cause);
    }

    // The renderer kept from the last picture no longer answers: it is replaced and the next
    // picture read all the same (an enhanced metafile with text, the first in the new renderer).
    void keptRendererThatNoLongerAnswers_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("stopped") << SIGSTOP;
        QTest::newRow("ended") << SIGKILL;
    }
    void keptRendererThatNoLongerAnswers() {
        QFETCH(int, signal);
        QCOMPARE(loadGood(write("kept.wmf", samples::wmf(true))).size(), QSize(100, 50));
        const auto running = renderers();
        QCOMPARE(running.size(), std::size_t(1));
        QCOMPARE(::kill(running[0].first, signal), 0);
        // Gone or stopped before the next picture comes (the signal is delivered in its own time).
        const auto state = [pid = running[0].first] {
            const QByteArray line = testfiles::read(QStringLiteral("/proc/%1/stat").arg(pid));
            return line.mid(line.lastIndexOf(')') + 2, 1);
        };
        QTRY_COMPARE(state(), QByteArray(signal == SIGSTOP ? "T" : "Z"));
        const core::Picture next = loadGood(write("next.emf", samples::emf(0, true)));
        QCOMPARE(next.size(), QSize(100, 50));
        checkColours(next.image(), kMetafilePage, 0);
    }

    // Processor time is counted per picture: a kept renderer that used more than a picture's
    // allowance (2 s) and its own limit (4 s, from the second it has reached) in total over many
    // good pictures draws the next. 5.5 s: past a limit counted from the renderer's start.
    void keptRendererOverManyPictures() {
        const QString path = write("busy.wmf", samples::wmf(true, {}, kBusyRecords));
        core::Picture picture = loadGood(path);
        QCOMPARE(renderers().size(), std::size_t(1));
        const pid_t kept = renderers()[0].first;
        double used = 0;
        for (int i = 0; i < 150 && used < 5.5; ++i) {
            picture = loadGood(path);
            QCOMPARE(picture.size(), QSize(100, 50));
            const auto running = renderers();
            QVERIFY(running.size() == 1 && running[0].first == kept);
            used = running[0].second;
        }
        QVERIFY2(used >= 5.5, qPrintable(QString::number(used)));
        checkColours(picture.image(), kMetafilePage, 0);
    }

    // A picture that becomes a FIFO as it is opened (nobody writes to it): the open does not
    // wait, and the descriptor, not the name, tells what was opened. Opened blocking, the load
    // would wait for ever; the alarm ends the test instead.
    void swappedForAFifoWhileOpened() {
        const QString path = write(QStringLiteral("swapped.bmp"), samples::encode(samples::rasterScene(), "bmp"));
        swappedFor = QFile::encodeName(dir_.filePath(QStringLiteral("swapped.fifo"))).toStdString();
        QCOMPARE(::mkfifo(swappedFor.c_str(), 0600), 0);
        swapped = QFile::encodeName(path).toStdString();
        ::alarm(10);
        checkError(path, 75, QStringLiteral("通常のファイルではない"));
        ::alarm(0);
        QVERIFY(swapped.empty());  // the swap did take place
        QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
    }

    void emptyPathGivesNoPicture() { QVERIFY(loadPicture(QString()).isNull()); }
};

QTEST_GUILESS_MAIN(TestPictureLoader)
#include "tst_picture_loader.moc"
