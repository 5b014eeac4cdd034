#include "cli/Comandi.h"

#include <cstdio>

#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

#include "app/Cliente.h"
#include "app/Sessione.h"
#include "browser/Catalogo.h"
#include "catalogue/Listino.h"
#include "platform/Boxes.h"
#include "platform/Shell.h"

namespace velmora::cli {

namespace {

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

// The sign-in without windows; the price list's progress goes to standard error.
class Cliente_Cli final : public Operazioni_Senza_Finestra {
public:
    using Operazioni_Senza_Finestra::Operazioni_Senza_Finestra;
    void Crea_Listino() override;
};

// The build's progress on standard error, every thousand articles.
class Progresso_Testo final : public Progresso {
public:
    void inizia(int massimo) override {
        m_massimo = massimo;
        m_fatti = 0;
        stampa();
    }
    void avanza() override {
        if (++m_fatti % 1000 == 0 || m_fatti == m_massimo) {
            stampa();
        }
    }

private:
    void stampa() const {
        std::fprintf(stderr, "Listino: %d/%d\n", m_fatti, m_massimo);
        std::fflush(stderr);
    }
    int m_massimo = 0;
    int m_fatti = 0;
};

void Cliente_Cli::Crea_Listino() {
    Progresso_Testo progresso;
    Gestione_Cliente cliente(m_sessione, *this);
    Costruzione_Listino(m_sessione, cliente).Crea_Listino(&progresso);
}

QString option(const QStringList& args, const QString& name, const QString& fallback = QString()) {
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
}

bool connetti(Sessione& sessione) {
    if (!sessione.cartella().exists(QString::fromLatin1(InstallFolder::kDatabase))) {
        std::fprintf(stderr, "No database in %s\n", qPrintable(sessione.cartella().root()));
        return false;
    }
    try {
        sessione.Connetti();
    } catch (const db::DatabaseError& e) {
        sessione.boxes().error(e.text());
        return false;
    }
    return true;
}

void stampaCliente(Sessione& sessione) {
    const QVariantHash& record = sessione.Record_Cliente;
    out() << "Customer: " << sessione.Codice_Cliente << '\n';
    out() << "Name: " << record.value(QStringLiteral("CLI_RAGSOC")).toString() << '\n';
    out() << "Language: " << sessione.Lingua_Corrente << '\n';
    out() << "Data_Listino: " << sessione.Data_Listino.toString(QStringLiteral("dd/MM/yyyy")) << '\n';
    out().flush();
}

int signIn(Sessione& sessione, const QStringList& args) {
    if (!args.contains(QStringLiteral("--password"))) {
        std::fputs("sign-in needs --password P\n", stderr);
        return 2;
    }
    bool ok = true;
    const int lingua = option(args, QStringLiteral("--language"), QStringLiteral("0")).toInt(&ok);
    if (!ok || lingua < 0 || lingua > 3) {
        std::fputs("--language takes 0 (Italiano), 1 (Francaise), 2 (English) or 3 (German)\n", stderr);
        return 2;
    }
    if (!connetti(sessione)) {
        return 1;
    }
    Cliente_Cli operazioni(sessione);
    Gestione_Cliente cliente(sessione, operazioni);
    // The password box turns every letter into a capital as it is typed.
    const QString password = option(args, QStringLiteral("--password")).toUpper();
    try {
        cliente.Accesso_Cliente(password, lingua);
    } catch (const std::exception& e) {
        sessione.boxes().error(Testo_Errore(e));
        operazioni.Chiudi_Programma();
        return 1;
    }
    if (sessione.Programma_Terminato) {
        return 1;
    }
    stampaCliente(sessione);
    operazioni.Chiudi_Programma();
    return 0;
}

int customer(Sessione& sessione) {
    if (!connetti(sessione)) {
        return 1;
    }
    Cliente_Cli operazioni(sessione);
    Gestione_Cliente cliente(sessione, operazioni);
    if (!cliente.Listino_Presente()) {
        std::fputs("No customer has signed in on this database: the next start asks for the password\n",
                   stderr);
        operazioni.Chiudi_Programma();
        return 1;
    }
    cliente.Riprendi_Cliente();
    if (sessione.Programma_Terminato) {
        return 1;
    }
    stampaCliente(sessione);
    operazioni.Chiudi_Programma();
    return 0;
}

// One field as support staff read it: numbers with the decimal comma, dates as dd/mm/yyyy,
// line breaks of the notes shown as "\n".
QString campo(const QVariant& value, int decimali) {
    if (value.isNull()) {
        return QString();
    }
    switch (value.typeId()) {
        case QMetaType::Double:
            return decimali < 0
                       ? QLocale(QLocale::Italian).toString(value.toDouble(), 'g', 15)
                       : formatNumber(value.toDouble(),
                                      decimali == 0
                                          ? QStringLiteral("0")
                                          : QStringLiteral("0.") + QString(decimali, QLatin1Char('0')));
        case QMetaType::QDateTime:
            return value.toDateTime().toString(QStringLiteral("dd/MM/yyyy"));
        default: {
            QString text = value.toString();
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"))
                .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
            return text;
        }
    }
}

QString csv(const QString& text) {
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"'))) {
        return text;
    }
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Opens the database and takes up the customer of the last sign-in, as a start does.
bool riprendi(Sessione& sessione, Cliente_Cli& operazioni) {
    if (!connetti(sessione)) {
        return false;
    }
    Gestione_Cliente cliente(sessione, operazioni);
    if (!cliente.Listino_Presente()) {
        std::fputs("No customer has signed in on this database: there is no price list\n", stderr);
        return false;
    }
    cliente.Riprendi_Cliente();
    return !sessione.Programma_Terminato;
}

int listino(Sessione& sessione, const QStringList& args) {
    Cliente_Cli operazioni(sessione);
    if (!riprendi(sessione, operazioni)) {
        return 1;
    }
    const bool comeCsv = args.contains(QStringLiteral("--csv"));
    const QString sep = comeCsv ? QStringLiteral(";") : QStringLiteral("\t");
    const int u = sessione.precisione.decimaliUnitari;
    try {
        db::Statement query(sessione.connessione(), QStringLiteral("SELECT * FROM LISTINO ORDER BY CODICE"));
        query.open();
        QStringList header;
        for (int i = 0; i < query.columnCount(); ++i) {
            header << query.columnName(i);
        }
        out() << header.join(sep) << '\n';
        while (query.next()) {
            QStringList fields;
            for (int i = 0; i < header.size(); ++i) {
                const QString& name = header[i];
                int decimali = -1;
                if (name == QLatin1String("PREZZO") || name == QLatin1String("NETTO") ||
                    name == QLatin1String("PREZZO_LIST")) {
                    decimali = u;
                } else if (name == QLatin1String("SC1") || name == QLatin1String("SC2") ||
                           name == QLatin1String("SCONTO")) {
                    decimali = 2;
                }
                const QString text = campo(query.value(i), decimali);
                fields << (comeCsv ? csv(text) : text);
            }
            out() << fields.join(sep) << '\n';
        }
    } catch (const db::DatabaseError& e) {
        out().flush();
        sessione.boxes().error(e.text());
        return 1;
    }
    out().flush();
    operazioni.Chiudi_Programma();
    return 0;
}

// A price typed as the filter panel reads it: the decimal comma of the program's locale.
bool leggiPrezzo(const QString& testo, double* valore) {
    bool ok = false;
    *valore = QLocale(QLocale::Italian, QLocale::Italy).toDouble(testo.trimmed(), &ok);
    return ok;
}

int catalogue(Sessione& sessione, const QStringList& args) {
    Cliente_Cli operazioni(sessione);
    if (!riprendi(sessione, operazioni)) {
        return 1;
    }
    try {
        sessione.testi.apri(sessione.connessione(), sessione.Lingua_Corrente);
        sessione.maschere = Maschere::Imposta_Formati(sessione.precisione.decimaliUnitari,
                                                      sessione.precisione.decimaliImporti);

        bool ok = true;
        int ordine = option(args, QStringLiteral("--order"), QStringLiteral("0")).toInt(&ok);
        if (!ok || ordine < 0 || ordine > 7) {
            std::fputs("--order takes 0 to 7\n", stderr);
            return 2;
        }
        Query_Catalogo query(sessione.connessione());
        const bool barcode = args.contains(QStringLiteral("--barcode"));
        if (barcode) {
            ordine = 6;
        }
        query.Imposta_Ordine(ordine);
        const Ordine_Catalogo_Def& def = Ordine_Catalogo_Info(ordine);
        QString parametro = def.valoreIniziale;
        if (barcode) {
            const QString testo = option(args, QStringLiteral("--barcode"));
            if (testo.trimmed().isEmpty()) {
                std::fputs("--barcode needs a barcode\n", stderr);
                return 2;
            }
            parametro = Parametro_Ricerca(testo, false);
        } else if (args.contains(QStringLiteral("--search"))) {
            if (!def.ricercaAbilitata) {
                std::fprintf(stderr, "Order %d takes no search text\n", ordine);
                return 2;
            }
            parametro = Parametro_Ricerca(option(args, QStringLiteral("--search")), def.ricercaParziale);
        }

        Filtro_Catalogo& filtro = query.filtro();
        if (args.contains(QStringLiteral("--favourites"))) {
            filtro.azzera();
            filtro.Solo_Preferiti = true;
            filtro.attivo = true;
        } else if (args.contains(QStringLiteral("--big-group")) || args.contains(QStringLiteral("--group")) ||
                   args.contains(QStringLiteral("--price-from")) ||
                   args.contains(QStringLiteral("--price-to"))) {
            filtro.Filtro_Gruppone = option(args, QStringLiteral("--big-group")).trimmed();
            filtro.Filtro_Gruppo = option(args, QStringLiteral("--group")).trimmed();
            filtro.Filtro_Sottogruppo = filtro.Filtro_Gruppo.isEmpty()
                                            ? QString()
                                            : option(args, QStringLiteral("--subgroup")).trimmed();
            if (!leggiPrezzo(option(args, QStringLiteral("--price-from"), QStringLiteral("0")),
                             &filtro.Filtro_Prezzo_In) ||
                !leggiPrezzo(option(args, QStringLiteral("--price-to"), QStringLiteral("999999999")),
                             &filtro.Filtro_Prezzo_Fin)) {
                sessione.boxes().message(QStringLiteral("Error!"));
                return 1;
            }
            filtro.Solo_Preferiti = false;
            filtro.attivo = true;
        }

        query.apri(parametro);
        const Colonne colonne = Colonne_Catalogo();
        while (query.carica(500) > 0 || !query.finita()) {
        }
        for (const Riga_Catalogo& riga : query.righe()) {
            QStringList campi{riga.codice};
            for (const Colonna& colonna : colonne) {
                const Cella cella = Cella_Catalogo(riga, colonna.campo, sessione.maschere, sessione.testi);
                campi << (colonna.campo == QLatin1String("InOrdine") ||
                                  colonna.campo == QLatin1String("Flag_Immagine")
                              ? QString::number(cella.immagine)
                              : cella.testo);
            }
            out() << campi.join(QLatin1Char('\t')) << '\n';
        }
    } catch (const db::DatabaseError& e) {
        out().flush();
        sessione.boxes().error(e.text());
        return 1;
    }
    out().flush();
    operazioni.Chiudi_Programma();
    return 0;
}

int info(Sessione& sessione) {
    const InstallFolder& folder = sessione.cartella();
    out() << "Installation folder: " << folder.root() << '\n';
    const QFileInfo root(folder.root());
    if (!root.isDir()) {
        out() << "The installation folder does not exist\n";
        out().flush();
        return 1;
    }
    if (!root.isReadable()) {
        out() << "The installation folder cannot be read\n";
        out().flush();
        return 1;
    }
    for (const char* name :
         {InstallFolder::kInstallMarker, InstallFolder::kClientMarker, InstallFolder::kClientArchive,
          InstallFolder::kProgramUpdateMarker, InstallFolder::kProfile, InstallFolder::kClientLibrary,
          InstallFolder::kNewProgramFile}) {
        const QString fixed = QString::fromLatin1(name);
        out() << fixed << ": " << (folder.exists(fixed) ? "present" : "missing") << '\n';
    }
    const QString database = QString::fromLatin1(InstallFolder::kDatabase);
    if (!folder.exists(database)) {
        out() << database << ": missing\n";
        out().flush();
        return 1;
    }
    out() << database << ": present (" << folder.path(database) << ")\n";
    out() << "Client library: "
          << (sessione.libreriaClient().isEmpty() ? QStringLiteral("system") : sessione.libreriaClient())
          << '\n';
    try {
        sessione.Connetti();
        out() << "SQL dialect: " << sessione.connessione().databaseDialect() << '\n';
        sessione.connessione().close(true);
    } catch (const db::DatabaseError& e) {
        out().flush();
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    out().flush();
    return 0;
}

}  // namespace

int esegui(const InstallFolder& folder, const QString& command, const QStringList& args) {
    StreamBoxes boxes;
    SystemShell shell;
    SystemClock clock;
    Sessione sessione(folder, boxes, shell, clock);
    if (command == QLatin1String("info")) {
        return info(sessione);
    }
    if (command == QLatin1String("sign-in")) {
        return signIn(sessione, args);
    }
    if (command == QLatin1String("customer")) {
        return customer(sessione);
    }
    if (command == QLatin1String("catalogue")) {
        return catalogue(sessione, args);
    }
    if (command == QLatin1String("listino")) {
        return listino(sessione, args);
    }
    std::fprintf(stderr, "Unknown command %s (see --help)\n", qPrintable(command));
    return 2;
}

}  // namespace velmora::cli
