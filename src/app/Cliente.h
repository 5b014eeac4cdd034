#pragma once

#include <QString>

#include "app/Sessione.h"

namespace velmora {

// What the sign-in and the current customer ask of the main window (or of velmora-cli).
class Operazioni_Cliente {
public:
    virtual ~Operazioni_Cliente() = default;

    // Orderly shutdown: the connection is closed (committing) and the program ends.
    virtual void Chiudi_Programma() = 0;
    virtual QString Titolo() const = 0;
    virtual void Imposta_Titolo(const QString& titolo) = 0;
    // The panel with the two quantity-band buttons.
    virtual void Mostra_Fasce(bool visibile) = 0;
    // The catalogue grid's query and the order tables let go of the working tables.
    virtual void Chiudi_Catalogo() = 0;
    // The typed password matched no customer: the dialog says "Invalid Password!" and closes.
    virtual void Password_Errata() = 0;
    // The working tables are open again; the grids attach to them.
    virtual void Tabelle_Aperte() = 0;
    // Steps of the sign-in that other parts of the program provide.
    virtual void Crea_Listino() {}
    virtual void Segna_Preferiti() {}
    virtual void Ripristina_Ordini() {}
};

// The answers of a run without windows (velmora-cli, benchmarks): shutting down closes the
// connection, a wrong password is told through the boxes, there are no grids to attach.
class Operazioni_Senza_Finestra : public Operazioni_Cliente {
public:
    explicit Operazioni_Senza_Finestra(Sessione& sessione) : m_sessione(sessione) {}
    void Chiudi_Programma() override;
    QString Titolo() const override { return m_titolo; }
    void Imposta_Titolo(const QString& titolo) override { m_titolo = titolo; }
    void Mostra_Fasce(bool visibile) override { m_sessione.Fasce_Visibili = visibile; }
    void Chiudi_Catalogo() override {}
    void Password_Errata() override { m_sessione.boxes().message(QStringLiteral("Invalid Password!")); }
    void Tabelle_Aperte() override {}

protected:
    Sessione& m_sessione;

private:
    QString m_titolo;
};

// Sign-in and the current customer: the price list's presence, taking the customer of the last
// sign-in up again, the sign-in proper, loading a customer, opening the working tables, and
// the handling of a database that turns out to be unusable.
class Gestione_Cliente {
public:
    Gestione_Cliente(Sessione& sessione, Operazioni_Cliente& operazioni);

    // True when the database holds a finished sign-in: LISTINO has its CODICE column and the
    // customer of that sign-in is recorded in T_PROGR. A sign-in cut short leaves no customer
    // recorded, so the next start asks for the password again.
    bool Listino_Presente();
    void Riprendi_Cliente();
    // The sign-in with a typed password and the language list position. A database error in the
    // middle (deleting the other customers, the working tables, the price list) is thrown to the
    // caller, which shows it; what was done so far stays.
    void Accesso_Cliente(const QString& password, int lingua);
    void Carica_Cliente(int codice);
    void Prepara_Tabelle();
    void Apri_Tabelle();
    void Database_Non_Valido();

    // The big groups of the current language, and the groups with their subgroups, as the filter
    // panel lists them.
    static QString Query_Grupponi();
    static QString Query_Gruppi();

private:
    bool terminato() const { return m_sessione.Programma_Terminato; }

    Sessione& m_sessione;
    Operazioni_Cliente& m_op;
};

}  // namespace velmora
