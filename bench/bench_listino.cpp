// The price-list build against a lower bound, on the same database in the same run.
//
//   bench_listino --home DIR [--password P] [--runs N]
//
// DIR holds a supplier database made by `velmora-make-demo --home DIR --articles N --db-only
// --selectable` (the lower bound joins the price procedure, which needs the selectable kind).
// Prints articles per second of the build and of one set-based INSERT ... SELECT that reads
// the same inputs (the procedure, the special percentage, the three band tables, both
// descriptions, the list price, the group) and writes one row per article, their ratio, and
// the process's peak memory.
#include <cstdio>
#include <fstream>
#include <string>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "app/Cliente.h"
#include "catalogue/Listino.h"
#include "platform/Boxes.h"

namespace {

long peakKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

const char* kLowerBound =
    "INSERT INTO LISTINO (CODICE, DESCRIZIONE, MEMO, UM, IVA, GR, SG, GRUPPONE, PREZZO, SC1, SC2, NETTO, "
    "PREZZO_LIST, SCONTO, IMAGE, DATA_LIST, BARCODE, STATO, SC_QTA, SC_QTA_CUM, METRI_1, METRI_2, METRI_3, "
    "PESO, "
    "QTA_CONF)\n"
    "SELECT A.ART_CODICE, COALESCE(D.ALG_DES_LUNGA, D2.ALG_DES_LUNGA), COALESCE(D.ALG_NOTE, D2.ALG_NOTE), "
    "A.ART_UM, NULL, A.ART_GR, A.ART_SG, G.GR_GRUPPONE, "
    "IIF(A.ART_STATO = '3', 0, ROUND(P.W_VALORE * (1 - COALESCE(S.CLS_SCONTO_VASK, 0) / 100), :U)), "
    "IIF(A.ART_STATO = '3', 0, ROUND(COALESCE(P.W_SCONTO_1, 0), 2)), "
    "IIF(A.ART_STATO = '3', 0, ROUND(COALESCE(P.W_SCONTO_2, 0), 2)), "
    "IIF(A.ART_STATO = '3', 0, ROUND(P.W_VALORE * (1 - COALESCE(S.CLS_SCONTO_VASK, 0) / 100) "
    "* (1 - COALESCE(P.W_SCONTO_1, 0) / 100) * (1 - COALESCE(P.W_SCONTO_2, 0) / 100), :U)), "
    "IIF(A.ART_STATO = '3', 0, ROUND(COALESCE(L.ALS_PREZZO, 0), :U)), "
    "IIF(A.ART_STATO = '3' OR COALESCE(L.ALS_PREZZO, 0) = 0, 0, "
    "ROUND((L.ALS_PREZZO - P.W_VALORE * (1 - COALESCE(P.W_SCONTO_1, 0) / 100) * (1 - COALESCE(P.W_SCONTO_2, "
    "0) / 100)) "
    "* 100 / L.ALS_PREZZO, 2)), "
    "IIF(A.ART_FLAG_IMMAGINE = 'T', 'T', 'F'), L.ALS_ULT_DATA, "
    "'8012345' || LPAD(CAST(CAST(A.ART_CODE_NUM AS INTEGER) AS VARCHAR(18)), 5, '0'), A.ART_STATO, "
    "IIF(EXISTS(SELECT 1 FROM T_AN7FASCE_LS F WHERE F.ARTS_ARTICOLO = A.ART_CODICE AND F.ARTS_LISTINO = :L) "
    "OR EXISTS(SELECT 1 FROM T_AN3_4FASCE_LS F WHERE F.SGFL_GRUPPO = A.ART_GR AND F.SGFL_SOTTOGR = A.ART_SG "
    "AND F.SGFL_LISTINO = :L), 'T', 'F'), "
    "IIF(EXISTS(SELECT 1 FROM SG_SCQTA_CUM F WHERE F.CUM_GR = A.ART_GR AND F.CUM_SG = A.ART_SG AND "
    "F.CUM_LISTINO = :L), "
    "'T', 'F'), "
    "A.ART_METRI_1, A.ART_METRI_2, A.ART_METRI_3, A.ART_PESO, PR.APR_QTA_CONF\n"
    "FROM T_AN7 A\n"
    "LEFT JOIN T_AN7_PR PR ON PR.APR_ARTICOLO = A.ART_CODICE AND PR.APR_DEPOSITO = 0\n"
    "LEFT JOIN T_AN3_3 G ON G.GR_CODICE = A.ART_GR\n"
    "LEFT JOIN TROVA_PREZZO_VENDITA(:C, :L, 0, A.ART_CODICE, 0) P ON 1 = 1\n"
    "LEFT JOIN T_AN2_12 S ON S.CLS_CLIENTE = :C AND S.CLS_LISTINO = :L AND S.CLS_ARTICOLO = A.ART_CODICE\n"
    "LEFT JOIN T_AN7_LG D ON D.ALG_ARTICOLO = A.ART_CODICE AND D.ALG_LINGUA = :LINGUA\n"
    "LEFT JOIN T_AN7_LG D2 ON D2.ALG_ARTICOLO = A.ART_CODICE AND D2.ALG_LINGUA = 2\n"
    "LEFT JOIN T_AN7_LS L ON L.ALS_ARTICOLO = A.ART_CODICE AND L.ALS_DEPOSITO = 0 AND L.ALS_LISTINO = :L\n"
    "WHERE A.ART_CODICE BETWEEN '' AND 'ZZZZZZZZZZZZZZZZZZZZZZZZZZZ' AND A.ART_STATO <> 1 "
    "AND NOT (A.ART_STATO = '4' AND COALESCE(A.ART_RISERV_CLI, 0) <> :C)";

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto option = [&args](const char* name, const QString& fallback) {
        const qsizetype at = args.indexOf(QString::fromLatin1(name));
        return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
    };
    const QString home = option("--home", QString());
    if (home.isEmpty()) {
        std::fputs("usage: bench_listino --home DIR [--password P] [--runs N]\n", stderr);
        return 2;
    }
    const int runs = option("--runs", QStringLiteral("3")).toInt();
    velmora::ScriptedBoxes boxes;
    velmora::ScriptedShell shell;
    velmora::SystemClock clock;
    velmora::Sessione sessione(velmora::InstallFolder(home), boxes, shell, clock);
    velmora::Operazioni_Senza_Finestra finestra(sessione);
    velmora::Gestione_Cliente cliente(sessione, finestra);
    try {
        sessione.Connetti();
        cliente.Accesso_Cliente(option("--password", QStringLiteral("ROSSI2024")), 0);
        if (sessione.Programma_Terminato) {
            std::fputs("the sign-in failed\n", stderr);
            return 1;
        }
        const long before = peakKb();
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            velmora::Costruzione_Listino costruzione(sessione, cliente);
            costruzione.Crea_Listino(nullptr);
            sessione.connessione().commitRetaining();
            const double build = timer.nsecsElapsed() / 1e9;
            const int rows = costruzione.righeScritte();

            sessione.connessione().executeImmediate(QStringLiteral("DELETE FROM LISTINO"));
            sessione.connessione().commitRetaining();
            timer.restart();
            velmora::db::Statement lower(sessione.connessione(), QString::fromLatin1(kLowerBound));
            lower.set(QStringLiteral("C"), sessione.Codice_Cliente);
            lower.set(QStringLiteral("L"), sessione.Listino_Cliente());
            lower.set(QStringLiteral("LINGUA"), sessione.Lingua_Corrente);
            lower.set(QStringLiteral("U"), sessione.precisione.decimaliUnitari);
            lower.execute();
            const qint64 lowerRows = lower.affectedRows();
            sessione.connessione().commitRetaining();
            const double bound = timer.nsecsElapsed() / 1e9;
            sessione.connessione().executeImmediate(QStringLiteral("DELETE FROM LISTINO"));
            sessione.connessione().commitRetaining();

            std::printf(
                "run %d: build %d rows in %.2f s = %.0f articles/s; lower bound %lld rows in %.2f s = %.0f "
                "articles/s; ratio %.2f\n",
                run + 1, rows, build, rows / build, static_cast<long long>(lowerRows), bound,
                lowerRows / bound, build / bound);
        }
        std::printf("peak memory: %ld kB (%ld kB before the builds)\n", peakKb(), before);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", qPrintable(velmora::Testo_Errore(e)));
        return 1;
    }
    return 0;
}
