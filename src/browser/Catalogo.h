#pragma once

#include <array>
#include <memory>
#include <vector>

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>

#include "app/Formati.h"
#include "app/Testi.h"
#include "browser/Colonne.h"
#include "browser/Ordini_Catalogo.h"
#include "platform/Database.h"

namespace velmora {

// One row of the catalogue query, as the grid needs it. The notes (MEMO) are not read here:
// the detail pane reads them for the current row only.
struct Riga_Catalogo {
    QString codice;
    QString descrizione;
    QString um;
    QString iva;
    QString gr;
    QString sg;
    QString gruppone;
    QVariant prezzo;
    QVariant sc1;
    QVariant sc2;
    QVariant netto;
    QVariant prezzoList;
    QVariant sconto;
    QString image;
    QVariant dataList;
    QString barcode;
    QString stato;
    QString preferiti;
    QString scQta;
    QString scQtaCum;
    QVariant metri1;
    QVariant metri2;
    QVariant metri3;
    QVariant peso;
    QVariant qtaConf;
    bool grNull = false;
    bool sgNull = false;
    bool grupponeNull = false;
    // Calculated per row.
    QString vediCodice;  // PROGR of an order line with this code, empty when none
};

// The catalogue filter: applied to the rows the query returns, without re-running it.
struct Filtro_Catalogo {
    bool attivo = false;
    bool Solo_Preferiti = false;
    QString Filtro_Gruppone;
    QString Filtro_Gruppo;
    QString Filtro_Sottogruppo;
    double Filtro_Prezzo_In = 0;
    double Filtro_Prezzo_Fin = 0;

    bool passa(const Riga_Catalogo& riga) const;
    // Azzera_Filtro: no criteria, inactive.
    void azzera() { *this = Filtro_Catalogo{}; }
};

// The parameter of the search orders for a search box's text: "%%" (or the empty text without
// pattern search) for a blank text, otherwise the text without trailing blanks, wrapped in "%"
// with pattern search.
QString Parametro_Ricerca(const QString& testo, bool ricercaParziale);

// The catalogue query of the current order: opened with its parameter, read forward in batches
// as the grid needs rows, never all at once. Rows that fail the filter are skipped as they
// arrive. The order lines' codes are read once per opening for the "already in the order" mark.
class Query_Catalogo {
public:
    explicit Query_Catalogo(db::Connection& connection);

    // Loads the order's statement (Seleziona_Ordine does this; the parameter is set by apri).
    void Imposta_Ordine(int ordine);
    int ordine() const { return m_ordine; }
    // Closes, then opens with the parameter (ignored by the orders that take none).
    void apri(const QString& parametro);
    void chiudi();
    // Closes and lets go of the prepared statement, so that the table can be dropped.
    void rilascia();
    bool aperta() const { return m_aperta; }
    // Fetches up to `quante` more rows that pass the filter; returns how many were added.
    int carica(int quante);
    bool finita() const { return !m_aperta || m_finita; }
    const std::vector<Riga_Catalogo>& righe() const { return m_righe; }
    const QString& parametro() const { return m_parametro; }

    // The filter; after a change, riapplica() evaluates it again over the rows fetched so far
    // (the query is not run again).
    Filtro_Catalogo& filtro() { return m_filtro; }
    void riapplica();

private:
    Riga_Catalogo leggi() const;

    db::Connection& m_connessione;
    int m_ordine = 0;
    // The statement of each order, prepared the first time the order is used.
    std::array<std::unique_ptr<db::Statement>, 8> m_statements;
    db::Statement* m_query = nullptr;
    std::array<std::vector<int>, 8> m_indiciOrdine;
    db::Statement m_ordini;  // the order lines' codes
    QString m_parametro;
    bool m_aperta = false;
    bool m_finita = true;
    Filtro_Catalogo m_filtro;
    std::vector<Riga_Catalogo> m_tutte;    // every row fetched, filtered or not
    std::vector<Riga_Catalogo> m_righe;    // the rows shown
    QHash<QString, QString> m_inOrdine;    // CODICE -> PROGR of ORDINI
    std::vector<int>* m_indici = nullptr;  // column positions of the current statement
};

// What a catalogue grid shows for a field of a row: display text, image index (0 none,
// 1 exclamation mark, 2 tick) and alignment.
struct Cella {
    QString testo;
    int immagine = 0;
    bool destra = false;
};

// The calculated fields and the display masks of the catalogue grid.
Cella Cella_Catalogo(const Riga_Catalogo& riga, const QString& campo, const Maschere& maschere,
                     const Testi& testi);
QString Vedi_Sconto(const QVariant& sconto);
QString Vedi_Stato(const QString& stato, const Testi& testi);
QString Path_Immagine(const QString& cartella, const QString& codice);

// The catalogue grid's own column list, titles still as "campoNNN" markers.
Colonne Colonne_Catalogo();

}  // namespace velmora
