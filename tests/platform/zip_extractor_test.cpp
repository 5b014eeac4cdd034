#include "platform/ZipExtractor.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora {
namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every file and folder below `root`, as paths relative to it ("a/", "a/b.txt").
QStringList tree(const QString& root) {
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        QString relative = QDir(root).relativeFilePath(it.filePath());
        if (it.fileInfo().isDir()) {
            relative += QLatin1Char('/');
        }
        found << relative;
    }
    found.sort();
    return found;
}

// A real archive made by the zip command from the files (and empty folders, names ending in "/")
// laid out in a staging folder. `options` go to zip before the archive name (-P, -0).
QString zipTool(const QString& archive, const QMap<QString, QByteArray>& files,
                const QStringList& options = {}) {
    QTemporaryDir staging;
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (it.key().endsWith(QLatin1Char('/'))) {
            QDir().mkpath(staging.filePath(it.key()));
        } else {
            writeFile(staging.filePath(it.key()), it.value());
        }
    }
    QFile::remove(archive);
    QProcess zip;
    zip.setWorkingDirectory(staging.path());
    zip.start(QStringLiteral("zip"), QStringList{QStringLiteral("-q"), QStringLiteral("-r")} + options +
                                         QStringList{archive, QStringLiteral(".")});
    EXPECT_TRUE(zip.waitForFinished());
    EXPECT_EQ(zip.exitCode(), 0) << zip.readAllStandardError().toStdString();
    return archive;
}

struct RawEntry {
    QString name;
    QByteArray data;
    bool symlink = false;
};

// An archive written by Python's zipfile, which stores any name exactly as given.
void pythonZip(const QString& archive, const QList<RawEntry>& entries) {
    const QString script = QStringLiteral(
        "import sys, zipfile\n"
        "z = zipfile.ZipFile(sys.argv[1], 'w')\n"
        "a = sys.argv[2:]\n"
        "for i in range(0, len(a), 3):\n"
        "    info = zipfile.ZipInfo(a[i + 1])\n"
        "    if a[i] == 'link':\n"
        "        info.create_system = 3\n"
        "        info.external_attr = 0o120777 << 16\n"
        "    z.writestr(info, a[i + 2])\n"
        "z.close()\n");
    QStringList args{QStringLiteral("-c"), script, archive};
    for (const RawEntry& entry : entries) {
        args << (entry.symlink ? QStringLiteral("link") : QStringLiteral("file")) << entry.name
             << QString::fromUtf8(entry.data);
    }
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), args);
    ASSERT_TRUE(python.waitForFinished());
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
}

const auto kAlwaysOverwrite = [](const QString&) { return true; };

TEST(ZipExtractor, RecreatesFoldersAsksBeforeOverwritingAndReportsProgress) {
    QTemporaryDir dir;
    const QString dest = dir.filePath(QStringLiteral("dest"));
    writeFile(dest + QStringLiteral("/keep.txt"), "old keep");
    writeFile(dest + QStringLiteral("/replace.txt"), "old replace");
    const QByteArray big(300000, 'c');
    const QString zip =
        zipTool(dir.filePath(QStringLiteral("a.zip")), {{QStringLiteral("keep.txt"), "new keep"},
                                                        {QStringLiteral("replace.txt"), "new replace"},
                                                        {QStringLiteral("a/b/c.txt"), big},
                                                        {QStringLiteral("empty/"), {}}});

    QStringList asked;
    QList<QPair<qint64, qint64>> calls;
    const ZipResult result = ZipExtractor().extractAll(
        zip, dest,
        [&](const QString& path) {
            asked << path;
            return path.endsWith(QStringLiteral("replace.txt"));
        },
        QString(),
        [&](qint64 done, qint64 total) {
            calls.append({done, total});
        });

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_TRUE(result.error.isEmpty());
    asked.sort();
    EXPECT_EQ(asked,
              (QStringList{dest + QStringLiteral("/keep.txt"), dest + QStringLiteral("/replace.txt")}));
    EXPECT_EQ(result.kept, QStringList{dest + QStringLiteral("/keep.txt")});
    QStringList written = result.written;
    written.sort();
    EXPECT_EQ(written,
              (QStringList{dest + QStringLiteral("/a/b/c.txt"), dest + QStringLiteral("/replace.txt")}));
    EXPECT_TRUE(result.refused.isEmpty());

    EXPECT_EQ(readFile(dest + QStringLiteral("/keep.txt")), QByteArray("old keep"));
    EXPECT_EQ(readFile(dest + QStringLiteral("/replace.txt")), QByteArray("new replace"));
    EXPECT_EQ(readFile(dest + QStringLiteral("/a/b/c.txt")), big);
    // Nothing else: no temporary files, the empty folder recreated.
    EXPECT_EQ(tree(dest), (QStringList{QStringLiteral("a/"), QStringLiteral("a/b/"),
                                       QStringLiteral("a/b/c.txt"), QStringLiteral("empty/"),
                                       QStringLiteral("keep.txt"), QStringLiteral("replace.txt")}));

    const qint64 total = 8 + 11 + big.size();
    ASSERT_GE(calls.size(), 3);  // the big file alone comes in several pieces
    for (qsizetype i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].second, total);
        EXPECT_LE(calls[i].first, total);
        if (i > 0) {
            EXPECT_GE(calls[i].first, calls[i - 1].first);
        }
    }
    EXPECT_EQ(calls.last().first, total);
}

struct NameCase {
    const char* name;
    bool refused;
    const char* landsAt;  // where a safe entry is written, relative to the destination
};

TEST(ZipExtractor, RefusesNamesThatLeaveTheFolderAndSymbolicLinks) {
    QTemporaryDir dir;
    // An absolute name pointing inside the temporary folder, so a fault would show in its tree.
    const QString absolute = dir.filePath(QStringLiteral("absolute.txt"));
    const QByteArray absoluteName = absolute.toUtf8();
    const NameCase cases[] = {
        {"../up.txt", true, nullptr},
        {"a/../../up.txt", true, nullptr},
        {"a/b/../../../up.txt", true, nullptr},
        {"..\\up.txt", true, nullptr},
        {"a\\..\\..\\up.txt", true, nullptr},
        {absoluteName.constData(), true, nullptr},
        {"\\\\server\\share\\x.txt", true, nullptr},
        {"C:/up.txt", true, nullptr},
        {"C:up.txt", true, nullptr},
        {".../up.txt", true, nullptr},
        {"a/../inside.txt", false, "inside.txt"},
        {"win\\style.txt", false, "win/style.txt"},
    };
    for (const NameCase& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        SCOPED_TRACE(c.name);
        QTemporaryDir work(dir.filePath(QStringLiteral("work-XXXXXX")));
        const QString dest = work.filePath(QStringLiteral("x/y/dest"));
        const QString zip = work.filePath(QStringLiteral("evil.zip"));
        pythonZip(zip, {{name, "evil"}, {QStringLiteral("safe/ok.txt"), "good"}});

        const ZipResult result = ZipExtractor().extractAll(zip, dest, kAlwaysOverwrite);

        EXPECT_EQ(readFile(dest + QStringLiteral("/safe/ok.txt")), QByteArray("good"));
        if (c.refused) {
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(result.refused, QStringList{name});
            EXPECT_TRUE(result.error.contains(QLatin1Char('"') + name + QLatin1Char('"')))
                << result.error.toStdString();
            EXPECT_EQ(tree(work.path()),
                      (QStringList{QStringLiteral("evil.zip"), QStringLiteral("x/"), QStringLiteral("x/y/"),
                                   QStringLiteral("x/y/dest/"), QStringLiteral("x/y/dest/safe/"),
                                   QStringLiteral("x/y/dest/safe/ok.txt")}));
        } else {
            EXPECT_TRUE(result.ok) << result.error.toStdString();
            EXPECT_EQ(readFile(dest + QLatin1Char('/') + QLatin1String(c.landsAt)), QByteArray("evil"));
        }
    }
    EXPECT_FALSE(QFileInfo::exists(absolute));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("up.txt"))));

    // A symbolic link is never created, wherever it points.
    const QString dest = dir.filePath(QStringLiteral("links/dest"));
    const QString zip = dir.filePath(QStringLiteral("links/link.zip"));
    QDir().mkpath(dest);
    pythonZip(zip, {{QStringLiteral("link"), "../../", true}, {QStringLiteral("ok.txt"), "good"}});
    const ZipResult result = ZipExtractor().extractAll(zip, dest, kAlwaysOverwrite);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.refused, QStringList{QStringLiteral("link")});
    EXPECT_EQ(tree(dest), QStringList{QStringLiteral("ok.txt")});
}

TEST(ZipExtractor, PasswordProtectedArchives) {
    struct Case {
        const char* password;
        bool ok;
        const char* errorText;
    };
    const Case cases[] = {
        {"Segreta1", true, ""},
        {"sbagliata", false, "wrong password"},
        {"segreta1", false, "wrong password"},
        {"", false, "password"},
    };
    QTemporaryDir dir;
    const QByteArray data(20000, 'd');
    const QString zip = zipTool(dir.filePath(QStringLiteral("p.zip")),
                                {{QStringLiteral("data.txt"), data}, {QStringLiteral("sub/new.txt"), "new"}},
                                {QStringLiteral("-P"), QStringLiteral("Segreta1")});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password);
        QTemporaryDir destDir;
        const QString dest = destDir.path();
        writeFile(dest + QStringLiteral("/data.txt"), "previous");

        const ZipResult result =
            ZipExtractor().extractAll(zip, dest, kAlwaysOverwrite, QString::fromUtf8(c.password));

        EXPECT_EQ(result.ok, c.ok) << result.error.toStdString();
        EXPECT_TRUE(result.error.contains(QLatin1String(c.errorText))) << result.error.toStdString();
        if (c.ok) {
            EXPECT_EQ(readFile(dest + QStringLiteral("/data.txt")), data);
            EXPECT_EQ(readFile(dest + QStringLiteral("/sub/new.txt")), QByteArray("new"));
        } else {
            EXPECT_TRUE(result.written.isEmpty());
            EXPECT_EQ(readFile(dest + QStringLiteral("/data.txt")), QByteArray("previous"));
            EXPECT_EQ(tree(dest), QStringList{QStringLiteral("data.txt")});
        }
    }
}

// The traditional encryption checks a password against one byte of the entry's header, so about
// one wrong password in 128 opens the entry and produces garbage; only the CRC after the last
// byte tells. Try wrong passwords until several got that far: none may replace the file.
TEST(ZipExtractor, WrongPasswordsPastTheHeaderCheckAreCaughtByTheCrc) {
    QTemporaryDir dir;
    const QByteArray data(200000, 's');
    // Stored, not deflated: the garbage streams out whole before the CRC is checked.
    const QString zip = zipTool(dir.filePath(QStringLiteral("s.zip")), {{QStringLiteral("data.bin"), data}},
                                {QStringLiteral("-0"), QStringLiteral("-P"), QStringLiteral("8142")});
    const QString dest = dir.filePath(QStringLiteral("dest"));
    writeFile(dest + QStringLiteral("/data.bin"), "previous");

    int pastHeader = 0;
    for (int i = 0; i < 5000 && pastHeader < 3; ++i) {
        const QString password = QStringLiteral("w%1").arg(i);
        const ZipResult result = ZipExtractor().extractAll(zip, dest, kAlwaysOverwrite, password);
        ASSERT_FALSE(result.ok) << password.toStdString();
        ASSERT_TRUE(result.error.contains(QStringLiteral("wrong password"))) << result.error.toStdString();
        if (result.error.contains(QStringLiteral("damaged"))) {
            ++pastHeader;
        }
        ASSERT_EQ(tree(dest), QStringList{QStringLiteral("data.bin")}) << password.toStdString();
    }
    EXPECT_EQ(pastHeader, 3);
    EXPECT_EQ(readFile(dest + QStringLiteral("/data.bin")), QByteArray("previous"));
}

TEST(ZipExtractor, DamagedArchivesChangeNothing) {
    QTemporaryDir dir;
    const QByteArray first(100000, 'f');
    const QByteArray second(100000, 's');
    // Stored, so the second entry's bytes can be found and flipped.
    const QByteArray good = readFile(zipTool(dir.filePath(QStringLiteral("good.zip")),
                                             {{QStringLiteral("first.txt"), first},
                                              {QStringLiteral("folder/second.txt"), second},
                                              {QStringLiteral("other/"), {}}},
                                             {QStringLiteral("-0")}));
    QByteArray flipped = good;
    const qsizetype at = flipped.indexOf(QByteArray(1000, 's')) + 500;
    ASSERT_GT(at, 500);
    flipped[at] = 't';

    struct Case {
        const char* what;
        QByteArray bytes;
        const char* errorText;
    };
    const Case cases[] = {
        {"cut in half", good.left(good.size() / 2), "damaged.zip"},
        {"cut before the end record", good.left(good.size() - 10), "damaged.zip"},
        {"one byte of data changed", flipped, "CRC error"},
        {"not a zip archive", QByteArray("plain text, not a zip archive"), "Not a zip archive"},
        {"empty file", QByteArray(), "empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir work;
        const QString zip = work.filePath(QStringLiteral("damaged.zip"));
        writeFile(zip, c.bytes);
        const QString dest = work.filePath(QStringLiteral("dest"));
        writeFile(dest + QStringLiteral("/first.txt"), "intact");

        const ZipResult result = ZipExtractor().extractAll(zip, dest, kAlwaysOverwrite);

        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.error.contains(QLatin1String(c.errorText))) << result.error.toStdString();
        EXPECT_TRUE(result.written.isEmpty());
        EXPECT_EQ(readFile(dest + QStringLiteral("/first.txt")), QByteArray("intact"));
        EXPECT_EQ(tree(dest), QStringList{QStringLiteral("first.txt")});
    }

    // A missing archive is an error as well.
    const ZipResult missing = ZipExtractor().extractAll(dir.filePath(QStringLiteral("none.zip")),
                                                        dir.filePath(QStringLiteral("d")), kAlwaysOverwrite);
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("none.zip"))) << missing.error.toStdString();
}

}  // namespace
}  // namespace velmora
