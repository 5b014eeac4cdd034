#pragma once

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QWidget>

#include "app/Sessione.h"
#include "browser/Modello_Catalogo.h"

namespace velmora {

// The catalogue page: toolbar, search panel, filter panel, the catalogue grid and the detail
// pane of the current article.
class Pagina_Catalogo final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Pagina_Catalogo)

public:
    explicit Pagina_Catalogo(Sessione& sessione, QWidget* parent = nullptr);

    Modello_Catalogo* modello() const { return m_modello; }
    QTableView* griglia() const { return m_griglia; }
    QLineEdit* ricerca() const { return m_ricerca; }
    QWidget* pannelloRicerca() const { return m_pannelloRicerca; }
    QWidget* pannelloFiltro() const { return m_pannelloFiltro; }
    QComboBox* comboGruppone() const { return m_comboGruppone; }
    QComboBox* comboGruppo() const { return m_comboGruppo; }
    QLineEdit* prezzoIn() const { return m_prezzoIn; }
    QLineEdit* prezzoFin() const { return m_prezzoFin; }
    QLabel* immagine() const { return m_immagine; }
    QPlainTextEdit* memo() const { return m_memo; }
    QPushButton* bottoneFasce() const { return m_fasce; }
    QPushButton* bottoneFasceCumulative() const { return m_fasceCumulative; }
    QWidget* pannelloFasce() const { return m_pannelloFasce; }
    QAction* azione(int tag) const;
    QPushButton* bottone(int tag) const;

    // The customer's price list is ready: opens the catalogue in the order the sign-in chose
    // and fills the filter panel's lists.
    void Apri_Catalogo();
    void Seleziona_Ordine(int ordine);
    void Esegui_Ricerca(int tasto);
    void Azzera_Filtro();
    void Applica_Filtro();
    void Mostra_Tutto();
    void Ricerca_Barcode();
    void Gia_Ordinati();
    void Mostra_Ricerca();
    void Mostra_Filtro();
    // The bands dialog of the current article: its own or its subgroup's bands, or the
    // cumulative ones (no dialog when there are none).
    void Mostra_Fasce(bool cumulative);
    // Replaces the "campoNNN" markers of the grid's titles with the current language's texts.
    void Titoli_Griglia();
    // The grid's own columns, titles in the current language.
    const Colonne& Colonne_Proprie() const { return m_colonneProprie; }
    // The grid's column list, after a saved layout has been loaded.
    void Imposta_Colonne(const Colonne& colonne);
    // The columns as the grid shows them now: display order and widths.
    Colonne Colonne_Correnti() const;
    // Brings the detail pane up to the current row now (it follows by itself shortly after).
    void Aggiorna_Dettaglio() { Riga_Cambiata(); }
    // The current row's article, if any.
    const Riga_Catalogo* Articolo_Corrente() const;
    // The second panel of the status bar, which this page writes.
    void setPannelloStato(QLabel* pannello) { m_pannelloStato = pannello; }

signals:
    void aggiungiOrdine(const QString& codice);
    void mailArticolo(const QString& codice);
    void salvaLayout();
    // A bands dialog is about to open (tests answer it through this).
    void fasceAperte(QDialog* dialogo);
    void azioneToolbar(int tag);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void costruisci();
    void Riga_Cambiata();
    void Carica_Gruppi();
    void Ricarica_Gruppi();
    void menuGriglia(const QPoint& pos);
    QString memoDi(const QString& codice);
    QString fileImmagine(const QString& codice) const;

    Sessione& m_sessione;
    Modello_Catalogo* m_modello = nullptr;
    Colonne m_colonneProprie;
    QToolBar* m_toolbar = nullptr;
    QWidget* m_pannelloRicerca = nullptr;
    QLineEdit* m_ricerca = nullptr;
    QWidget* m_pannelloFiltro = nullptr;
    QComboBox* m_comboGruppone = nullptr;
    QComboBox* m_comboGruppo = nullptr;
    QLineEdit* m_prezzoIn = nullptr;
    QLineEdit* m_prezzoFin = nullptr;
    QTableView* m_griglia = nullptr;
    QLabel* m_immagine = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QWidget* m_pannelloFasce = nullptr;
    QPushButton* m_fasce = nullptr;
    QPushButton* m_fasceCumulative = nullptr;
    QLabel* m_pannelloStato = nullptr;
    QPixmap m_foto;
    QTimer m_dettaglioTimer;
};

}  // namespace velmora
