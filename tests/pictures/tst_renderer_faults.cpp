// The metafile renderer program going wrong: crashing, hanging, answering nonsense, missing.
// Each costs a refused picture with the loader's error, never the program.
// A stand-in renderer lies beside this test; the picture's name tells it how to fail.

#include "testing/SamplePictures.h"
#include "core/RuntimeError.h"
#include "pictures/PictureLoader.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtTest>

class TestRendererFaults : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString renderer_, saved_;

private slots:
    void initTestCase() {
        renderer_ = QCoreApplication::applicationDirPath() + QStringLiteral("/tarvola-metafile");
        saved_ = dir_.filePath(QStringLiteral("renderer"));
        QVERIFY(QFile::copy(renderer_, saved_));
    }

    void refused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::newRow("crashes") << "crash.wmf" << core::err::kInvalidPicture;
        QTest::newRow("answers an image without pixels") << "garbage.wmf" << core::err::kInvalidPicture;
        QTest::newRow("runs past its time") << "hang.wmf" << core::err::kOutOfMemory;
        QTest::newRow("missing") << "missing.wmf" << core::err::kDllNotFound;
    }
    void refused() {
        QFETCH(QString, name);
        QFETCH(int, number);
        QFile::remove(renderer_);
        if (name != u"missing.wmf") {
            QVERIFY(QFile::copy(saved_, renderer_));
        }
        const QString path = dir_.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(samples::wmf(true)) > 0);
        file.close();
        int got = 0;
        try {
            pictures::loadPicture(path);
        } catch (const core::RuntimeError& e) {
            got = e.number();
            QVERIFY2(e.description().contains(number == core::err::kDllNotFound ? "tarvola-metafile" : name),
                     qPrintable(e.description()));
        }
        QCOMPARE(got, number);
    }

    void cleanupTestCase() {
        QFile::remove(renderer_);
        QFile::copy(saved_, renderer_);
    }
};

QTEST_GUILESS_MAIN(TestRendererFaults)
#include "tst_renderer_faults.moc"
