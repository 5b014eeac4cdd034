// velmora-make-demo: builds a supplier database of any size, and optionally a whole demo
// installation folder around it.
//
//   velmora-make-demo --home DIR [--articles N] [--seed S] [--server DIR] [--db-only] [--selectable]
#include <cstdio>

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include "fixtures/Fornitore.h"
#include "platform/Cp1252.h"

namespace {

void scrivi(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QString crlf = text;
        crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        file.write(velmora::toCp1252(crlf));
    }
}

// A product picture: a coloured card with the article code.
void immagine(const QString& path, const QString& codice, int indice) {
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((indice * 37) % 360, 60, 235));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(60, 60, 60), 3));
    painter.setBrush(QColor::fromHsv((indice * 37) % 360, 140, 200));
    painter.drawRoundedRect(QRect(60, 40, 200, 120), 18, 18);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 170, 320, 50), Qt::AlignCenter, codice);
    painter.end();
    image.save(path, "JPG", 85);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto option = [&args](const char* name, const QString& fallback) {
        const qsizetype at = args.indexOf(QString::fromLatin1(name));
        return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
    };
    const QString home = option("--home", QString());
    if (home.isEmpty() || args.contains(QStringLiteral("--help"))) {
        std::fputs(
            "usage: velmora-make-demo --home DIR [--articles N] [--seed S] [--server DIR] [--db-only] "
            "[--selectable]\n",
            stderr);
        return home.isEmpty() ? 2 : 0;
    }
    const int articoli = option("--articles", QStringLiteral("5000")).toInt();
    const quint32 seme = option("--seed", QStringLiteral("1")).toUInt();

    QElapsedTimer timer;
    timer.start();
    velmora::fixtures::Dati dati = velmora::fixtures::realistico(articoli, seme);
    // The selectable kind of the price procedure, which a set-based statement can join.
    dati.proceduraSelezionabile = args.contains(QStringLiteral("--selectable"));
    const qint64 generated = timer.elapsed();
    try {
        velmora::fixtures::crea(home, dati);
    } catch (const velmora::db::DatabaseError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    std::printf("Supplier database with %d articles: %s/DATI.IDB (%.1f s, of which %.1f s making the data)\n",
                articoli, qPrintable(QDir(home).absolutePath()), timer.elapsed() / 1000.0,
                generated / 1000.0);
    if (args.contains(QStringLiteral("--db-only"))) {
        return 0;
    }

    // The rest of a complete installation.
    scrivi(home + QStringLiteral("/AGGPGM.INI"), QStringLiteral("[Installazione]\nVersione=1\n"));
    scrivi(home + QStringLiteral("/FB2.TXT"), QStringLiteral("Firebird 3\n"));
    scrivi(
        home + QStringLiteral("/VELMORA.INI"),
        QStringLiteral(
            "[Utente]\nNome=Mario Rossi\nSocieta=Rossi Ferramenta S.r.l.\nIndirizzo=Via dell'Industria 31\n"
            "Citta=Milano\nCap=20121\nNazione=Italia\ne-mail=mario.rossi@rossi-ferramenta.example\n"
            "Note=Consegna al mattino\nLingua=0\n"));
    const QString server = option("--server", QDir(home).absoluteFilePath(QStringLiteral("../server")));
    QDir().mkpath(server);
    scrivi(home + QStringLiteral("/FORNITORE.INI"),
           QStringLiteral("[Fornitore]\nHost=127.0.0.1:2121\nUtente=velmora\nPassword=velmora\n"
                          "Email=ordini@velmora.example\nRagioneSociale=Velmora Forniture S.p.A.\n"
                          "Indirizzo=Via Europa 12, 24040 Bergamo\nTelefono=+39 035 555 0100\n"));
    QDir().mkpath(home + QStringLiteral("/ORDERS"));
    QDir().mkpath(home + QStringLiteral("/NEWS"));
    QDir().mkpath(home + QStringLiteral("/IMAGES"));
    int pictures = 0;
    for (size_t i = 0; i < dati.articoli.size() && pictures < 400; ++i) {
        const velmora::fixtures::Articolo& a = dati.articoli[i];
        if (a.flagImmagine == QLatin1String("T")) {
            immagine(home + QStringLiteral("/IMAGES/") + a.codice + QStringLiteral(".JPG"), a.codice,
                     static_cast<int>(i));
            ++pictures;
        }
    }
    std::printf("Demo installation folder: %s (%d pictures); supplier server folder: %s\n",
                qPrintable(QDir(home).absolutePath()), pictures, qPrintable(QDir(server).absolutePath()));
    return 0;
}
