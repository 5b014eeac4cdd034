#pragma once

#include <functional>
#include <memory>

#include <QSet>
#include <QString>

#include "app/Sessione.h"
#include "platform/Database.h"

namespace velmora {

class Gestione_Cliente;

// The customer's gross unit price and two discounts for one article.
struct Val_Record {
    long double Valore = 0;
    long double Sconto_1 = 0;
    long double Sconto_2 = 0;
};

// The supplier's stored procedure TROVA_PREZZO_VENDITA plus the special percentage of
// T_AN2_12, both prepared once and executed again for every article.
class Calcolo_Prezzo {
public:
    explicit Calcolo_Prezzo(db::Connection& connection);

    // Fills `risultato`. A database error (procedure missing, failing, the special-price
    // query failing) becomes the error "Impossibile individuare il prezzo di vendita".
    void Calcola_Prezzo_Cliente(int cliente, int listino, const QString& articolo, int deposito,
                                const Precisione& precisione, Val_Record& risultato);

    // For a run over many articles of one customer and price list: learns once which articles
    // have a special percentage, so that the others need no query of their own.
    void Prepara_Speciali(int cliente, int listino);

    static const QString kErrore;

private:
    db::Connection& m_connessione;
    db::Statement m_procedura;  // StoredProc_Trova_Prezzo
    db::Statement m_speciale;   // An2_12_Vask
    bool m_speciali = false;
    bool m_specialiFalliti = false;
    int m_cliente = 0;
    int m_listino = 0;
    QSet<QString> m_conSpeciale;
};

// The progress indicator that the build drives: the password dialog's bar in the windows.
class Progresso {
public:
    virtual ~Progresso() = default;
    virtual void inizia(int massimo) = 0;
    virtual void avanza() = 0;
};

// Crea_Listino: fills LISTINO with one row per article the signed-in customer may see, with
// that customer's prices, discounts, description and flags worked out, then runs the group
// upkeep. Every statement is prepared once and executed again per article; rows are read and
// written one at a time, so memory stays flat however large the catalogue is.
class Costruzione_Listino {
public:
    Costruzione_Listino(Sessione& sessione, Gestione_Cliente& cliente);

    // An error from the price, the description, the list price or the insert stops the build
    // at that article and reaches the caller; the rows written so far stay.
    void Crea_Listino(Progresso* progresso);

    // Number of rows written by the last build.
    int righeScritte() const { return m_righe; }

    static const QString kFineCodici;  // 27 letters Z, the upper bound of the article codes read

private:
    Sessione& m_sessione;
    Gestione_Cliente& m_cliente;
    int m_righe = 0;
};

// Pulisci_Gruppi: deletes the subgroups and big groups that no build on this database has used.
void Pulisci_Gruppi(db::Connection& connection);

// A description as stored: blanks and control characters removed at both ends.
QString Pulisci_Descrizione(const QString& testo);

}  // namespace velmora
