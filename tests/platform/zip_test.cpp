#include "platform/ZipExtractor.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora {
namespace {

void scrivi(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray leggi(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A real archive made by the zip command from files under a staging folder.
QString archivio(const QTemporaryDir& dir, const QMap<QString, QByteArray>& files,
                 const QString& password = {}) {
    const QString staging = dir.filePath(QStringLiteral("staging"));
    QDir(staging).removeRecursively();
    for (auto it = files.begin(); it != files.end(); ++it) {
        scrivi(staging + QLatin1Char('/') + it.key(), it.value());
    }
    const QString path = dir.filePath(QStringLiteral("a.zip"));
    QFile::remove(path);
    QStringList args{QStringLiteral("-q"), QStringLiteral("-r")};
    if (!password.isEmpty()) {
        args << QStringLiteral("-P") << password;
    }
    args << path << QStringLiteral(".");
    QProcess zip;
    zip.setWorkingDirectory(staging);
    zip.start(QStringLiteral("zip"), args);
    zip.waitForFinished();
    EXPECT_EQ(zip.exitCode(), 0);
    return path;
}

TEST(ZipExtractor, FoldersOverwriteQuestionsAndProgress) {
    QTemporaryDir dir;
    const QString dest = dir.filePath(QStringLiteral("dest"));
    scrivi(dest + QStringLiteral("/keep.txt"), "old");
    scrivi(dest + QStringLiteral("/replace.txt"), "old");
    const QString zip = archivio(dir, {{QStringLiteral("keep.txt"), "new"},
                                       {QStringLiteral("replace.txt"), "new"},
                                       {QStringLiteral("a/b/c.txt"), QByteArray(200000, 'c')}});
    QStringList asked;
    qint64 last = 0;
    qint64 total = 0;
    const ZipResult result = ZipExtractor().extractAll(
        zip, dest,
        [&](const QString& path) {
            asked << QFileInfo(path).fileName();
            return path.endsWith(QStringLiteral("replace.txt"));
        },
        QString(),
        [&](qint64 done, qint64 all) {
            last = done;
            total = all;
        });
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    asked.sort();
    EXPECT_EQ(asked, (QStringList{QStringLiteral("keep.txt"), QStringLiteral("replace.txt")}));
    EXPECT_EQ(leggi(dest + QStringLiteral("/keep.txt")), QByteArray("old"));
    EXPECT_EQ(leggi(dest + QStringLiteral("/replace.txt")), QByteArray("new"));
    EXPECT_EQ(leggi(dest + QStringLiteral("/a/b/c.txt")), QByteArray(200000, 'c'));
    EXPECT_EQ(result.kept.size(), 1);
    EXPECT_GT(total, 0);
    EXPECT_EQ(last, total);
    EXPECT_TRUE(QDir(dest).entryList({QStringLiteral("*.part")}).isEmpty());
}

TEST(ZipExtractor, PasswordArchives) {
    QTemporaryDir dir;
    const QString zip =
        archivio(dir, {{QStringLiteral("dati.txt"), QByteArray(5000, 'd')}}, QStringLiteral("segreta"));
    const QString dest = dir.filePath(QStringLiteral("dest"));
    scrivi(dest + QStringLiteral("/dati.txt"), "precedente");
    const auto si = [](const QString&) { return true; };

    const ZipResult wrong = ZipExtractor().extractAll(zip, dest, si, QStringLiteral("sbagliata"));
    EXPECT_FALSE(wrong.ok);
    EXPECT_FALSE(wrong.error.isEmpty());
    EXPECT_EQ(leggi(dest + QStringLiteral("/dati.txt")), QByteArray("precedente"));
    const ZipResult none = ZipExtractor().extractAll(zip, dest, si);
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(leggi(dest + QStringLiteral("/dati.txt")), QByteArray("precedente"));

    const ZipResult right = ZipExtractor().extractAll(zip, dest, si, QStringLiteral("segreta"));
    EXPECT_TRUE(right.ok) << right.error.toStdString();
    EXPECT_EQ(leggi(dest + QStringLiteral("/dati.txt")), QByteArray(5000, 'd'));
}

TEST(ZipExtractor, DamagedArchiveLeavesFilesAlone) {
    QTemporaryDir dir;
    const QString zip = archivio(dir, {{QStringLiteral("x.txt"), QByteArray(100000, 'x')}});
    QByteArray bytes = leggi(zip);
    const QString dest = dir.filePath(QStringLiteral("dest"));
    scrivi(dest + QStringLiteral("/x.txt"), "intatto");
    for (const QByteArray& damaged :
         {bytes.left(bytes.size() / 2), QByteArray("not a zip at all"), QByteArray()}) {
        scrivi(zip, damaged);
        const ZipResult result = ZipExtractor().extractAll(zip, dest, [](const QString&) { return true; });
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_EQ(leggi(dest + QStringLiteral("/x.txt")), QByteArray("intatto"));
    }
    // A flipped byte inside the compressed data: the CRC catches it and the old file stays.
    bytes[80] = static_cast<char>(bytes[80] ^ 0x5a);
    scrivi(zip, bytes);
    const ZipResult result = ZipExtractor().extractAll(zip, dest, [](const QString&) { return true; });
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(leggi(dest + QStringLiteral("/x.txt")), QByteArray("intatto"));
}

TEST(ZipExtractor, NamesOutsideTheFolderAreRefused) {
    QTemporaryDir dir;
    const QString dest = dir.filePath(QStringLiteral("a/b/dest"));
    QDir().mkpath(dest);
    const QStringList evil = {QStringLiteral("../fuori.txt"), QStringLiteral("/tmp/velmora-assoluto.txt"),
                              QStringLiteral("x/../../fuori2.txt"), QStringLiteral("..\\fuori3.txt"),
                              QStringLiteral("C:/fuori4.txt")};
    QString script = QStringLiteral("import zipfile,sys\nz=zipfile.ZipFile(sys.argv[1],'w')\n");
    for (const QString& name : evil) {
        QString quoted = name;
        quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
        script +=
            QStringLiteral("z.writestr(%1,'evil')\n").arg(QLatin1Char('\'') + quoted + QLatin1Char('\''));
    }
    script += QStringLiteral("z.writestr('buono/ok.txt','good')\nz.close()\n");
    const QString zip = dir.filePath(QStringLiteral("evil.zip"));
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, zip});
    ASSERT_TRUE(python.waitForFinished());
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();

    const ZipResult result = ZipExtractor().extractAll(zip, dest, [](const QString&) { return true; });
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.refused.size(), evil.size());
    EXPECT_EQ(leggi(dest + QStringLiteral("/buono/ok.txt")), QByteArray("good"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a/b/fuori.txt"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a/fuori2.txt"))));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/velmora-assoluto.txt")));
    for (const QString& name : evil) {
        EXPECT_TRUE(result.error.contains(name)) << name.toStdString();
    }
}

}  // namespace
}  // namespace velmora
