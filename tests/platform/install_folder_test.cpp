#include "platform/InstallFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/Formati.h"
#include "platform/Cp1252.h"

using velmora::InstallFolder;

namespace {

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(InstallFolder, FixedNamesIgnoreCaseAndNewNamesKeepTheirSpelling) {
    QTemporaryDir parent;
    const QString root = parent.filePath(QStringLiteral("VELMORA"));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/images")));
    touch(root + QStringLiteral("/dati.idb"));
    touch(root + QStringLiteral("/images/ab-1.jpg"));
    touch(parent.filePath(QStringLiteral("amministratore.txt")));

    const InstallFolder folder(root);
    EXPECT_EQ(folder.path(QStringLiteral("DATI.IDB")), root + QStringLiteral("/dati.idb"));
    EXPECT_TRUE(folder.exists(QStringLiteral("DATI.IDB")));
    EXPECT_EQ(folder.path(QStringLiteral("IMAGES/AB-1.JPG")), root + QStringLiteral("/images/ab-1.jpg"));
    EXPECT_EQ(folder.path(QStringLiteral("AGGNEW.TXT")), root + QStringLiteral("/AGGNEW.TXT"));
    EXPECT_FALSE(folder.exists(QStringLiteral("AGGNEW.TXT")));
    EXPECT_EQ(folder.adminMarkerPath(), parent.filePath(QStringLiteral("amministratore.txt")));

    EXPECT_TRUE(folder.remove(QStringLiteral("Dati.Idb")));
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("/dati.idb")));
    EXPECT_TRUE(folder.remove(QStringLiteral("DATI.IDB")));  // nothing left to remove
}

TEST(InstallFolder, EnvironmentNamesTheFolder) {
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("VELMORA_HOME");
    qputenv("VELMORA_HOME", dir.path().toLocal8Bit());
    EXPECT_EQ(InstallFolder::fromEnvironment().root(), QDir(dir.path()).absolutePath());
    qunsetenv("VELMORA_HOME");
    EXPECT_EQ(InstallFolder::fromEnvironment().root(), QDir::homePath() + QStringLiteral("/VELMORA"));
    if (!saved.isEmpty()) {
        qputenv("VELMORA_HOME", saved);
    }
}

TEST(Formati, MasksByDecimals) {
    EXPECT_EQ(velmora::Formati_Decimali(0), QStringLiteral(",0"));
    EXPECT_EQ(velmora::Formati_Decimali(2), QStringLiteral(",0.00"));
    EXPECT_EQ(velmora::Formati_Decimali(15), QStringLiteral(",0.000000000000000"));
    EXPECT_LE(velmora::Formati_Decimali(15).size(), 18);
}

TEST(Formati, NumbersUseTheDecimalCommaAndDotGrouping) {
    struct Case {
        double value;
        const char* mask;
        const char* text;
    } cases[] = {
        {1234567.891, ",0.00", "1.234.567,89"},
        {1234.5, ",0", "1.235"},  // no decimals, grouped integers
        {0.5, ",0.0000", "0,5000"},
        {-1234.5, ",0.00", "-1.234,50"},
        {-0.001, ",0.00", "0,00"},
        {1234.5, "0.00", "1234,50"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(velmora::formatNumber(c.value, QString::fromLatin1(c.mask)), QString::fromUtf8(c.text))
            << c.value << " " << c.mask;
    }
}

TEST(Cp1252, RoundTripAndUnmappable) {
    const QString text = QStringLiteral("àèéìòù €‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ ÿ");
    bool lossless = false;
    const QByteArray bytes = velmora::toCp1252(text, &lossless);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(velmora::fromCp1252(bytes), text);
    EXPECT_EQ(static_cast<unsigned char>(velmora::toCp1252(QStringLiteral("€")).at(0)), 0x80);
    EXPECT_EQ(velmora::toCp1252(QStringLiteral("Жx"), &lossless), QByteArray("?x"));
    EXPECT_FALSE(lossless);
}

}  // namespace
