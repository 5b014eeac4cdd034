// velmora-make-db: builds a supplier database DATI.IDB with the realistic demo catalogue.
//
//   velmora-make-db --out DIR --articles N [--seed S]
#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStringList>

#include "fixtures/SupplierDb.h"

namespace {

int usage() {
    std::fputs("usage: velmora-make-db --out DIR --articles N [--seed S]\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString out;
    int articles = -1;
    quint32 seed = 1;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            usage();
            return 0;
        }
        if (i + 1 >= args.size()) {
            return usage();
        }
        bool ok = true;
        if (arg == QLatin1String("--out")) {
            out = args[++i];
        } else if (arg == QLatin1String("--articles")) {
            articles = args[++i].toInt(&ok);
            ok = ok && articles >= 0;
        } else if (arg == QLatin1String("--seed")) {
            seed = args[++i].toUInt(&ok);
        } else {
            ok = false;
        }
        if (!ok) {
            return usage();
        }
    }
    if (out.isEmpty() || articles < 0) {
        return usage();
    }

    QElapsedTimer timer;
    timer.start();
    const velmora::fixtures::SupplierData data = velmora::fixtures::realistic(articles, seed);
    const double generated = timer.elapsed() / 1000.0;
    QString path;
    try {
        path = velmora::fixtures::build(out, data);
    } catch (const velmora::db::DatabaseError& e) {
        std::fprintf(stderr, "velmora-make-db: %s\n", qPrintable(e.text()));
        return 1;
    }
    const double total = timer.elapsed() / 1000.0;
    std::printf("%s: %d articles, %zu descriptions, %zu list prices in %.1f s (data %.1f s, database %.1f s)\n",
                qPrintable(QDir::toNativeSeparators(path)), articles, data.descriptions.size(),
                data.listPrices.size(), total, generated, total - generated);
    return 0;
}
