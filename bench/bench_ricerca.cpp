// Search latency of the catalogue: from a key release in the search box to the grid holding its
// first screen of rows, next to the database layer alone fetching the first 100 rows of the same
// statement with the same parameter, in the same run.
//
//   bench_ricerca --home DIR [--runs N]
//
// DIR is an installation folder with a signed-in customer (velmora-make-demo, then
// velmora-cli sign-in). Prints, for every order and search text, the median of N runs of both and
// their ratio, and the time to paint the first screen.
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTableView>

#include "app/Cliente.h"
#include "browser/ui/Pagina_Catalogo.h"
#include "platform/Boxes.h"

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--home"));
    if (at < 0 || at + 1 >= args.size()) {
        std::fputs("usage: bench_ricerca --home DIR [--runs N]\n", stderr);
        return 2;
    }
    const qsizetype r = args.indexOf(QStringLiteral("--runs"));
    const int runs = r >= 0 && r + 1 < args.size() ? args[r + 1].toInt() : 7;

    velmora::ScriptedBoxes boxes;
    velmora::ScriptedShell shell;
    velmora::SystemClock clock;
    const velmora::InstallFolder cartella(args[at + 1]);
    velmora::Sessione sessione(cartella, boxes, shell, clock);
    velmora::Operazioni_Senza_Finestra finestra(sessione);
    velmora::Gestione_Cliente cliente(sessione, finestra);
    sessione.Connetti();
    if (!cliente.Listino_Presente()) {
        std::fputs("no signed-in customer in that folder\n", stderr);
        return 1;
    }
    cliente.Riprendi_Cliente();
    sessione.testi.apri(sessione.connessione(), sessione.Lingua_Corrente);

    velmora::Pagina_Catalogo pagina(sessione);
    pagina.Titoli_Griglia();
    pagina.resize(800, 600);
    pagina.show();
    pagina.Apri_Catalogo();
    QApplication::processEvents();

    struct Caso {
        const char* nome;
        const char* testo;
    };
    const Caso casi[] = {{"dense", "a"}, {"rare", "ottone 5x95"}, {"none", "QQQQ"}};
    std::printf("%-6s %-6s %12s %12s %7s %12s\n", "order", "text", "key->rows ms", "db 100 ms", "ratio",
                "paint ms");
    double peggiore = 0;
    for (int ordine = 0; ordine < 8; ++ordine) {
        pagina.Seleziona_Ordine(ordine);
        const velmora::Ordine_Catalogo_Def& def = velmora::Ordine_Catalogo_Info(ordine);
        for (const Caso& caso : casi) {
            if (!def.haParametro && caso.testo != casi[0].testo) {
                continue;  // orders without a search text: one line is enough
            }
            const QString testo = ordine == 6 ? QStringLiteral("8012345") : QString::fromLatin1(caso.testo);
            std::vector<double> chiave;
            std::vector<double> database;
            std::vector<double> pittura;
            for (int run = 0; run < runs; ++run) {
                pagina.ricerca()->setText(testo);
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
                QElapsedTimer timer;
                timer.start();
                if (def.haParametro) {
                    QApplication::sendEvent(pagina.ricerca(), &release);
                } else {
                    pagina.Seleziona_Ordine(ordine);
                }
                chiave.push_back(timer.nsecsElapsed() / 1e6);
                timer.restart();
                pagina.griglia()->viewport()->repaint();
                pittura.push_back(timer.nsecsElapsed() / 1e6);

                timer.restart();
                velmora::db::Statement statement(sessione.connessione(), def.query);
                if (def.haParametro) {
                    statement.set(QStringLiteral("Stringa"),
                                  velmora::Parametro_Ricerca(testo, def.ricercaParziale));
                }
                statement.open();
                for (int i = 0; i < 100 && statement.next(); ++i) {
                }
                statement.closeCursor();
                database.push_back(timer.nsecsElapsed() / 1e6);
            }
            const double k = median(chiave);
            const double d = median(database);
            peggiore = std::max(peggiore, k / d);
            std::printf("%-6d %-6s %12.2f %12.2f %7.2f %12.2f  (%d rows)\n", ordine,
                        def.haParametro ? caso.nome : "-", k, d, k / d, median(pittura),
                        pagina.modello()->rowCount());
        }
    }
    std::printf("worst ratio: %.2f\n", peggiore);
    return 0;
}
