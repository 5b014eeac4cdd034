#pragma once

#include <QString>

#include "app/Sessione.h"
#include "platform/ZipExtractor.h"

namespace velmora {

// The operations that start-up calls out to. The main window provides them; each carries the
// name the rest of the program knows it by.
class Operazioni_Avvio {
public:
    virtual ~Operazioni_Avvio() = default;

    // Single-instance guard: false when another copy runs (it has been restored and raised).
    virtual bool Controlla_Istanza() = 0;
    // The program update; "SEMPRE" updates whatever the versions say.
    virtual void Aggiorna_Programma(const QString& modo) = 0;
    // The update procedure (dialog, downloads, applying them); true when the program must end.
    virtual bool Aggiorna_Dati() = 0;
    // The main window's close handler, as a close request during creation runs it.
    virtual void FormClose() = 0;
    // Orderly shutdown; sets Programma_Terminato.
    virtual void Chiudi_Programma() = 0;
    // Sign-in and current customer. Each may end the program (Programma_Terminato).
    virtual bool Listino_Presente() = 0;
    virtual void Riprendi_Cliente() = 0;
    virtual void Chiedi_Password() = 0;
    // Message texts; false when it could not finish (the rest of the show is skipped).
    virtual bool Applica_Lingua() = 0;
    virtual void Mostra_Catalogo() = 0;
    virtual void Imposta_Formati() = 0;
    // Loads a grid's saved column layout (0 catalogue, 1 order lines).
    virtual void Carica_Layout_Griglia(const QString& file, int griglia) = 0;
    virtual void Apri_Tabelle() = 0;
    virtual void Imposta_Titolo(const QString& titolo) = 0;
    // The spare progress bar is placed over the status bar's first panel.
    virtual void Posiziona_Barra_Stato() = 0;
    // The catalogue grid's query is closed and given the search statement.
    virtual void Prepara_Query_Catalogo() = 0;
};

// Start-up of the main window: creation, show and every activation.
class Avvio {
public:
    Avvio(Sessione& sessione, Operazioni_Avvio& operazioni);

    // Runs creation; false when the process must end at once (another copy runs).
    bool FormCreate();
    void FormShow();
    void FormActivate();

    // The 21-day rule: the price list is older than 21 days.
    bool Listino_Scaduto() const;

private:
    bool Installa_Client();
    bool Sostituisci_Libreria_Client();

    Sessione& m_sessione;
    Operazioni_Avvio& m_op;
};

}  // namespace velmora
