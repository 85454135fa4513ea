// Map files: which files hold a map, and a map saved in its file's own format.

#include "bmpfiles.h"
#include "mapdocument.h"
#include "mapfile.h"
#include "testhelpers.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestMapFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    // A map file is known by its bytes, whatever its name; what cannot be
    // read (a pipe is never opened) is none.
    void supportsFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("supported");
        QTest::newRow("BMP") << "bmp"
                             << "karte.bmp" << true;
        QTest::newRow("BMP of another name") << "bmp"
                                             << "karte.dke" << true;
        QTest::newRow("text named .bmp") << "text"
                                         << "text.bmp" << false;
        QTest::newRow("empty") << "empty"
                               << "leer.bmp" << false;
        QTest::newRow("missing") << "none"
                                 << "fehlt.bmp" << false;
        QTest::newRow("folder") << "folder"
                                << "ordner.bmp" << false;
        QTest::newRow("named pipe") << "fifo"
                                    << "rohr.bmp" << false;
    }
    void supportsFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(bool, supported);
        const QString file = path(name);
        if (kind == QLatin1String("bmp"))
            QVERIFY(writeBytes(file, bmpfiles::eightBitFewColours()));
        else if (kind == QLatin1String("text"))
            QVERIFY(writeBytes(file, "kein Bild"));
        else if (kind == QLatin1String("empty"))
            QVERIFY(writeBytes(file, QByteArray()));
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(file));
        else if (kind == QLatin1String("fifo"))
            QVERIFY(mkfifo(QFile::encodeName(file).constData(), 0644) == 0);
        QCOMPARE(mapfile::supportsFile(file), supported);
    }

    // The depth a map's file had survives the document: an 8-bit file of
    // four colours is saved as 8 bits again, where the picture alone would
    // make a 4-bit file.
    void savesInItsFilesFormat()
    {
        const QString in = path(QStringLiteral("acht.bmp"));
        QVERIFY(writeBytes(in, bmpfiles::eightBitFewColours()));
        mapfile::Format format;
        const MapDocument map(mapfile::read(in, &format), format);
        QCOMPARE(map.fileFormat().bmp.bitsPerPixel, 8);

        const QString out = path(QStringLiteral("gespeichert.bmp"));
        mapfile::write(map.picture(), map.fileFormat(), out);
        QCOMPARE(int(quint8(readBytes(out)[28])), 8);
        QCOMPARE(mapfile::read(out), map.picture());
        mapfile::write(map.picture(), mapfile::Format(), out);
        QCOMPARE(int(quint8(readBytes(out)[28])), 4);
    }
};

QTEST_GUILESS_MAIN(TestMapFile)
#include "test_mapfile.moc"
