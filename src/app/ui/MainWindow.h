#pragma once

#include <memory>

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>
#include <QTabWidget>

#include "app/Avvio.h"
#include "app/Cliente.h"
#include "app/Sessione.h"
#include "app/ui/Form_Password.h"

namespace velmora {

class IstanzaUnica;
class Pagina_Catalogo;

// The main window frame: four pages, the status bar with two panels, and the start-up,
// activation and shutdown of the run. The pages' contents belong to their own classes.
class MainWindow final : public QMainWindow, public Operazioni_Avvio, public Operazioni_Cliente {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(Sessione& sessione, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Creation; false when another copy runs and this process must end at once.
    bool FormCreate();
    // The name under which a second copy finds this one; by default the program file's name.
    void setNomeIstanza(const QString& nome) { m_nomeIstanza = nome; }
    // The splash window that the password dialog closes.
    void setSplash(QWidget* splash) { m_splash = splash; }

    Sessione& sessione() { return m_sessione; }
    QTabWidget* pagine() const { return m_pagine; }
    Pagina_Catalogo* catalogo() const { return m_catalogo; }
    QLabel* pannelloStato(int index) const { return index == 0 ? m_pannello0 : m_pannello1; }
    QProgressBar* barraStato() const { return m_barraStato; }

    // Operazioni_Avvio
    bool Controlla_Istanza() override;
    void Aggiorna_Programma(const QString& modo) override;
    bool Aggiorna_Dati() override;
    void FormClose() override;
    void Chiudi_Programma() override;
    bool Listino_Presente() override;
    void Riprendi_Cliente() override;
    void Chiedi_Password() override;
    bool Applica_Lingua() override;
    void Mostra_Catalogo() override;
    void Imposta_Formati() override;
    void Carica_Layout_Griglia(const QString& file, int griglia) override;
    void Apri_Tabelle() override;
    void Imposta_Titolo(const QString& titolo) override;
    void Posiziona_Barra_Stato() override;
    void Prepara_Query_Catalogo() override;
    // Saves the catalogue grid's column layout (its pop-up menu asks for it).
    void Salva_Layout_Catalogo();

    // Operazioni_Cliente
    QString Titolo() const override { return windowTitle(); }
    void Mostra_Fasce(bool visibile) override;
    void Chiudi_Catalogo() override;
    void Password_Errata() override;
    void Tabelle_Aperte() override;
    void Crea_Listino() override;

    Gestione_Cliente& cliente() { return m_cliente; }
    Form_Password* dialogoPassword() const { return m_dialogoPassword; }
    const Testi_Fissi& testiFissi() const { return m_testiFissi; }

signals:
    // Start-up has shown the window and run its first activation.
    void avvioCompletato();
    // The password dialog is open (tests answer it through this).
    void passwordRichiesta(Form_Password* dialogo);
    // The working tables are open again.
    void tabelleAperte();
    void fasceVisibili(bool visibili);
    // The main window has closed: the run is over.
    void terminato();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void costruisciFinestra();
    void FormShow();
    void FormActivate();
    void ripristina();

    Sessione& m_sessione;
    Avvio m_avvio;
    Gestione_Cliente m_cliente;
    Testi_Fissi m_testiFissi;
    QPointer<Form_Password> m_dialogoPassword;
    std::unique_ptr<IstanzaUnica> m_istanza;
    QTabWidget* m_pagine = nullptr;
    Pagina_Catalogo* m_catalogo = nullptr;
    QLabel* m_pannello0 = nullptr;
    QLabel* m_pannello1 = nullptr;
    QProgressBar* m_barraStato = nullptr;
    QPointer<QWidget> m_splash;
    QString m_nomeIstanza;
    bool m_inCreazione = false;
    bool m_mostrata = false;
    bool m_avviata = false;
    bool m_appInattiva = false;
    bool m_chiusa = false;
};

}  // namespace velmora
