#pragma once

#include <QDate>
#include <QString>
#include <QVariantHash>

#include "app/Formati.h"
#include "app/Testi.h"
#include "platform/Boxes.h"
#include "platform/Database.h"
#include "platform/InstallFolder.h"
#include "platform/Shell.h"

namespace velmora {

// Decimals and mode letters of the roundings, and the surcharges of weight and volume, as read
// from the single row of T_PROGR.
struct Precisione {
    int decimaliUnitari = 2;                    // DIV_DEC_AR_UN
    QString modoUnitari = QStringLiteral("M");  // DIV_TP_AR_UN
    int decimaliImporti = 2;                    // DIV_DEC_AR_IMP
    QString modoImporti = QStringLiteral("M");  // DIV_TP_AR_IMP
    double percAumentoPeso = 0;                 // PERC_AUMEN_PESO
    double percAumentoVolume = 0;               // PERC_AUMEN_VOLUME
};

// Reads the price settings from the current row of "SELECT * FROM T_PROGR". A number of
// decimals outside 0..15 (or null) is an error (db::DatabaseError) that names the value.
Precisione Leggi_Precisione(const db::Statement& progr);

// The text of an error for the standard error box: the database's own text, or the message of
// any other error.
QString Testo_Errore(const std::exception& error);

// Everything that lives for the whole run: the installation folder, the one database
// connection with its transaction, the services that ask and tell, the current customer and
// the flags of start-up and shutdown. Windows and rules receive it; nothing else owns state.
class Sessione {
public:
    Sessione(InstallFolder cartella, Boxes& boxes, Shell& shell, Clock& clock);
    Sessione(const Sessione&) = delete;
    Sessione& operator=(const Sessione&) = delete;

    const InstallFolder& cartella() const { return m_cartella; }
    db::Connection& connessione() { return m_connessione; }
    Boxes& boxes() { return m_boxes; }
    Shell& shell() { return m_shell; }
    Clock& clock() { return m_clock; }

    // The client library the connection loads: the folder's own copy when there is one.
    QString libreriaClient() const;
    // Closes the connection if open and opens DATI.IDB in the installation folder.
    void Connetti();

    // The version of the build, four numbers joined by dots.
    static QString Versione_Programma();

    // Start-up and shutdown.
    bool Chiusura_Pendente = false;
    bool Sostituzione_Pronta = false;
    bool Programma_Terminato = false;  // Chiudi_Programma has run
    QDate Data_Listino = QDate(1900, 1, 1);

    // Current customer.
    int Codice_Cliente = 0;
    QString Zona_Cliente;
    int Lingua_Corrente = 0;
    bool Password_Errata = false;
    bool Nuovo_Accesso = false;
    // The signed-in customer's T_AN4 row, column name to value; empty until loaded.
    QVariantHash Record_Cliente;
    bool Fasce_Visibili = false;
    int Listino_Cliente() const { return Record_Cliente.value(QStringLiteral("CLI_LISTINO")).toInt(); }

    // Message texts of the current language, read when the language is applied.
    Testi testi;

    // Price settings and display masks.
    Precisione precisione;
    Maschere maschere = Maschere::Imposta_Formati(2, 2);

    // Catalogue view state.
    bool Ricerca_Parziale = false;
    int Ordine_Catalogo = 0;
    QString Testo_Query_Catalogo;

private:
    InstallFolder m_cartella;
    Boxes& m_boxes;
    Shell& m_shell;
    Clock& m_clock;
    db::Connection m_connessione;
};

}  // namespace velmora
